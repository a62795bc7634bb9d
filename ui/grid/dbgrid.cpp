#include "dbgrid.h"

#include "core/errors.h"
#include "core/prompter.h"
#include "store/value.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>

TDBGrid::TDBGrid(store::DataSource *source, const QStringList &fields, QWidget *parent)
    : QTableView(parent), m_model(new GridModel(source, fields, this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsMovable(false);
    sizeColumns();

    connect(m_model, &GridModel::currentRowChanged, this, &TDBGrid::followTable);
    connect(m_model, &GridModel::topShifted, this, &TDBGrid::keepTopRecord);
    connect(m_model, &GridModel::readFailed, this, &TDBGrid::showError, Qt::QueuedConnection);
    // Qt moves the current index by itself while the model resets or loses rows; only a
    // move the user makes may move the table.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { ++m_following; });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { --m_following; });
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this](const QModelIndex &, int first) {
        ++m_following;
        if (first == 0)
            m_scrollBefore = verticalScrollBar()->value();
    });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] { --m_following; });
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, [this](const QModelIndex &, int first) {
        if (first == 0)
            m_scrollBefore = verticalScrollBar()->value();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TDBGrid::userMoved);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TDBGrid::scrolled);
    followTable(m_model->currentRow(), true);
}

// Each column as wide as its field's display width in digits of the grid's font, and at
// least as wide as its title.
void TDBGrid::sizeColumns()
{
    const store::Table *t = m_model->table();
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const store::FieldDef &def = t->Definition().fields[t->Definition().fieldIndex(m_model->fieldNames()[c])];
        const int cells = store::displayWidth(def) * digit + margins;
        horizontalHeader()->resizeSection(c, std::max(cells, horizontalHeader()->sectionSizeHint(c)));
    }
}

void TDBGrid::resizeEvent(QResizeEvent *e)
{
    QTableView::resizeEvent(e);
    // The current row stays whole in sight as the grid takes its size (when the window
    // opens on the last row, too).
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void TDBGrid::followTable(int row, bool tableMoved)
{
    ++m_following;
    if (row < 0) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
    } else {
        const QModelIndex idx = m_model->index(row, std::max(currentIndex().column(), 0));
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (tableMoved)
            scrollTo(idx);
    }
    --m_following;
}

void TDBGrid::userMoved(const QModelIndex &current)
{
    if (m_following > 0 || !current.isValid())
        return;
    try {
        m_model->moveTableTo(current.row());
    } catch (const AppError &e) {
        showError(e.text());
        m_model->Sync();
    }
}

void TDBGrid::keepTopRecord(int rows)
{
    updateGeometries();
    verticalScrollBar()->setValue(m_scrollBefore + rows);
}

void TDBGrid::showError(const QString &text) { prompter().ShowMessage(text); }

void TDBGrid::scrolled(int value)
{
    if (value == verticalScrollBar()->minimum() && m_model->canFetchBackward())
        m_model->fetchBackward();
}

QModelIndex TDBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const int row = currentIndex().row();
    const int column = std::max(currentIndex().column(), 0);
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (ctrl && (action == MoveHome || action == MoveEnd)) {
        try {
            if (action == MoveHome)
                m_model->table()->First();
            else
                m_model->table()->Last();
            m_model->Sync();
        } catch (const AppError &e) {
            showError(e.text());
        }
        return m_model->index(m_model->currentRow(), column);
    }
    const int page = std::max(1, viewport()->height() / std::max(1, rowHeight(std::max(row, 0))));
    if ((action == MoveUp && row <= 0) || (action == MovePageUp && row < page)) {
        while (m_model->canFetchBackward() && currentIndex().row() < page)
            m_model->fetchBackward();
    } else if ((action == MoveDown || action == MovePageDown) && row + page >= m_model->rowCount()) {
        if (m_model->canFetchMore({}))
            m_model->fetchMore({});
    }
    return QTableView::moveCursor(action, modifiers);
}

void TDBGrid::keyPressEvent(QKeyEvent *e)
{
    const bool tab = e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab;
    if (tab && (e->modifiers() & Qt::ControlModifier)) {
        const bool back = e->key() == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier);
        QWidget::focusNextPrevChild(!back);   // past the grid's own move between cells
        return;
    }
    QTableView::keyPressEvent(e);
}
