#include "store_measure.h"

#include "store/database.h"
#include "store/table.h"
#include "store/tables/column_names.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace bench {

namespace {

// Times the table component's way (ours) and the raw way of the same work, `calls`
// calls each, in nine rounds, and reports the best round of each side in microseconds
// per call: other processes can only add time, so the best round is the closest to the
// cost of the work itself. The two sides look up different keys (so neither finds the
// rows the other has just brought into the caches) and take turns at going first.
template <class Ours, class Raw>
void compare(const char *table, const QString &what, int calls, Ours ours, Raw raw)
{
    constexpr int kRounds = 9;
    constexpr int kOtherKeys = 500009;
    const int perRound = std::max(1, calls / kRounds);
    std::vector<double> a, b;
    const auto time = [perRound](auto &&f, int first) {
        QElapsedTimer timer;
        timer.start();
        for (int n = 0; n < perRound; ++n)
            f(first + n);
        return double(timer.nsecsElapsed()) / 1000.0 / perRound;
    };
    ours(0);
    raw(kOtherKeys);
    for (int round = 0; round < kRounds; ++round) {
        const int first = 1 + round * perRound;
        if (round % 2 == 0) {
            a.push_back(time(ours, first));
            b.push_back(time(raw, first + kOtherKeys));
        } else {
            b.push_back(time(raw, first + kOtherKeys));
            a.push_back(time(ours, first));
        }
    }
    const double oursBest = *std::min_element(a.begin(), a.end());
    const double rawBest = *std::min_element(b.begin(), b.end());
    std::printf("%-4s %-46s %10.1f %10.1f %7.2f\n", table, what.toUtf8().constData(), oursBest, rawBest,
                oursBest / rawBest);
    std::fflush(stdout);
}

quint64 scramble(quint64 x)
{
    x ^= x >> 31;
    x *= 0x9e3779b97f4a7c15ULL;
    return x ^ (x >> 29);
}

QString q(const QString &name) { return u'"' + name + u'"'; }

namespace den = store::tables::column::ffDenik;
namespace pod = store::tables::column::ffPodklHlav;

// One table: how the raw side spells its reads of the index order.
struct RawTable {
    QString name;
    QStringList order;  // the index columns, the record id last unless the index is unique
    QString select;     // every field
    std::vector<Col> cols;
    bool postgres;

