// The deliveries overview on a real database of each engine, run by SesPrehPRD with the
// report engine writing a real PDF: the text file byte for byte in both orders with the
// printout laid out from the rows read, an empty and a reversed period, the workbook read
// back from its file and the message when it cannot be written, the values of the
// receipts as HlaHod gives them, and the tables given back after success and after each
// kind of failure. The layout itself is tested in test_overview_layout.cpp.

#include "overview_fixture.h"
#include "overview_snapshot.h"
#include "recordingprompter.h"
#include "small_filesystem.h"
#include "store_test_support.h"
#include "text_in_cells.h"

#include "core/codepage.h"
#include "core/errors.h"
#include "reports/data_sestavy.h"
#include "reports/document_value.h"
#include "reports/prehled_dodavek.h"
#include "store/tables/index_names.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <sys/stat.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace ix = store::tables::index;

using storetest::Backend;
using storetest::TestDatabase;
using namespace overviewtest;

namespace {

class OverviewTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0005"));
        FreshFirmSchema(data->Database, data->FirmNumber);
        reports = std::make_unique<TDataSestavy>();
        writeReceipts(*data, reports->ffSesDod);
        // A batch run: no setup dialog, the pages to a PDF in the test's directory.
        reports->Sestavy.SystemSetups = 0;
        reports->Sestavy.DefaultDestination = TDestination::File;
        reports->Sestavy.OutputFileName = pdfPath();
    }

    void TearDown() override
    {
        reports.reset();
        data.reset();
        db.reset();
    }

    QString pdfPath() const { return dir.filePath(QStringLiteral("sestava.pdf")); }
    QString textPath() const { return dir.filePath(QStringLiteral("PrehledDodavek.txt")); }

    // Runs the overview of the period as the main window does: the receipts open on "DAT".
    int run(int order, const QDate &from = kFrom, const QDate &to = kTo)
    {
        reports->ffSesDod.Open();
        reports->ffSesDod.SetIndexName(ix::ffSesDod::DAT);
        reports->DateFrom = from;
        reports->DateTo = to;
        return reports->SesPrehPRD(order, from, to);
    }

    // The receipts open without a range, the work table closed.
    void expectGivenBack(bool receiptsOpen = true)
    {
        EXPECT_EQ(reports->ffSesDod.Active(), receiptsOpen);
        if (receiptsOpen) {
            EXPECT_EQ(reports->ffSesDod.RecordCount(), 5);
        }
        EXPECT_FALSE(reports->SesDodMem.Active());
    }

    InTemporaryDirectory dir;
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TData> data;
    std::unique_ptr<TDataSestavy> reports;
    RecordingPrompter prompts;
};

// The text file in both orders, and the printout in landscape laid out from the rows the
// run read in that order, with the period and the shop's name.
TEST_P(OverviewTest, WritesTheTextFileByteForByteInBothOrders)
{
    const auto expectPrintout = [&](int order) {
        ReportDrawing expected(QPageLayout::Landscape);
        LayoutOverview(expected, periodOverview(order));
        EXPECT_EQ(reports->Sestavy.Document().orientation, QPageLayout::Landscape);
        EXPECT_EQ(textincells::placedTexts(reports->Sestavy.Document()), textincells::placedTexts(expected.Document()));
    };
    EXPECT_EQ(run(ByReceipt), 3);
    EXPECT_EQ(readFile(textPath()), kHeading + kLine101 + kLine102 + kLine103);
    expectPrintout(ByReceipt);
    expectGivenBack();

    EXPECT_EQ(run(BySupplier), 3);
    EXPECT_EQ(readFile(textPath()), kHeading + kLine102 + kLine101 + kLine103);
    expectPrintout(BySupplier);
    expectGivenBack();

    // A run from a closed receipts table opens it and closes it again.
    reports->ffSesDod.Close();
    EXPECT_EQ(reports->SesPrehPRD(ByReceipt, kFrom, kTo), 3);
    expectGivenBack(false);
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QFile::exists(pdfPath()));
}

