// podklady-db import and podklady-db check run as processes on a demo firm of each
// engine: a clean demo reports nothing; a journal entry deleted behind the program's back
// is reported, then repaired; a prepared delivery is imported into a new receipt, and its
// repetition is refused without --yes and imported again with it.

#include "firm_tables.h"
#include "podklady_dbf_writer.h"
#include "store_test_support.h"

#include "store/tdata.h"
#include "tool_ini.h"
#include "tool_run.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using storetest::Backend;
using storetest::TestDatabase;

namespace {

// What check prints when everything agrees: one line saying what it compared.
bool allAgrees(const ToolRun &run)
{
    return run.out.startsWith(QStringLiteral("Vše souhlasí: ")) && run.out.count(u'\n') == 1;
}

class StockTools : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("import")));
        if (GetParam() == Backend::SQLite) {
            params.kind = store::ConnectionParams::Kind::SQLite;
            params.sqliteFile = dir.filePath(QStringLiteral("data/demo.sqlite"));
        } else {
            db = std::make_unique<TestDatabase>(GetParam());
            params = db->params();
        }
        const QString ini = QStringLiteral("[Kramora]\r\nCestaImport=%1\r\n").arg(importDir()) + IniDatabaseKeys(params);
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ini.toUtf8());
        f.close();
        const ToolRun init = tool({QStringLiteral("init"), QStringLiteral("--demo"), QStringLiteral("--force")});
        ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();

        data = std::make_unique<TData>();
        data->FirmNumber = QStringLiteral("0001");
        data->SetTableNames();
        data->Database.Connect(params);
    }

    QString iniPath() const { return dir.filePath(QStringLiteral("Kramora.ini")); }
    QString importDir() const { return dir.filePath(QStringLiteral("import")) + QLatin1Char('/'); }

    ToolRun tool(const QStringList &args)
    {
        return runProgram(QStringLiteral(PODKLADY_DB), args + QStringList{QStringLiteral("--ini"), iniPath()}, 300000);
    }

    QTemporaryDir dir;
    std::unique_ptr<TestDatabase> db;
    store::ConnectionParams params;
    std::unique_ptr<TData> data;
};

TEST_P(StockTools, CheckReportsAJournalEntryDeletedBehindTheProgramsBackAndRepairsIt)
{
    const ToolRun clean = tool({QStringLiteral("check")});
    EXPECT_EQ(clean.exitCode, 0) << clean.err.toStdString();
    EXPECT_TRUE(allAgrees(clean)) << clean.out.toStdString();

    // The newest entry of some stock variant goes, its stock and its receipt's total stay.
    store::Table &den = data->ffDenik;
    den.Open();
    den.Last();
    const QString card = data->ffDenikDEN_KAV.AsString();
    const QString variant = data->ffDenikDEN_IND.AsString();
    const QString receipt = data->ffDenikDEN_DOK.AsString();
    const double quantity = data->ffDenikDEN_KUS.AsFloat();
    ASSERT_NE(quantity, 0.0);
    ASSERT_NE(data->ffDenikDEN_HNC.AsFloat(), 0.0);
    den.Delete();
    den.Close();

    const ToolRun found = tool({QStringLiteral("check")});
    EXPECT_EQ(found.exitCode, 1);
    const QString where = card + QLatin1Char('/') + variant + QLatin1Char('\t');
    const QString receiptLine = QStringLiteral("Příjemka ") + receipt + QLatin1Char('\t');
    const QStringList lines = found.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << found.out.toStdString();   // the card total agrees
    EXPECT_TRUE(lines[0].startsWith(where)) << found.out.toStdString();
    EXPECT_TRUE(lines[1].startsWith(receiptLine)) << found.out.toStdString();
    EXPECT_EQ(tool({QStringLiteral("check")}).out, found.out);   // nothing was changed

    // The cards are rebuilt and the receipt's totals set from the lines it has left.
    const ToolRun repaired = tool({QStringLiteral("check"), QStringLiteral("--repair")});
    EXPECT_EQ(repaired.exitCode, 0) << repaired.err.toStdString();
    EXPECT_TRUE(repaired.out.contains(where + QStringLiteral("opraveno"))) << repaired.out.toStdString();
    EXPECT_TRUE(repaired.out.contains(card + QStringLiteral("\topraveno"))) << repaired.out.toStdString();
    EXPECT_TRUE(repaired.out.contains(receiptLine + QStringLiteral("opraveno celkem v NC "))) << repaired.out.toStdString();
    const ToolRun after = tool({QStringLiteral("check")});
    EXPECT_EQ(after.exitCode, 0) << after.out.toStdString();
    EXPECT_TRUE(allAgrees(after)) << after.out.toStdString();
}

