#pragma once
// Short constructors for the table definitions, so that each column reads like the field
// list it describes: size, display label, display format. The column lists of columns.h
// give each definition its name through STORE_COLUMN_DEFINITION.

#include "store/schema.h"

#include <QStringView>

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

// An index over fields in ascending order.
inline IndexDef index(const QString &name, const QStringList &fields, bool unique = false,
                      bool caseInsensitive = false)
{
    IndexDef ix{name, {}, unique, caseInsensitive};
    for (const QString &f : fields)
        ix.fields.append({f, false});
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
