#include "gridmodel.h"

#include "core/errors.h"
#include "store/database.h"
#include "store/row_recycling.h"
#include "store/value.h"

#include <QMetaObject>
#include <QScopedValueRollback>

using store::Bookmark;
using store::DataSetState;
using store::Record;

GridModel::GridModel(store::DataSource *source, const QStringList &fields, QObject *parent)
    : QAbstractTableModel(parent), m_source(source), m_fieldNames(fields)
{
    store::Table *t = table();
    if (!t)
        throw StoreError(QStringLiteral("Mřížka nemá tabulku"));
    for (const QString &name : fields) {
        const int f = t->Definition().fieldIndex(name);
        if (f < 0)
            throw StoreError(QStringLiteral("Tabulka %1: pole %2 neexistuje").arg(t->TableName(), name));
        m_fields.append(f);
    }
    connect(source, &store::DataSource::dataChanged, this, &GridModel::scheduleSync);
    connect(source, &store::DataSource::stateChanged, this, &GridModel::scheduleSync);
    connect(source, &store::DataSource::fieldChanged, this, [this] {
        const int row = rowOf(m_currentId);
        if (row >= 0)
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    Sync();
}

store::Table *GridModel::table() const { return m_source->DataSet(); }

int GridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int GridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_fields.size()); }

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int field = m_fields[index.column()];
    const store::FieldDef &def = table()->Definition().fields[field];
    switch (role) {
    case Qt::DisplayRole: {
        const Record &stored = m_rows[index.row()];
        const bool editing = table()->State() == DataSetState::Edit && stored.id() == m_currentId;
        const Record &shown = editing ? table()->CurrentRecord() : stored;
        return store::displayText(def, shown.value(field));
    }
    case Qt::TextAlignmentRole:
        switch (def.type) {
        case store::FieldType::Float:
        case store::FieldType::Integer:
        case store::FieldType::SmallInt:
        case store::FieldType::AutoInc:
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        }
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_fields.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const store::FieldDef &def = table()->Definition().fields[m_fields[section]];
    return def.label.isEmpty() ? def.name : def.label;
}

quint64 GridModel::writeGeneration() const
{
    store::Database *db = table()->GetDatabase();
    return db ? db->WriteGeneration() : 0;
}

bool GridModel::inStep() const
{
    const store::Table *t = table();
    return m_active && t->Active() && t->IndexName() == m_index && writeGeneration() == m_generation;
}

int GridModel::rowOf(qint64 id) const
{
    if (id == 0)
        return -1;
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].id() == id)
            return i;
    return -1;
}

void GridModel::scheduleSync()
{
    if (m_syncPending)
        return;
    m_syncPending = true;
    QMetaObject::invokeMethod(this, &GridModel::Sync, Qt::QueuedConnection);
}

QVector<Record> GridModel::read(const Bookmark &from, bool forward)
{
    QVector<Record> rows = table()->ReadRows(from, kPageRows, forward);
    m_rowsRead += rows.size();
    return rows;
}

void GridModel::clear()
{
    const QScopedValueRollback changing(m_changing, true);
    beginResetModel();
    m_rows.clear();
    m_atStart = m_atEnd = true;
    m_active = false;
    endResetModel();
}

