// The program's save dialog, the real QFileDialog on the offscreen platform: what it
// shows, the suffix it adds, and Cancel.

#include "screens_widgets.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

class SaveDialogTest : public QObject {
    Q_OBJECT

private:
    // Plays the user in the dialog once it is up.
    void whenShown(std::function<void(QFileDialog &)> user)
    {
        QTimer::singleShot(0, this, [this, user] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog) {
                whenShown(user);   // not up yet
                return;
            }
            user(*dialog);
        });
    }

    static QString fileNameShown(QFileDialog &d)
    {
        auto *edit = d.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        return edit ? edit->text() : QString();
    }

private slots:
    void showsTitleDirectoryAndNameAndAddsTheSuffix()
    {
        QTemporaryDir dir;
        WidgetScreens screens;
        QString title, shownDir, shownName, filter;
        whenShown([&](QFileDialog &d) {
            title = d.windowTitle();
            shownDir = d.directory().absolutePath();
            shownName = fileNameShown(d);
            filter = d.nameFilters().join(u';');
            auto *edit = d.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            edit->setText(QStringLiteral("dodavka"));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        const QString path = screens.GetSaveFileName(QStringLiteral("Uložení XML File"), dir.path(),
                                                     QStringLiteral("0000000005"),
                                                     QStringLiteral("XML soubory (*.xml)"), QStringLiteral("xml"));
        QCOMPARE(title, QStringLiteral("Uložení XML File"));
        QCOMPARE(shownDir, QDir(dir.path()).absolutePath());
        QCOMPARE(shownName, QStringLiteral("0000000005"));
        QCOMPARE(filter, QStringLiteral("XML soubory (*.xml)"));
        QCOMPARE(path, QDir(dir.path()).absoluteFilePath(QStringLiteral("dodavka.xml")));
    }

    void cancelGivesNoName()
    {
        QTemporaryDir dir;
        WidgetScreens screens;
        whenShown([](QFileDialog &d) { QTest::keyClick(&d, Qt::Key_Escape); });
        QVERIFY(screens.GetSaveFileName(QStringLiteral("Uložení XML File"), dir.path(), QStringLiteral("1"),
                                        QStringLiteral("XML soubory (*.xml)"), QStringLiteral("xml"))
                    .isEmpty());
    }
};

QTEST_MAIN(SaveDialogTest)
#include "test_save_dialog.moc"
