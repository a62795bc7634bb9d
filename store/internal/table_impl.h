#pragma once
// The inner state of a table component (table_impl.cpp), shared by its navigation
// (table.cpp), its editing (table_edit.cpp) and its reads of many rows (table_rows.cpp):
// the order, the range, the buffered page of rows around the current record, and the
// edit buffer.

#include "core/errors.h"
#include "store/database.h"
#include "engine.h"
#include "keyset.h"
#include "layout.h"
#include "store/table.h"

#include <optional>
#include <vector>

namespace store {

struct Table::Impl {
    // Reads that land on a record (First, Last, FindKey, Locate, a bookmark, Post) read
    // only that row. Moving on past the buffered rows reads a page, which doubles with
    // every further page read in a row, up to the engine's largest (Dialect::maxPageRows);
    // a range starts with a page. A long scan thus costs a statement per 256 rows on
    // SQLite, few enough to stay in the processor's cache from their reading to their use
    // (with pages of 1,024 a scan took a tenth longer), and per 1,024 rows on PostgreSQL,
    // where a statement is a round trip; the rows held stay bounded.
    static constexpr int kFirstPageRows = 32;
    // The rows at either end of the last pages ReadRows gave, remembered with their keys:
    // a grid reads its next page after its last row (or before its first), which then
    // needs no look-up of that row's key.
    static constexpr int kEdgeKeys = 4;
    struct EdgeKey {
        qint64 id = 0;
        QVariantList key;
    };

    Impl(Table &table, const TableDef &def);

    Table &t;
    TableLayout layout;
    std::vector<Field> fields;
    Record emptyRecord;
    quint32 holdKey = 0;

    const IndexDef *index = nullptr;
    QVector<KeyColumn> order;
    KeyRange range;
    // The statements built so far, in this dialect, on this table: the reads of each
    // order (kept when the order changes, as the stock postings switch the journal's
    // index back and forth), the INSERT and the UPDATE of each set of changed fields.
    struct Statements {
        QHash<const IndexDef *, KeysetCache> reads;
        QString insert;
        QString byId;
        QHash<QByteArray, QString> updates;
    } statements;
    const Dialect *statementsDialect = nullptr;
    QString statementsTable;

    DataSetState state = DataSetState::Inactive;
    QVector<Record> page;       // consecutive rows in index order
    QVector<Record> spare;      // rows given up (a page left, rows handed out or given
                                // back): reused by the next read once nobody holds them
    QVector<int> unreadFields;  // the fields no read fills (calculated ones)
    int pos = 0;                // the current row in page
    bool pageAtStart = false;   // page[0] is the first row of the range
    bool pageAtEnd = false;     // the last row of page is the last of the range
    quint64 generation = 0;     // the engine's write generation when page was read
    int nextRows = kFirstPageRows;  // the size of the next page read
    bool bof = true;
    bool eof = true;

    QVector<EdgeKey> edgeKeys;  // in the current order, newest last
    quint64 edgeGeneration = 0; // the engine's write generation when they were read

    Record buffer;              // Edit/Insert
    QVector<bool> modified;
    qint64 heldId = 0;          // the record held for Edit

    // Errors of this table: "Tabulka POD0001: <text>".
    StoreError error(const QString &text) const;
    void requireActive() const;
    Engine &engine() const { return t.m_db->engine(); }
    KeysetQuery keyset()
    {
        return KeysetQuery(layout, engine().dialect(), t.m_tableName, order, range, &statements.reads[index]);
    }

    // Runs a read (its statements in turn, until its limit is reached) and makes records
    // of its rows (calculated fields set), in the spare records where it can; reverse
    // turns a backward read into index order. With types, the columns are read by those
    // (Skip: left empty) instead of the layout's. With holdFirst, the record with that id
    // is held before the read (of one statement) runs, as Edit holds it; the error of a
    // record held elsewhere when it cannot be, and nothing held when the read fails.
    QVector<Record> fetch(const QVector<SqlQuery> &read, bool reverse = false,
                          const QVector<ColType> *types = nullptr, qint64 holdFirst = 0);
    // The record with the id, read afresh; held first (fetch) when `hold`.
    std::optional<Record> fetchById(qint64 id, bool hold = false);
    // Makes the record with this id current (read afresh); false, nothing moved, when it
    // is gone.
    bool moveToId(qint64 id);
    qint64 execute(const QString &sql, const QVariantList &params);

    // The key of a record in the current order, in storage form.
    QVariantList keyOf(const Record &r) const;
    // Search values in storage form (ConversionError when one does not convert).
    QVariantList searchKey(const QVariantList &values) const;
    void calc(Record &r) const;
    // The key of the record with the id in the current order, in storage form: from the
    // buffered page or the edges of the last pages read while nothing was written since,
    // else read. StoreError when the record no longer exists.
    QVariantList keyOfId(qint64 id);
    void rememberEdges(const QVector<Record> &rows);

    void setPage(QVector<Record> rows, int current, bool atStart, bool atEnd);
    // The rows of a read of `want` rows (in index order) as the page, the current row at
    // the end it was read from: the first when reading forward, else the last. fromEdge:
    // the read started at that end of the range.
    void setPageRead(QVector<Record> rows, bool forward, int want, bool fromEdge);
    // Keeps only the current row buffered (the others may be out of date).
    void keepCurrentOnly();
    void refreshIfStale();
    void readEdge(bool first, int rows = 1);
    // Moves one row; reads the next page past the buffered one.
    void step(bool forward);
    // Makes the row at or after key current, or the last row with Eof() when none is.
    void positionAt(const KeySeek &seek, int rows);
    // Posts a changed edit buffer, cancels an unchanged one.
    void checkBrowse();

    Record &current();
    // StoreError unless the table is open and in Edit or Insert.
    void requireEditing() const;
    // Writes the buffer (the store assigns the AutoInc field; an edit writes only the
    // changed fields) and ends the edit with its hold. Returns the record as written, in
    // the form a read gives it. A failed write keeps the state, the buffer and the hold.
    Record writeBuffer();
    // The record becomes current, known without a read (the page is that one row).
    void standOn(Record written);
    void setField(int field, const QVariant &v);
    bool anyModified() const;
    void endEdit();
    void holdOrFail(qint64 id);
    void release(qint64 id);
};

} // namespace store
