#include "sidebutton.h"

#include "focusvisit.h"

#include <QEvent>
#include <QIcon>
#include <QLineEdit>
#include <QStyle>
#include <algorithm>

SideButton::SideButton(QLineEdit *host)
    : QToolButton(host)
    , m_host(host)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setText(QStringLiteral("…"));
    updateIcon();
    hide();
    host->installEventFilter(this);
    connect(this, &QToolButton::clicked, this, &SideButton::clickedByUser);
    relayout();
}

void SideButton::SetButtonVisible(bool on)
{
    m_visible = on;
    relayout();
}

int SideButton::ButtonWidth() const { return std::max(kMinWidth, std::min(m_width, m_host->width())); }

void SideButton::SetButtonWidth(int width)
{
    m_width = std::max(kMinWidth, width);
    relayout();
}

void SideButton::SetGlyph(const QPixmap &glyph)
{
    m_glyph = glyph;
    updateIcon();
}

void SideButton::SetNumGlyphs(int n)
{
    m_numGlyphs = std::max(1, n);
    updateIcon();
}

bool SideButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_host && (event->type() == QEvent::Resize || event->type() == QEvent::StyleChange))
        relayout();
    return QToolButton::eventFilter(watched, event);
}

void SideButton::relayout()
{
    const int frame = m_host->hasFrame() ? m_host->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_host)
                                         : 0;
    const int width = m_visible ? ButtonWidth() : 0;
    setGeometry(m_host->width() - frame - width, frame, width, m_host->height() - 2 * frame);
    setVisible(m_visible);
    m_host->setTextMargins(0, 0, width, 0);
}

void SideButton::updateIcon()
{
    if (m_glyph.isNull()) {
        setIcon(QIcon());
        setToolButtonStyle(Qt::ToolButtonTextOnly);
        return;
    }
    const int w = m_glyph.width() / m_numGlyphs;
    QIcon icon(m_glyph.copy(0, 0, w, m_glyph.height()));
    if (m_numGlyphs >= 2)
        icon.addPixmap(m_glyph.copy(w, 0, w, m_glyph.height()), QIcon::Disabled);
    setIcon(icon);
    setIconSize(QSize(w, m_glyph.height()));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void SideButton::clickedByUser()
{
    // Pressing the button has given its edit the focus (the toolkit focuses the nearest
    // parent that takes clicks); an edit whose neighbour refused to be left has none.
    if (m_host->hasFocus() && onClick)
        RunHandler(onClick);
}

SideButtonControl::SideButtonControl(QLineEdit *host)
    : m_button(new SideButton(host))
{
    m_button->onClick = [this, host] {
        if (OnClickButton)
            OnClickButton(host);
    };
}
