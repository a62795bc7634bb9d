// Holds between stations: a record in editing at one connection cannot be edited or
// deleted at another; the hold ends with Post, Cancel, Close, Disconnect or the death of
// the process that held it.

#include "store_test_support.h"

#include "core/errors.h"
#include "raw_engine.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <atomic>
#include <thread>

using namespace store;
using storetest::Backend;

namespace {

class Holds : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        tdb = std::make_unique<storetest::TestDatabase>(GetParam());
        dbA = tdb->connect();
        dbB = tdb->connect();
        name = storetest::TestDatabase::freshTableName(QStringLiteral("HLD"));
        dbA->CreateTable(storetest::codesTableDef(), name);
        a = open(*dbA);
        for (const char *code : {"000001", "000002"}) {
            a->Append();
            a->FieldByName("C_KOD").SetAsString(code);
            a->Post();
        }
        b = open(*dbB);
        ASSERT_TRUE(a->FindKey({"000001"}));
        ASSERT_TRUE(b->FindKey({"000001"}));
    }
    void TearDown() override
    {
        a.reset();
        b.reset();
        if (dbA && dbA->IsConnected())
            dbA->DropTable(name);
    }

    std::unique_ptr<Table> open(Database &db)
    {
        auto t = std::make_unique<Table>(&storetest::codesTableDef());
        t->SetDatabase(&db);
        t->SetTableName(name);
        t->Open();
        t->SetIndexName("KOD");
        return t;
    }

    // B cannot touch the record while A holds it.
    void expectRefused()
    {
        try {
            b->Edit();
            ADD_FAILURE() << "edited a record held elsewhere";
            b->Cancel();
        } catch (const StoreError &e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("jinou stanicí"))) << e.text().toStdString();
        }
        EXPECT_EQ(b->State(), DataSetState::Browse);
        EXPECT_THROW(b->Delete(), StoreError);
        EXPECT_EQ(b->RecordCount(), 2);
    }
    // B can edit the record again (and lets it go).
    void expectFree()
    {
        b->Edit();
        EXPECT_EQ(b->State(), DataSetState::Edit);
        b->Cancel();
    }

    std::unique_ptr<storetest::TestDatabase> tdb;
    std::unique_ptr<Database> dbA, dbB;
    QString name;
    std::unique_ptr<Table> a, b;
};

TEST_P(Holds, EndWithPostCancelCloseAndDisconnect)
{
    a->Edit();
    expectRefused();
    a->FieldByName("C_NAZ").SetAsString("A");
    a->Post();
    expectFree();
    // Edit rereads: B sees what A wrote.
    b->Edit();
    EXPECT_EQ(b->FieldByName("C_NAZ").AsString(), "A");
    b->Cancel();

    a->Edit();
    expectRefused();
    a->Cancel();
    expectFree();

    a->Edit();
    a->Close();
    expectFree();

    a->Open();
    a->SetIndexName("KOD");
    a->FindKey({"000001"});
    a->Edit();
    expectRefused();
    dbA->Disconnect();
    EXPECT_FALSE(a->Active());
    expectFree();
    dbA->Connect(tdb->params());
}

// A hold that ends within a transaction ends with it, however it ends (committed, rolled
// back, or spoiled by a failed statement): a station that waited for the transaction finds
// the record free, and no station gets it before then.
TEST_P(Holds, WithinATransactionTheHoldEndsWithTheTransaction)
{
    enum class End { Commit, Rollback, Spoiled };
    for (const End end : {End::Commit, End::Rollback, End::Spoiled}) {
        const QString value = QStringLiteral("V%1").arg(int(end));
        dbA->StartTransaction();
        a->Edit();
        a->FieldByName("C_NAZ").SetAsString(value);
        a->Post();
        expectRefused();
        switch (end) {
        case End::Commit:
            dbA->Commit();
            break;
        case End::Rollback:
            dbA->Rollback();
            break;
        case End::Spoiled:
            EXPECT_THROW(storetest::rawEngine(*dbA).queryInteger(QStringLiteral("SELECT 1 FROM no_such_table"), {}), StoreError);
            EXPECT_THROW(dbA->Commit(), StoreError);  // rolled back
            break;
        }
        EXPECT_FALSE(dbA->InTransaction());
        expectFree();
        b->Edit();
        const bool kept = end == End::Commit;
        EXPECT_EQ(b->FieldByName("C_NAZ").AsString() == value, kept) << int(end);
        b->Cancel();
        // A transaction that reads and writes nothing ends as well.
        dbA->StartTransaction();
        dbA->Commit();
        a->Edit();
        expectRefused();
        a->Cancel();
    }
}

