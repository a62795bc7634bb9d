// The program's run: what the user sees when the configuration or the server is missing,
// a normal start on a database, and a second copy handing over to the first.

#include "startup_fixture.h"
#include "shown_window.h"

#include "app/login.h"
#include "core/osinfo.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "store/connection.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUuid>
#include <QWidget>
#include <gtest/gtest.h>

using namespace startuptest;

namespace {

class NoDialog final : public LoginDialog {
public:
    int Show(QString &, QString &) override
    {
        ++shown;
        return 2;
    }
    int shown = 0;
};

void writeIni(const QTemporaryDir &dir, const QByteArray &extra = {})
{
    QFile f(dir.filePath(QStringLiteral("Kramora.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Kramora]\r\nKramora=0001\r\nAliasName=0001\r\nCestaData=" + dir.path().toUtf8() + "/data/\r\n" + extra);
}

StartupEnvironment envFor(const QTemporaryDir &dir, const QString &logOnName = QStringLiteral("pokladni"))
{
    return {dir.path() + u'/', logOnName, QStringLiteral("10.0.0.9")};
}

QString uniqueProgram()
{
    return QStringLiteral("/opt/podklady-test-") + QUuid::createUuid().toString(QUuid::Id128).left(10);
}

int visibleWindows()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += w->isVisible();
    return n;
}

TEST(Program, MissingConfigurationShowsOneMessageAndEnds)
{
    QTemporaryDir dir;
    RecordingPrompter messages;
    NoDialog login;
    EXPECT_NE(RunProgram(envFor(dir), login, uniqueProgram()), 0);
    EXPECT_EQ(messages.messages,
              QStringList{QStringLiteral("Konfigurační soubor ") + dir.path() + QStringLiteral("/Kramora.ini nenalezen !")});
    EXPECT_EQ(visibleWindows(), 0);
}

TEST(Program, UnreachableServerShowsOneMessageAndEnds)
{
    QTemporaryDir dir;
    writeIni(dir, "ServerName=SKLAD\r\nHost=192.0.2.7\r\n");   // no database file in data/
    RecordingPrompter messages;
    NoDialog login;
    EXPECT_NE(RunProgram(envFor(dir), login, uniqueProgram()), 0);
    EXPECT_EQ(messages.messages, QStringList{QStringLiteral("Aplikační server SKLAD@192.0.2.7 není dostupný ")});
    EXPECT_EQ(login.shown, 0);
    EXPECT_EQ(visibleWindows(), 0);
}

// A PostgreSQL server that answers but refuses the database shows the store's own reason
// (so that a wrong name is told apart from a stopped server); a port where nothing answers
// shows that the server is not available. Either way the program ends without a window.
TEST(Program, RefusedDatabaseShowsTheServersReasonAndEnds)
{
    STORETEST_REQUIRE_ENGINE(storetest::Backend::PostgreSQL);
    // The configuration names the database "0001", which the test server does not hold.
    const store::ConnectionParams server = storetest::pgParams(QString());
    const QByteArray user = server.user.isEmpty() ? QByteArray() : "DbUser=" + server.user.toUtf8() + "\r\n";
    struct Case {
        QByteArray host;
        QString expected;   // the whole message, or a part of the store's text
        bool whole;
    };
    const QByteArray reachable = server.host.toUtf8() + ':' + QByteArray::number(server.port);
    const QByteArray silent = server.host.toUtf8() + ":1";
    for (const Case &c : {Case{reachable, QStringLiteral("\"0001\""), false},
                          Case{silent, QStringLiteral("Aplikační server SKLAD@") + QString::fromUtf8(silent)
                                           + QStringLiteral(" není dostupný "), true}}) {
        QTemporaryDir dir;
        writeIni(dir, "Protocol=TCPIP\r\nServerName=SKLAD\r\nHost=" + c.host + "\r\n" + user);
        RecordingPrompter messages;
        NoDialog login;
        EXPECT_NE(RunProgram(envFor(dir), login, uniqueProgram()), 0);
        ASSERT_EQ(messages.messages.size(), 1) << c.host.constData();
        if (c.whole) {
            EXPECT_EQ(messages.messages.front(), c.expected);
        } else {
            EXPECT_TRUE(messages.messages.front().contains(c.expected)) << messages.messages.front().toStdString();
            EXPECT_FALSE(messages.messages.front().contains(QStringLiteral("Aplikační server")));
        }
        EXPECT_EQ(login.shown, 0);
        EXPECT_EQ(visibleWindows(), 0);
    }
}

// A firm on a fresh SQLite file with one user whose login name is the log-on name.
void prepareFirm(const QTemporaryDir &dir, const QString &loginName)
{
    writeIni(dir);
    TData data;
    data.ExePath = dir.path() + u'/';
    ASSERT_TRUE(IniPrepare(data));
    const store::ConnectionParams params = ConnectionParamsFor(data);
    QDir().mkpath(dir.filePath(QStringLiteral("data")));
    store::Database::CreateSQLiteFile(params.sqliteFile);
    data.Database.Connect(params);
    FreshFirmSchema(data.Database, data.FirmNumber);
    data.ffUzivatele.Open();
    AppendRow(data.ffUzivatele, {{data.ffUzivateleUSR_KOD, "001"}, {data.ffUzivateleUSR_LNA, loginName},
                                 {data.ffUzivateleUSR_NAC, "Pokladní Věra"}});
}

TEST(Program, KnownLogOnNameOpensTheMainWindow)
{
    QTemporaryDir dir;
    prepareFirm(dir, QStringLiteral("POKLADNI"));
    RecordingPrompter messages;
    NoDialog login;
    QString title;
    takeTitleAndCloseShownWindow(title);
    EXPECT_EQ(RunProgram(envFor(dir), login, uniqueProgram()), 0);
    EXPECT_EQ(title, QStringLiteral("Přehled podkladů příjmů od dodavatelů 1.30"));
    EXPECT_EQ(login.shown, 0);
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join(u'|').toStdString();
}

TEST(Program, FailedLoginEndsWithoutWindow)
{
    QTemporaryDir dir;
    prepareFirm(dir, QStringLiteral("POKLADNI"));
    RecordingPrompter messages;
    NoDialog login;   // the user cancels the dialog
    EXPECT_NE(RunProgram(envFor(dir, QStringLiteral("host")), login, uniqueProgram()), 0);
    EXPECT_EQ(login.shown, 1);
    EXPECT_EQ(visibleWindows(), 0);
}

// Two real copies of the program in one directory: the second hands over and ends.
TEST(Program, SecondCopyHandsOverToTheRunningOne)
{
    QTemporaryDir dir;
    prepareFirm(dir, GetWindowsUserName().toUpper().left(10));
    const QString program = dir.filePath(QStringLiteral("podklady"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PODKLADY_PROGRAM), program));
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);

    // A socket left behind by a copy that was killed would look like a running copy.
    const QString key = TOneInstance::keyFor(program, GetWindowsUserName());
    QLocalServer::removeServer(key);

    QProcess first;
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted(5000));
    // The first copy listens on its local socket once it has logged in.
    const QString socket = QDir::tempPath() + u'/' + key;
    for (int waited = 0; !QFile::exists(socket) && waited < 30000; waited += 50)
        QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(socket));
    ASSERT_EQ(first.state(), QProcess::Running);

    QProcess second;
    second.start(program, {});
    ASSERT_TRUE(second.waitForStarted(5000));
    EXPECT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(5000);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
