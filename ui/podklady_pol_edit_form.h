#pragma once
// The window of the item editor, "Podklady editace": the five inputs bound to the item
// row of ffPodklPol, the derived values and totals shown as they change, "Storno" and
// "Zapiš". Keys and clicks go to its TPodkladyPolEdit; the window obeys its requests to
// move the focus and to close.

#include "podklady_pol_edit.h"

#include <QDialog>

class QPushButton;
class TDBEditTovel;

class PodkladyPolEditDialog : public QDialog {
    Q_OBJECT
public:
    // Requires: Data, with ffPodklPol appending or editing the item and ffPodklHlav on
    // its header. The commands outlive the window.
    PodkladyPolEditDialog(TPodkladyPolEdit &commands, QWidget *parent = nullptr);

    // The window's controls (for its tests).
    QWidget *control(TPodkladyPolEdit::Control c) const;

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void reject() override;

private:
    bool keyDown(QKeyEvent *e);

    TPodkladyPolEdit &m_commands;
    TDBEditTovel *m_edits[5];
    QPushButton *m_storno, *m_zapis;
};
