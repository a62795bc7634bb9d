#pragma once
// The record navigator: buttons that move a data source's table to its first, prior,
// next and last record. First and Prior are disabled at the beginning of the table,
// Next and Last at its end, all four while it is closed. The buttons take no focus, so
// the window's grid keeps it. A failed move is shown through the prompter.

#include "store/table.h"

#include <QWidget>

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
    void updateButtons();

    store::DataSource *m_source;
    QToolButton *m_buttons[4];
};
