#pragma once
// The commands of podklady-db. Each takes the arguments after its name and returns the
// process exit code; it prints its results on stdout and its errors on stderr.

#include <QStringList>

struct DbCommand {
    const char *name;
    const char *usage;   // one line: arguments and what the command does
    const char *help;    // what --help prints below the usage line
    const char *exits;   // the exit statuses the command uses, as --help lists them
    int (*run)(const QStringList &args);
    // The command paints reports (fonts, PDF): it runs in a GUI application, on the
    // offscreen platform unless QT_QPA_PLATFORM names another.
    bool paints = false;
    // The options the command takes, blank-separated, a trailing "=" on those that take a
    // value ("--ini= --demo"). Any other option is refused before the command runs.
    // Null: the command checks its arguments itself.
    const char *options = nullptr;
};

// The command of that name; nullptr for none.
const DbCommand *findCommand(const QString &name);
