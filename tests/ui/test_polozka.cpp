// The item editor's commands and the card look-up SorValid on a real database of each
// engine: the derived values, the check of whole packages, the OnValid handlers that
// work with the stored values, and the choice of a card.

#include "test_doklad_support.h"
#include "store/tables/index_names.h"

namespace ix = store::tables::index;

#include "sorvalid.h"

using namespace doklad;
using storetest::Backend;

namespace {

class PolozkaTest : public WindowsTest {
protected:
    // A written document at rate 25 in editing, with a new item row and the assortment
    // open, as F2 prepares them.
    void SetUp() override
    {
        WindowsTest::SetUp();
        if (IsSkipped())
            return;
        addDocument(QStringLiteral("0000000001"), QStringLiteral("000001"), {});
        headers().Open();
        headers().Edit();
        data->ffPodklHlavHLA_KUR.SetAsFloat(25);
        items().Open();
        items().Append();
        data->ffPodklPolPOP_DOK.SetAsString(QStringLiteral("0000000001"));
        data->ffPodklPolPOP_BAL.SetAsFloat(1);
        data->ffSortiment.Open();
    }

    void set(double cku, double cnc, double pri, double bal)
    {
        data->ffPodklPolPOP_CKU.SetAsFloat(cku);
        data->ffPodklPolPOP_CNC.SetAsFloat(cnc);
        data->ffPodklPolPOP_PRI.SetAsFloat(pri);
        data->ffPodklPolPOP_BAL.SetAsFloat(bal);
    }

    TPodkladyPolEdit editor;
};

TEST_P(PolozkaTest, ZapisDerivesThePackagePriceAndCount)
{
    EXPECT_EQ(typeItem(editor, QStringLiteral("000010"), QStringLiteral("2"), QStringLiteral("24"),
                       QStringLiteral("10"), QStringLiteral("6")),
              mrOk);
    EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_NCS.AsFloat(), 330.0);   // (25 × 2 + 25 × 2 / 100 × 10) × 6
    EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_KUS.AsFloat(), 4.0);
    EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_NCC.AsFloat(), 1320.0);
    EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_CCC.AsFloat(), 48.0);
    EXPECT_EQ(data->ffPodklPolPOP_KAV.AsString(), QStringLiteral("000010"));
    EXPECT_EQ(data->ffPodklPolPOP_NAC.AsString(), QStringLiteral("Šroub M6"));
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();
}

// "Zapiš" takes only quantities within 0.01 above a whole number of packages.
TEST_P(PolozkaTest, ZapisRefusesAQuantityThatIsNotWholeInPackages)
{
    struct Case {
        double cku, bal;
        const QString refusal;   // empty: written
    };
    const Case cases[] = {
        {24, 6, {}},
        {25, 6, TPodkladyPolEdit::kNotWhole},
        {3.004, 1, {}},
        {2.999, 1, TPodkladyPolEdit::kNotWhole},
        {0, 6, {}},
        {7, 0, TPodkladyPolEdit::kZeroPackage},
    };
    for (const Case &c : cases) {
        TPodkladyPolEdit e;
        QVector<int> focus;
        QObject::connect(&e, &FormCommands::focusRequested, [&](int control) { focus << control; });
        prompts.messages.clear();
        set(c.cku, 2, 0, c.bal);
        e.Button2Click();
        const std::string label = std::to_string(c.cku) + " / " + std::to_string(c.bal);
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(e.ModalResult, mrOk) << label;
            EXPECT_TRUE(prompts.messages.isEmpty()) << label;
            EXPECT_TRUE(focus.isEmpty()) << label;
        } else {
            EXPECT_EQ(e.ModalResult, mrNone) << label;
            EXPECT_EQ(prompts.messages, QStringList{c.refusal}) << label;
            EXPECT_EQ(focus, QVector<int>{TPodkladyPolEdit::DBEditTovel5}) << label;
        }
    }
}

// An item whose value overflows (quantity × price beyond any number) is not taken: the
// window stays open on the price.
TEST_P(PolozkaTest, ZapisRefusesAnItemValueBeyondAnyNumber)
{
    QVector<int> focus;
    QObject::connect(&editor, &FormCommands::focusRequested, [&](int control) { focus << control; });
    set(1e10, 1e300, 0, 1);
    editor.Button2Click();
    EXPECT_EQ(editor.ModalResult, mrNone);
    EXPECT_EQ(prompts.messages, QStringList{TPodkladyPolEdit::kOutOfRange});
    EXPECT_EQ(focus, QVector<int>{TPodkladyPolEdit::DBEditTovel2});
}

