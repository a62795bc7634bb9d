// The main window's deliveries overview ("Sestavy" → "Sestava dodávek") on a real
// database of each engine, with the period dialog and the report's setup dialog played by
// scripts: "Storno" writes nothing, "Start" runs the overview of the chosen period and
// order and copies the check box, and an error shows "Ošetření vyjímky" naming its cause,
// with the receipts closed in every case.

#include "../reports/overview_fixture.h"
#include "recordingprompter.h"
#include "store_test_support.h"
#include "testscreens.h"

#include "dodavky.h"
#include "reports/data_sestavy.h"
#include "reports/prehled_dodavek.h"
#include "ses_preh_dod_od_do.h"
#include "store/tables/index_names.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace ix = store::tables::index;

using storetest::Backend;
using namespace overviewtest;

namespace {

class OverviewScreens final : public TestScreens {
public:
    std::function<int(TSesPrehDodOdDo &)> period;
    std::function<int(TSestavySetup &)> setup;
    QStringList opened;

    int ShowSesPrehDodOdDo(TSesPrehDodOdDo &dialog) override
    {
        opened << QStringLiteral("obdobi");
        return period ? period(dialog) : unexpected("obdobi");
    }
    int ShowSestavySetup(TSestavySetup &s) override
    {
        opened << QStringLiteral("nastaveni");
        return setup ? setup(s) : unexpected("nastaveni");
    }
};

class OverviewCommandTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<storetest::TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0001"));
        FreshFirmSchema(data->Database, data->FirmNumber);
        reports = std::make_unique<TDataSestavy>();
        writeReceipts(*data, reports->ffSesDod);
        // The overview leaves the setup choices as they are: its setup dialog is shown,
        // where the script sends the pages to a PDF.
        screens.setup = [this](TSestavySetup &s) {
            s.destination = TDestination::File;
            s.fileName = dir.filePath(QStringLiteral("sestava.pdf"));
            return mrOk;
        };
    }

    void TearDown() override
    {
        reports.reset();
        data.reset();
        db.reset();
    }

    QString textPath() const { return dir.filePath(QStringLiteral("PrehledDodavek.txt")); }

    InTemporaryDirectory dir;
    std::unique_ptr<storetest::TestDatabase> db;
    std::unique_ptr<TData> data;
    std::unique_ptr<TDataSestavy> reports;
    RecordingPrompter prompts;
    OverviewScreens screens;
    TDodavky window;
};

TEST_P(OverviewCommandTest, StornoWritesNothing)
{
    reports->ExcelExport = true;
    screens.period = [](TSesPrehDodOdDo &d) {
        EXPECT_EQ(d.ZandorDateEdit1Date, QDate::currentDate());
        EXPECT_EQ(d.ZandorDateEdit2Date, QDate::currentDate());
        // The receipts are ready on the firm's table, in date order.
        EXPECT_TRUE(DataSestavy->ffSesDod.Active());
        EXPECT_EQ(DataSestavy->ffSesDod.TableName(), QStringLiteral("Prd0001"));
        EXPECT_EQ(DataSestavy->ffSesDod.IndexName(), ix::ffSesDod::DAT);
        d.CheckBox1Checked = false;
        d.Button2Click();
        return d.ModalResult;
    };
    window.Sestavadodvek1Click();
    EXPECT_EQ(screens.opened, QStringList{QStringLiteral("obdobi")});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
    EXPECT_TRUE(reports->ExcelExport);   // only "Start" copies the check box
    EXPECT_FALSE(reports->ffSesDod.Active());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_P(OverviewCommandTest, StartRunsTheOverviewOfThePeriodInTheChosenOrder)
{
    reports->ExcelExport = true;
    screens.period = [](TSesPrehDodOdDo &d) {
        d.ZandorDateEdit1Date = kFrom;
        d.ZandorDateEdit2Date = kTo;
        d.TrizeniItemIndex = BySupplier;
        d.CheckBox1Checked = false;
        d.Button1Click();
        return d.ModalResult;
    };
    window.Sestavadodvek1Click();
    EXPECT_EQ(screens.opened, (QStringList{QStringLiteral("obdobi"), QStringLiteral("nastaveni")}));
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(QLatin1Char('\n')).toStdString();
    QFile text(textPath());
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), kHeading + kLine102 + kLine101 + kLine103);
    EXPECT_FALSE(reports->ExcelExport);
    EXPECT_EQ(reports->DateFrom, kFrom);
    EXPECT_EQ(reports->DateTo, kTo);
    EXPECT_EQ(reports->SortOrder, BySupplier);
    EXPECT_EQ(reports->Sestavy.Document().orientation, QPageLayout::Landscape);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("sestava.pdf"))));
    EXPECT_FALSE(reports->ffSesDod.Active());
    EXPECT_FALSE(reports->SesDodMem.Active());
}

TEST_P(OverviewCommandTest, AnErrorShowsOsetreniVyjimkyAndGivesEverythingBack)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("PrehledDodavek.txt")));
    screens.period = [](TSesPrehDodOdDo &d) {
        d.ZandorDateEdit1Date = kFrom;
        d.ZandorDateEdit2Date = kTo;
        d.Button1Click();
        return d.ModalResult;
    };
    window.Sestavadodvek1Click();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].startsWith(QStringLiteral("Ošetření vyjímky\n")));
    EXPECT_TRUE(prompts.messages[0].contains(textPath())) << prompts.messages[0].toStdString();
    EXPECT_EQ(screens.opened, QStringList{QStringLiteral("obdobi")});   // no printout
    EXPECT_FALSE(reports->ffSesDod.Active());
    EXPECT_FALSE(reports->SesDodMem.Active());

    // The receipts table itself missing: the same message, nothing opened.
    data->Database.DropTable(QStringLiteral("Prd0001"));
    prompts.messages.clear();
    screens.opened.clear();
    window.Sestavadodvek1Click();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].startsWith(QStringLiteral("Ošetření vyjímky\n")));
    EXPECT_TRUE(screens.opened.isEmpty());
    EXPECT_FALSE(reports->ffSesDod.Active());
}

INSTANTIATE_TEST_SUITE_P(Engines, OverviewCommandTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
