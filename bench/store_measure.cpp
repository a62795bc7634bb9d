#include "store_measure.h"

#include "store/tables/column_names.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"
#include "timing.h"

#include <QElapsedTimer>
#include <cstdio>
#include <functional>

namespace ix = store::tables::index;

namespace bench {

namespace {

namespace den = store::tables::column::ffDenik;
namespace pod = store::tables::column::ffPodklHlav;

// Times the table component's way (ours) and the raw way of the same work in `rounds`
// rounds of `calls` calls each, the two sides taking turns at going first. Call n of
// round r gets the argument r × calls + n on both sides: the same keys, the same rows.
// Prints microseconds per call and the ratio, each the median with min–max over the
// rounds (the ratio taken round by round).
template <class Ours, class Raw>
void compare(const char *table, const QString &what, int rounds, int calls, Ours ours, Raw raw)
{
    std::vector<double> a, b;
    const auto time = [calls](auto &&f, int round) {
        QElapsedTimer timer;
        timer.start();
        for (int n = 0; n < calls; ++n)
            f(round * calls + n);
        return double(timer.nsecsElapsed()) / 1000.0 / calls;
    };
    // Statements prepared, the first pages in the caches.
    time(ours, rounds);
    time(raw, rounds);
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            a.push_back(time(ours, round));
            b.push_back(time(raw, round));
        } else {
            b.push_back(time(raw, round));
            a.push_back(time(ours, round));
        }
    }
    std::printf("%-4s %-40s %26s %26s %20s\n", table, what.toUtf8().constData(),
                shown(spread(a), 1).toUtf8().constData(), shown(spread(b), 1).toUtf8().constData(),
                shown(ratio(a, b), 2).toUtf8().constData());
    std::fflush(stdout);
}

quint64 scramble(quint64 x)
{
    x ^= x >> 31;
    x *= 0x9e3779b97f4a7c15ULL;
    return x ^ (x >> 29);
}

QString q(const QString &name) { return u'"' + name + u'"'; }

// One table as the raw side reads it: every stored field and the record id, decoded;
// the order of the index (its key columns, then the record id), spelled as one writes
// it by hand on each engine.
struct RawTable {
    QString name;
    QStringList order;
    QString select;
    std::vector<Col> cols;
    std::vector<int> orderColumns;  // the select columns of the order
    bool postgres;

    RawTable(const store::Table &t, const QStringList &orderFields, bool pg) : name(t.TableName()), postgres(pg)
    {
        const RawColumns c = rawColumns(t.Definition());
        select = c.select;
        cols = c.cols;
        for (const QString &f : orderFields + QStringList{c.id}) {
            order.append(q(f));
            orderColumns.push_back(int(c.names.indexOf(f)));
        }
    }

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
    // Rows after (forward) or before a full key: a row value on PostgreSQL, which seeks
    // it; spelled out on SQLite.
    QString past(bool forward) const
    {
        const QString cmp = forward ? QStringLiteral(" > ") : QStringLiteral(" < ");
        QStringList marks;
        for (int i = 1; i <= order.size(); ++i)
            marks.append(mark(i));
        if (postgres)
            return u'(' + order.join(u',') + u')' + cmp + u'(' + marks.join(u',') + u')';
        QString cond = order.last() + cmp + marks.last();
        for (int i = int(order.size()) - 2; i >= 0; --i)
            cond = QStringLiteral("%1%4%2 OR (%1 = %2 AND (%3))").arg(order[i], marks[i], cond, cmp);
        return cond;
    }
};

// What differs between the two tables: the keys the searches use.
struct Keys {
    std::function<QVariantList(int)> exact;    // FindKey: an existing key
    std::function<QVariantList(int)> nearest;  // FindNearest: a key prefix
    std::function<QVariantList(int)> scanFrom; // FindNearest with 10,000 rows after it
};

constexpr int kPageRows = 40;
constexpr int kScanRows = 10000;

