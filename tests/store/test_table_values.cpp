// Field values: every type stored and read back on both engines, conversions from text,
// the display and edit texts, the data source's signals and the after-insert handler.

#include "store_test_support.h"

#include "core/errors.h"
#include "raw_engine.h"

#include <QLocale>
#include <cmath>
#include <limits>
#include <QSignalSpy>

using namespace store;
using storetest::Backend;

namespace {

FieldDef field(const QString &name, FieldType type, int size = 0, const QString &format = {})
{
    FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.format = format;
    return f;
}

// One field of every type; keys on a date, a time and a float to show their order.
const TableDef &allTypesDef()
{
    static const TableDef def = [] {
        TableDef d;
        d.component = QStringLiteral("ffTypes");
        d.builtInName = QStringLiteral("TYP0001");
        d.fields = {field("V_STR", FieldType::String, 10),        field("V_FLT", FieldType::Float, 0, "#,##0.00"),
                    field("V_INT", FieldType::Integer),            field("V_SMI", FieldType::SmallInt),
                    field("V_BOO", FieldType::Boolean, 0, "Ano;Ne"), field("V_DAT", FieldType::Date, 0, "dd.mm.yyyy"),
                    field("V_TIM", FieldType::Time, 0, "hh:mm:ss"), field("V_DTM", FieldType::DateTime),
                    field("V_NDA", FieldType::Date)};
        d.indexes = {{QStringLiteral("DAT"), {{QStringLiteral("V_DAT")}}},
                     {QStringLiteral("TIM"), {{QStringLiteral("V_TIM")}}},
                     {QStringLiteral("FLT"), {{QStringLiteral("V_FLT")}}}};
        return d;
    }();
    return def;
}

class Values : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        tdb = std::make_unique<storetest::TestDatabase>(GetParam());
        db = tdb->connect();
        name = storetest::TestDatabase::freshTableName("TYP");
        db->CreateTable(allTypesDef(), name);
        t = std::make_unique<Table>(&allTypesDef());
        t->SetDatabase(db.get());
        t->SetTableName(name);
        t->Open();
    }
    void TearDown() override
    {
        t.reset();
        if (db)
            db->DropTable(name);
    }
    std::unique_ptr<storetest::TestDatabase> tdb;
    std::unique_ptr<Database> db;
    QString name;
    std::unique_ptr<Table> t;
};

TEST_P(Values, EveryTypeComesBackAsWritten)
{
    struct Row {
        QString str;
        double flt;
        qint64 integer;
        qint64 small;
        bool boo;
        QDate date;
        QTime time;
        QDateTime dateTime;
    } rows[] = {
        {"Žluťoučký", -1234.5678, -2147483647 - 1, -32768, true, QDate(1900, 1, 1), QTime(0, 0, 0),
         QDateTime(QDate(2024, 3, 31), QTime(2, 30, 0))},
        {"", 1e300, 2147483647, 32767, false, QDate(9999, 12, 31), QTime(23, 59, 59),
         QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))},
        {"a'\"\\;--", 0.1 + 0.2, 0, 0, false, QDate(2024, 2, 29), QTime(12, 0, 1), QDateTime()},
        {"€‚„…†‡", 5e-324, 1, -1, true, QDate(), QTime(), QDateTime(QDate(2000, 1, 1), QTime(0, 0))},
    };
    QVector<qint64> ids;
    for (const Row &r : rows) {
        t->Append();
        t->FieldByName("V_STR").SetAsString(r.str);
        t->FieldByName("V_FLT").SetAsFloat(r.flt);
        t->FieldByName("V_INT").SetAsInteger(r.integer);
        t->FieldByName("V_SMI").SetAsInteger(r.small);
        t->FieldByName("V_BOO").SetAsBoolean(r.boo);
        t->FieldByName("V_DAT").SetAsDate(r.date);
        t->FieldByName("V_TIM").SetAsTime(r.time);
        t->FieldByName("V_DTM").SetAsDateTime(r.dateTime);
        t->Post();
        ids.append(t->GetBookmark().id);
    }
    // Read back through another connection.
    auto other = tdb->connect();
    Table u(&allTypesDef());
    u.SetDatabase(other.get());
    u.SetTableName(name);
    u.Open();
    for (int i = 0; i < int(std::size(rows)); ++i) {
        SCOPED_TRACE(i);
        const Row &r = rows[i];
        u.GotoBookmark({ids[i]});
        EXPECT_EQ(u.FieldByName("V_STR").AsString(), r.str);
        EXPECT_EQ(u.FieldByName("V_FLT").AsFloat(), r.flt);
        EXPECT_EQ(u.FieldByName("V_INT").AsInteger(), r.integer);
        EXPECT_EQ(u.FieldByName("V_SMI").AsInteger(), r.small);
        EXPECT_EQ(u.FieldByName("V_BOO").AsBoolean(), r.boo);
        EXPECT_EQ(u.FieldByName("V_DAT").AsDate(), r.date);
        EXPECT_EQ(u.FieldByName("V_DAT").IsNull(), !r.date.isValid());
        EXPECT_EQ(u.FieldByName("V_TIM").AsTime(), r.time);
        EXPECT_EQ(u.FieldByName("V_TIM").IsNull(), !r.time.isValid());
        EXPECT_EQ(u.FieldByName("V_DTM").AsDateTime(), r.dateTime);
        EXPECT_TRUE(u.FieldByName("V_NDA").IsNull());  // never set: stays empty
    }
    // Key orders agree with the values (empty first).
    u.SetIndexName("FLT");
    EXPECT_EQ(storetest::walkForward(u), (QVector<qint64>{ids[0], ids[3], ids[2], ids[1]}));
    u.SetIndexName("DAT");
    EXPECT_EQ(storetest::walkForward(u), (QVector<qint64>{ids[3], ids[0], ids[2], ids[1]}));
    u.SetIndexName("TIM");
    EXPECT_EQ(storetest::walkForward(u), (QVector<qint64>{ids[3], ids[0], ids[2], ids[1]}));
    EXPECT_TRUE(u.FindKey({QTime(12, 0, 1)}));
    EXPECT_EQ(u.GetBookmark().id, ids[2]);
}

