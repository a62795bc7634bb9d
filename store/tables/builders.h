#pragma once
// Short constructors for the table definitions, so that each column reads like the field
// list it describes: size, display label, display format; and each index like its key.
// The column lists of columns.h and the index lists of indexes.h give each definition its
// name through STORE_COLUMN_DEFINITION and STORE_INDEX_DEFINITION.

#include "store/schema.h"

#include <QStringView>
#include <initializer_list>

namespace store::tables::build {

// Display formats used by several tables.
inline const QString kMoney = QStringLiteral("#,##0.00");
inline const QString kQuantity = QStringLiteral("#,##0.000");
inline const QString kDate = QStringLiteral("dd.mm.yyyy");
inline const QString kYesNo = QStringLiteral("Ano;Ne");

inline FieldDef str(int size, QStringView label = {})
{
    return {{}, FieldType::String, size, label.toString(), {}, false};
}
inline FieldDef flt(QStringView label = {}, QStringView format = {})
{
    return {{}, FieldType::Float, 0, label.toString(), format.toString(), false};
}
inline FieldDef smallInt(QStringView label = {})
{
    return {{}, FieldType::SmallInt, 0, label.toString(), {}, false};
}
inline FieldDef boolean(QStringView label = {}, QStringView format = {})
{
    return {{}, FieldType::Boolean, 0, label.toString(), format.toString(), false};
}
inline FieldDef date(QStringView label = {}, QStringView format = {})
{
    return {{}, FieldType::Date, 0, label.toString(), format.toString(), false};
}
inline FieldDef time(QStringView label = {}, QStringView format = {})
{
    return {{}, FieldType::Time, 0, label.toString(), format.toString(), false};
}
inline FieldDef dateTime(QStringView label = {}, QStringView format = {})
{
    return {{}, FieldType::DateTime, 0, label.toString(), format.toString(), false};
}
inline FieldDef autoInc(QStringView label = {})
{
    return {{}, FieldType::AutoInc, 0, label.toString(), {}, false};
}
// A field that is not stored; the table's calc-fields handler sets it.
inline FieldDef calculated(FieldDef f)
{
    f.calculated = true;
    return f;
}
inline FieldDef named(const QString &name, FieldDef f)
{
    f.name = name;
    return f;
}

// An index over the key fields (column names of column_names.h) in ascending order.
inline IndexDef keys(std::initializer_list<const char *> fields)
{
    IndexDef ix;
    for (const char *f : fields)
        ix.fields.append({QString::fromLatin1(f), false});
    return ix;
}
// No two records with equal key fields.
inline IndexDef unique(IndexDef ix)
{
    ix.unique = true;
    return ix;
}
// Text key fields compare in capitals.
inline IndexDef caseInsensitive(IndexDef ix)
{
    ix.caseInsensitive = true;
    return ix;
}
// The last key field in descending order.
inline IndexDef lastDescending(IndexDef ix)
{
    ix.fields.last().descending = true;
    return ix;
}
inline IndexDef namedIndex(const QString &name, IndexDef ix)
{
    ix.name = name;
    return ix;
}

// A per-firm table: its name is prefix + firm number ("POD" + "0001").
inline TableDef perFirm(const QString &component, const QString &prefix)
{
    return {component, prefix + QStringLiteral("0001"), prefix, {}, {}};
}
// A table with one fixed name for every firm ("CEN0000", "SYS0001").
inline TableDef fixedName(const QString &component, const QString &name)
{
    return {component, name, {}, {}, {}};
}

} // namespace store::tables::build

// Expands a column list of columns.h into the field list of a definition:
// `t.fields = {STORE_PODKL_HLAV_COLUMNS(STORE_COLUMN_DEFINITION, _)};`
// (in a file that uses namespace store::tables::build).
#define STORE_COLUMN_DEFINITION(T, name, definition) named(QStringLiteral(#name), definition),

// Expands an index list of indexes.h into the index list of a definition, the key fields
// named by the table's column constants:
// `t.indexes = {STORE_PODKL_HLAV_INDEXES(STORE_INDEX_DEFINITION, column::ffPodklHlav)};`
// (in a file that uses namespace store::tables::build and includes column_names.h).
#define STORE_INDEX_DEFINITION(T, name, definition) namedIndex(QStringLiteral(#name), definition),
