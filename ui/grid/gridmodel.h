#pragma once
// The rows of a table as a Qt item model, for the data-aware grid. It never loads the
// table: it keeps a window of consecutive rows in the table's current order, read in
// pages with Table::ReadRows, around the rows the view shows.
//
// The window
//   - opens around the table's current record: a page before it, the record, a page
//     after it (two reads, wherever the record lies in the table);
//   - grows at its end through Qt's fetchMore pattern (canFetchMore/fetchMore, asked by
//     the view when it scrolls to the bottom) and at its start through
//     canFetchBackward/fetchBackward (asked by the grid when it scrolls to the top);
//   - keeps at most kMaxRows rows: growing at one end drops rows at the other (the
//     current record's row too, when the user scrolls far from it; it comes back with
//     the page that holds it);
//   - is read again around the current record (re-anchored) when the current record lies
//     outside it, when the table's index changed (a search in another order), after any
//     write through the table's connection (a Post, a Delete, the counter a new row
//     takes), and when the table is opened; a closed table shows no rows. While the table
//     edits or inserts a row the window stays; the row being edited shows the edit buffer.
// The view's scroll bar therefore spans the window, not the whole table; the window
// slides as the user scrolls past its ends.
//
// Following the table: every move of the table (navigator, search, GotoBookmark, Post)
// schedules one Sync for when control returns to the event loop, so that a command that
// moves the table several times and changes its index (GetLastSor does both) is shown
// once, in the order it leaves. Sync() may also be called directly. After each Sync the
// model emits currentRowChanged with the row of the current record. moveTableTo moves the
// table to the record of a row (the grid calls it when the user selects a row).

#include "store/table.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Rows read by one fetch in either direction, and before and after the current
    // record when the window is re-anchored.
    static constexpr int kPageRows = 50;
    // The most rows the window keeps.
    static constexpr int kMaxRows = 8 * kPageRows;

    // Shows `fields` (field names of the source's table, calculated ones included) as
    // columns. Requires: source has a table; every name is a field of it (StoreError
    // otherwise). The model follows the source from now on; it syncs at once.
    GridModel(store::DataSource *source, const QStringList &fields, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    // Display text of the field by its display format; numbers right-aligned. The row of
    // a record being edited shows the edit buffer.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Column titles: the fields' display labels.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // True while rows follow the window's last row and the window is in step with the
    // table; false while the rows are being changed (views reacting to a change ask again).
    bool canFetchMore(const QModelIndex &parent) const override;
    // Appends the next page (trimming the window's start beyond kMaxRows).
    void fetchMore(const QModelIndex &parent) override;
    // True while rows precede the window's first row and the window is in step.
    bool canFetchBackward() const;
    // Prepends the page before the window (trimming its end beyond kMaxRows). Returns the
    // number of rows prepended; topShifted reports it.
    int fetchBackward();

    // Brings the window in line with the table now: re-anchors it when needed (see
    // above) and emits currentRowChanged. A read that fails empties the window and emits
    // readFailed.
    void Sync();
    // The window row of the table's current record at the last Sync; -1 when none.
    int currentRow() const;
    // Makes the record shown in `row` the table's current record (GotoBookmark). Requires
    // 0 <= row < rowCount(). Throws StoreError when the record is gone.
    void moveTableTo(int row);

    store::Table *table() const;
    const QStringList &fieldNames() const { return m_fieldNames; }
    // Rows read from the store since the model was made (for diagnostics and benchmarks).
    qint64 rowsRead() const { return m_rowsRead; }

signals:
    // The window row of the current record, -1 when the window does not hold it. After a
    // Sync (tableMoved true: a view shows the row), and when a fetch drops the row or
    // reads it again (tableMoved false: a view keeps its scroll position).
    void currentRowChanged(int row, bool tableMoved);
    // Rows were added (positive) or removed (negative) before the first row, so that a
    // view keeps showing the same records.
    void topShifted(int rows);
    // A read of the store failed; the text is the store's.
    void readFailed(const QString &text);

private:
    void scheduleSync();
    void clear();
    void reanchor();
    bool inStep() const;
    quint64 writeGeneration() const;
    int rowOf(qint64 id) const;
    QVector<store::Record> read(const store::Bookmark &from, bool forward);
    void trim(bool atStart);

    store::DataSource *m_source;
    QStringList m_fieldNames;
    QVector<int> m_fields;            // field index of each column
    QVector<store::Record> m_rows;    // consecutive rows in m_index order
    bool m_atStart = true;            // m_rows starts at the table's first row
    bool m_atEnd = true;              // m_rows ends at the table's last row
    bool m_active = false;            // the window was read from an open table
    QString m_index;                  // the order the window was read in
    quint64 m_generation = 0;         // the connection's write generation when read
    qint64 m_currentId = 0;           // the table's current record at the last Sync
    bool m_syncPending = false;
    bool m_changing = false;          // the rows are being changed (views ask to fetch meanwhile)
    qint64 m_rowsRead = 0;
};
