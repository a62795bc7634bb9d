#include "store_bench.h"

#include "app/core/textutil.h"

#include <QDate>
#include <QFile>
#include <QTime>
#include <numeric>

namespace bench {

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
             {"DEN_DAT", "DEN_DOK", "DEN_KAV", "DEN_IND", "DEN_OPE", "DEN_KUS", "DEN_HPC", "DEN_HNC", "DEN_DAN",
              "DEN_ZAS", "DEN_REF", "DEN_KDY"},
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
             {"HLA_DAT", "HLA_DO1", "HLA_DO2", "HLA_DDO", "HLA_ODB", "HLA_NAC", "HLA_NAC__U", "HLA_NCA", "HLA_FAC",
              "HLA_MEN", "HLA_KUR", "HLA_EUR"},
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
