// podklady-db: the administrator's tool of the source-document program.

#include "commands.h"

#include <QCoreApplication>
#include <cstdio>

int runConfig(const QStringList &args);
int runInit(const QStringList &args);
int runLocks(const QStringList &args);
int runUnlock(const QStringList &args);
int runRebuild(const QStringList &args);

namespace {

const DbCommand kCommands[] = {
    // The commands, in the order the usage lists them.
    {"config", "[--ini PATH]  print the configuration as the program reads it", runConfig},
    {"init", "[--ini PATH] [--firm NNNN] [--demo] [--force]  create the tables of a firm (with --demo: a demo shop)", runInit},
    {"locks", "[--ini PATH]  list the lock records of the stations", runLocks},
    {"unlock", "CODE KEY [--station ADDRESS] [--ini PATH]  remove a lock record a station left behind", runUnlock},
    {"rebuild", "CARD [--ini PATH]  recompute the stock of a card from its journal", runRebuild},
    {nullptr, nullptr, nullptr},
};

int usage()
{
    std::fprintf(stderr, "usage: podklady-db COMMAND [options]\n");
    for (const DbCommand &c : kCommands)
        if (c.name)
            std::fprintf(stderr, "  %s %s\n", c.name, c.usage);
    return 64;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    for (const DbCommand &c : kCommands)
        if (c.name && name == QLatin1String(c.name))
            return c.run(args);
    return usage();
}
