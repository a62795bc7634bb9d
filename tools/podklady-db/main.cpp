// podklady-db: the administrator's tool of the source-document program.

#include "commands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

int runConfig(const QStringList &args);
int runInit(const QStringList &args);
int runLocks(const QStringList &args);
int runUnlock(const QStringList &args);
int runRebuild(const QStringList &args);
int runImport(const QStringList &args);
int runCheck(const QStringList &args);
int runPrint(const QStringList &args);
int runOverview(const QStringList &args);

namespace {

const DbCommand kCommands[] = {
    // The commands, in the order the usage lists them.
    {"config", "[--ini PATH]  print the configuration as the program reads it", runConfig},
    {"init", "[--ini PATH] [--firm NNNN] [--demo] [--force]  create the tables of a firm (with --demo: a demo shop)", runInit},
    {"locks", "[--ini PATH]  list the lock records of the stations", runLocks},
    {"unlock", "CODE KEY [--station ADDRESS] [--ini PATH]  remove a lock record a station left behind", runUnlock},
    {"rebuild", "CARD [--ini PATH]  recompute the stock of a card from its journal", runRebuild},
    {"import", "--prepared NUMBER --supplier CODE [--invoice TEXT] [--invoiced AMOUNT] [--yes] [--ini PATH]  import a prepared delivery into a new receipt", runImport},
    {"check", "[--repair] [--ini PATH]  compare every card with the stock journal (--repair: rebuild the cards that differ)", runCheck},
    {"print", "--doc NUMBER --pdf FILE [--ini PATH]  write the printout of a source document as a PDF", runPrint, true},
    {"overview", "--from DD.MM.YYYY --to DD.MM.YYYY [--by-supplier] [--xlsx FILE] [--pdf FILE] [--ini PATH]  the deliveries overview: PrehledDodavek.txt here, the workbook and the PDF when asked", runOverview, true},
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

const DbCommand *findCommand(const char *name)
{
    for (const DbCommand &c : kCommands)
        if (c.name && std::strcmp(name, c.name) == 0)
            return &c;
    return nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    const DbCommand *command = argc > 1 ? findCommand(argv[1]) : nullptr;
    std::unique_ptr<QCoreApplication> app;
    if (command && command->paints) {
        // A scheduled job has no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    if (!command)
        return usage();
    return command->run(QCoreApplication::arguments().mid(2));
}
