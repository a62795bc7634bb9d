#include "form_podklady_import.h"

QString TFormPodkladyImport::Caption()
{
    return QStringLiteral("Import dat z modulu \"Kalkulace cen\"");
}

void TFormPodkladyImport::Button1Click()
{
    CloseWith(mrCancel);
}

void TFormPodkladyImport::Button2Click()
{
    CloseWith(mrOk);
}

bool TFormPodkladyImport::FormKeyDown(int key, Qt::KeyboardModifiers)
{
    if (key != Qt::Key_Escape)
        return false;
    Button1Click();
    return true;
}
