#include "connect_alone.h"

#include "core/errors.h"
#include "store/database.h"
#include "store/table.h"
#include "store/tables/tables.h"

namespace {

const QString kRefused = QStringLiteral(": tabulky firmy nelze nahradit");

// The lock records of the stations (the lock table is shared by every firm).
qint64 lockRecords(store::Database &db)
{
    const store::TableDef &def = store::tables::semafor();
    if (!db.TableExists(def.builtInName))
        return 0;
    store::Table locks(&def);
    locks.SetDatabase(&db);
    locks.Open();
    return locks.RecordCount();
}

} // namespace

void ConnectAlone(store::Database &db, const store::ConnectionParams &params)
{
    // A SQLite file is asked before this process opens it.
    if (params.kind == store::ConnectionParams::Kind::SQLite && store::Database::SQLiteFileInUse(params.sqliteFile))
        throw AppError(QStringLiteral("Soubor databáze %1 má otevřený jiný program").arg(params.sqliteFile) + kRefused);
    db.Connect(params);
    try {
        if (const int sessions = db.OtherSessions())
            throw AppError(QStringLiteral("Databázi %1 používá jiná stanice (připojení: %2)")
                               .arg(params.database)
                               .arg(sessions)
                           + kRefused);
        if (const qint64 locks = lockRecords(db))
            throw AppError(QStringLiteral("Stanice drží zámky záznamů (%1, viz podklady-db locks)").arg(locks) + kRefused);
    } catch (...) {
        db.Disconnect();
        throw;
    }
}