// Reads fill the records of earlier reads in place: each row must come back whole,
// whatever the row before it held (a longer or shorter text, other letters, another or
// the same date, a number of another form).
TEST_P(Values, RowsReadInPlaceKeepNothingOfTheRowBefore)
{
    struct Row {
        QString str;
        double flt;
        QDate date;
    } rows[] = {
        {"Žluťoučký", 123456789012.345, QDate(2024, 3, 1)},
        {"a", -0.001, QDate(2024, 3, 1)},
        {"€ a ě", 999999999999999, QDate(2024, 3, 1)},
        {"", 1234567890123456, QDate()},
        {"abcdefghij", 0.5, QDate(2024, 3, 2)},
        {"ŘŘŘ", -7, QDate(2024, 3, 1)},
        {"xy", 1e-7, QDate(1900, 1, 1)},
        {"Žluť", 0.1 + 0.2, QDate(2024, 3, 1)},
    };
    QVector<qint64> ids;
    for (const Row &r : rows) {
        t->Append();
        const QVariant date = r.date.isValid() ? QVariant(r.date) : QVariant();
        for (const auto &[name, value] : {std::pair{"V_STR", QVariant(r.str)}, {"V_FLT", QVariant(r.flt)}, {"V_DAT", date}})
            t->FieldByName(name).SetValue(value);
        t->Post();
        ids.append(t->GetBookmark().id);
    }
    const auto check = [&](const Record &rec, int i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rec.id(), ids[i]);
        EXPECT_EQ(rec.AsString("V_STR"), rows[i].str);
        EXPECT_EQ(rec.AsFloat("V_FLT"), rows[i].flt);
        EXPECT_EQ(rec.AsDate("V_DAT"), rows[i].date);
    };
    const int n = int(std::size(rows));
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        // Forward, then backward (the records let go filled again, other rows in each),
        // then one at a time.
        for (const bool forward : {true, false}) {
            const QVector<Record> read = t->ReadRows({}, n, forward);
            ASSERT_EQ(read.size(), n);
            for (int i = 0; i < n; ++i)
                check(read[i], i);
        }
        t->First();
        for (int i = 0; i < n; ++i, t->Next())
            check(t->CurrentRecord(), i);
        EXPECT_TRUE(t->Eof());
    }
}