// Each handler runs while its field still holds the previous value, so the shown
// values may lag one step; only the markup and the package size use their new text.
TEST_P(PolozkaTest, HandlersDeriveFromTheStoredValues)
{
    set(12, 2, 0, 6);
    QString text = QStringLiteral("4");
    bool valid = true;
    editor.DBEditTovel2Valid(text, valid);   // the new price 4 is not used yet
    EXPECT_TRUE(valid);
    EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_NCS.AsFloat(), 300.0);
    EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_KUS.AsFloat(), 2.0);

    text = QStringLiteral("10");
    editor.DBEditTovel4Valid(text, valid);   // markup from the text
    EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_NCS.AsFloat(), 330.0);
    text = QStringLiteral("3");
    editor.DBEditTovel5Valid(text, valid);   // package size from the text, markup stored (0)
    EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_NCS.AsFloat(), 150.0);
    EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_KUS.AsFloat(), 4.0);
    EXPECT_TRUE(valid);

    for (const char *bad : {"", "abc", "-1"}) {
        text = QLatin1String(bad);
        valid = true;
        data->ffPodklPolPOP_KUS.SetAsFloat(-7);
        editor.DBEditTovel3Valid(text, valid);
        EXPECT_FALSE(valid) << bad;
        EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_KUS.AsFloat(), 2.0) << bad;   // derived all the same
    }
    text = QStringLiteral("0");
    valid = true;
    editor.DBEditTovel3Valid(text, valid);
    EXPECT_TRUE(valid);
    text = QStringLiteral("2,5");
    editor.DBEditTovel3Valid(text, valid);
    EXPECT_TRUE(valid);

    EXPECT_THROW(editor.DBEditTovel4Valid(text = QStringLiteral("x"), valid), ConversionError);
    EXPECT_THROW(editor.DBEditTovel5Valid(text = QString(), valid), ConversionError);
    try {
        editor.DBEditTovel5Valid(text = QStringLiteral("0"), valid);
        ADD_FAILURE() << "a package size of 0 was taken";
    } catch (const AppError &e) {
        EXPECT_EQ(e.text(), TPodkladyPolEdit::kZeroPackage);
    }
    EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_KUS.AsFloat(), 2.0);
    EXPECT_TRUE(prompts.messages.isEmpty());

    // A package size of 0 already stored is reported, but does not hold the user in
    // the price field, from which it cannot be corrected.
    data->ffPodklPolPOP_BAL.SetAsFloat(0);
    valid = true;
    editor.DBEditTovel2Valid(text = QStringLiteral("4"), valid);
    EXPECT_TRUE(valid);
    EXPECT_EQ(prompts.messages, QStringList{TPodkladyPolEdit::kZeroPackage});
}

TEST_P(PolozkaTest, CardLookUp)
{
    AppendRow(data->ffSortiment, {{data->ffSortimentSOR_KAV, "12345"},
                                  {data->ffSortimentSOR_NAC, "Krátká karta"}});
    QString text = QStringLiteral("000011");
    bool valid = true;
    editor.DBEditTovel1Valid(text, valid, false);   // a full card number: taken directly
    EXPECT_TRUE(valid);
    EXPECT_EQ(text, QStringLiteral("000011"));
    EXPECT_EQ(data->ffPodklPolPOP_NAC.AsString(), QStringLiteral("Matice M6"));
    EXPECT_TRUE(screens.opened.isEmpty());
    EXPECT_EQ(data->LastSorCode, QStringLiteral("000011"));

    // Five characters or fewer always open the picker, at the remembered card.
    screens.sortiment = [&] {
        EXPECT_EQ(data->ffSortiment.IndexName(), ix::ffSortiment::NAC);
        EXPECT_EQ(data->ffSortimentSOR_KAV.AsString(), QStringLiteral("000011"));
        data->ffSortiment.Prior();   // "Krátká karta" before "Matice M6" by name
        return mrOk;
    };
    text = QStringLiteral("12345");
    editor.DBEditTovel1Valid(text, valid, false);
    EXPECT_TRUE(valid);
    EXPECT_EQ(text, QStringLiteral("12345"));
    EXPECT_EQ(data->ffPodklPolPOP_NAC.AsString(), QStringLiteral("Krátká karta"));
    EXPECT_EQ(screens.opened.value(0).pos, QPoint(150, 152));
    EXPECT_EQ(data->LastSorIndex, ix::ffSortiment::NAC);

    // Cancelled: the text is invalid and stays; leaving towards "Storno" checks nothing.
    screens.sortiment = [] { return mrCancel; };
    text = QStringLiteral("Šroub");
    editor.DBEditTovel1Valid(text, valid, false);
    EXPECT_FALSE(valid);
    EXPECT_EQ(text, QStringLiteral("Šroub"));
    valid = true;
    editor.DBEditTovel1Valid(text, valid, true);
    EXPECT_TRUE(valid);
    EXPECT_EQ(screens.opened.size(), 2);

    // The side button: chosen or not, the text goes back into the field.
    editor.DBEditTovel1ClickButton(text = QStringLiteral("000010"));
    EXPECT_EQ(text, QStringLiteral("000010"));
    EXPECT_EQ(data->ffPodklPolPOP_KAV.AsString(), QStringLiteral("000010"));
    editor.DBEditTovel1ClickButton(text = QStringLiteral("nic"));
    EXPECT_EQ(text, QStringLiteral("nic"));
    EXPECT_EQ(data->ffPodklPolPOP_KAV.AsString(), QStringLiteral("000010"));
    EXPECT_EQ(screens.opened.size(), 3);

    // The assortment stays as the caller had it: open on the card, or closed.
    EXPECT_TRUE(SorValid(*data, QStringLiteral("000012")));
    EXPECT_TRUE(data->ffSortiment.Active());
    EXPECT_EQ(data->ffSortimentSOR_NAC.AsString(), QStringLiteral("Podložka"));
    data->ffSortiment.Close();
    EXPECT_TRUE(SorValid(*data, QStringLiteral("000012")));
    EXPECT_FALSE(data->ffSortiment.Active());
}

TEST_P(PolozkaTest, StornoEscapeAndTheCloseBoxCancel)
{
    editor.Button1Click();
    EXPECT_EQ(editor.ModalResult, mrCancel);
    TPodkladyPolEdit byKey;
    EXPECT_FALSE(byKey.FormKeyDown(Qt::Key_F2, Qt::NoModifier));
    EXPECT_TRUE(byKey.FormKeyDown(Qt::Key_Escape, Qt::NoModifier));
    EXPECT_EQ(byKey.ModalResult, mrCancel);
    TPodkladyPolEdit byBox;
    EXPECT_TRUE(byBox.FormCloseQuery());
    EXPECT_EQ(byBox.ModalResult, mrCancel);
}

INSTANTIATE_TEST_SUITE_P(Engines, PolozkaTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
