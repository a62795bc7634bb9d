// Reading Kramora.ini into the configuration, and the remembered window heights.

#include "recordingprompter.h"

#include "core/config.h"
#include "core/errors.h"
#include "core/profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class ConfigTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingPrompter prompts;
    Config cfg;

    void SetUp() override { cfg.ExePath = dir.path() + u'/'; }

    QString iniPath() const { return dir.filePath(QStringLiteral("Kramora.ini")); }
    void writeIni(const QByteArray &bytes)
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray iniBytes()
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Reads a file holding only the given lines in the section [Kramora].
    bool readWith(const QByteArray &lines)
    {
        writeIni("[Kramora]\r\n" + lines);
        return IniPrepare(cfg);
    }
};

TEST_F(ConfigTest, EmptySectionGivesEveryDefault)
{
    ASSERT_TRUE(readWith(""));
    const QString exe = dir.path() + u'/';
    EXPECT_EQ(cfg.DataVersion, QStringLiteral("2.63"));
    EXPECT_EQ(cfg.FirmNumber, QStringLiteral("0001"));
    EXPECT_EQ(cfg.VatRateHigh, 22);
    EXPECT_EQ(cfg.VatRateLow, 5);
    EXPECT_EQ(cfg.VatRateZero, 0);
    EXPECT_EQ(cfg.UserRequestType, 0);
    EXPECT_EQ(cfg.MainX, 10);
    EXPECT_EQ(cfg.MainY, 10);
    EXPECT_EQ(cfg.HlavniTiskarna, 1);
    EXPECT_EQ(cfg.Host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(cfg.AliasName, QStringLiteral("0001"));
    EXPECT_FALSE(cfg.TcpIp);
    EXPECT_EQ(cfg.ServerName, QStringLiteral("QMX"));
    EXPECT_EQ(cfg.StationName, QStringLiteral("USER"));
    EXPECT_EQ(cfg.ParagonovaTiskarna, 1);
    EXPECT_EQ(cfg.TypImportu, QStringLiteral("AVD"));
    EXPECT_EQ(cfg.PrintCopies, (std::array<int, 10>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(cfg.UctKodInt, QStringLiteral("2301"));
    EXPECT_EQ(cfg.UctKodExt, QStringLiteral("2302"));
    EXPECT_EQ(cfg.PriceMode, 2);
    EXPECT_EQ(cfg.DataPath, exe + QStringLiteral("data/"));
    EXPECT_EQ(cfg.PrivatePath, exe + QStringLiteral("Private/"));
    EXPECT_EQ(cfg.ExportPath, exe + QStringLiteral("Export/"));
    EXPECT_EQ(cfg.ImportPath, exe + QStringLiteral("Import/"));
    EXPECT_FALSE(cfg.LoginForm);
    EXPECT_TRUE(cfg.MatrixPrinter);
    EXPECT_EQ(cfg.DbUser, QString());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(ConfigTest, ValuesFromTheFile)
{
    ASSERT_TRUE(readWith("kramora=0007\r\nDan22=21\r\nDAN05=-3\r\nHost = db.example:5433 \r\n"
                         "Protocol=TCPIP\r\nPocetTiskuDodaku=2\r\nPocetTiskuObjednavky=4\r\n"
                         "CestaExport=\x01/exp/\r\nCestaData=/srv/data\r\nTypImportu=\r\n"
                         "DbUser= sklad \r\n"));
    EXPECT_EQ(cfg.FirmNumber, QStringLiteral("0007"));
    EXPECT_EQ(cfg.VatRateHigh, 21);
    EXPECT_EQ(cfg.VatRateLow, -3);
    EXPECT_EQ(cfg.Host, QStringLiteral("db.example:5433"));
    EXPECT_TRUE(cfg.TcpIp);
    EXPECT_EQ(cfg.PrintCopies, (std::array<int, 10>{1, 2, 1, 1, 1, 1, 1, 1, 1, 4}));
    // The second, untrimmed read of the export directory is the one that stands.
    EXPECT_EQ(cfg.ExportPath, QStringLiteral("\x01/exp/"));
    EXPECT_EQ(cfg.DataPath, QStringLiteral("/srv/data"));
    EXPECT_EQ(cfg.TypImportu, QString());
    EXPECT_EQ(cfg.DbUser, QStringLiteral("sklad"));
}

// One shared file gives each user directories of their own: "~/" is the home directory of
// whoever runs the program; a "~" elsewhere, or one not followed by "/", stays as written.
TEST_F(ConfigTest, DirectoriesUnderTheHomeDirectory)
{
    ASSERT_TRUE(readWith("CestaData=~/.local/share/podklady/data/\r\nCestaPrivate=~/Private\r\n"
                         "CestaExport=~export/\r\nCestaImport=/srv/~/import/\r\n"));
    EXPECT_EQ(cfg.DataPath, QDir::homePath() + QStringLiteral("/.local/share/podklady/data/"));
    EXPECT_EQ(cfg.PrivatePath, QDir::homePath() + QStringLiteral("/Private"));
    EXPECT_EQ(cfg.ExportPath, QStringLiteral("~export/"));
    EXPECT_EQ(cfg.ImportPath, QStringLiteral("/srv/~/import/"));
}

TEST_F(ConfigTest, TransportPriceModeAndBooleans)
{
    struct Case {
        const char *line;
        bool tcpIp;
        int priceMode;
        bool loginForm;
        bool matrixPrinter;
    };
    const Case cases[] = {
        {"Protocol=tcpip", false, 2, false, true},
        {"Protocol=TCPIP", true, 2, false, true},
        {"Protocol=TCP", false, 2, false, true},
        {"ZakladniCenySDPH=ano", false, 2, false, true},
        {"ZakladniCenySDPH=ANO", false, 2, false, true},
        {"ZakladniCenySDPH=Ne", false, 1, false, true},
        {"ZakladniCenySDPH=", false, 1, false, true},
        {"LoginForm=1", false, 2, true, true},
        {"LoginForm=5", false, 2, true, true},
        {"LoginForm=0x1", false, 2, true, true},
        {"LoginForm=-1", false, 2, true, true},
        {"LoginForm=ano", false, 2, false, true},
        {"LoginForm=0x", false, 2, false, true},
        {"MatrixPrinter=0", false, 2, false, false},
        {"MatrixPrinter=0x00", false, 2, false, false},
        {"MatrixPrinter=ne", false, 2, false, true},
        {"MatrixPrinter=", false, 2, false, true},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(readWith(QByteArray(c.line) + "\r\n")) << c.line;
        EXPECT_EQ(cfg.TcpIp, c.tcpIp) << c.line;
        EXPECT_EQ(cfg.PriceMode, c.priceMode) << c.line;
        EXPECT_EQ(cfg.LoginForm, c.loginForm) << c.line;
        EXPECT_EQ(cfg.MatrixPrinter, c.matrixPrinter) << c.line;
    }
}

TEST_F(ConfigTest, MalformedIntegerStopsTheRead)
{
    cfg.VatRateLow = -99;
    cfg.ServerName = QStringLiteral("before");
    writeIni("[Kramora]\r\nKramora=0005\r\nDan22=\r\nDan05=7\r\nServerName=X\r\n");
    try {
        IniPrepare(cfg);
        FAIL() << "no error";
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("'' není platné celé číslo"));
    }
    EXPECT_EQ(cfg.FirmNumber, QStringLiteral("0005")); // read before the bad key
    EXPECT_EQ(cfg.VatRateLow, -99);                     // after it: not touched
    EXPECT_EQ(cfg.ServerName, QStringLiteral("before"));

    // A malformed key late in the table: everything before it stands.
    writeIni("[Kramora]\r\nServerName=X\r\nPocetTiskuInventury=dva\r\n");
    EXPECT_THROW(IniPrepare(cfg), ConversionError);
    EXPECT_EQ(cfg.ServerName, QStringLiteral("X"));
    EXPECT_EQ(cfg.VatRateLow, 5);
}

// The firm number is spliced into table names: only four characters from 0–9 and A–Z
// are a firm number, anything else stops the read with the conversion error.
TEST_F(ConfigTest, FirmNumberMustBeFourDigitsOrCapitals)
{
    for (const char *good : {"0001", "0002", "A9Z0"}) {
        ASSERT_TRUE(readWith(QByteArray("Kramora=") + good + "\r\n"));
        EXPECT_EQ(cfg.FirmNumber, QLatin1String(good));
    }
    for (const char *bad : {"", "001", "00001", "0001\"", "00;1", "00 1", "a001", "Ř001", "0x01"}) {
        cfg.ServerName = QStringLiteral("before");
        EXPECT_THROW(readWith(QByteArray("Kramora=") + bad + "\r\nServerName=X\r\n"), ConversionError) << bad;
        EXPECT_EQ(cfg.ServerName, QStringLiteral("before")) << bad;   // the read stopped there
    }
}

// What stands where Kramora.ini is expected but is no configuration: a device (which
// never ends), a FIFO (which waits for a writer for ever), a directory and a file over
// 1 MiB are refused at once, each with a message naming the file.
TEST_F(ConfigTest, OnlyAPlainFileOfReasonableSizeIsRead)
{
    struct Case {
        const char *what;
        std::function<void(const QString &)> make;
        const char *reason;
    };
    const Case cases[] = {
        {"device", [](const QString &p) { ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), p)); },
         "není to obyčejný soubor"},
        {"fifo", [](const QString &p) { ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0); },
         "není to obyčejný soubor"},
        {"directory", [](const QString &p) { ASSERT_TRUE(QDir().mkdir(p)); }, "není to obyčejný soubor"},
        {"large", [](const QString &p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("[Kramora]\r\n");
             f.write(QByteArray(Profile::kMaxFileSize, ';'));
         }, "je větší než"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(iniPath());
        QDir(iniPath()).removeRecursively();
        c.make(iniPath());
        try {
            IniPrepare(cfg);
            ADD_FAILURE() << "read";
        } catch (const ConversionError &) {
            ADD_FAILURE() << "a conversion error";
        } catch (const AppError &e) {
            EXPECT_TRUE(e.text().contains(iniPath())) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.reason))) << e.text().toStdString();
        }
    }
    // A file of exactly the largest size is still read.
    QFile::remove(iniPath());
    QByteArray exact = "[Kramora]\r\nKramora=0007\r\n";
    exact += QByteArray(Profile::kMaxFileSize - exact.size(), ';');
    writeIni(exact);
    ASSERT_TRUE(IniPrepare(cfg));
    EXPECT_EQ(cfg.FirmNumber, QStringLiteral("0007"));
}