TEST_P(OverviewTest, AnEmptyOrReversedPeriodGivesTheHeadingAndZeroTotals)
{
    reports->ExcelExport = true;
    reports->WorkbookPath = dir.filePath(QStringLiteral("prazdne.xlsx"));
    const QString zeros = QStringLiteral("||||0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00");
    const QString heading = QStringLiteral("Datum|Doklad|Dodavatel|Fakt.dod.|Cel. Nc|Cel. PC|Zák 22%|Zák 5%|Zák 0%|Daň 22%|Daň 5%|Cel.fakt.|Diference");
    struct Case {
        QDate from, to;
        int order;
        QStringList printed;
    };
    const Case cases[] = {
        {QDate(2005, 1, 1), QDate(2005, 1, 31), ByReceipt, {heading, QStringLiteral("Celkem sestava") + zeros}},
        {QDate(2005, 1, 1), QDate(2005, 1, 31), BySupplier,
         {heading, QStringLiteral("Celkem dodavatel") + zeros, QStringLiteral("Celkem sestava") + zeros}},
        // The first date after the last selects nothing, though receipts lie between them.
        {kTo, kFrom, ByReceipt, {heading, QStringLiteral("Celkem sestava") + zeros}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.from.toString().toStdString() + " " + std::to_string(c.order));
        EXPECT_EQ(run(c.order, c.from, c.to), 0);
        EXPECT_EQ(readFile(textPath()), kHeading);
        EXPECT_FALSE(QFile::exists(reports->WorkbookPath));
        ASSERT_EQ(reports->Sestavy.Document().pages.size(), 1);
        EXPECT_EQ(joinedLines(reports->Sestavy.Document().pages[0]), c.printed);
        expectGivenBack();
    }
    // Asked for, the workbook is not made, and the message says so.
    EXPECT_EQ(prompts.messages,
              (QStringList{QStringLiteral("Sešit nebyl vytvořen: v období od 01.01.2005 do 31.01.2005 nejsou žádné doklady."),
                           QStringLiteral("Sešit nebyl vytvořen: v období od 01.01.2005 do 31.01.2005 nejsou žádné doklady."),
                           QStringLiteral("Sešit nebyl vytvořen: v období od 07.03.2004 do 05.03.2004 nejsou žádné doklady.")}));
    EXPECT_EQ(reports->LastWorkbook, TDataSestavy::wbNoReceipts);
}

TEST_P(OverviewTest, AWorkbookThatCannotBeWrittenIsReportedAndThePrintoutStillRuns)
{
    // Its directory cannot be made: a file stands where the directory would be.
    QFile blocker(dir.filePath(QStringLiteral("soubor")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    reports->ExcelExport = true;
    reports->WorkbookPath = dir.filePath(QStringLiteral("soubor/prehled.xlsx"));
    EXPECT_EQ(run(ByReceipt), 3);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].startsWith(QStringLiteral("Nejze komunikovat s MS Excel\n")));
    EXPECT_TRUE(prompts.messages[0].contains(dir.filePath(QStringLiteral("soubor"))));
    EXPECT_EQ(readFile(textPath()), kHeading + kLine101 + kLine102 + kLine103);
    EXPECT_TRUE(QFile::exists(pdfPath()));
    EXPECT_EQ(reports->Sestavy.Document().pages.size(), 1);
    expectGivenBack();
}

