// The table component on both engines, step by step against a plain in-memory model.

#include "store_test_support.h"

#include "core/errors.h"
#include "raw_engine.h"
#include "store/database.h"
#include "store/table.h"
#include "store/transaction.h"

#include <QRandomGenerator>

using namespace store;
using storetest::Backend;
using storetest::Model;

namespace {

FieldDef field(const QString &name, FieldType type, int size = 0, bool calculated = false)
{
    FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.calculated = calculated;
    return f;
}

// A journal-like table: an AutoInc record number, a (card, variant) key with ties, a
// descending index field, a case-insensitive name, numbers, dates and a calculated field.
const TableDef &journalDef()
{
    static const TableDef def = [] {
        TableDef d;
        d.component = QStringLiteral("ffTest");
        d.builtInName = QStringLiteral("TST0001");
        d.fields = {field("T_RAD", FieldType::AutoInc),  field("T_KAV", FieldType::String, 6),
                    field("T_IND", FieldType::String, 3), field("T_NAZ", FieldType::String, 12),
                    field("T_NUM", FieldType::Float),     field("T_DAT", FieldType::Date),
                    field("T_CNT", FieldType::Integer),   field("T_CAL", FieldType::Float, 0, true)};
        d.indexes = {
            {QStringLiteral("KAV"), {{QStringLiteral("T_KAV")}, {QStringLiteral("T_IND")}}},
            {QStringLiteral("STA"),
             {{QStringLiteral("T_KAV")}, {QStringLiteral("T_IND")}, {QStringLiteral("T_RAD"), true}}},
            {QStringLiteral("NAZ"), {{QStringLiteral("T_NAZ")}}, false, true},
            {QStringLiteral("NUM"), {{QStringLiteral("T_NUM")}}},
            {QStringLiteral("DAT"), {{QStringLiteral("T_DAT")}}},
        };
        return d;
    }();
    return def;
}

const QStringList kIndexes{QString(), QStringLiteral("KAV"), QStringLiteral("STA"), QStringLiteral("NAZ"),
                           QStringLiteral("NUM"), QStringLiteral("DAT")};

// Names whose capitals tie and whose letters lie outside ASCII.
const QStringList kNames{QStringLiteral("čeština"), QStringLiteral("ČEŠTINA"), QStringLiteral("Čeština"),
                         QStringLiteral("cesta"),   QStringLiteral("Žluť"),    QStringLiteral("ánanas"),
                         QStringLiteral("zebra"),   QStringLiteral("Řeka"),    QStringLiteral("řeka"),
                         QStringLiteral("ßtraße"),  QStringLiteral(""),        QStringLiteral("Ostrava")};

class TableConformance : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        tdb = std::make_unique<storetest::TestDatabase>(GetParam());
        db = tdb->connect();
        name = storetest::TestDatabase::freshTableName(QStringLiteral("TST"));
        db->CreateTable(journalDef(), name);
        table = openTable();
    }
    void TearDown() override
    {
        table.reset();
        probe.reset();
        if (db && db->IsConnected()) {
            if (db->InTransaction())
                db->Rollback();
            db->DropTable(name);
        }
    }

    std::unique_ptr<Table> openTable(Database *on = nullptr)
    {
        auto t = std::make_unique<Table>(&journalDef());
        t->SetDatabase(on ? on : db.get());
        t->SetTableName(name);
        t->Open();
        return t;
    }

    // Appends a row through the table and records it in the model.
    qint64 add(const QString &kav, const QString &ind, const QString &naz = {}, double num = 0,
               const QDate &dat = {})
    {
        table->Append();
        table->FieldByName("T_KAV").SetAsString(kav);
        table->FieldByName("T_IND").SetAsString(ind);
        table->FieldByName("T_NAZ").SetAsString(naz);
        table->FieldByName("T_NUM").SetAsFloat(num);
        table->FieldByName("T_DAT").SetAsDate(dat);
        table->Post();
        // The newest record, read through a component of its own: the new record is the
        // current one only when it lies within the range.
        if (!probe)
            probe = openTable();
        probe->Last();
        const Record &r = probe->CurrentRecord();
        Model::Row row{r.id(), {}};
        for (int i = 0; i < journalDef().fields.size(); ++i)
            row.values.append(r.value(i));
        model.upsert(row);
        return r.id();
    }

    // A generated table: ties on (card, variant), Czech names, numbers, empty dates.
    void fill(int rows, quint32 seed)
    {
        QRandomGenerator rnd(seed);
        for (int i = 0; i < rows; ++i) {
            const QString kav = QStringLiteral("%1").arg(rnd.bounded(5), 6, 10, QLatin1Char('0'));
            const QString ind = QStringLiteral("%1").arg(rnd.bounded(3), 3, 10, QLatin1Char('0'));
            const QDate dat = rnd.bounded(4) == 0 ? QDate() : QDate(2024, 1, 1).addDays(rnd.bounded(20));
            add(kav, ind, kNames[rnd.bounded(kNames.size())], rnd.bounded(7) - 3 + 0.25 * rnd.bounded(3), dat);
        }
    }

    qint64 currentId() const { return table->GetBookmark().id; }

    std::unique_ptr<storetest::TestDatabase> tdb;
    std::unique_ptr<Database> db;
    QString name;
    std::unique_ptr<Table> table;
    std::unique_ptr<Table> probe;
    Model model{journalDef()};
};

TEST_P(TableConformance, EmptyTable)
{
    EXPECT_TRUE(table->Bof());
    EXPECT_TRUE(table->Eof());
    EXPECT_TRUE(table->IsEmpty());
    EXPECT_EQ(table->RecordCount(), 0);
    table->Last();
    table->Next();
    table->Prior();
    EXPECT_TRUE(table->Bof() && table->Eof());
    EXPECT_FALSE(table->GetBookmark().isValid());
    table->SetIndexName("KAV");
    EXPECT_FALSE(table->FindKey({"000001"}));
    table->FindNearest({"000001"});
    EXPECT_TRUE(table->Eof());
    EXPECT_FALSE(table->Locate("T_NAZ", "x"));
    EXPECT_EQ(table->FieldByName("T_KAV").AsString(), "");
    EXPECT_EQ(table->FieldByName("T_NUM").AsFloat(), 0.0);
    EXPECT_THROW(table->Edit(), StoreError);
    EXPECT_THROW(table->Delete(), StoreError);
    EXPECT_EQ(table->ReadRows({}, 10, true).size(), 0);
}