void GridModel::Sync()
{
    m_syncPending = false;
    store::Table *t = table();
    if (!t->Active()) {
        if (m_active || !m_rows.isEmpty())
            clear();
        m_currentId = 0;
        emit currentRowChanged(-1, true);
        return;
    }
    const DataSetState state = t->State();
    m_currentId = t->GetBookmark().id;
    // While a record is edited or inserted the window stays as it is; it is read again
    // once the edit is posted or cancelled (the write, or the order, tells).
    const bool editing = state == DataSetState::Edit || state == DataSetState::Insert;
    if (!editing && (!inStep() || rowOf(m_currentId) < 0)) {
        try {
            reanchor();
        } catch (const AppError &e) {
            clear();
            emit currentRowChanged(-1, true);
            emit readFailed(e.text());
            return;
        }
    } else if (!editing) {
        // The current record may have been reread (Post, Refresh): show it as it is now.
        const int row = rowOf(m_currentId);
        m_rows[row] = t->CurrentRecord();
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
    emit currentRowChanged(rowOf(m_currentId), true);
}

void GridModel::reanchor()
{
    const QScopedValueRollback changing(m_changing, true);
    store::Table *t = table();
    const Bookmark current = t->GetBookmark();
    QVector<Record> rows;
    bool atStart = true;
    bool atEnd = true;
    const quint64 generation = writeGeneration();
    if (current.isValid()) {
        rows = read(current, false);
        atStart = rows.size() < kPageRows;
        rows.append(t->CurrentRecord());
        const QVector<Record> after = read(current, true);
        atEnd = after.size() < kPageRows;
        rows.append(after);
    }
    beginResetModel();
    m_rows = std::move(rows);
    m_atStart = atStart;
    m_atEnd = atEnd;
    m_active = true;
    m_index = t->IndexName();
    m_generation = generation;
    endResetModel();
}

bool GridModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_atEnd && !m_changing && !m_rows.isEmpty() && inStep();
}

bool GridModel::canFetchBackward() const { return !m_atStart && !m_changing && !m_rows.isEmpty() && inStep(); }

void GridModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    const QScopedValueRollback fetching(m_changing, true);
    QVector<Record> rows;
    try {
        rows = read({m_rows.last().id()}, true);
    } catch (const AppError &e) {
        m_atEnd = true;
        emit readFailed(e.text());
        return;
    }
    m_atEnd = rows.size() < kPageRows;
    const bool hadCurrent = currentRow() >= 0;
    if (!rows.isEmpty()) {
        const int first = int(m_rows.size());
        beginInsertRows({}, first, first + int(rows.size()) - 1);
        m_rows.append(std::move(rows));
        endInsertRows();
    }
    trim(true);
    if (hadCurrent != (currentRow() >= 0))
        emit currentRowChanged(currentRow(), false);
}

int GridModel::fetchBackward()
{
    if (!canFetchBackward())
        return 0;
    const QScopedValueRollback fetching(m_changing, true);
    QVector<Record> rows;
    try {
        rows = read({m_rows.first().id()}, false);
    } catch (const AppError &e) {
        m_atStart = true;
        emit readFailed(e.text());
        return 0;
    }
    m_atStart = rows.size() < kPageRows;
    const bool hadCurrent = currentRow() >= 0;
    const int n = int(rows.size());
    if (n > 0) {
        beginInsertRows({}, 0, n - 1);
        // Qt keeps room before the first row: prepending moves no row already held.
        for (int i = n - 1; i >= 0; --i)
            m_rows.prepend(std::move(rows[i]));
        endInsertRows();
        emit topShifted(n);
    }
    trim(false);
    if (hadCurrent != (currentRow() >= 0))
        emit currentRowChanged(currentRow(), false);
    return n;
}

// Drops rows beyond kMaxRows at the start (atStart) or the end of the window; the table
// reads its next rows into their records.
void GridModel::trim(bool atStart)
{
    const int drop = int(m_rows.size()) - kMaxRows;
    if (drop <= 0)
        return;
    const int first = atStart ? 0 : int(m_rows.size()) - drop;
    QVector<Record> dropped;
    dropped.reserve(drop);
    beginRemoveRows({}, first, first + drop - 1);
    for (int i = first; i < first + drop; ++i)
        dropped.append(std::move(m_rows[i]));
    m_rows.remove(first, drop);
    (atStart ? m_atStart : m_atEnd) = false;
    endRemoveRows();
    if (atStart)
        emit topShifted(-drop);
    store::RecycleRows(*table(), std::move(dropped));
}

int GridModel::currentRow() const { return rowOf(m_currentId); }

void GridModel::moveTableTo(int row)
{
    Q_ASSERT(row >= 0 && row < m_rows.size());
    const qint64 id = m_rows[row].id();
    if (id == m_currentId && table()->GetBookmark().id == id)
        return;
    table()->GotoBookmark({id});
    m_currentId = id;
}