TEST_P(Values, TextIsConvertedByTheFieldsTypeOrRefused)
{
    t->Append();
    Field &flt = t->FieldByName("V_FLT");
    flt.SetAsString("1234,5");  // the Czech decimal comma
    EXPECT_EQ(flt.AsFloat(), 1234.5);
    EXPECT_EQ(flt.DisplayText(), QStringLiteral("1\u00a0234,50"));
    EXPECT_EQ(flt.EditText(), "1234,5");  // in full, no grouping
    flt.SetAsFloat(0.125);
    EXPECT_EQ(flt.DisplayText(), "0,13");
    EXPECT_EQ(flt.EditText(), "0,125");
    flt.SetAsFloat(1234.5);
    EXPECT_THROW(flt.SetAsString("12abc"), ConversionError);
    EXPECT_EQ(flt.AsFloat(), 1234.5);  // unchanged
    flt.SetAsString("");
    EXPECT_TRUE(flt.IsNull());

    Field &smi = t->FieldByName("V_SMI");
    smi.SetAsString("-12");
    EXPECT_EQ(smi.AsInteger(), -12);
    EXPECT_THROW(smi.SetAsInteger(40000), ConversionError);
    EXPECT_THROW(smi.SetAsString("1,5"), ConversionError);

    Field &boo = t->FieldByName("V_BOO");
    boo.SetAsString("Ano");
    EXPECT_TRUE(boo.AsBoolean());
    EXPECT_EQ(boo.DisplayText(), "Ano");
    boo.SetAsString("ne");
    EXPECT_EQ(boo.AsString(), "Ne");
    EXPECT_THROW(boo.SetAsString("možná"), ConversionError);

    Field &dat = t->FieldByName("V_DAT");
    dat.SetAsString("5.3.2024");
    EXPECT_EQ(dat.AsDate(), QDate(2024, 3, 5));
    EXPECT_EQ(dat.DisplayText(), "05.03.2024");
    EXPECT_THROW(dat.SetAsString("32.13.2024"), ConversionError);

    Field &tim = t->FieldByName("V_TIM");
    tim.SetAsString("7:05");
    EXPECT_EQ(tim.AsTime(), QTime(7, 5));
    EXPECT_EQ(tim.DisplayText(), "07:05:00");
    tim.SetAsTime(QTime(7, 5, 9, 750));  // kept to the second
    EXPECT_EQ(tim.AsTime(), QTime(7, 5, 9));

    Field &dtm = t->FieldByName("V_DTM");
    dtm.SetAsString("31.12.2023 23:59:58");
    EXPECT_EQ(dtm.AsDateTime(), QDateTime(QDate(2023, 12, 31), QTime(23, 59, 58)));
    EXPECT_EQ(dtm.AsString(), "31.12.2023 23:59:58");
    dtm.SetAsDate(QDate(2024, 1, 2));
    EXPECT_EQ(dtm.AsString(), "02.01.2024");

    Field &str = t->FieldByName("V_STR");
    str.SetAsFloat(7.5);
    EXPECT_EQ(str.AsString(), "7,5");
    EXPECT_EQ(str.AsFloat(), 7.5);
    EXPECT_THROW(t->FieldByName("V_DAT").AsFloat(), ConversionError);
    t->Cancel();
}

// A number the column cannot hold (an overflow, an undefined result, an integer beyond
// the column's size) is refused by the field's conversion and the field keeps its value.
TEST_P(Values, NumbersTheColumnCannotHoldAreRefused)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char *field;
        QVariant value;
    };
    const Case cases[] = {
        {"V_FLT", inf},           {"V_FLT", -inf},
        {"V_FLT", std::nan("")},  {"V_FLT", QStringLiteral("1e400")},
        {"V_FLT", QStringLiteral("inf")}, {"V_FLT", QStringLiteral("NaN")},
        {"V_INT", 3.0e9},         {"V_INT", QStringLiteral("99999999999")},
        {"V_INT", inf},           {"V_SMI", QStringLiteral("40000")},
        {"V_SMI", -32769.0},
    };
    t->Append();
    t->FieldByName("V_FLT").SetAsFloat(1.5);
    t->FieldByName("V_INT").SetAsInteger(7);
    t->FieldByName("V_SMI").SetAsInteger(8);
    for (const Case &c : cases) {
        Field &f = t->FieldByName(QLatin1String(c.field));
        const QVariant before = f.Value();
        EXPECT_THROW(f.SetValue(c.value), ConversionError) << c.field << " " << c.value.toString().toStdString();
        EXPECT_EQ(f.Value(), before) << c.field;
    }
    // The largest finite number still fits a float column.
    t->FieldByName("V_FLT").SetAsFloat(std::numeric_limits<double>::max());
    t->Post();
}

