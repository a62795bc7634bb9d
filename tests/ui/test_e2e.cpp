// The real windows driven by keys (and one click), on the offscreen platform and a real
// SQLite database. First a new source document: F2 in the list, the supplier code, Enter
// through the header, F2 for an item, card, price, quantity, markup and package size,
// "Zapiš", Escape; then the header and the item are in the tables with their number and
// values. Then, on that document: closing with an unknown supplier code, "Zapiš" refused
// until the packages are whole, Ctrl+Delete on an item and Alt+F4 in the item editor.
// Then F9 in a new document imports a prepared delivery whose card must be rebuilt
// first: the rebuild's progress window and busy pointer are seen while it runs. Keys
// pressed in the editor while an import runs start nothing.

#include "../import/podklady_dbf_writer.h"
#include "firm_tables.h"
#include "key_script.h"
#include "recordingprompter.h"

#include "dbgrid.h"
#include "doklad_podklady_form.h"
#include "dodavky_form.h"
#include "podklady_pol_edit_form.h"
#include "prehled_zakazniku_form.h"
#include "reports/data_sestavy.h"
#include "screens_widgets.h"
#include "import/data_import.h"
#include "ui/form_podklady_import_form.h"
#include "ui/progres_win_form.h"
#include "store/firmschema.h"
#include "store/tables/index_names.h"
#include "store/tdata.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <initializer_list>
#include <optional>

namespace ix = store::tables::index;

namespace {

// Types each text into the focused control and presses Enter after it, as a user filling
// a window field by field.
void enterEach(std::initializer_list<const char *> texts)
{
    for (const char *text : texts) {
        type(QString::fromUtf8(text));
        press(Qt::Key_Return);
    }
}


// Plays the import dialog once it opens: types the number of the prepared delivery and
// presses "Import". `done` is set just before the press, and `beforeImport` runs then.
void importWhenAsked(QObject *context, const QString &number, bool &done,
                     const std::function<void()> &beforeImport = {})
{
    QTimer::singleShot(0, context, [&done, number, beforeImport] {
        auto *dialog = waitForActive<FormPodkladyImportDialog>();
        CloseUnlessDone guard{dialog, done};
        QVERIFY(dialog);
        type(number);
        press(Qt::Key_Return);   // on to "Storno"
        press(Qt::Key_Tab);      // "Import"
        done = true;
        if (beforeImport)
            beforeImport();
        press(Qt::Key_Space);
    });
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        data.FirmNumber = QStringLiteral("0001");
        data.LocalAddress = QStringLiteral("10.0.0.1");
        data.SetTableNames();
        store::ConnectionParams params;
        params.sqliteFile = dir.filePath(QStringLiteral("0001.sqlite"));
        store::Database::CreateSQLiteFile(params.sqliteFile);
        data.Database.Connect(params);
        CreateFirmSchema(data.Database, data.FirmNumber, false);
        AppendRow(data.ffCiselnik, {{data.ffCiselnikCIS_POD, "123"}});
        AppendRow(data.ffDodavatele, {{data.ffDodavateleDOD_KOD, "000001"},
                                      {data.ffDodavateleDOD_FIR, "Alfa s.r.o."},
                                      {data.ffDodavateleDOD_MES, "Brno"}});
        AppendRow(data.ffSortiment, {{data.ffSortimentSOR_KAV, "000010"},
                                     {data.ffSortimentSOR_NAC, "Šroub M6"}});
    }

    // Every test starts at the main window of the running program, shown and active, with
    // the messages recorded.
    void init()
    {
        prompts.emplace();
        windows.emplace();
        progress.emplace();
        mainWindow.emplace();
        mainWindow->show();
        QVERIFY(QTest::qWaitForWindowActive(&*mainWindow));
    }

    void cleanup()
    {
        mainWindow.reset();
        progress.reset();
        windows.reset();
        prompts.reset();
    }

