#include "config.h"

#include "errors.h"
#include "profile.h"
#include "prompter.h"
#include "textutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kSection = QStringLiteral("Kramora");
const int kDefaultWinHeight = 361;

// The keys of the remembered window heights, by kind 1–16.
const char *const kHeightKeys[16] = {
    "FakHeight", "DobHeight", "DodHeight", "PriHeight", "VydHeight", "PrfHeight", "OdbHeight", "VstHeight",
    "PrcHeight", "SklHeight", "SorHeight", "PohHeight", "UceHeight", "InvHeight", "PkdHeight", "ObjHeight",
};

const char *const kPrintCopyKeys[10] = {
    "PocetTiskuFaktury", "PocetTiskuDodaku",    "PocetTiskuDobropisu", "PocetTiskuVydejky",
    "PocetTiskuPrijemky", "PocetTiskuDodavky",  "PocetTiskuPreceneni", "PocetTiskuInventury",
    "PocetTiskuProformy", "PocetTiskuObjednavky",
};

// Reads the keys of the section, each with its default and conversion.
class Reader {
public:
    explicit Reader(const Profile &profile) : m_profile(profile) {}

    QString string(const char *key, const QString &def) const
    {
        return m_profile.readString(kSection, QLatin1String(key), def);
    }
    QString trimmed(const char *key, const QString &def) const { return TrimControl(string(key, def)); }
    int integer(const char *key, int def) const { return StrToInt(string(key, QString::number(def))); }

    // A directory as written, except that a leading "~/" stands for the home directory of
    // the user who runs the program: one shared file then gives every user a data
    // directory of their own.
    QString directory(const char *key, const QString &def) const
    {
        const QString text = string(key, def);
        if (text.startsWith(QLatin1String("~/")))
            return QDir::homePath() + text.mid(1);
        return text;
    }

    // An integer, non-zero for true; "0x" introduces hexadecimal digits. A value that is
    // not an integer, like a missing key, gives the default.
    bool boolean(const char *key, bool def) const
    {
        const std::optional<QString> text = m_profile.value(kSection, QLatin1String(key));
        if (!text)
            return def;
        bool ok = false;
        qint64 value = 0;
        if (text->startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
            const QString digits = text->mid(2);
            value = isHexDigits(digits) ? digits.toLongLong(&ok, 16) : 0;
            ok = ok && value <= 0xFFFFFFFFLL;
        } else {
            try {
                value = StrToInt(*text);
                ok = true;
            } catch (const ConversionError &) {
            }
        }
        return ok ? value != 0 : def;
    }

private:
    static bool isHexDigits(const QString &text)
    {
        if (text.isEmpty())
            return false;
        for (QChar c : text)
            if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
                return false;
        return true;
    }

    const Profile &m_profile;
};

} // namespace

QString defaultExePath() { return QCoreApplication::applicationDirPath() + u'/'; }

QString iniFilePath(const Config &cfg) { return cfg.ExePath + QStringLiteral("Kramora.ini"); }

