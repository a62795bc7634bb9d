// podklady-db init run as a process against a real database of each engine: the schema
// of a firm with every index, the refusal to touch an existing firm without --force,
// and a demo shop whose stock, journal and totals agree.

#include "store_test_support.h"

#include "core/osinfo.h"
#include "core/textutil.h"
#include "store/tables/column_names.h"
#include "store/tables/tables.h"
#include "store/tdata.h"
#include "tool_run.h"
#include "store/tables/index_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <cmath>
#include <memory>

namespace ix = store::tables::index;

using storetest::Backend;
using storetest::TestDatabase;

namespace {

class InitTool : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        ASSERT_TRUE(dir.isValid());
        QString ini = QStringLiteral("[Kramora]\r\n");
        if (GetParam() == Backend::SQLite) {
            // The tool creates the database file, and its directory.
            params.kind = store::ConnectionParams::Kind::SQLite;
            params.sqliteFile = dir.filePath(QStringLiteral("data/demo.sqlite"));
            ini += QStringLiteral("AliasName=demo\r\nCestaData=%1\r\n").arg(dir.filePath(QStringLiteral("data")));
        } else {
            db = std::make_unique<TestDatabase>(GetParam());
            params = db->params();
            ini += QStringLiteral("Protocol=TCPIP\r\nHost=%1:%2\r\nAliasName=%3\r\nDbUser=%4\r\n")
                       .arg(params.host).arg(params.port).arg(params.database, params.user);
        }
        QFile f(dir.filePath(QStringLiteral("Kramora.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ini.toUtf8());
    }

    ToolRun init(const QStringList &options, const QByteArray &input = {})
    {
        return runProgram(QStringLiteral(PODKLADY_DB),
                          QStringList{QStringLiteral("init"), QStringLiteral("--ini"), dir.filePath(QStringLiteral("Kramora.ini"))}
                              + options,
                          120000, {}, input);
    }

    // The number of named indexes the engine holds for a table (its primary key aside).
    int indexCount(const QString &table)
    {
        if (GetParam() == Backend::SQLite) {
            sqlite3 *h = nullptr;
            sqlite3_open_v2(params.sqliteFile.toUtf8().constData(), &h, SQLITE_OPEN_READONLY, nullptr);
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(h, "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 AND sql IS NOT NULL",
                               -1, &st, nullptr);
            const QByteArray name = table.toUtf8();
            sqlite3_bind_text(st, 1, name.constData(), -1, SQLITE_TRANSIENT);
            const int n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
            sqlite3_finalize(st);
            sqlite3_close(h);
            return n;
        }
        const QByteArray conninfo = QStringLiteral("host=%1 port=%2 dbname=%3 user=%4")
                                        .arg(params.host).arg(params.port).arg(params.database, params.user)
                                        .toUtf8();
        PGconn *c = PQconnectdb(conninfo.constData());
        const QByteArray name = table.toUtf8();
        const char *values[] = {name.constData()};
        PGresult *r = PQexecParams(c,
                                   "SELECT count(*) FROM pg_index i JOIN pg_class t ON t.oid = i.indrelid "
                                   "WHERE t.relname = $1 AND NOT i.indisprimary",
                                   1, nullptr, values, nullptr, nullptr, 0);
        const int n = PQresultStatus(r) == PGRES_TUPLES_OK ? QByteArray(PQgetvalue(r, 0, 0)).toInt() : -1;
        PQclear(r);
        PQfinish(c);
        return n;
    }

    QTemporaryDir dir;
    std::unique_ptr<TestDatabase> db;
    store::ConnectionParams params;
};

TEST_P(InitTool, CreatesEveryTableWithItsIndexesAndRefusesAnExistingFirm)
{
    // A firm without the demo: its owner and first user come with it.
    const ToolRun first = init(QStringList{QStringLiteral("--firm"), QStringLiteral("0005")} + InitFirmArguments(),
                               kInitFirmInput);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(QStringLiteral("Vytvořena tabulka POD0005")));

    store::Database check;
    check.Connect(params);
    for (const store::TableDef *def : store::tables::schemaTables()) {
        const QString name = def->nameForFirm(QStringLiteral("0005"));
        ASSERT_TRUE(check.TableExists(name)) << name.toStdString();
        EXPECT_EQ(indexCount(name), def->indexes.size()) << name.toStdString();
    }
    EXPECT_FALSE(check.TableExists(QStringLiteral("Fak0005")));  // not used: not created

    // A row in the firm's table survives a refused second run...
    {
        store::Table pod(&store::tables::podklHlav());
        pod.SetDatabase(&check);
        pod.SetTableName(QStringLiteral("POD0005"));
        pod.Open();
        pod.Append();
        pod[store::tables::column::ffPodklHlav::HLA_DO1].SetAsString(QStringLiteral("0000000001"));
        pod.Post();
    }
    const ToolRun again = init({QStringLiteral("--firm"), QStringLiteral("0005"), QStringLiteral("--demo")});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("Firma 0005 už v databázi je"))) << again.err.toStdString();
    store::Table pod(&store::tables::podklHlav());
    pod.SetDatabase(&check);
    pod.SetTableName(QStringLiteral("POD0005"));
    pod.Open();
    EXPECT_EQ(pod.RecordCount(), 1);
    pod.Close();

    // ...and --force replaces the firm's tables, keeping the shared ones (with the owner
    // and the user the first run wrote).
    pod.Close();
    check.Disconnect();
    const ToolRun forced = init({QStringLiteral("--firm"), QStringLiteral("0005"), QStringLiteral("--force")});
    check.Connect(params);
    ASSERT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_TRUE(forced.out.contains(QStringLiteral("Smazána tabulka POD0005")));
    EXPECT_FALSE(forced.out.contains(QStringLiteral("Vytvořena tabulka CEN0000")));
    pod.Open();
    EXPECT_TRUE(pod.IsEmpty());
    pod.Close();
    // The owner and the user this firm wrote into the shared tables go with it: the
    // demo of the next test fills them only on a database that has none.
    check.DropTable(QStringLiteral("Usr0000"));
    check.DropTable(QStringLiteral("Vla0000"));
}

