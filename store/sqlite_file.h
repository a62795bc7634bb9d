#pragma once
// A SQLite database file as a whole: a consistent copy taken while programs work on it,
// its check, and whether a program has it open.

#include <QString>
#include <QStringList>

namespace store {

// What PRAGMA integrity_check says of a database file, and the tables it holds.
struct SQLiteFileCheck {
    QString integrity;   // "ok" for a sound file, else the first problems found
    QStringList tables;
};

// Checks the database file at path (opened read-only; nothing is written). Throws
// StoreError when it is missing or not a SQLite database.
SQLiteFileCheck CheckSQLiteFile(const QString &path);

// Copies the database `from` into the file `to` through SQLite's online backup: a copy
// of one moment, taken while other programs go on reading and writing `from`. The copy
// is written to a temporary file beside `to`, checked (integrity_check), synced and
// renamed over `to`; on any failure the temporary file is removed and `to` is left as
// it was. Throws StoreError with the reason.
void BackupSQLiteFile(const QString &from, const QString &to);

// True when a program has the database at path open (a connection holds the file's
// shared memory). False for a file nobody has open, and for a missing file.
bool SQLiteFileInUse(const QString &path);

} // namespace store
