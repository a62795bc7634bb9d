// podklady-db copy --to OTHER/Kramora.ini [--force] [--ini PATH]: copies the firm of the
// configuration into the database another configuration names (SQLite to PostgreSQL when
// the shop grows, PostgreSQL to SQLite for a snapshot), in one transaction on the target;
// then compares the row counts table by table and checks the target as `check` does.
// Exit codes: 0 copied and checked, 1 refused, failed or the check found differences,
// 2 configuration, 64 arguments.

#include "commands.h"
#include "options.h"
#include "terminal.h"

#include "core/errors.h"
#include "import/stock_check.h"
#include "store/connection.h"
#include "store/firm_copy.h"
#include "store/tdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

bool sameDatabase(const store::ConnectionParams &a, const store::ConnectionParams &b)
{
    if (a.kind != b.kind)
        return false;
    if (a.kind == store::ConnectionParams::Kind::SQLite)
        return QFileInfo(a.sqliteFile).absoluteFilePath() == QFileInfo(b.sqliteFile).absoluteFilePath();
    return a.host == b.host && a.port == b.port && a.database == b.database;
}

QString described(const store::ConnectionParams &p)
{
    if (p.kind == store::ConnectionParams::Kind::SQLite)
        return QFileInfo(p.sqliteFile).absoluteFilePath();
    return QStringLiteral("%1 na %2:%3").arg(p.database, p.host).arg(p.port);
}

// Shows on a terminal where the copy stands, in place on one line.
class Progress {
public:
    Progress() : m_shown(stderrIsTerminal()) {}
    ~Progress() { end(); }
    void operator()(const QString &table, qint64 done, qint64 total)
    {
        if (!m_shown)
            return;
        std::fprintf(stderr, "\r%s: %lld / %lld řádků\033[K", table.toUtf8().constData(), static_cast<long long>(done),
                     static_cast<long long>(total));
        std::fflush(stderr);
        m_open = true;
    }
    void end()
    {
        if (m_open)
            std::fprintf(stderr, "\r\033[K");
        m_open = false;
    }

private:
    bool m_shown;
    bool m_open = false;
};

// Checks the copy as `check` does; 0 when everything agrees.
int checkTarget(const QString &targetIni)
{
    int exitCode = 0;
    const auto target = connectedData(targetIni, exitCode);
    if (!target)
        return 1;
    const QVector<StockDifference> cards = CheckStock(*target);
    const QVector<ReceiptDifference> receipts = CheckReceipts(*target);
    if (cards.isEmpty() && receipts.isEmpty()) {
        printOut(QStringLiteral("Kontrola cíle: ") + checkedSummary(*target));
        return 0;
    }
    printErr(QStringLiteral("Kontrola cíle našla %1 rozdílů karet a %2 příjemek (podrobně podklady-db check --ini %3); "
                            "zdroj je má nejspíš také")
                 .arg(cards.size())
                 .arg(receipts.size())
                 .arg(targetIni));
    return 1;
}

} // namespace

int runCopy(const QStringList &arguments)
{
    const ToolArgs args = commandArgs(arguments, "copy");
    if (const int wrong = checkArguments(args, "copy"))
        return wrong;
    const QString ini = args.value(QStringLiteral("--ini"));
    const QString targetIni = args.value(QStringLiteral("--to"));
    if (targetIni.isEmpty())
        return wrongArguments("copy", QStringLiteral("chybí --to s Kramora.ini cíle"));
    if (!checkIniPath(targetIni, QStringLiteral("copy")))
        return 64;

    int exitCode = 0;
    const auto source = connectedData(ini, exitCode);
    if (!source)
        return exitCode;
    Config targetConfig;
    if (const int read = readConfig(targetConfig, targetIni))
        return read;
    if (targetConfig.FirmNumber != source->FirmNumber) {
        printErr(QStringLiteral("Cíl %1 pracuje s firmou %2, zdroj s firmou %3: kopie by v cíli nebyla vidět")
                     .arg(targetIni, targetConfig.FirmNumber, source->FirmNumber));
        return 1;
    }
    QString createdFile;
    try {
        const store::ConnectionParams to = ConnectionParamsFor(targetConfig);
        if (sameDatabase(to, source->Database.Params())) {
            printErr(QStringLiteral("Zdroj i cíl jsou táž databáze %1").arg(described(to)));
            return 1;
        }
        if (to.kind == store::ConnectionParams::Kind::SQLite && !QFileInfo::exists(to.sqliteFile)) {
            if (!QDir().mkpath(QFileInfo(to.sqliteFile).absolutePath()))
                throw AppError(QStringLiteral("Nelze vytvořit adresář %1").arg(QFileInfo(to.sqliteFile).absolutePath()));
            store::Database::CreateSQLiteFile(to.sqliteFile);
            createdFile = to.sqliteFile;
        }
        store::Database target;
        target.Connect(to);
        Progress progress;
        const FirmCopyResult result =
            CopyFirm(source->Database, target, source->FirmNumber, args.flag(QStringLiteral("--force")),
                     [&](const QString &table, qint64 done, qint64 total) { progress(table, done, total); });
        progress.end();
        for (const CopiedTable &t : result.tables) {
            if (t.kept)
                printOut(QStringLiteral("%1\tponechána: v cíli už má %2 řádků (--force ji nahradí)").arg(t.name).arg(t.rows));
            else
                printOut(QStringLiteral("%1\t%2 řádků").arg(t.name).arg(t.rows));
        }
        printOut(QStringLiteral("Firma %1 zkopírována z %2 do %3")
                     .arg(source->FirmNumber, described(source->Database.Params()), described(to)));
    } catch (const AppError &e) {
        printErr(QStringLiteral("podklady-db copy: %1").arg(e.text()));
        // A database file this run created holds nothing of the copy.
        if (!createdFile.isEmpty())
            QFile::remove(createdFile);
        return 1;
    }
    return checkTarget(targetIni);
}