TEST_P(InitTool, DemoKeepsStockJournalAndTotalsInStep)
{
    const ToolRun run = init({QStringLiteral("--firm"), QStringLiteral("0006"), QStringLiteral("--demo")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    TData data;
    data.FirmNumber = QStringLiteral("0006");
    data.SetTableNames();
    data.Database.Connect(params);
    store::Table &sor = data.ffSortiment, &skl = data.ffSklad, &den = data.ffDenik;
    sor.Open();
    skl.Open();
    skl.SetIndexName(ix::ffSklad::KAV);
    den.Open();
    EXPECT_GE(sor.RecordCount(), 450);

    int stockCards = 0, serviceCards = 0, movedVariants = 0;
    QSet<double> rates;
    QSet<QString> units;
    for (sor.First(); !sor.Eof(); sor.Next()) {
        const QString card = data.ffSortimentSOR_KAV.AsString();
        rates.insert(data.ffSortimentSOR_DAN.AsFloat());
        units.insert(data.ffSortimentSOR_MJE.AsString());
        EXPECT_GT(data.ffSortimentSOR_PC1.AsFloat(), 0) << card.toStdString();
        if (!data.ffSortimentSOR_SKL.AsBoolean()) {
            ++serviceCards;
            EXPECT_EQ(data.ffSortimentSOR_STA.AsFloat(), 0);
            den.SetIndexName(ix::ffDenik::KAV);
            den.SetRange({card}, {card});
            for (den.First(); !den.Eof(); den.Next())
                EXPECT_EQ(data.ffDenikDEN_ZAS.AsFloat(), 0);
            continue;
        }
        ++stockCards;
        double cardStock = 0;
        skl.SetRange({card, QStringLiteral("000")}, {card, QStringLiteral("999")});
        EXPECT_FALSE(skl.IsEmpty()) << card.toStdString();
        for (skl.First(); !skl.Eof(); skl.Next()) {
            const QString variant = data.ffSkladSKL_IND.AsString();
            const double stock = data.ffSkladSKL_STA.AsFloat();
            cardStock += stock;
            double moved = 0;
            den.SetIndexName(ix::ffDenik::KAV);
            den.SetRange({card, variant}, {card, variant});
            for (den.First(); !den.Eof(); den.Next())
                moved += data.ffDenikDEN_KUS.AsFloat();
            EXPECT_DOUBLE_EQ(stock, data.ffSkladSKL_POC.AsFloat() + moved) << card.toStdString();
            den.SetIndexName(ix::ffDenik::STA);
            if (den.FindKey({card, variant})) {
                ++movedVariants;
                EXPECT_DOUBLE_EQ(data.ffDenikDEN_ZAS.AsFloat(), stock) << card.toStdString();
            }
        }
        EXPECT_DOUBLE_EQ(data.ffSortimentSOR_STA.AsFloat(), cardStock) << card.toStdString();
    }
    EXPECT_GT(stockCards, 400);
    EXPECT_GT(serviceCards, 0);
    // Whole units, none cut to the two characters of SOR_MJE.
    EXPECT_EQ(units, (QSet<QString>{QStringLiteral("ks"), QStringLiteral("h")}));
    EXPECT_GT(movedVariants, 100);
    EXPECT_EQ(rates, QSet<double>({22, 5, 0}));

    // Every receipt has its movements of operation "001"; the counter follows the last.
    store::Table &prd = data.ffDodavky;
    prd.Open();
    const qint64 receipts = prd.RecordCount();
    EXPECT_GE(receipts, 50);
    den.CancelRange();
    den.SetIndexName(ix::ffDenik::DOK);
    for (prd.First(); !prd.Eof(); prd.Next()) {
        const QString number = data.ffDodavkyHLA_DO1.AsString();
        ASSERT_TRUE(den.FindKey({number})) << number.toStdString();
        EXPECT_EQ(data.ffDenikDEN_OPE.AsString(), QStringLiteral("001"));
    }
    data.ffCiselnik.Open();
    EXPECT_EQ(ZeroPad(data.ffCiselnikCIS_PRD.AsString(), 10),
              ZeroPad(QString::number(receipts), 10));

    // Source documents: the header totals are the sums of their items.
    store::Table &pod = data.ffPodklHlav, &pop = data.ffPodklPol;
    pod.Open();
    pop.Open();
    pop.SetIndexName(ix::ffPodklPol::DO1);
    EXPECT_GE(pod.RecordCount(), 10);
    for (pod.First(); !pod.Eof(); pod.Next()) {
        const QString number = data.ffPodklHlavHLA_DO1.AsString();
        pop.SetRange({number}, {number});
        double foreign = 0, stock = 0;
        int items = 0;
        for (pop.First(); !pop.Eof(); pop.Next(), ++items) {
            foreign += data.ffPodklPolPOP_CCC.AsFloat();
            stock += data.ffPodklPolPOP_NCC.AsFloat();
            EXPECT_DOUBLE_EQ(data.ffPodklPolPOP_KUS.AsFloat() * data.ffPodklPolPOP_BAL.AsFloat(),
                             data.ffPodklPolPOP_CKU.AsFloat());
        }
        EXPECT_GT(items, 0) << number.toStdString();
        EXPECT_NEAR(data.ffPodklHlavHLA_EUR.AsFloat(), foreign, 1e-6) << number.toStdString();
        EXPECT_NEAR(data.ffPodklHlavHLA_NCA.AsFloat(), stock, 1e-6) << number.toStdString();
    }

    // The person running the tool starts the program without a dialog.
    const QString login = UpperLocale(TrimControl(GetWindowsUserName()).left(10));
    data.ffUzivatele.Open();
    EXPECT_TRUE(data.ffUzivatele.Locate(data.ffUzivateleUSR_LNA, login)) << login.toStdString();
}

TEST(InitToolInput, BadFirmIsRefusedAndLeavesNoDatabaseFile)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("Kramora.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("[Kramora]\nAliasName=x\nCestaData=%1/data\n").arg(dir.path()).toUtf8());
    f.close();
    const auto run = [&](const QStringList &args) {
        QProcess p;
        p.start(QStringLiteral(PODKLADY_DB), QStringList{QStringLiteral("init")} + args);
        p.waitForFinished(60000);
        return std::pair(p.exitCode(), QString::fromUtf8(p.readAllStandardError()));
    };
    const auto [bad, badErr] = run({QStringLiteral("--ini"), f.fileName(), QStringLiteral("--firm"), QStringLiteral("00/1")});
    EXPECT_EQ(bad, 64);
    EXPECT_TRUE(badErr.contains(QStringLiteral("není platné číslo firmy"))) << badErr.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("data/x.sqlite"))));

    EXPECT_EQ(run({QStringLiteral("--ini"), f.fileName(), QStringLiteral("--demi")}).first, 64);
    EXPECT_EQ(run({QStringLiteral("--ini"), dir.filePath(QStringLiteral("none/Kramora.ini"))}).first, 2);
}

// init makes the folders the configuration names (the export's among them), so that an
// export right after it finds its folder; folders that exist are left as they are.
TEST(InitToolInput, CreatesTheFoldersOfTheConfiguration)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("Kramora.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("[Kramora]\nAliasName=x\nCestaData=%1/data\nCestaExport=%1/vystup/xml\n"
                           "CestaImport=%1/prijem\n").arg(dir.path()).toUtf8());
    f.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("prijem")));
    QProcess p;
    p.start(QStringLiteral(PODKLADY_DB), {QStringLiteral("init"), QStringLiteral("--demo"), QStringLiteral("--ini"), f.fileName()});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString &folder : {dir.filePath(QStringLiteral("data")), dir.filePath(QStringLiteral("Private/")),
                                  dir.filePath(QStringLiteral("vystup/xml"))}) {
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("Vytvořen adresář ") + folder)) << out.toStdString();
    }
    EXPECT_FALSE(out.contains(dir.filePath(QStringLiteral("prijem")))) << out.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("data/x.sqlite"))));
}

INSTANTIATE_TEST_SUITE_P(Engines, InitTool, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
