#include "pendinginput.h"

#include "dbedittovel.h"
#include "zandordateedit.h"

#include <QApplication>

bool CommitFocusedInput()
{
    QWidget *focus = QApplication::focusWidget();
    if (auto *edit = qobject_cast<TDBEditTovel *>(focus))
        return edit->CommitText();
    if (auto *date = qobject_cast<TZandorDBDateEdit *>(focus))
        return date->CommitDate();
    return true;
}
