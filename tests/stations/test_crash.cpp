// Crashes and races of importing stations. A station importing a prepared delivery is
// killed with SIGKILL at a random point, 200 times on each engine, and each killed
// delivery is then imported once more to its end, as a scheduled job that runs again
// would import it. Afterwards the results are exact: no journal line without its receipt,
// no receipt short of a line or without lines, no variant whose stock drifted from its
// journal, every delivery posted exactly once, `podklady-db check` finds nothing, and no
// hold stays behind. Two stations importing the same delivery at the same moment make
// one receipt.

#include "stations_support.h"

#include "podklady_dbf_writer.h"
#include "tool_ini.h"
#include "tool_run.h"

#include "store/tables/tables.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <random>

using storetest::Backend;
using namespace stations;

namespace {

constexpr int kKills = 200;
constexpr int kRaces = 5;
constexpr int kCards = 6;
constexpr int kLines = 30;
constexpr double kSalePrice = 10;   // SOR_PC1 of every card (addStockCard)
constexpr double kStockPrice = 6;   // SKL_SNC of every variant (addStockCard)

QString cardNumber(int i) { return QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0')); }
// The prepared deliveries of the file: P0000 for the measured run, then one per kill,
// then one per race.
QString prepared(int i) { return QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0')); }
constexpr int kDeliveries = 1 + kKills + kRaces;

// What the journal and the receipts hold, delivery by delivery.
struct Receipts {
    int receipts = 0;
    int orphanLines = 0;                   // journal lines whose receipt does not exist
    int shortReceipts = 0;                 // fewer lines than the delivery, or totals that differ
    int emptyReceipts = 0;                 // no line at all
    std::map<QString, int> ofDelivery;     // receipts per prepared delivery (HLA_DO3)
    QStringList faults;                    // which receipt is wrong and how
};

Receipts readReceipts(TData &d)
{
    struct Lines {
        int count = 0;
        double sale = 0, stock = 0;
    };
    std::map<QString, Lines> lines;
    store::Table &den = d.ffDenik;
    den.Open();
    for (den.First(); !den.Eof(); den.Next()) {
        Lines &l = lines[d.ffDenikDEN_DOK.AsString()];
        ++l.count;
        l.sale += d.ffDenikDEN_KUS.AsFloat() * kSalePrice;
        l.stock += d.ffDenikDEN_KUS.AsFloat() * kStockPrice;
    }
    den.Close();
    Receipts out;
    store::Table &prd = d.ffDodavky;
    prd.Open();
    for (prd.First(); !prd.Eof(); prd.Next()) {
        const QString receipt = d.ffDodavkyHLA_DO1.AsString();
        ++out.receipts;
        ++out.ofDelivery[d.ffDodavkyHLA_DO3.AsString()];
        const auto found = lines.find(receipt);
        const Lines l = found == lines.end() ? Lines{} : found->second;
        if (found != lines.end())
            lines.erase(found);
        if (l.count == 0) {
            ++out.emptyReceipts;
            out.faults << QStringLiteral("receipt %1 has no line").arg(receipt);
        } else if (l.count != kLines || d.ffDodavkyHLA_PCA.AsFloat() != l.sale
                   || d.ffDodavkyHLA_NCA.AsFloat() != l.stock) {
            ++out.shortReceipts;
            out.faults << QStringLiteral("receipt %1: %2 lines, totals %3 / %4, lines %5 / %6")
                              .arg(receipt)
                              .arg(l.count)
                              .arg(d.ffDodavkyHLA_PCA.AsFloat())
                              .arg(d.ffDodavkyHLA_NCA.AsFloat())
                              .arg(l.sale)
                              .arg(l.stock);
        }
    }
    prd.Close();
    for (const auto &[receipt, l] : lines) {
        out.orphanLines += l.count;
        out.faults << QStringLiteral("%1 lines of receipt '%2', which does not exist").arg(l.count).arg(receipt);
    }
    return out;
}

class CrashTest : public StationsFixture {
protected:
    void SetUp() override
    {
        StationsFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        AppendRow(data->ffCiselnik, {{data->ffCiselnikCIS_POD, "0"}, {data->ffCiselnikCIS_PRD, "0"}});
        for (int i = 0; i < kCards; ++i)
            addStockCard(*data, cardNumber(i), 0);
        QVector<DbfLine> lines;
        for (int delivery = 0; delivery < kDeliveries; ++delivery)
            for (int i = 0; i < kLines; ++i)
                lines.append({cardNumber(i % kCards), i % 2 ? QStringLiteral("001") : QStringLiteral("002"),
                              double(1 + i % 4), prepared(delivery)});
        writePodkladyDbf(dir.filePath(QStringLiteral("Pod0000.dbf")), lines);
    }

    // Starts an import of the delivery as `station`, each delivery imported once (No to
    // "import again"); returns once the station is ready to import.
    std::unique_ptr<QProcess> startImport(const QString &delivery, const QString &station = QStringLiteral("10.0.6.1"))
    {
        auto worker = startWorker(db->params(), station,
                                  {QStringLiteral("import"), dir.path(), delivery, QStringLiteral("once")});
        QByteArray out;
        while (!out.contains("ready\n") && worker->waitForReadyRead(30000))
            out += worker->readAllStandardOutput();
        EXPECT_TRUE(out.contains("ready\n")) << out.constData();
        return worker;
    }

    // Imports the delivery; kills the station `killAfterMs` after it is ready, or lets it
    // end when negative. True when it was killed while running.
    bool runImport(const QString &delivery, int killAfterMs)
    {
        auto station = startImport(delivery);
        if (killAfterMs < 0) {
            finish(*station);
            return false;
        }
        QThread::msleep(killAfterMs);
        const bool running = station->state() == QProcess::Running;
        station->kill();   // SIGKILL
        EXPECT_TRUE(station->waitForFinished(30000));
        // Ended by the kill, or by itself with success; any other end (a sanitizer's
        // report aborts it) is a failure.
        if (station->exitStatus() == QProcess::CrashExit)
            EXPECT_EQ(station->exitCode(), SIGKILL) << "the station ended by signal " << station->exitCode();
        else
            EXPECT_EQ(station->exitCode(), 0);
        return running;
    }

    // `podklady-db check` on the test's database, with the stations' sale prices kept
    // without VAT (PriceMode 1).
    ToolRun check()
    {
        const QString ini = dir.filePath(QStringLiteral("Kramora.ini"));
        QFile file(ini);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((QStringLiteral("[Kramora]\r\nZakladniCenySDPH=Ne\r\n") + IniDatabaseKeys(db->params())).toUtf8());
        file.close();
        return runProgram(QStringLiteral(PODKLADY_DB), {QStringLiteral("check"), QStringLiteral("--ini"), ini});
    }

    QTemporaryDir dir;
};

TEST_P(CrashTest, KilledImportsLeaveWholeDeliveriesOrNoneAndARerunPostsEachExactlyOnce)
{
    // One import to its end measures how long an import runs; the kills fall within it.
    QElapsedTimer clock;
    clock.start();
    runImport(prepared(0), -1);
    const int importMs = std::max(5, int(clock.elapsed()));
    std::mt19937 random(20261210);
    int killed = 0;
    for (int i = 1; i <= kKills; ++i) {
        killed += runImport(prepared(i), int(random() % unsigned(importMs)));
        // The job runs again: a delivery the kill stopped is posted now, one that was
        // posted before the kill is not posted again.
        runImport(prepared(i), -1);
    }

    const Ledger ledger = checkLedger(*data);
    EXPECT_TRUE(ledger.violations.isEmpty()) << ledger.violations.join(u'\n').toStdString();
    const Receipts receipts = readReceipts(*data);
    EXPECT_EQ(receipts.orphanLines, 0);
    EXPECT_EQ(receipts.shortReceipts, 0);
    EXPECT_EQ(receipts.emptyReceipts, 0);
    EXPECT_TRUE(receipts.faults.isEmpty()) << receipts.faults.join(u'\n').toStdString();
    for (int i = 0; i <= kKills; ++i)
        EXPECT_EQ(receipts.ofDelivery.count(prepared(i)) ? receipts.ofDelivery.at(prepared(i)) : 0, 1)
            << "receipts of " << prepared(i).toStdString();
    EXPECT_EQ(ledger.journalEntries, (kKills + 1) * kLines);

    const ToolRun checked = check();
    EXPECT_EQ(checked.exitCode, 0) << checked.out.toStdString() << checked.err.toStdString();
    EXPECT_TRUE(checked.out.startsWith(QStringLiteral("Vše souhlasí: ")) && checked.out.count(u'\n') == 1)
        << checked.out.toStdString();

    // No hold: every card, variant and receipt can be put into editing from a station of
    // its own, and no lock record stays behind.
    auto other = FirmDataModule(db->params(), QStringLiteral("0001"));
    for (store::Table *t : {&other->ffSortiment, &other->ffSklad, &other->ffDodavky, &other->ffCiselnik}) {
        t->Open();
        for (t->First(); !t->Eof(); t->Next()) {
            EXPECT_NO_THROW(t->Edit()) << t->TableName().toStdString();
            t->Cancel();
        }
        t->Close();
    }
    store::Table &locks = data->ffSemafor;
    locks.Open();
    EXPECT_EQ(locks.RecordCount(), 0);
    locks.Close();

    std::printf("[figures] %s: %d kills (%d while importing), each delivery run again; %d lines in %d receipts: "
                "%d orphan lines, %d short receipts, %d empty receipts, %d drifted variants; %d deliveries "
                "posted more than once\n",
                storetest::engineName({GetParam(), 0}).c_str(), kKills, killed, ledger.journalEntries,
                receipts.receipts, receipts.orphanLines, receipts.shortReceipts, receipts.emptyReceipts,
                int(ledger.violations.size()),
                int(std::count_if(receipts.ofDelivery.begin(), receipts.ofDelivery.end(),
                                  [](const auto &e) { return e.second > 1; })));
}

// Two stations import the same prepared delivery at the same moment, neither told to
// import it again: the goods are received once.
TEST_P(CrashTest, TwoImportsOfOneDeliveryStartedAtOnceMakeOneReceipt)
{
    for (int race = 0; race < kRaces; ++race) {
        const QString delivery = prepared(1 + kKills + race);
        auto first = startImport(delivery, QStringLiteral("10.0.6.1"));
        auto second = startImport(delivery, QStringLiteral("10.0.6.2"));
        const QStringList out = finish(*first) + finish(*second);
        EXPECT_EQ(out.filter(QStringLiteral("imported %1 of %1").arg(kLines)).size(), 1) << out.join(u'\n').toStdString();
    }
    const Receipts receipts = readReceipts(*data);
    EXPECT_TRUE(receipts.faults.isEmpty()) << receipts.faults.join(u'\n').toStdString();
    EXPECT_EQ(receipts.receipts, kRaces);
    for (const auto &[delivery, count] : receipts.ofDelivery)
        EXPECT_EQ(count, 1) << delivery.toStdString();
    EXPECT_TRUE(checkLedger(*data).violations.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, CrashTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
