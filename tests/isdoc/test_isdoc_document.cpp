// The document an invoice makes, on a firm of each engine: each way of matching in its
// order, ambiguous and unmatched lines with their reasons, withdrawn cards passed over; the
// header and items as the editor writes them (numbered from the counter, totals grown item
// by item); a long invoice number; all or nothing when a write fails; a new supplier cut
// to its fields; a document of the same supplier and number found again.

#include "isdoc_firm.h"
#include "store_test_support.h"

#include "core/errors.h"
#include "isdoc/cards.h"
#include "isdoc/isdoc_document.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <gtest/gtest.h>

namespace ix = store::tables::index;

using storetest::Backend;

namespace {

class IsdocDocumentTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        db = std::make_unique<storetest::TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0001"));
        FreshFirmSchema(data->Database, QStringLiteral("0001"));
        FillIsdocFirm(*data);
    }

    IsdocDocument plan(const char *fixture) { return PlanIsdocDocument(*data, ReadIsdocFile(IsdocFixture(fixture))); }

    std::unique_ptr<storetest::TestDatabase> db;
    std::unique_ptr<TData> data;
};

TEST_P(IsdocDocumentTest, AForeignInvoiceBecomesTheDocumentAClerkWouldType)
{
    const IsdocDocument doc = plan("cizi_mena.isdoc");
    EXPECT_TRUE(doc.refusal().isEmpty());
    EXPECT_EQ(doc.supplierCode, QStringLiteral("000001"));
    EXPECT_EQ(doc.supplierName, QStringLiteral("Alfa s.r.o."));
    EXPECT_EQ(doc.invoiceNumber, QStringLiteral("FV-0042"));
    EXPECT_FALSE(doc.numberShortened);
    EXPECT_EQ(doc.currency, QStringLiteral("EUR"));
    EXPECT_DOUBLE_EQ(doc.rate, 25.1);
    EXPECT_DOUBLE_EQ(doc.invoiced, 103);
    ASSERT_EQ(doc.items.size(), 3);
    // The buyer's card number comes first, although the line's EAN names another card.
    const struct {
        IsdocMatch match;
        const char *card;
        double quantity, price;
    } expected[] = {
        {IsdocMatch::Buyers, "000010", 24, 2},
        {IsdocMatch::Ean, "000020", 10, 2.5},
        {IsdocMatch::Sellers, "000030", 3, 10},
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(doc.items[i].match, expected[i].match) << i;
        EXPECT_EQ(doc.items[i].card, QLatin1String(expected[i].card)) << i;
        EXPECT_DOUBLE_EQ(doc.items[i].quantity, expected[i].quantity) << i;
        EXPECT_DOUBLE_EQ(doc.items[i].price, expected[i].price) << i;
        EXPECT_TRUE(doc.items[i].writable()) << doc.items[i].reason.toStdString();
    }

    const QString number = WriteIsdocDocument(*data, doc);
    EXPECT_EQ(number, QStringLiteral("0000000124"));
    store::Table &header = data->ffPodklHlav;
    EXPECT_EQ(header.State(), store::DataSetState::Browse);
    EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), number);
    EXPECT_EQ(data->ffPodklHlavHLA_DAT.AsDate(), QDate::currentDate());
    EXPECT_EQ(data->ffPodklHlavHLA_DDO.AsDate(), QDate::currentDate());
    EXPECT_EQ(data->ffPodklHlavHLA_ODB.AsString(), QStringLiteral("000001"));
    EXPECT_EQ(data->ffPodklHlavHLA_NAC.AsString(), QStringLiteral("Alfa s.r.o."));
    EXPECT_EQ(data->ffPodklHlavHLA_DO2.AsString(), QStringLiteral("FV-0042"));
    EXPECT_EQ(data->ffPodklHlavHLA_MEN.AsString(), QStringLiteral("EUR"));
    EXPECT_DOUBLE_EQ(data->ffPodklHlavHLA_KUR.AsFloat(), 25.1);
    EXPECT_DOUBLE_EQ(data->ffPodklHlavHLA_FAC.AsFloat(), 103);
    // The totals grew item by item: 48 + 25 + 30 in euros; at stock prices in crowns
    // 24 × 50.2 + 10 × 62.75 + 3 × 251.
    EXPECT_NEAR(data->ffPodklHlavHLA_EUR.AsFloat(), 103, 1e-9);
    EXPECT_NEAR(data->ffPodklHlavHLA_NCA.AsFloat(), 1204.8 + 627.5 + 753, 1e-9);

    data->ffCiselnik.Open();
    EXPECT_EQ(data->ffCiselnikCIS_POD.AsString(), QStringLiteral("124"));
    data->ffCiselnik.Close();

    store::Table &items = data->ffPodklPol;
    items.Open();
    items.SetIndexName(ix::ffPodklPol::DO1);
    items.SetRange({number}, {number});
    ASSERT_EQ(items.RecordCount(), 3);
    items.First();
    QStringList cards;
    for (; !items.Eof(); items.Next()) {
        cards << data->ffPodklPolPOP_KAV.AsString();
        EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_PRI.AsFloat(), 0);
        EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_BAL.AsFloat(), 1);
        EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_KUS.AsFloat(), data->ffPodklPolPOP_CKU.AsFloat());
        EXPECT_NEAR(data->ffPodklPolPOP_NCS.AsFloat(), 25.1 * data->ffPodklPolPOP_CNC.AsFloat(), 1e-9);
        if (data->ffPodklPolPOP_KAV.AsString() == QLatin1String("000020")) {
            EXPECT_EQ(data->ffPodklPolPOP_NAC.AsString(), QStringLiteral("Matice M6"));
            EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_CKU.AsFloat(), 10);
            EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_CNC.AsFloat(), 2.5);
        }
    }
    cards.sort();
    EXPECT_EQ(cards, (QStringList{QStringLiteral("000010"), QStringLiteral("000020"), QStringLiteral("000030")}));
    items.Close();

    // The same supplier's document with the same number is found again.
    EXPECT_TRUE(IsdocDocumentExists(*data, QStringLiteral("000001"), QStringLiteral("FV-0042")));
    EXPECT_FALSE(IsdocDocumentExists(*data, QStringLiteral("000002"), QStringLiteral("FV-0042")));
    EXPECT_FALSE(IsdocDocumentExists(*data, QStringLiteral("000001"), QStringLiteral("FV-004")));
}

