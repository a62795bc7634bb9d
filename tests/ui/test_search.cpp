// The search dialogs' commands on a real firm of each engine: each option's index and
// search value, the nearest-key landing, the order left to the caller, the refused sale
// price, and the dialog's states.

#include "test_pickers_support.h"

#include "recordingprompter.h"
#include "search_dialogs.h"
#include "store/tables/index_names.h"

#include <QSignalSpy>

namespace ix = store::tables::index;

namespace {

using pickers::Backend;
using pickers::FirmTest;

class SearchTest : public FirmTest {
protected:
    void addCards()
    {
        addCard(QStringLiteral("000010"), QStringLiteral("Kladivo"), 120.5, QStringLiteral("Tesařské"),
                QStringLiteral("K-10"), QStringLiteral("V900"));
        addCard(QStringLiteral("000020"), QStringLiteral("Dláto"), 35, QStringLiteral("Rydlo"), QStringLiteral("D-20"),
                QStringLiteral("V100"));
        addCard(QStringLiteral("000030"), QStringLiteral("Pilník"), 89.9, QStringLiteral("Rašple"),
                QStringLiteral("P-30"), QStringLiteral("V500"));
        addCard(QStringLiteral("000040"), QStringLiteral("Kleště"), 250, QStringLiteral("Štípačky"),
                QStringLiteral("K-40"), QStringLiteral("V300"));
        data->ffSortiment.SetIndexName(ix::ffSortiment::KAV);
        data->ffSortiment.First();
    }

    // Runs the dialog as the user would: option, typed text, "&Hledej".
    int search(SearchDialog &dialog, int option, const QString &text)
    {
        dialog.FormShow();
        dialog.SelectOption(option);
        dialog.SetText(text);
        dialog.FieldKeyPressed();
        dialog.BitBtn1Click();
        return dialog.ModalResult;
    }

    QString card() { return data->ffSortimentSOR_KAV.AsString(); }
};

TEST_P(SearchTest, EachOptionLandsOnTheNearestKeyOfItsIndex)
{
    addCards();
    struct Case {
        int option;
        const char *text;
        const char *index;
        const char *card;
        bool eof;
    };
    const Case cases[] = {
        {0, "Kle", ix::ffSortiment::NAC, "000040", false},         // a prefix: first name equal or greater
        {0, "kladivo  ", ix::ffSortiment::NAC, "000010", false},   // the full name, in any case, trailing blanks gone
        {0, "Kn", ix::ffSortiment::NAC, "000030", false},          // between two names: the next one
        {0, "Zámek", ix::ffSortiment::NAC, "000030", true},        // past the last name: the last row, end of table
        {1, "  000030 ", ix::ffSortiment::KAV, "000030", false},   // the card number, trimmed
        {1, "00002", ix::ffSortiment::KAV, "000020", false},       // the beginning of a number
        {2, "Rašple", ix::ffSortiment::ALI, "000030", false},
        {3, "K-4", ix::ffSortiment::KDO, "000040", false},
        {4, "V200", ix::ffSortiment::KVY, "000040", false},
        {5, "89,9", ix::ffSortiment::PC1, "000030", false},        // the sale price, converted to a number
        {5, "100", ix::ffSortiment::PC1, "000010", false},
    };
    for (const Case &c : cases) {
        TSorHle dialog;
        EXPECT_EQ(search(dialog, c.option, QString::fromUtf8(c.text)), mrOk) << c.text;
        EXPECT_EQ(data->ffSortiment.IndexName(), QLatin1String(c.index)) << c.text;
        EXPECT_EQ(card(), QLatin1String(c.card)) << c.text;
        EXPECT_EQ(data->ffSortiment.Eof(), c.eof) << c.text;
    }
}

// Under the card-number option a scanned bar code lands on its card; a code whose check
// digit is wrong is an ordinary text and lands on the nearest card number.
TEST_P(SearchTest, ABarCodeUnderTheCardNumberFindsItsCard)
{
    addCards();
    store::Table &cards = data->ffSortiment;
    ASSERT_TRUE(cards.FindKey({QStringLiteral("000030")}));
    cards.Edit();
    data->ffSortimentSOR_EAN.SetAsString(QStringLiteral("8594000000013"));
    cards.Post();
    cards.First();
    TSorHle dialog;
    EXPECT_EQ(search(dialog, 1, QStringLiteral(" 8594000000013 ")), int(mrOk));
    EXPECT_EQ(card(), QStringLiteral("000030"));
    EXPECT_EQ(cards.IndexName(), ix::ffSortiment::KAV);
    TSorHle other;
    EXPECT_EQ(search(other, 1, QStringLiteral("8594000000014")), int(mrOk));
    EXPECT_TRUE(cards.Eof());   // past the last card number, as any text greater than all
}

TEST_P(SearchTest, AfterANameSearchTheCallersListIsInNameOrder)
{
    addCards();
    TSorHle dialog;
    ASSERT_EQ(search(dialog, 0, QStringLiteral("D")), mrOk);
    QStringList names;
    for (store::Table &t = data->ffSortiment; !t.Eof(); t.Next())
        names << data->ffSortimentSOR_NAC.AsString();
    EXPECT_EQ(names, QStringList({QStringLiteral("Dláto"), QStringLiteral("Kladivo"), QStringLiteral("Kleště"),
                                  QStringLiteral("Pilník")}));
}

TEST_P(SearchTest, ASalePriceThatIsNotANumberIsRefusedAndNothingMoves)
{
    addCards();
    RecordingPrompter prompter;
    ASSERT_TRUE(data->ffSortiment.FindKey({QStringLiteral("000030")}));
    TSorHle dialog;
    QSignalSpy focus(&dialog, &FormCommands::focusRequested);
    EXPECT_EQ(search(dialog, 5, QStringLiteral("12a")), mrNone);  // stays open
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains(QStringLiteral("12a")));
    EXPECT_EQ(data->ffSortiment.IndexName(), ix::ffSortiment::KAV);
    EXPECT_EQ(card(), QStringLiteral("000030"));
    ASSERT_FALSE(focus.isEmpty());
    EXPECT_EQ(focus.last().at(0).toInt(), int(SearchDialog::VEdit1));
}

