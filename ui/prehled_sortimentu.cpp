#include "prehled_sortimentu.h"

#include "search_dialogs.h"
#include "store/tdata.h"

const QStringList TPrehledSortimentu::GridColumns{
    QStringLiteral("SOR_KAV"), QStringLiteral("SOR_NAC"), QStringLiteral("SOR_PC1"),
    QStringLiteral("SOR_STA"), QStringLiteral("SOR_DIS"), QStringLiteral("SOR_DAN"),
    QStringLiteral("SOR_SKL"), QStringLiteral("SOR_OLD"), QStringLiteral("SOR_SKU"),
};

TPrehledSortimentu::TPrehledSortimentu(QObject *parent) : FormCommands(parent)
{
    ActiveControl = DBGrid1;
}

void TPrehledSortimentu::FormShow()
{
    if (!Data->ffSortiment.IsEmpty())
        Data->GetLastSor();
}

bool TPrehledSortimentu::FormKeyDown(int key)
{
    Data->SetLastSor();
    switch (key) {
    case Qt::Key_Escape:
        CloseWith(mrCancel);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Choose();
        return true;
    case Qt::Key_F5:
        Button1Click();
        return true;
    default:
        return false;
    }
}

void TPrehledSortimentu::DBGrid1DblClick()
{
    Data->SetLastSor();
    Choose();
}

void TPrehledSortimentu::Choose()
{
    if (Data->ffSortiment.GetBookmark().isValid())
        CloseWith(mrOk);
}

void TPrehledSortimentu::Button1Click()
{
    TSorHle search;
    ShowSorHle(search);
    FocusControl(DBGrid1);
}

void TPrehledSortimentu::FormClose() { Data->SetLastSor(); }
