#pragma once
// Short constructors for the table definitions, so that each definition reads like the
// field list it describes: name, size, display label, display format.

#include "store/schema.h"

namespace store::tables::build {

inline FieldDef str(const QString &name, int size, const QString &label = {})
{
    return {name, FieldType::String, size, label, {}, false};
}
inline FieldDef flt(const QString &name, const QString &label = {}, const QString &format = {})
{
    return {name, FieldType::Float, 0, label, format, false};
}
inline FieldDef smallInt(const QString &name, const QString &label = {})
{
    return {name, FieldType::SmallInt, 0, label, {}, false};
}
inline FieldDef boolean(const QString &name, const QString &label = {}, const QString &format = {})
{
    return {name, FieldType::Boolean, 0, label, format, false};
}
inline FieldDef date(const QString &name, const QString &label = {}, const QString &format = {})
{
    return {name, FieldType::Date, 0, label, format, false};
}
inline FieldDef time(const QString &name, const QString &label = {}, const QString &format = {})
{
    return {name, FieldType::Time, 0, label, format, false};
}
inline FieldDef dateTime(const QString &name, const QString &label = {}, const QString &format = {})
{
    return {name, FieldType::DateTime, 0, label, format, false};
}
inline FieldDef autoInc(const QString &name, const QString &label = {})
{
    return {name, FieldType::AutoInc, 0, label, {}, false};
}
// A field that is not stored; the table's calc-fields handler sets it.
inline FieldDef calculated(FieldDef f)
{
    f.calculated = true;
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
