// Several stations as real processes on one database, each with its own address: racing
// for one document's lock, taking document numbers from one counter, creating suppliers
// whose codes come from one counter, and posting and importing onto the same stock cards at
// once. Each test prints its figures.

#include "stations_support.h"

#include "podklady_dbf_writer.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

using storetest::Backend;
using namespace stations;

namespace {

class StationsTest : public StationsFixture {};

// Two stations, at PREFIX.1 and PREFIX.2, doing the same work at once: their output once
// both have ended.
std::array<QStringList, 2> runTwo(const store::ConnectionParams &p, const QString &prefix, const QStringList &work)
{
    auto a = startWorker(p, prefix + QStringLiteral(".1"), work);
    auto b = startWorker(p, prefix + QStringLiteral(".2"), work);
    QStringList outA = finish(*a, 300000);
    return {outA, finish(*b, 300000)};
}

// The last line of a station's output: its summary.
QByteArray summary(const QStringList &out) { return out.value(out.size() - 1).toUtf8(); }

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
    const auto [outA, outB] = runTwo(db->params(), QStringLiteral("10.0.3"), {QStringLiteral("numbers"), QString::number(kEach), out});

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
                storetest::engineName({GetParam(), 0}).c_str(), qint64(distinct.size()), summary(outA).constData(),
                summary(outB).constData());
}

// Two stations create suppliers at once, each new supplier taking its code from the one
// counter in a transaction of its own: every supplier gets a code of its own, without gaps,
// and the counter ends at the number of suppliers created. The hold on the counter lasts
// until its commit is visible: a station that took it a moment before would read the
// number the other had just taken and give it out again (on PostgreSQL this runs on the
// durable server, where a commit takes a shop's server's time).
TEST_P(StationsTest, TwoStationsCreatingSuppliersGiveEverySupplierACodeOfItsOwn)
{
    constexpr int kEach = 300;
    AppendRow(data->ffCiselnik, {{data->ffCiselnikCIS_POD, "0"}, {data->ffCiselnikCIS_PRD, "0"},
                                 {data->ffCiselnikCIS_ODB, 0.0}});
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("codes.txt"));
    const auto [outA, outB] = runTwo(db->params(), QStringLiteral("10.0.6"), {QStringLiteral("suppliers"), QString::number(kEach), out});

    // The suppliers as stored, not as the stations reported them.
    QMap<QString, int> uses;
    store::Table &suppliers = data->ffDodavatele;
    suppliers.Open();
    for (suppliers.First(); !suppliers.Eof(); suppliers.Next())
        ++uses[data->ffDodavateleDOD_KOD.AsString()];
    suppliers.Close();
    int doubled = 0;
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        doubled += it.value() - 1;
    EXPECT_EQ(doubled, 0);
    // 600 distinct codes from 000001 to 000600: every number once, none skipped.
    ASSERT_EQ(uses.size(), 2 * kEach);
    EXPECT_EQ(uses.firstKey().toStdString(), "000001");
    EXPECT_EQ(uses.lastKey().toStdString(), QStringLiteral("%1").arg(2 * kEach, 6, 10, QLatin1Char('0')).toStdString());
    data->ffCiselnik.Open();
    data->ffCiselnik.First();
    EXPECT_EQ(data->ffCiselnikCIS_ODB.AsFloat(), 2.0 * kEach);
    data->ffCiselnik.Close();
    std::printf("[figures] %s: 2 stations created %d suppliers, %lld distinct codes, %d given twice (%s; %s)\n",
                storetest::engineName({GetParam(), 0}).c_str(), 2 * kEach, qint64(uses.size()), doubled,
                summary(outA).constData(), summary(outB).constData());
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
    const auto [outA, outB] = runTwo(db->params(), QStringLiteral("10.0.4"), QStringList{QStringLiteral("post"), QString::number(kEach)} + cards);
    const QString expected = QStringLiteral("posted %1 refused 0").arg(kEach);
    EXPECT_EQ(outA.join(u'|').toStdString(), expected.toStdString());   // no message, nothing refused
    EXPECT_EQ(outB.join(u'|').toStdString(), expected.toStdString());

    const Ledger ledger = checkLedger(*data);
    EXPECT_EQ(ledger.journalEntries, 2 * kEach);
    EXPECT_TRUE(ledger.violations.isEmpty()) << ledger.violations.join(u'\n').toStdString();
    std::printf("[figures] %s: 2 stations posted %d lines onto %lld cards\n",
                storetest::engineName({GetParam(), 0}).c_str(), ledger.journalEntries, qint64(cards.size()));
}

// Two stations import a delivery each at once, both over the same cards: every line of
// both is posted, without a message, and the journal agrees with the stock. A station's
// hold on a card ends right after its line's commit; the other, which waited for that
// commit, takes the card then instead of being refused.
TEST_P(StationsTest, TwoStationsImportingOntoTheSameCardsPostEveryLine)
{
    constexpr int kCards = 3;
    constexpr int kLines = 200;
    AppendRow(data->ffCiselnik, {{data->ffCiselnikCIS_POD, "0"}, {data->ffCiselnikCIS_PRD, "0"}});
    QVector<DbfLine> lines;
    for (const char *document : {"AB12", "CD34"})
        for (int i = 0; i < kLines; ++i) {
            const QString card = QStringLiteral("%1").arg(i % kCards + 1, 6, 10, QLatin1Char('0'));
            if (lines.size() < kCards)
                addStockCard(*data, card, 0);
            lines.append({card, QStringLiteral("001"), double(1 + i % 3), QString::fromLatin1(document)});
        }
    QTemporaryDir dir;
    writePodkladyDbf(dir.filePath(QStringLiteral("Pod0000.dbf")), lines);
    auto a = startWorker(db->params(), QStringLiteral("10.0.7.1"), {QStringLiteral("import"), dir.path(), QStringLiteral("AB12")});
    auto b = startWorker(db->params(), QStringLiteral("10.0.7.2"), {QStringLiteral("import"), dir.path(), QStringLiteral("CD34")});
    const QStringList outA = finish(*a, 300000);
    const QStringList outB = finish(*b, 300000);
    const std::string whole = QStringLiteral("ready|imported %1 of %1").arg(kLines).toStdString();
    EXPECT_EQ(outA.join(u'|').toStdString(), whole);   // no message: every line posted
    EXPECT_EQ(outB.join(u'|').toStdString(), whole);

    const Ledger ledger = checkLedger(*data);
    EXPECT_EQ(ledger.journalEntries, 2 * kLines);
    EXPECT_TRUE(ledger.violations.isEmpty()) << ledger.violations.join(u'\n').toStdString();
    std::printf("[figures] %s: 2 stations imported %d lines onto %d cards\n",
                storetest::engineName({GetParam(), 0}).c_str(), ledger.journalEntries, kCards);
}

INSTANTIATE_TEST_SUITE_P(Engines, StationsTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
