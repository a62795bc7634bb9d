#pragma once
// The record navigator: buttons that move a data source's table to its first, prior,
// next and last record. First and Prior are disabled while no record precedes the current
// one, Next and Last while none follows it, all four while the table is closed or empty.
// The state follows every move of the table (a search, a change of index, a return to a
// remembered record), once control is back in the event loop. The buttons take no focus,
// so the window's grid keeps it. A failed move is shown through the prompter.

#include "store/table.h"

#include <QWidget>
#include <utility>

class QToolButton;

class TDBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { nbFirst, nbPrior, nbNext, nbLast };

    // Requires: source outlives the navigator.
    explicit TDBNavigator(store::DataSource *source, QWidget *parent = nullptr);

    QToolButton *button(Button b) const { return m_buttons[b]; }
    // Runs the move of button b on the table; an error is shown, the table stays.
    void BtnClick(Button b);

private:
    void scheduleUpdate();
    void updateButtons();
    static std::pair<bool, bool> position(store::Table &t);

    store::DataSource *m_source;
    QToolButton *m_buttons[4];
    bool m_updatePending = false;
};
