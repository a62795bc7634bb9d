// podklady-db config run as a process on configuration files.

#include "tool_run.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ToolRun runConfig(const QStringList &args)
{
    ToolRun r = runProgram(QStringLiteral(PODKLADY_DB), QStringList{QStringLiteral("config")} + args, 10000);
    EXPECT_EQ(r.status, QProcess::NormalExit);
    return r;
}

class ConfigToolTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("Kramora.ini"));

    void writeIni(const QByteArray &bytes)
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(ConfigToolTest, PrintsEveryMember)
{
    // Windows-1250 bytes in the file ("Účty"), printed as UTF-8.
    writeIni("; firma 2\r\n[Kramora]\r\nKramora=0002\r\nDan22=21\r\nProtocol=TCPIP\r\nHost=10.0.0.5\r\n"
             "PocetTiskuPrijemky=3\r\nZakladniCenySDPH=ne\r\nCestaImport=/srv/\xDA\xE8ty/\r\n"
             "LoginForm=0x1\r\nMatrixPrinter=0\r\nDbUser=sklad\r\n");
    const ToolRun r = runConfig({QStringLiteral("--ini"), ini});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString exe = dir.path() + u'/';
    EXPECT_EQ(r.out, QStringLiteral("Kramora=0002\n"
                                    "Dan22=21\n"
                                    "Dan05=5\n"
                                    "Dan00=0\n"
                                    "UserRequestType=0\n"
                                    "MainX=10\n"
                                    "MainY=10\n"
                                    "HlavniTiskarna=1\n"
                                    "Host=10.0.0.5\n"
                                    "AliasName=0001\n"
                                    "Protocol=TCPIP\n"
                                    "ServerName=QMX\n"
                                    "StationName=USER\n"
                                    "ParagonovaTiskarna=1\n"
                                    "TypImportu=AVD\n"
                                    "PocetTiskuFaktury=1\n"
                                    "PocetTiskuDodaku=1\n"
                                    "PocetTiskuDobropisu=1\n"
                                    "PocetTiskuVydejky=1\n"
                                    "PocetTiskuPrijemky=3\n"
                                    "PocetTiskuDodavky=1\n"
                                    "PocetTiskuPreceneni=1\n"
                                    "PocetTiskuInventury=1\n"
                                    "PocetTiskuProformy=1\n"
                                    "PocetTiskuObjednavky=1\n"
                                    "UctKodInt=2301\n"
                                    "UctKodExt=2302\n"
                                    "ZakladniCenySDPH=Ne\n"
                                    "CestaData=%1data/\n"
                                    "CestaPrivate=%1Private/\n"
                                    "CestaExport=%1Export/\n"
                                    "CestaImport=/srv/Účty/\n"
                                    "LoginForm=1\n"
                                    "MatrixPrinter=0\n"
                                    "DbUser=sklad\n")
                         .arg(exe));
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

TEST_F(ConfigToolTest, ExitCodesForFailures)
{
    ToolRun r = runConfig({QStringLiteral("--ini"), ini});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("Konfigurační soubor %1 nenalezen !\n").arg(ini)));
    EXPECT_TRUE(r.err.contains(QStringLiteral("podklady-db config --template"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    writeIni("[Kramora]\r\nDan05=pět\r\n");
    r = runConfig({QStringLiteral("--ini"), ini});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("'pět' není platné celé číslo\n"));
    EXPECT_TRUE(r.out.isEmpty());

    writeIni("[Kramora]\r\nAliasName=../../x\r\n");
    r = runConfig({QStringLiteral("--ini"), ini});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("AliasName '../../x'"))) << r.err.toStdString();

    r = runConfig({QStringLiteral("--ini"), dir.filePath(QStringLiteral("jiny.ini"))});
    EXPECT_EQ(r.exitCode, 64);
}

// The template, saved as Kramora.ini, is read by the program as its defaults: a database
// on this computer under data/ beside the program.
TEST_F(ConfigToolTest, TemplateIsAFileTheProgramReads)
{
    const ToolRun t = runConfig({QStringLiteral("--template")});
    ASSERT_EQ(t.exitCode, 0) << t.err.toStdString();
    EXPECT_TRUE(t.out.startsWith(QStringLiteral("; "))) << t.out.toStdString();
    writeIni(t.out.toUtf8());
    const ToolRun r = runConfig({QStringLiteral("--ini"), ini});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nProtocol=LOCAL\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nAliasName=0001\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nCestaData=%1/data/\n").arg(dir.path()))) << r.out.toStdString();
}

// Every command refuses an option it does not know, naming it, with exit 64; --help is in
// Czech for every command.
TEST(ToolArguments, UnknownOptionIsNamedAndHelpIsCzech)
{
    const QStringList commands{QStringLiteral("config"), QStringLiteral("init"), QStringLiteral("user"),
                               QStringLiteral("firms"), QStringLiteral("backup"), QStringLiteral("restore"),
                               QStringLiteral("copy"), QStringLiteral("locks"), QStringLiteral("unlock"),
                               QStringLiteral("rebuild"), QStringLiteral("import"), QStringLiteral("check"),
                               QStringLiteral("print"), QStringLiteral("overview")};
    for (const QString &command : commands) {
        SCOPED_TRACE(command.toStdString());
        const ToolRun bogus = runProgram(QStringLiteral(PODKLADY_DB), {command, QStringLiteral("--bogus")}, 10000);
        EXPECT_EQ(bogus.exitCode, 64);
        EXPECT_TRUE(bogus.err.contains(QStringLiteral("neznámá volba --bogus"))) << bogus.err.toStdString();
        const ToolRun help = runProgram(QStringLiteral(PODKLADY_DB), {command, QStringLiteral("--help")}, 10000);
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("použití: podklady-db ") + command)) << help.out.toStdString();
        EXPECT_TRUE(help.out.contains(QStringLiteral("Návratový kód:")));
    }
    const ToolRun unknown = runProgram(QStringLiteral(PODKLADY_DB), {QStringLiteral("zaloha")}, 10000);
    EXPECT_EQ(unknown.exitCode, 64);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("neznámý příkaz zaloha")));
    const ToolRun overview = runProgram(QStringLiteral(PODKLADY_DB), {QStringLiteral("overview"), QStringLiteral("--help")}, 10000);
    EXPECT_TRUE(overview.out.contains(QStringLiteral("seřazeny podle čísla dokladu"))) << overview.out.toStdString();
}

} // namespace