// The records of many keys in one read are the model's rows of those keys in index order,
// under the range: for a case-insensitive key by its capitals, with the fields not asked
// for left empty, and the current record where it was.
TEST_P(TableConformance, ReadKeysGivesTheRowsOfEachKeyInIndexOrder)
{
    fill(120, 13);
    struct Case {
        QString index;
        QVariantList keys;
        QVariantList start, end;
    };
    const QVector<Case> cases{
        {"KAV", {"000003", "000000", "000009"}, {}, {}},
        {"STA", {"000001", "000004"}, {"000001", "001"}, {"000004", "000"}},
        {"NAZ", {"čeština", "Řeka", "zebra", ""}, {}, {}},
        {"NUM", {-3.0, 0.25, 3.5}, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.index.toStdString());
        table->SetIndexName(c.index);
        const bool ranged = !c.start.isEmpty();
        if (ranged)
            table->SetRange(c.start, c.end);
        table->Next();
        const qint64 before = currentId();
        QVector<qint64> expected;
        for (const qint64 id : model.ordered(c.index, c.start, c.end, ranged))
            for (const QVariant &k : c.keys)
                if (model.compareKey(c.index, *model.find(id), {k}) == 0) {
                    expected.append(id);
                    break;
                }
        const QVector<Record> rows = table->ReadKeys(c.keys, {"T_KAV", "T_NUM"});
        QVector<qint64> got;
        for (const Record &r : rows) {
            got.append(r.id());
            EXPECT_EQ(r.value("T_KAV"), model.find(r.id())->values[journalDef().fieldIndex("T_KAV")]);
            EXPECT_EQ(r.value("T_NUM").toDouble(),
                      model.find(r.id())->values[journalDef().fieldIndex("T_NUM")].toDouble());
            EXPECT_FALSE(r.value("T_NAZ").isValid());
            EXPECT_EQ(r.value("T_RAD").toLongLong(), r.id());
        }
        EXPECT_EQ(got, expected);
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(currentId(), before);
        if (ranged)
            table->CancelRange();
    }
    EXPECT_TRUE(table->ReadKeys({}).isEmpty());
    QVariantList tooMany;
    for (int i = 0; i <= Table::kMaxReadKeys; ++i)
        tooMany.append(i);
    EXPECT_THROW(table->ReadKeys(tooMany), StoreError);
    EXPECT_THROW(table->ReadKeys({1.0}, {"T_XXX"}), StoreError);
}

// Records appended in a batch are there with their ids and values, the current record
// stays; in the caller's transaction they go with its rollback; while editing, and with
// a record of another table, nothing is written.
TEST_P(TableConformance, AppendRecordsInOneTransaction)
{
    add("000001", "000", "první", 1);
    table->First();
    const qint64 current = currentId();
    QVector<Record> batch;
    for (int i = 0; i < 3; ++i) {
        Record r(&journalDef());
        r.setValue("T_KAV", QStringLiteral("00001%1").arg(i));
        r.setValue("T_IND", "000");
        r.setValue("T_NAZ", QStringLiteral("Žluť %1").arg(i));
        r.setValue("T_NUM", 0.1 * i);
        batch.append(r);
    }
    table->AppendRecords(batch);
    EXPECT_EQ(currentId(), current);
    EXPECT_EQ(table->RecordCount(), 4);
    table->SetIndexName("KAV");
    ASSERT_TRUE(table->FindKey({"000012"}));
    EXPECT_EQ(table->FieldByName("T_NAZ").AsString(), QStringLiteral("Žluť 2"));
    EXPECT_EQ(table->FieldByName("T_NUM").AsFloat(), 0.1 * 2);
    EXPECT_GT(currentId(), current);

    db->StartTransaction();
    table->AppendRecords(batch);
    EXPECT_EQ(table->RecordCount(), 7);
    db->Rollback();
    EXPECT_EQ(table->RecordCount(), 4);

    table->Edit();
    EXPECT_THROW(table->AppendRecords(batch), StoreError);
    table->Cancel();
    Record foreign(&storetest::codesTableDef());
    EXPECT_THROW(table->AppendRecords({batch[0], foreign}), StoreError);
    EXPECT_EQ(table->RecordCount(), 4);
}

