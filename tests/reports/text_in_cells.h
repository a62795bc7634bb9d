#pragma once
// The check that text never runs out of its cell on paper, on the laid-out pages: each
// text measured in the font it is painted in stays inside its cell (a left-aligned one
// may run on over the empty cells to its right, as long as no box line stands between),
// crosses no box line, keeps clear of every other text of its line, stays on the paper, and is
// set no smaller than the engine's smallest font. The pages as lines of text for comparing
// two layouts, and the pages kept for a person to look at.

#include "reports/sestavy.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QStringList>
#include <QVector>
#include <gtest/gtest.h>
#include <map>

namespace textincells {

struct Extent {
    double from, to;
    const ReportItem *item;
};

// Where the item's text lies across the line (cm).
inline Extent extentOf(const ReportItem &item)
{
    const double width = ReportTextWidth(item.font, item.text);
    const double inset = item.kind == ReportItem::Cell ? item.margin / 100.0 * 2.54 : 0;
    if (item.kind == ReportItem::Cell && item.justify == pjRight)
        return {item.left + item.width - inset - width, item.left + item.width - inset, &item};
    return {item.left + inset, item.left + inset + width, &item};
}

// The right edge up to which the text of line[i], a left-aligned cell, may run.
inline double runOnEnd(const QVector<const ReportItem *> &line, qsizetype i)
{
    double end = line[i]->left + line[i]->width;
    for (qsizetype j = i + 1; j < line.size(); ++j) {
        const ReportItem &before = *line[j - 1], &next = *line[j];
        if (next.kind != ReportItem::Cell || !next.text.isEmpty() || (before.lines & BoxLineRight) ||
            (next.lines & BoxLineLeft))
            break;
        end = next.left + next.width;
    }
    return end;
}

inline void expectTextsInTheirCells(const ReportDocument &doc)
{
    constexpr double kEps = 1e-6;
    // Two texts of a line stay at least this far apart (cm), so that they read as two.
    constexpr double kMinGap = 0.05;
    for (qsizetype p = 0; p < doc.pages.size(); ++p) {
        std::map<long long, QVector<const ReportItem *>> lines;
        for (const ReportItem &item : doc.pages[p].items)
            lines[llround(item.top * 1e6)].append(&item);
        for (const auto &[top, line] : lines) {
            QVector<Extent> texts;
            for (qsizetype i = 0; i < line.size(); ++i) {
                const ReportItem &item = *line[i];
                if (item.text.isEmpty())
                    continue;
                SCOPED_TRACE(QStringLiteral("page %1, \"%2\"").arg(p + 1).arg(item.text).toStdString());
                const Extent e = extentOf(item);
                EXPECT_GE(item.font.size, ReportDrawing::kMinFontSize);
                EXPECT_GE(e.from, -kEps);
                EXPECT_LE(e.to, doc.paperWidth + kEps);
                if (item.kind == ReportItem::Cell) {
                    EXPECT_GE(e.from, item.left - kEps);
                    EXPECT_LE(e.to, (item.justify == pjLeft ? runOnEnd(line, i) : item.left + item.width) + kEps);
                }
                texts.append(e);
            }
            // No text over or against another, none across a box line of its line.
            for (const Extent &a : texts) {
                for (const Extent &b : texts) {
                    if (&a != &b) {
                        EXPECT_TRUE(a.to + kMinGap <= b.from + kEps || b.to + kMinGap <= a.from + kEps)
                            << "\"" << a.item->text.toStdString() << "\" over \"" << b.item->text.toStdString()
                            << "\" on page " << p + 1;
                    }
                }
                for (const ReportItem *cell : line) {
                    for (const double x : {(cell->lines & BoxLineLeft) ? cell->left : -1.0,
                                           (cell->lines & BoxLineRight) ? cell->left + cell->width : -1.0})
                        EXPECT_FALSE(x >= 0 && a.from < x - kEps && a.to > x + kEps)
                            << "\"" << a.item->text.toStdString() << "\" across the box line at " << x << " cm";
                }
            }
        }
    }
}

// Every item of the pages with its page, place, width, font size, box lines and text, one
// line each: two layouts are the same when these are.
inline QStringList placedTexts(const ReportDocument &doc)
{
    QStringList out;
    for (qsizetype p = 0; p < doc.pages.size(); ++p)
        for (const ReportItem &i : doc.pages[p].items)
            out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                       .arg(p)
                       .arg(i.left, 0, 'f', 6)
                       .arg(i.top, 0, 'f', 6)
                       .arg(i.width, 0, 'f', 6)
                       .arg(i.font.size, 0, 'f', 6)
                       .arg(i.lines)
                       .arg(i.text);
    return out;
}

// Copies the PDF into the test output folder (TEST_OUTPUT_DIR) as <name>.pdf and renders
// its pages there as <name>-<page>.png, for a person to look at.
inline void keepForAPerson(const QString &pdf, const QString &name)
{
    const QString stem = QStringLiteral(TEST_OUTPUT_DIR "/") + name;
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(TEST_OUTPUT_DIR)));
    QFile::remove(stem + QStringLiteral(".pdf"));
    ASSERT_TRUE(QFile::copy(pdf, stem + QStringLiteral(".pdf")));
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"),
                                              stem + QStringLiteral(".pdf"), stem});
    ASSERT_TRUE(render.waitForFinished(60000));
    EXPECT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(stem + QStringLiteral("-1.png")));
}

// Runs the layout to a PDF, as a batch job does (no setup dialog, the file destination),
// and keeps it with its pages for a person to look at as keepForAPerson does.
inline void keepLayoutForAPerson(const ReportLayout &layout, const QString &name)
{
    const QTemporaryDir scratch;
    TSestavy run;
    run.SystemSetups = 0;
    run.DefaultDestination = TDestination::File;
    run.OutputFileName = scratch.filePath(name + QStringLiteral(".pdf"));
    run.Execute(layout);
    keepForAPerson(run.OutputFileName, name);
}

} // namespace textincells