// Receipts and lines written apart, as an older program or another one left them: lines
// whose receipt does not exist, a receipt without lines, a receipt whose sale total lacks
// a line. The check lists each; the repair sets the totals of the receipt from its lines
// and creates and deletes nothing.
TEST_P(StockTools, CheckListsLinesWithoutReceiptAndReceiptsWithoutLinesAndRepairsOnlyTotals)
{
    store::Table &prd = data->ffDodavky;
    prd.Open();
    prd.First();
    const QString orphaned = data->ffDodavkyHLA_DO1.AsString();
    prd.Delete();   // its lines stay in the journal
    const QString shortOfSale = data->ffDodavkyHLA_DO1.AsString();
    const double sale = data->ffDodavkyHLA_PCA.AsFloat();
    prd.Edit();
    data->ffDodavkyHLA_PCA.SetAsFloat(sale - 100);
    prd.Post();
    prd.Append();
    data->ffDodavkyHLA_DO1.SetAsString(QStringLiteral("0000009999"));
    data->ffDodavkyHLA_NCA.SetAsFloat(0);
    data->ffDodavkyHLA_PCA.SetAsFloat(0);
    prd.Post();
    prd.Close();
    const qint64 receipts = RowCount(data->ffDodavky), entries = RowCount(data->ffDenik);

    const ToolRun found = tool({QStringLiteral("check")});
    EXPECT_EQ(found.exitCode, 1);
    const QStringList expected{
        QStringLiteral("Příjemka %1\tneexistuje, deník má ").arg(orphaned),
        QStringLiteral("Příjemka 0000009999\tnemá v deníku žádný řádek"),
        QStringLiteral("Příjemka %1\tcelkem v NC ").arg(shortOfSale),
    };
    const QStringList lines = found.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), expected.size()) << found.out.toStdString();
    for (const QString &start : expected)
        EXPECT_EQ(lines.filter(start).size(), 1) << start.toStdString() << "\n" << found.out.toStdString();

    const ToolRun repaired = tool({QStringLiteral("check"), QStringLiteral("--repair")});
    EXPECT_EQ(repaired.exitCode, 1) << repaired.err.toStdString();
    EXPECT_TRUE(repaired.out.contains(QStringLiteral("Příjemka %1\topraveno celkem v NC ").arg(shortOfSale)))
        << repaired.out.toStdString();
    EXPECT_EQ(RowCount(data->ffDodavky), receipts);
    EXPECT_EQ(RowCount(data->ffDenik), entries);
    prd.Open();
    ASSERT_TRUE(prd.Locate(data->ffDodavkyHLA_DO1, shortOfSale));
    EXPECT_NEAR(data->ffDodavkyHLA_PCA.AsFloat(), sale, 0.01 * entries);
    prd.Close();
    const QStringList left = tool({QStringLiteral("check")}).out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(left.size(), 2) << left.join(u'\n').toStdString();
    EXPECT_TRUE(left.filter(shortOfSale).isEmpty());
}

