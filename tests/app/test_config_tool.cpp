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
    EXPECT_EQ(r.out, QStringLiteral("FirmNumber=0002\n"
                                    "VatRateHigh=21\n"
                                    "VatRateLow=5\n"
                                    "VatRateZero=0\n"
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
                                    "PrintCopies=1,1,1,1,3,1,1,1,1,1\n"
                                    "UctKodInt=2301\n"
                                    "UctKodExt=2302\n"
                                    "PriceMode=1\n"
                                    "DataPath=%1data/\n"
                                    "PrivatePath=%1Private/\n"
                                    "ExportPath=%1Export/\n"
                                    "ImportPath=/srv/Účty/\n"
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
    EXPECT_EQ(r.err, QStringLiteral("Konfigurační soubor %1 nenalezen !\n").arg(ini));
    EXPECT_TRUE(r.out.isEmpty());

    writeIni("[Kramora]\r\nDan05=pět\r\n");
    r = runConfig({QStringLiteral("--ini"), ini});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("'pět' není platné celé číslo\n"));
    EXPECT_TRUE(r.out.isEmpty());

    r = runConfig({QStringLiteral("--ini"), dir.filePath(QStringLiteral("jiny.ini"))});
    EXPECT_EQ(r.exitCode, 64);
}

} // namespace
