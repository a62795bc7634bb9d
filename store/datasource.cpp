#include "table.h"

namespace store {

DataSource::DataSource(Table *table, QObject *parent) : QObject(parent) { SetDataSet(table); }

void DataSource::SetDataSet(Table *table)
{
    disconnect(m_c1);
    disconnect(m_c2);
    disconnect(m_c3);
    m_table = table;
    if (!table)
        return;
    m_c1 = connect(table, &Table::recordChanged, this, [this] {
        if (m_enabled)
            emit dataChanged();
    });
    m_c2 = connect(table, &Table::stateChanged, this, [this] {
        if (m_enabled)
            emit stateChanged();
    });
    m_c3 = connect(table, &Table::fieldChanged, this, [this](int field) {
        if (m_enabled)
            emit fieldChanged(field);
    });
}

void DataSource::SetEnabled(bool on)
{
    if (m_enabled == on)
        return;
    m_enabled = on;
    // Controls coming back follow the record as it is now.
    if (on && m_table) {
        emit stateChanged();
        emit dataChanged();
    }
}

} // namespace store
