// Stock movement posting and stock card rebuild on a real database of each engine:
// journal entries and stock fields of receipts, cards without stock keeping, rebuilds
// before a movement, failures that leave nothing written, the tables given back as
// they were, and the stock invariants after a long random sequence of postings.

#include "firm_tables.h"
#include "recordingprompter.h"
#include "store_test_support.h"

#include "import/progress_window.h"
#include "import/stock_posting.h"
#include "import/stock_rebuild.h"
#include "store/tables/tables.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <QCoreApplication>
#include <QDate>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <random>

namespace ix = store::tables::index;

using storetest::Backend;
using storetest::TestDatabase;
using Values = std::initializer_list<std::pair<store::FieldKey, QVariant>>;

namespace {

// Progress windows as a list of events: "show <title>|<caption>|<text>", "<percent>", "close".
class RecordingProgresWin final : public TProgresWin {
public:
    explicit RecordingProgresWin(QStringList &log) : m_log(log) {}
    ~RecordingProgresWin() override { m_log.append(QStringLiteral("close")); }
    void Show(const QString &title, const QString &caption, const QString &text) override
    {
        m_log.append(QStringLiteral("show %1|%2|%3").arg(title, caption, text));
    }
    void SetGauge(int percent) override { m_log.append(QString::number(percent)); }

private:
    QStringList &m_log;
};

struct Entry {
    QString card, variant, document, operation, initials;
    double kus, hpc, hnc, dan, zas;
    QDate date;
};

class StockTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        db = std::make_unique<TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0002"));
        FreshFirmSchema(data->Database, data->FirmNumber);
        data->UserInitials = QStringLiteral("JN");
        setProgresWinMaker([this] { return std::make_unique<RecordingProgresWin>(progress); });
    }

    void TearDown() override
    {
        setProgresWinMaker({});
        data.reset();
        db.reset();
    }

    // A table of the firm through a component of its own (on `database`, by default the
    // data module's connection), so that the data module's tables are not moved.
    std::unique_ptr<store::Table> table(const store::TableDef &def, store::Database *database = nullptr)
    {
        auto t = std::make_unique<store::Table>(&def);
        t->SetDatabase(database ? database : &data->Database);
        t->SetTableName(def.nameForFirm(QStringLiteral("0002")));
        t->Open();
        return t;
    }

    void append(const store::TableDef &def, Values values) { AppendRow(*table(def), values); }

    void addCard(const QString &card, bool stockItem, double stock)
    {
        append(store::tables::sortiment(), {{data->ffSortimentSOR_KAV, card},
                                            {data->ffSortimentSOR_NAC, "Karta " + card},
                                            {data->ffSortimentSOR_SKL, stockItem},
                                            {data->ffSortimentSOR_STA, stock}});
    }
    void addVariant(const QString &card, const QString &variant, double opening, double stock, double price = 8.0)
    {
        append(store::tables::sklad(), {{data->ffSkladSKL_KAV, card}, {data->ffSkladSKL_IND, variant},
                                        {data->ffSkladSKL_POC, opening},
                                        {data->ffSkladSKL_STA, stock}, {data->ffSkladSKL_SNC, price}});
    }
    void addEntry(const QString &card, const QString &variant, double kus, double zas)
    {
        append(store::tables::denik(), {{data->ffDenikDEN_DOK, "0000000001"}, {data->ffDenikDEN_KAV, card},
                                        {data->ffDenikDEN_IND, variant},
                                        {data->ffDenikDEN_OPE, "001"}, {data->ffDenikDEN_KUS, kus},
                                        {data->ffDenikDEN_ZAS, zas}});
    }

    // The journal entries of a card, or of one of its variants, oldest first.
    QVector<Entry> journal(const QString &card, const QString &variant = {})
    {
        auto t = table(store::tables::denik());
        t->SetIndexName(ix::ffDenik::KAV);
        if (variant.isEmpty())
            t->SetRange({card}, {card});
        else
            t->SetRange({card, variant}, {card, variant});
        QVector<Entry> rows;
        for (; !t->Eof(); t->Next()) {
            auto s = [&](const store::Field &f) { return t->FieldByName(f).AsString(); };
            auto n = [&](const store::Field &f) { return t->FieldByName(f).AsFloat(); };
            rows.append({s(data->ffDenikDEN_KAV), s(data->ffDenikDEN_IND), s(data->ffDenikDEN_DOK),
                         s(data->ffDenikDEN_OPE), s(data->ffDenikDEN_REF), n(data->ffDenikDEN_KUS),
                         n(data->ffDenikDEN_HPC), n(data->ffDenikDEN_HNC), n(data->ffDenikDEN_DAN),
                         n(data->ffDenikDEN_ZAS), t->FieldByName(data->ffDenikDEN_DAT).AsDate()});
        }
        return rows;
    }
    double variantStock(const QString &card, const QString &variant)
    {
        auto t = table(store::tables::sklad());
        t->SetIndexName(ix::ffSklad::KAV);
        EXPECT_TRUE(t->FindKey({card, variant}));
        return t->FieldByName(data->ffSkladSKL_STA).AsFloat();
    }
    QVariant cardField(const QString &card, const store::Field &field)
    {
        auto t = table(store::tables::sortiment());
        t->SetIndexName(ix::ffSortiment::KAV);
        EXPECT_TRUE(t->FindKey({card}));
        return t->FieldByName(field).Value();
    }

    bool post(const QString &card, const QString &variant, double quantity, double price = 10.0)
    {
        return ZapisPohybuVar(*data, card, variant, QStringLiteral("0000000007"), QStringLiteral("001"), price,
                                    22.0, quantity);
    }

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TData> data;
    RecordingPrompter prompts;
    QStringList progress;
};

