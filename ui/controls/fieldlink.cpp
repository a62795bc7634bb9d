#include "fieldlink.h"

#include "store/table.h"

FieldLink::FieldLink(QObject *parent)
    : QObject(parent)
{
}

void FieldLink::SetDataSource(store::DataSource *source)
{
    disconnect(m_data);
    disconnect(m_state);
    disconnect(m_field);
    m_source = source;
    if (source) {
        m_data = connect(source, &store::DataSource::dataChanged, this, &FieldLink::changed);
        m_state = connect(source, &store::DataSource::stateChanged, this, &FieldLink::changed);
        m_field = connect(source, &store::DataSource::fieldChanged, this, [this](int index) {
            const store::Table *t = table();
            if (t && t->Definition().fieldIndex(m_fieldName) == index)
                emit changed();
        });
    }
    emit changed();
}

void FieldLink::SetDataField(const QString &name)
{
    m_fieldName = name;
    emit changed();
}

store::Table *FieldLink::table() const
{
    if (!m_source || !m_source->Enabled())
        return nullptr;
    store::Table *t = m_source->DataSet();
    return t && t->Active() ? t : nullptr;
}

store::Field *FieldLink::field() const
{
    store::Table *t = table();
    return t ? t->FindField(m_fieldName) : nullptr;
}

bool FieldLink::editing() const
{
    const store::Table *t = table();
    return t && (t->State() == store::DataSetState::Edit || t->State() == store::DataSetState::Insert);
}