// Emptying at once is for the in-memory work tables only: the shared tables' records may
// be held by other stations.
TEST_P(TableConformance, EmptyTableOnlyInMemory)
{
    add("000001", "000");
    EXPECT_THROW(table->EmptyTable(), StoreError);
    EXPECT_EQ(table->RecordCount(), 1);

    Database memory;
    memory.ConnectInMemory();
    memory.CreateTable(journalDef(), name);
    std::unique_ptr<Table> work = openTable(&memory);
    for (int i = 0; i < 40; ++i) {
        work->Append();
        work->FieldByName("T_KAV").SetAsString(QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')));
        work->Post();
    }
    work->SetRange({}, {});
    work->Append();
    work->EmptyTable();
    EXPECT_EQ(work->State(), DataSetState::Browse);
    EXPECT_TRUE(work->Bof() && work->Eof());
    EXPECT_EQ(work->RecordCount(), 0);
}

// Every order, read forward with Next and backward with Prior across many pages, is the
// model's: ties by record id, a descending field, capitals of Czech letters, empty dates first.
TEST_P(TableConformance, EveryOrderAgreesWithTheModel)
{
    fill(170, 7);
    for (const QString &ix : kIndexes) {
        SCOPED_TRACE(ix.toStdString());
        table->SetIndexName(ix);
        const QVector<qint64> expected = model.ordered(ix);
        EXPECT_EQ(storetest::walkForward(*table), expected);
        EXPECT_EQ(storetest::walkBackward(*table), expected);
        // Grids read pages around a bookmark, in index order either way.
        const Bookmark mid{expected[100]};
        const QVector<Record> after = table->ReadRows(mid, 30, true);
        const QVector<Record> before = table->ReadRows(mid, 30, false);
        ASSERT_EQ(after.size(), 30);
        ASSERT_EQ(before.size(), 30);
        for (int i = 0; i < 30; ++i) {
            EXPECT_EQ(after[i].id(), expected[101 + i]);
            EXPECT_EQ(before[i].id(), expected[70 + i]);
        }
        EXPECT_EQ(table->ReadRows({}, 5, false).last().id(), expected.last());
    }
}

// A grid reads each page after the last row of the page before (or before its first
// row), naming that row by its bookmark: in every order the pages join up into the
// whole order. After a write the row's key is read again, so a page follows the row
// where it stands now.
TEST_P(TableConformance, GridPagesFollowTheRowTheyEndWith)
{
    fill(150, 5);
    for (const QString &ix : kIndexes) {
        SCOPED_TRACE(ix.toStdString());
        table->SetIndexName(ix);
        const QVector<qint64> expected = model.ordered(ix);
        QVector<qint64> forward;
        for (QVector<Record> page = table->ReadRows({}, 40, true); !page.isEmpty();
             page = table->ReadRows({page.last().id()}, 40, true))
            for (const Record &r : page)
                forward.append(r.id());
        EXPECT_EQ(forward, expected);
        QVector<qint64> backward;
        for (QVector<Record> page = table->ReadRows({}, 40, false); !page.isEmpty();
             page = table->ReadRows({page.first().id()}, 40, false))
            for (auto it = page.crbegin(); it != page.crend(); ++it)
                backward.prepend(it->id());
        EXPECT_EQ(backward, expected);
    }

    table->SetIndexName("KAV");
    const qint64 moved = table->ReadRows({}, 40, true).last().id();
    // Moved to the end of the order by another component on this connection.
    auto other = openTable();
    other->GotoBookmark({moved});
    other->Edit();
    other->FieldByName("T_KAV").SetAsString("999999");
    other->Post();
    EXPECT_TRUE(table->ReadRows({moved}, 40, true).isEmpty());
    EXPECT_EQ(table->ReadRows({moved}, 1, false).size(), 1);
}

// A page after a row inside a tie is read in steps (the rest of the tie, then the rows
// after it), here with the first step giving the whole page: nothing of the read stays
// open, so the next read sees what another connection wrote in between.
TEST_P(TableConformance, AReadInStepsSeesAnotherConnectionsWriteNextTime)
{
    fill(60, 21);
    table->SetIndexName("KAV");
    const QVector<Record> all = table->ReadRows({}, 1000, true);
    ASSERT_EQ(all.size(), 60);
    int tie = 0;
    while (tie + 1 < all.size()
           && (all[tie].AsString("T_KAV") != all[tie + 1].AsString("T_KAV")
               || all[tie].AsString("T_IND") != all[tie + 1].AsString("T_IND")))
        ++tie;
    ASSERT_LT(tie + 1, all.size());
    const QVector<Record> next = table->ReadRows({all[tie].id()}, 1, true);
    ASSERT_EQ(next.size(), 1);
    EXPECT_EQ(next[0].id(), all[tie + 1].id());

    auto second = tdb->connect();
    {
        auto writer = openTable(second.get());
        writer->Append();
        writer->FieldByName("T_KAV").SetAsString("999999");
        writer->Post();
    }
    const QVector<Record> after = table->ReadRows({all.last().id()}, 10, true);
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after[0].AsString("T_KAV"), QStringLiteral("999999"));
}

// Next then Prior at every position, so at every edge of the pages read on the way,
// forward from First and backward from Last.
TEST_P(TableConformance, NextAndPriorAcrossPageEdges)
{
    fill(130, 11);
    table->SetIndexName("KAV");
    const QVector<qint64> order = model.ordered("KAV");
    const int n = int(order.size());
    table->First();
    for (int i = 0; i + 1 < n; ++i) {
        table->Next();
        ASSERT_EQ(currentId(), order[i + 1]);
        table->Prior();
        ASSERT_EQ(currentId(), order[i]);
        table->Next();
    }
    table->Last();
    for (int i = n - 1; i > 0; --i) {
        table->Prior();
        ASSERT_EQ(currentId(), order[i - 1]);
        table->Next();
        ASSERT_EQ(currentId(), order[i]);
        table->Prior();
    }
    EXPECT_FALSE(table->Bof());
    table->Prior();
    EXPECT_TRUE(table->Bof());
    EXPECT_EQ(currentId(), order[0]);
}

TEST_P(TableConformance, FindKeyOnOneAndTwoFields)
{
    fill(60, 3);
    add("000009", "001", "a");
    const qint64 b = add("000009", "002", "b");
    add("000009", "002", "c");
    table->SetIndexName("KAV");
    const QVector<qint64> order = model.ordered("KAV");

    ASSERT_TRUE(table->FindKey({"000009"}));
    EXPECT_EQ(table->FieldByName("T_NAZ").AsString(), "a");
    ASSERT_TRUE(table->FindKey({"000009", "002"}));
    EXPECT_EQ(currentId(), b);  // the first of equal keys, by record id
    table->Next();
    EXPECT_EQ(table->FieldByName("T_NAZ").AsString(), "c");

    table->First();
    table->Next();
    const qint64 before = currentId();
    EXPECT_FALSE(table->FindKey({"000009", "003"}));
    EXPECT_FALSE(table->FindKey({"0000"}));  // a prefix of a key is not a key
    EXPECT_EQ(currentId(), before);
    EXPECT_THROW(table->FindKey({"1", "2", "3"}), StoreError);

    // The descending field: the newest entry of a (card, variant) comes first.
    table->SetIndexName("STA");
    ASSERT_TRUE(table->FindKey({"000009", "002"}));
    EXPECT_EQ(table->FieldByName("T_NAZ").AsString(), "c");
}

TEST_P(TableConformance, FindNearestBelowBetweenAndAbove)
{
    for (double n : {1.5, 2.0, 2.0, 7.25})
        add("000001", "000", {}, n);
    table->SetIndexName("NUM");
    const QVector<qint64> order = model.ordered("NUM");

    table->FindNearest({-100});
    EXPECT_EQ(currentId(), order[0]);
    EXPECT_FALSE(table->Eof());
    table->FindNearest({2});
    EXPECT_EQ(currentId(), order[1]);
    table->FindNearest({"2,5"});  // text in the locale's form
    EXPECT_EQ(currentId(), order[3]);
    table->FindNearest({100});
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(currentId(), order[3]);  // the last record

    table->FindNearest({2});
    EXPECT_THROW(table->FindNearest({"abc"}), ConversionError);
    EXPECT_THROW(table->FindKey({"abc"}), ConversionError);
    EXPECT_EQ(currentId(), order[1]);
}