TEST_P(IsdocDocumentTest, ALocalInvoiceHasRateOneAndItsLocalAmounts)
{
    const IsdocDocument doc = plan("mistni_mena.isdoc");
    EXPECT_TRUE(doc.refusal().isEmpty());   // type 7 is taken
    EXPECT_EQ(doc.currency, QStringLiteral("CZK"));
    EXPECT_DOUBLE_EQ(doc.rate, 1);
    EXPECT_DOUBLE_EQ(doc.invoiced, 150.5);
    WriteIsdocDocument(*data, doc);
    EXPECT_NEAR(data->ffPodklHlavHLA_EUR.AsFloat(), 150.5, 1e-9);
    EXPECT_NEAR(data->ffPodklHlavHLA_NCA.AsFloat(), 150.5, 1e-9);
}

TEST_P(IsdocDocumentTest, AmbiguousAndUnmatchedLinesSayWhy)
{
    IsdocDocument doc = plan("nejednoznacna.isdoc");
    ASSERT_EQ(doc.items.size(), 6);
    const char *reasons[] = {
        "",
        "nejednoznačné: 2 karty s kódem EAN 8594000000020",
        "nenalezeno: žádná platná karta s touto identifikací",   // only a withdrawn card
        "nenalezeno: žádná platná karta s touto identifikací",
        "nenalezeno: řádek nemá identifikaci zboží",
        "množství 2.5 není celý počet obchodních balení",
    };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(doc.items[i].reason, QString::fromUtf8(reasons[i])) << i;
    EXPECT_EQ(doc.items[3].identifications(),
              QStringLiteral("karta odběratele 999999, EAN 4006381333931, kód dodavatele NIC"));
    EXPECT_EQ(doc.items[5].card, QStringLiteral("000010"));   // found, but not whole in packages
    EXPECT_EQ(doc.unmatchedCount(), 5);
    EXPECT_EQ(doc.writableCount(), 1);

    // The clerk picks a card for the ambiguous line and leaves the rest out.
    EXPECT_FALSE(PickIsdocCard(*data, doc, 1, QStringLiteral("000050")));   // withdrawn
    EXPECT_FALSE(PickIsdocCard(*data, doc, 1, QStringLiteral("000099")));
    ASSERT_TRUE(PickIsdocCard(*data, doc, 1, QStringLiteral("000041")));
    EXPECT_EQ(doc.items[1].match, IsdocMatch::Picked);
    EXPECT_EQ(doc.items[1].cardName, QStringLiteral("Kolík B"));
    EXPECT_TRUE(doc.items[1].writable());
    for (int i = 2; i < 6; ++i)
        doc.items[i].omitted = true;
    EXPECT_EQ(doc.unmatchedCount(), 0);
    WriteIsdocDocument(*data, doc);
    EXPECT_EQ(RowCount(data->ffPodklPol), 2);
}

TEST_P(IsdocDocumentTest, ACreditNoteIsRefusedByName)
{
    EXPECT_EQ(plan("dobropis.isdoc").refusal(),
              QStringLiteral("Doklad DB-0001 je opravný daňový doklad – dobropis: načíst lze jen fakturu (typ 1) "
                             "nebo zjednodušený daňový doklad (typ 7)"));
}

