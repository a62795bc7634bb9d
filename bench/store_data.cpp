#include "store_bench.h"

#include "core/textutil.h"
#include "store/tables/column_names.h"

#include <QDate>
#include <QFile>
#include <QTime>
#include <numeric>
#include <sched.h>

namespace bench {

namespace den = store::tables::column::ffDenik;
namespace pod = store::tables::column::ffPodklHlav;

quint64 mix(quint64 x)
{
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return x;
}

qint64 writtenAt(qint64 i, qint64 n, bool shuffled)
{
    if (!shuffled)
        return i;
    // i × a step prime to n runs through every row once, far apart.
    qint64 step = 7919;
    while (std::gcd(step, n) != 1)
        step += 2;
    return (i * step) % n;
}

qint64 cardCount(qint64 n) { return std::max<qint64>(1, n / 60); }

QString cardCode(qint64 card) { return QStringLiteral("%1").arg(card, 6, 10, QLatin1Char('0')); }

QString docNumber(qint64 doc) { return QStringLiteral("%1").arg(doc, 10, 10, QLatin1Char('0')); }

void generate(RawEngine &raw, const QString &journal, const QString &headers, qint64 n, bool shuffled)
{
    const qint64 cards = cardCount(n);
    const QDate start(2020, 1, 1);
    raw.load(journal,
             {den::DEN_DAT, den::DEN_DOK, den::DEN_KAV, den::DEN_IND, den::DEN_OPE, den::DEN_KUS, den::DEN_HPC,
              den::DEN_HNC, den::DEN_DAN, den::DEN_ZAS, den::DEN_REF, den::DEN_KDY},
             n, [&](qint64 at, QVariantList &v) {
                 // 3,000 entries a day, ten seconds apart from eight o'clock.
                 const qint64 i = writtenAt(at, n, shuffled);
                 const double kus = double(1 + i % 5);
                 v = {start.addDays(i / 3000), docNumber(i / 10 + 1), cardCode(qint64(mix(i) % quint64(cards))),
                      QStringLiteral("00%1").arg(mix(i + 1) % 3), QStringLiteral("001"), kus, kus * 12.5,
                      kus * 9.75, 21.0, double(i % 97), QStringLiteral("AB"),
                      QTime(8, 0).addSecs(int(i % 3000) * 10)};
             });
    raw.load(headers,
             {pod::HLA_DAT, pod::HLA_DO1, pod::HLA_DO2, pod::HLA_DDO, pod::HLA_ODB, pod::HLA_NAC,
              QString(pod::HLA_NAC) + QStringLiteral("__U"), pod::HLA_NCA, pod::HLA_FAC, pod::HLA_MEN, pod::HLA_KUR,
              pod::HLA_EUR},
             n, [&](qint64 at, QVariantList &v) {
                 const qint64 i = writtenAt(at, n, shuffled);
                 const quint64 supplier = mix(i) % 5000;
                 const QString name = QStringLiteral("Dodavatel č. %1 s.r.o.").arg(supplier);
                 v = {start.addDays(i / 1000), docNumber(i + 1), QStringLiteral("F%1").arg(i % 100000),
                      start.addDays(i / 1000 + 2), cardCode(qint64(supplier)), name, UpperLocale(name),
                      1000.0 + double(i % 777), 1000.0 + double(i % 777), QStringLiteral("EUR"), 25.125,
                      40.0 + double(i % 31)};
             });
}

RawColumns rawColumns(const store::TableDef &def)
{
    RawColumns r;
    r.id = QStringLiteral("ID_");
    for (const store::FieldDef &f : def.fields) {
        if (f.calculated)
            continue;
        r.names.append(f.name);
        switch (f.type) {
        case store::FieldType::String:
            r.cols.push_back(Col::Text);
            break;
        case store::FieldType::Float:
            r.cols.push_back(Col::Real);
            break;
        case store::FieldType::Date:
            r.cols.push_back(Col::Date);
            break;
        case store::FieldType::Time:
            r.cols.push_back(Col::Time);
            break;
        case store::FieldType::AutoInc:
            r.id = f.name;
            r.cols.push_back(Col::Int);
            break;
        default:
            r.cols.push_back(Col::Int);
        }
    }
    if (!r.names.contains(r.id)) {
        r.names.append(r.id);
        r.cols.push_back(Col::Int);
    }
    r.select = u'"' + r.names.join(QStringLiteral("\",\"")) + u'"';
    return r;
}

void settle(RawEngine &raw, bool postgres)
{
    if (postgres) {
        raw.exec(QStringLiteral("VACUUM ANALYZE"));
        raw.exec(QStringLiteral("CHECKPOINT"));
    } else {
        raw.exec(QStringLiteral("ANALYZE"));
        raw.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
}

int pinBesideServer(RawEngine &raw)
{
    cpu_set_t here;
    CPU_ZERO(&here);
    CPU_SET(sched_getcpu(), &here);
    if (sched_setaffinity(0, sizeof here, &here) != 0)
        return 0;
    // The process ids, read a row at a time, are not part of the checksum.
    const double checksum = raw.checksum;
    const QString sql = QStringLiteral("SELECT pid FROM pg_stat_activity WHERE datname = current_database()"
                                       " AND backend_type = 'client backend' ORDER BY pid");
    int placed = 0;
    for (int row = 0;; ++row) {
        RawEngine::Keep keep{row, {0}, {}};
        if (raw.run(sql, {}, {Col::Int}, &keep) <= row)
            break;
        if (sched_setaffinity(pid_t(keep.values.value(0).toLongLong()), sizeof here, &here) == 0)
            ++placed;
    }
    raw.checksum = checksum;
    return placed;
}

double peakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

} // namespace bench
