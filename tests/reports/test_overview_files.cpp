// The deliveries overview's work table and files on a real database of each engine: the
// text file byte for byte in both orders, an empty and a reversed period, a text file
// that cannot be created, the workbook read back from its file, a workbook whose
// directory cannot be made, and the workbook's default place.

#include "overview_fixture.h"
#include "store_test_support.h"

#include "core/errors.h"
#include "reports/prehled_dodavek.h"
#include "store/tables/tables.h"
#include "store/tables/index_names.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace ix = store::tables::index;

using storetest::Backend;
using storetest::TestDatabase;
using namespace overviewtest;

namespace {

// The first worksheet's XML of an xlsx file, as unzip gives it.
QByteArray sheetXml(const QString &path)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("xl/worksheets/sheet1.xml")});
    EXPECT_TRUE(unzip.waitForFinished(30000));
    EXPECT_EQ(unzip.exitCode(), 0) << unzip.readAllStandardError().toStdString();
    return unzip.readAllStandardOutput();
}

// The cells of that sheet by reference ("A1"): inline strings by their text, numbers by
// their value.
std::map<QString, QString> sheetCells(const QByteArray &sheet)
{
    std::map<QString, QString> cells;
    QXmlStreamReader xml(sheet);
    QString ref;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("c"))
            ref = xml.attributes().value(QLatin1String("r")).toString();
        else if (xml.name() == QLatin1String("v") || xml.name() == QLatin1String("t"))
            cells[ref] = xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return cells;
}

class OverviewFilesTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0005"));
        FreshFirmSchema(data->Database, data->FirmNumber);
        receipts = std::make_unique<store::Table>(&store::tables::dodavkyFull());
        receipts->SetDatabase(&data->Database);
        receipts->SetTableName(QStringLiteral("Prd0005"));
        const store::TableDef &def = store::tables::sesDodMem();
        if (!data->MemDatabase.TableExists(def.builtInName))
            data->MemDatabase.CreateTable(def, def.builtInName);
        work = std::make_unique<store::Table>(&def);
        work->SetDatabase(&data->MemDatabase);
        writeReceipts(*data, *receipts);
    }

    void TearDown() override
    {
        work.reset();
        receipts.reset();
        data.reset();
        db.reset();
    }

    QString textPath() const { return dir.filePath(QStringLiteral("PrehledDodavek.txt")); }

    // The overview's work table for the period and its text file, as the run makes them.
    QByteArray text(int order, const QDate &from = kFrom, const QDate &to = kTo)
    {
        FillOverviewWorkTable(*data, *receipts, *work, from, to, order);
        WriteOverviewText(*work, QString(kOverviewTextFile));
        return readFile(textPath());
    }

    InTemporaryDirectory dir;
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TData> data;
    std::unique_ptr<store::Table> receipts, work;
};

TEST_P(OverviewFilesTest, TheTextFileByteForByteInBothOrders)
{
    // Sorted by number; the type cut to two characters, an empty value as nothing, the
    // quotes of a name doubled, Czech letters in Windows-1250, numbers with a period.
    EXPECT_EQ(text(ByReceipt), kHeading + kLine101 + kLine102 + kLine103);
    EXPECT_EQ(work->IndexName(), ix::SesDodMem::Doklad);
    // By supplier, and within a supplier by number.
    EXPECT_EQ(text(BySupplier), kHeading + kLine102 + kLine101 + kLine103);
    EXPECT_EQ(work->IndexName(), ix::SesDodMem::KodDod);
    // The receipts keep the range of the period.
    EXPECT_EQ(receipts->RecordCount(), 3);
    // The journal and the assortment are given back as found: closed, or open on their
    // own index.
    EXPECT_FALSE(data->ffDenik.Active());
    EXPECT_FALSE(data->ffSortiment.Active());
    data->ffSortiment.Open();
    data->ffSortiment.SetIndexName(ix::ffSortiment::NAC);
    text(ByReceipt);
    EXPECT_TRUE(data->ffSortiment.Active());
    EXPECT_EQ(data->ffSortiment.IndexName(), ix::ffSortiment::NAC);
}

TEST_P(OverviewFilesTest, AnEmptyOrReversedPeriodGivesTheHeadingLineOnly)
{
    EXPECT_EQ(text(ByReceipt, QDate(2005, 1, 1), QDate(2005, 12, 31)), kHeading);
    EXPECT_EQ(text(BySupplier, QDate(2005, 1, 1), QDate(2005, 12, 31)), kHeading);
    // The first date after the last selects nothing, though receipts lie between them.
    EXPECT_EQ(text(ByReceipt, kTo, kFrom), kHeading);
    EXPECT_TRUE(work->IsEmpty());
}