TEST_P(IsdocDocumentTest, ALongInvoiceNumberBecomesTheVariableSymbolOrItsLastTenCharacters)
{
    const IsdocDocument withSymbol = plan("dlouhe_cislo.isdoc");
    EXPECT_EQ(withSymbol.invoiceNumber, QStringLiteral("2026000123"));
    EXPECT_EQ(withSymbol.shortenedWarning(),
              QStringLiteral("Číslo faktury FV/2026/000123 je delší než 10 znaků, jako číslo dokladu dodavatele se "
                             "zapíše 2026000123"));
    const IsdocDocument without = plan("dlouhe_cislo_bez_vs.isdoc");
    EXPECT_EQ(without.invoiceNumber, QStringLiteral("026/000124"));
    EXPECT_TRUE(without.numberShortened);
}

TEST_P(IsdocDocumentTest, AWriteThatFailsLeavesNothing)
{
    IsdocDocument doc = plan("cizi_mena.isdoc");
    // The last item's value is too large for a number: the first two are written by then.
    doc.items[2].price = 1e308;
    EXPECT_THROW(WriteIsdocDocument(*data, doc), AppError);
    EXPECT_EQ(RowCount(data->ffPodklHlav), 0);
    EXPECT_EQ(RowCount(data->ffPodklPol), 0);
    data->ffCiselnik.Open();
    EXPECT_EQ(data->ffCiselnikCIS_POD.AsString(), QStringLiteral("123"));
    data->ffCiselnik.Close();
    // The tables work on: the same document is then written whole.
    doc.items[2].price = 10;
    EXPECT_EQ(WriteIsdocDocument(*data, doc), QStringLiteral("0000000124"));
    EXPECT_EQ(RowCount(data->ffPodklPol), 3);
}

TEST_P(IsdocDocumentTest, ANewSupplierIsCutToItsFieldsWithWarnings)
{
    IsdocDocument doc = plan("novy_dodavatel.isdoc");
    EXPECT_TRUE(doc.supplierCode.isEmpty());
    QStringList warnings;
    CreateIsdocSupplier(*data, doc, warnings);
    EXPECT_EQ(doc.supplierCode, QStringLiteral("000043"));   // the counter: 41, then 42 for Alfa
    EXPECT_EQ(doc.supplierName, QStringLiteral("Velkoobchod spojovacím materiá"));
    EXPECT_EQ(warnings,
              (QStringList{QStringLiteral("Název firmy „Velkoobchod spojovacím materiálem Morava a.s.“ je delší než 30 "
                                          "znaků, zapíše se „Velkoobchod spojovacím materiá“"),
                           QStringLiteral("E-mail „objednavky.velkoobchod@spojovaci-material-morava.cz“ je delší než 30 "
                                          "znaků, zapíše se „objednavky.velkoobchod@spojova“")}));
    store::Table &suppliers = data->ffDodavatele;
    suppliers.Open();
    suppliers.SetIndexName(ix::ffDodavatele::KOD);
    ASSERT_TRUE(suppliers.FindKey({QStringLiteral("000043")}));
    EXPECT_EQ(data->ffDodavateleDOD_ICO.AsString(), QStringLiteral("99887766"));
    EXPECT_EQ(data->ffDodavateleDOD_DIC.AsString(), QStringLiteral("CZ99887766"));
    EXPECT_EQ(data->ffDodavateleDOD_ULI.AsString(), QStringLiteral("Dlouhá 12"));
    EXPECT_EQ(data->ffDodavateleDOD_MES.AsString(), QStringLiteral("Brno"));
    EXPECT_EQ(data->ffDodavateleDOD_PSC.AsString(), QStringLiteral("60200"));
    EXPECT_EQ(data->ffDodavateleDOD_STA.AsString(), QStringLiteral("Česká republika"));
    EXPECT_EQ(data->ffDodavateleDOD_TEL.AsString(), QStringLiteral("+420 541 000 111"));
    EXPECT_EQ(data->ffDodavateleDOD_JED.AsString(), QStringLiteral("0001"));
    suppliers.Close();
    // Found by its IČO from now on.
    EXPECT_EQ(plan("novy_dodavatel.isdoc").supplierCode, QStringLiteral("000043"));
}

TEST_P(IsdocDocumentTest, ABarCodeFindsOnlyItsOneActiveCard)
{
    store::Table &cards = data->ffSortiment;
    cards.Open();
    cards.SetIndexName(ix::ffSortiment::KAV);
    cards.First();
    EXPECT_TRUE(GotoCardByEan(*data, QStringLiteral("12345670")));
    EXPECT_EQ(data->ffSortimentSOR_KAV.AsString(), QStringLiteral("000060"));
    // Ambiguous, withdrawn, unknown and invalid codes leave the table where it was.
    for (const char *code : {"8594000000020", "8594000000037", "4006381333931", "12345671"}) {
        EXPECT_FALSE(GotoCardByEan(*data, QLatin1String(code))) << code;
        EXPECT_EQ(data->ffSortimentSOR_KAV.AsString(), QStringLiteral("000060")) << code;
    }
    cards.Close();
}

INSTANTIATE_TEST_SUITE_P(Engines, IsdocDocumentTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
