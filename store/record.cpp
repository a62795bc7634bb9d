#include "table.h"

#include "core/errors.h"
#include "value.h"

namespace store {

Record::Record(const TableDef *def) : m_def(def), m_values(def->fields.size()) {}

int FieldKey::find(const TableDef &def) const
{
    if (m_field)
        return &m_field->m_table->Definition() == &def ? m_field->m_index : -1;
    return def.fieldIndex(m_name);
}

int FieldKey::indexIn(const TableDef &def) const
{
    const int i = find(def);
    if (i < 0)
        throw StoreError(QStringLiteral("Tabulka %1 nemá pole %2").arg(def.component, name()));
    return i;
}

QString FieldKey::name() const { return m_field ? m_field->FieldName() : m_name; }

int Record::fieldIndex(const FieldKey &field) const { return field.indexIn(*m_def); }

const QVariant &Record::value(const FieldKey &field) const { return m_values[fieldIndex(field)]; }

void Record::setValue(int field, const QVariant &v)
{
    m_values[field] = toFieldValue(m_def->fields[field], v);
}

void Record::setValue(const FieldKey &field, const QVariant &v) { setValue(fieldIndex(field), v); }

QString Record::AsString(const FieldKey &field) const
{
    const int i = fieldIndex(field);
    return valueAsString(m_def->fields[i], m_values[i]);
}

double Record::AsFloat(const FieldKey &field) const
{
    const int i = fieldIndex(field);
    return valueAsFloat(m_def->fields[i], m_values[i]);
}

qint64 Record::AsInteger(const FieldKey &field) const
{
    const int i = fieldIndex(field);
    return valueAsInteger(m_def->fields[i], m_values[i]);
}

bool Record::AsBoolean(const FieldKey &field) const
{
    const int i = fieldIndex(field);
    return valueAsBoolean(m_def->fields[i], m_values[i]);
}

QDate Record::AsDate(const FieldKey &field) const
{
    const int i = fieldIndex(field);
    return valueAsDate(m_def->fields[i], m_values[i]);
}

QTime Record::AsTime(const FieldKey &field) const
{
    const int i = fieldIndex(field);
    return valueAsTime(m_def->fields[i], m_values[i]);
}

QDateTime Record::AsDateTime(const FieldKey &field) const
{
    const int i = fieldIndex(field);
    return valueAsDateTime(m_def->fields[i], m_values[i]);
}

} // namespace store