TEST_P(TableConformance, RangesOnPrefixAndFullKey)
{
    fill(150, 5);
    table->SetIndexName("KAV");
    struct Case {
        QVariantList start, end;
    } cases[] = {
        {{"000002"}, {"000002"}},                  // a prefix
        {{"000002", "001"}, {"000002", "001"}},    // a full key
        {{"000001", "002"}, {"000003", "001"}},    // between two keys, both ends included
        {{"000003"}, {"000001"}},                  // start after end: nothing
        {{"000004", "002"}, {"999999"}},           // to the end
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.start.first().toString().toStdString());
        table->SetRange(c.start, c.end);
        const QVector<qint64> expected = model.ordered("KAV", c.start, c.end, true);
        EXPECT_EQ(table->RecordCount(), expected.size());
        // The sum is the one of the rows walked (quarters add up exactly).
        double walked = 0;
        for (table->First(); !table->Eof(); table->Next())
            walked += table->FieldByName("T_NUM").AsFloat();
        EXPECT_EQ(table->Sum("T_NUM"), walked);
        EXPECT_EQ(storetest::walkForward(*table), expected);
        EXPECT_EQ(storetest::walkBackward(*table), expected);
        table->First();
        if (!expected.isEmpty()) {
            EXPECT_EQ(currentId(), expected.first());
            // Searches stay within the range.
            EXPECT_FALSE(table->FindKey({"000000"}));
            table->FindNearest({"000000"});
            EXPECT_EQ(currentId(), expected.first());
        }
    }
    // The descending field within one (card, variant).
    table->SetIndexName("STA");
    table->SetRange({"000002", "001"}, {"000002", "001"});
    EXPECT_EQ(storetest::walkForward(*table), model.ordered("STA", {"000002", "001"}, {"000002", "001"}, true));
    table->Last();
    const qint64 last = currentId();
    table->CancelRange();
    EXPECT_EQ(currentId(), last);
    EXPECT_EQ(table->RecordCount(), 150);
    EXPECT_EQ(storetest::walkForward(*table), model.ordered("STA"));
    // Only stored numbers are summed.
    EXPECT_THROW(table->Sum("T_NAZ"), StoreError);
    EXPECT_THROW(table->Sum("T_CAL"), StoreError);
}

TEST_P(TableConformance, CaseInsensitiveIndexWithCzechLetters)
{
    const qint64 lower = add("000001", "000", "čeština");
    const qint64 upper = add("000001", "000", "ČEŠTINA");
    add("000001", "000", "cesta");
    add("000001", "000", "Žluť");
    add("000001", "000", "zebra");
    table->SetIndexName("NAZ");
    EXPECT_EQ(storetest::walkForward(*table), model.ordered("NAZ"));
    ASSERT_TRUE(table->FindKey({"ČeŠtInA"}));
    EXPECT_EQ(currentId(), lower);
    table->Next();
    EXPECT_EQ(currentId(), upper);
    table->SetRange({"čeština"}, {"ČEŠTINA"});
    EXPECT_EQ(table->RecordCount(), 2);
    table->CancelRange();
    // Capitals by code point: C < Z < Č < Ž.
    table->FindNearest({"d"});
    EXPECT_EQ(table->FieldByName("T_NAZ").AsString(), "zebra");
}

TEST_P(TableConformance, LocateIsExactWithCase)
{
    add("000001", "000", "čeština", 1);
    const qint64 exact = add("000002", "000", "Čeština", 2);
    add("000003", "000", "Čeština", 3);
    table->SetIndexName("KAV");
    ASSERT_TRUE(table->Locate("T_NAZ", "Čeština"));
    EXPECT_EQ(currentId(), exact);
    EXPECT_FALSE(table->Locate("T_NAZ", "ČEŠTINA"));
    EXPECT_EQ(currentId(), exact);
    ASSERT_TRUE(table->Locate("T_NUM", 3.0));
    EXPECT_EQ(table->FieldByName("T_KAV").AsString(), "000003");
    EXPECT_TRUE(table->Locate("T_DAT", QVariant()));  // empty dates
    EXPECT_THROW(table->Locate("T_XXX", 1), StoreError);
}

TEST_P(TableConformance, BookmarksAndAGoneRecord)
{
    fill(80, 9);
    table->SetIndexName("NAZ");
    const QVector<qint64> order = model.ordered("NAZ");
    table->First();
    for (int i = 0; i < 60; ++i)
        table->Next();
    const Bookmark mark = table->GetBookmark();
    EXPECT_EQ(mark.id, order[60]);
    table->First();
    table->GotoBookmark(mark);
    EXPECT_EQ(currentId(), order[60]);
    table->Next();
    EXPECT_EQ(currentId(), order[61]);

    // Another component deletes the remembered record.
    auto other = openTable();
    other->GotoBookmark(mark);
    other->Delete();
    EXPECT_FALSE(table->BookmarkValid(mark));
    try {
        table->GotoBookmark(mark);
        FAIL() << "a gone record was found";
    } catch (const StoreError &e) {
        EXPECT_TRUE(e.text().contains(name)) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QStringLiteral("neexistuje"))) << e.text().toStdString();
    }
    EXPECT_EQ(currentId(), order[61]);
    EXPECT_THROW(table->ReadRows(mark, 5, true), StoreError);
}

