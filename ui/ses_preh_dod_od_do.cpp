#include "ses_preh_dod_od_do.h"

QString TSesPrehDodOdDo::Caption()
{
    return QStringLiteral("Sestava přehledu dokladů");
}

void TSesPrehDodOdDo::Button1Click()
{
    if (ExcelExport)
        *ExcelExport = CheckBox1Checked;
    CloseWith(mrOk);
}

void TSesPrehDodOdDo::Button2Click()
{
    CloseWith(mrCancel);
}

bool TSesPrehDodOdDo::FormKeyDown(int key, Qt::KeyboardModifiers, int focused)
{
    switch (key) {
    case Qt::Key_Escape:
        Button2Click();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        FocusControl(focused == CheckBox1 ? Button2 : CheckBox1);
        return true;
    default:
        return false;
    }
}