TEST_P(StockTest, ReceiptOfThreeLinesPostsEntriesAndRaisesTheStock)
{
    addCard(QStringLiteral("000001"), true, 12);
    addVariant(QStringLiteral("000001"), QStringLiteral("001"), 12, 12, 8.0);
    addVariant(QStringLiteral("000001"), QStringLiteral("002"), 0, 0, 2.5);
    addEntry(QStringLiteral("000001"), QStringLiteral("001"), 0, 12);  // the opening stock, carried
    addEntry(QStringLiteral("000001"), QStringLiteral("002"), 0, 0);

    ASSERT_TRUE(post(QStringLiteral("000001"), QStringLiteral("001"), 5));
    ASSERT_TRUE(post(QStringLiteral("000001"), QStringLiteral("002"), 10, 0.1));
    ASSERT_TRUE(post(QStringLiteral("000001"), QStringLiteral("001"), 1.5, 1234567.89));
    EXPECT_TRUE(prompts.messages.isEmpty());

    const QVector<Entry> entries = journal(QStringLiteral("000001"));
    ASSERT_EQ(entries.size(), 5);
    const Entry &a = entries[1], &c = entries[2], &b = entries[4];  // variant by variant
    for (const Entry *e : {&a, &b, &c}) {
        EXPECT_EQ(e->document, QStringLiteral("0000000007"));
        EXPECT_EQ(e->operation, QStringLiteral("001"));
        EXPECT_EQ(e->initials, QStringLiteral("JN"));
        EXPECT_EQ(e->dan, 22.0);
        EXPECT_EQ(e->date, QDate::currentDate());
    }
    EXPECT_EQ(a.kus, 5.0);
    EXPECT_EQ(a.hpc, 50.0);
    EXPECT_EQ(a.hnc, 40.0);
    EXPECT_EQ(a.zas, 17.0);
    EXPECT_EQ(b.variant, QStringLiteral("002"));
    EXPECT_EQ(b.zas, 10.0);
    EXPECT_EQ(b.hpc, 1.0);  // prices in double precision: 0.1 × 10 is exactly 1
    EXPECT_EQ(b.hnc, 25.0);
    EXPECT_EQ(c.zas, 18.5);
    EXPECT_EQ(c.hpc, 1234567.89 * 1.5);  // single precision would lose two hundredths

    EXPECT_EQ(variantStock(QStringLiteral("000001"), QStringLiteral("001")), 18.5);
    EXPECT_EQ(variantStock(QStringLiteral("000001"), QStringLiteral("002")), 10.0);
    EXPECT_EQ(cardField(QStringLiteral("000001"), data->ffSortimentSOR_STA).toDouble(), 28.5);
    EXPECT_EQ(cardField(QStringLiteral("000001"), data->ffSortimentSOR_PPO).toDate(), QDate::currentDate());
}

