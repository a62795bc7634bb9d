#include "options.h"

#include "commands.h"

#include "core/errors.h"
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

ToolArgs::ToolArgs(const QStringList &args, const char *accepted)
{
    QHash<QString, bool> takesValue;
    for (const QString &option : QString::fromLatin1(accepted).split(u' ', Qt::SkipEmptyParts)) {
        const bool valued = option.endsWith(u'=');
        takesValue.insert(valued ? option.chopped(1) : option, valued);
    }
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            m_positional.append(a);
            continue;
        }
        const auto known = takesValue.constFind(a);
        if (known == takesValue.constEnd()) {
            m_error = QStringLiteral("neznámá volba %1").arg(a);
            return;
        }
        if (!*known) {
            m_values.insert(a, QString());
        } else if (i + 1 < args.size()) {
            m_values.insert(a, args[++i]);
        } else {
            m_error = QStringLiteral("volba %1 potřebuje hodnotu").arg(a);
            return;
        }
    }
}

ToolArgs commandArgs(const QStringList &args, const char *name)
{
    return ToolArgs(args, findCommand(QLatin1String(name))->options);
}

int wrongArguments(const char *command, const QString &why)
{
    printErr(QStringLiteral("podklady-db %1: %2").arg(QLatin1String(command), why));
    if (const DbCommand *c = findCommand(QLatin1String(command)))
        printErr(QStringLiteral("použití: podklady-db %1 %2").arg(QLatin1String(c->name), QString::fromUtf8(c->usage)));
    return 64;
}

bool checkIniPath(const QString &ini, const QString &command)
{
    if (ini.isEmpty() || QFileInfo(ini).fileName() == QLatin1String("Kramora.ini"))
        return true;
    printErr(QStringLiteral("podklady-db %1: program čte jen soubor jménem Kramora.ini, ne %2").arg(command, ini));
    return false;
}

int checkArguments(const ToolArgs &args, const char *command, int most)
{
    if (args.positional().size() > most)
        return wrongArguments(command, QStringLiteral("nečekaný argument %1").arg(args.positional().value(most)));
    return checkIniPath(args.value(QStringLiteral("--ini")), QLatin1String(command)) ? 0 : 64;
}

bool takeIniOption(QStringList &args, const QString &command, QString &ini)
{
    const int at = args.indexOf(QStringLiteral("--ini"));
    if (at < 0)
        return true;
    if (at + 1 >= args.size()) {
        printErr(QStringLiteral("podklady-db %1: volba --ini potřebuje hodnotu").arg(command));
        return false;
    }
    ini = args[at + 1];
    args.remove(at, 2);
    return checkIniPath(ini, command);
}

QString exePathFor(const QString &ini)
{
    return ini.isEmpty() ? defaultExePath() : QFileInfo(ini).absolutePath() + u'/';
}

void printMissingConfigHint(const Config &cfg)
{
    printErr(QStringLiteral("Konfiguraci pro databázi na tomto počítači vypíše příkaz "
                            "`podklady-db config --template`; uložte ji jako %1 a upravte.")
                 .arg(iniFilePath(cfg)));
}

int readConfig(Config &cfg, const QString &ini)
{
    cfg.ExePath = exePathFor(ini);
    try {
        if (IniPrepare(cfg))
            return 0;
        printMissingConfigHint(cfg);
    } catch (const AppError &e) {
        printErr(e.text());
    }
    return 2;
}

std::unique_ptr<TData> connectedData(const QString &ini, int &exitCode)
{
    auto data = std::make_unique<TData>();
    exitCode = readConfig(*data, ini);
    if (exitCode != 0)
        return nullptr;
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

QString checkedSummary(TData &data)
{
    const auto count = [](store::Table &t) {
        t.Open();
        const qint64 n = t.RecordCount();
        t.Close();
        return n;
    };
    return QStringLiteral("Vše souhlasí: %1 karet a %2 příjemek porovnáno se skladovým deníkem (%3 pohybů)")
        .arg(count(data.ffSortiment))
        .arg(count(data.ffDodavky))
        .arg(count(data.ffDenik));
}

std::unique_ptr<TData> commandData(const ToolArgs &args, const char *command, int most, int &exitCode)
{
    exitCode = checkArguments(args, command, most);
    if (exitCode != 0)
        return nullptr;
    return connectedData(args.value(QStringLiteral("--ini")), exitCode);
}
