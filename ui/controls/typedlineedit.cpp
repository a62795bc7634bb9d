#include "typedlineedit.h"

#include "core/prompter.h"
#include "referenceclock.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionFrame>

namespace {

// Draws a chosen character in place of every character of a password.
class PasswordCharStyle : public QProxyStyle {
public:
    explicit PasswordCharStyle(QChar c) : m_char(c) {}
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return m_char.unicode();
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    QChar m_char;
};

Qt::Alignment qtAlignment(TAlignment a)
{
    switch (a) {
    case taRightJustify:
        return Qt::AlignRight;
    case taCenter:
        return Qt::AlignHCenter;
    case taLeftJustify:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace

TypedLineEdit::TypedLineEdit(DateTimeForm form, QWidget *parent)
    : QLineEdit(parent)
    , m_form(form)
{
}

bool TypedLineEdit::SetText(const QString &text)
{
    const EditCheckResult checked = CheckEditText(text, m_mode, m_form, ReferenceNow());
    setText(checked.text);
    if (!checked.ok)
        prompter().ShowMessage(kBadDataFormat);
    return checked.ok;
}

void TypedLineEdit::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    update();
}

void TypedLineEdit::SetPasswordChar(QChar c)
{
    m_passwordChar = c;
    QStyle *previous = m_passwordStyle;
    m_passwordStyle = nullptr;
    if (!c.isNull()) {
        m_passwordStyle = new PasswordCharStyle(c);
        m_passwordStyle->setParent(this);
    }
    setStyle(m_passwordStyle);   // nullptr: the application's style
    delete previous;
    setEchoMode(c.isNull() ? Normal : Password);
}

bool TypedLineEdit::convertsComma() const
{
    return m_convertDecimalSymbol && (m_mode.type == ttFloat || m_mode.type == ttDate || m_mode.type == ttTime);
}

bool TypedLineEdit::event(QEvent *e)
{
    if (e->type() == QEvent::KeyPress)
        m_tab.noteKeyPress(static_cast<QKeyEvent *>(e));
    return QLineEdit::event(e);
}

void TypedLineEdit::keyPressEvent(QKeyEvent *e)
{
    if (IsEnterKey(e) && m_enterIsTab) {
        SendTabFor(this, e);
        return;
    }
    if (e->key() == Qt::Key_Space && OnClickSpace) {
        RunHandler([this] { OnClickSpace(this); });
        return;
    }
    const std::optional<QChar> typed = TypedCharacter(e);
    if (!typed) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    QChar c = *typed;
    if (!acceptTyped(c))
        return;
    if (c == *typed) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    QKeyEvent replaced = KeyTyping(e, c);
    QLineEdit::keyPressEvent(&replaced);
}

void TypedLineEdit::keyReleaseEvent(QKeyEvent *e)
{
    if (IsEnterKey(e) && m_enterIsTab)
        return;
    QLineEdit::keyReleaseEvent(e);
}

void TypedLineEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    if (m_visit.entered(e))
        selectAll();
}

void TypedLineEdit::focusOutEvent(QFocusEvent *e)
{
    const bool leaving = m_visit.left(e);
    QLineEdit::focusOutEvent(e);
    if (leaving)
        leave();
}

void TypedLineEdit::leave()
{
    const bool ok = SetText(text());
    const bool byTab = m_tab.flag();
    m_tab.clear();
    if (!ok) {
        ReturnFocus(this);
        return;
    }
    update();
    if (OnExit)
        RunHandler([this] { OnExit(this); });
    if (byTab && OnTabExit)
        RunHandler([this] { OnTabExit(this, m_tab.shift()); });
}

void TypedLineEdit::paintEvent(QPaintEvent *e)
{
    if (hasFocus() || m_alignment == taLeftJustify) {
        QLineEdit::paintEvent(e);
        return;
    }
    QPainter painter(this);
    const QRect textRect = paintAlignedBackground(painter);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(textRect, qtAlignment(m_alignment) | Qt::AlignVCenter, displayText());
}

QRect TypedLineEdit::paintAlignedBackground(QPainter &painter)
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    const int margin = 2;   // QLineEdit's own distance of the text from its contents' edge
    return style()->subElementRect(QStyle::SE_LineEditContents, &option, this)
        .marginsRemoved(textMargins())
        .adjusted(margin, 0, -margin, 0);
}
