// podklady-db print as a process on a real database of each engine: the PDF of a source
// document read back as text, its first page rendered to PNG into the test output folder
// for a person to look at, and a document that does not exist (exit 1, no file).

#include "firm_tables.h"
#include "store_test_support.h"

#include "store/tdata.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using storetest::Backend;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out, err;
};

ToolRun run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(120000)) << program.toStdString();
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

class PrintTool : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<storetest::TestDatabase>(GetParam());
        const store::ConnectionParams params = db->params();
        QString ini = QStringLiteral("[Kramora]\r\nKramora=0001\r\n");
        if (GetParam() == Backend::SQLite) {
            const QFileInfo file(params.sqliteFile);
            ini += QStringLiteral("AliasName=%1\r\nCestaData=%2/\r\n").arg(file.completeBaseName(), file.absolutePath());
        } else {
            ini += QStringLiteral("Protocol=TCPIP\r\nHost=%1:%2\r\nAliasName=%3\r\nDbUser=%4\r\n")
                       .arg(params.host).arg(params.port).arg(params.database, params.user);
        }
        iniPath = dir.filePath(QStringLiteral("Kramora.ini"));
        QFile f(iniPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ini.toUtf8());
        f.close();

        auto data = FirmDataModule(params, QStringLiteral("0001"));
        FreshFirmSchema(data->Database, data->FirmNumber);
        AppendRow(data->ffVlastnik, {{"VLA_JED", "P01"}, {"VLA_NAC", "Prodejna Řevnice"},
                                     {"VLA_ULI", "Náměstí 5"}, {"VLA_MES", "Řevnice"}});
        AppendRow(data->ffCiselnik, {{"CIS_POD", "7"}, {"CIS_ODB", 1.0}});
        AppendRow(data->ffDodavatele, {{"DOD_KOD", "000001"}, {"DOD_FIR", "Žluťoučký kůň s.r.o."},
                                       {"DOD_ULI", "Dlouhá 1"}, {"DOD_MES", "Brno"}});
        double eur = 0, czk = 0;
        const char *names[] = {"Šroub M6", "Matice M6", "Podložka 6", "Hmoždinka 8", "Vrut 4×40", "Čep"};
        for (int i = 0; i < 12; ++i) {
            const double cku = 10 + i, cnc = 1.25 * (i + 1), kus = cku, ncs = cnc * 25.5;
            AppendRow(data->ffPodklPol, {{"POP_DOK", "0000000007"}, {"POP_KAV", QStringLiteral("%1").arg(100 + i, 6, 10, QChar(u'0'))},
                                         {"POP_NAC", QString::fromUtf8(names[i % 6])}, {"POP_CKU", cku}, {"POP_CNC", cnc},
                                         {"POP_KUS", kus}, {"POP_NCS", ncs}, {"POP_BAL", 1.0}});
            eur += cku * cnc;
            czk += kus * ncs;
        }
        AppendRow(data->ffPodklHlav, {{"HLA_DO1", "0000000007"}, {"HLA_ODB", "000001"}, {"HLA_NAC", "Žluťoučký kůň s.r.o."},
                                      {"HLA_DO2", "FV-2004/17"}, {"HLA_DDO", QDate(2004, 3, 5)}, {"HLA_DAT", QDate(2004, 3, 5)},
                                      {"HLA_FAC", 1234.5}, {"HLA_MEN", "EUR"}, {"HLA_KUR", 25.5}, {"HLA_EUR", eur},
                                      {"HLA_NCA", czk}});
    }

    ToolRun print(const QString &doc, const QString &pdf)
    {
        return run(QStringLiteral(PODKLADY_DB), {QStringLiteral("print"), QStringLiteral("--doc"), doc,
                                                 QStringLiteral("--pdf"), pdf, QStringLiteral("--ini"), iniPath});
    }

    QTemporaryDir dir;
    QString iniPath;
    std::unique_ptr<storetest::TestDatabase> db;
};

TEST_P(PrintTool, WritesTheDocumentAsAPdf)
{
    const QString pdf = dir.filePath(QStringLiteral("doklad.pdf"));
    const ToolRun r = print(QStringLiteral("7"), pdf);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("0000000007"))) << r.out.toStdString();

    const ToolRun text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    for (const char *expected : {"Podklady přímu od dodavatele číslo : 0000000007", "Žluťoučký kůň s.r.o.",
                                 "Pobočka příjem", "P01 Prodejna Řevnice", "1234,5 EUR", "05.03.2004", "Název zboží",
                                 "Vrut 4×40", "Celkový součet hodnoty v Kč", "Zboží přijal, razítko a podpis :"})
        EXPECT_TRUE(text.out.contains(QString::fromUtf8(expected))) << expected << "\n" << text.out.toStdString();

    // The first page for a person to look at, in the test output folder.
    const QString out = QStringLiteral(TEST_OUTPUT_DIR);
    QDir().mkpath(out);
    const QString stem = out + QStringLiteral("/podklady-db-print-") + QString::fromStdString(storetest::engineName(
                                                                          testing::TestParamInfo<Backend>(GetParam(), 0)));
    const ToolRun png = run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-f"),
                                                         QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                                         QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, stem});
    ASSERT_EQ(png.exitCode, 0) << png.err.toStdString();
    const QImage page(stem + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    // A4 portrait at 100 dpi.
    EXPECT_EQ(page.width(), 827);
    EXPECT_NEAR(page.height(), 1169, 1);
}

TEST_P(PrintTool, ADocumentThatDoesNotExistLeavesNoFile)
{
    const QString pdf = dir.filePath(QStringLiteral("chybi.pdf"));
    const ToolRun r = print(QStringLiteral("99"), pdf);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Doklad 0000000099 neexistuje"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));

    // A PDF that cannot be written: exit 1 with the file named, nothing left.
    const QString nowhere = dir.filePath(QStringLiteral("neni/doklad.pdf"));
    const ToolRun w = print(QStringLiteral("7"), nowhere);
    EXPECT_EQ(w.exitCode, 1);
    EXPECT_TRUE(w.err.contains(nowhere)) << w.err.toStdString();
    EXPECT_FALSE(QFile::exists(nowhere));

    EXPECT_EQ(print(QStringLiteral("7"), QString()).exitCode, 64);
}

INSTANTIATE_TEST_SUITE_P(Engines, PrintTool, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