TEST_P(StockTools, CheckListsEachReceiptWhoseTotalDisagreesWithItsJournalLines)
{
    // Two receipts of the demo: one short of a line's stock value, one over by a haléř.
    store::Table &prd = data->ffDodavky;
    prd.Open();
    prd.First();
    QStringList changed;
    for (const double by : {-12.5, 0.01}) {
        changed << data->ffDodavkyHLA_DO1.AsString();
        prd.Edit();
        data->ffDodavkyHLA_NCA.SetAsFloat(data->ffDodavkyHLA_NCA.AsFloat() + by);
        prd.Post();
        prd.Next();
    }
    prd.Close();

    const ToolRun run = tool({QStringLiteral("check")});
    EXPECT_EQ(run.exitCode, 1);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
    for (const QString &receipt : changed)
        EXPECT_TRUE(run.out.contains(QStringLiteral("Příjemka ") + receipt + QStringLiteral("\tcelkem v NC ")))
            << run.out.toStdString();
    // The repair sets both from their lines, and lists each.
    const ToolRun repaired = tool({QStringLiteral("check"), QStringLiteral("--repair")});
    EXPECT_EQ(repaired.exitCode, 0) << repaired.err.toStdString();
    for (const QString &receipt : changed)
        EXPECT_TRUE(repaired.out.contains(QStringLiteral("Příjemka ") + receipt + QStringLiteral("\topraveno ")))
            << repaired.out.toStdString();
    EXPECT_TRUE(allAgrees(tool({QStringLiteral("check")})));
}

TEST_P(StockTools, ImportPostsIntoANewReceiptAndRefusesARepetitionWithoutYes)
{
    // A stock variant and a supplier of the demo.
    store::Table &skl = data->ffSklad;
    skl.Open();
    skl.First();
    const QString card = data->ffSkladSKL_KAV.AsString();
    const QString variant = data->ffSkladSKL_IND.AsString();
    skl.Close();
    store::Table &dod = data->ffDodavatele;
    dod.Open();
    dod.First();
    const QString supplier = data->ffDodavateleDOD_KOD.AsString();
    dod.Close();
    writePodkladyDbf(importDir() + QStringLiteral("Pod0000.dbf"),
                     {{card, variant, 4, "P7"}, {"999999", "001", 1, "P7"}, {card, variant, 9, "P8"}});
    ASSERT_TRUE(QFile::rename(importDir() + QStringLiteral("Pod0000.dbf"), importDir() + QStringLiteral("POD0000.DBF")));
    const qint64 receipts = RowCount(data->ffDodavky), entries = RowCount(data->ffDenik);

    const QStringList import{QStringLiteral("import"), QStringLiteral("--prepared"), QStringLiteral("p7"),
                             QStringLiteral("--supplier"), supplier, QStringLiteral("--invoice"),
                             QStringLiteral("FA-7"), QStringLiteral("--invoiced"), QStringLiteral("12,50")};
    const ToolRun first = tool(import);
    EXPECT_EQ(first.exitCode, 3) << first.err.toStdString();   // a line skipped
    const QStringList lines = first.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << first.out.toStdString();
    EXPECT_EQ(lines[0], card + QLatin1Char('/') + variant + QStringLiteral("\t4\timportováno"));
    EXPECT_EQ(lines[1], QStringLiteral("999999/001\t1\tvynecháno: karta není v sortimentu"));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(": 1 z 2 řádků"))) << lines[2].toStdString();
    EXPECT_EQ(RowCount(data->ffDodavky), receipts + 1);
    EXPECT_EQ(RowCount(data->ffDenik), entries + 1);
    store::Table &prd = data->ffDodavky;
    prd.Open();
    prd.Last();
    EXPECT_EQ(data->ffDodavkyHLA_DO3.AsString(), QStringLiteral("P7"));
    EXPECT_EQ(data->ffDodavkyHLA_DO2.AsString(), QStringLiteral("FA-7"));
    EXPECT_EQ(data->ffDodavkyHLA_FAC.AsFloat(), 12.5);
    EXPECT_EQ(data->ffDodavkyHLA_ODB.AsString(), supplier);
    prd.Close();
    EXPECT_EQ(tool({QStringLiteral("check")}).exitCode, 0);

    const ToolRun refused = tool(import);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Podklady dodávky P7 již byly importovány do příjemky ")))
        << refused.err.toStdString();
    EXPECT_EQ(RowCount(data->ffDodavky), receipts + 1);
    EXPECT_EQ(RowCount(data->ffDenik), entries + 1);

    const ToolRun again = tool(import + QStringList{QStringLiteral("--yes")});
    EXPECT_EQ(again.exitCode, 3) << again.err.toStdString();
    EXPECT_EQ(RowCount(data->ffDodavky), receipts + 2);
    EXPECT_EQ(RowCount(data->ffDenik), entries + 2);

    // A number without an importable line, and arguments that are not an import.
    EXPECT_EQ(tool({QStringLiteral("import"), QStringLiteral("--prepared"), QStringLiteral("NONE"),
                    QStringLiteral("--supplier"), supplier}).exitCode, 1);
    EXPECT_EQ(tool({QStringLiteral("import"), QStringLiteral("--prepared"), QStringLiteral("P7")}).exitCode, 64);
    for (const char *amount : {"dvanáct", "1e308", "-1e15", "inf", "nan"})
        EXPECT_EQ(tool({QStringLiteral("import"), QStringLiteral("--prepared"), QStringLiteral("P7"),
                        QStringLiteral("--supplier"), supplier, QStringLiteral("--invoiced"), QString::fromUtf8(amount)})
                      .exitCode,
                  64)
            << amount;
    // A supplier code longer than the field is no supplier's, not the one it would be cut to.
    EXPECT_EQ(tool({QStringLiteral("import"), QStringLiteral("--prepared"), QStringLiteral("P8"),
                    QStringLiteral("--supplier"), supplier + QStringLiteral("9")}).exitCode, 1);
    EXPECT_EQ(RowCount(data->ffDodavky), receipts + 2);

    // Every line of the delivery posted: success.
    const ToolRun whole = tool({QStringLiteral("import"), QStringLiteral("--prepared"), QStringLiteral("P8"),
                                QStringLiteral("--supplier"), supplier});
    EXPECT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    EXPECT_TRUE(whole.out.contains(QStringLiteral(": 1 z 1 řádků"))) << whole.out.toStdString();
}

