#pragma once
// The small button at the right edge of TEditTovel and TDBEditTovel: inside the border,
// as high as the control, ButtonWidth wide while visible. The text area of its edit is
// narrowed by the button's width, so the text never runs under it. It takes no focus.

#include "edittypes.h"

#include <QPixmap>
#include <QToolButton>
#include <functional>

class QLineEdit;

class SideButton : public QToolButton {
    Q_OBJECT
public:
    static constexpr int kMinWidth = 15;

    // Creates the hidden button inside host (a child of it) and follows host's size.
    explicit SideButton(QLineEdit *host);

    // Visibility of the button; the text area of the host is narrowed while it shows.
    bool ButtonVisible() const { return m_visible; }
    void SetButtonVisible(bool on);
    // Width while visible: never less than 15 pixels, never more than the host's width.
    int ButtonWidth() const;
    void SetButtonWidth(int width);
    // The picture strip: NumGlyphs images side by side (normal, disabled, …). Only the
    // first two are shown; with no picture the button shows an ellipsis.
    QPixmap Glyph() const { return m_glyph; }
    void SetGlyph(const QPixmap &glyph);
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int n);

    // Runs on a click while the host has the focus. Pressing the button gives the host the
    // focus first; when its neighbour refuses to be left, the click does nothing.
    std::function<void()> onClick;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void relayout();
    void updateIcon();
    void clickedByUser();

    QLineEdit *m_host;
    bool m_visible = false;
    int m_width = kMinWidth;
    QPixmap m_glyph;
    int m_numGlyphs = 1;
};

// The side button's properties as a control's own, for the controls that have one: the
// button is created hidden inside the control, and a click on it raises OnClickButton
// with the control as sender.
class SideButtonControl {
public:
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
    // Requires: host is the control deriving from this class, its QLineEdit already built.
    explicit SideButtonControl(QLineEdit *host);
    ~SideButtonControl() = default;

private:
    SideButton *m_button;
};
