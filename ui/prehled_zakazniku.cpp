#include "prehled_zakazniku.h"

#include "app/core/config.h"
#include "app/core/prompter.h"
#include "app/core/screens_cleanup.h"
#include "search_dialogs.h"
#include "store/tdata.h"
#include "zakaznici_edit.h"

const QStringList TPrehledZakazniku::GridColumns{
    QStringLiteral("DOD_ICO"), QStringLiteral("DOD_DIC"), QStringLiteral("DOD_FIR"), QStringLiteral("DOD_JME"),
    QStringLiteral("DOD_TEL"), QStringLiteral("DOD_NAC"), QStringLiteral("DOD_ULI"), QStringLiteral("DOD_MES"),
    QStringLiteral("DOD_PSC"), QStringLiteral("DOD_STA"), QStringLiteral("DOD_FAX"), QStringLiteral("DOD_EML"),
    QStringLiteral("DOD_MOB"), QStringLiteral("DOD_SKU"), QStringLiteral("DOD_KOD"), QStringLiteral("DOD_JED"),
};

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
