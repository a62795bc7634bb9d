#include "data_sestavy.h"

#include "podklad_print.h"
#include "prehled_dodavek.h"
#include "store/tables/tables.h"
#include "store/tdata.h"

TDataSestavy *DataSestavy = nullptr;

TDataSestavy::TDataSestavy(QObject *parent)
    : QObject(parent), ffSesDod(&store::tables::dodavkyFull()), SesDodMem(&store::tables::sesDodMem())
{
    ffSesDod.SetDatabase(&Data->Database);
    ffSesDod.SetTableName(Data->ffDodavky.TableName());
    const store::TableDef &work = SesDodMem.Definition();
    if (!Data->MemDatabase.TableExists(work.builtInName))
        Data->MemDatabase.CreateTable(work, work.builtInName);
    SesDodMem.SetDatabase(&Data->MemDatabase);
    SesDodMem.SetTableName(work.builtInName);
    Sestavy.OnPrint = [this] { SestavyPrint(); };
    DataSestavy = this;
}

TDataSestavy::~TDataSestavy()
{
    ffSesDod.Close();
    SesDodMem.Close();
    if (DataSestavy == this)
        DataSestavy = nullptr;
}

void TDataSestavy::SestavyPrint()
{
    switch (ReportKind) {
    case rkPodklad:
        PrintPodklad(*Data, Sestavy);
        break;
    case rkPrehledDodavek:
        PrintOverview(Sestavy, SesDodMem, SortOrder, DateFrom, DateTo, OverviewShopName(*Data));
        break;
    default:
        break;
    }
}