// The workbook written: the message names the file; the file is readable by the user's
// group as the umask allows; every column is as wide as its widest value, so that dates
// show in full.
TEST_P(OverviewTest, TheWorkbookIsNamedInAMessageAndFitsItsValues)
{
    const mode_t previous = ::umask(022);
    reports->ExcelExport = true;
    reports->WorkbookPath = dir.filePath(QStringLiteral("Přehled faktur k 01.04.2004.xlsx"));
    EXPECT_EQ(run(ByReceipt), 3);
    ::umask(previous);
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Sešit zapsán do souboru ") + reports->WorkbookPath});
    EXPECT_EQ(reports->LastWorkbook, TDataSestavy::wbWritten);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(reports->WorkbookPath).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);

    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), reports->WorkbookPath, QStringLiteral("xl/worksheets/sheet1.xml")});
    ASSERT_TRUE(unzip.waitForFinished(30000));
    QXmlStreamReader xml(unzip.readAllStandardOutput());
    std::map<int, double> widths;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("col"))
            for (int c = xml.attributes().value(QLatin1String("min")).toInt();
                 c <= xml.attributes().value(QLatin1String("max")).toInt(); ++c)
                widths[c] = xml.attributes().value(QLatin1String("width")).toDouble();
    }
    ASSERT_FALSE(xml.hasError());
    ASSERT_EQ(widths.size(), 15u);
    // Column A the dates (dd.mm.yyyy), F the names, G the invoiced amounts, the header
    // "Vystaveno" and "CelkemNC" wider than their values' defaults.
    EXPECT_GE(widths[1], 11.0);
    EXPECT_GE(widths[6], double(kAlfa.size() + 1));
    EXPECT_GE(widths[7], 7.0);
    EXPECT_GE(widths[8], 9.0);
}

// A disk without room: the text file, the PDF and the workbook each fail, the old file
// of each stays as it was, no temporary file is left, and the run says which file failed.
TEST_P(OverviewTest, AFullDiskFailsEachFileAndKeepsTheOldOne)
{
    SmallFileSystem fs(256);
    SMALL_FS_REQUIRE(fs);
    const QByteArray old = "the file of the last run";
    for (const char *name : {"PrehledDodavek.txt", "sestava.pdf", "sesit.xlsx"})
        fs.Put(QString::fromLatin1(name), old);
    fs.Fill(0);
    auto expectOldFiles = [&] {
        for (const char *name : {"PrehledDodavek.txt", "sestava.pdf", "sesit.xlsx"})
            EXPECT_EQ(readFile(fs.FilePath(QString::fromLatin1(name))), old) << name;
        EXPECT_EQ(QDir(fs.Path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
        expectGivenBack();
    };

    auto expectFailureOf = [&](const char *name) {
        try {
            run(ByReceipt);
            ADD_FAILURE() << "no error";
        } catch (const AppError &e) {
            EXPECT_EQ(e.text(), QStringLiteral("Soubor %1 nelze zapsat: na disku není místo")
                                    .arg(fs.FilePath(QString::fromLatin1(name))));
        }
    };

    // The text file in the current directory, on the full disk.
    QDir::setCurrent(fs.Path());
    expectFailureOf("PrehledDodavek.txt");
    QDir::setCurrent(dir.path());
    expectOldFiles();

    // The PDF of the printout.
    reports->Sestavy.OutputFileName = fs.FilePath(QStringLiteral("sestava.pdf"));
    expectFailureOf("sestava.pdf");
    expectOldFiles();

    // The workbook: its failure is shown and the printout still runs.
    reports->Sestavy.OutputFileName = pdfPath();
    reports->ExcelExport = true;
    reports->WorkbookPath = fs.FilePath(QStringLiteral("sesit.xlsx"));
    EXPECT_EQ(run(ByReceipt), 3);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].startsWith(QStringLiteral("Nejze komunikovat s MS Excel\n")));
    EXPECT_TRUE(prompts.messages[0].contains(reports->WorkbookPath)) << prompts.messages[0].toStdString();
    EXPECT_EQ(reports->LastWorkbook, TDataSestavy::wbFailed);
    EXPECT_TRUE(QFile::exists(pdfPath()));
    expectOldFiles();
}

