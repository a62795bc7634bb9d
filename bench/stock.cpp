// bench_stock [--pg CONNINFO] [--lines N] [--entries M] [--rounds R]: the stock operations
// on SQLite (a file in a temporary directory) and, with --pg, on PostgreSQL (a database
// created for the run on that server and dropped afterwards). The durability each engine
// runs with is printed beside its figures (PostgreSQL: fsync and synchronous_commit of
// the server; SQLite: the synchronous setting of the connection). Two figures:
//   import  — a prepared delivery of N lines (5,000 by default) imported into a new
//             receipt as the editor's F9 does it: the import file read, the receipt
//             numbered, and in one transaction for the delivery, for every line the card,
//             the variant and the card lock read, the movement posted, and the receipt
//             written. In lines per second, beside the raw engine doing the same work in
//             the same transactions (prepared sqlite3_* / PQexecPrepared): the counter
//             updated, then in one transaction the cards serialized on (PostgreSQL), and per
//             line the lock row, the card, the variant and the newest journal entry read,
//             the journal entry inserted and the variant and the card updated, and the
//             receipt inserted. On PostgreSQL also the round trips to the server per line.
//   rebuild — the rebuild of a card whose variant has M journal entries (1,000 by
//             default) and whose stock is out of step with them, beside the raw
//             statements doing the same reads and writes in one transaction: the card and
//             its variants read, the variant's entries summed, the variant and the card
//             written. On PostgreSQL also the round trips of the rebuild.
// Each figure is the median of R rounds (each import round a prepared document of its
// own onto the same cards), with the smallest and the largest. The tables are analysed
// after each load; on PostgreSQL also vacuumed, and a checkpoint taken, so that no round
// pays for the load before it. On PostgreSQL this process and the server's processes
// for the run are then put on one processor, as in the other benchmarks.
// Targets, with durable commits: at least 20,000 lines/s on SQLite and 2,000 lines/s on
// PostgreSQL over loopback; the rebuild at most 1.5 × the raw statements.

#include "podklady_dbf_writer.h"
#include "server_settings.h"
#include "store_raw.h"
#include "throwaway_pg.h"

#include "core/prompter.h"
#include "import/batch_screens.h"
#include "import/data_import.h"
#include "import/stock_rebuild.h"
#include "store/firmschema.h"
#include "store/tdata.h"
#include "timing.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace {

using bench::millis;

const QString kPrepared = QStringLiteral("BENCH");
const QString kRebuildCard = QStringLiteral("900000");
// The opening stock of the rebuild's variant and the stock the rebuild sets: the opening
// stock plus the journal's quantities (1 to 5 in turn, loadJournal).
constexpr double kRebuildOpening = 7;
double rebuildStock(qint64 entries)
{
    double sum = kRebuildOpening;
    for (qint64 i = 0; i < entries; ++i)
        sum += double(i % 5 + 1);
    return sum;
}

// Any message of the import is a fault of the benchmark's data: counted and shown once.
class CountingPrompter final : public Prompter {
public:
    CountingPrompter() { setPrompter(this); }
    ~CountingPrompter() override { setPrompter(nullptr); }
    void ShowMessage(const QString &text) override
    {
        if (messages++ == 0)
            std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    }
    bool Confirm(const QString &text) override
    {
        ShowMessage(text);
        return false;
    }
    int messages = 0;
};

// The rounds of one figure.
struct Rounds {
    std::vector<double> values;
    double median() const { return bench::median(values); }
    double min() const { return *std::min_element(values.begin(), values.end()); }
    double max() const { return *std::max_element(values.begin(), values.end()); }
};

struct Figures {
    int lines = 0;
    Rounds importLinesPerSec, rawLinesPerSec;
    double roundTripsPerLine = 0;  // of the import's last round; 0 without a server
    int pinnedServers = 0;         // server processes put on this process's processor
    qint64 entries = 0;
    Rounds rebuildMs, rawRebuildMs;
    double rebuildRoundTrips = 0;  // of the last rebuild; 0 without a server
    QString durability;
};