    void aNewDocumentTypedByKeys()
    {
        QCOMPARE(QApplication::focusWidget(), mainWindow->grid());
        bool editorDone = false, itemDone = false;

        QTimer::singleShot(0, this, [&] {
            auto *editor = waitForActive<DokladPodkladyDialog>();
            CloseUnlessDone guard{editor, editorDone};
            QVERIFY(editor);
            QCOMPARE(editor->pos(), QPoint(data.MainLeft + 35, data.MainTop));
            QCOMPARE(QApplication::focusWidget(), editor->control(TDokladPodklady::DBEditTovel1));
            type(QStringLiteral("000001"));
            press(Qt::Key_Return);
            QCOMPARE(editor->supplierLabel(1)->text(), QStringLiteral("Alfa s.r.o."));
            QCOMPARE(QApplication::focusWidget(), editor->control(TDokladPodklady::ZandorDBDateEdit1));
            press(Qt::Key_Return);
            type(QStringLiteral("FA-77"));
            press(Qt::Key_Return);
            type(QStringLiteral("48"));
            press(Qt::Key_Return);
            press(Qt::Key_Return);   // the currency stays EUR
            type(QStringLiteral("25"));
            press(Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), editor->control(TDokladPodklady::DBGrid1));

            QTimer::singleShot(0, this, [&] {
                auto *item = waitForActive<PodkladyPolEditDialog>();
                CloseUnlessDone guard{item, itemDone};
                QVERIFY(item);
                QCOMPARE(QApplication::focusWidget(), item->control(TPodkladyPolEdit::DBEditTovel1));
                enterEach({"000010", "2", "24", "10", "6"});   // card, price, quantity, markup, package
                QCOMPARE(QApplication::focusWidget(), item->control(TPodkladyPolEdit::Button1));
                press(Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), item->control(TPodkladyPolEdit::Button2));
                itemDone = true;
                press(Qt::Key_Space);   // "Zapiš"
            });
            press(Qt::Key_F2);
            QVERIFY(itemDone);
            QCOMPARE(data.ffPodklPol.RecordCount(), 1);
            QVERIFY(QTest::qWaitForWindowActive(editor));
            editorDone = true;
            press(Qt::Key_Escape);
        });
        press(Qt::Key_F2);
        QVERIFY(editorDone);
        QCOMPARE(prompts->messages, QStringList());

        store::Table &header = data.ffPodklHlav;
        QCOMPARE(header.RecordCount(), 1);
        QCOMPARE(data.ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000124"));
        QCOMPARE(data.ffPodklHlavHLA_ODB.AsString(), QStringLiteral("000001"));
        QCOMPARE(data.ffPodklHlavHLA_NAC.AsString(), QStringLiteral("Alfa s.r.o."));
        QCOMPARE(data.ffPodklHlavHLA_DO2.AsString(), QStringLiteral("FA-77"));
        QCOMPARE(data.ffPodklHlavHLA_MEN.AsString(), QStringLiteral("EUR"));
        QCOMPARE(data.ffPodklHlavHLA_FAC.AsFloat(), 48.0);
        QCOMPARE(data.ffPodklHlavHLA_KUR.AsFloat(), 25.0);
        QCOMPARE(data.ffPodklHlavHLA_EUR.AsFloat(), 48.0);
        QCOMPARE(data.ffPodklHlavHLA_NCA.AsFloat(), 1320.0);
        QCOMPARE(data.ffPodklHlavHLA_DAT.AsDate(), QDate::currentDate());
        QTRY_COMPARE(mainWindow->grid()->gridModel()->currentRow(), 0);   // the list shows the new document

        store::Table &items = data.ffPodklPol;
        items.Open();
        QCOMPARE(items.RecordCount(), 1);
        QCOMPARE(data.ffPodklPolPOP_DOK.AsString(), QStringLiteral("0000000124"));
        QCOMPARE(data.ffPodklPolPOP_KAV.AsString(), QStringLiteral("000010"));
        QCOMPARE(data.ffPodklPolPOP_NAC.AsString(), QStringLiteral("Šroub M6"));
        QCOMPARE(data.ffPodklPolPOP_CNC.AsFloat(), 2.0);
        QCOMPARE(data.ffPodklPolPOP_CKU.AsFloat(), 24.0);
        QCOMPARE(data.ffPodklPolPOP_PRI.AsFloat(), 10.0);
        QCOMPARE(data.ffPodklPolPOP_BAL.AsFloat(), 6.0);
        QCOMPARE(data.ffPodklPolPOP_KUS.AsFloat(), 4.0);
        QCOMPARE(data.ffPodklPolPOP_NCS.AsFloat(), 330.0);
        items.Close();

        data.ffCiselnik.Open();
        QCOMPARE(data.ffCiselnikCIS_POD.AsString(), QStringLiteral("124"));
        data.ffCiselnik.Close();
        QCOMPARE(data.ffSemafor.Active(), false);
    }

    // Leaving an unknown supplier code for "Ukončení" opens no picker; the new document,
    // never numbered, is discarded.
    void closingWithAnUnknownSupplierCode()
    {
        bool editorDone = false;
        QTimer::singleShot(0, this, [&] {
            auto *editor = waitForActive<DokladPodkladyDialog>();
            CloseUnlessDone guard{editor, editorDone};
            QVERIFY(editor);
            type(QStringLiteral("999999"));
            editorDone = true;
            QTest::mouseClick(editor->closeButton(), Qt::LeftButton);
        });
        press(Qt::Key_F2);
        QVERIFY(editorDone);
        QVERIFY(!QApplication::activeModalWidget());   // no picker, no editor left open
        QCOMPARE(prompts->messages, QStringList());
        QCOMPARE(data.ffPodklHlav.RecordCount(), 1);
        data.ffCiselnik.Open();
        QCOMPARE(data.ffCiselnikCIS_POD.AsString(), QStringLiteral("124"));
        data.ffCiselnik.Close();
    }

    // "Zapiš" refuses a quantity that is not whole in packages and keeps the item editor
    // open at the package size; once corrected, the item is written into the document
    // being corrected.
    void zapisWaitsForWholePackages()
    {
        bool editorDone = false, itemDone = false;
        QTimer::singleShot(0, this, [&] {
            auto *editor = waitForActive<DokladPodkladyDialog>();
            CloseUnlessDone guard{editor, editorDone};
            QVERIFY(editor);
            QCOMPARE(editor->pos(), QPoint(data.MainLeft + 30, data.MainTop + 40));
            QCOMPARE(QApplication::focusWidget(), editor->control(TDokladPodklady::DBGrid1));
            QVERIFY(!editor->control(TDokladPodklady::DBEditTovel1)->isEnabled());
            QVERIFY(!editor->control(TDokladPodklady::DBEditTovel5)->isEnabled());
            QTimer::singleShot(0, this, [&] {
                auto *item = waitForActive<PodkladyPolEditDialog>();
                CloseUnlessDone guard{item, itemDone};
                QVERIFY(item);
                enterEach({"000010", "2", "25", "0", "6"});   // the markup must be a number
                press(Qt::Key_Tab);
                press(Qt::Key_Space);   // "Zapiš": 25 / 6 packages
                QCOMPARE(prompts->messages, QStringList{TPodkladyPolEdit::kNotWhole});
                QVERIFY(item->isVisible());
                QCOMPARE(QApplication::focusWidget(), item->control(TPodkladyPolEdit::DBEditTovel5));
                type(QStringLiteral("5"));
                press(Qt::Key_Tab);
                press(Qt::Key_Tab);
                itemDone = true;
                press(Qt::Key_Space);
            });
            press(Qt::Key_F2);
            QVERIFY(itemDone);
            QVERIFY(QTest::qWaitForWindowActive(editor));
            editorDone = true;
            press(Qt::Key_Escape);
        });
        press(Qt::Key_F4);
        QVERIFY(editorDone);
        QCOMPARE(prompts->messages.size(), 1);
        QCOMPARE(data.ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000124"));
        QCOMPARE(data.ffPodklHlavHLA_EUR.AsFloat(), 48.0 + 50.0);
        QCOMPARE(data.ffPodklHlavHLA_NCA.AsFloat(), 1320.0 + 5 * 50 * 5.0);
        data.ffSemafor.Open();
        QVERIFY(data.ffSemafor.IsEmpty());   // the document's lock is released
        data.ffSemafor.Close();
    }

    // Ctrl+Delete on the item list of a correction, confirmed, removes the item and its
    // totals; Alt+F4 closes the item editor with Cancel.
    void ctrlDeleteTakesAnItemOffTheTotals()
    {
        bool editorDone = false;
        QTimer::singleShot(0, this, [&] {
            auto *editor = waitForActive<DokladPodkladyDialog>();
            CloseUnlessDone guard{editor, editorDone};
            QVERIFY(editor);
            press(Qt::Key_Down);   // the second item: 25 × 2, written as 25 / 5
            press(Qt::Key_Delete, Qt::ControlModifier);
            QCOMPARE(prompts->messages, QStringList{QStringLiteral("Smazat položku ?")});
            QTimer::singleShot(0, this, [&] {
                QVERIFY(waitForActive<PodkladyPolEditDialog>());
                press(Qt::Key_F4, Qt::AltModifier);
            });
            press(Qt::Key_F4);   // correct the remaining item, then Alt+F4
            QCOMPARE(prompts->messages.last(), QStringLiteral("Nepotvrzen zápis do karty"));
            QVERIFY(QTest::qWaitForWindowActive(editor));
            editorDone = true;
            press(Qt::Key_Escape);
        });
        press(Qt::Key_F4);
        QVERIFY(editorDone);
        QCOMPARE(data.ffPodklHlavHLA_EUR.AsFloat(), 48.0);
        QCOMPARE(data.ffPodklHlavHLA_NCA.AsFloat(), 1320.0);
        QCOMPARE(data.ffPodklPol.Active(), false);
        data.ffPodklPol.Open();
        QCOMPARE(data.ffPodklPol.RecordCount(), 1);
        QCOMPARE(data.ffPodklPolPOP_CKU.AsFloat(), 24.0);
        data.ffPodklPol.Close();
    }

    // F9 in a new document: the document is numbered, the import dialog takes the number,
    // and the card, whose start-of-year stock the journal does not carry yet, is rebuilt
    // under its progress window before the line is posted.
    void importRebuildsTheCardUnderItsProgressWindow()
    {
        AppendRow(data.ffSortiment, {{data.ffSortimentSOR_KAV, "000020"},
                                     {data.ffSortimentSOR_NAC, "Vrut 4x40"}, {data.ffSortimentSOR_PC1, 5.0},
                                     {data.ffSortimentSOR_DAN, 21.0}, {data.ffSortimentSOR_SKL, true},
                                     {data.ffSortimentSOR_STA, 3.0}});
        AppendRow(data.ffSklad, {{data.ffSkladSKL_KAV, "000020"}, {data.ffSkladSKL_IND, "001"},
                                 {data.ffSkladSKL_POC, 3.0}, {data.ffSkladSKL_STA, 3.0},
                                 {data.ffSkladSKL_SNC, 2.0}});
        data.ffCiselnik.Open();
        data.ffCiselnik.Edit();
        data.ffCiselnikCIS_PRD.SetAsString(QStringLiteral("10"));
        data.ffCiselnik.Post();
        data.ffCiselnik.Close();
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("import")));
        data.ImportPath = dir.filePath(QStringLiteral("import")) + QLatin1Char('/');
        writePodkladyDbf(data.ImportPath + QStringLiteral("Pod0000.dbf"), {{"000020", "1", 2, "E2E"}}, 0x64, 0,
                         false, 2);

        // What a user sees of the progress window whenever events run.
        struct Seen {
            QString title, caption, text;
            int gauge = -1;
            bool busy = false;
        } seen;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *win = qobject_cast<ProgresWinWindow *>(w);
                if (!win || !win->isVisible())
                    continue;
                seen.title = win->windowTitle();
                seen.caption = win->RxLabel1();
                seen.text = win->Label1();
                seen.gauge = std::max(seen.gauge, win->Gauge1());
                const QCursor *cursor = QApplication::overrideCursor();
                seen.busy = seen.busy || (cursor && cursor->shape() == Qt::WaitCursor);
            }
        });
        watch.start(0);

        bool editorDone = false, importDone = false;
        QTimer::singleShot(0, this, [&] {
            auto *editor = waitForActive<DokladPodkladyDialog>();
            CloseUnlessDone guard{editor, editorDone};
            QVERIFY(editor);
            type(QStringLiteral("000001"));
            press(Qt::Key_Return);
            importWhenAsked(this, QStringLiteral("e2e"), importDone);
            press(Qt::Key_F9);
            QVERIFY(importDone);
            QVERIFY(QTest::qWaitForWindowActive(editor));
            editorDone = true;
            press(Qt::Key_Escape);
        });
        press(Qt::Key_F2);
        watch.stop();
        QVERIFY(editorDone);

        QCOMPARE(seen.title, QStringLiteral("Rekonstrukce skladové karty"));
        QCOMPARE(seen.caption, QStringLiteral("Název sortimentu "));
        QCOMPARE(seen.text, QStringLiteral("Vrut 4x40"));
        QCOMPARE(seen.gauge, 100);
        QVERIFY(seen.busy);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(prompts->messages, QStringList{QStringLiteral("3")});   // the rebuilt stock

        // The document is kept with the number last taken, the receipt names the prepared
        // document.
        data.ffCiselnik.Open();
        const QString last = data.ffCiselnikCIS_POD.AsString();
        data.ffCiselnik.Close();
        store::Table &header = data.ffPodklHlav;
        header.Last();
        QCOMPARE(data.ffPodklHlavHLA_DO1.AsString(), last.rightJustified(10, QLatin1Char('0')));
        QCOMPARE(data.ffPodklHlavHLA_ODB.AsString(), QStringLiteral("000001"));
        data.ffDodavky.Open();
        QCOMPARE(data.ffDodavky.RecordCount(), 1);
        QCOMPARE(data.ffDodavkyHLA_DO1.AsString(), QStringLiteral("0000000011"));
        QCOMPARE(data.ffDodavkyHLA_DO3.AsString(), QStringLiteral("E2E"));
        data.ffDodavky.Close();
        data.ffSklad.Open();
        data.ffSklad.SetIndexName(ix::ffSklad::KAV);
        QVERIFY(data.ffSklad.FindKey({QStringLiteral("000020"), QStringLiteral("001")}));
        QCOMPARE(data.ffSkladSKL_STA.AsFloat(), 5.0);
        data.ffSklad.Close();
    }

    // F8 and Shift+F8 in the list, and F8 in the editor, end in the modal preview of the
    // document, which Escape closes; the editor then closes as "Ukončení" does.
    void printingEndsInThePreview()
    {
        int previews = 0;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, this, [&] {
            // The progress window lets timers run while the pages are generated.
            auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
            if (!preview || !preview->isActiveWindow())
                return;
            poll.stop();
            ++previews;
            const bool titled = preview->windowTitle() == QStringLiteral("Náhled před tiskem");
            press(Qt::Key_Escape);
            if (preview->isVisible())
                preview->reject();
            QVERIFY(titled);
        });
        for (const Qt::KeyboardModifiers shift : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
            poll.start();
            press(Qt::Key_F8, shift);
            QVERIFY(QTest::qWaitForWindowActive(&*mainWindow));
        }
        QCOMPARE(previews, 2);
        QCOMPARE(data.ffPodklPol.Active(), false);

        bool editorDone = false;
        QTimer::singleShot(0, this, [&] {
            auto *editor = waitForActive<DokladPodkladyDialog>();
            CloseUnlessDone guard{editor, editorDone};
            QVERIFY(editor);
            poll.start();
            editorDone = true;
            press(Qt::Key_F8);
        });
        press(Qt::Key_F4);
        QVERIFY(editorDone);
        QCOMPARE(previews, 3);
        QVERIFY(!QApplication::activeModalWidget());   // the editor closed after printing
        QCOMPARE(prompts->messages, QStringList());
    }

    // A value typed into a header field is taken by the key that writes the header, as
    // leaving the field would take it: a refused text stops F2, an accepted one is written
    // with the number and stays shown. F4 on the empty item list does nothing.
    void editorKeysTakeTheTypedValue()
    {
        bool editorDone = false;
        QString number;   // the number the document is given
        int itemEditors = 0;
        QTimer::singleShot(0, this, [&] {
            auto *editor = waitForActive<DokladPodkladyDialog>();
            CloseUnlessDone guard{editor, editorDone};
            QVERIFY(editor);
            QWidget *amount = editor->control(TDokladPodklady::DBEditTovel2);
            // Every item editor that opens is counted and cancelled at once.
            QTimer itemCloser;
            connect(&itemCloser, &QTimer::timeout, this, [&] {
                auto *item = qobject_cast<PodkladyPolEditDialog *>(QApplication::activeModalWidget());
                if (item && item->isActiveWindow() && QApplication::focusWidget()) {
                    ++itemEditors;
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                }
            });
            itemCloser.start(20);
            type(QStringLiteral("000001"));
            press(Qt::Key_Return);
            press(Qt::Key_F4);   // no item list yet
            QCOMPARE(prompts->messages, QStringList());
            QCOMPARE(QApplication::activeModalWidget(), editor);
            press(Qt::Key_Return);
            press(Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), amount);

            type(QStringLiteral("25x"));
            press(Qt::Key_F2);   // refused as leaving the field refuses it: no number, no item
            QTest::qWait(100);
            QCOMPARE(itemEditors, 0);
            QCOMPARE(prompts->messages.size(), 1);
            QVERIFY(prompts->messages.front().contains(QStringLiteral("25x")));
            QCOMPARE(QApplication::focusWidget(), amount);
            QCOMPARE(data.ffPodklHlavHLA_DO1.AsString(), QString());

            type(QStringLiteral("250"));   // over the selected text
            press(Qt::Key_F2);
            QCOMPARE(itemEditors, 1);
            QVERIFY(QTest::qWaitForWindowActive(editor));
            // Numbered from the counter, whatever earlier tests took from it.
            number = data.ffPodklHlavHLA_DO1.AsString();
            QCOMPARE(number.size(), 10);
            QVERIFY(number.toLongLong() > 0);
            QCOMPARE(data.ffPodklHlavHLA_FAC.AsFloat(), 250.0);
            QCOMPARE(static_cast<QLineEdit *>(amount)->text(), QStringLiteral("250"));
            press(Qt::Key_F4);   // the numbered document has no item yet
            QCOMPARE(prompts->messages.size(), 1);
            editorDone = true;
            press(Qt::Key_Escape);
        });
        press(Qt::Key_F2);
        QVERIFY(editorDone);
        QCOMPARE(data.ffPodklHlavHLA_DO1.AsString(), number);
        QCOMPARE(data.ffPodklHlavHLA_FAC.AsFloat(), 250.0);
        QCOMPARE(data.ffPodklHlavHLA_ODB.AsString(), QStringLiteral("000001"));
    }

    // A document whose supplier is no longer in the register: F4 opens the supplier
    // picker; Escape there ends the correction, the stored code stays and the lock goes.
    void correctionWithoutASupplierKeepsTheStoredCode()
    {
        AppendRow(data.ffPodklHlav, {{data.ffPodklHlavHLA_DO1, "0000000999"},
                                     {data.ffPodklHlavHLA_ODB, "000077"},
                                     {data.ffPodklHlavHLA_NAC, "Zaniklá firma"},
                                     {data.ffPodklHlavHLA_MEN, "EUR"}, {data.ffPodklHlavHLA_KUR, 1.0},
                                     {data.ffPodklHlavHLA_DAT, QDate(2024, 3, 1)}});
        QCOMPARE(data.ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000999"));
        TDBGrid *list = mainWindow->grid();
        QTRY_COMPARE(list->model()->index(list->currentIndex().row(), 1).data().toString(),
                     QStringLiteral("0000000999"));
        bool pickerSeen = false, editorSeen = false;
        QTimer::singleShot(0, this, [&] {
            if (!waitForActive<TPrehledZakaznikuForm>())
                return;
            pickerSeen = true;
            // The editor must not open; should it, it is closed so that the test ends.
            QTimer::singleShot(0, this, [&] {
                if (QTest::qWaitFor([] { return qobject_cast<DokladPodkladyDialog *>(QApplication::activeModalWidget()); },
                                    300)) {
                    editorSeen = true;
                    press(Qt::Key_Escape);
                }
            });
            press(Qt::Key_Escape);
        });
        press(Qt::Key_F4);
        QTest::qWait(400);
        QVERIFY(pickerSeen);
        QVERIFY(!editorSeen);
        QCOMPARE(data.ffPodklHlav.State(), store::DataSetState::Browse);
        QCOMPARE(data.ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000999"));
        QCOMPARE(data.ffPodklHlavHLA_ODB.AsString(), QStringLiteral("000077"));
        QCOMPARE(data.ffPodklHlavHLA_NAC.AsString(), QStringLiteral("Zaniklá firma"));
        data.ffSemafor.Open();
        QVERIFY(data.ffSemafor.IsEmpty());
        data.ffSemafor.Close();
        QCOMPARE(prompts->messages, QStringList());
    }

    // While an import runs, the keys of the editor start nothing: F2 would open the item
    // editor and F4 correct an item, and both would close the assortment that the import
    // still works on, so that every later line failed. The import lets events run between
    // its lines; the keys are pressed then, as a clerk would press them.
    void keysDuringAnImportStartNothing()
    {
        const QStringList cards{QStringLiteral("000040"), QStringLiteral("000041"), QStringLiteral("000042"),
                                QStringLiteral("000043"), QStringLiteral("000044")};
        QVector<DbfLine> rows;
        for (const QString &card : cards) {
            AppendRow(data.ffSortiment, {{data.ffSortimentSOR_KAV, card}, {data.ffSortimentSOR_NAC, QStringLiteral("Hřebík ") + card},
                                         {data.ffSortimentSOR_PC1, 1.0}, {data.ffSortimentSOR_DAN, 21.0},
                                         {data.ffSortimentSOR_SKL, true}});
            AppendRow(data.ffSklad, {{data.ffSkladSKL_KAV, card}, {data.ffSkladSKL_IND, "001"}});
            rows.append({card, "1", 4, "KEYS"});
        }
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("import-keys")));
        data.ImportPath = dir.filePath(QStringLiteral("import-keys")) + QLatin1Char('/');
        writePodkladyDbf(data.ImportPath + QStringLiteral("Pod0000.dbf"), rows);
        // A document with one item, corrected from the list.
        AppendRow(data.ffPodklPol, {{data.ffPodklPolPOP_DOK, "0000000998"}, {data.ffPodklPolPOP_KAV, "000010"},
                                    {data.ffPodklPolPOP_CKU, 2.0}, {data.ffPodklPolPOP_CNC, 3.0},
                                    {data.ffPodklPolPOP_BAL, 1.0}});
        AppendRow(data.ffPodklHlav, {{data.ffPodklHlavHLA_DO1, "0000000998"}, {data.ffPodklHlavHLA_ODB, "000001"},
                                     {data.ffPodklHlavHLA_NAC, "Alfa s.r.o."}, {data.ffPodklHlavHLA_MEN, "EUR"},
                                     {data.ffPodklHlavHLA_KUR, 1.0}, {data.ffPodklHlavHLA_EUR, 6.0},
                                     {data.ffPodklHlavHLA_DAT, QDate(2024, 3, 1)}});
        TDBGrid *list = mainWindow->grid();
        QTRY_COMPARE(list->model()->index(list->currentIndex().row(), 1).data().toString(),
                     QStringLiteral("0000000998"));

        // Any other window that opens (item editor, preview, picker) is counted and closed.
        QStringList opened;
        QTimer other;
        connect(&other, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || qobject_cast<DokladPodkladyDialog *>(modal) || qobject_cast<FormPodkladyImportDialog *>(modal))
                return;
            opened << QString::fromLatin1(modal->metaObject()->className());
            modal->close();
        });
        other.start(10);
        bool keysPressed = false, editorDone = false, importDone = false;
        DokladPodkladyDialog *editor = nullptr;
        QTimer during;
        connect(&during, &QTimer::timeout, this, [&] {
            QWidget *focus = QApplication::focusWidget();
            if (keysPressed || !Data->ImportRunning || !editor || !focus || focus->window() != editor)
                return;
            keysPressed = true;
            for (const auto &[key, shift] : {std::pair{Qt::Key_F2, Qt::NoModifier}, std::pair{Qt::Key_F4, Qt::NoModifier},
                                             std::pair{Qt::Key_Delete, Qt::ControlModifier},
                                             std::pair{Qt::Key_F8, Qt::NoModifier},
                                             std::pair{Qt::Key_Escape, Qt::NoModifier}})
                press(key, shift);
        });
        QTimer::singleShot(0, this, [&] {
            editor = waitForActive<DokladPodkladyDialog>();
            CloseUnlessDone guard{editor, editorDone};
            QVERIFY(editor);
            QCOMPARE(QApplication::focusWidget(), editor->control(TDokladPodklady::DBGrid1));
            importWhenAsked(this, QStringLiteral("keys"), importDone, [&] { during.start(0); });
            press(Qt::Key_F9);
            during.stop();
            QVERIFY(importDone);
            QVERIFY(QTest::qWaitForWindowActive(editor));
            QCOMPARE(QApplication::activeModalWidget(), editor);   // Escape did not close it
            editorDone = true;
            press(Qt::Key_Escape);
        });
        press(Qt::Key_F4);
        other.stop();
        QVERIFY(editorDone);
        QVERIFY(keysPressed);
        QCOMPARE(opened, QStringList());
        QCOMPARE(prompts->messages, QStringList());
        // Every line of the delivery is posted; the document keeps its one item.
        data.ffSklad.Open();
        data.ffSklad.SetIndexName(ix::ffSklad::KAV);
        for (const QString &card : cards) {
            QVERIFY(data.ffSklad.FindKey({card, QStringLiteral("001")}));
            QCOMPARE(data.ffSkladSKL_STA.AsFloat(), 4.0);
        }
        data.ffSklad.Close();
        data.ffPodklPol.Open();
        data.ffPodklPol.SetIndexName(ix::ffPodklPol::DO1);
        data.ffPodklPol.SetRange({QStringLiteral("0000000998")}, {QStringLiteral("0000000998")});
        QCOMPARE(data.ffPodklPol.RecordCount(), 1);
        data.ffPodklPol.Close();
        QCOMPARE(data.ffPodklHlavHLA_EUR.AsFloat(), 6.0);
    }

private:
    QTemporaryDir dir;
    TData data;
    TDataSestavy reports;
    TDataImport importModule;   // the program's import module, as created at start-up
    std::optional<RecordingPrompter> prompts;
    std::optional<WidgetScreens> windows;
    std::optional<ProgresWinWindows> progress;
    std::optional<DodavkyWindow> mainWindow;
};

QTEST_MAIN(EndToEndTest)
#include "test_e2e.moc"
