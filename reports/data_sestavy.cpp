#include "data_sestavy.h"

#include "podklad_print.h"
#include "store/tables/tables.h"
#include "store/tdata.h"

TDataSestavy *DataSestavy = nullptr;

#define SESTAVY_TABLE(component, definition, columns) component(&store::tables::definition()),
#define SESTAVY_FIELDS(component, definition, columns) columns(STORE_FIELD_BINDING, component)

TDataSestavy::TDataSestavy(QObject *parent)
    : QObject(parent),
      STORE_REPORT_TABLES(SESTAVY_TABLE)
      STORE_REPORT_TABLES(SESTAVY_FIELDS)
      WorkbookPath()
{
    ffSesDod.SetDatabase(&Data->Database);
    ffSesDod.SetTableName(Data->ffDodavky.TableName());
    const store::TableDef &work = SesDodMem.Definition();
    if (!Data->MemDatabase.TableExists(work.builtInName))
        Data->MemDatabase.CreateTable(work, work.builtInName);
    SesDodMem.SetDatabase(&Data->MemDatabase);
    SesDodMem.SetTableName(work.builtInName);
    DataSestavy = this;
}

#undef SESTAVY_TABLE
#undef SESTAVY_FIELDS

TDataSestavy::~TDataSestavy()
{
    ffSesDod.Close();
    SesDodMem.Close();
    if (DataSestavy == this)
        DataSestavy = nullptr;
}

void TDataSestavy::PrintPodklad(TData &data)
{
    Sestavy.Execute({QPageLayout::Portrait, [&data](ReportDrawing &r) { LayoutPodklad(r, ReadPodklad(data)); }});
}
