#include "zakaznici_edit.h"

#include "store/tdata.h"

QVector<TZakazniciEdit::Input> TZakazniciEdit::Inputs()
{
    return {
        {DBEditTovel1, Data->ffDodavateleDOD_ICO.FieldName(), ZakladniUdaje, QStringLiteral("IČO dodavatele")},
        {DBEditTovel2, Data->ffDodavateleDOD_DIC.FieldName(), ZakladniUdaje, QStringLiteral("DIČ dodavatele")},
        {DBEditTovel3, Data->ffDodavateleDOD_FIR.FieldName(), ZakladniUdaje, QStringLiteral("Název 1ř.")},
        {DBEditTovel4, Data->ffDodavateleDOD_NAC.FieldName(), ZakladniUdaje, QStringLiteral("Název 2ř.")},
        {DBEditTovel5, Data->ffDodavateleDOD_ULI.FieldName(), ZakladniUdaje, QStringLiteral("Ulice")},
        {DBEditTovel6, Data->ffDodavateleDOD_MES.FieldName(), ZakladniUdaje, QStringLiteral("Město")},
        {DBEditTovel8, Data->ffDodavateleDOD_PSC.FieldName(), ZakladniUdaje, QStringLiteral("PSČ - Stát")},
        {DBEditTovel7, Data->ffDodavateleDOD_STA.FieldName(), ZakladniUdaje, QString()},
        {DBEditTovel9, Data->ffDodavateleDOD_SKU.FieldName(), KontaktniUdaje, QStringLiteral("Typ dodavatele")},
        {DBEditTovel10, Data->ffDodavateleDOD_TEL.FieldName(), KontaktniUdaje, QStringLiteral("Telefon")},
        {DBEditTovel11, Data->ffDodavateleDOD_FAX.FieldName(), KontaktniUdaje, QStringLiteral("Fax")},
        {DBEditTovel12, Data->ffDodavateleDOD_EML.FieldName(), KontaktniUdaje, QStringLiteral("E Mail")},
        {DBEditTovel13, Data->ffDodavateleDOD_JME.FieldName(), KontaktniUdaje, QStringLiteral("Kontaktní osoba")},
        {DBEditTovel14, Data->ffDodavateleDOD_MOB.FieldName(), KontaktniUdaje, QStringLiteral("Mobilní telefon")},
    };
}

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
