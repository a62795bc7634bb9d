#pragma once
// Stations as processes on one test database: the worker program started with a target
// and an address, its output read back, and the stock invariants checked afterwards.

#include "firm_tables.h"
#include "recordingprompter.h"
#include "station_target.h"
#include "store_test_support.h"

#include "store/tdata.h"

#include <QProcess>
#include <QStringList>
#include <map>
#include <memory>

namespace stations {

// Starts the worker as station `address`; its output is read with finish().
inline std::unique_ptr<QProcess> startWorker(const store::ConnectionParams &p, const QString &address,
                                             const QStringList &args)
{
    auto proc = std::make_unique<QProcess>();
    proc->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    proc->start(QStringLiteral(STATION_WORKER), QStringList{StationTarget(p), address} + args);
    return proc;
}

// Waits for the worker (at most timeoutMs) and gives its output lines; fails the test when
// it did not end by itself with 0.
inline QStringList finish(QProcess &proc, int timeoutMs = 120000)
{
    const bool ended = proc.waitForFinished(timeoutMs);
    EXPECT_TRUE(ended) << "worker did not end in time";
    if (!ended) {
        proc.kill();
        proc.waitForFinished(5000);
    }
    EXPECT_EQ(proc.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(proc.exitCode(), 0);
    return QString::fromUtf8(proc.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// A stock card that keeps stock, with variants "001" and "002" at their opening stock.
inline void addStockCard(TData &d, const QString &card, double opening)
{
    AppendRow(d.ffSortiment, {{d.ffSortimentSOR_KAV, card},
                              {d.ffSortimentSOR_NAC, QStringLiteral("Karta ") + card},
                              {d.ffSortimentSOR_PC1, 10.0},
                              {d.ffSortimentSOR_DAN, 21.0},
                              {d.ffSortimentSOR_SKL, true},
                              {d.ffSortimentSOR_STA, 2 * opening}});
    for (const char *variant : {"001", "002"})
        AppendRow(d.ffSklad, {{d.ffSkladSKL_KAV, card}, {d.ffSkladSKL_IND, variant},
                              {d.ffSkladSKL_POC, opening},
                              {d.ffSkladSKL_STA, opening}, {d.ffSkladSKL_SNC, 6.0}});
}

struct Ledger {
    int journalEntries = 0;
    QStringList violations;   // empty when the invariants hold
};

// The stock invariants, read through the data module: every variant's stock is its
// opening stock plus its journal's quantities and equals the running stock of its newest
// entry (when it has one); every card's stock is the sum of its variants.
inline Ledger checkLedger(TData &d)
{
    Ledger out;
    std::map<QString, double> journalSum;
    std::map<QString, std::pair<qint64, double>> newest;   // by record id
    store::Table &den = d.ffDenik;
    den.Open();
    for (den.First(); !den.Eof(); den.Next()) {
        const QString key = d.ffDenikDEN_KAV.AsString() + u'/' + d.ffDenikDEN_IND.AsString();
        journalSum[key] += d.ffDenikDEN_KUS.AsFloat();
        const qint64 id = den.GetBookmark().id;
        if (newest[key].first < id)
            newest[key] = {id, d.ffDenikDEN_ZAS.AsFloat()};
        ++out.journalEntries;
    }
    den.Close();
    std::map<QString, double> cardSum;
    store::Table &skl = d.ffSklad;
    skl.Open();
    for (skl.First(); !skl.Eof(); skl.Next()) {
        const QString card = d.ffSkladSKL_KAV.AsString();
        const QString key = card + u'/' + d.ffSkladSKL_IND.AsString();
        const double stock = d.ffSkladSKL_STA.AsFloat();
        const double expected = d.ffSkladSKL_POC.AsFloat() + journalSum[key];
        if (stock != expected)
            out.violations << QStringLiteral("%1: stock %2, opening + journal %3").arg(key).arg(stock).arg(expected);
        if (newest.count(key) && newest[key].second != stock)
            out.violations << QStringLiteral("%1: stock %2, newest running stock %3").arg(key).arg(stock).arg(newest[key].second);
        cardSum[card] += stock;
    }
    skl.Close();
    store::Table &sor = d.ffSortiment;
    sor.Open();
    for (sor.First(); !sor.Eof(); sor.Next()) {
        const QString card = d.ffSortimentSOR_KAV.AsString();
        const double stock = d.ffSortimentSOR_STA.AsFloat();
        if (d.ffSortimentSOR_SKL.AsBoolean() && stock != cardSum[card])
            out.violations << QStringLiteral("%1: card %2, variants %3").arg(card).arg(stock).arg(cardSum[card]);
    }
    sor.Close();
    return out;
}

// A test on a fresh firm 0001 of each engine, for stations started as processes. On
// PostgreSQL it runs on the durable test server (storetest::useDurableServer).
class StationsFixture : public testing::TestWithParam<storetest::Backend> {
protected:
    void SetUp() override
    {
        storetest::useDurableServer();
        STORETEST_REQUIRE_ENGINE(GetParam());
        db = std::make_unique<storetest::TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0001"));
        FreshFirmSchema(data->Database, data->FirmNumber);
    }

    std::unique_ptr<storetest::TestDatabase> db;
    std::unique_ptr<TData> data;
    RecordingPrompter messages;
};

} // namespace stations
