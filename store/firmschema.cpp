#include "firmschema.h"

#include "core/config.h"
#include "core/errors.h"
#include "store/database.h"
#include "store/tables/tables.h"

QStringList ExistingFirmTables(store::Database &db, const QString &firmNumber)
{
    QStringList names;
    for (const store::TableDef *def : store::tables::schemaTables()) {
        if (def->prefix.isEmpty())
            continue;
        const QString name = def->nameForFirm(firmNumber);
        if (db.TableExists(name))
            names << name;
    }
    return names;
}

FirmSchemaResult CreateFirmSchema(store::Database &db, const QString &firmNumber, bool replace)
{
    // The firm number becomes part of table names: the configuration's own rule.
    CheckedFirmNumber(firmNumber);

    FirmSchemaResult result;
    const QStringList existing = ExistingFirmTables(db, firmNumber);
    if (!existing.isEmpty() && !replace)
        throw AppError(QStringLiteral("Firma %1 už v databázi je (tabulky %2)")
                           .arg(firmNumber, existing.join(QStringLiteral(", "))));
    for (const QString &name : existing) {
        db.DropTable(name);
        result.dropped << name;
    }
    for (const store::TableDef *def : store::tables::schemaTables()) {
        const QString name = def->nameForFirm(firmNumber);
        if (def->prefix.isEmpty() && db.TableExists(name))
            continue;
        db.CreateTable(*def, name);
        result.created << name;
    }
    return result;
}
