#pragma once
// The SQL of keyset navigation. Every read is indexed: the rows of a range, after (or
// from) a key, in index order or its reverse, with a LIMIT — never OFFSET, never the
// whole table. A key is a list of values of the leading columns of the order, in
// storage form.
//
// "After the key" is cut into precise seeks that follow each other in index order and
// are run one after the other until the page is full: k1 = ? AND k2 = ? AND id > ?, then
// k1 = ? AND k2 > ?, then k1 > ?. Each is a plain index range. Where the engine seeks by a
// row-value comparison (PostgreSQL), the columns that run one way are taken together,
// (k1, k2, id) > (?, ?, ?), so an order without descending fields needs one statement.
// A single OR-ed condition would seek only by its first column and then scan the whole
// group of rows equal in it; merging the seeks in one UNION ALL … ORDER BY costs a
// comparison per row (SQLite) or a sort (PostgreSQL).

#include "layout.h"

#include <QHash>

namespace store {

// One statement of a read, giving at most `limit` rows (-1: any number). Where the
// engine takes the LIMIT as a parameter, it is the one at limitParam, which the reader
// sets to the number of rows still missing when it runs the steps of a read in turn.
struct SqlQuery {
    QString sql;
    QVariantList params;
    int limit = -1;
    int limitParam = -1;
};

// Records whose leading key columns lie between start and end (both included) in index
// order. Either list may be shorter than the order; empty lists bound nothing.
struct KeyRange {
    QVariantList start;
    QVariantList end;
};

// Where a read starts: after the key (or at it, when inclusive), compared on the first
// key.size() columns of the order. With equal, the read gives only the rows at the key
// (an equality on each of those columns, which every engine seeks in one statement).
struct KeySeek {
    QVariantList key;
    bool inclusive = false;
    bool equal = false;
};

// A statement as built once for every read of its shape: where each parameter's value
// comes from.
struct SqlTemplate {
    enum class From : quint8 { RangeStart, RangeEnd, Seek, Filter, Limit };
    QString sql;
    QVector<QPair<From, int>> params;
    int limitParam = -1;
};

// The statements already built for one table in one order, by the shape of the read.
// Belongs to a table component; dropped when its name or database changes.
class KeysetCache {
    friend class KeysetQuery;
    QHash<QByteArray, QVector<SqlTemplate>> m_reads;
};

class KeysetQuery {
public:
    // With a cache, the statements of a read are built once per shape. The table name,
    // order and range are kept by reference: they must outlive the query.
    KeysetQuery(const TableLayout &layout, const Dialect &dialect, const QString &tableName,
                const QVector<KeyColumn> &order, const KeyRange &range, KeysetCache *cache = nullptr);

    // The statements that read up to limit rows under the range, in index order
    // (forward) or its reverse, from the seek or from the start (end); run in turn, each
    // adding its rows after the previous one's. None: no row can match. With a filter
    // column, only rows whose column equals the value.
    QVector<SqlQuery> rows(const KeySeek *seek, bool forward, int limit, const QString &filterColumn = {},
                           const QVariant &filterValue = {}) const;
    // The number of rows under the range.
    SqlQuery count() const;
    // The sum of a numeric column over the rows under the range (NULL when there are none).
    SqlQuery sum(const QString &column) const;
    // The rows under the range whose first key column holds one of the values (in storage
    // form), in index order; no limit. The columns `types` reads as Skip are not selected.
    SqlQuery rowsWithFirstKeyIn(const QVariantList &values, const QVector<ColType> &types) const;

private:
    class Params;
    QVector<SqlTemplate> build(const KeySeek *seek, const QVector<QPair<int, int>> &runs, bool forward, int limit,
                               const QString &filterColumn, bool filterIsNull) const;
    QStringList commonConditions(Params &p, const QString &filterColumn, bool filterIsNull) const;
    QString rangeCondition(Params &p) const;
    QString boundCondition(Params &p, const QVariantList &values, bool lower) const;
    // The key columns at which a seek compares (the ones before each are equal); sets
    // wholeRange when the range alone answers it.
    QVector<int> seekColumns(const KeySeek &seek, bool &wholeRange) const;
    // The seek past the key in columns first..last (row values when more than one), the
    // columns before them equal to the key.
    QString seekCondition(Params &p, const KeySeek &seek, int first, int last, bool forward) const;
    // The first `count` key columns equal to the key.
    QStringList equalConditions(Params &p, int count) const;
    QString select(const QStringList &conditions) const;
    // One aggregate expression over the rows under the range.
    SqlQuery aggregate(const QString &expression) const;
    // The values of the range's parameters in p, in order.
    QVariantList rangeValues(const Params &p) const;
    QString orderBy(bool forward) const;

    const TableLayout &m_layout;
    const Dialect &m_dialect;
    const QString &m_table;  // unquoted: quoted only where a statement is built
    const QVector<KeyColumn> &m_order;
    const KeyRange &m_range;
    KeysetCache *m_cache;
    int m_equalPrefix = 0;  // leading columns where start and end of the range agree
};

} // namespace store
