// The real windows driven by keys, on the offscreen platform and a real SQLite firm:
// Ctrl+O in the main window, the file typed into the open-file dialog, and in "Faktura
// dodavatele" a card picked for the ambiguous line (F4, the assortment picker), the lines
// without a card left out (Del) and the document written (F9), which then opens in the
// editor as a correction; the same invoice again, closed by Escape, writes nothing. A
// screenshot of the review window goes to the test output folder. Last, a bar code
// scanned into the item editor's card field (its digits and Enter at once) takes its card.

#include "isdoc_firm.h"
#include "key_script.h"
#include "recordingprompter.h"

#include "doklad_podklady_form.h"
#include "dodavky_form.h"
#include "faktura_dodavatele_form.h"
#include "podklady_pol_edit_form.h"
#include "prehled_sortimentu_form.h"
#include "screens_widgets.h"
#include "store/tdata.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <optional>

namespace {

// Runs script once a window of that class is the active modal window, from the event loop
// of that window: it checks every 20 ms and returns at once while the window is not there,
// so that a window still closing (the file dialog) can end first.
template <typename Window>
void whenActive(QObject *context, std::function<void()> script)
{
    auto *poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, context, [poll, script] {
        auto *window = qobject_cast<Window *>(QApplication::activeModalWidget());
        if (!window || !window->isActiveWindow())
            return;
        poll->stop();
        poll->deleteLater();
        script();
    });
    poll->start(20);
}

} // namespace

class IsdocWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        store::ConnectionParams params;
        params.sqliteFile = dir.filePath(QStringLiteral("0001.sqlite"));
        store::Database::CreateSQLiteFile(params.sqliteFile);
        data = FirmDataModule(params, QStringLiteral("0001"));
        FreshFirmSchema(data->Database, QStringLiteral("0001"));
        data->LocalAddress = QStringLiteral("10.0.0.1");
        FillIsdocFirm(*data);
        invoice = dir.filePath(QStringLiteral("faktura.isdoc"));
        QVERIFY(QFile::copy(IsdocFixture("nejednoznacna.isdoc"), invoice));
    }

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

    void anInvoiceReviewedAndWrittenByKeys()
    {
        bool reviewDone = false, editorDone = false;
        QTimer::singleShot(0, this, [&] {
            auto *files = waitForActive<QFileDialog>();
            QVERIFY(files);
            QCOMPARE(files->windowTitle(), QStringLiteral("Načíst fakturu ISDOC"));
            type(invoice);
            // The review window opens once the file dialog has ended.
            whenActive<FakturaDodavateleDialog>(this, [&] { review(reviewDone, editorDone); });
            press(Qt::Key_Return);
        });
        press(Qt::Key_O, Qt::ControlModifier);
        QVERIFY(reviewDone);
        QVERIFY(editorDone);
        QCOMPARE(prompts->messages, QStringList());

        QCOMPARE(data->ffPodklHlav.RecordCount(), 1);
        QCOMPARE(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000124"));
        QCOMPARE(data->ffPodklHlavHLA_DO2.AsString(), QStringLiteral("FV-0043"));
        QCOMPARE(data->ffPodklHlavHLA_EUR.AsFloat(), 20.0);
        QCOMPARE(data->ffPodklHlav.State(), store::DataSetState::Browse);
    }

private:
    // The review of the invoice by keys, once the file dialog has ended: a card picked for
    // the ambiguous line, the other lines without a card left out, the screenshot, F9.
    void review(bool &reviewDone, bool &editorDone)
    {
        {
            auto *review = waitForActive<FakturaDodavateleDialog>();
            CloseUnlessDone guard{review, reviewDone};
            QVERIFY2(review, qPrintable(prompts->messages.join(QLatin1Char('|'))));
            QCOMPARE(review->windowTitle(), QStringLiteral("Faktura dodavatele"));
            QTableWidget *lines = review->lines();
            QCOMPARE(QApplication::focusWidget(), lines);
            QCOMPARE(lines->rowCount(), 6);
            QCOMPARE(lines->item(0, 2)->text(), QStringLiteral("000010  Šroub M6"));
            QCOMPARE(lines->item(1, 2)->text(), QStringLiteral("nejednoznačné: 2 karty s kódem EAN 8594000000020"));
            QCOMPARE(lines->item(2, 1)->text(), QStringLiteral("nenalezeno"));
            QVERIFY(review->supplierLabel()->text().contains(QStringLiteral("000001  Alfa s.r.o.")));

            // F9 before every line has a card or is left out: told, nothing written.
            press(Qt::Key_F9);
            QCOMPARE(prompts->messages.takeLast(),
                     QStringLiteral("5 řádků faktury nemá kartu: vyberte kartu (F4), nebo řádek vynechte (Del)"));

            // The ambiguous line gets Kolík B from the picker, in name order.
            press(Qt::Key_Down);
            QTimer::singleShot(0, this, [&] {
                auto *picker = waitForActive<TPrehledSortimentuForm>();
                QVERIFY(picker);
                press(Qt::Key_Home, Qt::ControlModifier);   // Hřebík
                press(Qt::Key_Down);                        // Kolík A
                press(Qt::Key_Down);                        // Kolík B
                press(Qt::Key_Return);
            });
            press(Qt::Key_F4);
            QVERIFY(QTest::qWaitForWindowActive(review));
            QCOMPARE(lines->item(1, 2)->text(), QStringLiteral("000041  Kolík B"));
            QCOMPARE(lines->item(1, 1)->text(), QStringLiteral("vybráno"));
            for (int row = 2; row < 6; ++row) {
                press(Qt::Key_Down);
                press(Qt::Key_Delete);
                QCOMPARE(lines->item(row, 2)->text(), QStringLiteral("vynecháno"));
            }
            const QString out = qEnvironmentVariable("PODKLADY_TEST_OUTPUT", QDir::tempPath());
            QDir().mkpath(out);
            QVERIFY(review->grab().save(QDir(out).filePath(QStringLiteral("faktura-dodavatele.png"))));

            // Written, the document opens in the editor as a correction.
            QTimer::singleShot(0, this, [&] {
                auto *editor = waitForActive<DokladPodkladyDialog>();
                CloseUnlessDone guard{editor, editorDone};
                QVERIFY(editor);
                QCOMPARE(editor->supplierLabel(1)->text(), QStringLiteral("Alfa s.r.o."));
                QCOMPARE(data->ffPodklPol.RecordCount(), 2);
                editorDone = true;
                press(Qt::Key_Escape);
            });
            reviewDone = true;
            press(Qt::Key_F9);
        }
    }

private slots:
    void escapeInTheReviewWritesNothing()
    {
        bool done = false;
        QTimer::singleShot(0, this, [&] {
            auto *files = waitForActive<QFileDialog>();
            QVERIFY(files);
            type(invoice);
            whenActive<FakturaDodavateleDialog>(this, [&] {
                auto *review = waitForActive<FakturaDodavateleDialog>();
                CloseUnlessDone guard{review, done};
                QVERIFY(review);
                press(Qt::Key_Delete);
                done = true;
                press(Qt::Key_Escape);
            });
            press(Qt::Key_Return);
        });
        press(Qt::Key_O, Qt::ControlModifier);
        QVERIFY(done);
        QCOMPARE(data->ffPodklHlav.RecordCount(), 1);
        QCOMPARE(prompts->messages, QStringList());
    }

    void aScannedBarCodeTakesItsCard()
    {
        bool editorDone = false, itemDone = false;
        QTimer::singleShot(0, this, [&] {
            auto *editor = waitForActive<DokladPodkladyDialog>();
            CloseUnlessDone guard{editor, editorDone};
            QVERIFY(editor);
            type(QStringLiteral("000001"));
            press(Qt::Key_Return);
            QTimer::singleShot(0, this, [&] {
                auto *item = waitForActive<PodkladyPolEditDialog>();
                CloseUnlessDone guard{item, itemDone};
                QVERIFY(item);
                auto *card = static_cast<QLineEdit *>(item->control(TPodkladyPolEdit::DBEditTovel1));
                QCOMPARE(QApplication::focusWidget(), card);
                // A scanner: the digits and Enter with no pause between them.
                QTest::keyClicks(card, QStringLiteral("12345670"));
                QTest::keyClick(card, Qt::Key_Return);
                QCOMPARE(card->text(), QStringLiteral("000060"));
                QCOMPARE(data->ffPodklPolPOP_KAV.AsString(), QStringLiteral("000060"));
                QCOMPARE(data->ffPodklPolPOP_NAC.AsString(), QStringLiteral("Hřebík"));
                QCOMPARE(QApplication::focusWidget(), item->control(TPodkladyPolEdit::DBEditTovel2));
                itemDone = true;
                press(Qt::Key_Escape);
            });
            press(Qt::Key_F2);
            QVERIFY(itemDone);
            QVERIFY(QTest::qWaitForWindowActive(editor));
            editorDone = true;
            press(Qt::Key_Escape);
        });
        press(Qt::Key_F2);
        QVERIFY(editorDone);
        QCOMPARE(prompts->messages, QStringList());
    }

private:
    QTemporaryDir dir;
    std::unique_ptr<TData> data;
    QString invoice;
    std::optional<RecordingPrompter> prompts;
    std::optional<WidgetScreens> windows;
    std::optional<DodavkyWindow> mainWindow;
};

QTEST_MAIN(IsdocWindowsTest)
#include "test_isdoc_windows.moc"
