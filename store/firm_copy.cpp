#include "firm_copy.h"

#include "core/errors.h"
#include "firmschema.h"
#include "store/database.h"
#include "store/tables/tables.h"
#include "store/transaction.h"

namespace {

// The shared tables the program reads; the lock records stay behind (they belong to the
// stations of the source).
bool copiedShared(const store::TableDef *def)
{
    return def == &store::tables::uzivatele() || def == &store::tables::vlastnik() || def == &store::tables::ceniky();
}

CopiedTable copyTable(store::Database &from, store::Database &to, const store::TableDef &def, const QString &name,
                      const CopyProgress &progress)
{
    const qint64 total = from.RowCount(name);
    if (progress)
        progress(name, 0, total);
    const qint64 rows = to.CopyRowsFrom(from, def, name, [&](qint64 done) {
        if (progress)
            progress(name, done, total);
    });
    const qint64 counted = to.RowCount(name);
    if (rows != total || counted != total)
        throw AppError(QStringLiteral("Tabulka %1: ve zdroji %2 řádků, zkopírováno %3, v cíli %4")
                           .arg(name)
                           .arg(total)
                           .arg(rows)
                           .arg(counted));
    return {name, rows, false};
}

} // namespace

FirmCopyResult CopyFirm(store::Database &from, store::Database &to, const QString &firmNumber, bool replace,
                        const CopyProgress &progress)
{
    if (ExistingFirmTables(from, firmNumber).isEmpty())
        throw AppError(QStringLiteral("Zdrojová databáze neobsahuje firmu %1").arg(firmNumber));
    // The source is read in one transaction: on one computer the copy is then of one
    // moment (the stations' writes wait for it).
    store::Transaction reading(from);
    store::Transaction writing(to);
    CreateFirmSchema(to, firmNumber, replace);
    FirmCopyResult result;
    for (const store::TableDef *def : store::tables::schemaTables()) {
        const QString name = def->nameForFirm(firmNumber);
        if (def->prefix.isEmpty()) {
            if (!copiedShared(def))
                continue;
            const qint64 there = to.RowCount(name);
            if (there > 0 && !replace) {
                result.tables.append({name, there, true});
                continue;
            }
            if (there > 0) {
                to.DropTable(name);
                to.CreateTable(*def, name);
            }
        }
        result.tables.append(copyTable(from, to, *def, name, progress));
    }
    writing.commit();
    reading.commit();
    return result;
}