TEST_P(OverviewFilesTest, ATextFileThatCannotBeCreatedNamesItselfAndLeavesNothing)
{
    FillOverviewWorkTable(*data, *receipts, *work, kFrom, kTo, ByReceipt);
    // A directory holds the file's name.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("PrehledDodavek.txt")));
    try {
        WriteOverviewText(*work, QString(kOverviewTextFile));
        ADD_FAILURE() << "no error";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().contains(textPath())) << e.text().toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());

    // A value that is not a number never reaches the work table (its field refuses it),
    // so the file written before stays as it was.
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("PrehledDodavek.txt")));
    WriteOverviewText(*work, QString(kOverviewTextFile));
    work->First();
    work->Edit();
    EXPECT_ANY_THROW(work->FieldByName(store::tables::column::SesDodMem::CelFac)
                         .SetAsFloat(std::numeric_limits<double>::infinity()));
    work->Cancel();
    EXPECT_EQ(readFile(textPath()), kHeading + kLine101 + kLine102 + kLine103);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("PrehledDodavek.txt")});
}

TEST_P(OverviewFilesTest, TheWorkbookReadBackHoldsTheFieldNamesAndTheValues)
{
    FillOverviewWorkTable(*data, *receipts, *work, kFrom, kTo, BySupplier);
    const QString path = dir.filePath(QStringLiteral("doklady/Přehled faktur k 01.04.2004.xlsx"));
    WriteOverviewWorkbook(*work, path);
    const QByteArray sheet = sheetXml(path);
    EXPECT_FALSE(sheet.contains("<f>"));   // values, not formulas
    const auto cells = sheetCells(sheet);
    const char *names[] = {"Vystaveno", "Doklad",   "TypDod",   "FakDod", "KodDod", "Nazev",  "CelFac", "CelkemNC",
                           "CelkemPC",  "Zaklad22", "Zaklad05", "Zaklad00", "Dan22", "Dan05", "HalVyr"};
    for (int i = 0; i < 15; ++i) {
        const QString ref = QChar(u'A' + i) + QStringLiteral("1");
        EXPECT_EQ(cells.count(ref) ? cells.at(ref) : QString(), QLatin1String(names[i])) << ref.toStdString();
    }
    // Rows in the order of the overview: 102 of Alfa, then 101 and 103 of Beta. A date is
    // a date cell (days since 30.12.1899).
    const std::map<QString, QString> expected = {
        {"A2", QString::number(QDate(1899, 12, 30).daysTo(kTo))},
        {"B2", "0000000102"}, {"C2", "PR"}, {"E2", "000001"}, {"F2", kAlfa}, {"G2", "100"}, {"H2", "80"},
        {"I2", "122"},        {"M2", "17.6"},
        {"B3", "0000000101"}, {"C3", "P1"}, {"D3", "F-77"}, {"F3", kBeta}, {"G3", "1234.5"}, {"K3", "234.5"},
        {"B4", "0000000103"}, {"D4", "X9"}, {"L4", "40"},
    };
    for (const auto &[ref, value] : expected)
        EXPECT_EQ(cells.count(ref) ? cells.at(ref) : QStringLiteral("<none>"), value) << ref.toStdString();
    // An empty value is no cell; no row beyond the receipts.
    EXPECT_EQ(cells.count(QStringLiteral("D2")), 0u);
    EXPECT_EQ(cells.count(QStringLiteral("B5")), 0u);
    // Nothing else is left beside it.
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("doklady"))).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // Written again over the old one.
    FillOverviewWorkTable(*data, *receipts, *work, kFrom, kTo, ByReceipt);
    WriteOverviewWorkbook(*work, path);
    EXPECT_EQ(sheetCells(sheetXml(path)).at(QStringLiteral("B2")), QStringLiteral("0000000101"));
}

TEST_P(OverviewFilesTest, AWorkbookWhoseDirectoryCannotBeMadeIsRefused)
{
    FillOverviewWorkTable(*data, *receipts, *work, kFrom, kTo, ByReceipt);
    // A file stands where the directory would be.
    QFile blocker(dir.filePath(QStringLiteral("soubor")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        WriteOverviewWorkbook(*work, dir.filePath(QStringLiteral("soubor/prehled.xlsx")));
        ADD_FAILURE() << "no error";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().contains(dir.filePath(QStringLiteral("soubor")))) << e.text().toStdString();
    }
}

TEST_P(OverviewFilesTest, TheWorkbookGoesToTheDocumentsDirectoryByDefault)
{
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", dir.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    const QString path = OverviewWorkbookPath(QDate(2024, 4, 1));
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
    EXPECT_EQ(path, dir.filePath(QStringLiteral("Documents/Přehled faktur k 01.04.2024.xlsx")));
}

INSTANTIATE_TEST_SUITE_P(Engines, OverviewFilesTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
