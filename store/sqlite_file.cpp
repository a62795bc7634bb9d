#include "sqlite_file.h"

#include "core/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace store {

namespace {

// How long a step of the backup waits for a writer of the source to finish.
constexpr int kBusyTimeoutMs = 5000;

QString engineText(sqlite3 *db) { return QString::fromUtf8(sqlite3_errmsg(db)).trimmed(); }

struct Handle {
    sqlite3 *db = nullptr;
    Handle(const QString &path, int flags)
    {
        const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
        if (rc != SQLITE_OK) {
            const QString text = db ? engineText(db) : QString::fromUtf8(sqlite3_errstr(rc));
            sqlite3_close(db);
            db = nullptr;
            throw StoreError(QStringLiteral("Databáze %1: %2").arg(path, text));
        }
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
    }
    ~Handle() { sqlite3_close(db); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
};

// The text rows of a statement without parameters.
QStringList textRows(sqlite3 *db, const char *sql, const QString &path)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        throw StoreError(QStringLiteral("Databáze %1: %2").arg(path, engineText(db)));
    QStringList rows;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        rows.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))));
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        throw StoreError(QStringLiteral("Databáze %1: %2").arg(path, engineText(db)));
    return rows;
}

void syncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        throw StoreError(QStringLiteral("Soubor %1 nelze zapsat na disk").arg(path));
}

} // namespace

SQLiteFileCheck CheckSQLiteFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw StoreError(QStringLiteral("Soubor %1 neexistuje").arg(path));
    Handle h(path, SQLITE_OPEN_READONLY);
    SQLiteFileCheck check;
    check.integrity = textRows(h.db, "PRAGMA integrity_check", path).join(u'\n');
    check.tables = textRows(h.db, "SELECT name FROM sqlite_schema WHERE type = 'table'", path);
    return check;
}

void BackupSQLiteFile(const QString &from, const QString &to)
{
    if (!QFileInfo(from).isFile())
        throw StoreError(QStringLiteral("Databáze %1 neexistuje").arg(from));
    QString temporary;
    {
        QTemporaryFile reserve(to + QStringLiteral(".XXXXXX"));
        if (!reserve.open())
            throw StoreError(QStringLiteral("Soubor %1 nelze vytvořit: %2").arg(reserve.fileTemplate(), reserve.errorString()));
        reserve.setAutoRemove(false);
        temporary = reserve.fileName();
    }
    auto removeTemporary = qScopeGuard([&] {
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-wal"));
        QFile::remove(temporary + QStringLiteral("-shm"));
    });
    {
        // The source opened as any station opens it: its last committed state, the log
        // included, is what the backup reads.
        Handle source(from, SQLITE_OPEN_READWRITE);
        Handle target(temporary, SQLITE_OPEN_READWRITE);
        sqlite3_backup *backup = sqlite3_backup_init(target.db, "main", source.db, "main");
        if (!backup)
            throw StoreError(QStringLiteral("Záloha do %1: %2").arg(to, engineText(target.db)));
        int rc;
        // All pages in one step: the copy is of one moment; a writer that holds the
        // file just then is waited for.
        while ((rc = sqlite3_backup_step(backup, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED)
            sqlite3_sleep(50);
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE)
            throw StoreError(QStringLiteral("Záloha %1: %2").arg(from, QString::fromUtf8(sqlite3_errstr(rc))));
        const QString integrity = textRows(target.db, "PRAGMA integrity_check", to).join(u'\n');
        if (integrity != QLatin1String("ok"))
            throw StoreError(QStringLiteral("Kopie %1 neprošla kontrolou: %2").arg(to, integrity));
    }
    syncFile(temporary);
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(to).constData()) != 0)
        throw StoreError(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(to, QString::fromLocal8Bit(std::strerror(errno))));
    removeTemporary.dismiss();
    syncFile(QFileInfo(to).absolutePath());
}

bool SQLiteFileInUse(const QString &path)
{
    // Every connection to a database in WAL mode holds a shared lock on one byte of the
    // shared-memory file (SQLite's "DMS" byte, offset 128) while it is open. Asking
    // whether a write lock there would be granted tells whether another process has it.
    const int fd = ::open(QFile::encodeName(path + QStringLiteral("-shm")).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock probe = {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 128;
    probe.l_len = 1;
    const bool held = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

} // namespace store
