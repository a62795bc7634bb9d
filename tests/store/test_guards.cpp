// The scoped guards of the store on both engines: the transaction (commit, rollback when
// the scope ends without commit, joining the caller's transaction, serialization on a
// name), the savepoint (a part of a transaction taken back on its own), the table use (the
// table given back open or closed, on its index, range and record, and never an error
// from giving it back) and a command's own cursor on a table.

#include "store_test_support.h"

#include "core/errors.h"
#include "store/cursor.h"
#include "store/table_use.h"
#include "store/transaction.h"

#include <QThread>
#include <atomic>
#include <stdexcept>

using namespace store;
using storetest::Backend;
using storetest::TestDatabase;

namespace {

// Codes with names, in order of the code (KOD) or of the name (NAZ).
const TableDef &guardTableDef()
{
    static const TableDef def = [] {
        TableDef d = storetest::codesTableDef();
        d.indexes.append({QStringLiteral("NAZ"), {{QStringLiteral("C_NAZ")}}, false});
        return d;
    }();
    return def;
}

class GuardTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        db = std::make_unique<TestDatabase>(GetParam());
        conn = db->connect();
        tableName = TestDatabase::freshTableName(QStringLiteral("GRD"));
        conn->CreateTable(guardTableDef(), tableName);
        table = tableOn(*conn);
        // Codes 01..10, named in the opposite order (code 01 is "J", code 10 is "A").
        table->Open();
        for (int i = 1; i <= 10; ++i)
            append(*table, code(i), QString(QChar(u'A' + 10 - i)));
        table->Close();
    }

    std::unique_ptr<Table> tableOn(Database &database) const
    {
        auto t = std::make_unique<Table>(&guardTableDef());
        t->SetDatabase(&database);
        t->SetTableName(tableName);
        return t;
    }
    static QString code(int i) { return QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')); }
    static void append(Table &t, const QString &kod, const QString &name)
    {
        t.Append();
        t.FieldByName(QStringLiteral("C_KOD")).SetAsString(kod);
        t.FieldByName(QStringLiteral("C_NAZ")).SetAsString(name);
        t.Post();
    }
    // Whether a code is stored, as another station sees it.
    bool storedElsewhere(const QString &kod) const
    {
        auto other = db->connect();
        auto t = tableOn(*other);
        t->Open();
        t->SetIndexName(QStringLiteral("KOD"));
        return t->FindKey({kod});
    }
    QString current() const { return table->FieldByName(QStringLiteral("C_KOD")).AsString(); }

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<Database> conn;
    QString tableName;
    std::unique_ptr<Table> table;
};

// ---- Transaction

TEST_P(GuardTest, TransactionKeepsWhatItCommitsAndRollsBackWhatItDoesNot)
{
    table->Open();
    {
        Transaction transaction(*conn);
        EXPECT_FALSE(transaction.joined());
        append(*table, QStringLiteral("21"), QStringLiteral("kept"));
        transaction.commit();
        EXPECT_FALSE(conn->InTransaction());
        EXPECT_THROW(transaction.commit(), StoreError);
    }
    {
        Transaction transaction(*conn);
        append(*table, QStringLiteral("22"), QStringLiteral("left"));
    }
    EXPECT_FALSE(conn->InTransaction());
    try {
        Transaction transaction(*conn, QStringLiteral("a name"));
        append(*table, QStringLiteral("23"), QStringLiteral("failed"));
        throw std::runtime_error("the work failed");
    } catch (const std::runtime_error &) {
    }
    EXPECT_FALSE(conn->InTransaction());
    EXPECT_TRUE(storedElsewhere(QStringLiteral("21")));
    EXPECT_FALSE(storedElsewhere(QStringLiteral("22")));
    EXPECT_FALSE(storedElsewhere(QStringLiteral("23")));
}

TEST_P(GuardTest, TransactionJoinsTheCallersOnlyWhenAllowed)
{
    table->Open();
    conn->StartTransaction();
    // A guard that must begin its own refuses, and leaves the caller's transaction be.
    EXPECT_THROW(Transaction{*conn}, StoreError);
    EXPECT_THROW((Transaction{*conn, QStringLiteral("a name")}), StoreError);
    ASSERT_TRUE(conn->InTransaction());
    {
        Transaction joined(*conn, QStringLiteral("a name"), Transaction::Caller::MayHaveOne);
        EXPECT_TRUE(joined.joined());
        append(*table, QStringLiteral("31"), QStringLiteral("joined"));
        joined.commit();  // the caller's to commit
        EXPECT_TRUE(conn->InTransaction());
    }
    {
        Transaction joined(*conn, Transaction::Caller::MayHaveOne);
        append(*table, QStringLiteral("32"), QStringLiteral("joined, not committed"));
    }  // not rolled back: the caller decides
    ASSERT_TRUE(conn->InTransaction());
    conn->Rollback();
    EXPECT_FALSE(storedElsewhere(QStringLiteral("31")));
    EXPECT_FALSE(storedElsewhere(QStringLiteral("32")));

    // Without a transaction of the caller it begins its own.
    {
        Transaction own(*conn, Transaction::Caller::MayHaveOne);
        EXPECT_FALSE(own.joined());
        append(*table, QStringLiteral("33"), QStringLiteral("own"));
        own.commit();
    }
    EXPECT_TRUE(storedElsewhere(QStringLiteral("33")));
}