TEST_P(TableConformance, EditingAndThePositionAfterEachStep)
{
    for (int i = 0; i < 6; ++i)
        add(QStringLiteral("00000%1").arg(i), "000", QStringLiteral("n%1").arg(i));
    table->SetIndexName("KAV");

    // Append: the new record is current in its place in the order.
    table->Append();
    EXPECT_EQ(table->State(), DataSetState::Insert);
    EXPECT_TRUE(table->FieldByName("T_NUM").IsNull());
    table->FieldByName("T_KAV").SetAsString("000003");
    table->FieldByName("T_IND").SetAsString("001");
    table->Post();
    EXPECT_EQ(table->State(), DataSetState::Browse);
    const qint64 added = currentId();
    EXPECT_EQ(table->FieldByName("T_KAV").AsString(), "000003");
    EXPECT_EQ(table->FieldByName("T_NUM").AsFloat(), 0.0);
    EXPECT_FALSE(table->FieldByName("T_NUM").IsNull());  // stored as 0
    table->Next();
    EXPECT_EQ(table->FieldByName("T_KAV").AsString(), "000004");
    table->Prior();
    EXPECT_EQ(currentId(), added);

    // Edit of a key: the record moves and stays current.
    table->Edit();
    table->FieldByName("T_KAV").SetAsString("000000");
    EXPECT_TRUE(table->Modified());
    table->Post();
    EXPECT_EQ(currentId(), added);
    table->Prior();
    EXPECT_TRUE(table->Bof() == false);
    EXPECT_EQ(table->FieldByName("T_KAV").AsString(), "000000");
    table->GotoBookmark({added});

    // Cancel restores the stored values and keeps the record.
    table->Edit();
    table->FieldByName("T_NAZ").SetAsString("zmena");
    table->Cancel();
    EXPECT_EQ(table->FieldByName("T_NAZ").AsString(), "");
    EXPECT_EQ(currentId(), added);
    table->Append();
    table->Cancel();
    EXPECT_EQ(currentId(), added);

    // Moving while editing posts the change.
    table->Edit();
    table->FieldByName("T_NAZ").SetAsString("posted");
    table->Next();
    table->GotoBookmark({added});
    EXPECT_EQ(table->FieldByName("T_NAZ").AsString(), "posted");

    // Delete: the next record is current; deleting the last leaves the new last with Eof.
    table->FindKey({"000002"});
    table->Delete();
    EXPECT_EQ(table->FieldByName("T_KAV").AsString(), "000003");
    table->Last();
    table->Delete();
    EXPECT_EQ(table->FieldByName("T_KAV").AsString(), "000004");
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(table->RecordCount(), 5);
    while (!table->IsEmpty())
        table->Delete();
    EXPECT_TRUE(table->Bof() && table->Eof());
    EXPECT_THROW(table->Post(), StoreError);
}

// A record written out of the range is gone from it: the record after its old place
// becomes current, or the last one with Eof() when none follows.
TEST_P(TableConformance, PostMovingTheRecordOutOfTheRange)
{
    const qint64 a = add("000001", "000");
    const qint64 b = add("000001", "001");
    const qint64 c = add("000001", "002");
    add("000002", "000");
    table->SetIndexName("KAV");
    table->SetRange({"000001"}, {"000001"});
    table->GotoBookmark({b});
    table->Edit();
    table->FieldByName("T_KAV").SetAsString("000003");
    table->Post();
    EXPECT_EQ(currentId(), c);
    EXPECT_EQ(table->RecordCount(), 2);
    table->Edit();
    table->FieldByName("T_KAV").SetAsString("000004");
    table->Post();
    EXPECT_EQ(currentId(), a);
    EXPECT_TRUE(table->Eof());
}

// PostAndEdit leaves the written record current and in editing, held, with the values a
// read of it gives: outside a range and inside one, also where the write takes the record
// out of the range; a browse from it then goes on in the model's order under the range.
TEST_P(TableConformance, PostAndEditStaysOnTheWrittenRecord)
{
    fill(60, 5);  // cards 000000 to 000004
    table->SetIndexName("KAV");
    auto station = tdb->connect();
    auto other = openTable(station.get());
    struct Case {
        const char *what;
        bool ranged;
        bool insert;
        QString kav;  // the card written; empty: kept
    };
    const QVector<Case> cases{
        {"outside a range", false, false, {}},
        {"a new record outside a range", false, true, "000001"},
        {"in a range", true, false, {}},
        {"moved out of the range", true, false, "000009"},
        {"a new record in the range", true, true, "000002"},
        {"a new record outside the range", true, true, "000008"},
    };
    const QVariantList start{"000002"}, end{"000003"};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.ranged)
            table->SetRange(start, end);
        else
            table->CancelRange();
        table->First();
        table->Next();
        const qint64 before = currentId();
        c.insert ? table->Append() : table->Edit();
        if (!c.kav.isEmpty())
            table->FieldByName("T_KAV").SetAsString(c.kav);
        table->FieldByName("T_NAZ").SetAsString(QStringLiteral("zápis %1").arg(c.what));
        table->FieldByName("T_DAT").SetAsDate(QDate(2025, 2, 3));
        table->PostAndEdit();
        EXPECT_EQ(table->State(), DataSetState::Edit);
        EXPECT_FALSE(table->Modified());
        const qint64 id = currentId();
        if (!c.insert) {
            EXPECT_EQ(id, before);
        }
        // What the buffer holds is what another station reads, and it cannot edit it.
        other->GotoBookmark({id});
        Model::Row row{id, {}};
        for (int f = 0; f < journalDef().fields.size(); ++f) {
            EXPECT_EQ(table->Fields(f).Value(), other->Fields(f).Value()) << journalDef().fields[f].name.toStdString();
            row.values.append(other->Fields(f).Value());
        }
        model.upsert(row);
        EXPECT_THROW(other->Edit(), StoreError);
        table->Cancel();
        EXPECT_EQ(currentId(), id);
        const QVector<qint64> all = model.ordered("KAV");
        const QVector<qint64> underRange = model.ordered("KAV", start, end, c.ranged);
        QVector<qint64> expected;
        for (qsizetype i = all.indexOf(id) + 1; i < all.size(); ++i)
            if (underRange.contains(all[i]))
                expected.append(all[i]);
        QVector<qint64> seen;
        for (table->Next(); !table->Eof(); table->Next())
            seen.append(currentId());
        EXPECT_EQ(seen, expected);
        if (HasFailure())
            break;
    }
}

