// The value of a receipt from its journal lines, on a real database of each engine: the
// rows of DokladObsah per card and variant, the totals split by VAT rate under both price
// modes, the operation sums, an empty receipt, the tables given back, and kinds that are
// not valued.

#include "firm_tables.h"
#include "recordingprompter.h"
#include "store_test_support.h"

#include "core/errors.h"
#include "import/stock_posting.h"
#include "reports/document_value.h"
#include "store/tables/column_names.h"
#include "store/tables/tables.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace ix = store::tables::index;

using storetest::Backend;
using storetest::TestDatabase;

namespace {

using namespace store::tables::column::DokladObsah;

const QString kDoc = QStringLiteral("0000000124");
const QString kOtherDoc = QStringLiteral("0000000125");
const QString kA = QStringLiteral("000001"), kB = QStringLiteral("000002"), kC = QStringLiteral("000003"),
              kD = QStringLiteral("000004"), kE = QStringLiteral("000005"), kF = QStringLiteral("000006");

// The nine results of HlaHod.
struct Totals {
    double nc, pc, base22, base05, base00, vat22, vat05, halVyr, deduction;
};

// One row of DokladObsah by field name. The store gives back an empty number as 0.
using Row = std::map<QString, QVariant>;

class DocumentValueTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        db = std::make_unique<TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0003"));
        FreshFirmSchema(data->Database, data->FirmNumber);
        data->UserInitials = QStringLiteral("JN");
        data->PriceMode = 1;
        data->VatRateHigh = 22;
        data->VatRateLow = 5;
        data->VatRateZero = 0;
    }

    void TearDown() override
    {
        data.reset();
        db.reset();
    }

    void addCard(const QString &card, const QString &group, double stockPrice)
    {
        AppendRow(data->ffSortiment, {{data->ffSortimentSOR_KAV, card},
                                      {data->ffSortimentSOR_NAC, "Karta " + card},
                                      {data->ffSortimentSOR_SKU, group}, {data->ffSortimentSOR_SKL, true}});
        AppendRow(data->ffSklad, {{data->ffSkladSKL_KAV, card}, {data->ffSkladSKL_IND, "000"},
                                  {data->ffSkladSKL_SNC, stockPrice}});
        AppendRow(data->ffSklad, {{data->ffSkladSKL_KAV, card}, {data->ffSkladSKL_IND, "001"},
                                  {data->ffSkladSKL_SNC, stockPrice}});
    }
    void post(const QString &card, const QString &variant, const QString &doc, double price, double rate,
              double quantity)
    {
        ASSERT_TRUE(ZapisPohybuVar(*data, card, variant, doc, QStringLiteral("001"), price, rate, quantity));
    }
    void appendLine(const QString &doc, const QString &card, const QString &op, double kus, double hpc,
                    double hnc, double rate)
    {
        AppendRow(data->ffDenik, {{data->ffDenikDEN_DOK, doc}, {data->ffDenikDEN_KAV, card},
                                  {data->ffDenikDEN_IND, "000"}, {data->ffDenikDEN_OPE, op},
                                  {data->ffDenikDEN_KUS, kus}, {data->ffDenikDEN_HPC, hpc},
                                  {data->ffDenikDEN_HNC, hnc}, {data->ffDenikDEN_DAN, rate}});
    }

    // Receipt kDoc: card A twice at 22 %, B (variant 001) at 5 %, C first at 0 % and then
    // at 22 %, D missing from the assortment, E with quantity 0, F at a rate that is not
    // configured and with a purchase value that rounding would change. Around it a line
    // of A in another receipt and a line of A under the same number with another
    // operation code, neither of which belongs to the receipt.
    void writeReceipt()
    {
        addCard(kA, QStringLiteral("ZEL"), 8);
        addCard(kB, QStringLiteral("OVO"), 1.5);
        addCard(kC, QStringLiteral("MLE"), 3);
        addCard(kE, QStringLiteral("PEC"), 1);
        addCard(kF, QStringLiteral("NAP"), 1);
        post(kA, QStringLiteral("000"), kDoc, 10, 22, 10);
        post(kA, QStringLiteral("000"), kOtherDoc, 10, 22, 3);
        post(kB, QStringLiteral("001"), kDoc, 2.5, 5, 4);
        post(kA, QStringLiteral("000"), kDoc, 10, 22, 10);
        post(kC, QStringLiteral("000"), kDoc, 4, 0, 5);
        post(kC, QStringLiteral("000"), kDoc, 4, 22, 1);
        appendLine(kDoc, kD, QStringLiteral("001"), 2, 7, 5, 22);
        appendLine(kDoc, kE, QStringLiteral("001"), 0, 0, 0, 5);
        appendLine(kDoc, kF, QStringLiteral("001"), 1, 50, 40.004, 10);
        appendLine(kDoc, kA, QStringLiteral("002"), -1, -10, -8, 22);
    }

    // The data module's tables and configuration.
    DocumentValueTables tables() const { return {data->ffDenik, data->ffSortiment, data->DokladObsah, *data}; }

    Totals hlaHod(const QString &doc, int kind = 3)
    {
        Totals t{7, 7, 7, 7, 7, 7, 7, 7, 7};
        HlaHod(tables(), doc, kind, t.nc, t.pc, t.base22, t.base05, t.base00, t.vat22, t.vat05, t.halVyr,
                     t.deduction);
        return t;
    }

    // The rows of DokladObsah by card + variant.
    std::map<QString, Row> rows()
    {
        std::map<QString, Row> result;
        store::Table &t = data->DokladObsah;
        EXPECT_TRUE(t.Active());
        for (t.First(); !t.Eof(); t.Next()) {
            Row row;
            for (int i = 0; i < t.FieldCount(); ++i)
                row[t.Fields(i).FieldName()] = t.Fields(i).IsNull() ? QVariant() : t.Fields(i).Value();
            result[data->DokladObsahDOK_KAV.AsString() + data->DokladObsahDOK_IND.AsString()] = row;
        }
        return result;
    }

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TData> data;
    RecordingPrompter prompts;
};

