// Several stations as real processes on one database, each with its own address: racing
// for one document's lock, taking document numbers from one counter, and posting onto the
// same stock cards at once. Each test prints its figures.

#include "stations_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using storetest::Backend;
using namespace stations;

namespace {

class StationsTest : public StationsFixture {};

// Eight stations race for one document's lock; the holds, logged by each process as it
// gets and lets go of the lock, never overlap.
TEST_P(StationsTest, EightStationsRacingForOneLockHoldItOneAtATime)
{
    constexpr int kStations = 8;
    constexpr int kRounds = 1000;
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("holds.log"));
    std::vector<std::unique_ptr<QProcess>> racers;
    for (int i = 1; i <= kStations; ++i) {
        auto proc = std::make_unique<QProcess>();
        proc->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proc->start(QStringLiteral(LOCK_RACER), {StationTarget(db->params()), QStringLiteral("10.0.2.%1").arg(i),
                                                 QString::number(kRounds / kStations), log});
        racers.push_back(std::move(proc));
    }
    for (auto &proc : racers)
        finish(*proc, 300000);

    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), kRounds * 2);
    QString holder;
    int overlaps = 0;
    QSet<QString> holders;
    for (const QString &line : lines) {
        if (line.startsWith(u'+')) {
            overlaps += !holder.isEmpty();
            holder = line.mid(1);
            holders << holder;
        } else {
            overlaps += holder != line.mid(1);
            holder.clear();
        }
    }
    EXPECT_EQ(overlaps, 0);
    EXPECT_EQ(holders.size(), kStations);
    std::printf("[figures] %s: %d stations, %d rounds of the lock, %d overlapping holds\n",
                storetest::engineName({GetParam(), 0}).c_str(), kStations, kRounds, overlaps);
}

// Two stations take document numbers from the one counter at once: every number is handed
// out once, and none is skipped.
TEST_P(StationsTest, TwoStationsTakingNumbersGetEachNumberOnceWithoutGaps)
{
    constexpr int kEach = 1000;
    AppendRow(data->ffCiselnik, {{data->ffCiselnikCIS_POD, "123"}, {data->ffCiselnikCIS_PRD, "0"}});
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("numbers.txt"));
    auto a = startWorker(db->params(), QStringLiteral("10.0.3.1"), {QStringLiteral("numbers"), QString::number(kEach), out});
    auto b = startWorker(db->params(), QStringLiteral("10.0.3.2"), {QStringLiteral("numbers"), QString::number(kEach), out});
    const QStringList outA = finish(*a, 300000);
    const QStringList outB = finish(*b, 300000);

    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList numbers = QString::fromLatin1(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(numbers.size(), 2 * kEach);
    QSet<qint64> distinct;
    for (const QString &n : numbers)
        distinct << n.toLongLong();
    EXPECT_EQ(distinct.size(), 2 * kEach);
    for (qint64 n = 124; n < 124 + 2 * kEach; ++n)
        EXPECT_TRUE(distinct.contains(n)) << "number " << n << " was never handed out";
    std::printf("[figures] %s: 2 stations took %lld distinct numbers (%s; %s)\n",
                storetest::engineName({GetParam(), 0}).c_str(), qint64(distinct.size()),
                outA.value(outA.size() - 1).toUtf8().constData(), outB.value(outB.size() - 1).toUtf8().constData());
}

// Two stations post onto the same cards at once: every line goes through without a
// message, the journal agrees with the stock, and the newest running stock of each
// variant equals its stock.
TEST_P(StationsTest, TwoStationsPostingOntoTheSameCardsPostEveryLine)
{
    constexpr int kEach = 300;
    const QStringList cards = {QStringLiteral("000001"), QStringLiteral("000002"), QStringLiteral("000003")};
    for (const QString &card : cards)
        addStockCard(*data, card, 0);   // the journal agrees with the stock: no rebuild is due
    auto a = startWorker(db->params(), QStringLiteral("10.0.4.1"), QStringList{QStringLiteral("post"), QString::number(kEach)} + cards);
    auto b = startWorker(db->params(), QStringLiteral("10.0.4.2"), QStringList{QStringLiteral("post"), QString::number(kEach)} + cards);
    const QStringList outA = finish(*a, 300000);
    const QStringList outB = finish(*b, 300000);
    const QString expected = QStringLiteral("posted %1 refused 0").arg(kEach);
    EXPECT_EQ(outA.join(u'|').toStdString(), expected.toStdString());   // no message, nothing refused
    EXPECT_EQ(outB.join(u'|').toStdString(), expected.toStdString());

    const Ledger ledger = checkLedger(*data);
    EXPECT_EQ(ledger.journalEntries, 2 * kEach);
    EXPECT_TRUE(ledger.violations.isEmpty()) << ledger.violations.join(u'\n').toStdString();
    std::printf("[figures] %s: 2 stations posted %d lines onto %lld cards\n",
                storetest::engineName({GetParam(), 0}).c_str(), ledger.journalEntries, qint64(cards.size()));
}

INSTANTIATE_TEST_SUITE_P(Engines, StationsTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
