// The login: automatic by the log-on name, or by the dialog's name and password.

#include "startup_fixture.h"

#include "app/login.h"
#include "app/startup.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using storetest::Backend;
using namespace startuptest;

namespace {

// Plays the user at the login dialog.
class ScriptedDialog final : public LoginDialog {
public:
    int Show(QString &name, QString &password) override
    {
        ++shown;
        name = typedName;
        password = typedPassword;
        return result;
    }
    QString typedName, typedPassword;
    int result = 1;
    int shown = 0;
};

class LoginTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        db = std::make_unique<storetest::TestDatabase>(GetParam());
        data = station(*db, QStringLiteral("10.0.0.1"));
        FreshFirmSchema(data->Database, data->FirmNumber);
        store::Table &users = data->ffUzivatele;
        users.Open();
        AppendRow(users, {{data->ffUzivateleUSR_KOD, "001"}, {data->ffUzivateleUSR_LNA, "ÚČETNÍ"},
                          {data->ffUzivateleUSR_PSW, ""}, {data->ffUzivateleUSR_INI, "ÚČ"},
                          {data->ffUzivateleUSR_GRP, "ADM"}, {data->ffUzivateleUSR_NAC, "Účetní Jana"}});
        AppendRow(users, {{data->ffUzivateleUSR_KOD, "002"}, {data->ffUzivateleUSR_LNA, "NOVAKOVAMA"},
                          {data->ffUzivateleUSR_PSW, "x"}, {data->ffUzivateleUSR_INI, "MN"},
                          {data->ffUzivateleUSR_GRP, "PRO"}, {data->ffUzivateleUSR_NAC, "Nováková Marie"}});
        AppendRow(users, {{data->ffUzivateleUSR_KOD, "003"}, {data->ffUzivateleUSR_LNA, "JAN"},
                          {data->ffUzivateleUSR_PSW, " Tajne1 "}, {data->ffUzivateleUSR_INI, "JS"},
                          {data->ffUzivateleUSR_GRP, "PRO"}, {data->ffUzivateleUSR_NAC, "Svoboda Jan"}});
        users.Close();
    }

    std::unique_ptr<storetest::TestDatabase> db;
    std::unique_ptr<TData> data;
    RecordingPrompter messages;
    ScriptedDialog dialog;
};

TEST_P(LoginTest, LogOnNameIsLookedUpInLocaleCapitalsWithoutDialog)
{
    EXPECT_EQ(Login(*data, dialog, QStringLiteral(" účetní ")), LoginOutcome::LoggedIn);
    EXPECT_EQ(dialog.shown, 0);
    EXPECT_EQ(data->UserFullName, QStringLiteral("Účetní Jana"));
    EXPECT_EQ(data->UserInitials, QStringLiteral("ÚČ"));
    EXPECT_EQ(data->UserCode, QStringLiteral("001"));
    EXPECT_EQ(data->UserGroup, QStringLiteral("ADM"));
    EXPECT_FALSE(data->ffUzivatele.Active());
}

TEST_P(LoginTest, LongLogOnNameIsLookedUpByItsFirstTenCharacters)
{
    EXPECT_EQ(Login(*data, dialog, QStringLiteral("novakovamarie")), LoginOutcome::LoggedIn);
    EXPECT_EQ(dialog.shown, 0);
    EXPECT_EQ(data->UserCode, QStringLiteral("002"));
}

