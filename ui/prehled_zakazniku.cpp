#include "prehled_zakazniku.h"

#include "core/config.h"
#include "core/prompter.h"
#include "core/quietly.h"
#include "search_dialogs.h"
#include "store/tdata.h"
#include "zakaznici_edit.h"

QStringList TPrehledZakazniku::GridColumns()
{
    return {
        Data->ffDodavateleDOD_ICO.FieldName(), Data->ffDodavateleDOD_DIC.FieldName(),
        Data->ffDodavateleDOD_FIR.FieldName(), Data->ffDodavateleDOD_JME.FieldName(),
        Data->ffDodavateleDOD_TEL.FieldName(), Data->ffDodavateleDOD_NAC.FieldName(),
        Data->ffDodavateleDOD_ULI.FieldName(), Data->ffDodavateleDOD_MES.FieldName(),
        Data->ffDodavateleDOD_PSC.FieldName(), Data->ffDodavateleDOD_STA.FieldName(),
        Data->ffDodavateleDOD_FAX.FieldName(), Data->ffDodavateleDOD_EML.FieldName(),
        Data->ffDodavateleDOD_MOB.FieldName(), Data->ffDodavateleDOD_SKU.FieldName(),
        Data->ffDodavateleDOD_KOD.FieldName(), Data->ffDodavateleDOD_JED.FieldName(),
    };
}

const QString TPrehledZakazniku::LockedMessage = QStringLiteral("Zákazník uzamčen jinou stanicí");

TPrehledZakazniku::TPrehledZakazniku(QObject *parent) : FormCommands(parent)
{
    ActiveControl = DBGrid1;
}

void TPrehledZakazniku::FormCreate() { Height = GetIniWinHigh(*Data, HeightKind); }

void TPrehledZakazniku::FormClose(int height)
{
    Height = height;
    SeTIniWinHigh(*Data, HeightKind, height);
}

bool TPrehledZakazniku::FormKeyDown(int key)
{
    switch (key) {
    case Qt::Key_F4:
        Button3Click();
        return true;
    case Qt::Key_F2:
        Button2Click();
        return true;
    case Qt::Key_Escape:
        CloseWith(mrCancel);
        return true;
    case Qt::Key_F5:
        Button1Click();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Choose();
        return true;
    default:
        return false;
    }
}

void TPrehledZakazniku::Choose()
{
    if (Data->ffDodavatele.GetBookmark().isValid())
        CloseWith(mrOk);
}

void TPrehledZakazniku::Button1Click()
{
    TDodHle search;
    ShowDodHle(search);
    FocusControl(DBGrid1);
}

void TPrehledZakazniku::Button2Click() { editSupplier(true); }

void TPrehledZakazniku::Button3Click() { editSupplier(false); }

void TPrehledZakazniku::editSupplier(bool insert)
{
    store::Table &suppliers = Data->ffDodavatele;
    try {
        if (insert)
            suppliers.Insert();
        else
            suppliers.Edit();
        TZakazniciEdit form;
        if (ShowZakazniciEdit(form) == mrOk)
            suppliers.Post();
        else
            suppliers.Cancel();
    } catch (const std::exception &) {
        Quietly([&] { suppliers.Cancel(); });
        prompter().ShowMessage(LockedMessage);
    }
    FocusControl(DBGrid1);
}
