#include "keyset.h"

#include <QVarLengthArray>
#include <functional>

namespace store {

// Numbered parameters, each remembered by where its value comes from.
class KeysetQuery::Params {
public:
    explicit Params(const Dialect &d) : m_dialect(d) {}
    QString add(SqlTemplate::From from, int index = 0)
    {
        sources.append({from, index});
        return m_dialect.placeholder(int(sources.size()));
    }
    QVector<QPair<SqlTemplate::From, int>> sources;

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
                         const QVector<KeyColumn> &order, const KeyRange &range, KeysetCache *cache)
    : m_layout(layout), m_dialect(dialect), m_table(tableName), m_order(order), m_range(range),
      m_cache(cache)
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
    const auto from = lower ? SqlTemplate::From::RangeStart : SqlTemplate::From::RangeEnd;
    QString nested;
    for (int i = last; i >= m_equalPrefix; --i) {
        const KeyColumn &c = m_order[i];
        const bool desc = c.descending == lower;
        const QString v = p.add(from, i);
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
        conditions.append(m_order[i].name + QStringLiteral(" = ") + p.add(SqlTemplate::From::RangeStart, i));
    if (m_range.start.size() > m_equalPrefix)
        conditions.append(boundCondition(p, m_range.start, true));
    if (m_range.end.size() > m_equalPrefix)
        conditions.append(boundCondition(p, m_range.end, false));
    return joined(conditions);
}

QStringList KeysetQuery::commonConditions(Params &p, const QString &filterColumn, bool filterIsNull) const
{
    QStringList conditions;
    const QString range = rangeCondition(p);
    if (!range.isEmpty())
        conditions.append(range);
    if (!filterColumn.isEmpty())
        conditions.append(filterIsNull ? filterColumn + QStringLiteral(" IS NULL")
                                       : filterColumn + QStringLiteral(" = ") + p.add(SqlTemplate::From::Filter));
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

QStringList KeysetQuery::equalConditions(Params &p, int count) const
{
    QStringList conditions;
    for (int j = 0; j < count; ++j)
        conditions.append(m_order[j].name + QStringLiteral(" = ") + p.add(SqlTemplate::From::Seek, j));
    return conditions;
}

QString KeysetQuery::seekCondition(Params &p, const KeySeek &seek, int first, int last, bool forward) const
{
    QStringList conditions = equalConditions(p, first);
    const bool inclusive = last == seek.key.size() - 1 && seek.inclusive;
    const QString comparison = op(m_order[first].descending == forward, inclusive);
    if (first == last) {
        conditions.append(m_order[first].name + comparison + p.add(SqlTemplate::From::Seek, first));
    } else {
        QStringList names;
        QStringList values;
        for (int i = first; i <= last; ++i) {
            names.append(m_order[i].name);
            values.append(p.add(SqlTemplate::From::Seek, i));
        }
        conditions.append(u'(' + names.join(u", ") + u')' + comparison + u'(' + values.join(u", ") + u')');
    }
    return joined(conditions);
}

QString KeysetQuery::select(const QStringList &conditions) const
{
    QString sql = QStringLiteral("SELECT ") + m_layout.selectList() + QStringLiteral(" FROM ") + quoted(m_table);
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

QVector<SqlTemplate> KeysetQuery::build(const KeySeek *seek, const QVector<QPair<int, int>> &runs, bool forward,
                                        int limit, const QString &filterColumn, bool filterIsNull) const
{
    // One statement: the range, the filter and the given condition, ordered, limited. The
    // LIMIT is a parameter, or (where a parameter would make the engine plan for an
    // unknown number of rows) the number itself.
    const auto statement = [&](const std::function<QString(Params &)> &condition) {
        Params p(m_dialect);
        QStringList conditions = commonConditions(p, filterColumn, filterIsNull);
        if (condition)
            conditions.append(condition(p));
        const int limitParam = m_dialect.limitParameter ? int(p.sources.size()) : -1;
        const QString limitText = m_dialect.limitParameter ? p.add(SqlTemplate::From::Limit) : QString::number(limit);
        return SqlTemplate{select(conditions) + orderBy(forward) + QStringLiteral(" LIMIT ") + limitText, p.sources,
                           limitParam};
    };
    if (seek && seek->equal)
        return {statement([&](Params &p) { return joined(equalConditions(p, int(seek->key.size()))); })};
    if (runs.isEmpty())
        return {statement(nullptr)};
    // The deepest seek first: its rows come first in the order.
    QVector<SqlTemplate> steps;
    for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
        // Plain copies, not a structured binding: clang before 16 cannot capture those.
        const auto first = it->first;
        const auto last = it->second;
        steps.append(statement([&](Params &p) { return seekCondition(p, *seek, first, last, forward); }));
    }
    return steps;
}

QVector<SqlQuery> KeysetQuery::rows(const KeySeek *seek, bool forward, int limit, const QString &filterColumn,
                                    const QVariant &filterValue) const
{
    // The seek as runs of neighbouring key columns that one row-value comparison can
    // take; none when the range alone answers it.
    QVector<QPair<int, int>> runs;
    if (seek && !seek->key.isEmpty() && !seek->equal) {
        bool wholeRange = false;
        const QVector<int> columns = seekColumns(*seek, wholeRange);
        if (!wholeRange && columns.isEmpty())
            return {};  // no row can follow the key within the range
        for (int c : wholeRange ? QVector<int>() : columns) {
            if (m_dialect.rowValueSeek && !runs.isEmpty() && runs.last().second == c - 1
                && m_order[c].descending == m_order[c - 1].descending)
                runs.last().second = c;
            else
                runs.append({c, c});
        }
    }

    // The shape of the read: all that its statements' text depends on. Looked up without
    // allocating; copied only when it is new.
    QVarLengthArray<char, 64> shape;
    for (qsizetype n : {qsizetype(forward), qsizetype(seek && seek->inclusive), qsizetype(seek && seek->equal),
                        seek ? seek->key.size() : 0, m_range.start.size(), m_range.end.size(),
                        qsizetype(m_equalPrefix), qsizetype(filterValue.isNull())})
        shape.append(char(n));
    for (const auto &[first, last] : runs) {
        shape.append(char(first));
        shape.append(char(last));
    }
    shape.append(reinterpret_cast<const char *>(&limit), sizeof limit);
    for (QChar c : filterColumn)
        shape.append(reinterpret_cast<const char *>(&c), sizeof c);

    QVector<SqlTemplate> built;
    if (m_cache) {
        auto it = m_cache->m_reads.constFind(QByteArray::fromRawData(shape.data(), shape.size()));
        if (it == m_cache->m_reads.constEnd())
            it = m_cache->m_reads.insert(QByteArray(shape.data(), shape.size()),
                                         build(seek, runs, forward, limit, filterColumn, filterValue.isNull()));
        built = *it;
    } else {
        built = build(seek, runs, forward, limit, filterColumn, filterValue.isNull());
    }

    QVector<SqlQuery> read;
    read.reserve(built.size());
    for (const SqlTemplate &t : built) {
        QVariantList values;
        values.reserve(t.params.size());
        for (const auto &[from, index] : t.params) {
            switch (from) {
            case SqlTemplate::From::RangeStart:
                values.append(m_range.start[index]);
                break;
            case SqlTemplate::From::RangeEnd:
                values.append(m_range.end[index]);
                break;
            case SqlTemplate::From::Seek:
                values.append(seek->key[index]);
                break;
            case SqlTemplate::From::Filter:
                values.append(filterValue);
                break;
            case SqlTemplate::From::Limit:
                values.append(qint64(limit));
                break;
            }
        }
        read.append({t.sql, std::move(values), limit, t.limitParam});
    }
    return read;
}

SqlQuery KeysetQuery::count() const
{
    return aggregate(QStringLiteral("count(*)"));
}

SqlQuery KeysetQuery::sum(const QString &column) const
{
    return aggregate(QStringLiteral("sum(") + column + QLatin1Char(')'));
}

SqlQuery KeysetQuery::aggregate(const QString &expression) const
{
    Params p(m_dialect);
    const QString range = rangeCondition(p);
    QString sql = QStringLiteral("SELECT ") + expression + QStringLiteral(" FROM ") + quoted(m_table);
    if (!range.isEmpty())
        sql += QStringLiteral(" WHERE ") + range;
    return {sql, rangeValues(p)};
}

QVariantList KeysetQuery::rangeValues(const Params &p) const
{
    QVariantList values;
    for (const auto &[from, index] : p.sources)
        values.append(from == SqlTemplate::From::RangeStart ? m_range.start[index] : m_range.end[index]);
    return values;
}

SqlQuery KeysetQuery::rowsWithFirstKeyIn(const QVariantList &values, const QVector<ColType> &types) const
{
    Params p(m_dialect);
    QStringList conditions = commonConditions(p, QString(), false);
    const QVariantList params = rangeValues(p);
    QStringList placeholders;
    for (int i = 0; i < values.size(); ++i)
        placeholders.append(p.add(SqlTemplate::From::Seek, i));
    conditions.append(m_order[0].name + QStringLiteral(" IN (") + placeholders.join(QStringLiteral(", ")) +
                      QLatin1Char(')'));
    return {QStringLiteral("SELECT ") + m_layout.selectListReading(types) + QStringLiteral(" FROM ") + quoted(m_table) +
                QStringLiteral(" WHERE ") + joined(conditions) + orderBy(true),
            params + values};
}

} // namespace store