// A PostAndEdit whose write fails leaves the record in editing with its buffer and its
// hold, as a failed Post does; the corrected buffer is then written.
TEST_P(TableConformance, PostAndEditAfterAFailedWrite)
{
    TableDef unique = journalDef();
    unique.indexes = {{QStringLiteral("UNI"), {{QStringLiteral("T_KAV")}}, true}};
    const QString uname = storetest::TestDatabase::freshTableName(QStringLiteral("UNI"));
    db->CreateTable(unique, uname);
    Table t(&unique), other(&unique);
    auto station = tdb->connect();
    t.SetDatabase(db.get());
    other.SetDatabase(station.get());
    for (Table *u : {&t, &other}) {
        u->SetTableName(uname);
        u->Open();
    }
    for (const char *kav : {"A", "B"}) {
        t.Append();
        t.FieldByName("T_KAV").SetAsString(kav);
        t.Post();
    }
    for (const bool insert : {false, true}) {
        SCOPED_TRACE(insert ? "a new record" : "an edited record");
        const qint64 before = t.GetBookmark().id;
        insert ? t.Append() : t.Edit();
        t.FieldByName("T_KAV").SetAsString("A");  // taken
        t.FieldByName("T_NAZ").SetAsString("kept");
        EXPECT_THROW(t.PostAndEdit(), StoreError);
        EXPECT_EQ(t.State(), insert ? DataSetState::Insert : DataSetState::Edit);
        EXPECT_TRUE(t.Modified());
        EXPECT_EQ(t.FieldByName("T_NAZ").AsString(), "kept");
        if (!insert) {
            other.GotoBookmark({before});
            EXPECT_THROW(other.Edit(), StoreError);  // still held
        }
        t.FieldByName("T_KAV").SetAsString(insert ? "D" : "C");
        t.PostAndEdit();
        EXPECT_EQ(t.State(), DataSetState::Edit);
        EXPECT_EQ(t.FieldByName("T_KAV").AsString(), insert ? "D" : "C");
        other.GotoBookmark(t.GetBookmark());
        EXPECT_EQ(other.FieldByName("T_NAZ").AsString(), "kept");
        EXPECT_THROW(other.Edit(), StoreError);
        t.Cancel();
    }
    t.Close();
    other.Close();
    db->DropTable(uname);
}

// After Post the current record holds what a read of it gives, field by field: times
// to the second, empty values as they are stored, every type.
TEST_P(TableConformance, PostLeavesTheRecordAsAReadGivesIt)
{
    TableDef def;
    def.component = QStringLiteral("ffKinds");
    def.builtInName = QStringLiteral("KND0001");
    def.fields = {field("K_KEY", FieldType::String, 6),  field("K_TXT", FieldType::String, 4),
                  field("K_NUM", FieldType::Float),      field("K_INT", FieldType::Integer),
                  field("K_SML", FieldType::SmallInt),   field("K_BOO", FieldType::Boolean),
                  field("K_DAT", FieldType::Date),       field("K_TIM", FieldType::Time),
                  field("K_STA", FieldType::DateTime),   field("K_KDT", FieldType::Date),
                  field("K_KTI", FieldType::Time)};
    def.indexes = {{QStringLiteral("KEY"), {{QStringLiteral("K_KEY")}, {QStringLiteral("K_KDT")}, {QStringLiteral("K_KTI")}}}};
    const QString kinds = storetest::TestDatabase::freshTableName(QStringLiteral("KND"));
    db->CreateTable(def, kinds);
    Table written(&def), read(&def);
    for (Table *t : {&written, &read}) {
        t->SetDatabase(db.get());
        t->SetTableName(kinds);
        t->Open();
    }
    const QDateTime moment(QDate(2026, 3, 4), QTime(5, 6, 7, 890));
    // Each case: the fields set (the others stay empty), on the default order or a range.
    const QVector<QVector<QPair<QString, QVariant>>> cases{
        {{"K_KEY", "000001"}},
        {{"K_KEY", "000002"}, {"K_TXT", "dlouhý text"}, {"K_NUM", 0.1}, {"K_INT", 7}, {"K_SML", -3},
         {"K_BOO", true}, {"K_DAT", moment.date()}, {"K_TIM", moment.time()}, {"K_STA", moment},
         {"K_KDT", moment.date()}, {"K_KTI", moment.time()}},
        {{"K_KEY", "000003"}, {"K_NUM", -1e-7}, {"K_BOO", false}, {"K_STA", QDateTime(moment.date(), QTime(0, 0))}},
    };
    for (const bool ranged : {false, true}) {
        written.SetIndexName(ranged ? "KEY" : "");
        if (ranged)
            written.SetRange({"000000"}, {"999999"});
        for (const auto &values : cases) {
            written.Append();
            for (const auto &[name, value] : values)
                written.FieldByName(name).SetValue(value);
            written.Post();
            read.GotoBookmark(written.GetBookmark());
            for (int f = 0; f < def.fields.size(); ++f) {
                EXPECT_EQ(written.Fields(f).Value(), read.Fields(f).Value())
                    << def.fields[f].name.toStdString() << (ranged ? " in a range" : "");
                EXPECT_EQ(written.Fields(f).IsNull(), read.Fields(f).IsNull()) << def.fields[f].name.toStdString();
            }
            // An edit of one field leaves the others as they were read.
            written.Edit();
            written.FieldByName("K_NUM").SetAsFloat(2.5);
            written.Post();
            read.GotoBookmark(written.GetBookmark());
            for (int f = 0; f < def.fields.size(); ++f)
                EXPECT_EQ(written.Fields(f).Value(), read.Fields(f).Value()) << def.fields[f].name.toStdString();
            written.Delete();
        }
    }
    written.Close();
    read.Close();
    db->DropTable(kinds);
}

TEST_P(TableConformance, AutoIncrementValues)
{
    const qint64 a = add("000001", "000");
    const qint64 b = add("000001", "000");
    EXPECT_GT(a, 0);
    EXPECT_GT(b, a);
    EXPECT_EQ(table->FieldByName("T_RAD").AsInteger(), b);
    table->Edit();
    EXPECT_THROW(table->FieldByName("T_RAD").SetAsInteger(5), StoreError);
    table->Cancel();
    table->Delete();  // the highest number is not given out again
    const qint64 c = add("000001", "000");
    EXPECT_GT(c, b);
}

TEST_P(TableConformance, CalculatedFieldsOnReadAndOnEachChange)
{
    int runs = 0;
    table->OnCalcFields = [&runs](Record &r) {
        ++runs;
        r.setValue("T_CAL", r.AsFloat("T_NUM") * r.AsInteger("T_CNT"));
    };
    add("000001", "000", {}, 2.5);
    table->Edit();
    table->FieldByName("T_CNT").SetAsInteger(3);
    EXPECT_DOUBLE_EQ(table->FieldByName("T_CAL").AsFloat(), 7.5);
    table->FieldByName("T_NUM").SetAsString("1,5");
    EXPECT_DOUBLE_EQ(table->FieldByName("T_CAL").AsFloat(), 4.5);
    table->Post();
    runs = 0;
    auto other = openTable();
    other->OnCalcFields = table->OnCalcFields;
    other->First();
    EXPECT_DOUBLE_EQ(other->FieldByName("T_CAL").AsFloat(), 4.5);
    EXPECT_GT(runs, 0);
    const QVector<Record> rows = other->ReadRows({}, 5, true);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_DOUBLE_EQ(rows[0].AsFloat("T_CAL"), 4.5);
}

