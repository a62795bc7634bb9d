#include "table.h"

#include "core/textutil.h"
#include "store/internal/table_impl.h"

#include "store/transaction.h"

namespace store {

namespace {

// A field's value as written: its storage form, and the capitals beside it when the
// field has a capitals column.
void addStored(const TableLayout &layout, int f, const QVariant &value, QVariantList &params)
{
    const QVariant stored = layout.toStorage(f, value);
    params.append(stored);
    if (layout.hasUpper(f))
        params.append(UpperLocale(stored.toString()));
}

// The columns of a field as written (addStored).
void addColumns(const TableLayout &layout, int f, QStringList &columns)
{
    columns.append(layout.column(f));
    if (layout.hasUpper(f))
        columns.append(layout.upperColumn(f));
}

// The values of a new record as an INSERT writes them (insertStatement).
QVariantList insertValues(const TableLayout &layout, const Record &r)
{
    QVariantList params;
    params.reserve(layout.insertFields().size());
    for (int f : layout.insertFields())
        addStored(layout, f, r.value(f), params);
    return params;
}

// The INSERT of a new record; it gives back the record id when `returning`.
QString insertStatement(const TableLayout &layout, const Dialect &dialect, const QString &table, bool returning)
{
    QStringList columns;
    for (int f : layout.insertFields())
        addColumns(layout, f, columns);
    const QString tail = returning ? QStringLiteral(" RETURNING ") + layout.idColumn() : QString();
    if (columns.isEmpty())
        return QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table)) + tail;
    QStringList placeholders;
    for (int i = 1; i <= columns.size(); ++i)
        placeholders.append(dialect.placeholder(i));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
               .arg(quoted(table), columns.join(QStringLiteral(", ")), placeholders.join(QStringLiteral(", "))) +
        tail;
}

// The UPDATE of the fields `changed` of the record whose id is the last parameter.
QString updateStatement(const TableLayout &layout, const Dialect &dialect, const QString &table,
                        const QVector<int> &changed)
{
    QStringList columns;
    for (int f : changed)
        addColumns(layout, f, columns);
    QStringList sets;
    for (int i = 0; i < columns.size(); ++i)
        sets.append(columns[i] + QStringLiteral(" = ") + dialect.placeholder(i + 1));
    return QStringLiteral("UPDATE %1 SET %2 WHERE %3 = %4")
        .arg(quoted(table), sets.join(QStringLiteral(", ")), layout.idColumn(),
             dialect.placeholder(int(columns.size()) + 1));
}

} // namespace

bool Table::Impl::anyModified() const { return modified.contains(true); }

bool Table::Modified() const
{
    return (d->state == DataSetState::Edit || d->state == DataSetState::Insert) && d->anyModified();
}

void Table::Impl::checkBrowse()
{
    if (state != DataSetState::Edit && state != DataSetState::Insert)
        return;
    if (anyModified())
        t.Post();
    else
        t.Cancel();
}

void Table::Impl::holdOrFail(qint64 id)
{
    bool held = false;
    try {
        held = engine().tryHold(holdKey, id);
    } catch (const StoreError &e) {
        throw error(e.text());
    }
    if (!held)
        throw error(QStringLiteral("záznam je upraven jinou stanicí"));
}

void Table::Impl::release(qint64 id) { engine().release(holdKey, id); }

// Back to browsing after Post, Cancel or Delete: the hold ends with the edit.
void Table::Impl::endEdit()
{
    if (state == DataSetState::Edit)
        release(heldId);
    heldId = 0;
    state = DataSetState::Browse;
    buffer = Record();
    modified.fill(false);
}

