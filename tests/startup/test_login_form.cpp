// The login dialog driven by real keys on the offscreen platform.

#include "edittovel.h"
#include "app/login_form.h"

#include <QPushButton>
#include <QTest>

class TestLoginForm : public QObject {
    Q_OBJECT
private slots:
    void layoutAndTabOrder()
    {
        TLoginForm form;
        form.open();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(form.windowTitle(), QStringLiteral("Přihlašovací dialog uživatele"));
        QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(QApplication::focusWidget(), form.EditTovel1);
        QCOMPARE(form.EditTovel2->PasswordChar(), QLatin1Char('*'));

        // Enter moves on like Tab and closes nothing; Tab runs name, password, Storno, OK.
        QTest::keyClick(form.EditTovel1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), form.EditTovel2);
        QVERIFY(form.isVisible());
        QTest::keyClick(form.EditTovel2, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form.StornoButton);
        QTest::keyClick(form.StornoButton, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form.OkButton);
    }

    void escapeClosesNothingAndTheCloseBoxIsStorno()
    {
        TLoginForm form;
        form.open();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(form.EditTovel1, Qt::Key_Escape);
        QVERIFY(form.isVisible());
        form.close();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), 2);
    }

    void buttonsGiveTheirResults_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("result");
        QTest::newRow("OK") << true << 1;
        QTest::newRow("Storno") << false << 2;
    }
    void buttonsGiveTheirResults()
    {
        QFETCH(bool, ok);
        QFETCH(int, result);
        TLoginForm form;
        form.open();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClicks(form.EditTovel1, QStringLiteral("novak"));
        QPushButton *button = ok ? form.OkButton : form.StornoButton;
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);   // a focused button reacts to Enter
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), result);
        QCOMPARE(form.EditTovel1->text(), QStringLiteral("novak"));
    }
};

QTEST_MAIN(TestLoginForm)
#include "test_login_form.moc"
