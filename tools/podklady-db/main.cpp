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

const char *const kIniHelp =
    "  --ini PATH   the Kramora.ini to read (default: the one beside this tool)\n";

const DbCommand kCommands[] = {
    // The commands, in the order the usage lists them.
    {"config", "[--ini PATH]  print the configuration as the program reads it",
     "Prints the configuration exactly as the program reads it from Kramora.ini, one\n"
     "Member=value a line (directories written with a leading ~/ already in the home directory).\n",
     "  0 read, 1 the file is missing, 2 an integer key is not an integer,\n"
     "  3 the file cannot be read, 64 wrong arguments\n",
     runConfig},
    {"init", "[--ini PATH] [--firm NNNN] [--demo] [--force]  create the tables of a firm (with --demo: a demo shop)",
     "Creates the tables of a firm in the database the configuration names: the SQLite file\n"
     "DataPath + AliasName + .sqlite, or the PostgreSQL database AliasName on Host, which\n"
     "must exist. Everything happens in one transaction: a failure leaves the database as it was.\n"
     "  --firm NNNN  the firm number (default: Kramora= of the configuration)\n"
     "  --demo       fill the tables with a demo shop\n"
     "  --force      replace the firm's tables when they exist\n",
     "  0 done, 1 refused or failed, 2 the configuration is missing or malformed,\n"
     "  64 wrong arguments\n",
     runInit},
    {"locks", "[--ini PATH]  list the lock records of the stations",
     "Lists the lock records of the stations.\n",
     "  0 done, 1 a failure, 2 configuration, 64 wrong arguments\n",
     runLocks},
    {"unlock", "CODE KEY [--station ADDRESS] [--ini PATH]  remove a lock record a station left behind",
     "Removes one lock record, for example the one a crashed station left behind. Without\n"
     "--station the record is removed only when exactly one station holds it.\n",
     "  0 removed, 1 nothing to remove or a failure, 2 configuration, 64 wrong arguments\n",
     runUnlock},
    {"rebuild", "CARD [--ini PATH]  recompute the stock of a card from its journal",
     "Recomputes the stock of one card from its start-of-year stock and the stock journal,\n"
     "as the program does before a movement that finds them out of step, and prints the\n"
     "stock of each variant and of the card.\n",
     "  0 rebuilt, 1 card unknown or not every stock written, 2 configuration,\n"
     "  64 wrong arguments\n",
     runRebuild},
    {"import", "--prepared NUMBER --supplier CODE [--invoice TEXT] [--invoiced AMOUNT] [--yes] [--ini PATH]  import a prepared delivery into a new receipt",
     "Imports a prepared delivery without windows, for a scheduled job: creates the receipt\n"
     "as the document editor's F9 does, for the supplier and the supplier's document given,\n"
     "and prints one line per record of the prepared document: imported, or skipped with the\n"
     "reason. A prepared document already imported is imported again only with --yes.\n"
     "The delivery is posted whole or not at all; a lost connection is restored and the\n"
     "delivery run again.\n",
     "  0 every line imported, 1 none (or the database failed), 3 some lines skipped\n"
     "  (the receipt holds the others), 2 configuration, 64 wrong arguments\n",
     runImport},
    {"check", "[--repair] [--ini PATH]  compare every card with the stock journal and every receipt with its journal lines (--repair: rebuild the cards and set the receipt totals that differ)",
     "Compares every card with the stock journal, and every receipt with its lines in the\n"
     "journal (its totals at stock and sale prices, a receipt without lines, lines without\n"
     "their receipt), and lists each difference; it changes nothing. With --repair it\n"
     "rebuilds exactly the cards that differ, sets the totals of each receipt that differs\n"
     "from its lines, prints every stock and total it changed and checks again; it creates\n"
     "and deletes nothing.\n",
     "  0 everything agrees (after --repair: nothing left to report), 1 differences\n"
     "  remain or the database failed, 2 configuration, 64 wrong arguments\n",
     runCheck},
    {"print", "--doc NUMBER --pdf FILE [--ini PATH]  write the printout of a source document as a PDF",
     "Writes the printout of one source document as a PDF, drawn as the program prints it.\n"
     "No file is left behind when the printout fails.\n",
     "  0 written, 1 the document does not exist or the printout failed, 2 configuration,\n"
     "  64 wrong arguments\n",
     runPrint, true},
    {"overview", "--from DD.MM.YYYY --to DD.MM.YYYY [--by-supplier] [--xlsx FILE] [--pdf FILE] [--ini PATH]  the deliveries overview: PrehledDodavek.txt here, the workbook and the PDF when asked",
     "Makes the deliveries overview of a period as the program makes it: PrehledDodavek.txt\n"
     "in the current directory, the workbook (--xlsx) and the printout (--pdf) when asked.\n"
     "  --by-supplier  sorted by supplier instead of by date\n",
     "  0 written, 1 a file could not be written or the store failed, 2 a date that does\n"
     "  not convert or a configuration that cannot be read, 64 wrong arguments\n",
     runOverview, true},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

void printUsage(std::FILE *out)
{
    std::fprintf(out, "usage: podklady-db COMMAND [options]\n"
                      "       podklady-db --help | COMMAND --help\n");
    for (const DbCommand &c : kCommands)
        if (c.name)
            std::fprintf(out, "  %s %s\n", c.name, c.usage);
}

int usage()
{
    printUsage(stderr);
    return 64;
}

int help()
{
    std::printf("podklady-db: the administrator's tool of the source-document program.\n\n");
    printUsage(stdout);
    std::printf("\nEvery command reads the Kramora.ini beside this tool unless --ini names another.\n"
                "`podklady-db COMMAND --help` tells more about a command.\n\n"
                "Exit status: 0 --help, 64 an unknown command; each command lists its own.\n");
    return 0;
}

int commandHelp(const DbCommand &c)
{
    std::printf("usage: podklady-db %s %s\n\n%s%s\nExit status:\n%s", c.name, c.usage, c.help, kIniHelp, c.exits);
    return 0;
}

bool isHelp(const char *arg) { return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0; }

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
    if (argc > 1 && isHelp(argv[1]))
        return help();
    const DbCommand *command = argc > 1 ? findCommand(argv[1]) : nullptr;
    if (command)
        for (int i = 2; i < argc; ++i)
            if (isHelp(argv[i]))
                return commandHelp(*command);
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
