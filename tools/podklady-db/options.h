#pragma once
// What the commands of podklady-db share: output, arguments, the configuration, and the
// data module connected as the program connects.

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

class TData;
struct Config;

void printOut(const QString &text);
void printErr(const QString &text);
// A number as the commands print it: up to 15 significant digits, a decimal point.
QString formatNumber(double value);

// The arguments of a command read against the options it takes: `accepted` lists them
// blank-separated, a trailing "=" on those that take a value ("--ini= --demo"). An
// argument starting with "--" is an option; the others are positional, in order.
class ToolArgs {
public:
    ToolArgs(const QStringList &args, const char *accepted);
    // Empty when every option is known and has its value; else what is wrong, in Czech
    // ("neznámá volba --bogus").
    const QString &error() const { return m_error; }
    bool flag(const QString &name) const { return m_values.contains(name); }
    QString value(const QString &name) const { return m_values.value(name); }
    const QStringList &positional() const { return m_positional; }

private:
    QHash<QString, QString> m_values;
    QStringList m_positional;
    QString m_error;
};

// The arguments of the command `name` read against its options (DbCommand::options).
ToolArgs commandArgs(const QStringList &args, const char *name);

// Prints "podklady-db COMMAND: why" and the command's usage line on stderr; returns 64.
int wrongArguments(const char *command, const QString &why);

// 64, with the reason and the usage printed, when the command got more positional
// arguments than `most` or its --ini does not name a file called Kramora.ini; else 0.
int checkArguments(const ToolArgs &args, const char *command, int most = 0);

// Takes "--ini PATH" out of args into ini. False, with the reason printed, when PATH is
// missing or does not name a file called Kramora.ini (the only name the program reads).
bool takeIniOption(QStringList &args, const QString &command, QString &ini);
// The same check for a path already taken: false, with the reason printed, unless it is
// empty or names a file called Kramora.ini.
bool checkIniPath(const QString &ini, const QString &command);

// The program's directory as the configuration sees it: the directory of ini, or the
// directory of this tool when ini is empty.
QString exePathFor(const QString &ini);

// After the program's message that the configuration file is missing: which command
// prints one for the database on this computer, and where to put it.
void printMissingConfigHint(const Config &cfg);

// Reads the configuration `ini` (the one beside this tool when empty) as the program does.
// 0 when read; else the reason is printed (for a missing file also how to write one) and
// the result is 2.
int readConfig(Config &cfg, const QString &ini);

// checkArguments, then connectedData for the command's --ini: nullptr with exitCode set
// (64 for the arguments) when either fails.
std::unique_ptr<TData> commandData(const ToolArgs &args, const char *command, int most, int &exitCode);

// A data module that has read the configuration, named its tables for the firm and
// connected, as the program does at start-up. On failure prints the reason and returns
// nullptr with exitCode set: 2 for a missing or malformed configuration, 1 when the
// database cannot be reached.
std::unique_ptr<TData> connectedData(const QString &ini, int &exitCode);

// The one line `check` prints when every card and receipt agrees with the journal: what
// was compared. Requires data connected.
QString checkedSummary(TData &data);
