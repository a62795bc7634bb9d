#pragma once
// The use of a table for the length of a scope: the guard opens the table if it is closed
// and, when the scope ends however it ends, gives the table back as the guard found it.
// It is for the component a window shows and a command shares with it (a picker that
// opens on the table and leaves it on the chosen record); a command that works on a
// table alone takes a cursor of its own (store::Cursor) instead.
//
//     store::TableUse cards(Data->ffSortiment, store::tables::index::ffSortiment::KAV);
//     ...FindKey, edits...
//     // leaving the scope: the assortment is closed again, or back on its index, range
//     // and record when it was open
//
// Errors: making the guard raises the errors of Open and SetIndexName (StoreError);
// giving the table back never raises.

#include <QString>
#include <QVariantList>

#include "table.h"

namespace store {

class TableUse {
public:
    // What the guard gives back of a table that was open when it was made. A table the
    // guard opened is always closed again with its index selected again.
    enum class GiveBack {
        Everything,  // its index, its range and its current record
        OpenState,   // nothing more: it stays open where the work left it
    };

    // Remembers whether t is open, its index, its range and its current record. Opens t
    // when it is closed and, when `index` is not empty, selects that index. An error of
    // either is raised after the table has been given back.
    explicit TableUse(Table &t, const QString &index = QString(), GiveBack giveBack = GiveBack::Everything);
    // Gives the table back (restore()) unless that has been done. Never throws.
    ~TableUse();
    TableUse(const TableUse &) = delete;
    TableUse &operator=(const TableUse &) = delete;

    // Gives the table back now; the destructor then does nothing. An edit or insert left
    // behind is abandoned, except under OpenState for a table that was open. A table the
    // guard opened is closed and its index selected again. A table that was open is
    // opened again if the work closed it, and gets back what `giveBack` says. True when
    // all is given back; false when the remembered record is gone or a step failed (the
    // table then stays where it stands). Never throws.
    bool restore();

private:
    bool giveBack();
    void giveRangeBack();

    Table &m_table;
    GiveBack m_giveBack;
    bool m_wasOpen;
    QString m_index;
    QVariantList m_rangeStart, m_rangeEnd;
    Bookmark m_mark;
    bool m_restored = false;
};

} // namespace store
