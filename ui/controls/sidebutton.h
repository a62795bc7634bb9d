#pragma once
// The small button at the right edge of TEditTovel and TDBEditTovel: inside the border,
// as high as the control, ButtonWidth wide while visible. The text area of its edit is
// narrowed by the button's width, so the text never runs under it. It takes no focus.

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
