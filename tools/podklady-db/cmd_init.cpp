// podklady-db init [--ini PATH] [--firm NNNN] [--demo] [--force]: creates the tables of a
// firm in the database the configuration names, and with --demo fills them with a demo
// shop. Everything happens in one transaction: a failure leaves the database as it was.
// Exit codes: 0 done, 1 refused or failed, 2 the configuration is missing or malformed,
// 64 wrong arguments.

#include "connect_alone.h"
#include "demo.h"
#include "options.h"

#include "app/core/atomic_file.h"
#include "app/core/config.h"
#include "app/core/errors.h"
#include "app/core/osinfo.h"
#include "store/connection.h"
#include "store/database.h"
#include "store/firmschema.h"
#include "store/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

struct InitOptions {
    QString ini;
    QString firm;
    bool demo = false;
    bool force = false;
};

// Parses the options; false (with the reason printed) for anything it does not know.
bool parseOptions(QStringList args, InitOptions &o)
{
    if (!takeIniOption(args, QStringLiteral("init"), o.ini))
        return false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--demo")) {
            o.demo = true;
        } else if (a == QLatin1String("--force")) {
            o.force = true;
        } else if (a == QLatin1String("--firm") && i + 1 < args.size()) {
            o.firm = args[++i];
        } else {
            printErr(QStringLiteral("podklady-db init: neznámý argument '%1'").arg(a));
            return false;
        }
    }
    return true;
}

// The SQLite file is created here and nowhere else: the program treats a missing file
// as an unreachable server.
void createSQLiteFile(const QString &path)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        throw AppError(QStringLiteral("Nelze vytvořit adresář %1").arg(info.absolutePath()));
    store::Database::CreateSQLiteFile(path);
    printOut(QStringLiteral("Vytvořen soubor databáze %1").arg(info.absoluteFilePath()));
}

void printSchema(const FirmSchemaResult &r)
{
    for (const QString &name : r.dropped)
        printOut(QStringLiteral("Smazána tabulka %1").arg(name));
    for (const QString &name : r.created)
        printOut(QStringLiteral("Vytvořena tabulka %1").arg(name));
}

void printDemo(const DemoSummary &s)
{
    printOut(QStringLiteral("Demo: %1 dodavatelů, %2 karet s %3 variantami, %4 podkladů s %5 položkami, "
                            "%6 příjemek s %7 pohyby v deníku")
                 .arg(s.suppliers).arg(s.cards).arg(s.variants).arg(s.documents).arg(s.items)
                 .arg(s.receipts).arg(s.entries));
    if (s.priceLists)
        printOut(QStringLiteral("Demo: %1 ceníky").arg(s.priceLists));
    if (s.owner)
        printOut(QStringLiteral("Demo: údaje vlastníka"));
    if (s.users)
        printOut(QStringLiteral("Demo: %1 uživatelé%2").arg(s.users).arg(
            s.operatorLogin.isEmpty() ? QString()
                                      : QStringLiteral(", přihlášení bez dialogu jako %1").arg(s.operatorLogin)));
}

} // namespace

int runInit(const QStringList &args)
{
    InitOptions o;
    if (!parseOptions(args, o)) {
        printErr(QStringLiteral("usage: podklady-db init [--ini PATH/Kramora.ini] [--firm NNNN] [--demo] [--force]"));
        return 64;
    }

    Config cfg;
    cfg.ExePath = exePathFor(o.ini);
    try {
        if (!IniPrepare(cfg))
            return 2;  // the program's own message is already on stderr
    } catch (const AppError &e) {
        printErr(e.text());
        return 2;
    }
    if (!o.firm.isEmpty())
        cfg.FirmNumber = o.firm;

    QString createdFile;
    try {
        // The folders the program reads and writes, as the package's start script makes them.
        for (const QString &folder : CreateConfiguredFolders(cfg))
            printOut(QStringLiteral("Vytvořen adresář %1").arg(folder));
        const store::ConnectionParams params = ConnectionParamsFor(cfg);
        if (params.kind == store::ConnectionParams::Kind::SQLite && !QFileInfo::exists(params.sqliteFile)) {
            createSQLiteFile(params.sqliteFile);
            createdFile = params.sqliteFile;
        }
        store::Database db;
        // Tables are replaced only under no other station.
        if (o.force)
            ConnectAlone(db, params);
        else
            db.Connect(params);
        store::Transaction transaction(db);
        const FirmSchemaResult schema = CreateFirmSchema(db, cfg.FirmNumber, o.force);
        const DemoSummary demo = o.demo ? LoadDemo(db, cfg.FirmNumber, GetWindowsUserName(), QDate::currentDate())
                                        : DemoSummary();
        transaction.commit();
        printSchema(schema);
        if (o.demo)
            printDemo(demo);
        printOut(QStringLiteral("Firma %1 je připravena").arg(cfg.FirmNumber));
        return 0;
    } catch (const std::exception &e) {
        const auto *app = dynamic_cast<const AppError *>(&e);
        printErr(QStringLiteral("podklady-db init: %1").arg(app ? app->text() : QString::fromLocal8Bit(e.what())));
    }
    // A database file this run created holds nothing useful now; without it the
    // program keeps reporting the database as missing, which it is.
    if (!createdFile.isEmpty())
        QFile::remove(createdFile);
    return 1;
}