QString card(int i) { return QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')); }

// N stock cards with one variant "001" each, a supplier and the receipt counter; the
// card of the rebuild with one variant.
void fillMasterData(TData &data, int lines)
{
    data.Database.StartTransaction();
    store::Table &cis = data.ffCiselnik;
    cis.Open();
    cis.Append();
    data.ffCiselnikCIS_PRD.SetAsString(QStringLiteral("0"));
    cis.Post();
    cis.Close();
    store::Table &sor = data.ffSortiment, &skl = data.ffSklad;
    sor.Open();
    skl.Open();
    for (int i = 1; i <= lines; ++i) {
        sor.Append();
        data.ffSortimentSOR_KAV.SetAsString(card(i));
        data.ffSortimentSOR_NAC.SetAsString(QStringLiteral("Položka %1").arg(i));
        data.ffSortimentSOR_PC1.SetAsFloat(10 + i % 90 + 0.1);
        data.ffSortimentSOR_DAN.SetAsFloat(21);
        data.ffSortimentSOR_SKL.SetAsBoolean(true);
        sor.Post();
        skl.Append();
        data.ffSkladSKL_KAV.SetAsString(card(i));
        data.ffSkladSKL_IND.SetAsString(QStringLiteral("001"));
        data.ffSkladSKL_SNC.SetAsFloat(5 + i % 50 + 0.25);
        skl.Post();
    }
    sor.Append();
    data.ffSortimentSOR_KAV.SetAsString(kRebuildCard);
    data.ffSortimentSOR_NAC.SetAsString(QStringLiteral("Karta s dlouhým deníkem"));
    data.ffSortimentSOR_SKL.SetAsBoolean(true);
    sor.Post();
    skl.Append();
    data.ffSkladSKL_KAV.SetAsString(kRebuildCard);
    data.ffSkladSKL_IND.SetAsString(QStringLiteral("001"));
    data.ffSkladSKL_POC.SetAsFloat(kRebuildOpening);
    skl.Post();
    sor.Close();
    skl.Close();
    data.Database.Commit();
}

// The store's import of the prepared delivery `prepared`; lines per second, and the
// requests it sent to the server per line.
double storeImport(TData &data, const QString &importDir, int lines, const QString &prepared,
                   double &roundTripsPerLine)
{
    QVector<DbfLine> file;
    for (int i = 1; i <= lines; ++i)
        file.append({card(i), QStringLiteral("01"), double(i % 7 + 1), prepared});
    writePodkladyDbf(importDir + QStringLiteral("Pod0000.dbf"), file, 0x64, 0, false, 2);
    data.ImportPath = importDir;
    BatchImportScreens screens(prepared);
    CountingPrompter prompts;
    ReceiptSource source{QStringLiteral("000001"), QStringLiteral("Dodavatel"), QDate::currentDate(),
                         QStringLiteral("FA-1"), 100};
    int posted = 0;
    const quint64 roundTrips = data.Database.RoundTrips();
    const double ms = millis([&] {
        for (const ImportedLine &l : TDataImport().ImportIntoReceipt(source))
            posted += l.posted ? 1 : 0;
    });
    if (posted != lines || prompts.messages != 0)
        throw std::runtime_error("the import did not post every line");
    roundTripsPerLine = double(data.Database.RoundTrips() - roundTrips) / lines;
    return lines / (ms / 1000);
}

// The raw engine's statements for the same lines, posted again onto the same cards: the
// same work in the same transactions.
double rawImport(TData &data, bench::RawEngine &raw, bool postgres, int lines)
{
    const auto p = [postgres](int n) { return (postgres ? QStringLiteral("$") : QStringLiteral("?")) + QString::number(n); };
    const QString sem = data.ffSemafor.TableName(), sor = data.ffSortiment.TableName(),
                  skl = data.ffSklad.TableName(), den = data.ffDenik.TableName(), prd = data.ffDodavky.TableName(),
                  cis = data.ffCiselnik.TableName();
    const QString takeNumber = QStringLiteral("UPDATE \"%1\" SET \"CIS_PRD\" = \"CIS_PRD\" || '1'").arg(cis);
    const QString serialize = QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(%1))").arg(p(1));
    const QString readLock = QStringLiteral("SELECT \"SYS_IDU\", \"SYS_USR\", \"SYS_DAT\" FROM \"%1\" "
                                            "WHERE \"SYS_TAB__U\" = 'SOR' AND \"SYS_KLI__U\" = %2")
                                 .arg(sem, p(1));
    const QString readCard = QStringLiteral("SELECT \"SOR_KAV\", \"SOR_NAC\", \"SOR_PC1\", \"SOR_DAN\", \"SOR_SKL\", "
                                            "\"SOR_STA\", \"ID_\" FROM \"%1\" WHERE \"SOR_KAV\" = %2")
                                 .arg(sor, p(1));
    const QString readVariant = QStringLiteral("SELECT \"SKL_IND\", \"SKL_SNC\", \"SKL_STA\", \"ID_\" FROM \"%1\" "
                                               "WHERE \"SKL_KAV\" = %2 AND \"SKL_IND\" = %3")
                                    .arg(skl, p(1), p(2));
    const QString readLast = QStringLiteral("SELECT \"DEN_ZAS\" FROM \"%1\" WHERE \"DEN_KAV\" = %2 AND \"DEN_IND\" = %3 "
                                            "ORDER BY \"DEN_RAD\" DESC LIMIT 1")
                                 .arg(den, p(1), p(2));
    const QString writeEntry = QStringLiteral(
        "INSERT INTO \"%1\" (\"DEN_DAT\", \"DEN_KDY\", \"DEN_KAV\", \"DEN_IND\", \"DEN_OPE\", \"DEN_KUS\", "
        "\"DEN_HPC\", \"DEN_HNC\", \"DEN_DOK\", \"DEN_DAN\", \"DEN_ZAS\", \"DEN_REF\") "
        "VALUES (%2, %3, %4, '001', '001', %5, %6, %7, '0000000099', 21, %8, 'BN')")
                                   .arg(den, p(1), p(2), p(3), p(4), p(5), p(6), p(7));
    const QString writeVariant = QStringLiteral("UPDATE \"%1\" SET \"SKL_STA\" = \"SKL_STA\" + %2 "
                                                "WHERE \"SKL_KAV\" = %3 AND \"SKL_IND\" = '001'")
                                     .arg(skl, p(1), p(2));
    const QString writeCard = QStringLiteral("UPDATE \"%1\" SET \"SOR_STA\" = \"SOR_STA\" + %2, \"SOR_PPO\" = %3 "
                                             "WHERE \"SOR_KAV\" = %4")
                                  .arg(sor, p(1), p(2), p(3));
    const QString writeReceipt = QStringLiteral("INSERT INTO \"%1\" (\"HLA_DAT\", \"HLA_DO1\", \"HLA_ODB\", \"HLA_PCA\", "
                                                "\"HLA_NCA\") VALUES (%2, '0000000099', '000001', %3, %4)")
                                     .arg(prd, p(1), p(2), p(3));
    using bench::Col;
    const QDate today = QDate::currentDate();
    return lines / (millis([&] {
               raw.run(takeNumber, {}, {});
               raw.exec(QStringLiteral("BEGIN"));
               if (postgres)
                   for (int i = 1; i <= lines; ++i)
                       raw.run(serialize, {card(i)}, {Col::Text});
               double sale = 0, stock = 0;
               for (int i = 1; i <= lines; ++i) {
                   const QString c = card(i);
                   const double quantity = i % 7 + 1;
                   raw.run(readLock, {c}, {Col::Text, Col::Text, Col::Text});
                   raw.run(readCard, {c}, {Col::Text, Col::Text, Col::Real, Col::Real, Col::Int, Col::Real, Col::Int});
                   raw.run(readVariant, {c, QStringLiteral("001")}, {Col::Text, Col::Real, Col::Real, Col::Int});
                   raw.run(readLast, {c, QStringLiteral("001")}, {Col::Real});
                   raw.run(writeEntry, {today, QTime::currentTime().toString(QStringLiteral("hh:mm:ss")), c, quantity,
                                        quantity * 10.1, quantity * 5.25, quantity},
                           {});
                   raw.run(writeVariant, {quantity, c}, {});
                   raw.run(writeCard, {quantity, today, c}, {});
                   sale += quantity * 10.1;
                   stock += quantity * 5.25;
               }
               raw.run(writeReceipt, {today, sale, stock}, {});
               raw.exec(QStringLiteral("COMMIT"));
           })
                    / 1000);
}