// A station that takes a hold released within another station's transaction gets it once
// that transaction's commit is visible, and reads what the transaction wrote: whether the
// hold was taken within the transaction or before it. On PostgreSQL a trigger deferred to
// the commit makes the commit take a while: the moment in which a hold released along
// with the commit, but ahead of it, lets the other station read the record as it was.
TEST_P(Holds, AHoldReleasedWithinATransactionIsTakenWithWhatTheTransactionCommitted)
{
    if (GetParam() == Backend::PostgreSQL) {
        store::Engine &engine = storetest::rawEngine(*dbA);
        engine.runScript(QStringLiteral("CREATE OR REPLACE FUNCTION podklady_test_slow_commit() RETURNS trigger "
                                        "LANGUAGE plpgsql AS $$BEGIN PERFORM pg_sleep(0.3); RETURN NULL; END$$"));
        engine.runScript(QStringLiteral("CREATE CONSTRAINT TRIGGER slow_commit AFTER UPDATE ON \"%1\" DEFERRABLE "
                                        "INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION podklady_test_slow_commit()")
                             .arg(name));
    }
    for (const bool heldBefore : {false, true}) {
        const QString value = heldBefore ? QStringLiteral("before") : QStringLiteral("within");
        if (heldBefore)
            a->Edit();
        dbA->StartTransaction();
        a->Edit();
        a->FieldByName("C_NAZ").SetAsString(value);
        a->Post();

        // The other station asks for the record until it gets it, as a user would.
        std::atomic<bool> asking{false};
        QString read, failure;
        std::thread station([&] {
            try {
                auto db = tdb->connect();
                auto t = open(*db);
                if (!t->FindKey({"000001"}))
                    throw StoreError(QStringLiteral("000001 not found"));
                asking = true;
                const QDeadlineTimer deadline(20000);
                for (;;) {
                    try {
                        t->Edit();
                        break;
                    } catch (const StoreError &) {
                        if (deadline.hasExpired())
                            throw;
                    }
                }
                read = t->FieldByName("C_NAZ").AsString();
                t->Cancel();
            } catch (const AppError &e) {
                failure = e.text();
            }
        });
        while (!asking)
            QThread::msleep(1);
        QThread::msleep(50);
        dbA->Commit();
        station.join();
        EXPECT_EQ(failure.toStdString(), "");
        EXPECT_EQ(read.toStdString(), value.toStdString()) << (heldBefore ? "held before" : "held within");
    }
}

// A station that stopped inside a transaction serialized on a name (a power cut, a cable
// pulled: its connection stays open) keeps another station that serializes on the same
// name waiting for the lock wait at most: the other is then refused, as a record held
// elsewhere is refused, and its own transaction can be rolled back. The connection asks
// after the idle station with TCP keepalives, so that the server lets a vanished one go.
TEST_P(Holds, AStationStoppedInsideASerializedTransactionHoldsTheOthersUpForTheLockWaitAtMost)
{
    const store::ConnectionParams p = tdb->params();
    QStringList args = GetParam() == Backend::SQLite
        ? QStringList{"sqlite", p.sqliteFile, name, "SERIAL"}
        : QStringList{"pg", p.host, QString::number(p.port), p.database, p.user, name, "SERIAL"};
    args << QStringLiteral("serialize");
    QProcess child;
    child.start(QStringLiteral(HOLD_CHILD), args);
    ASSERT_TRUE(child.waitForStarted());
    ASSERT_TRUE(child.waitForReadyRead(10000)) << child.readAllStandardError().toStdString();
    ASSERT_EQ(child.readLine().trimmed(), "HELD") << child.readAllStandardError().toStdString();

    store::ConnectionParams bounded = p;
    bounded.lockWaitMs = 1000;
    Database db;
    db.Connect(bounded);
    auto t = open(db);
    QElapsedTimer waited;
    waited.start();
    try {
        // On SQLite the serialized transaction holds the database's write lock: beginning
        // one waits for it. On PostgreSQL the serialization waits with the next statement.
        db.StartTransaction();
        db.SerializeOn(QStringLiteral("SERIAL"));
        t->RecordCount();
        ADD_FAILURE() << "serialized beside a station that holds the name";
    } catch (const StoreError &e) {
        const QString expected = GetParam() == Backend::SQLite ? QStringLiteral("database is locked")
                                                               : QStringLiteral("záznam je upraven jinou stanicí");
        EXPECT_TRUE(e.text().contains(expected)) << e.text().toStdString();
    }
    // Bounded by the lock wait, not by the station's return.
    EXPECT_GE(waited.elapsed(), 900);
    EXPECT_LT(waited.elapsed(), 20000);
    if (db.InTransaction())
        db.Rollback();
    EXPECT_EQ(t->RecordCount(), 2);

    if (GetParam() == Backend::PostgreSQL) {
        QStringList settings;
        storetest::rawEngine(db).query(
            QStringLiteral("SELECT current_setting('lock_timeout') || ' ' || current_setting('tcp_keepalives_idle') "
                           "|| ' ' || current_setting('tcp_keepalives_interval') || ' ' || "
                           "current_setting('tcp_keepalives_count')"),
            {}, {store::ColType::Text}, [&](QVariant *cells) { settings << cells[0].toString(); });
        EXPECT_EQ(settings, QStringList{QStringLiteral("1s 10 5 3")});
    }
    child.kill();
    child.waitForFinished();
}

