#include "prehled_sortimentu.h"

#include "search_dialogs.h"
#include "store/tdata.h"

QStringList TPrehledSortimentu::GridColumns()
{
    return {
        Data->ffSortimentSOR_KAV.FieldName(), Data->ffSortimentSOR_NAC.FieldName(),
        Data->ffSortimentSOR_PC1.FieldName(), Data->ffSortimentSOR_STA.FieldName(),
        Data->ffSortimentSOR_DIS.FieldName(), Data->ffSortimentSOR_DAN.FieldName(),
        Data->ffSortimentSOR_SKL.FieldName(), Data->ffSortimentSOR_OLD.FieldName(),
        Data->ffSortimentSOR_SKU.FieldName(),
    };
}

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