TEST_P(SearchTest, TheDialogOpensEmptyAndSearchesOnlyAfterAKey)
{
    addCards();
    TSorHle dialog;
    dialog.Selected = 5;
    dialog.Text = QStringLiteral("old");
    dialog.HledejEnabled = true;
    QSignalSpy focus(&dialog, &FormCommands::focusRequested);
    dialog.FormShow();
    EXPECT_EQ(dialog.Selected, 0);
    EXPECT_TRUE(dialog.Text.isEmpty());
    EXPECT_FALSE(dialog.HledejEnabled);
    EXPECT_FALSE(dialog.FloatField());
    EXPECT_EQ(focus.last().at(0).toInt(), 0);

    dialog.BitBtn1Click();  // disabled: nothing happens
    EXPECT_EQ(dialog.ModalResult, mrNone);
    EXPECT_EQ(data->ffSortiment.IndexName(), ix::ffSortiment::KAV);

    dialog.SelectOption(5);  // the sale price: the field takes a number
    EXPECT_TRUE(dialog.FloatField());
    dialog.RadioKeyDown(Qt::Key_Return);
    EXPECT_EQ(focus.last().at(0).toInt(), int(SearchDialog::VEdit1));
    dialog.SelectOption(1);
    EXPECT_FALSE(dialog.FloatField());

    EXPECT_FALSE(dialog.FormKeyDown(Qt::Key_F5));
    EXPECT_TRUE(dialog.FormKeyDown(Qt::Key_Escape));
    EXPECT_EQ(dialog.ModalResult, mrCancel);
    EXPECT_EQ(card(), QStringLiteral("000010"));
    EXPECT_EQ(data->ffSortiment.IndexName(), ix::ffSortiment::KAV);
}

