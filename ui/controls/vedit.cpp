#include "vedit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

TVEdit::TVEdit(QWidget *parent)
    : TypedLineEdit(DateTimeForm::Normalise, parent)
{
}

bool TVEdit::acceptTyped(QChar &c)
{
    if (convertsComma() && c == u',')
        c = u'.';
    return true;
}

QRect TVEdit::paintAlignedBackground(QPainter &painter)
{
    const QRect all = rect();
    painter.fillRect(all, palette().brush(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base));
    if (!hasFrame())
        return all;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(all.adjusted(0, 0, -1, -1));
    const int fontHeight = std::min(QFontMetrics(QApplication::font()).height(), fontMetrics().height());
    const int margin = fontHeight / 4;
    return all.adjusted(margin, 1, -margin, -1);
}
