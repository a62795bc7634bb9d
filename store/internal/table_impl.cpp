// The inner state of a table component: reading rows into records, the buffered page
// around the current record and the moves within and past it, the keys of records in
// the current order.

#include "table_impl.h"

#include "core/textutil.h"
#include "store/value.h"

#include <algorithm>

namespace store {

Table::Impl::Impl(Table &table, const TableDef &def) : t(table), layout(def), emptyRecord(&def)
{
    fields.reserve(def.fields.size());
    for (int i = 0; i < def.fields.size(); ++i) {
        fields.emplace_back(&table, i);
        if (!layout.selectFields().contains(i))
            unreadFields.append(i);
    }
    order = layout.keyColumns(nullptr);
}

StoreError Table::Impl::error(const QString &text) const
{
    return StoreError(QStringLiteral("Tabulka %1: %2").arg(t.m_tableName, text));
}

void Table::Impl::requireActive() const
{
    if (state == DataSetState::Inactive)
        throw error(QStringLiteral("tabulka není otevřena"));
}

QVector<Record> Table::Impl::fetch(const QVector<SqlQuery> &read, bool reverse, const QVector<ColType> *types,
                                   qint64 holdFirst)
{
    // Each row is decoded straight into the values of a record: one of the spare ones
    // when nobody else holds it any more (its values are then overwritten in place), else
    // a new one. A read with its own column types makes new records only.
    class Sink : public RowSink {
    public:
        Sink(const Impl &d, QVector<Record> pool, qint64 missing)
            : m_d(d), m_rows(std::move(pool)), m_missing(missing), m_targets(d.layout.selectFields().size())
        {
            if (m_rows.isEmpty() && missing > 0)
                m_rows.reserve(std::min<qint64>(missing, d.engine().dialect().maxPageRows));
        }
        QVariant *const *row() override
        {
            if (m_count == m_rows.size())
                m_rows.append(Record(&m_d.layout.def()));
            Record &rec = m_rows[m_count];
            if (!rec.m_values.isDetached())
                rec = Record(&m_d.layout.def());
            QVariant *values = rec.m_values.data();
            const QVector<int> &selectFields = m_d.layout.selectFields();
            for (int c = 0; c < selectFields.size(); ++c)
                m_targets[c] = selectFields[c] >= 0         ? values + selectFields[c]
                    : c == m_d.layout.idSelectColumn() ? &m_id
                                                       : nullptr;
            return m_targets.data();
        }
        void rowDone() override
        {
            // A later step whose LIMIT is written in its text may give more than is
            // missing: such a row is left out (its record taken again by the next row).
            if (m_missing == 0)
                return;
            Record &rec = m_rows[m_count];
            const int idField = m_d.layout.idField();
            rec.m_id = idField >= 0 ? rec.m_values[idField].toLongLong() : m_id.toLongLong();
            for (int f : m_d.unreadFields)
                if (rec.m_values[f].isValid())
                    rec.m_values[f] = QVariant();
            ++m_count;
            --m_missing;
        }
        qint64 missing() const { return m_missing; }
        // The rows read; the records left over are added to leftover.
        QVector<Record> take(QVector<Record> &leftover)
        {
            for (qint64 i = m_count; i < m_rows.size(); ++i)
                leftover.append(std::move(m_rows[i]));
            m_rows.resize(m_count);
            return std::move(m_rows);
        }

    private:
        const Impl &m_d;
        QVector<Record> m_rows;
        qint64 m_count = 0;
        qint64 m_missing;
        QVariant m_id;  // the hidden record id column
        std::vector<QVariant *> m_targets;
    };

    QVector<Record> pool;
    if (!types && spare.isDetached())
        pool = std::move(spare);
    spare = {};
    Sink sink(*this, std::move(pool), read.isEmpty() ? 0 : read[0].limit);
    bool heldElsewhere = false;
    try {
        const QVector<ColType> &columns = types ? *types : layout.selectTypes();
        if (holdFirst)
            heldElsewhere = !engine().holdAndRead(holdKey, holdFirst, read[0].sql, read[0].params, columns, sink);
        else if (read.size() < 2 || !engine().queryInTurn(read, columns, sink, sink.missing())) {
            for (const SqlQuery &q : read) {
                if (sink.missing() == 0)
                    break;
                // A later step asks for the rows still missing.
                const QVariantList *params = &q.params;
                QVariantList limited;
                if (q.limitParam >= 0 && sink.missing() != q.limit) {
                    limited = q.params;
                    limited[q.limitParam] = sink.missing();
                    params = &limited;
                }
                engine().query(q.sql, *params, columns, sink);
            }
        }
    } catch (const StoreError &e) {
        throw error(e.text());
    }
    if (heldElsewhere)
        throw error(QStringLiteral("záznam je upraven jinou stanicí"));
    QVector<Record> rows = sink.take(spare);
    try {
        for (Record &rec : rows)
            calc(rec);
    } catch (...) {
        if (holdFirst)
            release(holdFirst);
        throw;
    }
    if (reverse)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

std::optional<Record> Table::Impl::fetchById(qint64 id, bool hold)
{
    if (statements.byId.isEmpty())
        statements.byId = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4")
                              .arg(layout.selectList(), quoted(t.m_tableName), layout.idColumn(),
                                   engine().dialect().placeholder(1));
    SqlQuery q{statements.byId, {id}};
    QVector<Record> rows = fetch({q}, false, nullptr, hold ? id : 0);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

bool Table::Impl::moveToId(qint64 id)
{
    std::optional<Record> rec = fetchById(id);
    if (!rec)
        return false;
    setPage({*rec}, 0, false, false);
    bof = eof = false;
    emit t.recordChanged();
    return true;
}

qint64 Table::Impl::execute(const QString &sql, const QVariantList &params)
{
    try {
        return engine().execute(sql, params);
    } catch (const StoreError &e) {
        throw error(e.text());
    }
}

QVariantList Table::Impl::keyOf(const Record &r) const
{
    QVariantList key;
    key.reserve(order.size());
    for (const KeyColumn &c : order) {
        if (c.field < 0 || c.field == layout.idField())
            key.append(r.id());
        else if (c.upper)
            key.append(UpperLocale(layout.toStorage(c.field, r.value(c.field)).toString()));
        else
            key.append(layout.toStorage(c.field, r.value(c.field)));
    }
    return key;
}

QVariantList Table::Impl::searchKey(const QVariantList &values) const
{
    const int keyFields = index ? int(index->fields.size()) : 1;
    if (values.size() > keyFields)
        throw error(QStringLiteral("index %1 má jen %2 klíčová pole")
                        .arg(index ? index->name : QStringLiteral("(výchozí)"))
                        .arg(keyFields));
    QVariantList key;
    for (int i = 0; i < values.size(); ++i) {
        const KeyColumn &c = order[i];
        if (c.field < 0) {
            FieldDef id;
            id.name = c.name;
            id.type = FieldType::AutoInc;
            key.append(toFieldValue(id, values[i], false).toLongLong());
            continue;
        }
        const QVariant stored = layout.toStorage(c.field, toFieldValue(t.Definition().fields[c.field], values[i], false));
        key.append(c.upper ? QVariant(UpperLocale(stored.toString())) : stored);
    }
    return key;
}

void Table::Impl::calc(Record &r) const
{
    if (t.OnCalcFields)
        t.OnCalcFields(r);
}

void Table::Impl::setPage(QVector<Record> rows, int current, bool atStart, bool atEnd)
{
    nextRows = kFirstPageRows;  // a new position: a scan from it starts with a small page
    spare = std::move(page);
    page = std::move(rows);
    pos = std::max(current, 0);
    pageAtStart = atStart;
    pageAtEnd = atEnd;
    generation = engine().writeGeneration();
}

void Table::Impl::setPageRead(QVector<Record> rows, bool forward, int want, bool fromEdge)
{
    const bool all = rows.size() < want;
    const int n = int(rows.size());
    if (forward)
        setPage(std::move(rows), 0, fromEdge, all);
    else
        setPage(std::move(rows), n - 1, all, fromEdge);
}

void Table::Impl::keepCurrentOnly()
{
    if (!page.isEmpty())
        setPage({page[pos]}, 0, false, false);
    else
        setPage({}, 0, false, false);
}

void Table::Impl::refreshIfStale()
{
    if (generation != engine().writeGeneration())
        keepCurrentOnly();
}

void Table::Impl::readEdge(bool first, int want)
{
    QVector<Record> rows = fetch(keyset().rows(nullptr, first, want), !first);
    const int n = int(rows.size());
    setPageRead(std::move(rows), first, want, true);
    bof = first || n == 0;
    eof = !first || n == 0;
    emit t.recordChanged();
}

void Table::Impl::step(bool forward)
{
    refreshIfStale();
    if (page.isEmpty()) {
        // Nothing was there when last read; look again.
        readEdge(forward);
        return;
    }
    const int next = forward ? pos + 1 : pos - 1;
    if (next >= 0 && next < page.size()) {
        pos = next;
        bof = eof = false;
        emit t.recordChanged();
        return;
    }
    if (!(forward ? pageAtEnd : pageAtStart)) {
        const KeySeek from{keyOf(page[pos]), false};
        const int want = nextRows;
        QVector<Record> rows = fetch(keyset().rows(&from, forward, want), !forward);
        if (!rows.isEmpty()) {
            setPageRead(std::move(rows), forward, want, false);
            nextRows = std::min(2 * want, engine().dialect().maxPageRows);
            bof = eof = false;
            emit t.recordChanged();
            return;
        }
        (forward ? pageAtEnd : pageAtStart) = true;
    }
    eof = forward;
    bof = !forward;
}

void Table::Impl::positionAt(const KeySeek &seek, int rows)
{
    QVector<Record> found = fetch(keyset().rows(&seek, true, rows));
    if (found.isEmpty()) {
        readEdge(false);
        eof = true;
        return;
    }
    const bool all = found.size() < rows;
    setPage(std::move(found), 0, false, all);
    bof = eof = false;
    emit t.recordChanged();
}

Record &Table::Impl::current()
{
    if (state == DataSetState::Edit || state == DataSetState::Insert)
        return buffer;
    return page.isEmpty() ? emptyRecord : page[pos];
}

} // namespace store
