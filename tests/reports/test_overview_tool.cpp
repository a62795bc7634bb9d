// podklady-db overview run as a process on a firm of each engine: the text file in the
// working directory, the workbook and the PDF, the PDF read back as text and its first
// page rendered to PNG into the test output folder; a date that does not convert.

#include "overview_fixture.h"
#include "small_filesystem.h"
#include "store_test_support.h"

#include "store/tables/tables.h"
#include "tool_run.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using storetest::Backend;
using storetest::TestDatabase;
using namespace overviewtest;

namespace {

class OverviewTool : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<TestDatabase>(GetParam());
        const store::ConnectionParams params = db->params();
        QString ini = QStringLiteral("[Kramora]\r\n");
        if (GetParam() == Backend::SQLite) {
            const QFileInfo file(params.sqliteFile);
            ini += QStringLiteral("AliasName=%1\r\nCestaData=%2\r\n").arg(file.completeBaseName(), file.absolutePath());
        } else {
            ini += QStringLiteral("Protocol=TCPIP\r\nHost=%1:%2\r\nAliasName=%3\r\nDbUser=%4\r\n")
                       .arg(params.host).arg(params.port).arg(params.database, params.user);
        }
        QFile f(dir.filePath(QStringLiteral("Kramora.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ini.toUtf8());
        f.close();

        auto data = FirmDataModule(params, QStringLiteral("0001"));
        FreshFirmSchema(data->Database, data->FirmNumber);
        store::Table receipts(&store::tables::dodavkyFull());
        receipts.SetDatabase(&data->Database);
        receipts.SetTableName(QStringLiteral("Prd0001"));
        writeReceipts(*data, receipts);
    }

    ToolRun overview(const QStringList &options, const QString &workingDir = {})
    {
        return runProgram(QStringLiteral(PODKLADY_DB),
                          QStringList{QStringLiteral("overview")} + options +
                              QStringList{QStringLiteral("--ini"), dir.filePath(QStringLiteral("Kramora.ini"))},
                          120000, workingDir.isEmpty() ? dir.path() : workingDir);
    }

    QTemporaryDir dir;
    std::unique_ptr<TestDatabase> db;
};

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_P(OverviewTool, WritesTheTextFileTheWorkbookAndThePdf)
{
    const QString xlsx = dir.filePath(QStringLiteral("prehled.xlsx"));
    const QString pdf = dir.filePath(QStringLiteral("prehled.pdf"));
    const ToolRun result = overview({QStringLiteral("--from"), QStringLiteral("05.03.2004"), QStringLiteral("--to"),
                                     QStringLiteral("7.3.2004"), QStringLiteral("--by-supplier"), QStringLiteral("--xlsx"),
                                     xlsx, QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    QFile text(dir.filePath(QStringLiteral("PrehledDodavek.txt")));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), kHeading + kLine102 + kLine101 + kLine103);
    EXPECT_TRUE(QFile::exists(xlsx));
    EXPECT_TRUE(result.out.contains(QStringLiteral("dokladů: 3")));
    EXPECT_TRUE(result.out.contains(QStringLiteral("Sešit zapsán do souboru ") + xlsx)) << result.out.toStdString();

    const QString printed = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(printed.contains(QStringLiteral("Přehled dodávek od 05.03.2004 do 07.03.2004 na skladu Prodejna Říčany")))
        << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("Alfa Žluťoučký kůň")));
    EXPECT_TRUE(printed.contains(QStringLiteral("1234,50")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Celkem dodavatel")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Celkem sestava")));

    // The first page as a picture for a person to look at.
    const QString out = QStringLiteral(TEST_OUTPUT_DIR);
    ASSERT_TRUE(QDir().mkpath(out));
    const QString stem = out + QStringLiteral("/overview-") + QString::fromStdString(storetest::engineName({GetParam(), 0}));
    QFile::remove(stem + QStringLiteral(".png"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"),
                                     QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
                                     QStringLiteral("-l"), QStringLiteral("1"), pdf, stem});
    EXPECT_TRUE(QFile::exists(stem + QStringLiteral(".png")));
}

// A period without receipts: the job says that no workbook was made and succeeds.
TEST_P(OverviewTool, APeriodWithoutReceiptsMakesNoWorkbookAndSaysSo)
{
    const QString xlsx = dir.filePath(QStringLiteral("prehled.xlsx"));
    const ToolRun result = overview({QStringLiteral("--from"), QStringLiteral("01.01.2005"), QStringLiteral("--to"),
                                     QStringLiteral("31.01.2005"), QStringLiteral("--xlsx"), xlsx});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(
        QStringLiteral("Sešit nebyl vytvořen: v období od 01.01.2005 do 31.01.2005 nejsou žádné doklady.")))
        << result.out.toStdString();
    EXPECT_FALSE(QFile::exists(xlsx));
}

// On a full disk the job fails with the reason and the text file of the last run stays;
// a workbook that cannot be written fails the job too, after the rest was done.
TEST_P(OverviewTool, AFullDiskFailsTheJobAndKeepsTheOldFile)
{
    SmallFileSystem fs(256);
    SMALL_FS_REQUIRE(fs);
    const QString text = fs.Put(QStringLiteral("PrehledDodavek.txt"), "the file of the last run");
    fs.Fill(0);
    const QStringList period{QStringLiteral("--from"), QStringLiteral("05.03.2004"), QStringLiteral("--to"),
                             QStringLiteral("07.03.2004")};
    const ToolRun full = overview(period, fs.Path());
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains(QStringLiteral("Soubor %1 nelze zapsat: na disku není místo").arg(text)))
        << full.err.toStdString();
    EXPECT_FALSE(full.out.contains(QStringLiteral("Zapsán"))) << full.out.toStdString();
    QFile old(text);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the file of the last run"));
    EXPECT_EQ(QDir(fs.Path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("filler"), QStringLiteral("PrehledDodavek.txt")}));

    const QString xlsx = fs.FilePath(QStringLiteral("prehled.xlsx"));
    const ToolRun book = overview(period + QStringList{QStringLiteral("--xlsx"), xlsx});
    EXPECT_EQ(book.exitCode, 1);
    EXPECT_TRUE(book.err.contains(QStringLiteral("Nejze komunikovat s MS Excel"))) << book.err.toStdString();
    EXPECT_TRUE(book.err.contains(xlsx)) << book.err.toStdString();
    EXPECT_FALSE(QFile::exists(xlsx));
}

TEST_P(OverviewTool, ADateThatDoesNotConvertExitsWithTheConversionError)
{
    const ToolRun result = overview({QStringLiteral("--from"), QStringLiteral("32.13.2004"), QStringLiteral("--to"),
                                     QStringLiteral("07.03.2004")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains(QStringLiteral("'32.13.2004' není platné datum"))) << result.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("PrehledDodavek.txt"))));
    EXPECT_EQ(overview({QStringLiteral("--from"), QStringLiteral("05.03.2004")}).exitCode, 64);
}

INSTANTIATE_TEST_SUITE_P(Engines, OverviewTool, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
