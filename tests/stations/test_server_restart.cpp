// The PostgreSQL server going away under a station and coming back: the message carries
// the server's own text, the next command reconnects (tables re-opened, the record in
// editing cancelled) and says so once, and postings and batch imports interrupted by the
// loss leave nothing half done. The server is a throwaway cluster of this test program's own, on a free
// port, so that no other test loses its connection.

#include "stations_support.h"
#include "throwaway_cluster.h"

#include "podklady_dbf_writer.h"
#include "recordingprompter.h"
#include "tool_ini.h"

#include "core/errors.h"
#include "store/tables/index_names.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace ix = store::tables::index;

using namespace stations;

namespace {

class ServerRestartTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        cluster = new ThrowawayCluster(QStringLiteral(PG_TEST_CLUSTER));
        started = cluster->run(QStringLiteral("start"));
    }
    static void TearDownTestSuite()
    {
        delete cluster;
        cluster = nullptr;
    }
    void SetUp() override
    {
        if (!started) {
            if (qEnvironmentVariable("CI") == QLatin1String("true"))
                FAIL() << "the throwaway PostgreSQL server could not be started";
            GTEST_SKIP() << "the throwaway PostgreSQL server could not be started";
        }
        ASSERT_TRUE(cluster->run(QStringLiteral("start")));
        data = FirmDataModule(cluster->params(), QStringLiteral("0001"));
        data->LocalAddress = QStringLiteral("10.0.5.1");
        data->ServerName = QStringLiteral("SKLAD");
        data->Host = QStringLiteral("127.0.0.1");
        FreshFirmSchema(data->Database, data->FirmNumber);
    }

    static ThrowawayCluster *cluster;
    static bool started;
    std::unique_ptr<TData> data;
    RecordingPrompter messages;
};

ThrowawayCluster *ServerRestartTest::cluster = nullptr;
bool ServerRestartTest::started = false;

TEST_F(ServerRestartTest, TheNextCommandReconnectsAndSaysSoOnce)
{
    for (const char *number : {"0000000001", "0000000002", "0000000003"})
        AppendRow(data->ffPodklHlav, {{data->ffPodklHlavHLA_DO1, number},
                                      {data->ffPodklHlavHLA_ODB, "000001"}});
    store::Table &headers = data->ffPodklHlav;
    headers.Open();
    headers.SetIndexName(ix::ffPodklHlav::DO1);
    ASSERT_TRUE(headers.FindKey({QStringLiteral("0000000002")}));
    headers.Edit();
    data->ffPodklHlavHLA_ODB.SetAsString(QStringLiteral("000009"));

    ASSERT_TRUE(cluster->run(QStringLiteral("halt")));
    // Writing, and opening a table not opened before: the message says what happened.
    for (const auto &step : std::initializer_list<std::function<void()>>{
             [&] { headers.Post(); }, [&] { data->ffDodavatele.Open(); }}) {
        try {
            step();
            ADD_FAILURE() << "no error with the server stopped";
        } catch (const StoreError &e) {
            const QString reason = e.text().section(QStringLiteral(": "), 1).trimmed();
            EXPECT_FALSE(reason.isEmpty()) << e.text().toStdString();
            std::printf("[figures] message with the server stopped: %s\n", e.text().toUtf8().constData());
        }
    }
    EXPECT_TRUE(data->Database.ConnectionLost());
    EXPECT_FALSE(data->RestoreConnection());   // still away: said so, with the engine's text
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith(QStringLiteral("Databázový server SKLAD@127.0.0.1 není dostupný: ")))
        << messages.messages[0].toStdString();
    messages.messages.clear();

    ASSERT_TRUE(cluster->run(QStringLiteral("start")));
    EXPECT_TRUE(data->RestoreConnection());
    EXPECT_EQ(messages.messages, QStringList{QStringLiteral("Spojení s databázovým serverem SKLAD@127.0.0.1 bylo obnoveno")});
    EXPECT_TRUE(data->RestoreConnection());   // once: nothing more to restore
    EXPECT_EQ(messages.messages.size(), 1);

    // The table is open again on its index and record; the edit was cancelled, and the
    // record is free to be edited again.
    EXPECT_TRUE(headers.Active());
    EXPECT_EQ(headers.IndexName(), ix::ffPodklHlav::DO1);
    EXPECT_EQ(headers.State(), store::DataSetState::Browse);
    EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000002"));
    EXPECT_EQ(data->ffPodklHlavHLA_ODB.AsString(), QStringLiteral("000001"));
    headers.Edit();
    data->ffPodklHlavHLA_ODB.SetAsString(QStringLiteral("000007"));
    headers.Post();
    headers.Next();
    EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000003"));
    headers.Close();
}

