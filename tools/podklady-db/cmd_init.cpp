// podklady-db init [--firm NNNN] [--demo] [--force] [owner and first user] [--ini PATH]:
// creates the tables of a firm in the database the configuration names. With --demo it
// fills them with a demo shop; without, it writes what the program needs to open the
// firm: the owner's record, the counter record and a first user (unless users exist).
// Everything happens in one transaction: a failure leaves the database as it was.
// Exit codes: 0 done, 1 refused or failed, 2 the configuration is missing or malformed,
// 64 wrong arguments.

#include "connect_alone.h"
#include "demo.h"
#include "options.h"
#include "terminal.h"
#include "users.h"

#include "core/atomic_file.h"
#include "core/config.h"
#include "core/errors.h"
#include "core/osinfo.h"
#include "core/textutil.h"
#include "store/connection.h"
#include "store/database.h"
#include "store/firmschema.h"
#include "store/tdata.h"
#include "store/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

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

// Ends the run before anything is written; the reason has been printed.
struct Refused {};

// What a firm without the demo starts with, gathered before anything is written.
struct FirstRecords {
    bool withOwner = false;   // the shared owner table has no record of the firm yet
    OwnerFields owner;
    bool withUser = false;
    UserFields user;
};

// A value of an option, or asked on the terminal when it is missing; empty when neither.
QString optionOrAsked(const ToolArgs &args, const char *option, const QString &question)
{
    QString value = TrimControl(args.value(QLatin1String(option)));
    if (value.isEmpty() && stdinIsTerminal())
        value = TrimControl(askLine(question + QStringLiteral(": ")).value_or(QString()));
    return value;
}

// True when the shared table exists and holds a record (of the firm, for the owners).
bool holdsRecord(TData &data, store::Table &t, const store::Field *firmField)
{
    if (!data.Database.TableExists(t.TableName()))
        return false;
    t.Open();
    const bool found = firmField ? t.Locate(*firmField, data.FirmNumber) : !t.IsEmpty();
    t.Close();
    return found;
}

// The owner (unless the firm has one) and the first user (unless users exist) from the
// options, asked on a terminal when missing; false, with the reason on stderr, when
// something needed is missing or does not fit its field.
bool gatherFirstRecords(TData &data, const ToolArgs &args, FirstRecords &first)
{
    first.withOwner = !holdsRecord(data, data.ffVlastnik, &data.ffVlastnikVLA_JED);
    if (first.withOwner) {
        first.owner.name = optionOrAsked(args, "--owner-name", QStringLiteral("Název firmy vlastníka"));
        first.owner.street = optionOrAsked(args, "--owner-street", QStringLiteral("Ulice vlastníka"));
        first.owner.town = optionOrAsked(args, "--owner-town", QStringLiteral("Město vlastníka"));
        if (first.owner.name.isEmpty()) {
            printErr(QStringLiteral("Chybí název vlastníka: zadejte --owner-name, --owner-street a --owner-town "
                                    "(na terminálu se na ně init zeptá)"));
            return false;
        }
    }
    first.withUser = args.flag(QStringLiteral("--user"));
    if (!first.withUser) {
        if (holdsRecord(data, data.ffUzivatele, nullptr))
            return true;
        printErr(QStringLiteral("Firma by neměla žádného uživatele a program by ji neotevřel. Přidejte prvního: "
                                "podklady-db init --user LOGIN --initials XY --name \"Příjmení Jméno\" "
                                "(heslo se zeptá dvakrát, nebo ho dejte na vstup s --password-stdin)"));
        return false;
    }
    first.user = {args.value(QStringLiteral("--user")), args.value(QStringLiteral("--initials")),
                  args.value(QStringLiteral("--name")), args.value(QStringLiteral("--group")), QString()};
    QStringList notes;
    const QStringList refused = CheckUserFields(first.user, notes);
    for (const QString &why : refused)
        printErr(why);
    if (!refused.isEmpty())
        return false;
    for (const QString &note : notes)
        printErr(note);
    const std::optional<QString> password = readPassword(args.flag(QStringLiteral("--password-stdin")));
    if (!password)
        return false;
    const QString weak = CheckPassword(*password);
    if (!weak.isEmpty()) {
        printErr(weak);
        return false;
    }
    first.user.password = *password;
    return true;
}

