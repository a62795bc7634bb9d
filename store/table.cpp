#include "table.h"

#include "app/core/textutil.h"
#include "store/internal/holds.h"
#include "store/internal/table_impl.h"
#include "value.h"

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
    const bool all = rows.size() < want;
    const int n = int(rows.size());
    if (first)
        setPage(std::move(rows), 0, true, all);
    else
        setPage(std::move(rows), n - 1, all, true);
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
            const bool all = rows.size() < want;
            const int n = int(rows.size());
            if (forward)
                setPage(std::move(rows), 0, false, all);
            else
                setPage(std::move(rows), n - 1, all, false);
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

Table::Table(const TableDef *def, QObject *parent)
    : QObject(parent), m_def(def), m_tableName(def->builtInName), d(std::make_unique<Impl>(*this, *def))
{
}

Table::~Table()
{
    try {
        Close();
    } catch (...) {
        // The connection may be gone; the hold went with it.
    }
}

void Table::SetDatabase(Database *db)
{
    if (d->state != DataSetState::Inactive)
        throw d->error(QStringLiteral("databázi lze změnit jen u zavřené tabulky"));
    m_db = db;
}

void Table::SetTableName(const QString &name)
{
    if (d->state != DataSetState::Inactive)
        throw d->error(QStringLiteral("jméno lze změnit jen u zavřené tabulky"));
    m_tableName = name;
}

void Table::Open()
{
    if (d->state != DataSetState::Inactive)
        return;
    if (!m_db || !m_db->IsConnected())
        throw d->error(QStringLiteral("databáze není připojena"));
    // The statements built so far (and the key of the table's holds) stay good while the
    // SQL they are written in and the table they name stay the same.
    const Dialect *dialect = &m_db->engine().dialect();
    if (dialect != d->statementsDialect || m_tableName != d->statementsTable) {
        d->holdKey = tableHoldKey(m_tableName);
        d->statements = {};
        d->statementsDialect = dialect;
        d->statementsTable = m_tableName;
    }
    d->state = DataSetState::Browse;
    try {
        d->readEdge(true);
    } catch (...) {
        d->state = DataSetState::Inactive;
        d->page.clear();
        throw;
    }
    m_db->attach(this);
    emit stateChanged();
}

void Table::Close()
{
    if (d->state == DataSetState::Inactive)
        return;
    Cancel();
    d->state = DataSetState::Inactive;
    // A few records of the page stay for the reads after the next Open to fill.
    d->spare = std::move(d->page);
    d->spare.resize(std::min<qsizetype>(d->spare.size(), Impl::kFirstPageRows));
    d->page.clear();
    d->edgeKeys.clear();
    d->range = {};
    d->bof = d->eof = true;
    if (m_db)
        m_db->detach(this);
    emit stateChanged();
    emit recordChanged();
}

bool Table::Active() const { return d->state != DataSetState::Inactive; }

void Table::SetIndexName(const QString &name)
{
    const IndexDef *ix = nullptr;
    if (!name.trimmed().isEmpty()) {
        ix = m_def->index(name);
        if (!ix)
            throw d->error(QStringLiteral("index %1 neexistuje").arg(name));
    }
    if (ix == d->index)
        return;
    if (Active())
        d->checkBrowse();
    d->index = ix;
    d->order = d->layout.keyColumns(ix);
    d->edgeKeys.clear();
    d->range = {};
    if (Active())
        d->keepCurrentOnly();
}

QString Table::IndexName() const { return d->index ? d->index->name : QString(); }

bool Table::FindKey(const QVariantList &values)
{
    d->requireActive();
    const KeySeek seek{d->searchKey(values), true, true};
    d->checkBrowse();
    QVector<Record> rows = d->fetch(d->keyset().rows(&seek, true, 1));
    if (rows.isEmpty())
        return false;
    d->setPage(std::move(rows), 0, false, false);
    d->bof = d->eof = false;
    emit recordChanged();
    return true;
}

void Table::FindNearest(const QVariantList &values)
{
    d->requireActive();
    const KeySeek seek{d->searchKey(values), true};
    d->checkBrowse();
    d->positionAt(seek, 1);
}

void Table::SetRange(const QVariantList &start, const QVariantList &end)
{
    d->requireActive();
    KeyRange range{d->searchKey(start), d->searchKey(end)};
    d->checkBrowse();
    d->range = std::move(range);
    d->readEdge(true, Impl::kFirstPageRows);
}

void Table::CancelRange()
{
    d->requireActive();
    d->checkBrowse();
    const bool wasEmpty = d->page.isEmpty();
    d->range = {};
    if (wasEmpty)
        d->readEdge(true);
    else
        d->keepCurrentOnly();
}

bool Table::Locate(const FieldKey &field, const QVariant &value)
{
    d->requireActive();
    const int f = field.indexIn(*m_def);
    if (m_def->fields[f].calculated)
        throw d->error(QStringLiteral("pole %1 není uloženo v tabulce").arg(field.name()));
    const QVariant stored = d->layout.toStorage(f, toFieldValue(m_def->fields[f], value, false));
    d->checkBrowse();
    QVector<Record> rows = d->fetch(d->keyset().rows(nullptr, true, 1, d->layout.column(f), stored));
    if (rows.isEmpty())
        return false;
    d->setPage(std::move(rows), 0, false, false);
    d->bof = d->eof = false;
    emit recordChanged();
    return true;
}

void Table::First()
{
    d->requireActive();
    d->checkBrowse();
    d->readEdge(true);
}

void Table::Last()
{
    d->requireActive();
    d->checkBrowse();
    d->readEdge(false);
}

void Table::Next()
{
    d->requireActive();
    d->checkBrowse();
    d->step(true);
}

void Table::Prior()
{
    d->requireActive();
    d->checkBrowse();
    d->step(false);
}

