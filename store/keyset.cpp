#include "keyset.h"

namespace store {

// Numbered parameters; a value used in several places keeps its one number.
class KeysetQuery::Params {
public:
    explicit Params(const Dialect &d) : m_dialect(d) {}
    QString add(const QVariant &v)
    {
        values.append(v);
        return m_dialect.placeholder(int(values.size()));
    }
    QVariantList values;

private:
    const Dialect &m_dialect;
};

namespace {

QString op(bool descending, bool inclusive)
{
    if (descending)
        return inclusive ? QStringLiteral(" <= ") : QStringLiteral(" < ");
    return inclusive ? QStringLiteral(" >= ") : QStringLiteral(" > ");
}

QString joined(const QStringList &conditions) { return conditions.join(QStringLiteral(" AND ")); }

} // namespace

KeysetQuery::KeysetQuery(const TableLayout &layout, const Dialect &dialect, const QString &tableName,
                         const QVector<KeyColumn> &order, const KeyRange &range)
    : m_layout(layout), m_dialect(dialect), m_table(quoted(tableName)), m_order(order), m_range(range)
{
    const int n = int(std::min(range.start.size(), range.end.size()));
    while (m_equalPrefix < n && range.start[m_equalPrefix] == range.end[m_equalPrefix])
        ++m_equalPrefix;
}

// The tuple of columns from the equal prefix on is at or after (lower) / at or before the
// values in index order. The leading plain comparison lets the engine seek by it.
QString KeysetQuery::boundCondition(Params &p, const QVariantList &values, bool lower) const
{
    const int last = int(values.size()) - 1;
    QString nested;
    for (int i = last; i >= m_equalPrefix; --i) {
        const KeyColumn &c = m_order[i];
        const bool desc = c.descending == lower;
        const QString v = p.add(values[i]);
        nested = i == last ? c.name + op(desc, true) + v
                           : QStringLiteral("(%1%2%3 OR (%1 = %3 AND %4))").arg(c.name, op(desc, false), v, nested);
        if (i == m_equalPrefix && i != last)
            nested = c.name + op(desc, true) + v + QStringLiteral(" AND ") + nested;
    }
    return nested;
}

QString KeysetQuery::rangeCondition(Params &p) const
{
    QStringList conditions;
    for (int i = 0; i < m_equalPrefix; ++i)
        conditions.append(m_order[i].name + QStringLiteral(" = ") + p.add(m_range.start[i]));
    if (m_range.start.size() > m_equalPrefix)
        conditions.append(boundCondition(p, m_range.start, true));
    if (m_range.end.size() > m_equalPrefix)
        conditions.append(boundCondition(p, m_range.end, false));
    return joined(conditions);
}

QStringList KeysetQuery::commonConditions(Params &p, const QString &filterColumn, const QVariant &filterValue) const
{
    QStringList conditions;
    const QString range = rangeCondition(p);
    if (!range.isEmpty())
        conditions.append(range);
    if (!filterColumn.isEmpty())
        conditions.append(filterValue.isNull() ? filterColumn + QStringLiteral(" IS NULL")
                                               : filterColumn + QStringLiteral(" = ") + p.add(filterValue));
    return conditions;
}

QVector<int> KeysetQuery::seekColumns(const KeySeek &seek, bool &wholeRange) const
{
    wholeRange = false;
    QVector<int> columns;
    const int k = int(seek.key.size());
    for (int i = 0; i < k; ++i) {
        const bool inRangePrefix = i < m_equalPrefix;
        if (inRangePrefix && seek.key[i] == m_range.start[i]) {
            // The range fixes this column to the key's value: "past it" is empty, and
            // "at it" on the last column is the whole range.
            if (i == k - 1 && seek.inclusive)
                wholeRange = true;
            continue;
        }
        columns.append(i);
        if (inRangePrefix)
            break;  // deeper seeks would need this column both equal to the range and to the key
    }
    return columns;
}

QString KeysetQuery::seekCondition(Params &p, const KeySeek &seek, int column, bool forward) const
{
    QStringList conditions;
    for (int j = 0; j < column; ++j)
        conditions.append(m_order[j].name + QStringLiteral(" = ") + p.add(seek.key[j]));
    const bool last = column == seek.key.size() - 1;
    const bool desc = m_order[column].descending == forward;
    conditions.append(m_order[column].name + op(desc, last && seek.inclusive) + p.add(seek.key[column]));
    return joined(conditions);
}

QString KeysetQuery::rowValueCondition(Params &p, const KeySeek &seek, bool forward) const
{
    QStringList names;
    QStringList values;
    for (int i = 0; i < seek.key.size(); ++i) {
        names.append(m_order[i].name);
        values.append(p.add(seek.key[i]));
    }
    const QString comparison = op(m_order[0].descending == forward, seek.inclusive);
    if (names.size() == 1)
        return names[0] + comparison + values[0];
    return u'(' + names.join(u", ") + u')' + comparison + u'(' + values.join(u", ") + u')';
}

QString KeysetQuery::select(const QStringList &conditions) const
{
    QString sql = QStringLiteral("SELECT ") + m_layout.selectList() + QStringLiteral(" FROM ") + m_table;
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + joined(conditions);
    return sql;
}

QString KeysetQuery::orderBy(bool forward) const
{
    QStringList order;
    for (const KeyColumn &c : m_order)
        order.append(c.descending == forward ? c.name + QStringLiteral(" DESC") : c.name);
    return QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
}

QVector<SqlQuery> KeysetQuery::rows(const KeySeek *seek, bool forward, int limit, const QString &filterColumn,
                                    const QVariant &filterValue) const
{
    // The LIMIT clause: a parameter, or (where a parameter would make the engine plan
    // for an unknown number of rows) the number itself.
    const auto limitClause = [&](Params &p, int &param) {
        param = m_dialect.limitParameter ? int(p.values.size()) : -1;
        return QStringLiteral(" LIMIT ") + (m_dialect.limitParameter ? p.add(qint64(limit)) : QString::number(limit));
    };
    // One statement: its conditions, ordered, limited.
    const auto single = [&](Params &p, QStringList conditions) {
        int param = -1;
        const QString tail = orderBy(forward) + limitClause(p, param);
        return SqlQuery{select(conditions) + tail, p.values, limit, param};
    };

    Params p(m_dialect);
    QStringList common = commonConditions(p, filterColumn, filterValue);
    if (!seek || seek->key.isEmpty())
        return {single(p, common)};

    bool sameWay = true;
    for (int i = 1; i < seek->key.size(); ++i)
        sameWay = sameWay && m_order[i].descending == m_order[0].descending;
    if (m_dialect.rowValueSeek && sameWay) {
        common.append(rowValueCondition(p, *seek, forward));
        return {single(p, common)};
    }

    bool wholeRange = false;
    const QVector<int> columns = seekColumns(*seek, wholeRange);
    if (wholeRange)
        return {single(p, common)};
    if (m_dialect.seekInSteps || columns.size() == 1) {
        // The deepest seek first: its rows come first in the order.
        QVector<SqlQuery> steps;
        for (auto it = columns.crbegin(); it != columns.crend(); ++it) {
            const int column = *it;
            Params stepParams(m_dialect);
            QStringList conditions = commonConditions(stepParams, filterColumn, filterValue);
            conditions.append(seekCondition(stepParams, *seek, column, forward));
            steps.append(single(stepParams, conditions));
        }
        return steps;
    }
    QStringList arms;
    for (int column : columns) {
        QStringList conditions = common;
        conditions.append(seekCondition(p, *seek, column, forward));
        arms.append(select(conditions));
    }
    int param = -1;
    const QString tail = orderBy(forward) + limitClause(p, param);
    return {{arms.join(QStringLiteral(" UNION ALL ")) + tail, p.values, limit, param}};
}

SqlQuery KeysetQuery::count() const
{
    Params p(m_dialect);
    const QString range = rangeCondition(p);
    QString sql = QStringLiteral("SELECT count(*) FROM ") + m_table;
    if (!range.isEmpty())
        sql += QStringLiteral(" WHERE ") + range;
    return {sql, p.values};
}

} // namespace store
