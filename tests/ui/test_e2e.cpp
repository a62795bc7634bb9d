// The real windows driven by keys (and one click), on the offscreen platform and a real
// SQLite database. First a new source document: F2 in the list, the supplier code, Enter
// through the header, F2 for an item, card, price, quantity, markup and package size,
// "Zapiš", Escape; then the header and the item are in the tables with their number and
// values. Then, on that document: closing with an unknown supplier code, "Zapiš" refused
// until the packages are whole, Ctrl+Delete on an item and Alt+F4 in the item editor.

#include "firm_tables.h"
#include "recordingprompter.h"

#include "dbgrid.h"
#include "doklad_podklady_form.h"
#include "dodavky_form.h"
#include "podklady_pol_edit_form.h"
#include "screens_widgets.h"
#include "store/firmschema.h"
#include "store/tdata.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <initializer_list>
#include <optional>

namespace {

// A key press and release sent where the user's keyboard sends it: to the focused control.
void press(Qt::Key key, Qt::KeyboardModifiers shift = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the focus");
    QTest::keyClick(target, key, shift);
}

void type(const QString &text)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the focus");
    QTest::keyClicks(target, text);
}

// Types each text into the focused control and presses Enter after it, as a user filling
// a window field by field.
void enterEach(std::initializer_list<const char *> texts)
{
    for (const char *text : texts) {
        type(QString::fromUtf8(text));
        press(Qt::Key_Return);
    }
}

template <typename Window>
Window *waitForActive()
{
    Window *window = nullptr;
    const bool active = QTest::qWaitFor([&] {
        window = qobject_cast<Window *>(QApplication::activeModalWidget());
        return window && window->isActiveWindow();
    });
    return active ? window : nullptr;
}

// Closes a window whose script stopped at a failed check, so that its modal run ends
// and the test reports the failure instead of waiting for the user.
struct CloseUnlessDone {
    QWidget *window;
    const bool &done;
    ~CloseUnlessDone()
    {
        if (window && !done)
            window->close();
    }
};


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
        mainWindow.emplace();
        mainWindow->show();
        QVERIFY(QTest::qWaitForWindowActive(&*mainWindow));
    }

    void cleanup()
    {
        mainWindow.reset();
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

private:
    QTemporaryDir dir;
    TData data;
    std::optional<RecordingPrompter> prompts;
    std::optional<WidgetScreens> windows;
    std::optional<DodavkyWindow> mainWindow;
};

QTEST_MAIN(EndToEndTest)
#include "test_e2e.moc"
