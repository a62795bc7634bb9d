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

QString joined(const QStringList &conditions)
{
    return conditions.join(QStringLiteral(" AND "));
}

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

QStringList KeysetQuery::seekArms(Params &p, const KeySeek &seek, bool forward, bool &none) const
{
    const int k = int(seek.key.size());
    // Placeholders are numbered on first use: an engine may refuse a parameter that no
    // condition uses.
    QStringList placeholders(k);
    const auto key = [&](int i) -> const QString & {
        if (placeholders[i].isEmpty())
            placeholders[i] = p.add(seek.key[i]);
        return placeholders[i];
    };

    // One comparison of row values, where the engine seeks by it and the columns agree.
    bool sameWay = true;
    for (int i = 1; i < k; ++i)
        sameWay = sameWay && m_order[i].descending == m_order[0].descending;
    if (m_dialect.rowValueSeek && sameWay) {
        QStringList names;
        for (int i = 0; i < k; ++i) {
            names.append(m_order[i].name);
            key(i);
        }
        const bool desc = m_order[0].descending == forward;
        if (k == 1)
            return {names[0] + op(desc, seek.inclusive) + placeholders[0]};
        return {u'(' + names.join(u", ") + u')' + op(desc, seek.inclusive) + u'('
                + placeholders.join(u", ") + u')'};
    }

    // One seek per column: equal on the columns before it, past the key in it.
    QStringList arms;
    for (int i = 0; i < k; ++i) {
        const bool last = i == k - 1;
        const bool inRangePrefix = i < m_equalPrefix;
        if (inRangePrefix && seek.key[i] == m_range.start[i]) {
            // The range fixes this column to the key's value: "past it" is empty, and
            // "at it" on the last column is the whole range.
            if (last && seek.inclusive) {
                arms.append(QString());
                break;
            }
            continue;
        }
        QStringList conditions;
        for (int j = 0; j < i; ++j)
            conditions.append(m_order[j].name + QStringLiteral(" = ") + key(j));
        const bool desc = m_order[i].descending == forward;
        conditions.append(m_order[i].name + op(desc, last && seek.inclusive) + key(i));
        arms.append(joined(conditions));
        if (inRangePrefix)
            break;  // deeper seeks would need this column both equal to the range and to the key
    }
    none = arms.isEmpty();
    return arms;
}

SqlQuery KeysetQuery::rows(const KeySeek *seek, bool forward, int limit, const QString &filterColumn,
                           const QVariant &filterValue) const
{
    Params p(m_dialect);
    QStringList common;
    const QString range = rangeCondition(p);
    if (!range.isEmpty())
        common.append(range);
    if (!filterColumn.isEmpty())
        common.append(filterValue.isNull() ? filterColumn + QStringLiteral(" IS NULL")
                                           : filterColumn + QStringLiteral(" = ") + p.add(filterValue));
    QStringList arms{QString()};
    if (seek && !seek->key.isEmpty()) {
        bool none = false;
        arms = seekArms(p, *seek, forward, none);
        if (none)
            return {{}, {}, true};
    }

    QStringList order;
    for (const KeyColumn &c : m_order)
        order.append(c.descending == forward ? c.name + QStringLiteral(" DESC") : c.name);

    const QString select = QStringLiteral("SELECT ") + m_layout.selectList() + QStringLiteral(" FROM ") + m_table;
    QStringList parts;
    for (const QString &arm : std::as_const(arms)) {
        QStringList conditions = common;
        if (!arm.isEmpty())
            conditions.append(arm);
        parts.append(conditions.isEmpty() ? select : select + QStringLiteral(" WHERE ") + joined(conditions));
    }
    const QString sql = parts.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(" ORDER BY ")
        + order.join(QStringLiteral(", ")) + QStringLiteral(" LIMIT ") + QString::number(limit);
    return {sql, p.values, false};
}

SqlQuery KeysetQuery::count() const
{
    Params p(m_dialect);
    const QString range = rangeCondition(p);
    QString sql = QStringLiteral("SELECT count(*) FROM ") + m_table;
    if (!range.isEmpty())
        sql += QStringLiteral(" WHERE ") + range;
    return {sql, p.values, false};
}

} // namespace store