void Table::Impl::setField(int field, const QVariant &v)
{
    const FieldDef &f = t.Definition().fields[field];
    if (f.calculated) {
        current().setValue(field, v);
        emit t.fieldChanged(field);
        return;
    }
    if (state != DataSetState::Edit && state != DataSetState::Insert)
        throw error(QStringLiteral("pole %1 lze měnit jen při úpravě záznamu").arg(f.name));
    if (field == layout.idField())
        throw error(QStringLiteral("pole %1 čísluje databáze, nelze je měnit").arg(f.name));
    buffer.setValue(field, v);
    modified[field] = true;
    calc(buffer);
    emit t.fieldChanged(field);
    if (t.OnCalcFields)
        for (int i = 0; i < t.Definition().fields.size(); ++i)
            if (t.Definition().fields[i].calculated)
                emit t.fieldChanged(i);
}

void Table::Append() { Insert(); }

void Table::Insert()
{
    d->requireActive();
    d->checkBrowse();
    d->buffer = Record(m_def);
    d->modified = QVector<bool>(m_def->fields.size(), false);
    d->state = DataSetState::Insert;
    d->calc(d->buffer);
    emit stateChanged();
    emit recordChanged();
    if (!OnAfterInsert)
        return;
    try {
        OnAfterInsert(*this);
    } catch (...) {
        if (d->state == DataSetState::Insert)
            Cancel();
        throw;
    }
}

void Table::Edit()
{
    d->requireActive();
    if (d->state != DataSetState::Browse)
        return;
    if (d->page.isEmpty())
        throw d->error(QStringLiteral("není žádný záznam k úpravě"));
    const qint64 id = d->page[d->pos].id();
    // Held, then read afresh: what the last holder wrote is read.
    const std::optional<Record> fresh = d->fetchById(id, true);
    if (!fresh) {
        d->release(id);
        throw d->error(QStringLiteral("záznam již neexistuje"));
    }
    d->page[d->pos] = *fresh;
    d->buffer = *fresh;
    d->modified = QVector<bool>(m_def->fields.size(), false);
    d->heldId = id;
    d->state = DataSetState::Edit;
    emit stateChanged();
    emit recordChanged();
}

void Table::Impl::requireEditing() const
{
    requireActive();
    if (state != DataSetState::Edit && state != DataSetState::Insert)
        throw error(QStringLiteral("záznam není ve stavu úprav"));
}

Record Table::Impl::writeBuffer()
{
    const Dialect &dialect = engine().dialect();
    const TableDef &def = t.Definition();
    Record written = buffer;
    const bool inserted = state == DataSetState::Insert;
    // Of a record in editing, the fields whose values come from the edit rather than from
    // the read.
    const QVector<bool> edited = modified;
    if (inserted) {
        if (statements.insert.isEmpty())
            statements.insert = insertStatement(layout, dialect, t.m_tableName, true);
        qint64 id = 0;
        try {
            id = engine().insertReturningId(statements.insert, insertValues(layout, buffer));
        } catch (const StoreError &e) {
            throw error(e.text());
        }
        written.setId(id);
        if (layout.idField() >= 0)
            written.m_values[layout.idField()] = id;
    } else {
        QVector<int> changed;
        QVariantList params;
        QByteArray mask;  // the changed fields, as the statement's key
        for (int f = 0; f < def.fields.size(); ++f)
            if (modified[f]) {
                changed.append(f);
                mask.append(reinterpret_cast<const char *>(&f), sizeof f);
                addStored(layout, f, buffer.value(f), params);
            }
        if (!changed.isEmpty()) {
            QString &sql = statements.updates[mask];
            if (sql.isEmpty())
                sql = updateStatement(layout, dialect, t.m_tableName, changed);
            params.append(heldId);
            if (execute(sql, params) == 0)
                throw error(QStringLiteral("záznam již neexistuje"));
        }
    }
    endEdit();
    // The row as a read would give it is the buffer in the form the store keeps (times to
    // the second, empty values as they read back); the fields the edit left alone are as
    // the read gave them.
    const QVector<int> &selectFields = layout.selectFields();
    const QVector<ColType> &selectTypes = layout.selectTypes();
    for (int c = 0; c < selectFields.size(); ++c) {
        const int f = selectFields[c];
        if (f < 0 || f == layout.idField() || !(inserted || edited[f]))
            continue;
        const QVariant stored = layout.toStorage(f, written.value(f));
        const QByteArray text = stored.isNull() ? QByteArray() : paramText(stored);
        decodeText(written.m_values[f], selectTypes[c], text.constData(), int(text.size()));
    }
    calc(written);
    return written;
}