// Compares the numeric fields named in `expected`.
void expectNumbers(const Row &row, const std::map<QString, double> &expected, const QString &key)
{
    for (const auto &[field, value] : expected) {
        SCOPED_TRACE((key + QLatin1Char(' ') + field).toStdString());
        EXPECT_NEAR(row.at(field).toDouble(), value, 1e-9);
    }
}

void expectTotals(const Totals &t, const Totals &e)
{
    EXPECT_NEAR(t.nc, e.nc, 1e-9);
    EXPECT_NEAR(t.pc, e.pc, 1e-9);
    EXPECT_NEAR(t.base22, e.base22, 1e-9);
    EXPECT_NEAR(t.base05, e.base05, 1e-9);
    EXPECT_NEAR(t.base00, e.base00, 1e-9);
    EXPECT_NEAR(t.vat22, e.vat22, 1e-9);
    EXPECT_NEAR(t.vat05, e.vat05, 1e-9);
    EXPECT_EQ(t.halVyr, 0.0);
    EXPECT_EQ(t.deduction, 0.0);
}

TEST_P(DocumentValueTest, ReceiptGivesOneRowPerCardAndVariant)
{
    writeReceipt();
    hlaHod(kDoc);
    const std::map<QString, Row> got = rows();
    ASSERT_EQ(got.size(), 6u);

    // card + variant -> numbers; RAB, SLP and POM stay empty (0), and so do the unit
    // prices of a row without quantity and the percentage of a row without price-list value.
    const std::map<QString, std::map<QString, double>> expected = {
        {kA + "000", {{DOK_KUS, 20}, {DOK_PCC, 200}, {DOK_PCS, 200}, {DOK_NCC, 160}, {DOK_DPH, 35.2},
                      {DOK_DAN, 22}, {DOK_PC1, 10}, {DOK_NC1, 8}, {DOK_RAP, 0}}},
        {kB + "001", {{DOK_KUS, 4}, {DOK_PCC, 10}, {DOK_PCS, 10}, {DOK_NCC, 6}, {DOK_DPH, 0.3},
                      {DOK_DAN, 5}, {DOK_PC1, 2.5}, {DOK_NC1, 1.5}, {DOK_RAP, 0}}},
        // The second line's rate does not change the row's; its VAT is its own.
        {kC + "000", {{DOK_KUS, 6}, {DOK_PCC, 24}, {DOK_PCS, 24}, {DOK_NCC, 18}, {DOK_DPH, 0.66},
                      {DOK_DAN, 0}, {DOK_PC1, 4}, {DOK_NC1, 3}}},
        {kD + "000", {{DOK_KUS, 2}, {DOK_PCC, 7}, {DOK_NCC, 5}, {DOK_DPH, 1.1}, {DOK_DAN, 22},
                      {DOK_PC1, 3.5}, {DOK_NC1, 2.5}}},
        {kE + "000", {{DOK_KUS, 0}, {DOK_PCC, 0}, {DOK_PCS, 0}, {DOK_NCC, 0}, {DOK_DAN, 5},
                      {DOK_PC1, 0}, {DOK_NC1, 0}, {DOK_RAP, 0}}},
        {kF + "000", {{DOK_KUS, 1}, {DOK_NCC, 40.004}, {DOK_DPH, 4.0004}, {DOK_NC1, 40.004}, {DOK_DAN, 10}}},
    };
    for (const auto &[key, numbers] : expected) {
        ASSERT_TRUE(got.count(key)) << key.toStdString();
        const Row &row = got.at(key);
        expectNumbers(row, numbers, key);
        for (const char *sum : {DOK_RAB, DOK_SLP, DOK_POM})
            EXPECT_EQ(row.at(QLatin1String(sum)).toDouble(), 0.0) << key.toStdString() << ' ' << sum;
        EXPECT_EQ(row.at(DOK_CIS).toString(), kDoc);
    }
    EXPECT_EQ(got.at(kA + "000").at(DOK_NAZ).toString(), "Karta " + kA);
    EXPECT_EQ(got.at(kA + "000").at(DOK_SKU).toString(), QStringLiteral("ZEL"));
    EXPECT_EQ(got.at(kB + "001").at(DOK_SKU).toString(), QStringLiteral("OVO"));
    EXPECT_EQ(got.at(kD + "000").at(DOK_NAZ).toString(), "Sortiment " + kD);
    EXPECT_EQ(got.at(kD + "000").at(DOK_SKU).toString(), QStringLiteral("000"));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_P(DocumentValueTest, TotalsSplitByRateUnderBothPriceModes)
{
    writeReceipt();
    // PriceMode 1: the sale values are without VAT and the totals add each row's rate.
    // C's row is at 0 %, so its line at 22 % adds no VAT to the sale total.
    data->PriceMode = 1;
    expectTotals(hlaHod(kDoc), {229.004, 244 + 10.5 + 24 + 8.54 + 0 + 55, 165, 6, 18, 36.3, 0.3, 0, 0});
    EXPECT_NEAR(rows().at(kA + "000").at(DOK_PCC).toDouble(), 200, 1e-9);

    // PriceMode 2: each line's sale value gets its own rate in the rows, and the totals
    // take the rows as they are.
    data->PriceMode = 2;
    expectTotals(hlaHod(kDoc), {229.004, 244 + 10.5 + 24.88 + 8.54 + 0 + 55, 165, 6, 18, 36.3, 0.3, 0, 0});
    const std::map<QString, Row> got = rows();
    EXPECT_NEAR(got.at(kA + "000").at(DOK_PCC).toDouble(), 244, 1e-9);
    EXPECT_NEAR(got.at(kA + "000").at(DOK_PC1).toDouble(), 12.2, 1e-9);
    EXPECT_NEAR(got.at(kC + "000").at(DOK_PCC).toDouble(), 24.88, 1e-9);

    // Other configured rates: the columns keep their names, the rows are matched by value.
    data->PriceMode = 1;
    data->VatRateHigh = 10;
    data->VatRateLow = 22;
    expectTotals(hlaHod(kDoc), {229.004, 342.04, 40.004, 165, 18, 4.0004, 36.3, 0, 0});
}

TEST_P(DocumentValueTest, ReceiptOfTheSpecimen)
{
    // Two lines of one card, 10 pieces each at sale value 100 and purchase value 80, 22 %.
    addCard(kA, QStringLiteral("ZEL"), 8);
    post(kA, QStringLiteral("000"), kDoc, 10, 22, 10);
    post(kA, QStringLiteral("000"), kDoc, 10, 22, 10);
    for (int mode : {1, 2}) {
        SCOPED_TRACE(mode);
        data->PriceMode = mode;
        expectTotals(hlaHod(kDoc), {160, 244, 160, 0, 0, 35.2, 0, 0, 0});
        const std::map<QString, Row> got = rows();
        ASSERT_EQ(got.size(), 1u);
        expectNumbers(got.at(kA + "000"),
                      {{DOK_KUS, 20}, {DOK_PCC, mode == 1 ? 200 : 244}, {DOK_NCC, 160}, {DOK_DPH, 35.2},
                       {DOK_PC1, mode == 1 ? 10 : 12.2}, {DOK_NC1, 8}},
                      kA);
    }
}

TEST_P(DocumentValueTest, EmptyReceiptGivesZerosAndAnEmptyTable)
{
    writeReceipt();
    hlaHod(kDoc);
    ASSERT_FALSE(rows().empty());
    expectTotals(hlaHod(QStringLiteral("0000000999")), {0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(rows().empty());
}

TEST_P(DocumentValueTest, OperationListsAndRowsAddedWithoutEmptying)
{
    writeReceipt();
    hlaHod(kDoc);
    // Gathered once more into the same rows: the sums double, the price-list value stays
    // (its list is empty now) and the whole line value counts as trade discount.
    GetDoklad(tables(), kDoc, QString(), 3, QStringLiteral("001"), QStringLiteral("002,001"), QStringLiteral("01"));
    const std::map<QString, Row> got = rows();
    ASSERT_EQ(got.size(), 6u);
    expectNumbers(got.at(kA + "000"),
                  {{DOK_KUS, 40}, {DOK_PCC, 400}, {DOK_PCS, 200}, {DOK_RAB, 200}, {DOK_SLP, 200},
                   {DOK_POM, 0}, {DOK_RAP, -100}, {DOK_PC1, 10}},
                  kA);

    // Into an empty table with trade discount only: without a price-list value there is
    // no percentage (0, not a division by zero).
    hlaHod(QStringLiteral("0000000999"));
    GetDoklad(tables(), kDoc, QString(), 3, QStringLiteral("001"), QString(), QString());
    expectNumbers(rows().at(kB + "001"), {{DOK_PCS, 0}, {DOK_RAB, 10}, {DOK_SLP, 0}, {DOK_RAP, 0}},
                                          kB);
}

TEST_P(DocumentValueTest, TablesAreGivenBackAsFound)
{
    writeReceipt();
    // Closed tables are closed again; the work table stays open.
    data->ffSortiment.SetIndexName(ix::ffSortiment::NAC);
    hlaHod(kDoc);
    EXPECT_FALSE(data->ffDenik.Active());
    EXPECT_FALSE(data->ffSortiment.Active());
    EXPECT_EQ(data->ffSortiment.IndexName(), ix::ffSortiment::NAC);
    EXPECT_TRUE(data->DokladObsah.Active());

    // Open tables keep their index and their record.
    data->ffDenik.Open();
    data->ffDenik.SetIndexName(ix::ffDenik::KAV);
    data->ffDenik.Last();
    const store::Bookmark journalMark = data->ffDenik.GetBookmark();
    data->ffSortiment.Open();
    ASSERT_TRUE(data->ffSortiment.Locate(data->ffSortimentSOR_KAV, kB));
    const store::Bookmark cardMark = data->ffSortiment.GetBookmark();
    expectTotals(hlaHod(kDoc), {229.004, 342.04, 165, 6, 18, 36.3, 0.3, 0, 0});
    ASSERT_TRUE(data->ffDenik.Active());
    EXPECT_EQ(data->ffDenik.IndexName(), ix::ffDenik::KAV);
    EXPECT_EQ(data->ffDenik.GetBookmark().id, journalMark.id);
    ASSERT_TRUE(data->ffSortiment.Active());
    EXPECT_EQ(data->ffSortiment.IndexName(), ix::ffSortiment::NAC);
    EXPECT_EQ(data->ffSortiment.GetBookmark().id, cardMark.id);
}

TEST_P(DocumentValueTest, KindsOtherThanReceiptFailAndChangeNothing)
{
    writeReceipt();
    hlaHod(kDoc);
    const struct {
        int kind;
        const char *text;
    } cases[] = {{1, "Hodnotu dokladu typu 1 tento program nepočítá"},
                 {4, "Hodnotu dokladu typu 4 tento program nepočítá"},
                 {9, "Hodnotu dokladu typu 9 tento program nepočítá"},
                 {0, "Není definován typ"},
                 {10, "Není definován typ"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.kind);
        Totals t{7, 7, 7, 7, 7, 7, 7, 7, 7};
        try {
            HlaHod(tables(), kDoc, c.kind, t.nc, t.pc, t.base22, t.base05, t.base00, t.vat22, t.vat05, t.halVyr,
                         t.deduction);
            ADD_FAILURE() << "no error";
        } catch (const AppError &e) {
            EXPECT_EQ(e.text(), QString::fromUtf8(c.text));
        }
        expectTotals(t, {0, 0, 0, 0, 0, 0, 0, 0, 0});
        EXPECT_THROW(GetDoklad(tables(), kDoc, QStringLiteral("001"), c.kind, QString(), QString(), QString()),
                     AppError);
        EXPECT_EQ(rows().size(), 6u);
        EXPECT_NEAR(rows().at(kA + "000").at(DOK_KUS).toDouble(), 20, 1e-9);
    }
    EXPECT_FALSE(data->ffDenik.Active());
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Engines, DocumentValueTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);