TEST_P(TableConformance, StringsAreCutAndCheckedAgainstTheCodePage)
{
    const qint64 id = add("000001", "000", "Příliš žluťoučký kůň");
    EXPECT_EQ(table->FieldByName("T_NAZ").AsString(), "Příliš žluťo");
    table->Edit();
    EXPECT_THROW(table->FieldByName("T_NAZ").SetAsString(QStringLiteral("čaj 日本")), CodePageError);
    EXPECT_FALSE(table->Modified());
    EXPECT_EQ(table->FieldByName("T_NAZ").AsString(), "Příliš žluťo");
    table->Post();
    table->GotoBookmark({id});
    EXPECT_EQ(table->FieldByName("T_NAZ").AsString(), "Příliš žluťo");
    // Search values are cut the same way.
    table->SetIndexName("NAZ");
    EXPECT_TRUE(table->FindKey({"PŘÍLIŠ ŽLUŤOUČKÝ"}));
}

TEST_P(TableConformance, Transactions)
{
    add("000001", "000");
    db->StartTransaction();
    EXPECT_THROW(db->StartTransaction(), StoreError);
    add("000002", "000");
    add("000003", "000");
    EXPECT_EQ(table->RecordCount(), 3);
    db->Rollback();
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(table->RecordCount(), 1);
    EXPECT_EQ(storetest::walkForward(*table).size(), 1);
    EXPECT_THROW(db->Commit(), StoreError);
    EXPECT_THROW(db->Rollback(), StoreError);

    db->StartTransaction();
    add("000004", "000");
    db->Commit();
    auto station = tdb->connect();
    auto other = openTable(station.get());
    EXPECT_EQ(other->RecordCount(), 2);
}

// A failed statement ends the transaction on both engines, a write as a read: the buffer
// of the failed Post is kept, every statement after the failure fails, Commit rolls back
// and says so, and nothing of the transaction is stored. Under a savepoint taken before,
// only the savepoint's part is taken back, and the transaction goes on.
TEST_P(TableConformance, AFailedStatementEndsTheTransactionUnlessASavepointGuardsIt)
{
    TableDef unique = journalDef();
    unique.indexes = {{QStringLiteral("UNI"), {{QStringLiteral("T_KAV")}}, true}};
    const QString uname = storetest::TestDatabase::freshTableName(QStringLiteral("UNI"));
    db->CreateTable(unique, uname);
    Table t(&unique);
    t.SetDatabase(db.get());
    t.SetTableName(uname);
    t.Open();
    const auto append = [&t](const QString &kav) {
        t.Append();
        t.FieldByName("T_KAV").SetAsString(kav);
        t.Post();
    };
    append("A");
    const auto failedWrite = [&] {
        EXPECT_THROW(append("A"), StoreError);
        EXPECT_EQ(t.State(), DataSetState::Insert);  // the buffer is kept
        EXPECT_EQ(t.FieldByName("T_KAV").AsString(), "A");
        t.Cancel();
    };
    const auto failedRead = [&] {
        EXPECT_THROW(storetest::rawEngine(*db).queryInteger(QStringLiteral("SELECT nothing FROM nowhere"), {}),
                     StoreError);
    };
    for (const auto &[what, fail] : {std::pair{"a failed write", std::function<void()>(failedWrite)},
                                     std::pair{"a failed read", std::function<void()>(failedRead)}}) {
        SCOPED_TRACE(what);
        db->StartTransaction();
        append("B");
        fail();
        try {
            append("C");
            ADD_FAILURE() << "a write after the failure succeeded";
        } catch (const StoreError &e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("Transakce byla pro předchozí chybu odvolána")))
                << e.text().toStdString();
        }
        t.Cancel();
        EXPECT_THROW(t.Last(), StoreError);
        try {
            db->Commit();
            ADD_FAILURE() << "the commit succeeded";
        } catch (const StoreError &e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("Transakce byla pro předchozí chybu odvolána")))
                << e.text().toStdString();
        }
        EXPECT_FALSE(db->InTransaction());
        EXPECT_EQ(t.RecordCount(), 1);

        db->StartTransaction();
        append("B");
        {
            Savepoint part(*db, QStringLiteral("part"));
            append("C");
            fail();
        }
        append("D");
        db->Commit();
        EXPECT_EQ(t.RecordCount(), 3);  // A, B and D
        EXPECT_FALSE(t.Locate("T_KAV", "C"));
        t.SetIndexName("UNI");
        for (const char *kav : {"B", "D"}) {
            ASSERT_TRUE(t.FindKey({kav}));
            t.Delete();
        }
        t.SetIndexName("");
    }
    t.Close();
    db->DropTable(uname);
}

TEST_P(TableConformance, WritesOfAnotherComponentAreSeenOnTheNextMove)
{
    fill(100, 13);
    table->SetIndexName("KAV");
    table->First();
    table->Next();
    const qint64 from = currentId();
    // Another component on the same connection writes a row that sorts into the page
    // the first one has buffered, and deletes one from it.
    auto other = openTable();
    other->SetIndexName("KAV");
    other->Append();
    other->FieldByName("T_KAV").SetAsString("000000");
    other->FieldByName("T_IND").SetAsString("999");
    other->Post();
    model.upsert({other->GetBookmark().id, QVector<QVariant>{0, "000000", "999", "", 0.0, {}, 0, {}}});
    const QVector<qint64> before = model.ordered("KAV");
    const qint64 victim = before[before.indexOf(from) + 2];
    other->GotoBookmark({victim});
    other->Delete();
    model.remove(victim);
    const QVector<qint64> order = model.ordered("KAV");
    QVector<qint64> seen;
    while (!table->Eof()) {
        seen.append(currentId());
        table->Next();
    }
    EXPECT_EQ(seen, order.mid(order.indexOf(from)));
}

TEST_P(TableConformance, EmptyDatesInAKeyReadBackEmptyAndSortFirst)
{
    add("000001", "000", "a", 0, QDate(2024, 5, 1));
    const qint64 empty = add("000001", "000", "b", 0, QDate());
    table->SetIndexName("DAT");
    table->First();
    EXPECT_EQ(currentId(), empty);
    EXPECT_TRUE(table->FieldByName("T_DAT").IsNull());
    EXPECT_FALSE(table->FieldByName("T_DAT").AsDate().isValid());
    EXPECT_EQ(table->FieldByName("T_DAT").DisplayText(), "");
    table->SetRange({QDate(2024, 1, 1)}, {QDate(2024, 12, 31)});
    EXPECT_EQ(table->RecordCount(), 1);
}