// A savepoint guard takes back only its part: the transaction goes on after a write that
// failed within it, and keeps what was written before and after; a released part is kept
// with the transaction, an inner part taken back with its outer one.
TEST_P(GuardTest, SavepointTakesBackOnlyItsPart)
{
    table->Open();
    {
        Transaction transaction(*conn);
        append(*table, QStringLiteral("51"), QStringLiteral("before"));
        try {
            Savepoint part(*conn, QStringLiteral("dodavatel"));
            append(*table, QStringLiteral("52"), QStringLiteral("in the failed part"));
            append(*table, QStringLiteral("01"), QStringLiteral("a code taken"));
            part.release();
            ADD_FAILURE() << "the write of a code taken succeeded";
        } catch (const StoreError &) {
        }
        table->Cancel();
        append(*table, QStringLiteral("53"), QStringLiteral("after"));
        {
            Savepoint nothingRun(*conn, QStringLiteral("empty"));
        }
        {
            Savepoint kept(*conn, QStringLiteral("kept"));
            append(*table, QStringLiteral("54"), QStringLiteral("kept"));
            {
                Savepoint left(*conn, QStringLiteral("inner"));
                append(*table, QStringLiteral("55"), QStringLiteral("left"));
            }
            kept.release();
        }
        {
            Savepoint outer(*conn, QStringLiteral("outer"));
            Savepoint inner(*conn, QStringLiteral("inner"));
            append(*table, QStringLiteral("56"), QStringLiteral("released within a part left"));
            inner.release();
        }
        transaction.commit();
    }
    const std::pair<const char *, bool> expected[] = {{"51", true}, {"52", false}, {"53", true},
                                                      {"54", true}, {"55", false}, {"56", false}};
    for (const auto &[kod, kept] : expected)
        EXPECT_EQ(storedElsewhere(QString::fromLatin1(kod)), kept) << kod;
}

// A part within which a statement failed cannot be kept: release says so, no savepoint
// is taken in the ended transaction, and the guard's end makes the transaction usable.
// Without a transaction, with a name the store cannot take, or released twice: StoreError.
// A word of SQL is a name like any other.
TEST_P(GuardTest, SavepointRefusals)
{
    table->Open();
    {
        Transaction transaction(*conn);
        {
            Savepoint part(*conn, QStringLiteral("part"));
            append(*table, QStringLiteral("61"), QStringLiteral("in the failed part"));
            EXPECT_THROW(append(*table, QStringLiteral("01"), QStringLiteral("a code taken")), StoreError);
            table->Cancel();
            EXPECT_THROW(part.release(), StoreError);
            EXPECT_THROW((Savepoint{*conn, QStringLiteral("another")}), StoreError);
        }
        append(*table, QStringLiteral("62"), QStringLiteral("after the part"));
        transaction.commit();
    }
    EXPECT_FALSE(storedElsewhere(QStringLiteral("61")));
    EXPECT_TRUE(storedElsewhere(QStringLiteral("62")));

    EXPECT_THROW((Savepoint{*conn, QStringLiteral("part")}), StoreError);
    Transaction transaction(*conn);
    for (const QString &name : {QString(), QStringLiteral("two words"), QStringLiteral("x; DROP TABLE x"),
                                QStringLiteral("část")})
        EXPECT_THROW((Savepoint{*conn, name}), StoreError) << name.toStdString();
    Savepoint once(*conn, QStringLiteral("once"));
    once.release();
    EXPECT_THROW(once.release(), StoreError);
    {
        Savepoint word(*conn, QStringLiteral("select"));  // a word of SQL names a savepoint too
        append(*table, QStringLiteral("63"), QStringLiteral("in a part left"));
    }
    transaction.commit();
    EXPECT_FALSE(storedElsewhere(QStringLiteral("63")));
}

