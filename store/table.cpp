// The table component's cursor: opening and closing, the order, searches and ranges,
// the moves, bookmarks and fields. Editing is in table_edit.cpp, reads of many rows in
// table_rows.cpp, the inner state in internal/table_impl.cpp.

#include "table.h"

#include "store/internal/holds.h"
#include "store/internal/table_impl.h"
#include "value.h"

#include <algorithm>

namespace store {

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

} // namespace store