// A fixed-seed sequence of inserts, edits, deletes, index and range changes, searches and
// moves, each checked against the model.
TEST_P(TableConformance, RandomizedSequenceAgreesWithTheModel)
{
    QRandomGenerator rnd(20240611);
    fill(120, 17);
    QString ix = "KAV";
    QVariantList start, end;
    bool ranged = false;
    table->SetIndexName(ix);
    table->First();
    const auto expectedOrder = [&] { return model.ordered(ix, start, end, ranged); };
    const auto randomKav = [&] { return QStringLiteral("%1").arg(rnd.bounded(6), 6, 10, QLatin1Char('0')); };

    for (int step = 0; step < 400; ++step) {
        SCOPED_TRACE(step);
        const QVector<qint64> order = expectedOrder();
        const qint64 cur = currentId();
        const int at = int(order.indexOf(cur));
        const int op = rnd.bounded(11);
        switch (op) {
        case 0: {  // next
            table->Next();
            if (at >= 0 && at + 1 < order.size()) {
                EXPECT_EQ(currentId(), order[at + 1]);
            } else if (!order.isEmpty()) {
                EXPECT_TRUE(table->Eof());
            }
            break;
        }
        case 1: {  // prior
            table->Prior();
            if (at > 0) {
                EXPECT_EQ(currentId(), order[at - 1]);
            } else if (!order.isEmpty()) {
                EXPECT_TRUE(table->Bof());
            }
            break;
        }
        case 2: {  // a run of moves across pages
            const int n = rnd.bounded(120);
            const bool forward = rnd.bounded(2);
            forward ? table->First() : table->Last();
            for (int i = 0; i < n; ++i)
                forward ? table->Next() : table->Prior();
            if (!order.isEmpty()) {
                const int want = forward ? std::min(n, int(order.size()) - 1)
                                         : std::max(int(order.size()) - 1 - n, 0);
                EXPECT_EQ(currentId(), order[want]);
            }
            break;
        }
        case 3: {  // insert
            const QString kav = randomKav();
            const QString ind = QStringLiteral("00%1").arg(rnd.bounded(3));
            const qint64 id = add(kav, ind, kNames[rnd.bounded(kNames.size())], rnd.bounded(5));
            const QVector<qint64> now = expectedOrder();
            if (now.contains(id)) {
                EXPECT_EQ(currentId(), id);
            }
            break;
        }
        case 4: {  // edit a key of the current record
            if (at < 0)
                break;
            table->Edit();
            const QString kav = randomKav();
            const QString naz = kNames[rnd.bounded(kNames.size())];
            table->FieldByName("T_KAV").SetAsString(kav);
            table->FieldByName("T_NAZ").SetAsString(naz);
            table->Post();
            Model::Row row = *model.find(cur);
            row.values[1] = kav;
            row.values[3] = naz;
            model.upsert(row);
            const QVector<qint64> now = expectedOrder();
            if (now.contains(cur)) {
                EXPECT_EQ(currentId(), cur);
            }
            break;
        }
        case 5: {  // delete
            if (at < 0)
                break;
            table->Delete();
            model.remove(cur);
            const QVector<qint64> now = expectedOrder();
            if (at < now.size()) {
                EXPECT_EQ(currentId(), now[at]);
            } else if (!now.isEmpty()) {
                EXPECT_EQ(currentId(), now.last());
            }
            break;
        }
        case 6: {  // another order; the record stays current
            ix = kIndexes[rnd.bounded(kIndexes.size())];
            table->SetIndexName(ix);
            ranged = false;
            start.clear();
            end.clear();
            EXPECT_EQ(currentId(), cur);
            break;
        }
        case 7: {  // a range on the (card) prefix of KAV or STA
            if (ix != "KAV" && ix != "STA")
                break;
            const QString a = randomKav();
            const QString b = rnd.bounded(2) ? a : randomKav();
            start = {a};
            end = {b};
            ranged = true;
            table->SetRange(start, end);
            const QVector<qint64> now = expectedOrder();
            if (!now.isEmpty()) {
                EXPECT_EQ(currentId(), now.first());
            }
            EXPECT_EQ(table->RecordCount(), now.size());
            break;
        }
        case 8: {  // FindKey / FindNearest on the first field
            if (ix.isEmpty())
                break;
            const Model::Row *probeRow = order.isEmpty() ? nullptr : model.find(order[rnd.bounded(order.size())]);
            const int f = journalDef().fieldIndex(journalDef().index(ix)->fields[0].field);
            const QVariant v = probeRow && rnd.bounded(2) ? probeRow->values[f]
                               : f == 4                   ? QVariant(double(rnd.bounded(5)) - 0.5)
                               : f == 5                   ? QVariant(QDate(2024, 1, 1 + rnd.bounded(25)))
                                                          : QVariant(randomKav());
            QVector<qint64> matching;
            for (qint64 id : order)
                if (model.compareKey(ix, *model.find(id), {v}) >= 0)
                    matching.append(id);
            if (rnd.bounded(2)) {
                const bool found = table->FindKey({v});
                const bool want = !matching.isEmpty() && model.compareKey(ix, *model.find(matching[0]), {v}) == 0;
                EXPECT_EQ(found, want);
                EXPECT_EQ(currentId(), found ? matching[0] : cur);
            } else {
                table->FindNearest({v});
                if (!matching.isEmpty()) {
                    EXPECT_EQ(currentId(), matching[0]);
                }
                else if (!order.isEmpty()) {
                    EXPECT_TRUE(table->Eof());
                    EXPECT_EQ(currentId(), order.last());
                }
            }
            break;
        }
        case 9: {  // lift the range
            if (!ranged)
                break;
            table->CancelRange();
            ranged = false;
            start.clear();
            end.clear();
            if (cur != 0) {
                EXPECT_EQ(currentId(), cur);
            }
            break;
        }
        default: {  // whole walks
            EXPECT_EQ(storetest::walkForward(*table), order);
            EXPECT_EQ(storetest::walkBackward(*table), order);
            EXPECT_EQ(table->RecordCount(), order.size());
            break;
        }
        }
        if (HasFailure())
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, TableConformance, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
