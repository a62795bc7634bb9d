// The soak: N stations, each a process of its own (soak_station) on its own connection
// and address, work a clerk's mix against one PostgreSQL server with a shop's durability
// for a given time; midway the server is stopped and started once. Afterwards the
// database is checked from outside with SQL, and the figures are printed on "[figures]"
// lines.
//   soak [--stations N] [--seconds S] [--seed X] [--think MS] [--cards C] [--suppliers K]
//        [--documents D]
// Defaults: 16 stations for 60 s, seed 1, a mean pause of 300 ms between two operations
// of a station, 200 cards, 30 suppliers and 300 documents to start with. The server is a
// throwaway one of the soak's own (tools/pg-test-cluster on a free port), removed at the
// end. Exit 0 when every station worked to its end, none saw a message other than a
// refusal or a reconnection, and the checks found no anomaly; 1 otherwise; 64 for
// arguments.

#include "firm_tables.h"
#include "podklady_dbf_writer.h"
#include "station_target.h"
#include "throwaway_cluster.h"

#include "store/tables/column_names.h"
#include "store/tdata.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <libpq-fe.h>
#include <map>
#include <memory>
#include <vector>

using namespace stations;

namespace {

namespace col = store::tables::column;

void figures(const QString &line) { std::printf("[figures] %s\n", line.toUtf8().constData()); }
void say(const QString &line) { std::printf("soak: %s\n", line.toUtf8().constData()); }

QString code(int n, int width) { return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0')); }

struct Options {
    int stations = 16, seconds = 60, think = 300, cards = 200, suppliers = 30, documents = 300;
    quint32 seed = 1;
};

// The prepared deliveries of the import file: each of a few lines on the first cards,
// which every importing station shares.
const QStringList kPrepared = {QStringLiteral("SOAK1"), QStringLiteral("SOAK2"), QStringLiteral("SOAK3"),
                               QStringLiteral("SOAK4")};
constexpr int kSharedCards = 12;

// The firm the stations start from: counters, suppliers, stock cards with two variants
// (no stock yet: a start-of-year stock without journal entries would have each first
// posting rebuild its card and show the stock), and documents with items whose totals are the sums of their items.
void seed(TData &d, const Options &o)
{
    FreshFirmSchema(d.Database, d.FirmNumber);
    AppendRow(d.ffCiselnik, {{d.ffCiselnikCIS_POD, code(o.documents, 1)}, {d.ffCiselnikCIS_PRD, "0"},
                             {d.ffCiselnikCIS_ODB, double(o.suppliers)}});
    for (int i = 1; i <= o.suppliers; ++i)
        AppendRow(d.ffDodavatele, {{d.ffDodavateleDOD_KOD, code(i, 6)},
                                   {d.ffDodavateleDOD_FIR, QStringLiteral("Dodavatel %1").arg(i)},
                                   {d.ffDodavateleDOD_MES, QStringLiteral("Praha")}});
    for (int i = 1; i <= o.cards; ++i) {
        const QString card = code(i, 6);
        AppendRow(d.ffSortiment, {{d.ffSortimentSOR_KAV, card}, {d.ffSortimentSOR_NAC, QStringLiteral("Karta ") + card},
                                  {d.ffSortimentSOR_PC1, 10.0}, {d.ffSortimentSOR_DAN, 21.0},
                                  {d.ffSortimentSOR_SKL, true}, {d.ffSortimentSOR_STA, 0.0}});
        for (const char *variant : {"001", "002"})
            AppendRow(d.ffSklad, {{d.ffSkladSKL_KAV, card}, {d.ffSkladSKL_IND, variant}, {d.ffSkladSKL_POC, 0.0},
                                  {d.ffSkladSKL_STA, 0.0}, {d.ffSkladSKL_SNC, 6.0}});
    }
    const QDate today = QDate::currentDate();
    for (int doc = 1; doc <= o.documents; ++doc) {
        const QString number = code(doc, 10);
        double eur = 0;
        for (int item = 0; item < 2; ++item) {
            const double cku = 1 + (doc + item) % 12, cnc = 5 + (doc * 7 + item) % 90;
            AppendRow(d.ffPodklPol, {{d.ffPodklPolPOP_DOK, number}, {d.ffPodklPolPOP_KAV, code(1 + (doc * 3 + item) % o.cards, 6)},
                                     {d.ffPodklPolPOP_CKU, cku}, {d.ffPodklPolPOP_CNC, cnc}, {d.ffPodklPolPOP_BAL, 1.0},
                                     {d.ffPodklPolPOP_KUS, cku}, {d.ffPodklPolPOP_NCS, cnc}, {d.ffPodklPolPOP_PRI, 0.0}});
            eur += cku * cnc;
        }
        const QString supplier = code(1 + doc % o.suppliers, 6);
        AppendRow(d.ffPodklHlav, {{d.ffPodklHlavHLA_DO1, number}, {d.ffPodklHlavHLA_ODB, supplier},
                                  {d.ffPodklHlavHLA_NAC, QStringLiteral("Dodavatel %1").arg(1 + doc % o.suppliers)},
                                  {d.ffPodklHlavHLA_DO2, QStringLiteral("FA%1").arg(doc)},
                                  {d.ffPodklHlavHLA_MEN, "EUR"}, {d.ffPodklHlavHLA_KUR, 1.0},
                                  {d.ffPodklHlavHLA_EUR, eur}, {d.ffPodklHlavHLA_NCA, eur},
                                  {d.ffPodklHlavHLA_DAT, today.addDays(-(o.documents - doc) / 10)},
                                  {d.ffPodklHlavHLA_DDO, today}});
    }
}

// One SQL connection from outside the program.
class Sql {
public:
    explicit Sql(const store::ConnectionParams &p)
    {
        const QByteArray conninfo = QStringLiteral("host=%1 port=%2 dbname=%3 user=%4 connect_timeout=5")
                                        .arg(p.host).arg(p.port).arg(p.database, p.user).toUtf8();
        m_conn = PQconnectdb(conninfo.constData());
    }
    ~Sql() { PQfinish(m_conn); }
    Sql(const Sql &) = delete;
    Sql &operator=(const Sql &) = delete;
    bool ok() const { return PQstatus(m_conn) == CONNECTION_OK; }

    // The rows of a query, each as its columns joined by " | "; the error as one row
    // starting with "ERROR" when it fails.
    QStringList rows(const QString &sql, QStringList *header = nullptr) const
    {
        PGresult *r = PQexec(m_conn, sql.toUtf8().constData());
        QStringList out;
        if (PQresultStatus(r) != PGRES_TUPLES_OK) {
            out << QStringLiteral("ERROR ") + QString::fromUtf8(PQresultErrorMessage(r)).trimmed();
        } else {
            if (header) {
                header->clear();
                for (int c = 0; c < PQnfields(r); ++c)
                    *header << QString::fromUtf8(PQfname(r, c));
            }
            for (int i = 0; i < PQntuples(r); ++i) {
                QStringList cells;
                for (int c = 0; c < PQnfields(r); ++c)
                    cells << QString::fromUtf8(PQgetvalue(r, i, c));
                out << cells.join(QStringLiteral(" | "));
            }
        }
        PQclear(r);
        return out;
    }

private:
    PGconn *m_conn = nullptr;
};

QString q(const char *name) { return QStringLiteral("\"%1\"").arg(QLatin1String(name)); }
QString t(const store::Table &table) { return QStringLiteral("\"%1\"").arg(table.TableName()); }

// The checks from outside: each query lists the rows of one kind of anomaly.
int check(TData &d, const Sql &sql)
{
    namespace hla = col::ffPodklHlav;
    namespace pop = col::ffPodklPol;
    namespace dod = col::ffDodavky;
    namespace den = col::ffDenik;
    namespace skl = col::ffSklad;
    namespace sor = col::ffSortiment;
    const QString headers = t(d.ffPodklHlav), items = t(d.ffPodklPol), receipts = t(d.ffDodavky),
                  journal = t(d.ffDenik), variants = t(d.ffSklad), cards = t(d.ffSortiment),
                  suppliers = t(d.ffDodavatele), locks = t(d.ffSemafor);
    const auto duplicates = [](const QString &table, const QString &column) {
        return QStringLiteral("SELECT %2, count(*) FROM %1 GROUP BY %2 HAVING count(*) > 1 ORDER BY 1").arg(table, column);
    };
    const std::vector<std::pair<QString, QString>> checks = {
        {QStringLiteral("čísla dokladů dvakrát"), duplicates(headers, q(hla::HLA_DO1))},
        {QStringLiteral("doklad bez čísla"),
         QStringLiteral("SELECT * FROM %1 WHERE trim(%2) = '' OR %2 IS NULL").arg(headers, q(hla::HLA_DO1))},
        {QStringLiteral("čísla příjemek dvakrát"), duplicates(receipts, q(dod::HLA_DO1))},
        {QStringLiteral("kódy dodavatelů dvakrát"), duplicates(suppliers, q(col::ffDodavatele::DOD_KOD))},
        {QStringLiteral("součty hlavičky ≠ součet položek"),
         QStringLiteral("SELECT h.%2, h.%3 AS hla_eur, coalesce(sum(p.%7 * p.%8), 0) AS polozky_eur, h.%4 AS hla_nca, "
                        "coalesce(sum(p.%9 * p.%10), 0) AS polozky_nca, count(p.%6) AS polozek "
                        "FROM %1 h LEFT JOIN %5 p ON p.%6 = h.%2 GROUP BY h.%2, h.%3, h.%4 "
                        "HAVING abs(h.%3 - coalesce(sum(p.%7 * p.%8), 0)) >= 0.005 "
                        "OR abs(h.%4 - coalesce(sum(p.%9 * p.%10), 0)) >= 0.005 ORDER BY 1")
             .arg(headers, q(hla::HLA_DO1), q(hla::HLA_EUR), q(hla::HLA_NCA), items, q(pop::POP_DOK), q(pop::POP_CKU),
                  q(pop::POP_CNC), q(pop::POP_NCS))
             .arg(q(pop::POP_KUS))},
        {QStringLiteral("položka bez hlavičky"),
         QStringLiteral("SELECT * FROM %1 p WHERE NOT EXISTS (SELECT 1 FROM %2 h WHERE h.%3 = p.%4)")
             .arg(items, headers, q(hla::HLA_DO1), q(pop::POP_DOK))},
        {QStringLiteral("řádek deníku bez příjemky"),
         QStringLiteral("SELECT * FROM %1 j WHERE NOT EXISTS (SELECT 1 FROM %2 r WHERE r.%3 = j.%4) ORDER BY %4")
             .arg(journal, receipts, q(dod::HLA_DO1), q(den::DEN_DOK))},
        {QStringLiteral("příjemka bez svých řádků"),
         QStringLiteral("SELECT r.%2, r.%3 AS hla_nca, coalesce(sum(j.%5), 0) AS radky_nc, count(j.%4) AS radku "
                        "FROM %1 r LEFT JOIN %6 j ON j.%4 = r.%2 GROUP BY r.%2, r.%3 "
                        "HAVING count(j.%4) = 0 OR abs(r.%3 - coalesce(sum(j.%5), 0)) >= 0.005 ORDER BY 1")
             .arg(receipts, q(dod::HLA_DO1), q(dod::HLA_NCA), q(den::DEN_DOK), q(den::DEN_HNC), journal)},
        {QStringLiteral("zásoba varianty ≠ počátek roku + deník"),
         QStringLiteral("SELECT s.%2, s.%3, s.%4 AS pocatek, s.%5 AS zasoba, coalesce(sum(j.%7), 0) AS denik "
                        "FROM %1 s LEFT JOIN %6 j ON j.%8 = s.%2 AND j.%9 = s.%3 GROUP BY s.%2, s.%3, s.%4, s.%5 "
                        "HAVING abs(s.%5 - s.%4 - coalesce(sum(j.%7), 0)) > 1e-9 ORDER BY 1, 2")
             .arg(variants, q(skl::SKL_KAV), q(skl::SKL_IND), q(skl::SKL_POC), q(skl::SKL_STA), journal,
                  q(den::DEN_KUS), q(den::DEN_KAV), q(den::DEN_IND))},
        {QStringLiteral("řádek deníku bez varianty"),
         QStringLiteral("SELECT * FROM %1 j WHERE NOT EXISTS (SELECT 1 FROM %2 s WHERE s.%3 = j.%5 AND s.%4 = j.%6)")
             .arg(journal, variants, q(skl::SKL_KAV), q(skl::SKL_IND), q(den::DEN_KAV), q(den::DEN_IND))},
        {QStringLiteral("zásoba karty ≠ součet variant"),
         QStringLiteral("SELECT c.%2, c.%3 AS karta, coalesce(sum(s.%6), 0) AS varianty FROM %1 c "
                        "LEFT JOIN %4 s ON s.%5 = c.%2 WHERE c.%7 <> 0 GROUP BY c.%2, c.%3 "
                        "HAVING abs(c.%3 - coalesce(sum(s.%6), 0)) > 1e-9 ORDER BY 1")
             .arg(cards, q(sor::SOR_KAV), q(sor::SOR_STA), variants, q(skl::SKL_KAV), q(skl::SKL_STA), q(sor::SOR_SKL))},
        {QStringLiteral("zámek zůstal"), QStringLiteral("SELECT * FROM %1").arg(locks)},
        {QStringLiteral("držení záznamu zůstalo"),
         QStringLiteral("SELECT locktype, classid, objid, pid, granted FROM pg_locks WHERE locktype = 'advisory'")},
    };
    int anomalies = 0;
    for (const auto &[what, query] : checks) {
        QStringList header;
        const QStringList rows = sql.rows(query, &header);
        if (rows.isEmpty())
            continue;
        anomalies += int(rows.size());
        std::printf("ANOMÁLIE %s: %lld řádků\n  %s\n", what.toUtf8().constData(), qint64(rows.size()),
                    header.join(QStringLiteral(" | ")).toUtf8().constData());
        for (const QString &row : rows.mid(0, 50))
            std::printf("  %s\n", row.toUtf8().constData());
    }
    return anomalies;
}

// What one station printed.
struct StationOutput {
    std::unique_ptr<QProcess> process;
    QByteArray pending;
    int done = -1;
};

struct Totals {
    std::map<QString, std::vector<double>> latencies;
    std::map<QString, int> refusals;
    std::map<QString, int> unexpected;
    int reconnections = 0;
    int operations = 0;
};

void take(StationOutput &s, Totals &totals)
{
    s.pending += s.process->readAllStandardOutput();
    for (int end; (end = int(s.pending.indexOf('\n'))) >= 0;) {
        const QString line = QString::fromUtf8(s.pending.left(end));
        s.pending.remove(0, end + 1);
        const QString word = line.section(u' ', 0, 0);
        if (word == QLatin1String("lat"))
            totals.latencies[line.section(u' ', 1, 1)].push_back(line.section(u' ', 2, 2).toDouble());
        else if (word == QLatin1String("refused"))
            ++totals.refusals[line.section(u' ', 1, 1)];
        else if (word == QLatin1String("reconnected"))
            ++totals.reconnections;
        else if (word == QLatin1String("done"))
            s.done = line.section(u' ', 1, 1).toInt();
        else
            ++totals.unexpected[line];
    }
}

double percentile(std::vector<double> &v, double p)
{
    std::sort(v.begin(), v.end());
    const size_t at = std::min(v.size() - 1, size_t(std::ceil(p / 100.0 * double(v.size()))) - (p > 0 ? 1 : 0));
    return v[at];
}

QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).section(u' ', 0, 2) : QStringLiteral("?");
}