// A command that took a lock and lost the server before it could remove it: the next
// command's reconnection removes it, so that no other station is refused the document
// for ever.
TEST_F(ServerRestartTest, ALockTheServerTookAwayIsRemovedOnReconnection)
{
    ASSERT_TRUE(data->LockRecord(QStringLiteral("POD"), QStringLiteral("0000000007")));
    ASSERT_TRUE(data->LockRecord(QStringLiteral("SOR"), QStringLiteral("000003")));
    ASSERT_TRUE(cluster->run(QStringLiteral("halt")));
    EXPECT_THROW(data->UnlockRecord(QStringLiteral("SOR"), QStringLiteral("000003")), StoreError);
    EXPECT_THROW(data->UnlockRecord(QStringLiteral("POD"), QStringLiteral("0000000007")), StoreError);
    EXPECT_THROW(data->UnlockRecord(QStringLiteral("POD"), QStringLiteral("0000000007")), StoreError);
    EXPECT_FALSE(data->RestoreConnection());   // still away: they stay remembered
    ASSERT_TRUE(cluster->run(QStringLiteral("start")));
    EXPECT_TRUE(data->RestoreConnection());

    auto other = FirmDataModule(cluster->params(), QStringLiteral("0001"));
    other->LocalAddress = QStringLiteral("10.0.5.9");
    store::Table &locks = other->ffSemafor;
    locks.Open();
    EXPECT_EQ(locks.RecordCount(), 0);
    locks.Close();
    EXPECT_TRUE(other->LockRecord(QStringLiteral("POD"), QStringLiteral("0000000007")));
}

// A station's process posts every 50 ms while the server stops and starts under it: the
// next command after the restart reconnects, every posting that reported success is in
// the journal, and the interrupted ones left nothing half written.
TEST_F(ServerRestartTest, AStationsPostingsSurviveTheServerStoppingUnderIt)
{
    addStockCard(*data, QStringLiteral("000001"), 0);
    auto station = startWorker(cluster->params(), QStringLiteral("10.0.5.2"), {QStringLiteral("commands"), QStringLiteral("6")});
    ASSERT_TRUE(station->waitForStarted(10000));
    QThread::msleep(1500);
    ASSERT_TRUE(cluster->run(QStringLiteral("halt")));
    QThread::msleep(1000);
    ASSERT_TRUE(cluster->run(QStringLiteral("start")));
    const QStringList out = finish(*station, 60000);

    const int restored = int(out.filter(QStringLiteral("message: Spojení s databázovým serverem")).size());
    EXPECT_EQ(restored, 1) << out.join(u'\n').toStdString();
    const QString summary = out.value(out.size() - 1);
    ASSERT_TRUE(summary.startsWith(QStringLiteral("posted "))) << summary.toStdString();
    const int posted = summary.section(u' ', 1, 1).toInt();
    const int refused = summary.section(u' ', 3, 3).toInt();
    EXPECT_GT(posted, 0);

    data = FirmDataModule(cluster->params(), QStringLiteral("0001"));
    const Ledger ledger = checkLedger(*data);
    EXPECT_EQ(ledger.journalEntries, posted);
    EXPECT_TRUE(ledger.violations.isEmpty()) << ledger.violations.join(u'\n').toStdString();
    std::printf("[figures] server stopped for 1 s under a station: %d postings, %d refused while it was away, "
                "%d reconnection message\n",
                posted, refused, restored);
}