// Writes the counter record, the owner's record and the first user as gathered; returns
// what it did, for printing once it is committed.
QStringList writeFirstRecords(TData &data, const FirstRecords &first)
{
    QStringList done;
    WriteCounterRow(data.Database, data.FirmNumber, CounterStart());
    if (first.withOwner)
        WriteOwner(data.Database, data.FirmNumber, first.owner);
    else
        done << QStringLiteral("Údaje vlastníka firmy %1 už v databázi jsou: ponechány").arg(data.FirmNumber);
    if (first.withUser)
        done << QStringLiteral("Přidán uživatel %1 s kódem %2").arg(first.user.login, AddUser(data, first.user));
    return done;
}

} // namespace

int runInit(const QStringList &arguments)
{
    const ToolArgs args = commandArgs(arguments, "init");
    if (const int wrong = checkArguments(args, "init"))
        return wrong;
    const bool demo = args.flag(QStringLiteral("--demo"));
    if (demo && (args.flag(QStringLiteral("--user")) || args.flag(QStringLiteral("--owner-name"))))
        return wrongArguments("init", QStringLiteral("--demo má své uživatele i vlastníka; --user a --owner-* "
                                                     "patří k firmě bez dema"));
    for (const char *option : {"--initials", "--name", "--group", "--password-stdin"})
        if (args.flag(QLatin1String(option)) && !args.flag(QStringLiteral("--user")))
            return wrongArguments("init", QStringLiteral("volba %1 patří k --user").arg(QLatin1String(option)));
    auto data = std::make_unique<TData>();
    if (const int read = readConfig(*data, args.value(QStringLiteral("--ini"))))
        return read;
    if (args.flag(QStringLiteral("--firm"))) {
        try {
            data->FirmNumber = CheckedFirmNumber(args.value(QStringLiteral("--firm")));
        } catch (const ConversionError &e) {
            return wrongArguments("init", e.text());
        }
    }
    data->SetTableNames();

    QString createdFile;
    try {
        // The folders the program reads and writes, as the package's start script makes them.
        for (const QString &folder : CreateConfiguredFolders(*data))
            printOut(QStringLiteral("Vytvořen adresář %1").arg(folder));
        const store::ConnectionParams params = ConnectionParamsFor(*data);
        if (params.kind == store::ConnectionParams::Kind::SQLite && !QFileInfo::exists(params.sqliteFile)) {
            createSQLiteFile(params.sqliteFile);
            createdFile = params.sqliteFile;
        }
        store::Database &db = data->Database;
        // Tables are replaced only under no other station.
        if (args.flag(QStringLiteral("--force")))
            ConnectAlone(db, params);
        else
            db.Connect(params);
        FirstRecords first;
        if (!demo && !gatherFirstRecords(*data, args, first))
            throw Refused();
        store::Transaction transaction(db);
        const FirmSchemaResult schema = CreateFirmSchema(db, data->FirmNumber, args.flag(QStringLiteral("--force")));
        const DemoSummary demoSummary =
            demo ? LoadDemo(db, data->FirmNumber, GetWindowsUserName(), QDate::currentDate()) : DemoSummary();
        const QStringList written = demo ? QStringList() : writeFirstRecords(*data, first);
        transaction.commit();
        printSchema(schema);
        for (const QString &line : written)
            printOut(line);
        if (demo)
            printDemo(demoSummary);
        printOut(QStringLiteral("Firma %1 je připravena").arg(data->FirmNumber));
        return 0;
    } catch (const Refused &) {
        // The reason is on stderr.
    } catch (const std::exception &e) {
        const auto *app = dynamic_cast<const AppError *>(&e);
        printErr(QStringLiteral("podklady-db init: %1").arg(app ? app->text() : QString::fromLocal8Bit(e.what())));
    }
    // A database file this run created holds nothing useful now; without it the
    // program keeps reporting the database as missing, which it is.
    data->Database.Disconnect();
    if (!createdFile.isEmpty())
        QFile::remove(createdFile);
    return 1;
}
