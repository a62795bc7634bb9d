// The assortment picker's commands behind the card look-up SorValid, on a firm of each
// engine: where and in which order the picker opens, what it remembers on every key and
// on closing, the search from it, and an empty assortment.

#include "test_pickers_support.h"
#include "testscreens.h"

#include "prehled_sortimentu.h"
#include "search_dialogs.h"
#include "sorvalid.h"
#include "store/tables/index_names.h"

#include <QSignalSpy>
#include <functional>

namespace ix = store::tables::index;

namespace {

using pickers::Backend;
using pickers::FirmTest;

// Plays the assortment picker as the window would: shown, a script of the user's keys,
// closed. Any other window is a test failure.
class PickerScreens final : public TestScreens {
public:
    std::function<void(TPrehledSortimentu &)> user;
    std::function<int(TSorHle &)> search;
    int opened = 0;

    int ShowPrehledSortimentu(QPoint) override
    {
        ++opened;
        TPrehledSortimentu picker;
        picker.ShowSorHle = [this](TSorHle &dialog) { return search(dialog); };
        picker.FormShow();
        user(picker);
        picker.FormClose();
        return picker.ModalResult;
    }
};

class PickerTest : public FirmTest {
protected:
    void SetUp() override
    {
        FirmTest::SetUp();
        if (IsSkipped())
            return;
        addCard(QStringLiteral("000001"), QStringLiteral("Vrtačka"));
        addCard(QStringLiteral("000002"), QStringLiteral("Brusivo"));
        addCard(QStringLiteral("000003"), QStringLiteral("Kladivo"));
        addCard(QStringLiteral("000004"), QStringLiteral("Metr"));
        data->ffSortiment.Close();
    }

    store::Table &sor() { return data->ffSortiment; }
    QString card() { return data->ffSortimentSOR_KAV.AsString(); }

    // A key as the window passes it: first to the picker, then, when it did not take it,
    // to the grid (move: what the grid does with it).
    static void press(TPrehledSortimentu &picker, int key, const std::function<void()> &move = {})
    {
        if (!picker.FormKeyDown(key) && move)
            move();
    }

    PickerScreens screens;
};

TEST_P(PickerTest, ReopensWhereTheUserStoodInTheOrderThenCurrentAlsoAfterACancel)
{
    screens.user = [&](TPrehledSortimentu &picker) {
        EXPECT_EQ(sor().IndexName(), ix::ffSortiment::NAC);
        sor().First();                                             // Brusivo
        press(picker, Qt::Key_Down, [&] { sor().Next(); });        // Kladivo
        press(picker, Qt::Key_Escape);
    };
    EXPECT_FALSE(SorValid(*data, QStringLiteral("kla")));
    EXPECT_EQ(screens.opened, 1);
    EXPECT_FALSE(sor().Active());  // the look-up closes what it opened

    screens.user = [&](TPrehledSortimentu &picker) {
        EXPECT_EQ(sor().IndexName(), ix::ffSortiment::NAC);
        EXPECT_EQ(card(), QStringLiteral("000003"));
        press(picker, Qt::Key_Down, [&] { sor().Next(); });        // Metr
        press(picker, Qt::Key_Return);
    };
    sor().Open();  // open for the caller: the table stays on the chosen card
    EXPECT_TRUE(SorValid(*data, QStringLiteral("xyz")));
    EXPECT_EQ(card(), QStringLiteral("000004"));
    EXPECT_EQ(data->LastSorCode, QStringLiteral("000004"));
    EXPECT_EQ(data->LastSorIndex, ix::ffSortiment::NAC);
}

TEST_P(PickerTest, ACardTakenByItsNumberMakesTheNextPickerOpenInNumberOrder)
{
    sor().Open();
    EXPECT_TRUE(SorValid(*data, QStringLiteral("000002")));  // taken directly, no picker
    EXPECT_EQ(screens.opened, 0);

    // In number order at that card; a name search there leaves name order behind.
    screens.search = [&](TSorHle &dialog) {
        dialog.FormShow();
        dialog.SetText(QStringLiteral("Met"));
        dialog.FieldKeyPressed();
        dialog.BitBtn1Click();
        return dialog.ModalResult;
    };
    screens.user = [&](TPrehledSortimentu &picker) {
        EXPECT_EQ(sor().IndexName(), ix::ffSortiment::KAV);
        EXPECT_EQ(card(), QStringLiteral("000002"));
        QSignalSpy focus(&picker, &FormCommands::focusRequested);
        press(picker, Qt::Key_F5);
        EXPECT_EQ(focus.count(), 1);  // back to the grid
        EXPECT_EQ(card(), QStringLiteral("000004"));
        press(picker, Qt::Key_Up, [&] { sor().Prior(); });  // Kladivo, in name order
        EXPECT_EQ(card(), QStringLiteral("000003"));
        picker.DBGrid1DblClick();
    };
    EXPECT_TRUE(SorValid(*data, QStringLiteral("0")));
    EXPECT_EQ(card(), QStringLiteral("000003"));

    screens.user = [&](TPrehledSortimentu &picker) {
        EXPECT_EQ(sor().IndexName(), ix::ffSortiment::NAC);
        EXPECT_EQ(card(), QStringLiteral("000003"));
        press(picker, Qt::Key_Escape);
    };
    EXPECT_FALSE(SorValid(*data, QString()));
    EXPECT_EQ(screens.opened, 2);
}

TEST_P(PickerTest, AnEmptyAssortmentHasNothingToChoose)
{
    sor().Open();
    for (sor().First(); !sor().IsEmpty();)
        sor().Delete();
    screens.user = [&](TPrehledSortimentu &picker) {
        press(picker, Qt::Key_Return);
        EXPECT_EQ(picker.ModalResult, mrNone);
        picker.DBGrid1DblClick();
        EXPECT_EQ(picker.ModalResult, mrNone);
        press(picker, Qt::Key_Escape);
    };
    EXPECT_FALSE(SorValid(*data, QStringLiteral("000001")));
    EXPECT_EQ(screens.opened, 1);
    EXPECT_FALSE(data->LastSorSet);
}

INSTANTIATE_TEST_SUITE_P(Engines, PickerTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
