#include "store_measure.h"

#include "store/database.h"
#include "store/table.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace bench {

namespace {

// Times the table component's way (ours) and the raw way of the same work, `calls`
// calls each, in five alternating rounds, and reports the median microseconds per call
// of each side: a busy machine then disturbs both alike.
template <class Ours, class Raw>
void compare(const char *table, const QString &what, int calls, Ours ours, Raw raw)
{
    constexpr int kRounds = 5;
    const int perRound = std::max(1, calls / kRounds);
    std::vector<double> a, b;
    int i = 0;
    ours(i);
    raw(i);
    for (int round = 0; round < kRounds; ++round) {
        const int first = ++i;
        QElapsedTimer timer;
        timer.start();
        for (int n = 0; n < perRound; ++n)
            ours(first + n);
        a.push_back(double(timer.nsecsElapsed()) / 1000.0 / perRound);
        timer.start();
        for (int n = 0; n < perRound; ++n)
            raw(first + n);
        b.push_back(double(timer.nsecsElapsed()) / 1000.0 / perRound);
        i += perRound;
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    const double oursMedian = a[kRounds / 2];
    const double rawMedian = b[kRounds / 2];
    std::printf("%-4s %-46s %10.1f %10.1f %7.2f\n", table, what.toUtf8().constData(), oursMedian, rawMedian,
                oursMedian / rawMedian);
    std::fflush(stdout);
}

quint64 scramble(quint64 x)
{
    x ^= x >> 31;
    x *= 0x9e3779b97f4a7c15ULL;
    return x ^ (x >> 29);
}

QString q(const QString &name) { return u'"' + name + u'"'; }

// One table: how the raw side spells its order and its keyset reads.
struct RawTable {
    QString name;
    QStringList order;        // index columns, the record id last when it is not unique
    QString select;           // every field
    std::vector<Col> cols;
    bool postgres;

    QString ordered(bool forward) const
    {
        QStringList o;
        for (const QString &c : order)
            o.append(forward ? c : c + QStringLiteral(" DESC"));
        return QStringLiteral("SELECT %1 FROM %2 %3 ORDER BY %4").arg(select, q(name), QStringLiteral("%1"), o.join(u','));
    }
    QString where(const QString &condition, bool forward = true) const { return ordered(forward).arg(QStringLiteral("WHERE ") + condition); }
    QString all(bool forward) const { return ordered(forward).arg(QString()); }
    // Rows after a full key, the way one writes it by hand on each engine.
    QString after() const
    {
        QStringList marks;
        for (int i = 1; i <= order.size(); ++i)
            marks.append((postgres ? QStringLiteral("$") : QStringLiteral("?")) + QString::number(i));
        if (postgres)
            return where(QStringLiteral("(%1) > (%2)").arg(order.join(u','), marks.join(u',')));
        QString cond = order.last() + QStringLiteral(" > ") + marks.last();
        for (int i = int(order.size()) - 2; i >= 0; --i)
            cond = QStringLiteral("%1 > %2 OR (%1 = %2 AND (%3))").arg(order[i], marks[i], cond);
        return where(cond);
    }
    QString mark(int n) const { return (postgres ? QStringLiteral("$") : QStringLiteral("?")) + QString::number(n); }
};

std::vector<Col> colsOf(const store::TableDef &def, bool hiddenId)
{
    std::vector<Col> cols;
    for (const store::FieldDef &f : def.fields) {
        switch (f.type) {
        case store::FieldType::String:
            cols.push_back(Col::Text);
            break;
        case store::FieldType::Float:
            cols.push_back(Col::Real);
            break;
        case store::FieldType::Date:
            cols.push_back(Col::Date);
            break;
        case store::FieldType::Time:
            cols.push_back(Col::Time);
            break;
        default:
            cols.push_back(Col::Int);
        }
    }
    if (hiddenId)
        cols.push_back(Col::Int);
    return cols;
}

QString selectOf(const store::TableDef &def, bool hiddenId)
{
    QStringList names;
    for (const store::FieldDef &f : def.fields)
        names.append(q(f.name));
    if (hiddenId)
        names.append(q(QStringLiteral("ID_")));
    return names.join(u',');
}

} // namespace

void measure(store::Database &db, RawEngine &raw, bool postgres, qint64 rows, const QString &journal,
             const QString &headers)
{
    const Tables &defs = tables();
    const qint64 cards = cardCount(rows);
    double sink = 0;
    std::printf("%-4s %-46s %10s %10s %7s\n", "", "operation (microseconds per call)", "table", "raw", "ratio");

    // ---- The journal, index KAV (card, variant, record number).
    {
        store::Table t(&defs.journal);
        t.SetDatabase(&db);
        t.SetTableName(journal);
        t.SetIndexName(QStringLiteral("KAV"));
        t.Open();
        store::Field &zas = t.FieldByName(QStringLiteral("DEN_ZAS"));
        const RawTable r{journal, {q("DEN_KAV"), q("DEN_IND"), q("DEN_RAD")}, selectOf(defs.journal, false),
                         colsOf(defs.journal, false), postgres};
        const auto card = [&](int i) { return cardCode(qint64(scramble(quint64(i)) % quint64(cards))); };
        const auto variant = [](int i) { return QStringLiteral("00%1").arg(i % 3); };

        compare("Den", QStringLiteral("Open + Last"), 300, [&](int) {
                   t.Close();
                   t.Open();
                   t.Last();
                   sink += zas.AsFloat();
               }, [&](int) {
                   raw.run(r.all(true) + QStringLiteral(" LIMIT 1"), {}, r.cols);
                   raw.run(r.all(false) + QStringLiteral(" LIMIT 1"), {}, r.cols);
               });
        compare("Den", QStringLiteral("FindKey (card, variant)"), 3000, [&](int i) {
                   t.FindKey({card(i), variant(i)});
                   sink += zas.AsFloat();
               }, [&](int i) {
                   raw.run(r.where(QStringLiteral("%1 = %2 AND %3 = %4").arg(q("DEN_KAV"), r.mark(1), q("DEN_IND"), r.mark(2)))
                               + QStringLiteral(" LIMIT 1"),
                           {card(i), variant(i)}, r.cols);
               });
        compare("Den", QStringLiteral("FindNearest (card)"), 3000, [&](int i) {
                   t.FindNearest({card(i)});
                   sink += zas.AsFloat();
               }, [&](int i) {
                   raw.run(r.where(QStringLiteral("%1 >= %2").arg(q("DEN_KAV"), r.mark(1))) + QStringLiteral(" LIMIT 1"),
                           {card(i)}, r.cols);
               });

        const auto pages = [&](const char *where, store::Bookmark from, bool forward, const QVariantList &key) {
            compare("Den", QStringLiteral("40 rows at the %1").arg(QLatin1String(where)), 1000, [&](int) { sink += double(t.ReadRows(from, 40, forward).size()); }, [&](int) {
                       raw.run((key.isEmpty() ? r.all(forward) : r.after()) + QStringLiteral(" LIMIT 40"), key, r.cols);
                   });
        };
        pages("start", {}, true, {});
        t.FindNearest({cardCode(cards / 2)});
        pages("middle", t.GetBookmark(), true,
              {t.FieldByName("DEN_KAV").AsString(), t.FieldByName("DEN_IND").AsString(), t.GetBookmark().id});
        pages("end", {}, false, {});

        compare("Den", QStringLiteral("FindNearest + 10,000 x Next"), 5, [&](int i) {
                   t.FindNearest({card(i)});
                   for (int n = 0; n < 10000; ++n) {
                       t.Next();
                       sink += zas.AsFloat();
                   }
               }, [&](int i) {
                   raw.run(r.where(QStringLiteral("%1 >= %2").arg(q("DEN_KAV"), r.mark(1))) + QStringLiteral(" LIMIT 10001"),
                           {card(i)}, r.cols);
               });
        qint64 rangeRows = 0;
        compare("Den", QStringLiteral("SetRange (card, variant), read to the end"), 2000, [&](int i) {
                   t.SetRange({card(i), variant(i)}, {card(i), variant(i)});
                   while (!t.Eof()) {
                       sink += zas.AsFloat();
                       ++rangeRows;
                       t.Next();
                   }
               }, [&](int i) {
                   raw.run(r.where(QStringLiteral("%1 = %2 AND %3 = %4").arg(q("DEN_KAV"), r.mark(1), q("DEN_IND"), r.mark(2))),
                           {card(i), variant(i)}, r.cols);
               });
        std::printf("     (a range holds %.1f rows on average)\n", double(rangeRows) / 2001.0);
    }

    // ---- The headers, unique index DO1 (document number).
    {
        store::Table t(&defs.headers);
        t.SetDatabase(&db);
        t.SetTableName(headers);
        t.SetIndexName(QStringLiteral("DO1"));
        t.Open();
        store::Field &nca = t.FieldByName(QStringLiteral("HLA_NCA"));
        const RawTable r{headers, {q("HLA_DO1")}, selectOf(defs.headers, true), colsOf(defs.headers, true), postgres};
        const auto doc = [&](int i) { return docNumber(qint64(scramble(quint64(i)) % quint64(rows)) + 1); };

        compare("POD", QStringLiteral("Open + Last"), 300, [&](int) {
                   t.Close();
                   t.Open();
                   t.Last();
                   sink += nca.AsFloat();
               }, [&](int) {
                   raw.run(r.all(true) + QStringLiteral(" LIMIT 1"), {}, r.cols);
                   raw.run(r.all(false) + QStringLiteral(" LIMIT 1"), {}, r.cols);
               });
        compare("POD", QStringLiteral("FindKey (document)"), 3000, [&](int i) {
                   t.FindKey({doc(i)});
                   sink += nca.AsFloat();
               }, [&](int i) {
                   raw.run(r.where(QStringLiteral("%1 = %2").arg(q("HLA_DO1"), r.mark(1))) + QStringLiteral(" LIMIT 1"),
                           {doc(i)}, r.cols);
               });
        compare("POD", QStringLiteral("FindNearest (document prefix)"), 3000, [&](int i) {
                   t.FindNearest({doc(i).left(7)});
                   sink += nca.AsFloat();
               }, [&](int i) {
                   raw.run(r.where(QStringLiteral("%1 >= %2").arg(q("HLA_DO1"), r.mark(1))) + QStringLiteral(" LIMIT 1"),
                           {doc(i).left(7)}, r.cols);
               });
        const auto pages = [&](const char *where, store::Bookmark from, bool forward, const QVariantList &key) {
            compare("POD", QStringLiteral("40 rows at the %1").arg(QLatin1String(where)), 1000, [&](int) { sink += double(t.ReadRows(from, 40, forward).size()); }, [&](int) {
                       raw.run((key.isEmpty() ? r.all(forward) : r.after()) + QStringLiteral(" LIMIT 40"), key, r.cols);
                   });
        };
        pages("start", {}, true, {});
        t.FindKey({docNumber(rows / 2)});
        pages("middle", t.GetBookmark(), true, {docNumber(rows / 2)});
        pages("end", {}, false, {});
        compare("POD", QStringLiteral("FindNearest + 10,000 x Next"), 5, [&](int i) {
                   t.FindNearest({doc(i)});
                   for (int n = 0; n < 10000; ++n) {
                       t.Next();
                       sink += nca.AsFloat();
                   }
               }, [&](int i) {
                   raw.run(r.where(QStringLiteral("%1 >= %2").arg(q("HLA_DO1"), r.mark(1))) + QStringLiteral(" LIMIT 10001"),
                           {doc(i)}, r.cols);
               });
    }
    std::printf("     (checksums %.0f / %.0f)\n", sink, raw.checksum);
}

} // namespace bench