bool Table::Eof() const { return d->eof; }

bool Table::Bof() const { return d->bof; }

bool Table::IsEmpty() const
{
    d->requireActive();
    if (!d->page.isEmpty() && d->generation == d->engine().writeGeneration())
        return false;
    return d->fetch(d->keyset().rows(nullptr, true, 1)).isEmpty();
}

qint64 Table::RecordCount()
{
    d->requireActive();
    const SqlQuery q = d->keyset().count();
    try {
        return d->engine().queryInteger(q.sql, q.params).value_or(0);
    } catch (const StoreError &e) {
        throw d->error(e.text());
    }
}

double Table::Sum(const FieldKey &field)
{
    d->requireActive();
    const int f = field.find(*m_def);
    if (f < 0 || m_def->fields[f].calculated
        || (m_def->fields[f].type != FieldType::Float && m_def->fields[f].type != FieldType::Integer))
        throw d->error(QStringLiteral("pole %1 není uložené číselné pole tabulky").arg(field.name()));
    const SqlQuery q = d->keyset().sum(d->layout.column(f));
    double total = 0;
    try {
        d->engine().query(q.sql, q.params, {ColType::Real}, [&total](QVariant *cells) { total = cells[0].toDouble(); });
    } catch (const StoreError &e) {
        throw d->error(e.text());
    }
    return total;
}

DataSetState Table::State() const { return d->state; }

Bookmark Table::GetBookmark() const
{
    if (d->state == DataSetState::Insert || d->state == DataSetState::Inactive || d->page.isEmpty())
        return {};
    return {d->state == DataSetState::Edit ? d->buffer.id() : d->page[d->pos].id()};
}

void Table::GotoBookmark(const Bookmark &b)
{
    d->requireActive();
    d->checkBrowse();
    if (!b.isValid() || !d->moveToId(b.id))
        throw d->error(QStringLiteral("záznam již neexistuje"));
}

bool Table::BookmarkValid(const Bookmark &b)
{
    d->requireActive();
    return b.isValid() && d->fetchById(b.id).has_value();
}

int Table::FieldCount() const { return int(d->fields.size()); }

Field &Table::Fields(int i) { return d->fields.at(i); }

Field &Table::FieldByName(const FieldKey &name)
{
    Field *f = FindField(name);
    if (!f)
        throw d->error(QStringLiteral("pole %1 neexistuje").arg(name.name()));
    return *f;
}

Field *Table::FindField(const FieldKey &name)
{
    const int i = name.find(*m_def);
    return i < 0 ? nullptr : &d->fields[i];
}

const Record &Table::CurrentRecord() const { return d->current(); }

QVariantList Table::Impl::keyOfId(qint64 id)
{
    const quint64 now = engine().writeGeneration();
    if (generation == now)
        for (const Record &r : std::as_const(page))
            if (r.id() == id)
                return keyOf(r);
    if (edgeGeneration == now)
        for (const EdgeKey &e : std::as_const(edgeKeys))
            if (e.id == id)
                return e.key;
    const std::optional<Record> rec = fetchById(id);
    if (!rec)
        throw error(QStringLiteral("záznam již neexistuje"));
    return keyOf(*rec);
}

void Table::Impl::rememberEdges(const QVector<Record> &rows)
{
    const quint64 now = engine().writeGeneration();
    if (edgeGeneration != now) {
        edgeKeys.clear();
        edgeGeneration = now;
    }
    if (rows.isEmpty())
        return;
    for (const Record *r : {&rows.first(), &rows.last()}) {
        if (edgeKeys.size() >= kEdgeKeys)
            edgeKeys.removeFirst();
        edgeKeys.append({r->id(), keyOf(*r)});
    }
}

QVector<Record> Table::ReadRows(const Bookmark &from, int count, bool forward)
{
    d->requireActive();
    if (count <= 0)
        return {};
    std::optional<KeySeek> seek;
    if (from.isValid())
        seek = KeySeek{d->keyOfId(from.id), false};
    QVector<Record> rows = d->fetch(d->keyset().rows(seek ? &*seek : nullptr, forward, count), !forward);
    d->rememberEdges(rows);
    // Once the caller lets them go, the next read fills these records again.
    d->spare = rows;
    return rows;
}

void Table::RecycleRows(QVector<Record> rows)
{
    // They take the place of the spare records, which are mostly the rows the last read
    // handed out (of no use while the caller shows them).
    d->spare = std::move(rows);
}

QVector<Record> Table::ReadKeys(const QVariantList &values, const QVector<FieldKey> &fields)
{
    d->requireActive();
    if (values.isEmpty())
        return {};
    if (values.size() > kMaxReadKeys)
        throw d->error(QStringLiteral("najednou lze číst nejvýš %1 klíčů").arg(kMaxReadKeys));
    QVariantList keys;
    keys.reserve(values.size());
    for (const QVariant &v : values)
        keys.append(d->searchKey({v}).constFirst());
    QVector<ColType> types = d->layout.selectTypes();
    if (!fields.isEmpty()) {
        QVector<bool> wanted(m_def->fields.size(), false);
        for (const FieldKey &field : fields) {
            const int f = field.find(*m_def);
            if (f < 0)
                throw d->error(QStringLiteral("pole %1 v tabulce není").arg(field.name()));
            wanted[f] = true;
        }
        const QVector<int> &selectFields = d->layout.selectFields();
        for (int c = 0; c < selectFields.size(); ++c)
            if (selectFields[c] >= 0 && selectFields[c] != d->layout.idField() && !wanted[selectFields[c]])
                types[c] = ColType::Skip;
    }
    return d->fetch({d->keyset().rowsWithFirstKeyIn(keys, types)}, false, &types);
}

} // namespace store
