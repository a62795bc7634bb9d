#pragma once
// The data-aware grid: a read-only table view over a GridModel in which one whole row is
// selected and the selection is the table's current record. Selecting a row (click,
// arrow keys, Page keys) moves the table to that record; moving the table elsewhere
// (navigator, search, a command) selects its row and scrolls to it. Tab and Backtab move
// between columns, unless the window turns that off (setTabKeyNavigation(false)); then
// they leave the grid as they leave any other control. Ctrl+Tab and Ctrl+Shift+Tab always
// leave it. Each column is as wide as its field's display width, and at least as
// wide as its title. Scrolling past either end of the model's window reads further pages;
// Ctrl+Home and Ctrl+End go to the table's first and last record. A failed read is shown
// through the prompter.

#include "gridmodel.h"

#include <QTableView>

class TDBGrid : public QTableView {
    Q_OBJECT
public:
    // Requires: as GridModel (StoreError for an unknown field). The grid owns its model.
    TDBGrid(store::DataSource *source, const QStringList &fields, QWidget *parent = nullptr);

    GridModel *gridModel() const { return m_model; }

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void sizeColumns();
    void followTable(int row, bool tableMoved);
    void userMoved(const QModelIndex &current);
    void keepTopRecord(int rows);
    void showError(const QString &text);
    void scrolled(int value);

    GridModel *m_model;
    int m_following = 0;     // > 0 while the grid itself changes the current row
    int m_scrollBefore = 0;  // the scroll position before rows changed at the top
};