// An alias is the name of a database, on this computer a file in the data directory: a
// path, a parent directory or nothing at all is refused, so that the database never
// lies outside the data directory.
TEST_F(ConfigTest, AliasNameIsAFileNameNotAPath)
{
    for (const char *bad : {"../../x", "data/x", "..", ".", "a\\b", "/etc/passwd"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(readWith(QByteArray("AliasName=") + bad + "\r\n"), ConversionError);
    }
    EXPECT_THROW(readWith("AliasName=\r\n"), ConversionError);
    for (const char *good : {"0001", "obchod", "sklad.2026", "..x"}) {
        SCOPED_TRACE(good);
        ASSERT_TRUE(readWith(QByteArray("AliasName=") + good + "\r\n"));
        EXPECT_EQ(cfg.AliasName, QString::fromLatin1(good));
    }
}

TEST_F(ConfigTest, MissingFileShowsTheMessageAndKeepsBuiltIns)
{
    EXPECT_FALSE(IniPrepare(cfg));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0], QStringLiteral("Konfigurační soubor ") + iniPath() + QStringLiteral(" nenalezen !"));
    EXPECT_EQ(cfg.FirmNumber, QStringLiteral("0001"));
    EXPECT_EQ(cfg.DataPath, dir.path() + QStringLiteral("/data/"));
    EXPECT_EQ(cfg.ImportPath, dir.path() + QStringLiteral("/Import/"));
    EXPECT_EQ(cfg.MainX, 10);
}