// The wait may fall on the serialized transaction's first statement rather than on its
// beginning: each transaction here reads once it has serialized.
TEST_P(GuardTest, TransactionsSerializedOnOneNameRunOneAfterTheOther)
{
    Transaction first(*conn, QStringLiteral("SOR000001"));
    conn->TableExists(table->TableName());
    std::atomic<bool> secondBegan{false};
    std::string secondError;
    const store::ConnectionParams params = db->params();
    const QString tableName = table->TableName();
    QThread *second = QThread::create([&] {
        try {
            Database other;
            other.Connect(params);
            Transaction transaction(other, QStringLiteral("SOR000001"));
            other.TableExists(tableName);
            secondBegan = true;
            transaction.commit();
        } catch (const std::exception &e) {
            secondError = e.what();
        }
    });
    second->start();
    // The second station waits while the first holds the name...
    EXPECT_FALSE(second->wait(500));
    EXPECT_FALSE(secondBegan);
    // ...and goes on once the first has ended.
    first.commit();
    ASSERT_TRUE(second->wait(30000));
    delete second;
    EXPECT_TRUE(secondBegan) << secondError;
}

TEST_P(GuardTest, TransactionThatCannotBeginRaisesTheStoresError)
{
    Database closed;
    EXPECT_THROW(Transaction{closed}, StoreError);
}

// ---- TableUse

TEST_P(GuardTest, TableUseOpensAClosedTableAndClosesItAgainOnItsIndex)
{
    table->SetIndexName(QStringLiteral("NAZ"));
    {
        TableUse use(*table, QStringLiteral("KOD"));
        ASSERT_TRUE(table->Active());
        EXPECT_EQ(table->IndexName(), QStringLiteral("KOD"));
        table->Last();
        table->Edit();
        table->FieldByName(QStringLiteral("C_NAZ")).SetAsString(QStringLiteral("abandoned"));
    }
    EXPECT_FALSE(table->Active());
    EXPECT_EQ(table->IndexName(), QStringLiteral("NAZ"));
    table->Open();
    table->SetIndexName(QStringLiteral("KOD"));
    ASSERT_TRUE(table->FindKey({code(10)}));
    EXPECT_EQ(table->FieldByName(QStringLiteral("C_NAZ")).AsString(), QStringLiteral("A"));
}

TEST_P(GuardTest, TableUseGivesBackIndexRangeAndRecordOfAnOpenTable)
{
    table->Open();
    table->SetIndexName(QStringLiteral("KOD"));
    table->SetRange({code(3)}, {code(6)});
    table->Next();  // code 04
    ASSERT_EQ(current(), code(4));
    {
        TableUse use(*table, QStringLiteral("NAZ"));
        EXPECT_EQ(table->IndexName(), QStringLiteral("NAZ"));
        table->SetRange({QStringLiteral("A")}, {QStringLiteral("B")});
        table->First();
        table->Edit();
        table->FieldByName(QStringLiteral("C_NAZ")).SetAsString(QStringLiteral("abandoned"));
    }
    EXPECT_EQ(table->State(), DataSetState::Browse);
    EXPECT_EQ(table->IndexName(), QStringLiteral("KOD"));
    EXPECT_EQ(current(), code(4));
    // The range is the one it had: codes 03 to 06.
    EXPECT_EQ(table->RecordCount(), 4);
    table->Last();
    EXPECT_EQ(current(), code(6));
    table->First();
    EXPECT_EQ(current(), code(3));
    // The edit was abandoned, not written.
    table->CancelRange();
    table->SetIndexName(QStringLiteral("NAZ"));
    EXPECT_FALSE(table->FindKey({QStringLiteral("abandoned")}));
}

TEST_P(GuardTest, TableUseReportsARecordGoneAndNeverThrowsFromItsEnd)
{
    table->Open();
    table->SetIndexName(QStringLiteral("KOD"));
    ASSERT_TRUE(table->FindKey({code(5)}));
    {
        TableUse use(*table);
        // Another station deletes the record the table stood on.
        auto other = db->connect();
        auto t = tableOn(*other);
        t->Open();
        t->SetIndexName(QStringLiteral("KOD"));
        ASSERT_TRUE(t->FindKey({code(5)}));
        t->Delete();
        EXPECT_FALSE(use.restore());
        EXPECT_TRUE(table->Active());
        EXPECT_EQ(table->IndexName(), QStringLiteral("KOD"));
    }
    // The connection goes while the guard is in use: giving back fails, quietly.
    EXPECT_NO_THROW({
        TableUse use(*table);
        conn->Disconnect();
    });
    EXPECT_FALSE(table->Active());
}

