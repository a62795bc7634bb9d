#pragma once
// What the stock operations remember of a table on entry and give back on return:
// open or closed, the index, the current record and whether it stood at its end.

#include "store/table.h"

#include <QString>

class StockTableState {
public:
    // Remembers whether t is open, its index and, when open, its current record.
    explicit StockTableState(store::Table &t);

    // Notes, after the table has been opened for the operation, whether it stands at its
    // end (an empty table or the cursor past the last record).
    void NoteEnd() { m_atEnd = m_table.Eof(); }

    // Gives the table back its state: abandons any edit left behind, opens or closes it
    // as it was and selects the previous index. When it was open, it returns to the
    // remembered record unless `keepWhenAtEnd` is set and the table stood at its end.
    // Returns false (the table then stays where it stands) when the remembered record is
    // gone or any step fails; raises nothing, so it can run after any failure.
    bool Restore(bool keepWhenAtEnd = false);

private:
    store::Table &m_table;
    bool m_open;
    QString m_index;
    store::Bookmark m_mark;
    bool m_atEnd = false;
};

// The name on which the stock operations of all stations serialize their writes to one
// card (Database::SerializeOn).
QString StockCardSerialName(const QString &card);
// Puts the current record of t into editing (holding it); false, nothing changed, when
// that fails (for example because another station holds the record).
bool TryEdit(store::Table &t);
// Abandons the edit or insert of t, if there is one.
void Abandon(store::Table &t);
