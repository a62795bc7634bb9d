#include "table.h"

#include "store/internal/table_impl.h"
#include "value.h"

namespace store {

const FieldDef &Field::def() const { return m_table->Definition().fields[m_index]; }

QString Field::FieldName() const { return def().name; }

QString Field::DisplayLabel() const { return def().label.isEmpty() ? def().name : def().label; }

bool Field::IsNull() const { return Value().isNull(); }

QVariant Field::Value() const { return m_table->CurrentRecord().value(m_index); }

// The readings look at the current record's value where it is, without a copy.
QString Field::AsString() const { return valueAsString(def(), m_table->CurrentRecord().value(m_index)); }
double Field::AsFloat() const { return valueAsFloat(def(), m_table->CurrentRecord().value(m_index)); }
qint64 Field::AsInteger() const { return valueAsInteger(def(), m_table->CurrentRecord().value(m_index)); }
bool Field::AsBoolean() const { return valueAsBoolean(def(), m_table->CurrentRecord().value(m_index)); }
QDate Field::AsDate() const { return valueAsDate(def(), m_table->CurrentRecord().value(m_index)); }
QTime Field::AsTime() const { return valueAsTime(def(), m_table->CurrentRecord().value(m_index)); }
QDateTime Field::AsDateTime() const { return valueAsDateTime(def(), m_table->CurrentRecord().value(m_index)); }

void Field::SetAsString(const QString &v) { m_table->d->setField(m_index, v); }
void Field::SetAsFloat(double v) { m_table->d->setField(m_index, v); }
void Field::SetAsInteger(qint64 v) { m_table->d->setField(m_index, v); }
void Field::SetAsBoolean(bool v) { m_table->d->setField(m_index, v); }
void Field::SetAsDate(const QDate &v) { m_table->d->setField(m_index, v.isValid() ? QVariant(v) : QVariant()); }
void Field::SetAsTime(const QTime &v) { m_table->d->setField(m_index, v.isValid() ? QVariant(v) : QVariant()); }
void Field::SetAsDateTime(const QDateTime &v)
{
    m_table->d->setField(m_index, v.isValid() ? QVariant(v) : QVariant());
}
void Field::SetValue(const QVariant &v) { m_table->d->setField(m_index, v); }
void Field::Clear() { m_table->d->setField(m_index, QVariant()); }

QString Field::DisplayText() const { return displayText(def(), Value()); }
QString Field::EditText() const { return editText(def(), Value()); }

} // namespace store