int peakConnections(const Sql &sql)
{
    return sql.rows(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE backend_type = 'client backend' AND pid <> pg_backend_pid()"))
        .value(0)
        .toInt();
}

int soak(const Options &o, const ThrowawayCluster &cluster);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Zátěžová zkouška: stanice nad jedním serverem PostgreSQL."));
    parser.addHelpOption();
    const QCommandLineOption stations(QStringLiteral("stations"), QStringLiteral("Počet stanic."), QStringLiteral("N"), QStringLiteral("16"));
    const QCommandLineOption seconds(QStringLiteral("seconds"), QStringLiteral("Délka běhu v sekundách."), QStringLiteral("S"), QStringLiteral("60"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Semínko náhodných voleb."), QStringLiteral("X"), QStringLiteral("1"));
    const QCommandLineOption think(QStringLiteral("think"), QStringLiteral("Střední pauza mezi operacemi stanice (ms)."), QStringLiteral("MS"), QStringLiteral("300"));
    const QCommandLineOption cards(QStringLiteral("cards"), QStringLiteral("Počet karet na začátku."), QStringLiteral("C"), QStringLiteral("200"));
    const QCommandLineOption suppliers(QStringLiteral("suppliers"), QStringLiteral("Počet dodavatelů na začátku."), QStringLiteral("K"), QStringLiteral("30"));
    const QCommandLineOption documents(QStringLiteral("documents"), QStringLiteral("Počet dokladů na začátku."), QStringLiteral("D"), QStringLiteral("300"));
    parser.addOptions({stations, seconds, seedOption, think, cards, suppliers, documents});
    parser.process(app);
    Options o;
    bool ok[7];
    o.stations = parser.value(stations).toInt(&ok[0]);
    o.seconds = parser.value(seconds).toInt(&ok[1]);
    o.seed = parser.value(seedOption).toUInt(&ok[2]);
    o.think = parser.value(think).toInt(&ok[3]);
    o.cards = parser.value(cards).toInt(&ok[4]);
    o.suppliers = parser.value(suppliers).toInt(&ok[5]);
    o.documents = parser.value(documents).toInt(&ok[6]);
    if (!std::all_of(ok, ok + 7, [](bool b) { return b; }) || o.stations < 1 || o.seconds < 4 || o.think < 0
        || o.cards < kSharedCards || o.suppliers < 1 || o.documents < 1) {
        std::fprintf(stderr, "soak: neplatné argumenty (soak --help)\n");
        return 64;
    }

    ThrowawayCluster cluster(QStringLiteral(PG_TEST_CLUSTER));
    if (!cluster.run(QStringLiteral("start"))) {
        std::fprintf(stderr, "soak: server PostgreSQL se nepodařilo spustit\n");
        return 1;
    }
    try {
        return soak(o, cluster);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "soak: %s\n", e.what());
        return 1;
    }
}

namespace {

int soak(const Options &o, const ThrowawayCluster &cluster)
{
    const store::ConnectionParams params = cluster.params();
    QElapsedTimer seeding;
    seeding.start();
    seed(*FirmDataModule(params, QStringLiteral("0001")), o);
    QTemporaryDir dir;
    QVector<DbfLine> prepared;
    for (int i = 0; i < kPrepared.size(); ++i)
        for (int line = 0; line < 3; ++line)
            prepared.append({code(1 + (i * 3 + line * 5) % kSharedCards, 6), QStringLiteral("001"), double(1 + line), kPrepared[i]});
    writePodkladyDbf(dir.filePath(QStringLiteral("Pod0000.dbf")), prepared);
    say(QStringLiteral("firma připravena za %1 s: %2 karet, %3 dodavatelů, %4 dokladů")
            .arg(seeding.elapsed() / 1000.0, 0, 'f', 1).arg(o.cards).arg(o.suppliers).arg(o.documents));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString load0 = loadAverage();
    std::vector<StationOutput> outputs(o.stations);
    for (int i = 0; i < o.stations; ++i) {
        const QString address = QStringLiteral("10.7.%1.%2").arg(1 + i / 200).arg(1 + i % 200);
        const QString home = dir.filePath(QStringLiteral("stanice-%1").arg(i + 1));
        QDir().mkpath(home);
        auto &p = outputs[i].process;
        p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->setWorkingDirectory(home);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QStringLiteral(SOAK_STATION),
                 {StationTarget(params), address, QString::number(o.seed * 1000003u + quint32(i)), QString::number(o.seconds),
                  QString::number(o.think), dir.path(), kPrepared.join(u','), QString::number(o.cards),
                  QString::number(o.suppliers)});
    }

    // While they work: their output read, the server's connections counted, and midway
    // the server stopped and started.
    Totals totals;
    int peak = 0;
    bool restarted = false, restartFailed = false;
    QElapsedTimer clock;
    clock.start();
    auto watcher = std::make_unique<Sql>(params);
    const qint64 limit = qint64(o.seconds) * 1000 + 180000;
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        bool running = false;
        for (StationOutput &s : outputs) {
            take(s, totals);
            running = running || s.process->state() != QProcess::NotRunning;
        }
        if (!running || clock.elapsed() > limit)
            break;
        if (!watcher->ok())
            watcher = std::make_unique<Sql>(params);
        if (watcher->ok())
            peak = std::max(peak, peakConnections(*watcher));
        if (!restarted && clock.elapsed() >= qint64(o.seconds) * 500) {
            restarted = true;
            watcher.reset();
            say(QStringLiteral("server zastaven v %1 s").arg(clock.elapsed() / 1000.0, 0, 'f', 1));
            restartFailed = !cluster.run(QStringLiteral("halt"));
            QThread::msleep(1000);
            restartFailed = !cluster.run(QStringLiteral("start")) || restartFailed;
            say(QStringLiteral("server znovu spuštěn v %1 s").arg(clock.elapsed() / 1000.0, 0, 'f', 1));
            watcher = std::make_unique<Sql>(params);
        }
        QThread::msleep(100);
    }
    const double elapsed = clock.elapsed() / 1000.0;
    const QString load1 = loadAverage();
    watcher.reset();

    int failedStations = 0;
    for (size_t i = 0; i < outputs.size(); ++i) {
        StationOutput &s = outputs[i];
        if (s.process->state() != QProcess::NotRunning) {
            s.process->kill();
            s.process->waitForFinished(5000);
        }
        take(s, totals);
        if (s.process->exitStatus() != QProcess::NormalExit || s.process->exitCode() != 0 || s.done < 0) {
            ++failedStations;
            say(QStringLiteral("stanice %1 neskončila řádně (kód %2)").arg(i + 1).arg(s.process->exitCode()));
        } else {
            totals.operations += s.done;
        }
    }

    const Sql sql(params);
    const int anomalies = sql.ok() ? check(*FirmDataModule(params, QStringLiteral("0001")), sql) : 1;
    if (!sql.ok())
        say(QStringLiteral("kontrolu nelze provést: server nedostupný"));

    figures(QStringLiteral("soak: %1 stations, %2 s, seed %3, mean pause %4 ms; load average %5 before, %6 after")
                .arg(o.stations).arg(o.seconds).arg(o.seed).arg(o.think).arg(load0, load1));
    figures(QStringLiteral("soak: %1 operations in %2 s: %3 ops/s in all")
                .arg(totals.operations).arg(elapsed, 0, 'f', 1).arg(totals.operations / elapsed, 0, 'f', 1));
    for (auto &[kind, values] : totals.latencies)
        figures(QStringLiteral("soak latency %1: n %2, p50 %3 ms, p95 %4 ms, p99 %5 ms, max %6 ms")
                    .arg(kind, -26).arg(values.size(), 6)
                    .arg(percentile(values, 50), 0, 'f', 1).arg(percentile(values, 95), 0, 'f', 1)
                    .arg(percentile(values, 99), 0, 'f', 1).arg(values.back(), 0, 'f', 1));
    const auto p99 = [&](const QString &kind) {
        auto it = totals.latencies.find(kind);
        return it == totals.latencies.end() ? -1.0 : percentile(it->second, 99);
    };
    figures(QStringLiteral("soak targets: p99 page of the main list %1 ms (≤ 50: %2), p99 writing an item %3 ms (≤ 100: %4)")
                .arg(p99(QStringLiteral("strana")), 0, 'f', 1).arg(p99(QStringLiteral("strana")) <= 50 ? "held" : "missed")
                .arg(p99(QStringLiteral("zapis_polozky")), 0, 'f', 1)
                .arg(p99(QStringLiteral("zapis_polozky")) <= 100 ? "held" : "missed"));
    QStringList refusals;
    for (const auto &[kind, n] : totals.refusals)
        refusals << QStringLiteral("%1 %2").arg(kind).arg(n);
    figures(QStringLiteral("soak refusals: %1").arg(refusals.isEmpty() ? QStringLiteral("none") : refusals.join(QStringLiteral(", "))));
    figures(QStringLiteral("soak reconnections: %1 (server stopped and started once%2); server connections at peak: %3")
                .arg(totals.reconnections).arg(restartFailed ? QStringLiteral(", FAILED") : QString()).arg(peak));
    for (const auto &[text, n] : totals.unexpected)
        say(QStringLiteral("neočekávaná zpráva (%1×): %2").arg(n).arg(text));
    figures(QStringLiteral("soak anomalies: %1; stations that did not end properly: %2; unexpected messages: %3")
                .arg(anomalies).arg(failedStations).arg(totals.unexpected.size()));
    const bool passed = anomalies == 0 && failedStations == 0 && totals.unexpected.empty() && restarted
        && !restartFailed && totals.reconnections > 0;
    say(passed ? QStringLiteral("v pořádku") : QStringLiteral("SELHALO"));
    return passed ? 0 : 1;
}

} // namespace