// The raw statements of a rebuild of the card: the card and its variants read, each
// variant's entries summed, the variant and the card written with `stock`, in one
// transaction.
void rawRebuild(TData &data, bench::RawEngine &raw, bool postgres, double stock)
{
    const auto p = [postgres](int n) { return (postgres ? QStringLiteral("$") : QStringLiteral("?")) + QString::number(n); };
    const QString sor = data.ffSortiment.TableName(), skl = data.ffSklad.TableName(), den = data.ffDenik.TableName();
    using bench::Col;
    raw.exec(QStringLiteral("BEGIN"));
    raw.run(QStringLiteral("SELECT \"SOR_KAV\", \"SOR_NAC\", \"SOR_SKL\", \"SOR_STA\", \"ID_\" FROM \"%1\" "
                           "WHERE \"SOR_KAV\" = %2").arg(sor, p(1)),
            {kRebuildCard}, {Col::Text, Col::Text, Col::Int, Col::Real, Col::Int});
    raw.run(QStringLiteral("SELECT \"SKL_IND\", \"SKL_POC\", \"SKL_STA\", \"ID_\" FROM \"%1\" WHERE \"SKL_KAV\" = %2 "
                           "AND \"SKL_IND\" BETWEEN '000' AND '999' ORDER BY \"SKL_IND\"").arg(skl, p(1)),
            {kRebuildCard}, {Col::Text, Col::Real, Col::Real, Col::Int});
    raw.run(QStringLiteral("SELECT sum(\"DEN_KUS\") FROM \"%1\" WHERE \"DEN_KAV\" = %2 AND \"DEN_IND\" = %3").arg(den, p(1), p(2)),
            {kRebuildCard, QStringLiteral("001")}, {Col::Real});
    raw.run(QStringLiteral("UPDATE \"%1\" SET \"SKL_STA\" = %2 WHERE \"SKL_KAV\" = %3 AND \"SKL_IND\" = '001'").arg(skl, p(1), p(2)),
            {stock, kRebuildCard}, {});
    raw.run(QStringLiteral("UPDATE \"%1\" SET \"SOR_STA\" = %2 WHERE \"SOR_KAV\" = %3").arg(sor, p(1), p(2)),
            {stock, kRebuildCard}, {});
    raw.exec(QStringLiteral("COMMIT"));
}

