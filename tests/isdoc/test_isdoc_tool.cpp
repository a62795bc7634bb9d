// podklady-db isdoc run as a process on a firm of each engine, as a job collecting
// invoices would run it: an invoice written with its number and items; the same invoice
// refused without --yes and written again with it; an unknown supplier refused, then
// created with --new-supplier; unmatched lines refused, then skipped; a credit note, a
// damaged file and wrong arguments refused, writing nothing.

#include "isdoc_firm.h"
#include "store_test_support.h"

#include "store/tdata.h"
#include "tool_ini.h"
#include "tool_run.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using storetest::Backend;

namespace {

class IsdocTool : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        ASSERT_TRUE(dir.isValid());
        if (GetParam() == Backend::SQLite) {
            params.kind = store::ConnectionParams::Kind::SQLite;
            params.sqliteFile = dir.filePath(QStringLiteral("data/firma.sqlite"));
        } else {
            // The test program's one database on the server, emptied: each test starts
            // as on a new database (init makes the shared tables' first records).
            db = std::make_unique<storetest::TestDatabase>(GetParam());
            params = db->params();
            store::Database empty;
            empty.Connect(params);
            for (const QString &table : empty.TableNames())
                empty.DropTable(table);
        }
        QFile f(dir.filePath(QStringLiteral("Kramora.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write((QStringLiteral("[Kramora]\r\n") + IniDatabaseKeys(params)).toUtf8());
        f.close();
        const ToolRun init = runProgram(QStringLiteral(PODKLADY_DB),
                                        QStringList{QStringLiteral("init"), QStringLiteral("--force"),
                                                    QStringLiteral("--ini"), ini()} + InitFirmArguments(),
                                        120000, {}, kInitFirmInput);
        ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
        data = std::make_unique<TData>();
        data->FirmNumber = QStringLiteral("0001");
        data->SetTableNames();
        data->Database.Connect(params);
        // init gave the firm its counters row; the fixture's own row (the document counter
        // at 123) takes its place.
        store::Table &counters = data->ffCiselnik;
        counters.Open();
        while (!counters.IsEmpty()) {
            counters.First();
            counters.Delete();
        }
        counters.Close();
        FillIsdocFirm(*data);
    }

    QString ini() const { return dir.filePath(QStringLiteral("Kramora.ini")); }

    ToolRun isdoc(const char *fixture, const QStringList &options = {})
    {
        return runProgram(QStringLiteral(PODKLADY_DB), QStringList{QStringLiteral("isdoc"), IsdocFixture(fixture)}
                                                           + options + QStringList{QStringLiteral("--ini"), ini()});
    }

    QTemporaryDir dir;
    std::unique_ptr<storetest::TestDatabase> db;
    store::ConnectionParams params;
    std::unique_ptr<TData> data;
};

TEST_P(IsdocTool, WritesAnInvoiceOnceUnlessToldAgain)
{
    const ToolRun run = isdoc("cizi_mena.isdoc");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("Doklad 0000000124\tdodavatel 000001\tfaktura FV-0042\t103 EUR\n"
                                      "000010\tŠroub M6\t24\t2\n"
                                      "000020\tMatice M6\t10\t2.5\n"
                                      "000030\tPodložka\t3\t10\n"));
    EXPECT_EQ(RowCount(data->ffPodklHlav), 1);
    EXPECT_EQ(RowCount(data->ffPodklPol), 3);

    const ToolRun again = isdoc("cizi_mena.isdoc");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err, QStringLiteral("Doklad dodavatele 000001 s číslem faktury FV-0042 už existuje; znovu ho "
                                        "zapíše volba --yes\n"));
    EXPECT_EQ(RowCount(data->ffPodklHlav), 1);
    const ToolRun yes = isdoc("cizi_mena.isdoc", {QStringLiteral("--yes")});
    EXPECT_EQ(yes.exitCode, 0) << yes.err.toStdString();
    EXPECT_TRUE(yes.out.startsWith(QStringLiteral("Doklad 0000000125\t")));
    EXPECT_EQ(RowCount(data->ffPodklHlav), 2);
}

