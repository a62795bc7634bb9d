// Record locks between stations: two data modules with their own connections and
// addresses on one database, and several processes racing for one lock.

#include "startup_fixture.h"
#include "station_target.h"

#include "core/errors.h"
#include "store/cursor.h"
#include "store/tables/index_names.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using storetest::Backend;
using namespace startuptest;

namespace {

class RecordLockTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        db = std::make_unique<storetest::TestDatabase>(GetParam());
        a = station(*db, QStringLiteral("10.0.0.1"), QStringLiteral("Dvořáková Alžběta z Lobkowicz"));
        b = station(*db, QStringLiteral("10.0.0.2"), QStringLiteral("Svoboda Jan"));
        FreshFirmSchema(a->Database, a->FirmNumber);
    }

    // The lock records as "code/key/station/user".
    QStringList records()
    {
        QStringList out;
        store::Table &t = a->ffSemafor;
        t.Open();
        for (t.First(); !t.Eof(); t.Next())
            out << a->ffSemaforSYS_TAB.AsString() + '/' + a->ffSemaforSYS_KLI.AsString() + '/'
                    + a->ffSemaforSYS_IDU.AsString() + '/' + a->ffSemaforSYS_USR.AsString();
        t.Close();
        return out;
    }

    std::unique_ptr<storetest::TestDatabase> db;
    std::unique_ptr<TData> a, b;
    RecordingPrompter messages;
};

TEST_P(RecordLockTest, SecondStationIsRefusedWithHolderAndTime)
{
    const QDateTime before = QDateTime::currentDateTime();
    ASSERT_TRUE(a->LockRecord(QStringLiteral("POD"), QStringLiteral("0000000123")));
    EXPECT_TRUE(messages.messages.isEmpty());
    // The user name is cut to the field's 15 characters.
    EXPECT_EQ(records(), QStringList{QStringLiteral("POD/0000000123/10.0.0.1/Dvořáková Alžbě")});

    EXPECT_FALSE(b->LockRecord(QStringLiteral("POD"), QStringLiteral("0000000123")));
    ASSERT_EQ(messages.messages.size(), 1);
    const QString prefix = QStringLiteral("Položka blokována uživatelem Dvořáková Alžbě od  ");
    EXPECT_TRUE(messages.messages[0].startsWith(prefix)) << messages.messages[0].toStdString();
    const QDateTime shown = QDateTime::fromString(messages.messages[0].mid(prefix.size()), QStringLiteral("dd.MM.yyyy hh.mm"));
    ASSERT_TRUE(shown.isValid()) << messages.messages[0].toStdString();
    EXPECT_LE(qAbs(shown.secsTo(before)), 120);
    EXPECT_EQ(records().size(), 1);   // nothing added for the refused station
    EXPECT_FALSE(a->ffSemafor.Active());
    EXPECT_FALSE(b->ffSemafor.Active());
}

TEST_P(RecordLockTest, SameStationRelocksAndUnlocksOnlyItsOwn)
{
    bool taken = false;
    EXPECT_TRUE(a->LockRecord(QStringLiteral("POD"), QStringLiteral("0000000123"), &taken));
    EXPECT_TRUE(taken);
    EXPECT_TRUE(a->LockRecord(QStringLiteral("POD"), QStringLiteral("0000000123"), &taken));
    EXPECT_FALSE(taken);   // held already: not this call's record to remove on failure
    EXPECT_EQ(records().size(), 1);

    b->UnlockRecord(QStringLiteral("POD"), QStringLiteral("0000000123"));   // not b's: nothing removed
    EXPECT_EQ(records().size(), 1);

    a->UnlockRecord(QStringLiteral("POD"), QStringLiteral("0000000123"));
    EXPECT_TRUE(records().isEmpty());
    EXPECT_TRUE(b->LockRecord(QStringLiteral("POD"), QStringLiteral("0000000123")));
    EXPECT_TRUE(messages.messages.isEmpty());
}