// init --force replaces a firm's tables only while no other station uses the database:
// not while one is connected (on SQLite: has the file open), nor while a lock record of
// a station is there.
TEST_P(StockTools, InitForceRefusesWhileAnotherStationUsesTheDatabase)
{
    const qint64 entries = RowCount(data->ffDenik);
    const QStringList force{QStringLiteral("init"), QStringLiteral("--force")};
    const ToolRun connected = tool(force);
    EXPECT_EQ(connected.exitCode, 1);
    EXPECT_TRUE(connected.err.contains(QStringLiteral("tabulky firmy nelze nahradit"))) << connected.err.toStdString();
    EXPECT_EQ(RowCount(data->ffDenik), entries);

    ASSERT_TRUE(data->LockRecord(QStringLiteral("SOR"), QStringLiteral("000001")));
    data->Database.Disconnect();
    const ToolRun locked = tool(force);
    EXPECT_EQ(locked.exitCode, 1);
    EXPECT_TRUE(locked.err.contains(QStringLiteral("Stanice drží zámky záznamů (1"))) << locked.err.toStdString();
    data->Database.Connect(params);
    EXPECT_EQ(RowCount(data->ffDenik), entries);
    data->UnlockRecord(QStringLiteral("SOR"), QStringLiteral("000001"));
    data->Database.Disconnect();

    const ToolRun alone = tool(force);
    EXPECT_EQ(alone.exitCode, 0) << alone.err.toStdString();
    data->Database.Connect(params);
    EXPECT_EQ(RowCount(data->ffDenik), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, StockTools, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
