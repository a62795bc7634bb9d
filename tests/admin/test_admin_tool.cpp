// The administrator's commands of podklady-db run as processes on a shop of each engine:
// users who then log in, the firms of a database, init without the demo, the lock
// commands, backup while another process imports, restore, and a firm copied from SQLite
// to PostgreSQL and back.

#include "admin_fixture.h"
#include "podklady_dbf_writer.h"
#include "recordingprompter.h"

#include "app/login.h"
#include "store/sqlite_file.h"
#include "store/tables/index_names.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace ix = store::tables::index;

using storetest::Backend;
using namespace admintest;

namespace {

// Logs in on a fresh station of the shop: the outcome and the user's code.
std::pair<LoginOutcome, QString> logIn(const Shop &shop, const QString &logOnName, ScriptedDialog &dialog)
{
    RecordingPrompter messages;
    auto data = shop.station();
    const LoginOutcome outcome = Login(*data, dialog, logOnName);
    return {outcome, data->UserCode};
}

class AdminTool : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override { STORETEST_REQUIRE_ENGINE(GetParam()); }
};

TEST_P(AdminTool, UsersAddedByTheToolLogInAutomaticallyAndByTheDialog)
{
    Shop shop(GetParam());
    const ToolRun init = shop.initFirm();
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    EXPECT_TRUE(init.out.contains(QStringLiteral("Přidán uživatel SPRAVCE s kódem 001"))) << init.out.toStdString();

    // Stored as the login compares it (capitals, accented letters too), the next code,
    // the full name cut to its 20 characters with a word about it.
    ToolRun add = shop.tool({QStringLiteral("user"), QStringLiteral("add"), QStringLiteral("účetní"),
                             QStringLiteral("--initials"), QStringLiteral("ÚJ"), QStringLiteral("--name"),
                             QStringLiteral("Nováková Jana, Ing. ze skladu"), QStringLiteral("--group"),
                             QStringLiteral("ADM"), QStringLiteral("--password-stdin")},
                            "Heslo1\n");
    ASSERT_EQ(add.exitCode, 0) << add.err.toStdString();
    EXPECT_EQ(add.out, QStringLiteral("Přidán uživatel ÚČETNÍ s kódem 002\n"));
    EXPECT_TRUE(add.err.contains(QStringLiteral("Jméno zkráceno na 20 znaků: Nováková Jana, Ing. "))) << add.err.toStdString();

    // Refused, each with its reason, and nothing written.
    struct Refusal {
        QStringList args;
        QByteArray input;
        const char *reason;
    };
    const Refusal refusals[] = {
        {{QStringLiteral("add"), QStringLiteral("spravce"), QStringLiteral("--initials"), QStringLiteral("XY"),
          QStringLiteral("--password-stdin")}, "x\n", "Uživatel SPRAVCE už existuje"},
        {{QStringLiteral("add"), QStringLiteral("jedenactzn1"), QStringLiteral("--initials"), QStringLiteral("XY"),
          QStringLiteral("--password-stdin")}, "x\n", "má 11 znaků, vejde se nejvýš 10"},
        {{QStringLiteral("add"), QStringLiteral("eva"), QStringLiteral("--initials"), QStringLiteral("EVA"),
          QStringLiteral("--password-stdin")}, "x\n", "Iniciály EVA mají 3 znaků"},
        {{QStringLiteral("add"), QStringLiteral("eva"), QStringLiteral("--password-stdin")}, "x\n", "Iniciály chybí"},
        {{QStringLiteral("add"), QStringLiteral("eva"), QStringLiteral("--initials"), QStringLiteral("EV"),
          QStringLiteral("--password-stdin")}, "01234567890\n", "Heslo má 11 znaků"},
        {{QStringLiteral("add"), QStringLiteral("eva"), QStringLiteral("--initials"), QStringLiteral("EV")}, {},
         "--password-stdin"},
        {{QStringLiteral("passwd"), QStringLiteral("nikdo"), QStringLiteral("--password-stdin")}, "x\n",
         "Uživatel NIKDO neexistuje"},
        {{QStringLiteral("remove"), QStringLiteral("nikdo")}, {}, "Uživatel NIKDO neexistuje"},
    };
    for (const Refusal &r : refusals) {
        SCOPED_TRACE(r.reason);
        const ToolRun run = shop.tool(QStringList{QStringLiteral("user")} + r.args, r.input);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(r.reason))) << run.err.toStdString();
    }
    EXPECT_EQ(shop.tool({QStringLiteral("user"), QStringLiteral("delete"), QStringLiteral("x")}).exitCode, 64);
    const ToolRun list = shop.tool({QStringLiteral("user"), QStringLiteral("list")});
    EXPECT_EQ(list.out, QStringLiteral("001\tSPRAVCE\tSP\t\tSprávce Karel\n"
                                       "002\tÚČETNÍ\tÚJ\tADM\tNováková Jana, Ing. \n"));

    // The log-on name in small letters finds the user without a dialog; the dialog takes
    // the other name with its password in any case of a–z.
    ScriptedDialog unused{QString(), QString()};
    auto [auto1, code1] = logIn(shop, QStringLiteral("účetní"), unused);
    EXPECT_EQ(auto1, LoginOutcome::LoggedIn);
    EXPECT_EQ(code1, QStringLiteral("002"));
    EXPECT_EQ(unused.shown, 0);
    ScriptedDialog typed(QStringLiteral("spravce"), QStringLiteral(" TAJNE "));
    auto [byDialog, code2] = logIn(shop, QStringLiteral("pokladni"), typed);
    EXPECT_EQ(byDialog, LoginOutcome::LoggedIn);
    EXPECT_EQ(code2, QStringLiteral("001"));
    EXPECT_EQ(typed.shown, 1);

    // A new password replaces the old one.
    ToolRun passwd = shop.tool({QStringLiteral("user"), QStringLiteral("passwd"), QStringLiteral("Spravce"),
                                QStringLiteral("--password-stdin")},
                               "nove\n");
    ASSERT_EQ(passwd.exitCode, 0) << passwd.err.toStdString();
    ScriptedDialog oldPassword(QStringLiteral("SPRAVCE"), QStringLiteral("tajne"));
    EXPECT_EQ(logIn(shop, QStringLiteral("pokladni"), oldPassword).first, LoginOutcome::Terminate);
    ScriptedDialog newPassword(QStringLiteral("SPRAVCE"), QStringLiteral("nove"));
    EXPECT_EQ(logIn(shop, QStringLiteral("pokladni"), newPassword).first, LoginOutcome::LoggedIn);

    // Removed while signed in: allowed, and said so; the next start asks by the dialog.
    auto signedIn = shop.station();
    ToolRun remove = shop.tool({QStringLiteral("user"), QStringLiteral("remove"), QStringLiteral("účetní")});
    ASSERT_EQ(remove.exitCode, 0) << remove.err.toStdString();
    EXPECT_TRUE(remove.out.contains(QStringLiteral("Je-li právě přihlášen"))) << remove.out.toStdString();
    ScriptedDialog cancelled(QStringLiteral("ÚČETNÍ"), QStringLiteral("Heslo1"));
    EXPECT_EQ(logIn(shop, QStringLiteral("účetní"), cancelled).first, LoginOutcome::Terminate);
    EXPECT_EQ(cancelled.shown, 1);
}

