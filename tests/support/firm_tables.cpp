#include "firm_tables.h"

#include "store/database.h"
#include "store/firmschema.h"
#include "store/table.h"
#include "store/table_use.h"
#include "store/tables/tables.h"

std::unique_ptr<TData> FirmDataModule(const store::ConnectionParams &params, const QString &firm)
{
    auto data = std::make_unique<TData>();
    data->FirmNumber = firm;
    data->SetTableNames();
    data->Database.Connect(params);
    return data;
}

void FreshFirmSchema(store::Database &db, const QString &firm)
{
    for (const store::TableDef *def : store::tables::schemaTables()) {
        const QString name = def->nameForFirm(firm);
        if (db.TableExists(name))
            db.DropTable(name);
    }
    CreateFirmSchema(db, firm, false);
}

void AppendRow(store::Table &table, std::initializer_list<std::pair<store::FieldKey, QVariant>> values)
{
    const store::TableUse use(table, QString(), store::TableUse::GiveBack::OpenState);
    table.Append();
    for (const auto &[field, value] : values)
        table.FieldByName(field).SetValue(value);
    table.Post();
}

qint64 RowCount(store::Table &table)
{
    table.Open();
    const qint64 n = table.RecordCount();
    table.Close();
    return n;
}
