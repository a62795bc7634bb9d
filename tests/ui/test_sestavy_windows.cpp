// The windows of a report run as the program shows them: the setup dialog played by
// keys (the preview's zoom among its settings), the progress window, and a whole run
// through the program's windows into the modal preview, which paints the pages and
// offers "&Tisk". The progress window, too brief to be caught in a run, is photographed
// here into the test output folder (PODKLADY_TEST_OUTPUT) for the user guide.

#include "screens_widgets.h"
#include "sestavy_form.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

namespace {

void press(int key)
{
    QWidget *w = QApplication::focusWidget();
    ASSERT_TRUE(w) << "nothing has the focus";
    QTest::keyClick(w, Qt::Key(key));
}

// The setup dialog: the destinations it may offer, the printer's settings only for the
// printer, Enter for OK and Esc for Storno.
TEST(SestavyWindows, TheSetupDialogByKeys)
{
    for (const bool confirm : {true, false}) {
        SCOPED_TRACE(confirm);
        TSestavySetup setup;
        setup.choices = ssSetupDialog | ssCopies | ssPreview | ssPrinter | ssPrinterSetup;
        setup.fileName = QStringLiteral("sestava.pdf");
        SestavySetupDialog dialog(setup);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Nastavení tisku sestavy"));
        int result = -1;
        QTimer::singleShot(0, [&] {
            if (!QTest::qWaitForWindowActive(&dialog)) {
                ADD_FAILURE() << "the setup dialog is not active";
                dialog.reject();
                return;
            }
            EXPECT_TRUE(dialog.previewButton()->isChecked());
            EXPECT_FALSE(dialog.fileButton()->isEnabled());   // not among the choices
            EXPECT_FALSE(dialog.copiesBox()->isEnabled());    // only for the printer
            EXPECT_FALSE(dialog.zoomBox()->isEnabled());      // not among the choices
            dialog.printerButton()->click();
            EXPECT_TRUE(dialog.copiesBox()->isEnabled());
            dialog.copiesBox()->setFocus();
            dialog.copiesBox()->selectAll();
            QTest::keyClicks(dialog.copiesBox(), QStringLiteral("3"));
            press(confirm ? Qt::Key_Return : Qt::Key_Escape);
        });
        result = dialog.exec();
        EXPECT_EQ(result, confirm ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(setup.destination, confirm ? TDestination::Printer : TDestination::Preview);
        EXPECT_EQ(setup.copies, confirm ? 3 : 1);
    }
}

// With every choice allowed (as the overview runs), the setup dialog offers the preview's
// zoom for the preview only; typed in and confirmed by Enter, the run's preview opens at it.
TEST(SestavyWindows, ThePreviewSetupByKeys)
{
    WidgetScreens screens;
    TSestavy report;
    ASSERT_EQ(report.SystemSetups, ssAll);
    bool setupSeen = false, previewSeen = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *setup = qobject_cast<SestavySetupDialog *>(modal); setup && !setupSeen && setup->isActiveWindow()) {
            setupSeen = true;
            EXPECT_TRUE(setup->previewButton()->isChecked());
            EXPECT_TRUE(setup->zoomBox()->isEnabled());
            EXPECT_EQ(setup->zoomBox()->value(), 100);
            setup->printerButton()->click();
            EXPECT_FALSE(setup->zoomBox()->isEnabled());  // the preview's setting only
            EXPECT_TRUE(setup->copiesBox()->isEnabled());
            setup->previewButton()->click();
            setup->zoomBox()->setFocus();
            setup->zoomBox()->selectAll();
            QTest::keyClicks(setup->zoomBox(), QStringLiteral("150"));
            press(Qt::Key_Return);
            return;
        }
        auto *preview = qobject_cast<QPrintPreviewDialog *>(modal);
        if (!preview || !preview->isVisible())
            return;
        poll.stop();
        previewSeen = true;
        auto *view = preview->findChild<QPrintPreviewWidget *>();
        EXPECT_TRUE(view);
        if (view) {
            EXPECT_DOUBLE_EQ(view->zoomFactor(), 1.5);
        }
        preview->reject();
    });
    poll.start();
    report.Execute({QPageLayout::Portrait, [](ReportDrawing &r) {
                        r.SelectFont(QStringLiteral("Ariel CE"), 13);
                        r.PrintAt(QStringLiteral("Strana"), 1.0);
                    }});
    EXPECT_TRUE(setupSeen);
    EXPECT_TRUE(previewSeen);
    EXPECT_EQ(report.Setup().destination, TDestination::Preview);
    EXPECT_EQ(report.Setup().previewZoom, 150);
}