TEST_P(AdminTool, FirmsListsOwnerDocumentsAndNewestDate)
{
    Shop shop(GetParam());
    ASSERT_EQ(shop.initFirm().exitCode, 0);
    const ToolRun demo = shop.tool({QStringLiteral("init"), QStringLiteral("--firm"), QStringLiteral("0002"),
                                    QStringLiteral("--demo")});
    ASSERT_EQ(demo.exitCode, 0) << demo.err.toStdString();

    auto data = FirmDataModule(shop.params(), QStringLiteral("0002"));
    store::Table &pod = data->ffPodklHlav;
    pod.Open();
    pod.SetIndexName(ix::ffPodklHlav::DO1);
    const qint64 documents = pod.RecordCount();
    pod.Last();
    const QString newest = data->ffPodklHlavHLA_DAT.AsDate().toString(QStringLiteral("dd.MM.yyyy"));
    pod.Close();
    ASSERT_GT(documents, 0);

    const ToolRun firms = shop.tool({QStringLiteral("firms")});
    ASSERT_EQ(firms.exitCode, 0) << firms.err.toStdString();
    // The demo keeps the owner table the first firm filled: the second firm has no owner.
    EXPECT_EQ(firms.out, QStringLiteral("0001\tŽelezářství U Mostu\t0 podkladů\t-\n"
                                        "0002\t(vlastník neuveden)\t%1 podkladů\tnejnovější %2\n")
                             .arg(documents)
                             .arg(newest));
}

