#include "store_bench.h"

#include <QDate>
#include <QFile>
#include <QTime>

namespace bench {

namespace {

store::FieldDef field(const char *name, store::FieldType type, int size = 0)
{
    store::FieldDef f;
    f.name = QString::fromLatin1(name);
    f.type = type;
    f.size = size;
    return f;
}

using store::FieldType;

Tables makeTables()
{
    Tables t;
    t.journal.component = QStringLiteral("ffDenik");
    t.journal.builtInName = QStringLiteral("Den0001");
    t.journal.fields = {
        field("DEN_RAD", FieldType::AutoInc),   field("DEN_DAT", FieldType::Date),
        field("DEN_DOK", FieldType::String, 10), field("DEN_KAV", FieldType::String, 6),
        field("DEN_IND", FieldType::String, 3),  field("DEN_OPE", FieldType::String, 3),
        field("DEN_KUS", FieldType::Float),      field("DEN_HPC", FieldType::Float),
        field("DEN_HNC", FieldType::Float),      field("DEN_DAN", FieldType::Float),
        field("DEN_ZAS", FieldType::Float),      field("DEN_REF", FieldType::String, 2),
        field("DEN_KDY", FieldType::Time),
    };
    t.journal.indexes = {
        {QStringLiteral("KAV"), {{QStringLiteral("DEN_KAV")}, {QStringLiteral("DEN_IND")}}},
        {QStringLiteral("STA"),
         {{QStringLiteral("DEN_KAV")}, {QStringLiteral("DEN_IND")}, {QStringLiteral("DEN_RAD"), true}}},
        {QStringLiteral("DOK"), {{QStringLiteral("DEN_DOK")}}},
    };
    t.headers.component = QStringLiteral("ffPodklHlav");
    t.headers.builtInName = QStringLiteral("POD0001");
    t.headers.fields = {
        field("HLA_DAT", FieldType::Date),       field("HLA_DO1", FieldType::String, 10),
        field("HLA_TYP", FieldType::String, 3),  field("HLA_DO2", FieldType::String, 10),
        field("HLA_DO3", FieldType::String, 10), field("HLA_DDO", FieldType::Date),
        field("HLA_ODB", FieldType::String, 6),  field("HLA_NAC", FieldType::String, 30),
        field("HLA_NCA", FieldType::Float),      field("HLA_PCA", FieldType::Float),
        field("HLA_EDT", FieldType::Boolean),    field("HLA_FAC", FieldType::Float),
        field("HLA_MEN", FieldType::String, 3),  field("HLA_KUR", FieldType::Float),
        field("HLA_EUR", FieldType::Float),
    };
    t.headers.indexes = {{QStringLiteral("DO1"), {{QStringLiteral("HLA_DO1")}}, true}};
    return t;
}

// A fixed pseudo-random sequence, the same on every run.
quint64 mix(quint64 x)
{
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return x;
}

} // namespace

const Tables &tables()
{
    static const Tables t = makeTables();
    return t;
}

qint64 cardCount(qint64 n) { return std::max<qint64>(1, n / 60); }

QString cardCode(qint64 card) { return QStringLiteral("%1").arg(card, 6, 10, QLatin1Char('0')); }

QString docNumber(qint64 doc) { return QStringLiteral("%1").arg(doc, 10, 10, QLatin1Char('0')); }

void generate(RawEngine &raw, const QString &journal, const QString &headers, qint64 n)
{
    const qint64 cards = cardCount(n);
    const QDate start(2020, 1, 1);
    raw.load(journal,
             {"DEN_DAT", "DEN_DOK", "DEN_KAV", "DEN_IND", "DEN_OPE", "DEN_KUS", "DEN_HPC", "DEN_HNC",
              "DEN_DAN", "DEN_ZAS", "DEN_REF", "DEN_KDY"},
             n, [&](qint64 i, QVariantList &v) {
                 const double kus = double(1 + i % 5);
                 v = {start.addDays(i / 3000), docNumber(i / 10 + 1), cardCode(qint64(mix(i) % quint64(cards))),
                      QStringLiteral("00%1").arg(mix(i + 1) % 3), QStringLiteral("001"), kus, kus * 12.5,
                      kus * 9.75, 21.0, double(i % 97), QStringLiteral("AB"),
                      QTime(8, 0).addSecs(int(i % 36000))};
             });
    raw.load(headers,
             {"HLA_DAT", "HLA_DO1", "HLA_TYP", "HLA_DO2", "HLA_DO3", "HLA_DDO", "HLA_ODB", "HLA_NAC",
              "HLA_NCA", "HLA_PCA", "HLA_EDT", "HLA_FAC", "HLA_MEN", "HLA_KUR", "HLA_EUR"},
             n, [&](qint64 i, QVariantList &v) {
                 v = {start.addDays(i / 1000), docNumber(i + 1), QString(), QStringLiteral("F%1").arg(i % 100000),
                      QString(), start.addDays(i / 1000 + 2), cardCode(qint64(mix(i) % 5000)),
                      QStringLiteral("Dodavatel č. %1 s.r.o.").arg(mix(i) % 5000), 1000.0 + double(i % 777),
                      0.0, qint64(0), 1000.0 + double(i % 777), QStringLiteral("EUR"), 25.125, 40.0 + double(i % 31)};
             });
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