TEST(SestavyWindows, TheProgressWindowShowsItsText)
{
    SestavyProgressWindow progress;
    progress.Show(QStringLiteral("Generuji stranu 2"));
    EXPECT_EQ(progress.window()->windowTitle(), QStringLiteral("Stav přípravy tisku"));
    EXPECT_TRUE(progress.window()->isVisible());
    EXPECT_EQ(progress.window()->findChild<QLabel *>()->text(), QStringLiteral("Generuji stranu 2"));
    const QString dir = qEnvironmentVariable("PODKLADY_TEST_OUTPUT", QDir::tempPath());
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(QStringLiteral("stav-pripravy-tisku.png"));
    EXPECT_TRUE(progress.window()->grab().save(path)) << path.toStdString();
}

// Runs the report through the program's windows and, once its modal preview is shown
// (the progress window lets timers run while the pages are generated), hands the preview
// to `check` and closes it. False when no preview came.
bool runIntoPreview(TSestavy &report, const ReportLayout &layout,
                    const std::function<void(QPrintPreviewDialog &)> &check)
{
    WidgetScreens screens;
    bool seen = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        if (!preview || !preview->isVisible())
            return;
        poll.stop();
        seen = true;
        check(*preview);
        preview->reject();
    });
    poll.start();
    report.Execute(layout);
    return seen;
}

// A run with the setup choices cleared goes through the program's windows into the modal
// preview at 100 %, which paints both pages and offers "&Tisk" with its hint.
TEST(SestavyWindows, ARunEndsInTheModalPreview)
{
    TSestavy report;
    report.SystemSetups = 0;
    int printed = 0;
    const ReportLayout twoPages{QPageLayout::Portrait, [&](ReportDrawing &r) {
                                    ++printed;
                                    r.SelectFont(QStringLiteral("Ariel CE"), 13);
                                    r.PrintAt(QStringLiteral("První strana"), 1.0);
                                    r.NewPage();
                                    r.PrintAt(QStringLiteral("Druhá strana"), 1.0);
                                }};
    EXPECT_TRUE(runIntoPreview(report, twoPages, [](QPrintPreviewDialog &preview) {
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("Náhled před tiskem"));
        EXPECT_TRUE(preview.isModal());
        QAction *print = SestavyPreviewPrintAction(preview);
        EXPECT_TRUE(print);
        if (print) {
            EXPECT_EQ(print->text(), QStringLiteral("&Tisk"));
            EXPECT_EQ(print->toolTip(), QStringLiteral("Tisk sestavy"));
        }
        auto *view = preview.findChild<QPrintPreviewWidget *>();
        EXPECT_TRUE(view);
        if (view) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return view->pageCount() == 2; }));
            EXPECT_DOUBLE_EQ(view->zoomFactor(), 1.0);
        }
    }));
    EXPECT_EQ(printed, 1);
}

// The preview opens with the keyboard on its pages: the page keys work at once, without
// a Tab first. PgDn and the arrows scroll down, PgUp back, End to the end of the last
// page, Home to the top of the first.
TEST(SestavyWindows, ThePreviewTakesThePageKeysAtOnce)
{
    TSestavy report;
    report.SystemSetups = 0;
    const ReportLayout threePages{QPageLayout::Portrait, [](ReportDrawing &r) {
                                      r.SelectFont(QStringLiteral("Ariel CE"), 13);
                                      for (int page = 1; page <= 3; ++page) {
                                          if (page > 1)
                                              r.NewPage();
                                          r.PrintAt(QStringLiteral("Strana %1").arg(page), 1.0);
                                      }
                                  }};
    EXPECT_TRUE(runIntoPreview(report, threePages, [](QPrintPreviewDialog &preview) {
        auto *view = preview.findChild<QPrintPreviewWidget *>();
        auto *pages = view ? view->findChild<QGraphicsView *>() : nullptr;
        EXPECT_TRUE(pages);
        if (pages) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return view->pageCount() == 3; }));
            EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == pages; }))
                << "focus on " << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "nothing");
            QScrollBar *bar = pages->verticalScrollBar();
            EXPECT_EQ(bar->value(), bar->minimum());
            const struct {
                Qt::Key key;
                const char *where;
            } steps[] = {{Qt::Key_PageDown, "down"}, {Qt::Key_PageUp, "top"},   {Qt::Key_Down, "down"},
                         {Qt::Key_Home, "top"},      {Qt::Key_End, "bottom"}, {Qt::Key_Up, "down"},
                         {Qt::Key_Home, "top"}};
            for (const auto &step : steps) {
                QWidget *focus = QApplication::focusWidget();
                ASSERT_TRUE(focus);
                QTest::keyClick(focus, step.key);
                const QString where = QLatin1String(step.where);
                if (where == QLatin1String("top"))
                    EXPECT_EQ(bar->value(), bar->minimum()) << step.key;
                else if (where == QLatin1String("bottom"))
                    EXPECT_EQ(bar->value(), bar->maximum()) << step.key;
                else
                    EXPECT_TRUE(bar->value() > bar->minimum() && bar->value() < bar->maximum()) << step.key;
            }
        }
    }));
}

} // namespace
