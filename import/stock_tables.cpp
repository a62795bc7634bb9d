#include "stock_tables.h"

#include "app/core/errors.h"

StockTableState::StockTableState(store::Table &t)
    : m_table(t), m_open(t.Active()), m_index(t.IndexName())
{
    if (m_open)
        m_mark = t.GetBookmark();
}

bool StockTableState::Restore(bool keepWhenAtEnd)
{
    try {
        Abandon(m_table);
        if (!m_open) {
            m_table.Close();
            m_table.SetIndexName(m_index);
            return true;
        }
        m_table.Open();
        m_table.CancelRange();
        m_table.SetIndexName(m_index);
        if (!m_mark.isValid() || (keepWhenAtEnd && m_atEnd))
            return true;
        if (!m_table.BookmarkValid(m_mark))
            return false;
        m_table.GotoBookmark(m_mark);
        return true;
    } catch (const AppError &) {
        return false;
    }
}

QString StockCardSerialName(const QString &card) { return QStringLiteral("SOR") + card; }

bool TryEdit(store::Table &t)
{
    try {
        t.Edit();
        return true;
    } catch (const AppError &) {
        return false;
    }
}

void Abandon(store::Table &t)
{
    if (t.State() == store::DataSetState::Edit || t.State() == store::DataSetState::Insert)
        t.Cancel();
}
