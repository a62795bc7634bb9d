#pragma once
// The window of TSesPrehDodOdDo: the two dates, the order, the workbook check box,
// "Storno" and "Start". Keys and clicks go to its commands; the window obeys their
// requests to move the focus and to close, and leaves its choices in the commands.

#include "ses_preh_dod_od_do.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class TZandorDateEdit;

class SesPrehDodOdDoForm : public QDialog {
    Q_OBJECT
public:
    // The commands outlive the window; the window starts from their dates and choices.
    explicit SesPrehDodOdDoForm(TSesPrehDodOdDo &commands, QWidget *parent = nullptr);

    // The window's controls (for its tests); Trizeni is the group of the two choices.
    QWidget *control(TSesPrehDodOdDo::Control c) const;
    // The choice of the order: 0 by receipt number, 1 by supplier.
    QRadioButton *choice(int index) const;

protected:
    void showEvent(QShowEvent *e) override;
    void done(int result) override;

private:
    // The commands' members follow the controls.
    void takeChoices();
    int focusedControl() const;

    TSesPrehDodOdDo &m_commands;
    TZandorDateEdit *m_from, *m_to;
    QGroupBox *m_order;
    QRadioButton *m_byNumber, *m_bySupplier;
    QCheckBox *m_excel;
    QPushButton *m_storno, *m_start;
};
