#pragma once
// The tables of one firm in a database: created with every named index, or dropped.

#include <QString>
#include <QStringList>

namespace store {
class Database;
}

struct FirmSchemaResult {
    QStringList dropped;   // table names, in the order they were dropped
    QStringList created;   // table names, in the order they were created
};

// The names of the firm's own tables that exist in the database (per-firm tables only;
// the shared tables and the lock table belong to every firm).
// Requires: a connected database.
QStringList ExistingFirmTables(store::Database &db, const QString &firmNumber);

// Creates every table the program uses for the firm, with its indexes: the per-firm
// tables under prefix + firmNumber, and the shared tables ("…0000", "SYS0001") that do
// not exist yet (existing shared tables are kept with their rows).
// When some of the firm's tables exist: throws AppError naming them, changing nothing,
// unless `replace` is set; then those tables are dropped and created anew.
// Requires: a connected database and a firm number as the configuration allows it
// (CheckedFirmNumber; else ConversionError). Runs inside the caller's transaction when one is open.
FirmSchemaResult CreateFirmSchema(store::Database &db, const QString &firmNumber, bool replace);
