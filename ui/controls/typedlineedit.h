#pragma once
// What TEditTovel and TVEdit share: a single-line edit with an edit mode that is checked
// whenever the text is assigned and when the control is left, Enter taken as Tab, the
// whole text selected on entry, OnTabExit and OnClickSpace, and the text drawn aligned
// while the control does not have the focus.

#include "editcheck.h"
#include "edittypes.h"
#include "focusvisit.h"
#include "keyrouting.h"

#include <QLineEdit>

class TypedLineEdit : public QLineEdit {
    Q_OBJECT
public:
    // The text as shown.
    QString Text() const { return text(); }
    // Assigns text through the check of the edit mode. On failure the message
    // " Chybný formát dat " has been shown and false is returned; the control then holds
    // the text as assigned (a refused date or time completion: the empty text).
    bool SetText(const QString &text);

    // The edit mode and its settings; they apply from the next assignment of the text.
    TEditType EditType() const { return m_mode.type; }
    void SetEditType(TEditType type) { m_mode.type = type; }
    int FloatPrecision() const { return m_mode.floatPrecision; }
    void SetFloatPrecision(int precision) { m_mode.floatPrecision = precision; }
    int FloatDigits() const { return m_mode.floatDigits; }
    void SetFloatDigits(int digits) { m_mode.floatDigits = digits; }
    QString BlankDate() const { return m_mode.blankDate; }
    void SetBlankDate(const QString &text) { m_mode.blankDate = text; }
    QString BlankTime() const { return m_mode.blankTime; }
    void SetBlankTime(const QString &text) { m_mode.blankTime = text; }

    // Alignment of the text while the control does not have the focus (with the focus
    // the text is edited left-aligned).
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    // In ttFloat, ttDate and ttTime a typed comma is taken as a full stop first.
    bool ConvertDecimalSymbol() const { return m_convertDecimalSymbol; }
    void SetConvertDecimalSymbol(bool on) { m_convertDecimalSymbol = on; }
    // Enter moves the focus like Tab (true by default).
    bool EnterIsTab() const { return m_enterIsTab; }
    void SetEnterIsTab(bool on) { m_enterIsTab = on; }
    // The character drawn for every character of the text; a null character shows the text.
    QChar PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(QChar c);

    // Raised after the control was left by Tab or Enter, with the shift keys then held.
    TTabExitEvent OnTabExit;
    // Raised when Space is pressed; the space is then not typed.
    TNotifyEvent OnClickSpace;
    // The window's ordinary exit event: raised after a successful check when the control is left.
    TNotifyEvent OnExit;

protected:
    TypedLineEdit(DateTimeForm form, QWidget *parent);

    // Decides on a typed character: false drops it, and c may be replaced by what is typed.
    virtual bool acceptTyped(QChar &c) = 0;
    // Paints the background of the aligned text drawn while unfocused; returns the text's rect.
    virtual QRect paintAlignedBackground(QPainter &painter);
    // True when ConvertDecimalSymbol applies to the current edit mode.
    bool convertsComma() const;

    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void leave();

    EditModeSettings m_mode;
    DateTimeForm m_form;
    TAlignment m_alignment = taLeftJustify;
    bool m_convertDecimalSymbol = false;
    bool m_enterIsTab = true;
    QChar m_passwordChar;
    QStyle *m_passwordStyle = nullptr;   // owned: draws m_passwordChar
    TabExitState m_tab;
    FocusVisit m_visit;
};
