#include "zakaznici_edit.h"

const QVector<TZakazniciEdit::Input> TZakazniciEdit::Inputs{
    {DBEditTovel1, QStringLiteral("DOD_ICO"), ZakladniUdaje, QStringLiteral("IČO dodavatele")},
    {DBEditTovel2, QStringLiteral("DOD_DIC"), ZakladniUdaje, QStringLiteral("DIČ dodavatele")},
    {DBEditTovel3, QStringLiteral("DOD_FIR"), ZakladniUdaje, QStringLiteral("Název 1ř.")},
    {DBEditTovel4, QStringLiteral("DOD_NAC"), ZakladniUdaje, QStringLiteral("Název 2ř.")},
    {DBEditTovel5, QStringLiteral("DOD_ULI"), ZakladniUdaje, QStringLiteral("Ulice")},
    {DBEditTovel6, QStringLiteral("DOD_MES"), ZakladniUdaje, QStringLiteral("Město")},
    {DBEditTovel8, QStringLiteral("DOD_PSC"), ZakladniUdaje, QStringLiteral("PSČ - Stát")},
    {DBEditTovel7, QStringLiteral("DOD_STA"), ZakladniUdaje, QString()},
    {DBEditTovel9, QStringLiteral("DOD_SKU"), KontaktniUdaje, QStringLiteral("Typ dodavatele")},
    {DBEditTovel10, QStringLiteral("DOD_TEL"), KontaktniUdaje, QStringLiteral("Telefon")},
    {DBEditTovel11, QStringLiteral("DOD_FAX"), KontaktniUdaje, QStringLiteral("Fax")},
    {DBEditTovel12, QStringLiteral("DOD_EML"), KontaktniUdaje, QStringLiteral("E Mail")},
    {DBEditTovel13, QStringLiteral("DOD_JME"), KontaktniUdaje, QStringLiteral("Kontaktní osoba")},
    {DBEditTovel14, QStringLiteral("DOD_MOB"), KontaktniUdaje, QStringLiteral("Mobilní telefon")},
};

const QString TZakazniciEdit::PageCaptions[2] = {QStringLiteral("&Základní údaje"),
                                                 QStringLiteral("&Kontaktní údaje")};

TZakazniciEdit::TZakazniciEdit(QObject *parent) : FormCommands(parent)
{
    ActiveControl = DBEditTovel1;
}

void TZakazniciEdit::showPage(Page page)
{
    ActivePage = page;
    emit pageRequested(page);
}

void TZakazniciEdit::FormShow()
{
    showPage(ZakladniUdaje);
    FocusControl(DBEditTovel1);
}

void TZakazniciEdit::DBEditTovel7TabExit()
{
    showPage(KontaktniUdaje);
    FocusControl(DBEditTovel9);
}

bool TZakazniciEdit::FormKeyDown(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    Button2Click();
    return true;
}
