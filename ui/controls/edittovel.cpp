#include "edittovel.h"

#include "separators.h"

#include <QApplication>

TEditTovel::TEditTovel(QWidget *parent)
    : TypedLineEdit(DateTimeForm::Complete, parent)
    , SideButtonControl(this)
{
}

bool TEditTovel::acceptTyped(QChar &c)
{
    if (convertsComma() && c == u',')
        c = u'.';
    if (EditType() == ttString)
        return true;
    static const QString kAccepted = QStringLiteral("\b+,-.0123456789");
    if (!kAccepted.contains(c) && c != kDateSeparator && c != kTimeSeparator) {
        QApplication::beep();
        return false;
    }
    if (c == u',' || c == u'.')
        c = decimalSeparator();
    return true;
}