TEST_P(GuardTest, TableUseThatCannotSelectItsIndexRaisesAndClosesWhatItOpened)
{
    EXPECT_THROW((TableUse{*table, QStringLiteral("MISSING")}), StoreError);
    EXPECT_FALSE(table->Active());
    table->Open();
    table->SetIndexName(QStringLiteral("NAZ"));
    EXPECT_THROW((TableUse{*table, QStringLiteral("MISSING")}), StoreError);
    EXPECT_TRUE(table->Active());
    EXPECT_EQ(table->IndexName(), QStringLiteral("NAZ"));
}

TEST_P(GuardTest, TableUseCanLeaveAnOpenTableWhereTheWorkPutIt)
{
    // OpenState: only open or closed is given back.
    table->Open();
    table->SetIndexName(QStringLiteral("KOD"));
    ASSERT_TRUE(table->FindKey({code(2)}));
    {
        TableUse use(*table, QStringLiteral("NAZ"), TableUse::GiveBack::OpenState);
        ASSERT_TRUE(table->FindKey({QStringLiteral("C")}));  // code 08
    }
    EXPECT_EQ(table->IndexName(), QStringLiteral("NAZ"));
    EXPECT_EQ(current(), code(8));
    table->Close();
    {
        TableUse use(*table, QStringLiteral("KOD"), TableUse::GiveBack::OpenState);
        EXPECT_TRUE(table->Active());
    }
    EXPECT_FALSE(table->Active());
}

// ---- Cursor

TEST_P(GuardTest, CursorWorksOnTheTableWithoutMovingItsComponent)
{
    // A closed component stays closed.
    {
        Cursor cursor(*table, QStringLiteral("KOD"));
        EXPECT_EQ(cursor.TableName(), tableName);
        EXPECT_EQ(&cursor.Definition(), &table->Definition());
        EXPECT_EQ(cursor.IndexName(), QStringLiteral("KOD"));
        ASSERT_TRUE(cursor.FindKey({code(3)}));
        EXPECT_EQ(cursor.FieldByName(QStringLiteral("C_NAZ")).AsString(), QStringLiteral("H"));
    }
    EXPECT_FALSE(table->Active());

    // An open one keeps its index, range and record while the cursor writes.
    table->Open();
    table->SetIndexName(QStringLiteral("NAZ"));
    table->SetRange({QStringLiteral("C")}, {QStringLiteral("F")});
    table->Next();
    ASSERT_EQ(current(), code(7));  // "D"
    {
        Cursor cursor(*table, QStringLiteral("KOD"));
        ASSERT_TRUE(cursor.FindKey({code(9)}));
        cursor.Edit();
        cursor.FieldByName(QStringLiteral("C_NAZ")).SetAsString(QStringLiteral("Z"));
        cursor.Post();
        cursor.Last();
        EXPECT_EQ(cursor.FieldByName(QStringLiteral("C_KOD")).AsString(), code(10));
    }
    EXPECT_EQ(table->State(), DataSetState::Browse);
    EXPECT_EQ(table->IndexName(), QStringLiteral("NAZ"));
    EXPECT_EQ(current(), code(7));
    EXPECT_EQ(table->RecordCount(), 4);  // "C" to "F"
    // The name the cursor wrote is the table's: code 09 now sorts last.
    table->CancelRange();
    table->Last();
    EXPECT_EQ(current(), code(9));
}

TEST_P(GuardTest, CursorEndsItsHoldAndAbandonsItsEditWhenItEnds)
{
    {
        Cursor cursor(*table, QStringLiteral("KOD"));
        ASSERT_TRUE(cursor.FindKey({code(5)}));
        cursor.Edit();
        cursor.FieldByName(QStringLiteral("C_NAZ")).SetAsString(QStringLiteral("abandoned"));
    }
    auto other = db->connect();
    auto elsewhere = tableOn(*other);
    elsewhere->Open();
    elsewhere->SetIndexName(QStringLiteral("KOD"));
    ASSERT_TRUE(elsewhere->FindKey({code(5)}));
    EXPECT_EQ(elsewhere->FieldByName(QStringLiteral("C_NAZ")).AsString(), QStringLiteral("F"));
    EXPECT_NO_THROW(elsewhere->Edit());
    elsewhere->Cancel();
}

TEST_P(GuardTest, CursorThatCannotOpenOrSelectItsIndexRaises)
{
    EXPECT_THROW((Cursor{*table, QStringLiteral("MISSING")}), StoreError);
    Table unconnected(&guardTableDef());
    EXPECT_THROW((Cursor{unconnected}), StoreError);
}

INSTANTIATE_TEST_SUITE_P(Engines, GuardTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