// Puts the rebuild's variant and card out of step with the journal, so that every rebuild
// writes them.
void unsettleRebuildCard(TData &data, bench::RawEngine &raw, bool postgres)
{
    const QString q = postgres ? QStringLiteral("$1") : QStringLiteral("?1");
    raw.run(QStringLiteral("UPDATE \"%1\" SET \"SKL_STA\" = -1 WHERE \"SKL_KAV\" = %2").arg(data.ffSklad.TableName(), q),
            {kRebuildCard}, {});
    raw.run(QStringLiteral("UPDATE \"%1\" SET \"SOR_STA\" = -1 WHERE \"SOR_KAV\" = %2").arg(data.ffSortiment.TableName(), q),
            {kRebuildCard}, {});
}

// How durable the SQLite file's commits are, as the raw connection says it.
QString sqliteDurability(bench::RawEngine &raw)
{
    const auto show = [&](const char *sql) {
        bench::RawEngine::Keep keep{0, {0}, {}};
        raw.run(QString::fromLatin1(sql), {}, {bench::Col::Text}, &keep);
        return keep.values.value(0).toString();
    };
    static const char *const kLevels[] = {"OFF", "NORMAL", "FULL", "EXTRA"};
    return QStringLiteral("synchronous=%1 journal_mode=%2")
        .arg(QString::fromLatin1(kLevels[std::clamp(show("PRAGMA synchronous").toInt(), 0, 3)]),
             show("PRAGMA journal_mode"));
}

// The journal of the rebuild's card: M entries of its variant, loaded raw.
void loadJournal(TData &data, bench::RawEngine &raw, qint64 entries)
{
    raw.load(data.ffDenik.TableName(), {"DEN_KAV", "DEN_IND", "DEN_OPE", "DEN_DOK", "DEN_KUS", "DEN_ZAS"}, entries,
             [](qint64 i, QVariantList &v) {
                 v = {kRebuildCard, QStringLiteral("001"), QStringLiteral("001"), QStringLiteral("%1").arg(i / 10, 10, 10, QLatin1Char('0')),
                      double(i % 5 + 1), 0.0};
             });
}

Figures measure(TData &data, bench::RawEngine &raw, bool postgres, const QString &importDir, int lines,
                qint64 entries, int rounds)
{
    data.FirmNumber = QStringLiteral("0001");
    data.SetTableNames();
    CreateFirmSchema(data.Database, data.FirmNumber, true);
    fillMasterData(data, lines);
    bench::settle(raw, postgres);
    Figures f;
    // Which processor the server's processes land on would decide the figure otherwise.
    if (postgres)
        f.pinnedServers = bench::pinBesideServer(raw);
    f.lines = lines;
    f.entries = entries;
    for (int r = 0; r < rounds; ++r)
        f.importLinesPerSec.values.push_back(
            storeImport(data, importDir, lines, kPrepared + QString::number(r + 1), f.roundTripsPerLine));
    // The raw statements write journal entries that do not carry the running stock: the
    // store's rounds come first.
    for (int r = 0; r < rounds; ++r)
        f.rawLinesPerSec.values.push_back(rawImport(data, raw, postgres, lines));

    loadJournal(data, raw, entries);
    bench::settle(raw, postgres);
    for (int r = 0; r < rounds; ++r) {
        unsettleRebuildCard(data, raw, postgres);
        const quint64 roundTrips = data.Database.RoundTrips();
        f.rebuildMs.values.push_back(millis([&] {
            if (!RekonstrukceKarty(data, kRebuildCard))
                throw std::runtime_error("the rebuild failed");
        }));
        f.rebuildRoundTrips = double(data.Database.RoundTrips() - roundTrips);
        unsettleRebuildCard(data, raw, postgres);
        f.rawRebuildMs.values.push_back(millis([&] { rawRebuild(data, raw, postgres, rebuildStock(entries)); }));
    }
    return f;
}

