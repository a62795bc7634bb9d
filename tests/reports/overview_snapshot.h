#pragma once
// The printed deliveries overview of the receipts that overview_fixture.h writes, as the
// overview reads them for its printout: the period 05.03.2004–07.03.2004 of the shop
// "Prodejna Říčany", receipts 101 and 103 of "Beta" (000002) and 102 of "Alfa" (000001)
// with their values, in the order asked for. And the printed lines of a page.

#include "reports/prehled_dodavek.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <cmath>

namespace overviewtest {

// One printed line: the texts of its cells (trimmed), and its top edge in cm.
struct Line {
    double top;
    QStringList cells;
    QString joined() const { return cells.join(QLatin1Char('|')); }
};

// The tabbed lines of a page in order (the title, a placed text, is left out).
inline QVector<Line> cellLines(const ReportPage &page)
{
    QVector<Line> lines;
    for (const ReportItem &item : page.items) {
        if (item.kind != ReportItem::Cell)
            continue;
        if (lines.isEmpty() || std::abs(lines.last().top - item.top) > 1e-9)
            lines.append(Line{item.top, {}});
        lines.last().cells << item.text.trimmed();
    }
    return lines;
}

inline QStringList joinedLines(const ReportPage &page)
{
    QStringList out;
    for (const Line &l : cellLines(page))
        out << l.joined();
    return out;
}

inline OverviewSnapshot periodOverview(int order)
{
    const QString beta = QStringLiteral("Beta \"Brno\" s.r.o."), alfa = QStringLiteral("Alfa Žluťoučký kůň");
    // Date, number, supplier code, name, supplier's document; NC, PC, bases 22/5/0,
    // VAT 22/5 (computed as the value computation computes them), invoiced.
    const OverviewRow r101{QDate(2004, 3, 5), QStringLiteral("0000000101"), QStringLiteral("000002"), beta,
                           QStringLiteral("F-77"), 1234.5, 1779, 1000, 234.5, 0, 220, 234.5 / 100 * 5, 1234.5};
    const OverviewRow r102{QDate(2004, 3, 7), QStringLiteral("0000000102"), QStringLiteral("000001"), alfa,
                           QString(), 80, 122, 80, 0, 0, 80.0 / 100 * 22, 0, 100};
    const OverviewRow r103{QDate(2004, 3, 6), QStringLiteral("0000000103"), QStringLiteral("000002"), beta,
                           QStringLiteral("X9"), 40, 45, 0, 0, 40, 0, 0, 50};
    OverviewSnapshot s{QDate(2004, 3, 5), QDate(2004, 3, 7), QStringLiteral("Prodejna Říčany"), order, {}};
    s.rows = order == BySupplier ? QVector<OverviewRow>{r102, r101, r103} : QVector<OverviewRow>{r101, r102, r103};
    return s;
}

} // namespace overviewtest