TEST_P(StockTest, CardWithoutStockKeepingGetsEntriesButKeepsItsStock)
{
    addCard(QStringLiteral("000002"), false, 4);
    addVariant(QStringLiteral("000002"), QStringLiteral("001"), 0, 4, 3.0);

    ASSERT_TRUE(post(QStringLiteral("000002"), QStringLiteral("001"), 2));
    ASSERT_TRUE(post(QStringLiteral("000002"), QStringLiteral("009"), 1));  // no variant record

    const QVector<Entry> entries = journal(QStringLiteral("000002"));
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].zas, 0.0);
    EXPECT_EQ(entries[0].hnc, 6.0);
    EXPECT_EQ(entries[1].zas, 0.0);
    EXPECT_EQ(entries[1].hnc, 0.0);
    EXPECT_EQ(variantStock(QStringLiteral("000002"), QStringLiteral("001")), 4.0);
    EXPECT_EQ(cardField(QStringLiteral("000002"), data->ffSortimentSOR_STA).toDouble(), 4.0);
    EXPECT_EQ(cardField(QStringLiteral("000002"), data->ffSortimentSOR_PPO).toDate(), QDate::currentDate());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_P(StockTest, UnknownCardOrMissingVariantWritesNothing)
{
    addCard(QStringLiteral("000001"), true, 0);
    EXPECT_FALSE(post(QStringLiteral("000099"), QStringLiteral("001"), 1));
    EXPECT_FALSE(post(QStringLiteral("000001"), QStringLiteral("001"), 1));
    EXPECT_TRUE(journal(QStringLiteral("000001")).isEmpty());
    EXPECT_TRUE(journal(QStringLiteral("000099")).isEmpty());
    EXPECT_TRUE(cardField(QStringLiteral("000001"), data->ffSortimentSOR_PPO).toDate().isNull());
    EXPECT_FALSE(RekonstrukceKarty(*data, QStringLiteral("000099")));

    // A document number the shop's code page cannot hold fails while the entry is filled,
    // with the card and the variant already held: everything is rolled back.
    addVariant(QStringLiteral("000001"), QStringLiteral("001"), 0, 0);
    EXPECT_FALSE(ZapisPohybuVar(*data, QStringLiteral("000001"), QStringLiteral("001"), QStringLiteral("☃"),
                                      QStringLiteral("001"), 1.0, 22.0, 1));
    EXPECT_FALSE(data->Database.InTransaction());
    EXPECT_TRUE(journal(QStringLiteral("000001")).isEmpty());
    EXPECT_EQ(variantStock(QStringLiteral("000001"), QStringLiteral("001")), 0.0);
    EXPECT_TRUE(cardField(QStringLiteral("000001"), data->ffSortimentSOR_PPO).toDate().isNull());
    EXPECT_TRUE(post(QStringLiteral("000001"), QStringLiteral("001"), 1));  // the holds have ended
}