TEST_F(ConfigTest, WindowHeightWrittenAndReadBack)
{
    const QByteArray before = "; sdilena konfigurace obchodu\r\n"
                              "[Kramora]\r\n"
                              "Kramora=0001\r\n"
                              "FakHeight=420\r\n"
                              "\r\n"
                              "[Pokladna]\r\n"
                              "VstHeight=999\r\n";
    writeIni(before);
    ASSERT_TRUE(IniPrepare(cfg));
    EXPECT_EQ(GetIniWinHigh(cfg, 8), 361);
    EXPECT_EQ(GetIniWinHigh(cfg, 1), 420);

    SeTIniWinHigh(cfg, 8, 500);
    EXPECT_EQ(GetIniWinHigh(cfg, 8), 500);
    EXPECT_EQ(iniBytes(), QByteArray("; sdilena konfigurace obchodu\r\n"
                                     "[Kramora]\r\n"
                                     "Kramora=0001\r\n"
                                     "FakHeight=420\r\n"
                                     "VstHeight=500\r\n"
                                     "\r\n"
                                     "[Pokladna]\r\n"
                                     "VstHeight=999\r\n"));
    SeTIniWinHigh(cfg, 8, 480); // now in place
    EXPECT_EQ(GetIniWinHigh(cfg, 8), 480);
    EXPECT_EQ(iniBytes().count("VstHeight"), 2);

    const QByteArray kept = iniBytes();
    SeTIniWinHigh(cfg, 0, 100);
    SeTIniWinHigh(cfg, 17, 100);
    EXPECT_EQ(iniBytes(), kept);
    EXPECT_EQ(GetIniWinHigh(cfg, 0), 0);
    EXPECT_EQ(GetIniWinHigh(cfg, 17), 0);

    writeIni("[Kramora]\r\nSorHeight=vysoko\r\n");
    EXPECT_THROW(GetIniWinHigh(cfg, 11), ConversionError);
}

// A shared file the user may not write keeps its heights, and closing the window is no error.
TEST_F(ConfigTest, WindowHeightOfAReadOnlyFileStays)
{
    writeIni("[Kramora]\r\nVstHeight=420\r\n");
    ASSERT_TRUE(QFile::setPermissions(iniPath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    if (QFileInfo(iniPath()).isWritable())
        GTEST_SKIP() << "this user may write any file (root)";
    EXPECT_NO_THROW(SeTIniWinHigh(cfg, 8, 500));
    EXPECT_EQ(GetIniWinHigh(cfg, 8), 420);
}

TEST_F(ConfigTest, WindowHeightWithoutFile)
{
    EXPECT_EQ(GetIniWinHigh(cfg, 8), 361);
    SeTIniWinHigh(cfg, 8, 500);
    EXPECT_FALSE(QFile::exists(iniPath()));
}

} // namespace
