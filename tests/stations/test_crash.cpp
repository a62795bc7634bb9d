// Crashes: a station importing a prepared delivery is killed with SIGKILL at random
// points, 200 times on each engine. Afterwards the stock invariants hold; every receipt's
// totals match its posted lines, or fall short by exactly the one line whose receipt write
// the kill cut off and `podklady-db check` lists that receipt; and no hold stays behind:
// every record can be edited, and the station's next complete import removes the lock
// records the killed ones left.

#include "stations_support.h"

#include "podklady_dbf_writer.h"
#include "tool_ini.h"
#include "tool_run.h"

#include "store/tables/tables.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <random>

using storetest::Backend;
using namespace stations;

namespace {

constexpr int kKills = 200;
constexpr int kCards = 6;
constexpr int kLines = 30;
constexpr double kSalePrice = 10;   // SOR_PC1 of every card (addStockCard)

QString cardNumber(int i) { return QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0')); }

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
        for (int i = 0; i < kLines; ++i)
            lines.append({cardNumber(i % kCards), i % 2 ? QStringLiteral("001") : QStringLiteral("002"),
                          double(1 + i % 4), QStringLiteral("AB12")});
        writePodkladyDbf(dir.filePath(QStringLiteral("Pod0000.dbf")), lines);
    }

    // Runs the import as station 10.0.6.1; kills it `killAfterMs` after it is ready, or
    // lets it end when negative. True when it was killed while running.
    bool runImport(int killAfterMs)
    {
        auto station = startWorker(db->params(), QStringLiteral("10.0.6.1"),
                                   {QStringLiteral("import"), dir.path(), QStringLiteral("AB12")});
        QByteArray out;
        while (!out.contains("ready\n") && station->waitForReadyRead(30000))
            out += station->readAllStandardOutput();
        EXPECT_TRUE(out.contains("ready\n")) << out.constData();
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

    // The receipts `podklady-db check` lists as differing from their journal lines; any
    // other line of its output fails the test. Its exit code is 1 when it lists any, else 0.
    QSet<QString> receiptsTheCheckLists()
    {
        const QString ini = dir.filePath(QStringLiteral("Kramora.ini"));
        QFile file(ini);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((QStringLiteral("[Kramora]\r\n") + IniDatabaseKeys(db->params())).toUtf8());
        file.close();
        const ToolRun check = runProgram(QStringLiteral(PODKLADY_DB), {QStringLiteral("check"), QStringLiteral("--ini"), ini});
        QSet<QString> listed;
        const QString prefix = QStringLiteral("Příjemka ");
        for (const QString &line : check.out.split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(QStringLiteral("Vše souhlasí: ")))
                continue;   // the summary when nothing differs
            EXPECT_TRUE(line.startsWith(prefix)) << "podklady-db check: " << line.toStdString();
            listed.insert(line.mid(prefix.size()).section(u'\t', 0, 0));
        }
        EXPECT_EQ(check.exitCode, listed.isEmpty() ? 0 : 1) << check.err.toStdString();
        return listed;
    }

    QTemporaryDir dir;
};

TEST_P(CrashTest, KillsAtRandomPointsLeaveTheLedgerWholeAndNoHoldBehind)
{
    // One import to its end measures how long an import runs; the kills fall within it.
    QElapsedTimer clock;
    clock.start();
    runImport(-1);
    const int importMs = std::max(5, int(clock.elapsed()));
    std::mt19937 random(20261210);
    int killed = 0;
    for (int i = 0; i < kKills; ++i)
        killed += runImport(int(random() % unsigned(importMs)));

    const Ledger ledger = checkLedger(*data);
    EXPECT_TRUE(ledger.violations.isEmpty()) << ledger.violations.join(u'\n').toStdString();

    // Each receipt against its journal lines: equal, or short of exactly its last line and
    // listed by the check.
    std::map<QString, double> posted, lastLine;
    store::Table &den = data->ffDenik;
    den.Open();
    for (den.First(); !den.Eof(); den.Next()) {
        const QString receipt = data->ffDenikDEN_DOK.AsString();
        const double value = data->ffDenikDEN_KUS.AsFloat() * kSalePrice;
        posted[receipt] += value;
        lastLine[receipt] = value;
    }
    den.Close();
    int receipts = 0;
    QSet<QString> shortByOneLine;
    store::Table &prd = data->ffDodavky;
    prd.Open();
    for (prd.First(); !prd.Eof(); prd.Next()) {
        const QString receipt = data->ffDodavkyHLA_DO1.AsString();
        const double total = data->ffDodavkyHLA_PCA.AsFloat();
        ++receipts;
        if (total == posted[receipt])
            continue;
        shortByOneLine.insert(receipt);
        EXPECT_EQ(total + lastLine[receipt], posted[receipt]) << "receipt " << receipt.toStdString();
    }
    prd.Close();
    const QSet<QString> listed = receiptsTheCheckLists();
    EXPECT_EQ(listed, shortByOneLine) << "listed by the check " << QStringList(listed.values()).join(u' ').toStdString()
                                      << "; short " << QStringList(shortByOneLine.values()).join(u' ').toStdString();
    for (const auto &entry : posted)
        EXPECT_FALSE(entry.first.trimmed().isEmpty()) << "a line posted before its receipt was numbered";

    // No hold: every card, variant and receipt can be put into editing from a station of
    // its own.
    auto other = FirmDataModule(db->params(), QStringLiteral("0001"));
    for (store::Table *t : {&other->ffSortiment, &other->ffSklad, &other->ffDodavky, &other->ffCiselnik}) {
        t->Open();
        for (t->First(); !t->Eof(); t->Next()) {
            EXPECT_NO_THROW(t->Edit()) << t->TableName().toStdString();
            t->Cancel();
        }
        t->Close();
    }
    // The lock records the killed imports left belong to their station, which gets them
    // back and removes them with its next complete import.
    runImport(-1);
    store::Table &locks = data->ffSemafor;
    locks.Open();
    EXPECT_EQ(locks.RecordCount(), 0);
    locks.Close();

    const Ledger after = checkLedger(*data);
    EXPECT_TRUE(after.violations.isEmpty()) << after.violations.join(u'\n').toStdString();
    std::printf("[figures] %s: %d kills (%d while importing), %d lines posted into %d receipts checked, "
                "%d receipts short by the line the kill cut off, %d of them listed by podklady-db check\n",
                storetest::engineName({GetParam(), 0}).c_str(), kKills, killed, after.journalEntries, receipts,
                int(shortByOneLine.size()), int(listed.size()));
}

INSTANTIATE_TEST_SUITE_P(Engines, CrashTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