// The newest entry disagrees with the variant's stock: the card is rebuilt from its
// journal, the rebuilt stock is shown, and the movement starts from it.
TEST_P(StockTest, DisagreeingVariantIsRebuiltBeforeTheMovement)
{
    struct Case {
        double opening, stock;
        QVector<std::pair<double, double>> entries;  // (quantity, running stock)
        double rebuilt;
        const char *message;
    };
    const Case cases[] = {
        {0, 9, {{4, 4}, {3, 7}}, 7, "7"},       // stock changed outside the journal
        {3, 3, {}, 3, "3"},                     // first movement after a start-of-year stock
        {2.5, 0, {{10, 12.5}}, 12.5, "12,5"},   // the locale's decimal separator
    };
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        const QString card = QStringLiteral("00003") + QString::number(n++);
        addCard(card, true, 100);
        addVariant(card, QStringLiteral("001"), c.opening, c.stock);
        addVariant(card, QStringLiteral("002"), 1, 1);
        for (const auto &[kus, zas] : c.entries)
            addEntry(card, QStringLiteral("001"), kus, zas);

        ASSERT_TRUE(post(card, QStringLiteral("001"), 2));
        EXPECT_EQ(prompts.messages, QStringList{QLatin1String(c.message)});
        const QVector<Entry> entries = journal(card, QStringLiteral("001"));
        ASSERT_EQ(entries.size(), c.entries.size() + 1);
        for (int i = 0; i < c.entries.size(); ++i)
            EXPECT_EQ(entries[i].zas, c.entries[i].second);  // the journal is only read
        EXPECT_EQ(entries.last().zas, c.rebuilt + 2);
        EXPECT_EQ(variantStock(card, QStringLiteral("001")), c.rebuilt + 2);
        EXPECT_EQ(cardField(card, data->ffSortimentSOR_STA).toDouble(), c.rebuilt + 2 + 1);
        prompts.messages.clear();
    }
    QLocale::setDefault(QLocale::c());
}

// A record held by another station stops the posting before anything is written; the
// card is left as it was.
TEST_P(StockTest, RecordHeldElsewhereLeavesNothingWritten)
{
    const store::TableDef *heldTables[] = {&store::tables::sklad(), &store::tables::sortiment()};
    int n = 0;
    for (const store::TableDef *held : heldTables) {
        SCOPED_TRACE(held->component.toStdString());
        const QString card = QStringLiteral("00004") + QString::number(n++);
        addCard(card, true, 5);
        addVariant(card, QStringLiteral("001"), 0, 5);
        addEntry(card, QStringLiteral("001"), 5, 5);

        auto station = db->connect();
        auto other = table(*held, station.get());
        other->SetIndexName(QStringLiteral("KAV"));
        ASSERT_TRUE(other->FindKey({card}));
        other->Edit();

        EXPECT_FALSE(post(card, QStringLiteral("001"), 3));
        EXPECT_EQ(journal(card).size(), 1);
        EXPECT_EQ(variantStock(card, QStringLiteral("001")), 5.0);
        EXPECT_EQ(cardField(card, data->ffSortimentSOR_STA).toDouble(), 5.0);
        EXPECT_TRUE(cardField(card, data->ffSortimentSOR_PPO).toDate().isNull());
        EXPECT_FALSE(data->Database.InTransaction());

        other->Cancel();
        EXPECT_TRUE(post(card, QStringLiteral("001"), 3));
        EXPECT_EQ(variantStock(card, QStringLiteral("001")), 8.0);
        EXPECT_EQ(cardField(card, data->ffSortimentSOR_STA).toDouble(), 8.0);
    }
    EXPECT_TRUE(prompts.messages.isEmpty());
}