// The operations common to both tables, on the table's current index.
void measureTable(const char *label, store::Table &t, store::Field &field, RawEngine &raw, const RawTable &r,
                  const Keys &keys, int rounds, double &sink)
{
    const QString first = r.read({}, true, 1);
    const QString last = r.read({}, false, 1);
    compare(label, QStringLiteral("Open + Last"), rounds, 30,
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

    const int keyFields = int(keys.exact(0).size());
    const QString exact = r.read(r.equal(keyFields), true, 1);
    compare(label, QStringLiteral("FindKey (%1 fields)").arg(keyFields), rounds, 300,
            [&](int i) {
                t.FindKey(keys.exact(i));
                sink += field.AsFloat();
            },
            [&](int i) { raw.run(exact, keys.exact(i), r.cols); });

    const QString nearest = r.read(r.order[0] + QStringLiteral(" >= ") + r.mark(1), true, 1);
    compare(label, QStringLiteral("FindNearest"), rounds, 300,
            [&](int i) {
                t.FindNearest(keys.nearest(i));
                sink += field.AsFloat();
            },
            [&](int i) { raw.run(nearest, keys.nearest(i), r.cols); });

    // A grid's pages as the grid reads them: each after the last row (forward from a
    // record found) or before the first row (backward from the end) of the page before,
    // named by its bookmark, which the component looks up. The raw side keeps the key of
    // that row and reads after it.
    constexpr int kWalk = 20;  // pages in a walk; a round walks again from the next key
    const QString startPage = r.read({}, true, kPageRows);
    compare(label, QStringLiteral("page of 40 at the start"), rounds, 100,
            [&](int) { sink += double(t.ReadRows({}, kPageRows, true).size()); },
            [&](int) { raw.run(startPage, {}, r.cols); });

    store::Bookmark ourMark;
    RawEngine::Keep rawKeep{kPageRows - 1, r.orderColumns, {}};
    const QString forwardPage = r.read(r.past(true), true, kPageRows);
    compare(label, QStringLiteral("page of 40 forward, with its look-up"), rounds, kWalk * 10,
            [&](int i) {
                if (i % kWalk == 0) {
                    t.FindNearest(keys.nearest(i / kWalk));
                    ourMark = t.GetBookmark();
                }
                const QVector<store::Record> rows = t.ReadRows(ourMark, kPageRows, true);
                sink += double(rows.size());
                if (!rows.isEmpty())
                    ourMark = {rows.last().id()};
            },
            [&](int i) {
                if (i % kWalk == 0) {
                    RawEngine::Keep found{0, r.orderColumns, {}};
                    raw.run(nearest, keys.nearest(i / kWalk), r.cols, &found);
                    rawKeep.values = found.values;
                }
                raw.run(forwardPage, rawKeep.values, r.cols, &rawKeep);
            });

    const QString endPage = r.read({}, false, kPageRows);
    const QString backwardPage = r.read(r.past(false), false, kPageRows);
    compare(label, QStringLiteral("page of 40 backward from the end"), rounds, kWalk * 10,
            [&](int i) {
                const QVector<store::Record> rows
                    = t.ReadRows(i % kWalk == 0 ? store::Bookmark{} : ourMark, kPageRows, false);
                sink += double(rows.size());
                if (!rows.isEmpty())
                    ourMark = {rows.first().id()};
            },
            [&](int i) {
                if (i % kWalk == 0)
                    raw.run(endPage, {}, r.cols, &rawKeep);
                else
                    raw.run(backwardPage, rawKeep.values, r.cols, &rawKeep);
            });

    const QString scan = r.read(r.order[0] + QStringLiteral(" >= ") + r.mark(1), true, kScanRows + 1);
    compare(label, QStringLiteral("FindNearest + 10,000 x Next"), rounds, 1,
            [&](int i) {
                t.FindNearest(keys.scanFrom(i));
                for (int n = 0; n < kScanRows; ++n) {
                    t.Next();
                    sink += field.AsFloat();
                }
            },
            [&](int i) { raw.run(scan, keys.scanFrom(i), r.cols); });
}

} // namespace

void measure(TData &data, RawEngine &raw, bool postgres, qint64 rows, int rounds)
{
    const qint64 cards = cardCount(rows);
    double sink = 0;
    std::printf("%-4s %-40s %26s %26s %20s\n", "", "operation (microseconds per call)", "table", "raw", "ratio");

    // The journal in the order of KAV (card, variant, record number).
    {
        store::Table &t = data.ffDenik;
        t.SetIndexName(ix::ffDenik::KAV);
        t.Open();
        store::Field &zas = data.ffDenikDEN_ZAS;
        const RawTable r(t, {den::DEN_KAV, den::DEN_IND}, postgres);
        const auto card = [&](int i) { return cardCode(qint64(scramble(quint64(i)) % quint64(cards))); };
        const auto variant = [](int i) { return QStringLiteral("00%1").arg(i % 3); };
        // A scan of 10,000 rows starts from a card early enough for twice as many rows to
        // follow it.
        const qint64 scanCards = std::max<qint64>(1, cards * (rows - 2 * kScanRows) / rows);
        const auto scanCard = [&](int i) { return cardCode(qint64(scramble(quint64(i)) % quint64(scanCards))); };
        measureTable("Den", t, zas, raw, r,
                     {[&](int i) { return QVariantList{card(i), variant(i)}; },
                      [&](int i) { return QVariantList{card(i)}; }, [&](int i) { return QVariantList{scanCard(i)}; }},
                     rounds, sink);

        qint64 ranges = 0;
        qint64 rangeRows = 0;
        const QString range = r.read(r.equal(2), true);
        compare("Den", QStringLiteral("SetRange (card, variant), read to the end"), rounds, 200,
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
        t.CancelRange();
        t.Close();
    }

    // The headers in the order of DO1 (document number, then the record id: the index
    // is not unique).
    {
        store::Table &t = data.ffPodklHlav;
        t.SetIndexName(ix::ffPodklHlav::DO1);
        t.Open();
        store::Field &nca = data.ffPodklHlavHLA_NCA;
        const RawTable r(t, {pod::HLA_DO1}, postgres);
        const auto doc = [&](int i, qint64 of) { return docNumber(qint64(scramble(quint64(i)) % quint64(of)) + 1); };
        const qint64 scanDocs = std::max<qint64>(1, rows - kScanRows - 1);
        measureTable("POD", t, nca, raw, r,
                     {[&](int i) { return QVariantList{doc(i, rows)}; },
                      [&](int i) { return QVariantList{doc(i, rows).left(7)}; },
                      [&](int i) { return QVariantList{doc(i, scanDocs)}; }},
                     rounds, sink);
        t.Close();
    }
    std::printf("     (checksums %.0f / %.0f)\n", sink, raw.checksum);
}

} // namespace bench
