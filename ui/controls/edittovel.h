#pragma once
// TEditTovel: the unbound input of the windows. A single-line edit with a typed edit mode
// (only digits and separators can be typed in the numeric, date and time modes; a
// shortened date or time is completed against today) and an optional side button.

#include "sidebutton.h"
#include "typedlineedit.h"

class TEditTovel : public TypedLineEdit {
    Q_OBJECT
public:
    // An empty plain-text input (ttString) with EnterIsTab on and the side button hidden.
    explicit TEditTovel(QWidget *parent = nullptr);

    // The side button at the right edge; see SideButton for the limits of its width.
    bool ButtonVisible() const { return m_button->ButtonVisible(); }
    void SetButtonVisible(bool on) { m_button->SetButtonVisible(on); }
    int ButtonWidth() const { return m_button->ButtonWidth(); }
    void SetButtonWidth(int width) { m_button->SetButtonWidth(width); }
    QPixmap Glyph() const { return m_button->Glyph(); }
    void SetGlyph(const QPixmap &glyph) { m_button->SetGlyph(glyph); }
    int NumGlyphs() const { return m_button->NumGlyphs(); }
    void SetNumGlyphs(int n) { m_button->SetNumGlyphs(n); }
    // The button itself, for the window's layout and for tests.
    SideButton *Button() const { return m_button; }

    // Raised when the side button is clicked (the control has the focus by then).
    TNotifyEvent OnClickButton;

protected:
    bool acceptTyped(QChar &c) override;

private:
    SideButton *m_button;
};