// The caller's tables come back open or closed, on their index and their record, also
// after a rebuild.
TEST_P(StockTest, TablesAreGivenBackAsTheCallerHadThem)
{
    addCard(QStringLiteral("000005"), true, 0);
    addCard(QStringLiteral("000006"), true, 0);
    addVariant(QStringLiteral("000005"), QStringLiteral("001"), 3, 3);
    addVariant(QStringLiteral("000006"), QStringLiteral("001"), 0, 0);

    store::Table &skl = data->ffSklad, &sor = data->ffSortiment, &den = data->ffDenik;
    skl.Open();
    skl.SetIndexName(ix::ffSklad::KAV);
    ASSERT_TRUE(skl.FindKey({QStringLiteral("000005"), QStringLiteral("001")}));
    sor.Open();
    sor.SetIndexName(ix::ffSortiment::NAC);
    ASSERT_TRUE(sor.Locate(data->ffSortimentSOR_KAV, QStringLiteral("000006")));
    den.SetIndexName(ix::ffDenik::DOK);

    ASSERT_TRUE(post(QStringLiteral("000005"), QStringLiteral("001"), 1));  // rebuilds first
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("3")});
    EXPECT_EQ(skl.IndexName(), ix::ffSklad::KAV);
    EXPECT_EQ(data->ffSkladSKL_KAV.AsString(), QStringLiteral("000005"));
    EXPECT_EQ(sor.IndexName(), ix::ffSortiment::NAC);
    EXPECT_EQ(data->ffSortimentSOR_KAV.AsString(), QStringLiteral("000006"));
    EXPECT_FALSE(den.Active());
    EXPECT_EQ(den.IndexName(), ix::ffDenik::DOK);

    ASSERT_TRUE(RekonstrukceKarty(*data, QStringLiteral("000006")));
    EXPECT_EQ(data->ffSkladSKL_KAV.AsString(), QStringLiteral("000005"));
    EXPECT_EQ(data->ffSortimentSOR_KAV.AsString(), QStringLiteral("000006"));
    EXPECT_FALSE(den.Active());

    // The variant the caller stands on, removed meanwhile: the rebuild says so and
    // leaves the table where it stands.
    {
        auto other = table(store::tables::sklad());
        other->SetIndexName(ix::ffSklad::KAV);
        ASSERT_TRUE(other->FindKey({QStringLiteral("000005"), QStringLiteral("001")}));
        other->Delete();
    }
    prompts.messages.clear();
    EXPECT_TRUE(RekonstrukceKarty(*data, QStringLiteral("000006")));
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("No valid bookmark")});
    EXPECT_EQ(skl.IndexName(), ix::ffSklad::KAV);
    EXPECT_EQ(data->ffSkladSKL_KAV.AsString(), QStringLiteral("000005"));
}