TEST_P(SearchTest, SupplierAndDocumentSearchesUseTheirTables)
{
    addSupplier(QStringLiteral("000001"), QStringLiteral("Železářství Novák"), QStringLiteral("12345678"));
    addSupplier(QStringLiteral("000002"), QStringLiteral("Účetní služby"), QStringLiteral("87654321"));
    addSupplier(QStringLiteral("000003"), QStringLiteral("Barvy Laky"), QStringLiteral("55555555"));
    store::Table &dod = data->ffDodavatele;
    dod.SetIndexName(ix::ffDodavatele::KOD);
    {
        TDodHle dialog;
        EXPECT_EQ(search(dialog, 0, QStringLiteral("  účetní")), mrOk);  // capitals by the locale
        EXPECT_EQ(dod.IndexName(), ix::ffDodavatele::NAC);
        EXPECT_EQ(data->ffDodavateleDOD_KOD.AsString(), QStringLiteral("000002"));
    }
    {
        TDodHle dialog;
        EXPECT_EQ(search(dialog, 1, QStringLiteral(" 5555")), mrOk);
        EXPECT_EQ(dod.IndexName(), ix::ffDodavatele::ICO);
        EXPECT_EQ(data->ffDodavateleDOD_KOD.AsString(), QStringLiteral("000003"));
    }
    {
        TDodHle dialog;
        EXPECT_EQ(search(dialog, 2, QStringLiteral(" 000001 ")), mrOk);
        EXPECT_EQ(dod.IndexName(), ix::ffDodavatele::KOD);
        EXPECT_EQ(data->ffDodavateleDOD_KOD.AsString(), QStringLiteral("000001"));
    }

    store::Table &hla = data->ffPodklHlav;
    hla.Open();
    for (const char *number : {"0000000009", "0000000123", "0000000450"})
        AppendRow(hla, {{data->ffPodklHlavHLA_DO1, number}, {data->ffPodklHlavHLA_NAC, "Dodavatel"},
                        {data->ffPodklHlavHLA_DO2, "F"}});
    hla.SetIndexName(ix::ffPodklHlav::DO1);
    {
        // A number typed without its leading zeros is not the stored number: it lands on
        // the first number that sorts after it.
        TPodkladyHle dialog;
        EXPECT_EQ(search(dialog, 0, QStringLiteral("123")), mrOk);
        EXPECT_TRUE(hla.Eof());
        TPodkladyHle exact;
        EXPECT_EQ(search(exact, 0, QStringLiteral("0000000123")), mrOk);
        EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000123"));
        EXPECT_FALSE(hla.Eof());
    }
}

// Texts with quotes, semicolons, percent signs, underscores and backslashes are data:
// stored and read back as typed, and a search finds them as they are, never as a pattern
// or a statement.
TEST_P(SearchTest, QuotesPercentUnderscoresAndBackslashesAreData)
{
    const QStringList names = {
        QStringLiteral("Kladivo"),
        QStringLiteral("O'Brien \"Pila\""),
        QStringLiteral("50% sleva; DROP TABLE Sor0001"),
        QStringLiteral("a_b"),
        QStringLiteral("C:\\dílna\\'"),
        QStringLiteral("'); DELETE FROM Sor0001;--"),
        QStringLiteral("%_\\"),
    };
    for (int i = 0; i < names.size(); ++i)
        addCard(QStringLiteral("%1").arg(10 * (i + 1), 6, 10, QLatin1Char('0')), names[i]);
    for (int i = 0; i < names.size(); ++i) {
        TSorHle dialog;
        EXPECT_EQ(search(dialog, 0, names[i]), mrOk) << names[i].toStdString();
        EXPECT_EQ(data->ffSortimentSOR_NAC.AsString(), names[i]);
        EXPECT_EQ(card(), QStringLiteral("%1").arg(10 * (i + 1), 6, 10, QLatin1Char('0')));
    }
    // As patterns these would find "Kladivo"; as data they sort after every name.
    for (const char *pattern : {"_ladivo", "~%"}) {
        TSorHle dialog;
        EXPECT_EQ(search(dialog, 0, QLatin1String(pattern)), mrOk) << pattern;
        EXPECT_TRUE(data->ffSortiment.Eof()) << pattern;
        EXPECT_NE(card(), QStringLiteral("000010")) << pattern;
    }
    EXPECT_EQ(data->ffSortiment.RecordCount(), names.size());   // nothing was run

    // The same texts as suppliers' free texts, found by the supplier search (in capitals).
    for (int i = 0; i < names.size(); ++i)
        addSupplier(QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0')), names[i]);
    store::Table &dod = data->ffDodavatele;
    for (int i = 0; i < names.size(); ++i) {
        TDodHle dialog;
        EXPECT_EQ(search(dialog, 0, names[i]), mrOk) << names[i].toStdString();
        EXPECT_EQ(data->ffDodavateleDOD_FIR.AsString(), names[i]);
    }
    EXPECT_EQ(dod.RecordCount(), names.size());
}

INSTANTIATE_TEST_SUITE_P(Engines, SearchTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
