#include "table_use.h"

#include "store/internal/table_impl.h"

namespace store {

TableUse::TableUse(Table &t, const QString &index, GiveBack giveBack)
    : m_table(t), m_giveBack(giveBack), m_wasOpen(t.Active()), m_index(t.IndexName())
{
    if (m_wasOpen) {
        m_rangeStart = t.d->range.start;
        m_rangeEnd = t.d->range.end;
        m_mark = t.GetBookmark();
    }
    try {
        t.Open();
        if (!index.isEmpty())
            t.SetIndexName(index);
    } catch (...) {
        // The destructor does not run for a constructor that throws.
        restore();
        throw;
    }
}

TableUse::~TableUse()
{
    if (!m_restored)
        restore();
}

bool TableUse::restore()
{
    m_restored = true;
    try {
        return giveBack();
    } catch (const std::exception &) {
        return false;
    }
}

bool TableUse::giveBack()
{
    Table &t = m_table;
    if (!m_wasOpen) {
        t.Close();
        t.SetIndexName(m_index);
        return true;
    }
    if (m_giveBack == GiveBack::OpenState) {
        t.Open();
        return true;
    }
    t.Cancel();
    t.Open();
    t.SetIndexName(m_index);
    giveRangeBack();
    if (!m_mark.isValid())
        return true;
    // One read both tells whether the record is still there and makes it current.
    return t.d->moveToId(m_mark.id);
}

void TableUse::giveRangeBack()
{
    Table::Impl &d = *m_table.d;
    if (d.range.start == m_rangeStart && d.range.end == m_rangeEnd)
        return;
    const bool wasEmpty = d.page.isEmpty();
    d.range = KeyRange{m_rangeStart, m_rangeEnd};
    if (wasEmpty)
        d.readEdge(true);
    else
        d.keepCurrentOnly();
}

} // namespace store
