// podklady-db print as a process on a real database of each engine: the PDF of a source
// document read back as text, its first page rendered to PNG into the test output folder
// for a person to look at, and a document that does not exist (exit 1, no file).

#include "firm_tables.h"
#include "small_filesystem.h"
#include "store_test_support.h"

#include "store/tdata.h"
#include "tool_run.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using storetest::Backend;

namespace {

ToolRun run(const QString &program, const QStringList &args)
{
    return runProgram(program, args);
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
        AppendRow(data->ffVlastnik, {{data->ffVlastnikVLA_JED, "P01"},
                                     {data->ffVlastnikVLA_NAC, "Prodejna Řevnice"},
                                     {data->ffVlastnikVLA_ULI, "Náměstí 5"},
                                     {data->ffVlastnikVLA_MES, "Řevnice"}});
        AppendRow(data->ffCiselnik, {{data->ffCiselnikCIS_POD, "7"}, {data->ffCiselnikCIS_ODB, 1.0}});
        AppendRow(data->ffDodavatele, {{data->ffDodavateleDOD_KOD, "000001"},
                                       {data->ffDodavateleDOD_FIR, "Žluťoučký kůň s.r.o."},
                                       {data->ffDodavateleDOD_ULI, "Dlouhá 1"},
                                       {data->ffDodavateleDOD_MES, "Brno"}});
        double eur = 0, czk = 0;
        const char *names[] = {"Šroub M6", "Matice M6", "Podložka 6", "Hmoždinka 8", "Vrut 4×40", "Čep"};
        for (int i = 0; i < 12; ++i) {
            const double cku = 10 + i, cnc = 1.25 * (i + 1), kus = cku, ncs = cnc * 25.5;
            AppendRow(data->ffPodklPol, {{data->ffPodklPolPOP_DOK, "0000000007"},
                                         {data->ffPodklPolPOP_KAV, QStringLiteral("%1").arg(100 + i, 6, 10, QChar(u'0'))},
                                         {data->ffPodklPolPOP_NAC, QString::fromUtf8(names[i % 6])},
                                         {data->ffPodklPolPOP_CKU, cku}, {data->ffPodklPolPOP_CNC, cnc},
                                         {data->ffPodklPolPOP_KUS, kus}, {data->ffPodklPolPOP_NCS, ncs},
                                         {data->ffPodklPolPOP_BAL, 1.0}});
            eur += cku * cnc;
            czk += kus * ncs;
        }
        AppendRow(data->ffPodklHlav, {{data->ffPodklHlavHLA_DO1, "0000000007"},
                                      {data->ffPodklHlavHLA_ODB, "000001"},
                                      {data->ffPodklHlavHLA_NAC, "Žluťoučký kůň s.r.o."},
                                      {data->ffPodklHlavHLA_DO2, "FV-2004/17"},
                                      {data->ffPodklHlavHLA_DDO, QDate(2004, 3, 5)},
                                      {data->ffPodklHlavHLA_DAT, QDate(2004, 3, 5)},
                                      {data->ffPodklHlavHLA_FAC, 1234.5}, {data->ffPodklHlavHLA_MEN, "EUR"},
                                      {data->ffPodklHlavHLA_KUR, 25.5}, {data->ffPodklHlavHLA_EUR, eur},
                                      {data->ffPodklHlavHLA_NCA, czk}});
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

// A PDF that cannot be written whole fails the job: /dev/full is refused as no file (and
// stays the device it is); on a full disk the old PDF stays as it was and nothing else
// is left there.
TEST_P(PrintTool, APdfThatCannotBeWrittenWholeFailsAndKeepsTheOldFile)
{
    const ToolRun device = print(QStringLiteral("7"), QStringLiteral("/dev/full"));
    EXPECT_EQ(device.exitCode, 1);
    EXPECT_TRUE(device.err.contains(QStringLiteral("/dev/full nelze vytvořit"))) << device.err.toStdString();
    EXPECT_FALSE(device.out.contains(QStringLiteral("/dev/full"))) << device.out.toStdString();
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists() && !QFileInfo(QStringLiteral("/dev/full")).isFile());

    SmallFileSystem fs(256);
    SMALL_FS_REQUIRE(fs);
    const QString pdf = fs.Put(QStringLiteral("doklad.pdf"), "the PDF of the last run");
    QFile old(pdf);
    fs.Fill(4096);
    const ToolRun full = print(QStringLiteral("7"), pdf);
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains(QStringLiteral("Soubor %1 nelze zapsat: na disku není místo").arg(pdf)))
        << full.err.toStdString();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the PDF of the last run"));
    old.close();
    EXPECT_EQ(QDir(fs.Path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("doklad.pdf"), QStringLiteral("filler")}));

    // A symlink at the target is replaced by the PDF; the file it pointed to stays.
    QFile::remove(fs.FilePath(QStringLiteral("filler")));
    const QString link = dir.filePath(QStringLiteral("odkaz.pdf"));
    ASSERT_TRUE(QFile::link(pdf, link));
    const ToolRun linked = print(QStringLiteral("7"), link);
    EXPECT_EQ(linked.exitCode, 0) << linked.err.toStdString();
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_GT(QFileInfo(link).size(), 1000);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the PDF of the last run"));
}

INSTANTIATE_TEST_SUITE_P(Engines, PrintTool, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
