#include "options.h"

#include "app/core/errors.h"
#include "store/connection.h"
#include "store/tdata.h"

#include <QFileInfo>
#include <QLocale>
#include <cstdio>

void printOut(const QString &text)
{
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
}

void printErr(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

QString formatNumber(double value)
{
    return QLocale::c().toString(value, 'g', 15);
}

bool takeIniOption(QStringList &args, const QString &command, QString &ini)
{
    const int at = args.indexOf(QStringLiteral("--ini"));
    if (at < 0)
        return true;
    if (at + 1 >= args.size()) {
        printErr(QStringLiteral("podklady-db %1: --ini needs a path").arg(command));
        return false;
    }
    ini = args[at + 1];
    args.remove(at, 2);
    if (QFileInfo(ini).fileName() != QLatin1String("Kramora.ini")) {
        printErr(QStringLiteral("podklady-db %1: the program reads only a file named Kramora.ini, not %2")
                     .arg(command, ini));
        return false;
    }
    return true;
}

QString exePathFor(const QString &ini)
{
    return ini.isEmpty() ? defaultExePath() : QFileInfo(ini).absolutePath() + u'/';
}

std::unique_ptr<TData> connectedData(const QString &ini, int &exitCode)
{
    auto data = std::make_unique<TData>();
    data->ExePath = exePathFor(ini);
    try {
        if (!IniPrepare(*data)) {
            exitCode = 2;   // the program's own message is already on stderr
            return nullptr;
        }
    } catch (const AppError &e) {
        printErr(e.text());
        exitCode = 2;
        return nullptr;
    }
    data->SetTableNames();
    try {
        data->Database.Connect(ConnectionParamsFor(*data));
    } catch (const AppError &e) {
        printErr(e.text());
        exitCode = 1;
        return nullptr;
    }
    return data;
}