// Held for a transaction only: another station's lock refuses it, nothing is written,
// and this station's own left-over record goes with the commit (not with a rollback).
TEST_P(RecordLockTest, LockForTransactionWritesNothingAndRemovesOnlyItsOwnOnCommit)
{
    const QString sor = QStringLiteral("SOR");
    store::Cursor locks(a->ffSemafor, store::tables::index::ffSemafor::KOD);
    EXPECT_THROW(a->LockForTransaction(locks, sor, QStringLiteral("000001")), StoreError);

    ASSERT_TRUE(b->LockRecord(sor, QStringLiteral("000002")));
    ASSERT_TRUE(a->LockRecord(sor, QStringLiteral("000003")));
    for (const bool commit : {false, true}) {
        a->Database.StartTransaction();
        QString refusal;
        EXPECT_TRUE(a->LockForTransaction(locks, sor, QStringLiteral("000001"), &refusal));
        EXPECT_FALSE(a->LockForTransaction(locks, sor, QStringLiteral("000002"), &refusal));
        EXPECT_TRUE(refusal.startsWith(QStringLiteral("Položka blokována uživatelem Svoboda Jan od  ")))
            << refusal.toStdString();
        EXPECT_TRUE(a->LockForTransaction(locks, sor, QStringLiteral("000003")));
        if (commit)
            a->Database.Commit();
        else
            a->Database.Rollback();
        const QStringList expected = commit ? QStringList{QStringLiteral("SOR/000002/10.0.0.2/Svoboda Jan")}
                                            : QStringList{QStringLiteral("SOR/000002/10.0.0.2/Svoboda Jan"),
                                                          QStringLiteral("SOR/000003/10.0.0.1/Dvořáková Alžbě")};
        QStringList found = records();
        found.sort();
        EXPECT_EQ(found, expected) << (commit ? "committed" : "rolled back");
    }
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(b->LockRecord(sor, QStringLiteral("000001")));
    EXPECT_TRUE(b->LockRecord(sor, QStringLiteral("000003")));
}

TEST_P(RecordLockTest, CodesAreIndependent)
{
    EXPECT_TRUE(a->LockRecord(QStringLiteral("SOR"), QStringLiteral("000123")));
    EXPECT_TRUE(b->LockRecord(QStringLiteral("POD"), QStringLiteral("000123")));
    EXPECT_FALSE(b->LockRecord(QStringLiteral("SOR"), QStringLiteral("000123")));
    EXPECT_EQ(records().size(), 2);
}

// Several processes, each a station of its own, lock and unlock one thing in a loop and
// log each hold; no two holds may ever overlap, and every station gets the lock.
TEST_P(RecordLockTest, RacingProcessesHoldOneAtATime)
{
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("holds.log"));
    const store::ConnectionParams p = db->params();
    const QString target = StationTarget(p);

    std::vector<std::unique_ptr<QProcess>> racers;
    for (int i = 1; i <= 4; ++i) {
        auto proc = std::make_unique<QProcess>();
        proc->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proc->start(QStringLiteral(LOCK_RACER), {target, QStringLiteral("10.0.1.%1").arg(i), QStringLiteral("25"), log});
        ASSERT_TRUE(proc->waitForStarted(5000));
        racers.push_back(std::move(proc));
    }
    for (auto &proc : racers) {
        ASSERT_TRUE(proc->waitForFinished(120000));
        EXPECT_EQ(proc->exitCode(), 0);
    }

    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4 * 25 * 2);
    QString holder;
    for (const QString &line : lines) {
        if (line.startsWith('+')) {
            EXPECT_TRUE(holder.isEmpty()) << "two holders: " << holder.toStdString() << " and " << line.toStdString();
            holder = line.mid(1);
        } else {
            EXPECT_EQ(holder, line.mid(1));
            holder.clear();
        }
    }
    EXPECT_TRUE(records().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordLockTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
