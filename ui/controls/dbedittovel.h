#pragma once
// TDBEditTovel: the bound input of the editors. A single-line edit that shows one field of
// the table behind a data source and writes the text back when it is left. Before writing
// it completes a shortened date or time (tetDate, tetTime) and asks the window through
// OnValid whether the text may be written; a text the window or the field refuses keeps
// the focus in the control.

#include "edittypes.h"
#include "fieldlink.h"
#include "focusvisit.h"
#include "sidebutton.h"

#include <QColor>
#include <QDateTime>
#include <QLineEdit>

class TDBEditTovel : public QLineEdit, public SideButtonControl {
    Q_OBJECT
public:
    // An unbound control with EnterIsTab off, ColorDisable its own background colour and
    // its reference moment (tdtUser) the moment of its creation.
    explicit TDBEditTovel(QWidget *parent = nullptr);

    // The binding: the data source (not owned) and the name of the field. The control
    // shows the field and follows every move of the record and change of the table's state;
    // it can be typed into only while the table edits or inserts a row.
    store::DataSource *DataSource() const { return m_link->DataSource(); }
    void SetDataSource(store::DataSource *source) { m_link->SetDataSource(source); }
    QString DataField() const { return m_link->DataField(); }
    void SetDataField(const QString &name) { m_link->SetDataField(name); }
    // The bound field, or nullptr while the control is not bound to an open table.
    store::Field *Field() const { return m_link->field(); }

    // The text as shown. SetText changes only the shown text; it reaches the field when the
    // control is left (and passes OnValid first, as typed text does).
    QString Text() const { return text(); }
    void SetText(const QString &text);

    // Background while the control cannot take the focus (disabled itself or through a parent).
    QColor ColorDisable() const { return m_colorDisable; }
    void SetColorDisable(const QColor &color);
    // Enter moves the focus like Tab (false by default; the windows turn it on).
    bool EnterIsTab() const { return m_enterIsTab; }
    void SetEnterIsTab(bool on) { m_enterIsTab = on; }
    // The edit mode: tetDate and tetTime complete a shortened text when the control is
    // left; tetFloat turns a typed comma or full stop into the decimal separator.
    TTvEditType EditType() const { return m_editType; }
    void SetEditType(TTvEditType type) { m_editType = type; }
    // The reference moment of the completion: now, or the control's creation.
    TTvDateTimeType DateTimeType() const { return m_dateTimeType; }
    void SetDateTimeType(TTvDateTimeType type) { m_dateTimeType = type; }
    // When leaving the control validates (twvAlways by default).
    TWhenValid WhenValid() const { return m_whenValid; }
    void SetWhenValid(TWhenValid when) { m_whenValid = when; }
    // Shown when the validation fails and no OnError is set; nothing is shown when empty.
    QString ErrorString() const { return m_errorString; }
    void SetErrorString(const QString &text) { m_errorString = text; }

    // The window's validation, raised when the control is left, before anything is written:
    // the field still holds its previous value, the new value is in `text`.
    // QApplication::focusWidget() is then the control that receives the focus.
    TTvValidEvent OnValid;
    // Raised instead of the message when the validation fails.
    TTvErrorEvent OnError;
    // The window's ordinary exit event: raised after the text was written to the field.
    TNotifyEvent OnExit;

    // Takes a typed text through the checks of leaving (completion, OnValid, the field's
    // conversion) and writes it to the field while the control keeps the focus: a window
    // command that writes the record calls it first, so that the typed value is not lost
    // when the command opens another window. True when nothing was typed or the text was
    // written; false when it was refused (reported as on leaving; the command stops).
    bool CommitText();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void showField();
    void leave();
    bool validate();
    bool shouldValidate() const;
    bool writeToField();
    bool textDiffersFromField() const;
    bool takesDecimals() const;

    FieldLink *m_link;
    FocusVisit m_visit;
    bool m_showsField = true;   // the text is the field's value, not typed or set
    QColor m_colorDisable;
    bool m_enterIsTab = false;
    TTvEditType m_editType = tetStandard;
    TTvDateTimeType m_dateTimeType = tdtNow;
    TWhenValid m_whenValid = twvAlways;
    QString m_errorString;
    QDateTime m_created;
};