// `podklady-db import` of a long delivery while the server stops and starts under it:
// the delivery is posted whole (the import restores the connection and runs it again),
// or the run ends non-zero with nothing of it posted; never a part of it, and never a
// success that did not post every line.
TEST_F(ServerRestartTest, ABatchImportUnderAServerRestartPostsTheDeliveryWholeOrNotAtAll)
{
    constexpr int kCards = 100;
    constexpr int kLines = 4000;
    AppendRow(data->ffCiselnik, {{data->ffCiselnikCIS_POD, "0"}, {data->ffCiselnikCIS_PRD, "0"}});
    AppendRow(data->ffDodavatele, {{data->ffDodavateleDOD_KOD, "000001"}, {data->ffDodavateleDOD_FIR, "Dodavatel"}});
    for (int i = 1; i <= kCards; ++i)
        addStockCard(*data, QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')), 0);
    QTemporaryDir dir;
    QVector<DbfLine> lines;
    for (int i = 0; i < kLines; ++i)
        lines.append({QStringLiteral("%1").arg(1 + i % kCards, 6, 10, QLatin1Char('0')), QStringLiteral("001"), 1,
                      QStringLiteral("VELKA")});
    writePodkladyDbf(dir.filePath(QStringLiteral("Pod0000.dbf")), lines);
    const QString ini = dir.filePath(QStringLiteral("Kramora.ini"));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((QStringLiteral("[Kramora]\r\nCestaImport=%1/\r\n").arg(dir.path()) + IniDatabaseKeys(cluster->params()))
                   .toUtf8());
    file.close();

    QProcess import;
    import.start(QStringLiteral(PODKLADY_DB), {QStringLiteral("import"), QStringLiteral("--prepared"), QStringLiteral("VELKA"),
                                               QStringLiteral("--supplier"), QStringLiteral("1"), QStringLiteral("--ini"), ini});
    ASSERT_TRUE(import.waitForStarted(10000));
    QThread::msleep(700);
    ASSERT_TRUE(cluster->run(QStringLiteral("halt")));
    const bool runningAtHalt = import.state() == QProcess::Running;
    QThread::msleep(1000);
    ASSERT_TRUE(cluster->run(QStringLiteral("start")));
    ASSERT_TRUE(import.waitForFinished(180000));
    ASSERT_EQ(import.exitStatus(), QProcess::NormalExit);
    const QString out = QString::fromUtf8(import.readAllStandardOutput());
    const QString err = QString::fromUtf8(import.readAllStandardError());

    data = FirmDataModule(cluster->params(), QStringLiteral("0001"));
    const Ledger ledger = checkLedger(*data);
    EXPECT_TRUE(ledger.violations.isEmpty()) << ledger.violations.join(u'\n').toStdString();
    store::Table &receipts = data->ffDodavky;
    receipts.Open();
    const qint64 receiptCount = receipts.RecordCount();
    receipts.Close();
    if (import.exitCode() == 0) {
        EXPECT_EQ(ledger.journalEntries, kLines);
        EXPECT_EQ(receiptCount, 1);
        EXPECT_TRUE(out.contains(QStringLiteral(": %1 z %1 řádků").arg(kLines))) << out.right(200).toStdString();
    } else {
        EXPECT_EQ(ledger.journalEntries, 0) << err.toStdString();
        EXPECT_EQ(receiptCount, 0);
    }
    std::printf("[figures] server stopped for 1 s under a batch import of %d lines (%s at the stop): exit %d, "
                "%d lines posted in %lld receipts\n",
                kLines, runningAtHalt ? "running" : "already ended", import.exitCode(), ledger.journalEntries,
                receiptCount);
}

} // namespace