TEST_P(OverviewTest, GivesBackTheTablesAfterEveryFailure)
{
    // The text file cannot be made: a directory holds its name. Nothing half-written stays,
    // the message names the file, and neither the workbook nor the printout follows.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("PrehledDodavek.txt")));
    reports->ExcelExport = true;
    reports->WorkbookPath = dir.filePath(QStringLiteral("sesit.xlsx"));
    try {
        run(ByReceipt);
        ADD_FAILURE() << "no error";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().contains(textPath())) << e.text().toStdString();
    }
    expectGivenBack();
    EXPECT_FALSE(QFile::exists(reports->WorkbookPath));
    EXPECT_FALSE(QFile::exists(pdfPath()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("PrehledDodavek.txt")));

    // The printout fails: its file cannot be made. The text file is written already.
    reports->ExcelExport = false;
    reports->Sestavy.OutputFileName = dir.filePath(QStringLiteral("chybi/sestava.pdf"));
    EXPECT_THROW(run(BySupplier), AppError);
    expectGivenBack();
    EXPECT_EQ(readFile(textPath()), kHeading + kLine102 + kLine101 + kLine103);

    // The receipts table cannot be opened: it is not there.
    reports->ffSesDod.Close();
    data->Database.DropTable(reports->ffSesDod.TableName());
    EXPECT_THROW(reports->SesPrehPRD(ByReceipt, kFrom, kTo), StoreError);
    EXPECT_FALSE(reports->ffSesDod.Active());
    EXPECT_FALSE(reports->SesDodMem.Active());
}

// The receipts of March 2010 that the overview's values are checked on: more than a page
// of them, dated from the day before the period to the day after it, with no lines, with a
// line of another operation, with several lines of one card (summed in their order), with
// cards written out of their order and with values whose sum depends on the order of the
// additions, with a second variant, with rates that change within a card, with a
// three-character type, and two receipts of one number.
void writeValueReceipts(TData &d, store::Table &receipts)
{
    const QDate first(2010, 3, 1);
    const QString types[] = {QStringLiteral("PRX"), QStringLiteral("PR"), QString(), QStringLiteral("P")};
    const double rates[] = {22, 5, 0, 10, 22};
    const double odd[] = {0.1, 0.2, 0.3, 1e16, 3, -1e16, 1.005, 2.675, 1e-3};
    for (int i = 0; i < 300; ++i) {
        const QString number = QStringLiteral("%1").arg(i == 299 ? 7 : i, 10, 10, QLatin1Char('0'));
        const QString supplier = QStringLiteral("%1").arg(i % 7 + 1, 6, 10, QLatin1Char('0'));
        AppendRow(receipts, {{"HLA_DO1", number}, {"HLA_DAT", first.addDays(i % 33)}, {"HLA_TYP", types[i % 4]},
                             {"HLA_DO2", QStringLiteral("F%1").arg(i)}, {"HLA_ODB", supplier},
                             {"HLA_NAC", QStringLiteral("Dodavatel %1").arg(supplier)}, {"HLA_FAC", 100.0 + i / 3.0}});
        if (i % 10 == 3)
            continue;  // no lines
        for (int line = 0; line < i % 9 + 1; ++line) {
            // Cards from the highest down, so that the work rows are not in line order.
            const int card = 9 - (i + line * 4) % 9;
            AppendRow(d.ffDenik, {{"DEN_DOK", number},
                                  {"DEN_KAV", QStringLiteral("%1").arg(card, 6, 10, QLatin1Char('0'))},
                                  {"DEN_IND", line % 5 == 4 ? "001" : "000"},
                                  {"DEN_OPE", line % 7 == 6 ? "002" : "001"},
                                  {"DEN_KUS", double(line % 3)},
                                  {"DEN_HPC", odd[(i + line) % 9] * 1.21},
                                  {"DEN_HNC", odd[(i * 7 + line) % 9]},
                                  {"DEN_DAN", rates[(i + line) % 5]}});
        }
    }
}

