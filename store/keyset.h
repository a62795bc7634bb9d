#pragma once
// The SQL of keyset navigation. Every read is one indexed query: the rows of a range,
// after (or from) a key, in index order or its reverse, LIMIT n — never OFFSET, never
// the whole table. A key is a list of values of the leading columns of the order, in
// storage form.
//
// The condition "after the key" is spelled per engine: as a row-value comparison where
// the engine seeks by it and all its columns run one way; otherwise as a UNION ALL of
// one precise seek per key column (k1 = ? AND k2 > ?; k1 > ?), merged in index order.
// A single OR-ed condition would seek only by its first column and then scan the whole
// group of rows equal in it.

#include "layout.h"

namespace store {

struct SqlQuery {
    QString sql;
    QVariantList params;
    bool none = false;  // no row can match: nothing to ask
};

// Records whose leading key columns lie between start and end (both included) in index
// order. Either list may be shorter than the order; empty lists bound nothing.
struct KeyRange {
    QVariantList start;
    QVariantList end;
};

// Where a read starts: after the key (or at it, when inclusive), compared on the first
// key.size() columns of the order.
struct KeySeek {
    QVariantList key;
    bool inclusive = false;
};

class KeysetQuery {
public:
    KeysetQuery(const TableLayout &layout, const Dialect &dialect, const QString &tableName,
                const QVector<KeyColumn> &order, const KeyRange &range);

    // Up to limit rows under the range, in index order (forward) or its reverse, from the
    // seek or from the start (end). With a filter column, only rows whose column equals
    // the value.
    SqlQuery rows(const KeySeek *seek, bool forward, int limit, const QString &filterColumn = {},
                  const QVariant &filterValue = {}) const;
    // The number of rows under the range.
    SqlQuery count() const;

private:
    class Params;
    QString rangeCondition(Params &p) const;
    QString boundCondition(Params &p, const QVariantList &values, bool lower) const;
    QStringList seekArms(Params &p, const KeySeek &seek, bool forward, bool &none) const;

    const TableLayout &m_layout;
    const Dialect &m_dialect;
    QString m_table;
    const QVector<KeyColumn> &m_order;
    const KeyRange &m_range;
    int m_equalPrefix = 0;  // leading columns where start and end of the range agree
};

} // namespace store