TEST_P(IsdocTool, CreatesAnUnknownSupplierOnlyWhenAsked)
{
    const ToolRun refused = isdoc("novy_dodavatel.isdoc");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, QStringLiteral("Dodavatel Velkoobchod spojovacím materiálem Morava a.s. (IČO 99887766) "
                                          "není v adresáři dodavatelů; založí ho volba --new-supplier\n"));
    EXPECT_EQ(RowCount(data->ffDodavatele), 1);

    const ToolRun created = isdoc("novy_dodavatel.isdoc", {QStringLiteral("--new-supplier")});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_EQ(created.out, QStringLiteral("Dodavatel 000043\tVelkoobchod spojovacím materiá\tzaložen\n"
                                          "Doklad 0000000124\tdodavatel 000043\tfaktura N-1\t60 CZK\n"
                                          "000010\tŠroub M6\t5\t12\n"));
    EXPECT_TRUE(created.err.contains(QStringLiteral("Název firmy „Velkoobchod spojovacím materiálem Morava a.s.“ je delší")));
    EXPECT_EQ(RowCount(data->ffDodavatele), 2);
}

TEST_P(IsdocTool, WritesTheMatchedLinesOnlyWhenTheOthersMayBeSkipped)
{
    const ToolRun refused = isdoc("nejednoznacna.isdoc");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("nezapsáno\t2\tEAN 8594000000020\tDvě karty se stejným EAN\t"
                                                    "nejednoznačné: 2 karty s kódem EAN 8594000000020\n")))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.endsWith(QStringLiteral("5 z 6 řádků faktury nelze zapsat; zapsat ostatní dovolí volba "
                                                    "--skip-unmatched\n")));
    EXPECT_EQ(RowCount(data->ffPodklHlav), 0);

    const ToolRun skipped = isdoc("nejednoznacna.isdoc", {QStringLiteral("--skip-unmatched")});
    ASSERT_EQ(skipped.exitCode, 0) << skipped.err.toStdString();
    EXPECT_EQ(skipped.out, QStringLiteral("Doklad 0000000124\tdodavatel 000001\tfaktura FV-0043\t65 CZK\n"
                                          "000010\tŠroub M6\t1\t10\n"));
    EXPECT_EQ(skipped.err.count(QStringLiteral("nezapsáno\t")), 5);
    EXPECT_EQ(RowCount(data->ffPodklPol), 1);
}

TEST_P(IsdocTool, RefusesWhatItCannotWriteAndWritesNothing)
{
    struct Case {
        QStringList args;
        int exitCode;
        const char *err;   // the start of stderr
    };
    const QString file = IsdocFixture("mistni_mena.isdoc");
    const Case cases[] = {
        {{QStringLiteral("isdoc"), IsdocFixture("dobropis.isdoc")}, 1, "Doklad DB-0001 je opravný daňový doklad – dobropis"},
        {{QStringLiteral("isdoc"), IsdocFixture("poskozena.isdoc")}, 1, "Soubor poskozena.isdoc (řádek 57, sloupec 16)"},
        {{QStringLiteral("isdoc"), IsdocFixture("entita.isdoc")}, 1, "Soubor entita.isdoc (řádek 4, sloupec 2)"},
        {{QStringLiteral("isdoc")}, 64, "podklady-db isdoc: chybí soubor faktury"},
        {{QStringLiteral("isdoc"), file, file}, 64, "podklady-db isdoc: nečekaný argument "},
        {{QStringLiteral("isdoc"), file, QStringLiteral("--force")}, 64, "podklady-db isdoc: neznámá volba --force"},
    };
    for (const Case &c : cases) {
        const ToolRun run = runProgram(QStringLiteral(PODKLADY_DB), c.args + QStringList{QStringLiteral("--ini"), ini()});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.err;
        EXPECT_TRUE(run.err.startsWith(QString::fromUtf8(c.err))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
    EXPECT_EQ(RowCount(data->ffPodklHlav), 0);
    EXPECT_EQ(RowCount(data->ffPodklPol), 0);

    const ToolRun help = runProgram(QStringLiteral(PODKLADY_DB), {QStringLiteral("isdoc"), QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("Načte fakturu dodavatele ve formátu ISDOC")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("--skip-unmatched  zapíše řádky s kartou")));
}

INSTANTIATE_TEST_SUITE_P(Engines, IsdocTool, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