// The value of every receipt in the work table equals what HlaHod gives for its number, to
// the last bit, and the work table holds the receipts of the period (its first and last
// day included) with their header fields, in the order chosen; under both price modes.
TEST_P(OverviewTest, WorkTableHoldsTheValueOfEachReceiptAsHlaHodGivesIt)
{
    writeValueReceipts(*data, reports->ffSesDod);
    const QDate from(2010, 3, 2), to(2010, 3, 31);
    const QStringList numbers{QStringLiteral("CelkemNC"), QStringLiteral("CelkemPC"), QStringLiteral("Zaklad22"),
                              QStringLiteral("Zaklad05"), QStringLiteral("Zaklad00"), QStringLiteral("Dan22"),
                              QStringLiteral("Dan05"), QStringLiteral("HalVyr")};
    for (const int priceMode : {1, 2}) {
        data->PriceMode = priceMode;
        // The rows as the overview made them receipt by receipt: in date order, each with
        // its header and the results of HlaHod.
        QVector<QStringList> expected;
        store::Table &receipts = reports->ffSesDod;
        receipts.Open();
        receipts.SetIndexName(ix::ffSesDod::DAT);
        receipts.SetRange({from}, {to});
        for (receipts.First(); !receipts.Eof(); receipts.Next()) {
            const auto text = [&](const char *f) { return receipts.FieldByName(QLatin1String(f)).AsString(); };
            double v[9];
            HlaHod({data->ffDenik, data->ffSortiment, data->DokladObsah, *data}, text("HLA_DO1"), 3, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
            QStringList row{receipts.FieldByName(QStringLiteral("HLA_DAT")).AsDate().toString(Qt::ISODate),
                            text("HLA_DO1"), text("HLA_TYP").left(2), text("HLA_DO2"), text("HLA_ODB"),
                            text("HLA_NAC"),
                            QString::number(receipts.FieldByName(QStringLiteral("HLA_FAC")).AsFloat(), 'g', 17)};
            for (int i = 0; i < 8; ++i)
                row << QString::number(v[i], 'g', 17);
            expected << row;
        }
        receipts.CancelRange();
        ASSERT_GT(expected.size(), 256);
        ASSERT_EQ(expected.first().first(), QStringLiteral("2010-03-02"));
        ASSERT_EQ(expected.last().first(), QStringLiteral("2010-03-31"));

        for (const int order : {ByReceipt, BySupplier}) {
            SCOPED_TRACE(QStringLiteral("price mode %1, order %2").arg(priceMode).arg(order).toStdString());
            FillOverviewWorkTable(*data, receipts, reports->SesDodMem, from, to, order);
            QVector<QStringList> want = expected;
            // The work table's indexes end with the order of writing, which is date order.
            std::stable_sort(want.begin(), want.end(), [&](const QStringList &a, const QStringList &b) {
                return order == BySupplier ? std::tie(a[4], a[1]) < std::tie(b[4], b[1]) : a[1] < b[1];
            });
            QVector<QStringList> got;
            store::Table &work = reports->SesDodMem;
            for (work.First(); !work.Eof(); work.Next()) {
                const auto text = [&](const char *f) { return work.FieldByName(QLatin1String(f)).AsString(); };
                QStringList row{work.FieldByName(QStringLiteral("Vystaveno")).AsDateTime().date().toString(Qt::ISODate),
                                text("Doklad"), text("TypDod"), text("FakDod"), text("KodDod"), text("Nazev"),
                                QString::number(work.FieldByName(QStringLiteral("CelFac")).AsFloat(), 'g', 17)};
                for (const QString &f : numbers)
                    row << QString::number(work.FieldByName(f).AsFloat(), 'g', 17);
                got << row;
            }
            ASSERT_EQ(got.size(), want.size());
            for (int i = 0; i < got.size(); ++i)
                EXPECT_EQ(got[i], want[i]) << "row " << i;
            work.Close();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, OverviewTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