TEST(AdminServer, BackupAndRestorePrintTheServersTools)
{
    STORETEST_REQUIRE_ENGINE(Backend::PostgreSQL);
    Shop shop(Backend::PostgreSQL);
    ASSERT_EQ(shop.initFirm().exitCode, 0);
    const store::ConnectionParams &p = shop.params();
    const ToolRun backup = shop.tool({QStringLiteral("backup"), QStringLiteral("/tmp/obchod.dump")});
    EXPECT_EQ(backup.exitCode, 1);
    EXPECT_EQ(backup.out, QStringLiteral("pg_dump -h %1 -p %2 -U %3 -Fc -f /tmp/obchod.dump %4\n")
                              .arg(p.host).arg(p.port).arg(p.user, p.database));
    const ToolRun restore = shop.tool({QStringLiteral("restore"), QStringLiteral("/tmp/obchod.dump")});
    EXPECT_EQ(restore.exitCode, 1);
    EXPECT_EQ(restore.out, QStringLiteral("pg_restore -h %1 -p %2 -U %3 --clean --if-exists -d %4 /tmp/obchod.dump\n")
                               .arg(p.host).arg(p.port).arg(p.user, p.database));
}

INSTANTIATE_TEST_SUITE_P(Engines, AdminTool, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

TEST(AdminInit, AFirmWithoutUserOrOwnerIsRefusedSayingHow)
{
    Shop shop(Backend::SQLite);
    ToolRun run = shop.tool({QStringLiteral("init"), QStringLiteral("--owner-name"), QStringLiteral("Obchod")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("--user LOGIN --initials XY --name"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(shop.params().sqliteFile));

    run = shop.tool({QStringLiteral("init"), QStringLiteral("--user"), QStringLiteral("x"), QStringLiteral("--initials"),
                     QStringLiteral("XY"), QStringLiteral("--password-stdin")},
                    "x\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("--owner-name"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(shop.params().sqliteFile));

    // One rule for firm numbers, the configuration's.
    run = shop.tool({QStringLiteral("init"), QStringLiteral("--firm"), QStringLiteral("ab12"), QStringLiteral("--demo")});
    EXPECT_EQ(run.exitCode, 64);
    EXPECT_TRUE(run.err.contains(QStringLiteral("'ab12' není platné číslo firmy"))) << run.err.toStdString();

    QFile::remove(shop.ini());
    run = shop.tool({QStringLiteral("init"), QStringLiteral("--demo")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(shop.ini())) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("podklady-db config --template"))) << run.err.toStdString();
}

TEST(AdminLocks, SummariesPaddedKeysAndTheHoldingStationNamed)
{
    Shop shop(Backend::SQLite);
    ASSERT_EQ(shop.initFirm().exitCode, 0);
    EXPECT_EQ(shop.tool({QStringLiteral("locks")}).out, QStringLiteral("Žádné zámky: žádná stanice nic nedrží\n"));
    const ToolRun check = shop.tool({QStringLiteral("check")});
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ(check.out, QStringLiteral("Vše souhlasí: 0 karet a 0 příjemek porovnáno se skladovým deníkem (0 pohybů)\n"));

    RecordingPrompter messages;
    auto a = shop.station(QStringLiteral("10.0.0.7"));
    ASSERT_TRUE(a->LockRecord(QStringLiteral("POD"), QStringLiteral("0000000042")));
    ASSERT_TRUE(a->LockRecord(QStringLiteral("SOR"), QStringLiteral("000042")));

    ToolRun run = shop.tool({QStringLiteral("unlock"), QStringLiteral("SOR"), QStringLiteral("42"),
                             QStringLiteral("--station"), QStringLiteral("10.9.9.9")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Zámek SOR 000042 drží stanice 10.0.0.7, ne 10.9.9.9")))
        << run.err.toStdString();
    run = shop.tool({QStringLiteral("unlock"), QStringLiteral("SOR"), QStringLiteral("43")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Zámek SOR 000043 neexistuje"))) << run.err.toStdString();

    // Numbers typed short are padded as the program stores them.
    EXPECT_EQ(shop.tool({QStringLiteral("unlock"), QStringLiteral("POD"), QStringLiteral("42")}).exitCode, 0);
    EXPECT_EQ(shop.tool({QStringLiteral("unlock"), QStringLiteral("SOR"), QStringLiteral(" 42")}).exitCode, 0);
    EXPECT_TRUE(shop.tool({QStringLiteral("locks")}).out.startsWith(QStringLiteral("Žádné zámky")));
}

// A backup taken while another process imports is a sound database whose cards agree
// with their journal (each imported line is whole in it or absent).
TEST(AdminBackup, WhileAnotherProcessImports)
{
    Shop shop(Backend::SQLite);
    ASSERT_EQ(shop.tool({QStringLiteral("init"), QStringLiteral("--demo")}).exitCode, 0);
    auto data = shop.station();
    QVector<DbfLine> lines;
    store::Table &skl = data->ffSklad;
    skl.Open();
    for (skl.First(); !skl.Eof(); skl.Next())
        lines.append({data->ffSkladSKL_KAV.AsString(), data->ffSkladSKL_IND.AsString(), 1, QStringLiteral("P1")});
    skl.Close();
    while (lines.size() < 1500)
        lines += lines.mid(0, std::min<qsizetype>(lines.size(), 1500 - lines.size()));
    store::Table &dod = data->ffDodavatele;
    dod.Open();
    dod.First();
    const QString supplier = data->ffDodavateleDOD_KOD.AsString();
    dod.Close();
    const qint64 entriesBefore = RowCount(data->ffDenik);
    data.reset();
    ASSERT_TRUE(QDir().mkpath(shop.path(QStringLiteral("Import"))));
    writePodkladyDbf(shop.path(QStringLiteral("Import/Pod0000.dbf")), lines);

    ASSERT_TRUE(QDir().mkpath(shop.path(QStringLiteral("zaloha"))));
    QProcess import;
    import.setWorkingDirectory(shop.path(QString()));
    import.start(QStringLiteral(PODKLADY_DB), {QStringLiteral("import"), QStringLiteral("--prepared"), QStringLiteral("P1"),
                                                QStringLiteral("--supplier"), supplier, QStringLiteral("--ini"), shop.ini()});
    ASSERT_TRUE(import.waitForStarted());
    int duringImport = 0;
    for (int i = 0; i < 50 && import.state() == QProcess::Running; ++i) {
        const ToolRun backup = shop.tool({QStringLiteral("backup"), shop.path(QStringLiteral("zaloha/kopie.sqlite"))});
        ASSERT_EQ(backup.exitCode, 0) << backup.err.toStdString();
        duringImport += import.state() == QProcess::Running;
        if (duringImport >= 3)
            break;
    }
    ASSERT_TRUE(import.waitForFinished(300000));
    EXPECT_EQ(import.exitCode(), 0) << import.readAllStandardError().toStdString();
    EXPECT_GE(duringImport, 1) << "no backup was taken while the import ran";

    // The copy of a moment in the middle: sound, and consistent by `check`.
    EXPECT_EQ(store::CheckSQLiteFile(shop.path(QStringLiteral("zaloha/kopie.sqlite"))).integrity, QStringLiteral("ok"));
    {
        QFile f(shop.path(QStringLiteral("zaloha/Kramora.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[Kramora]\r\nAliasName=kopie\r\nCestaData=%1\r\n").arg(shop.path(QStringLiteral("zaloha"))).toUtf8());
    }
    const ToolRun check = runProgram(QStringLiteral(PODKLADY_DB),
                                     {QStringLiteral("check"), QStringLiteral("--ini"), shop.path(QStringLiteral("zaloha/Kramora.ini"))});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString() << check.err.toStdString();
    auto copy = FirmDataModule([&] {
        store::ConnectionParams p;
        p.sqliteFile = shop.path(QStringLiteral("zaloha/kopie.sqlite"));
        return p;
    }(), QStringLiteral("0001"));
    const qint64 copied = RowCount(copy->ffDenik);
    EXPECT_GE(copied, entriesBefore);
    EXPECT_LE(copied, entriesBefore + lines.size());

    // After the import a backup holds every line of it.
    ASSERT_EQ(shop.tool({QStringLiteral("backup"), shop.path(QStringLiteral("zaloha/kopie.sqlite"))}).exitCode, 0);
    copy = FirmDataModule([&] {
        store::ConnectionParams p;
        p.sqliteFile = shop.path(QStringLiteral("zaloha/kopie.sqlite"));
        return p;
    }(), QStringLiteral("0001"));
    auto live = shop.station();
    EXPECT_EQ(RowCount(copy->ffDenik), RowCount(live->ffDenik));
    EXPECT_EQ(shop.tool({QStringLiteral("backup"), shop.params().sqliteFile}).exitCode, 1);
}

// Restore is refused while a station holds a lock or has the database open; it keeps the
// database it replaces.
TEST(AdminRestore, RefusedWhileALockIsHeldOrTheFileIsInUse)
{
    Shop shop(Backend::SQLite);
    ASSERT_EQ(shop.initFirm().exitCode, 0);
    const QString saved = shop.path(QStringLiteral("zaloha.sqlite"));
    ASSERT_EQ(shop.tool({QStringLiteral("backup"), saved}).exitCode, 0);
    ASSERT_EQ(shop.tool({QStringLiteral("user"), QStringLiteral("add"), QStringLiteral("eva"), QStringLiteral("--initials"),
                         QStringLiteral("EV"), QStringLiteral("--password-stdin")},
                        "x\n")
                  .exitCode,
              0);

    RecordingPrompter messages;
    {
        auto station = shop.station();
        ASSERT_TRUE(station->LockRecord(QStringLiteral("POD"), QStringLiteral("0000000001")));
        station->Database.Disconnect();
    }
    ToolRun run = shop.tool({QStringLiteral("restore"), saved});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Stanice drží 1 zámků"))) << run.err.toStdString();
    ASSERT_EQ(shop.tool({QStringLiteral("unlock"), QStringLiteral("POD"), QStringLiteral("1")}).exitCode, 0);

    auto open = shop.station();
    run = shop.tool({QStringLiteral("restore"), saved});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("má otevřenou některý program"))) << run.err.toStdString();
    open.reset();

    EXPECT_EQ(shop.tool({QStringLiteral("restore"), shop.path(QStringLiteral("chybi.sqlite"))}).exitCode, 1);
    run = shop.tool({QStringLiteral("restore"), saved});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString kept = run.out.section(QStringLiteral("Nahrazená databáze zůstala jako "), 1).trimmed();
    ASSERT_FALSE(kept.isEmpty()) << run.out.toStdString();
    EXPECT_EQ(shop.tool({QStringLiteral("user"), QStringLiteral("list")}).out.count(u'\n'), 1);
    store::ConnectionParams keptParams;
    keptParams.sqliteFile = kept;
    auto replaced = FirmDataModule(keptParams, QStringLiteral("0001"));
    EXPECT_EQ(RowCount(replaced->ffUzivatele), 2);
}

// SQLite → PostgreSQL → SQLite: every firm table and the shared ones arrive whole, the
// target refuses a second copy without --force, and the deliveries overview's text file
// is the same byte for byte in all three.
TEST(AdminCopy, SQLiteToPostgreSQLAndBack)
{
    STORETEST_REQUIRE_ENGINE(Backend::PostgreSQL);
    Shop local(Backend::SQLite);
    Shop server(Backend::PostgreSQL);
    Shop snapshot(Backend::SQLite, QStringLiteral("snimek"));
    ASSERT_EQ(local.tool({QStringLiteral("init"), QStringLiteral("--demo")}).exitCode, 0);

    ToolRun run = local.tool({QStringLiteral("copy"), QStringLiteral("--to"), server.ini()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("\nKontrola cíle: Vše souhlasí"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Usr0000\t"))) << run.out.toStdString();

    run = local.tool({QStringLiteral("copy"), QStringLiteral("--to"), server.ini()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Firma 0001 už v databázi je"))) << run.err.toStdString();
    run = local.tool({QStringLiteral("copy"), QStringLiteral("--to"), server.ini(), QStringLiteral("--force")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(local.tool({QStringLiteral("copy"), QStringLiteral("--to"), local.ini()}).exitCode, 1);

    run = server.tool({QStringLiteral("copy"), QStringLiteral("--to"), snapshot.ini()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    // The copies go on numbering after the largest record id they received.
    auto station = server.station();
    AppendRow(station->ffDenik, {{station->ffDenikDEN_KAV, "999999"}});

    QByteArray first;
    for (const Shop *shop : {&local, &server, &snapshot}) {
        const ToolRun overview = shop->tool({QStringLiteral("overview"), QStringLiteral("--from"),
                                             QStringLiteral("01.01.2000"), QStringLiteral("--to"),
                                             QStringLiteral("31.12.2099")});
        ASSERT_EQ(overview.exitCode, 0) << overview.err.toStdString();
        QFile text(shop->path(QStringLiteral("PrehledDodavek.txt")));
        ASSERT_TRUE(text.open(QIODevice::ReadOnly));
        const QByteArray bytes = text.readAll();
        if (first.isEmpty())
            first = bytes;
        EXPECT_EQ(bytes, first) << shop->ini().toStdString();
    }
    EXPECT_GT(first.size(), 1000);
}

} // namespace