TEST_P(StockTest, RebuildSumsEachVariantsJournalUnderItsProgressWindow)
{
    addCard(QStringLiteral("000007"), true, 99);
    addVariant(QStringLiteral("000007"), QStringLiteral("001"), 10, 0);
    addVariant(QStringLiteral("000007"), QStringLiteral("002"), 0, 5);
    addVariant(QStringLiteral("000007"), QStringLiteral("A01"), 0, 40);  // outside "000"–"999"
    addEntry(QStringLiteral("000007"), QStringLiteral("001"), 5, 1);
    addEntry(QStringLiteral("000007"), QStringLiteral("001"), -3, 2);
    addEntry(QStringLiteral("000007"), QStringLiteral("002"), 0, 0);
    addEntry(QStringLiteral("000007"), QStringLiteral("002"), 0, 0);
    addEntry(QStringLiteral("000007"), QStringLiteral("002"), 0, 0);
    addCard(QStringLiteral("000008"), false, 10);
    addVariant(QStringLiteral("000008"), QStringLiteral("001"), 0, 4);
    addVariant(QStringLiteral("000008"), QStringLiteral("002"), 0, 6);

    // Pending events run while the journal is summed.
    int argc = 1;
    char name[] = "test_stock";
    char *argv[] = {name};
    QCoreApplication app(argc, argv);
    bool eventRan = false;
    QMetaObject::invokeMethod(&app, [&] { eventRan = true; }, Qt::QueuedConnection);

    ASSERT_TRUE(RekonstrukceKarty(*data, QStringLiteral("000007")));
    EXPECT_TRUE(eventRan);
    EXPECT_EQ(variantStock(QStringLiteral("000007"), QStringLiteral("001")), 12.0);
    EXPECT_EQ(variantStock(QStringLiteral("000007"), QStringLiteral("002")), 0.0);
    EXPECT_EQ(variantStock(QStringLiteral("000007"), QStringLiteral("A01")), 40.0);
    EXPECT_EQ(cardField(QStringLiteral("000007"), data->ffSortimentSOR_STA).toDouble(), 12.0);
    EXPECT_EQ(journal(QStringLiteral("000007"), QStringLiteral("001"))[1].zas, 2.0);
    const QString show = QStringLiteral("show Rekonstrukce skladové karty|Název sortimentu |Karta 000007");
    EXPECT_EQ(progress, (QStringList{show, "100", "close", show, "100", "close"}));

    progress.clear();
    ASSERT_TRUE(RekonstrukceKarty(*data, QStringLiteral("000008")));
    EXPECT_EQ(variantStock(QStringLiteral("000008"), QStringLiteral("001")), 0.0);
    EXPECT_EQ(variantStock(QStringLiteral("000008"), QStringLiteral("002")), 0.0);
    EXPECT_EQ(cardField(QStringLiteral("000008"), data->ffSortimentSOR_STA).toDouble(), 0.0);
    EXPECT_TRUE(progress.isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

// A variant held by another station keeps its stock; the card total counts it as it
// stands, and the rebuild says it did not finish.
TEST_P(StockTest, RebuildReportsAVariantItCouldNotSet)
{
    addCard(QStringLiteral("000009"), true, 0);
    addVariant(QStringLiteral("000009"), QStringLiteral("001"), 0, 9);
    addVariant(QStringLiteral("000009"), QStringLiteral("002"), 0, 4);
    addEntry(QStringLiteral("000009"), QStringLiteral("001"), 7, 7);
    auto station = db->connect();
    auto other = table(store::tables::sklad(), station.get());
    other->Edit();  // variant 001

    EXPECT_FALSE(RekonstrukceKarty(*data, QStringLiteral("000009")));
    EXPECT_EQ(variantStock(QStringLiteral("000009"), QStringLiteral("001")), 9.0);
    EXPECT_EQ(variantStock(QStringLiteral("000009"), QStringLiteral("002")), 0.0);
    EXPECT_EQ(cardField(QStringLiteral("000009"), data->ffSortimentSOR_STA).toDouble(), 9.0);
    // A posting that needs the rebuild fails too, writing nothing.
    EXPECT_FALSE(post(QStringLiteral("000009"), QStringLiteral("001"), 1));
    EXPECT_EQ(journal(QStringLiteral("000009")).size(), 1);
}

// After many postings of both signs, with stock changed outside the journal now and
// then, every variant agrees with its journal and every card with its variants.
TEST_P(StockTest, InvariantsHoldAfterRandomPostings)
{
    const QStringList cards = {QStringLiteral("000010"), QStringLiteral("000011"), QStringLiteral("000012")};
    const QStringList variants = {QStringLiteral("000"), QStringLiteral("001"), QStringLiteral("002")};
    std::map<QString, double> opening;
    for (const QString &card : cards) {
        addCard(card, card != cards.last(), 0);
        for (const QString &variant : variants) {
            opening[card + variant] = variants.indexOf(variant) * 2.0;
            addVariant(card, variant, opening[card + variant], opening[card + variant]);
        }
    }
    std::mt19937 random(20240611);
    for (int i = 0; i < 60; ++i) {
        const QString card = cards[int(random() % 3)];
        const QString variant = variants[int(random() % 3)];
        if (card != cards.last() && random() % 8 == 0) {  // a change outside the journal
            auto skl = table(store::tables::sklad());
            skl->SetIndexName(ix::ffSklad::KAV);
            ASSERT_TRUE(skl->FindKey({card, variant}));
            skl->Edit();
            skl->FieldByName(data->ffSkladSKL_STA).SetAsFloat(double(random() % 50));
            skl->Post();
        }
        const double quantity = (int(random() % 41) - 20) / 4.0;
        ASSERT_TRUE(post(card, variant, quantity)) << i;
    }

    for (const QString &card : cards) {
        const bool stockItem = card != cards.last();
        double cardTotal = 0;
        for (const QString &variant : variants) {
            SCOPED_TRACE((card + "/" + variant).toStdString());
            const QVector<Entry> entries = journal(card, variant);
            double balance = opening[card + variant];
            for (const Entry &e : entries)
                balance += e.kus;
            const double stock = variantStock(card, variant);
            cardTotal += stock;
            if (!stockItem) {
                EXPECT_EQ(stock, opening[card + variant]);
                for (const Entry &e : entries)
                    EXPECT_EQ(e.zas, 0.0);
                continue;
            }
            EXPECT_EQ(stock, balance);
            if (!entries.isEmpty()) {
                EXPECT_EQ(entries.last().zas, stock);
            }
        }
        if (stockItem) {
            EXPECT_EQ(cardField(card, data->ffSortimentSOR_STA).toDouble(), cardTotal);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, StockTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