// A row that already holds an infinite number (written before such numbers were refused,
// or by another program) still opens, can be corrected in its other fields and written.
TEST_P(Values, ARowHoldingAnInfiniteNumberCanStillBeCorrected)
{
    t->Append();
    t->FieldByName("V_STR").SetAsString("stary");
    t->Post();
    Engine &engine = storetest::rawEngine(*db);
    engine.execute(QStringLiteral("UPDATE \"%1\" SET \"V_FLT\" = %2").arg(name, engine.dialect().placeholder(1)),
                   {std::numeric_limits<double>::infinity()});
    t->Close();
    t->Open();
    t->First();
    EXPECT_TRUE(std::isinf(t->FieldByName("V_FLT").AsFloat()));
    t->Edit();
    t->FieldByName("V_STR").SetAsString("novy");
    EXPECT_NO_THROW(t->Post());
    t->Close();
    t->Open();
    t->First();
    EXPECT_EQ(t->FieldByName("V_STR").AsString(), QStringLiteral("novy"));
    EXPECT_TRUE(std::isinf(t->FieldByName("V_FLT").AsFloat()));
}

TEST_P(Values, DataSourceForwardsWhileEnabled)
{
    DataSource ds(t.get());
    QSignalSpy data(&ds, &DataSource::dataChanged);
    QSignalSpy state(&ds, &DataSource::stateChanged);
    QSignalSpy fieldSpy(&ds, &DataSource::fieldChanged);
    t->Append();
    EXPECT_EQ(state.count(), 1);
    t->FieldByName("V_INT").SetAsInteger(1);
    ASSERT_EQ(fieldSpy.count(), 1);
    EXPECT_EQ(fieldSpy.takeFirst().at(0).toInt(), 2);
    t->Post();
    EXPECT_EQ(state.count(), 2);
    EXPECT_GE(data.count(), 1);

    ds.SetEnabled(false);
    data.clear();
    state.clear();
    t->Edit();
    t->FieldByName("V_INT").SetAsInteger(2);
    t->Cancel();
    t->First();
    EXPECT_EQ(data.count(), 0);
    EXPECT_EQ(state.count(), 0);
    EXPECT_EQ(fieldSpy.count(), 0);
    ds.SetEnabled(true);  // the controls catch up with the record as it is
    EXPECT_EQ(data.count(), 1);
    EXPECT_EQ(state.count(), 1);
}

TEST_P(Values, AfterInsertMayWorkElsewhereAndItsFailureCancelsTheInsert)
{
    // Like the numbering of a new supplier: a counter in another table, committed at once.
    const QString counters = storetest::TestDatabase::freshTableName("CNT");
    db->CreateTable(storetest::codesTableDef(), counters);
    Table c(&storetest::codesTableDef());
    c.SetDatabase(db.get());
    c.SetTableName(counters);
    c.Open();
    c.Append();
    c.FieldByName("C_KOD").SetAsString("41");
    c.Post();
    bool failNext = false;
    t->OnAfterInsert = [&](Table &self) {
        db->StartTransaction();
        try {
            c.First();
            c.Edit();
            c.FieldByName("C_KOD").SetAsInteger(c.FieldByName("C_KOD").AsInteger() + 1);
            if (failNext)
                throw StoreError("counter refused");
            c.Post();
            db->Commit();
        } catch (...) {
            c.Cancel();
            db->Rollback();
            throw;
        }
        self.FieldByName("V_INT").SetAsInteger(c.FieldByName("C_KOD").AsInteger());
    };
    t->Append();
    EXPECT_EQ(t->FieldByName("V_INT").AsInteger(), 42);
    t->Cancel();  // the number stays used
    c.First();
    EXPECT_EQ(c.FieldByName("C_KOD").AsString(), "42");

    failNext = true;
    EXPECT_THROW(t->Append(), StoreError);
    EXPECT_EQ(t->State(), DataSetState::Browse);
    EXPECT_FALSE(db->InTransaction());
    c.First();
    EXPECT_EQ(c.FieldByName("C_KOD").AsString(), "42");
    c.Close();
    db->DropTable(counters);
}

INSTANTIATE_TEST_SUITE_P(Engines, Values, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
