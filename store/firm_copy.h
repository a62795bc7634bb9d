#pragma once
// A firm copied from one database into another: every table of the firm and the shared
// tables the program reads (users, owner, price lists), in one transaction on the target.

#include <QString>
#include <QVector>
#include <functional>

namespace store {
class Database;
}

struct CopiedTable {
    QString name;
    qint64 rows = 0;        // rows copied (and counted alike on both sides)
    bool kept = false;      // a shared table the target already filled: left as it was
};

struct FirmCopyResult {
    QVector<CopiedTable> tables;  // in the order they were copied
};

// Where the copy stands: the table being copied, its rows copied so far and its rows in all.
using CopyProgress = std::function<void(const QString &table, qint64 done, qint64 total)>;

// Copies the firm `firmNumber` from `from` into `to`. Creates the firm's tables on the
// target (CreateFirmSchema: refused with AppError when the target holds the firm, unless
// `replace`), copies every row of each as stored, and counts the rows of each table on
// both sides. A shared table that holds rows on the target already is kept as it is,
// unless `replace`, which fills it anew from the source. Reads the source in one
// transaction and writes the target in one: any failure, a count that differs included
// (AppError naming the table), leaves the target as it was.
// Requires: both connected, no transaction open on either; the source holds the firm
// (else AppError).
FirmCopyResult CopyFirm(store::Database &from, store::Database &to, const QString &firmNumber, bool replace,
                        const CopyProgress &progress = {});
