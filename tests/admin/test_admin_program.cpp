// A firm made by `podklady-db init` without the demo, with its first user, is opened by
// the program: by the log-on name without a dialog, and by the login dialog.

#include "admin_fixture.h"
#include "recordingprompter.h"
#include "shown_window.h"

#include "app/login.h"
#include "app/program.h"

#include <QApplication>
#include <QTimer>
#include <QUuid>
#include <QWidget>
#include <gtest/gtest.h>

using namespace admintest;

namespace {

// Runs the program on the shop; the title of the window it shows (closed at once).
QString mainWindowOf(const Shop &shop, const QString &logOnName, LoginDialog &dialog, int &exitCode)
{
    QString title;
    takeTitleAndCloseShownWindow(title);
    const QString program = QStringLiteral("/opt/podklady-admin-") + QUuid::createUuid().toString(QUuid::Id128).left(10);
    exitCode = RunProgram({shop.path(QString()) + u'/', logOnName, QStringLiteral("10.0.0.9")}, dialog, program);
    return title;
}

TEST(AdminProgram, FirmFromInitWithoutDemoOpens)
{
    Shop shop(storetest::Backend::SQLite);
    const ToolRun init = shop.initFirm();
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    RecordingPrompter messages;

    ScriptedDialog none{QString(), QString()};
    int exitCode = -1;
    EXPECT_EQ(mainWindowOf(shop, QStringLiteral("spravce"), none, exitCode),
              QStringLiteral("Přehled podkladů příjmů od dodavatelů 1.30"));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(none.shown, 0);

    // Asked every time: the dialog's name and password.
    shop.writeIni(QStringLiteral("[Kramora]\r\nLoginForm=1\r\n") + IniDatabaseKeys(shop.params()));
    ScriptedDialog typed(QStringLiteral("spravce"), QStringLiteral("tajne"));
    EXPECT_EQ(mainWindowOf(shop, QStringLiteral("pokladni"), typed, exitCode),
              QStringLiteral("Přehled podkladů příjmů od dodavatelů 1.30"));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(typed.shown, 1);
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join(u'|').toStdString();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    PrepareApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
