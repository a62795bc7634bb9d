// podklady-db config [--template] [--ini PATH]: prints the configuration exactly as the
// program reads it from Kramora.ini (by default the one beside this tool), one Key=value
// a line under the file's own key names; with --template a commented file for the
// database on this computer.
// Exit codes: 0 read, 1 file missing, 2 a key with a value the program refuses, 3 the
// file cannot be read, 64 wrong arguments.

#include "commands.h"
#include "options.h"

#include "core/config.h"
#include "core/errors.h"

#include <QStringList>
#include <cstdio>

namespace {

// The ten print-count keys, in the order of Config::PrintCopies.
const char *const kPrintCopyKeys[10] = {
    "PocetTiskuFaktury", "PocetTiskuDodaku",    "PocetTiskuDobropisu", "PocetTiskuVydejky",
    "PocetTiskuPrijemky", "PocetTiskuDodavky",  "PocetTiskuPreceneni", "PocetTiskuInventury",
    "PocetTiskuProformy", "PocetTiskuObjednavky",
};

QString configText(const Config &cfg)
{
    const auto flag = [](bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); };
    QList<std::pair<const char *, QString>> lines = {
        {"Kramora", cfg.FirmNumber},
        {"Dan22", QString::number(cfg.VatRateHigh)},
        {"Dan05", QString::number(cfg.VatRateLow)},
        {"Dan00", QString::number(cfg.VatRateZero)},
        {"UserRequestType", QString::number(cfg.UserRequestType)},
        {"MainX", QString::number(cfg.MainX)},
        {"MainY", QString::number(cfg.MainY)},
        {"HlavniTiskarna", QString::number(cfg.HlavniTiskarna)},
        {"Host", cfg.Host},
        {"AliasName", cfg.AliasName},
        {"Protocol", cfg.TcpIp ? QStringLiteral("TCPIP") : QStringLiteral("LOCAL")},
        {"ServerName", cfg.ServerName},
        {"StationName", cfg.StationName},
        {"ParagonovaTiskarna", QString::number(cfg.ParagonovaTiskarna)},
        {"TypImportu", cfg.TypImportu},
    };
    for (int i = 0; i < 10; ++i)
        lines.append({kPrintCopyKeys[i], QString::number(cfg.PrintCopies[i])});
    lines += {
        {"UctKodInt", cfg.UctKodInt},
        {"UctKodExt", cfg.UctKodExt},
        {"ZakladniCenySDPH", cfg.PriceMode == 2 ? QStringLiteral("Ano") : QStringLiteral("Ne")},
        {"CestaData", cfg.DataPath},
        {"CestaPrivate", cfg.PrivatePath},
        {"CestaExport", cfg.ExportPath},
        {"CestaImport", cfg.ImportPath},
        {"LoginForm", flag(cfg.LoginForm)},
        {"MatrixPrinter", flag(cfg.MatrixPrinter)},
        {"DbUser", cfg.DbUser},
    };
    QString text;
    for (const auto &[key, value] : lines)
        text += QLatin1String(key) + u'=' + value + u'\n';
    return text;
}

// A configuration for the database on this computer, every value the program's default.
const char *const kTemplate =
    "; Konfigurace programu Podklady příjmů od dodavatelů (Kramora.ini vedle programu).\n"
    "; Databáze na tomto počítači: soubor SQLite CestaData + AliasName + .sqlite.\n"
    "; Stanice sdílené databáze na serveru PostgreSQL: Protocol=TCPIP, Host=server[:port],\n"
    "; AliasName=<databáze>, případně DbUser=<role>; heslo je v souboru ~/.pgpass.\n"
    "; Tabulky firmy založí: podklady-db init --user LOGIN --initials XY --name \"Příjmení Jméno\"\n"
    "[Kramora]\n"
    "; číslo firmy (přípona jmen tabulek): čtyři znaky 0-9, A-Z\n"
    "Kramora=0001\n"
    "; sazby DPH v procentech\n"
    "Dan22=22\n"
    "Dan05=5\n"
    "Dan00=0\n"
    "; LOCAL: databáze na tomto počítači; TCPIP: server PostgreSQL\n"
    "Protocol=LOCAL\n"
    "Host=127.0.0.1\n"
    "; jméno databáze: na tomto počítači jméno souboru v CestaData (bez .sqlite)\n"
    "AliasName=0001\n"
    "ServerName=QMX\n"
    "StationName=USER\n"
    "; prodejní ceny sortimentu jsou s DPH (Ano), nebo bez DPH (Ne)\n"
    "ZakladniCenySDPH=Ano\n"
    "; adresáře: bez klíče data/, Private/, Export/ a Import/ vedle programu; hodnota platí,\n"
    "; jak je napsána, ~/ na začátku je domovský adresář uživatele, například:\n"
    "; CestaData=~/.local/share/podklady/data/\n"
    "; CestaPrivate=~/.local/share/podklady/Private/\n"
    "; CestaExport=~/.local/share/podklady/Export/\n"
    "; CestaImport=~/.local/share/podklady/Import/\n"
    "; 1: při každém spuštění se ptát na jméno a heslo\n"
    "LoginForm=0\n";

} // namespace

int runConfig(const QStringList &arguments)
{
    const ToolArgs args = commandArgs(arguments, "config");
    if (const int wrong = checkArguments(args, "config"))
        return wrong;
    const QString ini = args.value(QStringLiteral("--ini"));
    if (args.flag(QStringLiteral("--template"))) {
        std::fputs(kTemplate, stdout);
        return std::fflush(stdout) == 0 ? 0 : 3;
    }
    Config cfg;
    cfg.ExePath = exePathFor(ini);
    try {
        if (!IniPrepare(cfg)) {
            printMissingConfigHint(cfg);
            return 1;
        }
    } catch (const ConversionError &e) {
        printErr(e.text());
        return 2;
    } catch (const AppError &e) {
        printErr(e.text());
        return 3;
    }
    const QByteArray out = configText(cfg).toUtf8();
    std::fwrite(out.constData(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 3;
}