TEST_P(LoginTest, DialogCases)
{
    struct Case {
        const char *name;
        const char *password;
        int result;
        LoginOutcome outcome;
        const char *message;  // nullptr: none shown
    };
    const Case cases[] = {
        {"jan", "tajne1", 1, LoginOutcome::LoggedIn, nullptr},        // a–z capitals, stored blanks trimmed
        {"Jan", "  TAJNE1 ", 1, LoginOutcome::LoggedIn, nullptr},     // typed blanks trimmed
        {"jan", "taj ne1", 1, LoginOutcome::Terminate, "Neplatné heslo !!!"},
        {"jan ", "tajne1", 1, LoginOutcome::Terminate, nullptr},      // the typed name is not trimmed
        {"účetní", "", 1, LoginOutcome::Terminate, nullptr},          // searched as účETNí: not found
        {"jan", "tajne1", 2, LoginOutcome::Terminate, nullptr},       // Storno
    };
    for (const Case &c : cases) {
        messages.messages.clear();
        dialog.typedName = QString::fromUtf8(c.name);
        dialog.typedPassword = QString::fromUtf8(c.password);
        dialog.result = c.result;
        data->UserCode.clear();
        EXPECT_EQ(Login(*data, dialog, QStringLiteral("nikdo")), c.outcome) << c.name << "/" << c.password;
        EXPECT_EQ(messages.messages, c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList())
            << c.name << "/" << c.password;
        EXPECT_EQ(data->UserCode.isEmpty(), c.outcome != LoginOutcome::LoggedIn);
        EXPECT_FALSE(data->ffUzivatele.Active());
    }
}

TEST_P(LoginTest, LoginFormAsksEvenWhenTheLogOnNameIsKnown)
{
    data->LoginForm = true;
    dialog.typedName = QStringLiteral("jan");
    dialog.typedPassword = QStringLiteral("tajne1");
    EXPECT_EQ(Login(*data, dialog, QStringLiteral("účetní")), LoginOutcome::LoggedIn);
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_EQ(data->UserCode, QStringLiteral("003"));
}

TEST_P(LoginTest, StoreErrorIsDroppedAutomaticallyAndShownWithLoginForm)
{
    data->Database.DropTable(QStringLiteral("Usr0000"));

    EXPECT_EQ(Login(*data, dialog, QStringLiteral("účetní")), LoginOutcome::Skipped);
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_EQ(data->UserFullName, TData::kDefaultUserFullName);

    data->LoginForm = true;
    dialog.typedName = QStringLiteral("jan");
    EXPECT_EQ(Login(*data, dialog, QStringLiteral("účetní")), LoginOutcome::Skipped);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_FALSE(messages.messages[0].isEmpty());
    EXPECT_EQ(data->UserFullName, TData::kDefaultUserFullName);
}

// Every station on a stock machine resolves its host name to the same loopback address;
// on a server the station is known by the address of its end of the connection instead.
// A database on this computer's disk keeps the host name's address.
TEST_P(LoginTest, TheStationIsKnownByTheAddressTheServerSees)
{
    QTemporaryDir dir;
    const store::ConnectionParams p = db->params();
    QByteArray ini = "[Kramora]\nKramora=0001\n";
    if (GetParam() == Backend::PostgreSQL) {
        ini += "Protocol=TCPIP\nHost=" + p.host.toUtf8() + ':' + QByteArray::number(p.port) + "\nAliasName="
            + p.database.toUtf8() + "\nDbUser=" + p.user.toUtf8() + '\n';
    } else {
        const QFileInfo file(p.sqliteFile);
        ini += "CestaData=" + file.absolutePath().toUtf8() + "/\nAliasName=" + file.completeBaseName().toUtf8() + '\n';
    }
    QFile f(dir.filePath(QStringLiteral("Kramora.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(ini);
    f.close();

    TData fresh;
    const StartupEnvironment env{dir.path() + u'/', QStringLiteral("účetní"), QStringLiteral("10.0.0.9")};
    ASSERT_TRUE(DataCreate(fresh, dialog, env)) << messages.messages.join(u'|').toStdString();
    EXPECT_EQ(fresh.LocalAddress, GetParam() == Backend::PostgreSQL ? QStringLiteral("127.0.0.1") : QStringLiteral("10.0.0.9"));
}

INSTANTIATE_TEST_SUITE_P(Engines, LoginTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
