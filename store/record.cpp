#include "table.h"

#include "app/core/errors.h"
#include "value.h"

namespace store {

Record::Record(const TableDef *def) : m_def(def), m_values(def->fields.size()) {}

int Record::fieldIndex(const QString &field) const
{
    const int i = m_def->fieldIndex(field);
    if (i < 0)
        throw StoreError(QStringLiteral("Tabulka %1 nemá pole %2").arg(m_def->component, field));
    return i;
}

const QVariant &Record::value(const QString &field) const { return m_values[fieldIndex(field)]; }

void Record::setValue(int field, const QVariant &v)
{
    m_values[field] = toFieldValue(m_def->fields[field], v);
}

void Record::setValue(const QString &field, const QVariant &v) { setValue(fieldIndex(field), v); }

QString Record::AsString(const QString &field) const
{
    const int i = fieldIndex(field);
    return valueAsString(m_def->fields[i], m_values[i]);
}

double Record::AsFloat(const QString &field) const
{
    const int i = fieldIndex(field);
    return valueAsFloat(m_def->fields[i], m_values[i]);
}

qint64 Record::AsInteger(const QString &field) const
{
    const int i = fieldIndex(field);
    return valueAsInteger(m_def->fields[i], m_values[i]);
}

bool Record::AsBoolean(const QString &field) const
{
    const int i = fieldIndex(field);
    return valueAsBoolean(m_def->fields[i], m_values[i]);
}

QDate Record::AsDate(const QString &field) const
{
    const int i = fieldIndex(field);
    return valueAsDate(m_def->fields[i], m_values[i]);
}

QTime Record::AsTime(const QString &field) const
{
    const int i = fieldIndex(field);
    return valueAsTime(m_def->fields[i], m_values[i]);
}

QDateTime Record::AsDateTime(const QString &field) const
{
    const int i = fieldIndex(field);
    return valueAsDateTime(m_def->fields[i], m_values[i]);
}

} // namespace store
