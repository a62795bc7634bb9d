// podklady-db config [--ini PATH]: prints the configuration exactly as the program reads
// it from Kramora.ini (by default the one beside this tool), one Member=value a line.
// Exit codes: 0 read, 1 file missing, 2 an integer key is not an integer, 3 the file
// cannot be read, 64 wrong arguments.

#include "options.h"

#include "app/core/config.h"
#include "app/core/errors.h"

#include <QStringList>
#include <cstdio>

namespace {

QString configText(const Config &cfg)
{
    QStringList copies;
    for (int n : cfg.PrintCopies)
        copies << QString::number(n);
    const auto flag = [](bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); };
    const QList<std::pair<const char *, QString>> lines = {
        {"FirmNumber", cfg.FirmNumber},
        {"VatRateHigh", QString::number(cfg.VatRateHigh)},
        {"VatRateLow", QString::number(cfg.VatRateLow)},
        {"VatRateZero", QString::number(cfg.VatRateZero)},
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
        {"PrintCopies", copies.join(u',')},
        {"UctKodInt", cfg.UctKodInt},
        {"UctKodExt", cfg.UctKodExt},
        {"PriceMode", QString::number(cfg.PriceMode)},
        {"DataPath", cfg.DataPath},
        {"PrivatePath", cfg.PrivatePath},
        {"ExportPath", cfg.ExportPath},
        {"ImportPath", cfg.ImportPath},
        {"LoginForm", flag(cfg.LoginForm)},
        {"MatrixPrinter", flag(cfg.MatrixPrinter)},
        {"DbUser", cfg.DbUser},
    };
    QString text;
    for (const auto &[member, value] : lines)
        text += QLatin1String(member) + u'=' + value + u'\n';
    return text;
}

} // namespace

int runConfig(const QStringList &args)
{
    QStringList rest = args;
    QString ini;
    if (!takeIniOption(rest, QStringLiteral("config"), ini) || !rest.isEmpty()) {
        printErr(QStringLiteral("usage: podklady-db config [--ini PATH/Kramora.ini]"));
        return 64;
    }
    Config cfg;
    cfg.ExePath = exePathFor(ini);

    try {
        if (!IniPrepare(cfg))
            return 1; // the program's own message is already on stderr
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
