#pragma once
// The window of a search dialog (TSorHle, TDodHle, TPodkladyHle), "Hledej položku
// databáze": the radio buttons of its options, the search field "Hledej tento text",
// "&Hledej" and "Storno", without title-bar buttons. Keys and clicks go to its commands;
// the window obeys their requests to move the focus and to close. The field of a dialog
// with a numeric option is a TEditTovel (decimal comma or full stop, no fixed decimals),
// otherwise a TVEdit; it takes a number while the numeric option is selected.

#include "search_dialogs.h"

#include <QDialog>
#include <QVector>

class QPushButton;
class QRadioButton;
class TypedLineEdit;

class SearchDialogForm : public QDialog {
    Q_OBJECT
public:
    // Requires: the commands outlive the window. owner: the window that opens it.
    SearchDialogForm(SearchDialog &commands, QWidget *owner);

    // The window's controls (for its tests): a radio button's position, or a Control.
    QWidget *control(int c) const;

protected:
    void showEvent(QShowEvent *e) override;
    void reject() override;

private:
    bool keyDown(QKeyEvent *e);
    void showState();
    void place();

    SearchDialog &m_commands;
    QVector<QRadioButton *> m_radios;
    TypedLineEdit *m_field;
    QPushButton *m_hledej, *m_storno;
};

// Runs the search dialog modally over owner (placed as its commands say) and returns its
// result: mrOk after a search, mrCancel otherwise.
int RunSearchDialog(SearchDialog &commands, QWidget *owner);

// Runs a window of the pickers modally and returns mrOk when it closed with OK, mrCancel
// when it closed in any other way. Afterwards the keyboard goes back to the window that
// opened it, also where no window manager hands the activation back.
int RunModal(QDialog &dialog);
