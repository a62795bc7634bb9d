// podklady-db import and podklady-db check run as processes on a demo firm of each
// engine: a clean demo reports nothing; a journal entry deleted behind the program's back
// is reported, then repaired; a prepared delivery is imported into a new receipt, and its
// repetition is refused without --yes and imported again with it.

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

    qint64 count(store::Table &t)
    {
        t.Open();
        const qint64 n = t.RecordCount();
        t.Close();
        return n;
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
    // When all is well, one line says what was compared.
    EXPECT_TRUE(clean.out.startsWith(QStringLiteral("Vše souhlasí: ")) && clean.out.count(u'\n') == 1)
        << clean.out.toStdString();

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

    // The cards are rebuilt; the receipt is listed and left as it is.
    const ToolRun repaired = tool({QStringLiteral("check"), QStringLiteral("--repair")});
    EXPECT_EQ(repaired.exitCode, 1) << repaired.err.toStdString();
    EXPECT_TRUE(repaired.out.contains(where + QStringLiteral("opraveno"))) << repaired.out.toStdString();
    EXPECT_TRUE(repaired.out.contains(card + QStringLiteral("\topraveno"))) << repaired.out.toStdString();
    EXPECT_TRUE(repaired.err.contains(QStringLiteral("Příjemky se neopravují"))) << repaired.err.toStdString();
    const ToolRun after = tool({QStringLiteral("check")});
    EXPECT_EQ(after.exitCode, 1);
    EXPECT_EQ(after.out, lines[1] + QLatin1Char('\n'));
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

    for (const QStringList &args : {QStringList{QStringLiteral("check")},
                                    QStringList{QStringLiteral("check"), QStringLiteral("--repair")}}) {
        const ToolRun run = tool(args);
        EXPECT_EQ(run.exitCode, 1) << args.join(u' ').toStdString();
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
        for (const QString &receipt : changed)
            EXPECT_TRUE(run.out.contains(QStringLiteral("Příjemka ") + receipt + QStringLiteral("\tcelkem v NC ")))
                << run.out.toStdString();
    }
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
    const qint64 receipts = count(data->ffDodavky), entries = count(data->ffDenik);

    const QStringList import{QStringLiteral("import"), QStringLiteral("--prepared"), QStringLiteral("p7"),
                             QStringLiteral("--supplier"), supplier, QStringLiteral("--invoice"),
                             QStringLiteral("FA-7"), QStringLiteral("--invoiced"), QStringLiteral("12,50")};
    const ToolRun first = tool(import);
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QStringList lines = first.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << first.out.toStdString();
    EXPECT_EQ(lines[0], card + QLatin1Char('/') + variant + QStringLiteral("\t4\timportováno"));
    EXPECT_EQ(lines[1], QStringLiteral("999999/001\t1\tvynecháno: karta není v sortimentu"));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(": 1 z 2 řádků"))) << lines[2].toStdString();
    EXPECT_EQ(count(data->ffDodavky), receipts + 1);
    EXPECT_EQ(count(data->ffDenik), entries + 1);
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
    EXPECT_EQ(count(data->ffDodavky), receipts + 1);
    EXPECT_EQ(count(data->ffDenik), entries + 1);

    const ToolRun again = tool(import + QStringList{QStringLiteral("--yes")});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(count(data->ffDodavky), receipts + 2);
    EXPECT_EQ(count(data->ffDenik), entries + 2);

    // A number without an importable line, and arguments that are not an import.
    EXPECT_EQ(tool({QStringLiteral("import"), QStringLiteral("--prepared"), QStringLiteral("NONE"),
                    QStringLiteral("--supplier"), supplier}).exitCode, 1);
    EXPECT_EQ(tool({QStringLiteral("import"), QStringLiteral("--prepared"), QStringLiteral("P7")}).exitCode, 64);
    EXPECT_EQ(tool({QStringLiteral("import"), QStringLiteral("--prepared"), QStringLiteral("P7"),
                    QStringLiteral("--supplier"), supplier, QStringLiteral("--invoiced"), QStringLiteral("dvanáct")})
                  .exitCode,
              64);
    EXPECT_EQ(count(data->ffDodavky), receipts + 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, StockTools, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