bool IniPrepare(Config &cfg)
{
    if (cfg.ExePath.isEmpty())
        cfg.ExePath = defaultExePath();
    if (!cfg.ExePath.endsWith(u'/'))
        cfg.ExePath += u'/';
    const QString dataDir = cfg.ExePath + QStringLiteral("data/");
    const QString privateDir = cfg.ExePath + QStringLiteral("Private/");
    const QString exportDir = cfg.ExePath + QStringLiteral("Export/");
    const QString importDir = cfg.ExePath + QStringLiteral("Import/");
    cfg.DataVersion = QStringLiteral("2.63");
    cfg.DataPath = dataDir;
    cfg.PrivatePath = privateDir;
    cfg.ExportPath = exportDir;
    cfg.ImportPath = importDir;
    cfg.FirmNumber = QStringLiteral("0001");
    cfg.MainX = 10;
    cfg.MainY = 10;

    const QString path = iniFilePath(cfg);
    if (!QFileInfo::exists(path)) {
        prompter().ShowMessage(QStringLiteral("Konfigurační soubor ") + path + QStringLiteral(" nenalezen !"));
        return false;
    }
    const Profile profile(path);
    const Reader ini(profile);

    cfg.FirmNumber = CheckedFirmNumber(ini.string("Kramora", QStringLiteral("0001")));
    cfg.VatRateHigh = ini.integer("Dan22", 22);
    cfg.VatRateLow = ini.integer("Dan05", 5);
    cfg.VatRateZero = ini.integer("Dan00", 0);
    cfg.UserRequestType = ini.integer("UserRequestType", 0);
    cfg.ExportPath = ini.trimmed("CestaExport", exportDir);
    cfg.ImportPath = ini.trimmed("CestaImport", importDir);
    cfg.MainX = ini.integer("MainX", 10);
    cfg.MainY = ini.integer("MainY", 10);
    cfg.HlavniTiskarna = ini.integer("HlavniTiskarna", 1);
    cfg.Host = ini.trimmed("Host", QStringLiteral("127.0.0.1"));
    cfg.AliasName = CheckedAliasName(ini.trimmed("AliasName", QStringLiteral("0001")));
    cfg.TcpIp = ini.trimmed("Protocol", QStringLiteral("LOCAL")) == QLatin1String("TCPIP");
    cfg.ServerName = ini.trimmed("ServerName", QStringLiteral("QMX"));
    cfg.StationName = ini.trimmed("StationName", QStringLiteral("USER"));
    cfg.ParagonovaTiskarna = ini.integer("ParagonovaTiskarna", 1);
    cfg.TypImportu = ini.string("TypImportu", QStringLiteral("AVD"));
    for (int i = 0; i < 10; ++i)
        cfg.PrintCopies[i] = ini.integer(kPrintCopyKeys[i], 1);
    cfg.UctKodInt = ini.trimmed("UctKodInt", QStringLiteral("2301"));
    cfg.UctKodExt = ini.trimmed("UctKodExt", QStringLiteral("2302"));
    cfg.PriceMode = UpperAZ(ini.string("ZakladniCenySDPH", QStringLiteral("Ano"))) == QLatin1String("ANO") ? 2 : 1;
    cfg.DataPath = ini.directory("CestaData", dataDir);
    cfg.PrivatePath = ini.directory("CestaPrivate", privateDir);
    cfg.ExportPath = ini.directory("CestaExport", exportDir);
    cfg.ImportPath = ini.directory("CestaImport", importDir);
    cfg.LoginForm = ini.boolean("LoginForm", false);
    cfg.MatrixPrinter = ini.boolean("MatrixPrinter", true);
    cfg.DbUser = ini.trimmed("DbUser", QString());
    return true;
}

QString CheckedFirmNumber(const QString &text)
{
    bool ok = text.size() == 4;
    for (QChar c : text)
        ok = ok && ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z'));
    if (!ok)
        throw ConversionError(QStringLiteral("'%1' není platné číslo firmy (čtyři znaky 0–9, A–Z)").arg(text));
    return text;
}

QString CheckedAliasName(const QString &text)
{
    const bool path = text.contains(u'/') || text.contains(u'\\') || text.contains(QChar(0));
    if (text.isEmpty() || path || text == QLatin1String(".") || text == QLatin1String(".."))
        throw ConversionError(
            QStringLiteral("AliasName '%1' není platné jméno databáze: jméno souboru bez adresáře").arg(text));
    return text;
}

int GetIniWinHigh(const Config &cfg, int kind)
{
    if (kind < 1 || kind > 16)
        return 0;
    const Profile profile(iniFilePath(cfg));
    if (!profile.exists())
        return kDefaultWinHeight;
    return StrToInt(profile.readString(kSection, QLatin1String(kHeightKeys[kind - 1]),
                                       QString::number(kDefaultWinHeight)));
}

void SeTIniWinHigh(const Config &cfg, int kind, int height)
{
    if (kind < 1 || kind > 16)
        return;
    // A configuration the user may not write (one shared file of an installed program)
    // keeps the heights its administrator gave it.
    const QFileInfo file(iniFilePath(cfg));
    if (!file.exists() || !file.isWritable())
        return;
    Profile profile(file.filePath());
    profile.writeString(kSection, QLatin1String(kHeightKeys[kind - 1]), QString::number(height));
}
