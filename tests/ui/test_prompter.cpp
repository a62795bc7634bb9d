// The program's message and question boxes as real modal windows, with Qt's Czech
// catalogue installed as the program installs it: each box shows the captions the
// original platform shows in Czech, and its answer is the button pressed. A timer
// answers each box, since it runs its own event loop.

#include "ui/messagebox_prompter.h"
#include "ui/qt_czech.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// What the box looked like when it came up.
struct SeenBox {
    QString title;
    QStringList buttons;     // captions from left to right
    QString defaultButton;   // caption of the default button
};

// Waits for the modal message box, records it, then answers it: a click on the button
// with `press` as its caption, or Escape when `press` is empty.
void answerNextBox(SeenBox &seen, const QString &press)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [&seen, press, poll] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            QTimer::singleShot(10, *poll);
            return;
        }
        seen.title = box->windowTitle();
        QList<QAbstractButton *> buttons = box->buttons();
        std::sort(buttons.begin(), buttons.end(),
                  [](QAbstractButton *a, QAbstractButton *b) { return a->x() < b->x(); });
        for (QAbstractButton *b : buttons)
            seen.buttons.append(b->text());
        if (box->defaultButton())
            seen.defaultButton = box->defaultButton()->text();
        if (press.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton *b : buttons)
            if (b->text() == press) {
                b->click();
                return;
            }
        QTest::keyClick(box, Qt::Key_Escape);  // no such button: the check below fails
    };
    QTimer::singleShot(0, *poll);
}

} // namespace

class PrompterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(InstallQtCzech(), "Qt's Czech catalogue is installed");
    }

    void questions_data()
    {
        QTest::addColumn<bool>("yesNo");
        QTest::addColumn<QString>("press");
        QTest::addColumn<bool>("answer");
        QTest::newRow("OK") << false << "OK" << true;
        QTest::newRow("Storno") << false << "Storno" << false;
        QTest::newRow("Escape on OK/Storno") << false << "" << false;
        QTest::newRow("Ano") << true << "&Ano" << true;
        QTest::newRow("Ne") << true << "&Ne" << false;
        QTest::newRow("Escape on Ano/Ne") << true << "" << false;
    }

    void questions()
    {
        QFETCH(bool, yesNo);
        QFETCH(QString, press);
        QFETCH(bool, answer);
        MessageBoxPrompter prompts;
        SeenBox seen;
        answerNextBox(seen, press);
        const QString text = QStringLiteral("Smazat položku ?");
        const bool got = yesNo ? prompts.AskYesNo(text) : prompts.Confirm(text);
        QCOMPARE(seen.title, QStringLiteral("Potvrzení"));
        const QStringList captions = yesNo ? QStringList{QStringLiteral("&Ano"), QStringLiteral("&Ne")}
                                           : QStringList{QStringLiteral("OK"), QStringLiteral("Storno")};
        QCOMPARE(seen.buttons, captions);
        QCOMPARE(seen.defaultButton, captions.last());
        QCOMPARE(got, answer);
    }

    // A message has one button, "OK", whatever Qt's catalogue calls it.
    void message()
    {
        MessageBoxPrompter prompts;
        SeenBox seen;
        answerNextBox(seen, QStringLiteral("OK"));
        prompts.ShowMessage(QStringLiteral("Záznam nelze uložit"));
        QCOMPARE(seen.title, QStringLiteral("Podklady"));
        QCOMPARE(seen.buttons, QStringList{QStringLiteral("OK")});
    }
};

QTEST_MAIN(PrompterTest)
#include "test_prompter.moc"
