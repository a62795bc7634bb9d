#pragma once
// The date inputs: TZandorDateEdit (unbound) and TZandorDBDateEdit (bound to a date field).
// The date is typed in the short date format or chosen in the drop-down calendar; Enter
// moves on like Tab while the calendar is closed, and Tab always leaves the control
// (it does not step through the day, month and year). A separator typed after a part
// (5.12.2026) moves on to the next part and never out of the control; digits that fill a
// part move on by themselves (05122026). Entered by the keyboard, the control starts at
// the day, so that a whole date can be typed from its beginning.

#include "edittypes.h"
#include "fieldlink.h"
#include "focusvisit.h"
#include "keyrouting.h"

#include <QDateEdit>

class ZandorDateEditBase : public QDateEdit {
    Q_OBJECT
public:
    // The date shown; a null date while the control is blank.
    QDate Date() const;
    // Shows date; a null date blanks the control.
    void SetDate(const QDate &date);
    // Enter moves the focus like Tab while the calendar is closed (true by default).
    bool EnterIsTab() const { return m_enterIsTab; }
    void SetEnterIsTab(bool on) { m_enterIsTab = on; }

    // Raised after the control was left by Tab or Enter, with the shift keys then held.
    TTabExitEvent OnTabExit;
    // Raised when Space is pressed.
    TNotifyEvent OnClickSpace;
    // The window's ordinary exit event.
    TNotifyEvent OnExit;

    // Takes the typed date through the checks of leaving and, in the bound control,
    // writes it to the field while the control keeps the focus (see
    // TDBEditTovel::CommitText). False when the date was refused.
    bool CommitDate();

protected:
    explicit ZandorDateEditBase(QWidget *parent);
    // Runs when the control is left, after the toolkit has checked the typed date;
    // false keeps the focus in the control.
    virtual bool commitOnLeave() { return true; }

    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    bool focusNextPrevChild(bool next) override;

private:
    bool calendarShown() const;
    // A typed separator: on to the next part when the current one was typed into, else
    // nothing (the separator after a part that digits filled, or after the last part).
    void typeSeparator();

    bool m_enterIsTab = true;
    bool m_partTyped = false;   // a key changed the current part without moving on
    TabExitState m_tab;
    FocusVisit m_visit;
};

class TZandorDateEdit : public ZandorDateEditBase {
    Q_OBJECT
public:
    // A blank date input with EnterIsTab on.
    explicit TZandorDateEdit(QWidget *parent = nullptr);
};

class TZandorDBDateEdit : public ZandorDateEditBase {
    Q_OBJECT
public:
    // An unbound date input with EnterIsTab on.
    explicit TZandorDBDateEdit(QWidget *parent = nullptr);

    // The binding, as for TDBEditTovel: the control shows the date field, follows the
    // record and the table's state, and can be changed only while the table edits or
    // inserts a row. The date is written to the field when the control is left.
    store::DataSource *DataSource() const { return m_link->DataSource(); }
    void SetDataSource(store::DataSource *source) { m_link->SetDataSource(source); }
    QString DataField() const { return m_link->DataField(); }
    void SetDataField(const QString &name) { m_link->SetDataField(name); }
    store::Field *Field() const { return m_link->field(); }

protected:
    bool commitOnLeave() override;

private:
    void showField();

    FieldLink *m_link;
};