void Table::Impl::standOn(Record written)
{
    setPage({std::move(written)}, 0, false, false);
    bof = eof = false;
    emit t.recordChanged();
}

void Table::Post()
{
    d->requireEditing();
    Record written = d->writeBuffer();
    emit stateChanged();
    // Outside a range the written record is current, and it is known: it is not read
    // again. Within a range it may lie outside it, and the read finds the record that
    // follows.
    if (!d->range.start.isEmpty() || !d->range.end.isEmpty()) {
        d->positionAt(KeySeek{d->keyOf(written), true}, 1);
        return;
    }
    d->standOn(std::move(written));
}

void Table::PostAndEdit()
{
    d->requireEditing();
    // A record in editing is held once more, so that the end of the write's hold leaves
    // it held; a new record is held from its write on.
    const qint64 held = d->state == DataSetState::Edit ? d->heldId : 0;
    if (held)
        d->holdOrFail(held);
    Record written;
    try {
        written = d->writeBuffer();
    } catch (...) {
        if (held)
            d->release(held);
        throw;
    }
    emit stateChanged();
    // The written record is current also where a range does not take it in.
    d->standOn(written);
    if (!held)
        d->holdOrFail(written.id());
    d->buffer = std::move(written);
    d->modified = QVector<bool>(m_def->fields.size(), false);
    d->heldId = d->buffer.id();
    d->state = DataSetState::Edit;
    emit stateChanged();
    emit recordChanged();
}

void Table::AppendRecords(const QVector<Record> &records)
{
    d->requireActive();
    if (d->state != DataSetState::Browse)
        throw d->error(QStringLiteral("záznamy nelze přidat během úprav záznamu"));
    for (const Record &r : records)
        if (&r.def() != m_def)
            throw d->error(QStringLiteral("záznam patří jiné tabulce"));
    if (records.isEmpty())
        return;
    const QString sql = insertStatement(d->layout, d->engine().dialect(), m_tableName, false);
    Transaction transaction(*m_db, Transaction::Caller::MayHaveOne);
    for (const Record &r : records)
        d->execute(sql, insertValues(d->layout, r));
    transaction.commit();
}

void Table::EmptyTable()
{
    d->requireActive();
    if (!m_db->InMemory())
        throw d->error(QStringLiteral("vyprázdnit najednou lze jen pracovní tabulku v paměti"));
    Cancel();
    d->execute(QStringLiteral("DELETE FROM %1").arg(quoted(m_tableName)), {});
    d->readEdge(true);
}

void Table::Cancel()
{
    if (d->state != DataSetState::Edit && d->state != DataSetState::Insert)
        return;
    d->endEdit();
    emit stateChanged();
    emit recordChanged();
}

void Table::Delete()
{
    d->requireActive();
    if (d->state == DataSetState::Insert) {
        Cancel();
        return;
    }
    if (d->page.isEmpty())
        throw d->error(QStringLiteral("není žádný záznam ke smazání"));
    const bool editing = d->state == DataSetState::Edit;
    const qint64 id = editing ? d->heldId : d->page[d->pos].id();
    if (!editing)
        d->holdOrFail(id);
    const KeySeek after{d->keyOf(d->page[d->pos]), false};
    qint64 removed = 0;
    try {
        removed = d->execute(QStringLiteral("DELETE FROM %1 WHERE %2 = %3")
                                 .arg(quoted(m_tableName), d->layout.idColumn(), d->engine().dialect().placeholder(1)),
                             {id});
    } catch (...) {
        if (!editing)
            d->release(id);
        throw;
    }
    if (editing) {
        d->endEdit();
        emit stateChanged();
    } else {
        d->release(id);
    }
    d->positionAt(after, 1);
    if (removed == 0)
        throw d->error(QStringLiteral("záznam již neexistuje"));
}

} // namespace store