    QString mark(int n) const { return (postgres ? QStringLiteral("$") : QStringLiteral("?")) + QString::number(n); }
    QString read(const QString &condition, bool forward, int limit = 0) const
    {
        QStringList o;
        for (const QString &c : order)
            o.append(forward ? c : c + QStringLiteral(" DESC"));
        QString sql = QStringLiteral("SELECT %1 FROM %2").arg(select, q(name));
        if (!condition.isEmpty())
            sql += QStringLiteral(" WHERE ") + condition;
        sql += QStringLiteral(" ORDER BY ") + o.join(u',');
        if (limit > 0)
            sql += QStringLiteral(" LIMIT ") + QString::number(limit);
        return sql;
    }
    // The first `count` key columns equal to parameters.
    QString equal(int count) const
    {
        QStringList c;
        for (int i = 0; i < count; ++i)
            c.append(order[i] + QStringLiteral(" = ") + mark(i + 1));
        return c.join(QStringLiteral(" AND "));
    }
    // Rows after a full key, the way one writes it by hand on each engine.
    QString after() const
    {
        QStringList marks;
        for (int i = 1; i <= order.size(); ++i)
            marks.append(mark(i));
        if (postgres || order.size() == 1)
            return QStringLiteral("(%1) > (%2)").arg(order.join(u','), marks.join(u','));
        QString cond = order.last() + QStringLiteral(" > ") + marks.last();
        for (int i = int(order.size()) - 2; i >= 0; --i)
            cond = QStringLiteral("%1 > %2 OR (%1 = %2 AND (%3))").arg(order[i], marks[i], cond);
        return cond;
    }
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

// What differs between the two tables: the keys the searches use.
struct Keys {
    std::function<QVariantList(int)> exact;    // FindKey: an existing key
    std::function<QVariantList(int)> nearest;  // FindNearest: a key prefix
};

// The operations common to both tables, on the table's current index.
void measureTable(const char *label, store::Table &t, store::Field &field, RawEngine &raw, const RawTable &r,
                  const Keys &keys, const QVariantList &middle, double &sink)
{
    const QString first = r.read({}, true, 1);
    const QString last = r.read({}, false, 1);
    compare(label, QStringLiteral("Open + Last"), 300,
            [&](int) {
                t.Close();
                t.Open();
                t.Last();
                sink += field.AsFloat();
            },
            [&](int) {
                raw.run(first, {}, r.cols);
                raw.run(last, {}, r.cols);
            });

    const QVariantList sampleKey = keys.exact(0);
    const QString exact = r.read(r.equal(int(sampleKey.size())), true, 1);
    compare(label, QStringLiteral("FindKey (%1 fields)").arg(sampleKey.size()), 3000,
            [&](int i) {
                t.FindKey(keys.exact(i));
                sink += field.AsFloat();
            },
            [&](int i) { raw.run(exact, keys.exact(i), r.cols); });

    const QString nearest = r.read(r.order[0] + QStringLiteral(" >= ") + r.mark(1), true, 1);
    compare(label, QStringLiteral("FindNearest"), 3000,
            [&](int i) {
                t.FindNearest(keys.nearest(i));
                sink += field.AsFloat();
            },
            [&](int i) { raw.run(nearest, keys.nearest(i), r.cols); });

    // A grid's page: 40 rows from the start, after a record in the middle, before the end.
    const QString startPage = r.read({}, true, 40);
    const QString endPage = r.read({}, false, 40);
    const QString middlePage = r.read(r.after(), true, 40);
    compare(label, QStringLiteral("40 rows at the start"), 1000,
            [&](int) { sink += double(t.ReadRows({}, 40, true).size()); },
            [&](int) { raw.run(startPage, {}, r.cols); });
    t.FindKey(middle.mid(0, int(sampleKey.size())));
    const store::Bookmark mark = t.GetBookmark();
    compare(label, QStringLiteral("40 rows in the middle"), 1000,
            [&](int) { sink += double(t.ReadRows(mark, 40, true).size()); },
            [&](int) { raw.run(middlePage, middle, r.cols); });
    compare(label, QStringLiteral("40 rows at the end"), 1000,
            [&](int) { sink += double(t.ReadRows({}, 40, false).size()); },
            [&](int) { raw.run(endPage, {}, r.cols); });

    const QString scan = r.read(r.order[0] + QStringLiteral(" >= ") + r.mark(1), true, 10001);
    compare(label, QStringLiteral("FindNearest + 10,000 x Next"), 9,
            [&](int i) {
                t.FindNearest(keys.nearest(i));
                for (int n = 0; n < 10000; ++n) {
                    t.Next();
                    sink += field.AsFloat();
                }
            },
            [&](int i) { raw.run(scan, keys.nearest(i), r.cols); });
}

} // namespace

void measure(store::Database &db, RawEngine &raw, bool postgres, qint64 rows, const QString &journal,
             const QString &headers)
{
    const Tables &defs = tables();
    const qint64 cards = cardCount(rows);
    double sink = 0;
    std::printf("%-4s %-46s %10s %10s %7s\n", "", "operation (microseconds per call)", "table", "raw", "ratio");

    // The journal in the order of KAV (card, variant, record number).
    {
        store::Table t(&defs.journal);
        t.SetDatabase(&db);
        t.SetTableName(journal);
        t.SetIndexName(QStringLiteral("KAV"));
        t.Open();
        store::Field &zas = t.FieldByName(den::DEN_ZAS);
        const RawTable r{journal, {q(den::DEN_KAV), q(den::DEN_IND), q(den::DEN_RAD)}, selectOf(defs.journal, false),
                         colsOf(defs.journal, false), postgres};
        const auto card = [&](int i) { return cardCode(qint64(scramble(quint64(i)) % quint64(cards))); };
        const auto variant = [](int i) { return QStringLiteral("00%1").arg(i % 3); };
        t.FindNearest({cardCode(cards / 2)});
        const QVariantList middle{t.FieldByName(den::DEN_KAV).AsString(), t.FieldByName(den::DEN_IND).AsString(),
                                  t.GetBookmark().id};
        measureTable("Den", t, zas, raw, r,
                     {[&](int i) { return QVariantList{card(i), variant(i)}; },
                      [&](int i) { return QVariantList{card(i)}; }},
                     middle, sink);

        qint64 ranges = 0;
        qint64 rangeRows = 0;
        const QString range = r.read(r.equal(2), true);
        compare("Den", QStringLiteral("SetRange (card, variant), read to the end"), 2000,
                [&](int i) {
                    t.SetRange({card(i), variant(i)}, {card(i), variant(i)});
                    ++ranges;
                    while (!t.Eof()) {
                        sink += zas.AsFloat();
                        ++rangeRows;
                        t.Next();
                    }
                },
                [&](int i) { raw.run(range, {card(i), variant(i)}, r.cols); });
        std::printf("     (a range holds %.1f rows on average)\n", double(rangeRows) / double(ranges));
    }

    // The headers in the order of DO1 (document number, unique).
    {
        store::Table t(&defs.headers);
        t.SetDatabase(&db);
        t.SetTableName(headers);
        t.SetIndexName(QStringLiteral("DO1"));
        t.Open();
        store::Field &nca = t.FieldByName(pod::HLA_NCA);
        const RawTable r{headers, {q(pod::HLA_DO1)}, selectOf(defs.headers, true), colsOf(defs.headers, true), postgres};
        const auto doc = [&](int i) { return docNumber(qint64(scramble(quint64(i)) % quint64(rows)) + 1); };
        measureTable("POD", t, nca, raw, r,
                     {[&](int i) { return QVariantList{doc(i)}; },
                      [&](int i) { return QVariantList{doc(i).left(7)}; }},
                     {docNumber(rows / 2)}, sink);
    }
    std::printf("     (checksums %.0f / %.0f)\n", sink, raw.checksum);
}

} // namespace bench