// PostAndEdit writes and goes on editing: the record stays held throughout, a new one
// from its write on, and each write is what another station then reads.
TEST_P(Holds, PostAndEditKeepsTheRecordHeld)
{
    a->Edit();
    for (const char *value : {"x", "y"}) {
        a->FieldByName("C_NAZ").SetAsString(value);
        a->PostAndEdit();
        EXPECT_EQ(a->State(), DataSetState::Edit);
        EXPECT_FALSE(a->Modified());
        EXPECT_EQ(a->FieldByName("C_NAZ").AsString(), value);
        expectRefused();
        auto reader = open(*dbB);
        ASSERT_TRUE(reader->FindKey({"000001"}));
        EXPECT_EQ(reader->FieldByName("C_NAZ").AsString(), value);
    }
    a->Post();
    expectFree();

    a->Append();
    a->FieldByName("C_KOD").SetAsString("000003");
    a->PostAndEdit();
    EXPECT_EQ(a->State(), DataSetState::Edit);
    EXPECT_EQ(a->FieldByName("C_KOD").AsString(), "000003");
    ASSERT_TRUE(b->FindKey({"000003"}));
    EXPECT_THROW(b->Edit(), StoreError);
    a->Cancel();
    expectFree();
}

TEST_P(Holds, OnlyTheHeldRecordAndOnlyOtherConnections)
{
    a->Edit();
    // Another record is free.
    ASSERT_TRUE(b->FindKey({"000002"}));
    expectFree();
    b->Delete();
    // A second component on the same connection is the same station.
    auto a2 = open(*dbA);
    ASSERT_TRUE(a2->FindKey({"000001"}));
    a2->Edit();
    a2->Cancel();
    ASSERT_TRUE(b->FindKey({"000001"}));
    EXPECT_THROW(b->Edit(), StoreError);  // A still holds it through its first component
    a->Cancel();
    expectFree();
}

TEST_P(Holds, EndWhenTheHoldingProcessDies)
{
    QStringList args;
    const ConnectionParams p = tdb->params();
    if (GetParam() == Backend::SQLite)
        args = {"sqlite", p.sqliteFile, name, "000001"};
    else
        args = {"pg", p.host, QString::number(p.port), p.database, p.user, name, "000001"};
    QProcess child;
    child.start(QStringLiteral(HOLD_CHILD), args);
    ASSERT_TRUE(child.waitForStarted());
    ASSERT_TRUE(child.waitForReadyRead(10000)) << child.readAllStandardError().toStdString();
    ASSERT_EQ(child.readLine().trimmed(), "HELD") << child.readAllStandardError().toStdString();
    a->Cancel();
    EXPECT_THROW(a->Edit(), StoreError);
    EXPECT_THROW(a->Delete(), StoreError);

    child.kill();  // SIGKILL: no clean-up of its own
    ASSERT_TRUE(child.waitForFinished());
    // The server notices the dead session as its socket closes; allow it a moment.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        try {
            a->Edit();
            break;
        } catch (const StoreError &) {
            ASSERT_LT(waited.elapsed(), 10000) << "the hold outlived its process";
            QThread::msleep(20);
        }
    }
    EXPECT_EQ(a->State(), DataSetState::Edit);
    a->Cancel();
}

INSTANTIATE_TEST_SUITE_P(Engines, Holds, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