Figures sqlite(int lines, qint64 entries, int rounds)
{
    QTemporaryDir dir;
    store::ConnectionParams params;
    params.sqliteFile = dir.filePath(QStringLiteral("0001.sqlite"));
    store::Database::CreateSQLiteFile(params.sqliteFile);
    TData data;
    data.Database.Connect(params);
    auto raw = bench::rawSqlite(params.sqliteFile);
    raw->exec(QStringLiteral("PRAGMA synchronous=FULL"));   // durable, as the store's connection
    Figures f = measure(data, *raw, false, dir.path() + QLatin1Char('/'), lines, entries, rounds);
    f.durability = sqliteDurability(*raw);
    return f;
}

Figures postgres(const QByteArray &conninfo, int lines, qint64 entries, int rounds)
{
    const pgtest::ThrowawayDatabase database(conninfo, QStringLiteral("bench_stock_%1").arg(getpid()));
    QTemporaryDir dir;
    TData data;
    data.Database.Connect(database.params());
    auto raw = bench::rawPostgres(database.conninfo());
    Figures f = measure(data, *raw, true, dir.path() + QLatin1Char('/'), lines, entries, rounds);
    f.durability = bench::pgDurability(database.conninfo());
    return f;
}

void report(const char *engine, const Figures &f, double target)
{
    std::printf("\n%s, %s (median of %zu rounds, min-max in brackets)\n", engine, f.durability.toUtf8().constData(),
                f.rebuildMs.values.size());
    std::printf("import of %d lines: %.0f lines/s [%.0f-%.0f]; raw statements %.0f lines/s [%.0f-%.0f]; "
                "ratio raw / import %.2f (target at least %.0f lines/s)\n",
                f.lines, f.importLinesPerSec.median(), f.importLinesPerSec.min(), f.importLinesPerSec.max(),
                f.rawLinesPerSec.median(), f.rawLinesPerSec.min(), f.rawLinesPerSec.max(),
                f.rawLinesPerSec.median() / f.importLinesPerSec.median(), target);
    if (f.roundTripsPerLine > 0)
        std::printf("round trips to the server per imported line: %.1f (the raw statements: 7); this process "
                    "and %d server processes on one processor\n",
                    f.roundTripsPerLine, f.pinnedServers);
    std::printf("rebuild of %lld journal entries: %.2f ms [%.2f-%.2f]; the raw statements in one transaction "
                "%.2f ms [%.2f-%.2f]; ratio %.2f (target at most 1.5)\n",
                f.entries, f.rebuildMs.median(), f.rebuildMs.min(), f.rebuildMs.max(), f.rawRebuildMs.median(),
                f.rawRebuildMs.min(), f.rawRebuildMs.max(), f.rebuildMs.median() / f.rawRebuildMs.median());
    if (f.rebuildRoundTrips > 0)
        std::printf("round trips to the server per rebuild: %.0f (the raw statements: 7)\n", f.rebuildRoundTrips);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("pg"), QStringLiteral("Also on this PostgreSQL server."), QStringLiteral("CONNINFO")});
    parser.addOption({QStringLiteral("lines"), QStringLiteral("Lines of the prepared delivery."), QStringLiteral("N"),
                      QStringLiteral("5000")});
    parser.addOption({QStringLiteral("entries"), QStringLiteral("Journal entries of the rebuilt variant."),
                      QStringLiteral("M"), QStringLiteral("1000")});
    parser.addOption({QStringLiteral("rounds"), QStringLiteral("Rounds of each figure."), QStringLiteral("R"),
                      QStringLiteral("5")});
    parser.process(app);
    const int lines = std::max(1, parser.value(QStringLiteral("lines")).toInt());
    const qint64 entries = std::max(1LL, parser.value(QStringLiteral("entries")).toLongLong());
    const int rounds = std::max(1, parser.value(QStringLiteral("rounds")).toInt());
    try {
        report("SQLite", sqlite(lines, entries, rounds), 20000);
        if (parser.isSet(QStringLiteral("pg")))
            report("PostgreSQL", postgres(parser.value(QStringLiteral("pg")).toUtf8(), lines, entries, rounds), 2000);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_stock: %s\n", e.what());
        return 1;
    }
    return 0;
}
