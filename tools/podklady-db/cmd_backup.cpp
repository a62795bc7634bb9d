// podklady-db backup FILE [--ini PATH]: a consistent copy of the database on this
// computer, taken while stations work (SQLite's online backup), and checked.
// podklady-db restore FILE [--force] [--ini PATH]: puts such a copy back in place of the
// database, keeping the replaced file beside it; refused while a station holds a lock or
// has the database open, unless --force.
// On PostgreSQL both print the commands of the server's own tools and exit 1.
// Exit codes: 0 done, 1 refused or failed (or a server database), 2 configuration,
// 64 arguments.

#include "commands.h"
#include "options.h"

#include "core/config.h"
#include "core/errors.h"
#include "store/connection.h"
#include "store/sqlite_file.h"
#include "store/tables/tables.h"
#include "store/tdata.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

// A word for a POSIX shell: quoted when it holds anything but plain characters.
QString shellWord(const QString &word)
{
    for (QChar c : word)
        if (!(c.isLetterOrNumber() || QStringLiteral("/._-:@=+,").contains(c)))
            return u'\'' + QString(word).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
    return word.isEmpty() ? QStringLiteral("''") : word;
}

// The server's own tool for a PostgreSQL database: the command printed, exit 1.
int serverTool(const store::ConnectionParams &p, const QString &file, bool restoring)
{
    const QString connection = QStringLiteral("-h %1 -p %2 -U %3")
                                   .arg(shellWord(p.host)).arg(p.port).arg(shellWord(p.user));
    printErr(QStringLiteral("Databáze %1 je na serveru PostgreSQL: %2 ji nástroj serveru.")
                 .arg(p.database, restoring ? QStringLiteral("obnoví") : QStringLiteral("zálohuje")));
    if (restoring)
        printOut(QStringLiteral("pg_restore %1 --clean --if-exists -d %2 %3")
                     .arg(connection, shellWord(p.database), shellWord(file)));
    else
        printOut(QStringLiteral("pg_dump %1 -Fc -f %2 %3").arg(connection, shellWord(file), shellWord(p.database)));
    return 1;
}

bool samePath(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// What backup and restore work on: the configuration, its database and the file given.
struct FileJob {
    Config cfg;
    store::ConnectionParams params;
    QString file;        // absolute
    bool force = false;
};

// Reads the arguments, the configuration and its database. Returns the exit code when the
// command ends here: wrong arguments or configuration, or a database on a server (whose
// own tool is printed); nullopt when the job goes on with a SQLite file.
std::optional<int> prepareJob(const QStringList &arguments, const char *command, FileJob &job)
{
    const ToolArgs args = commandArgs(arguments, command);
    if (args.positional().size() != 1)
        return wrongArguments(command, QStringLiteral("potřebuje právě jeden soubor"));
    if (const int wrong = checkArguments(args, command, 1))
        return wrong;
    if (const int read = readConfig(job.cfg, args.value(QStringLiteral("--ini"))))
        return read;
    try {
        job.params = ConnectionParamsFor(job.cfg);
    } catch (const AppError &e) {
        printErr(e.text());
        return 2;
    }
    job.file = QFileInfo(args.positional().first()).absoluteFilePath();
    job.force = args.flag(QStringLiteral("--force"));
    if (job.params.kind == store::ConnectionParams::Kind::PostgreSQL)
        return serverTool(job.params, job.file, QLatin1String(command) == QLatin1String("restore"));
    return std::nullopt;
}

// The lock records of the stations; nullopt (the reason printed) when they cannot be read.
std::optional<int> lockCount(const QString &ini)
{
    int exitCode = 0;
    const auto data = connectedData(ini, exitCode);
    if (!data)
        return std::nullopt;
    store::Table &t = data->ffSemafor;
    t.Open();
    const int count = int(t.RecordCount());
    t.Close();
    return count;
}

} // namespace

int runBackup(const QStringList &arguments)
{
    FileJob job;
    if (const std::optional<int> ended = prepareJob(arguments, "backup", job))
        return *ended;
    const QString &file = job.file;
    const store::ConnectionParams &params = job.params;
    if (samePath(file, params.sqliteFile)) {
        printErr(QStringLiteral("Záloha nemůže přepsat samotnou databázi %1").arg(params.sqliteFile));
        return 1;
    }
    try {
        store::BackupSQLiteFile(params.sqliteFile, file);
    } catch (const AppError &e) {
        printErr(e.text());
        return 1;
    }
    printOut(QStringLiteral("Databáze %1 zálohována do %2 (kontrola integrity: ok)").arg(params.sqliteFile, file));
    return 0;
}

int runRestore(const QStringList &arguments)
{
    FileJob job;
    if (const std::optional<int> ended = prepareJob(arguments, "restore", job))
        return *ended;
    const QString &file = job.file;
    const QString &target = job.params.sqliteFile;
    const bool force = job.force;
    try {
        if (samePath(file, target)) {
            printErr(QStringLiteral("Soubor %1 je samotná databáze").arg(file));
            return 1;
        }
        const store::SQLiteFileCheck check = store::CheckSQLiteFile(file);
        if (check.integrity != QLatin1String("ok")) {
            printErr(QStringLiteral("Záloha %1 neprošla kontrolou integrity: %2").arg(file, check.integrity));
            return 1;
        }
        const QString headers = store::tables::podklHlav().nameForFirm(job.cfg.FirmNumber);
        if (!check.tables.contains(headers)) {
            printErr(QStringLiteral("Záloha %1 neobsahuje firmu %2 (tabulku %3)").arg(file, job.cfg.FirmNumber, headers));
            return 1;
        }
        QString kept;
        if (QFileInfo::exists(target)) {
            if (store::SQLiteFileInUse(target) && !force) {
                printErr(QStringLiteral("Databázi %1 má otevřenou některý program; ukončete ho, nebo obnovte "
                                        "s --force").arg(target));
                return 1;
            }
            const std::optional<int> locks = lockCount(iniFilePath(job.cfg));
            if (!locks)
                return 1;
            if (*locks > 0 && !force) {
                printErr(QStringLiteral("Stanice drží %1 zámků (podklady-db locks); obnovte, až je uvolní, "
                                        "nebo s --force").arg(*locks));
                return 1;
            }
            kept = target + QStringLiteral(".nahrazena-")
                   + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
            store::BackupSQLiteFile(target, kept);
        } else if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
            printErr(QStringLiteral("Nelze vytvořit adresář %1").arg(QFileInfo(target).absolutePath()));
            return 1;
        }
        store::BackupSQLiteFile(file, target);
        // A log the replaced database left (a station stopped by force) belongs to it,
        // not to the file put in its place.
        QFile::remove(target + QStringLiteral("-wal"));
        QFile::remove(target + QStringLiteral("-shm"));
        printOut(QStringLiteral("Databáze %1 obnovena ze zálohy %2").arg(target, file));
        if (!kept.isEmpty())
            printOut(QStringLiteral("Nahrazená databáze zůstala jako %1").arg(kept));
    } catch (const AppError &e) {
        printErr(e.text());
        return 1;
    }
    return 0;
}
