// podklady-db: the administrator's tool of the source-document program.

#include "commands.h"
#include "options.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

int runConfig(const QStringList &args);
int runInit(const QStringList &args);
int runUser(const QStringList &args);
int runFirms(const QStringList &args);
int runBackup(const QStringList &args);
int runRestore(const QStringList &args);
int runCopy(const QStringList &args);
int runLocks(const QStringList &args);
int runUnlock(const QStringList &args);
int runRebuild(const QStringList &args);
int runImport(const QStringList &args);
int runCheck(const QStringList &args);
int runPrint(const QStringList &args);
int runOverview(const QStringList &args);
extern const DbCommand kIsdocCommand;

namespace {

const char *const kIniHelp =
    "  --ini CESTA  Kramora.ini, podle kterého se pracuje (bez volby ten vedle tohoto nástroje)\n";

const DbCommand kCommands[] = {
    // The commands, in the order the usage lists them.
    {"config", "[--template] [--ini CESTA]  vypíše konfiguraci, jak ji program čte",
     "Vypíše konfiguraci přesně tak, jak ji program čte z Kramora.ini: jeden řádek\n"
     "Klíč=hodnota na každý klíč souboru (adresáře začínající ~/ už v domovském adresáři).\n"
     "  --template   vypíše okomentovaný Kramora.ini pro databázi na tomto počítači\n",
     "  0 přečteno, 1 soubor chybí, 2 klíč s neplatnou hodnotou (celé číslo, číslo firmy,\n"
     "  AliasName), 3 soubor nelze číst, 64 chybné argumenty\n",
     runConfig, false, "--ini= --template"},
    {"init", "[--firm NNNN] [--demo] [--force] [--owner-name TEXT --owner-street TEXT --owner-town TEXT] "
             "[--user LOGIN --initials XY --name TEXT] [--ini CESTA]  založí tabulky firmy (s --demo ukázkový obchod)",
     "Založí tabulky firmy v databázi, kterou konfigurace určuje: v souboru SQLite\n"
     "CestaData + AliasName + .sqlite, nebo v databázi AliasName serveru PostgreSQL Host,\n"
     "která musí existovat. Vše proběhne v jedné transakci: při chybě zůstane databáze, jak byla.\n"
     "Firma bez --demo dostane záznam vlastníka, řádek čítačů dokladů a prvního uživatele;\n"
     "údaje vlastníka, které chybí, se na terminálu zeptá. Jsou-li už uživatelé v databázi,\n"
     "--user není třeba.\n"
     "  --firm NNNN          číslo firmy (bez volby Kramora= z konfigurace): čtyři znaky 0-9, A-Z\n"
     "  --demo               naplní tabulky ukázkovým obchodem\n"
     "  --force              tabulky firmy, které existují, založí znovu\n"
     "  --owner-name TEXT    název firmy vlastníka (VLA_FIR)\n"
     "  --owner-street TEXT  ulice vlastníka\n"
     "  --owner-town TEXT    město vlastníka\n"
     "  --user LOGIN         přihlašovací jméno prvního uživatele, s --initials a --name\n"
     "                       (heslo se zeptá dvakrát, nebo je s --password-stdin na vstupu)\n",
     "  0 hotovo, 1 odmítnuto nebo selhalo, 2 konfigurace chybí nebo je chybná,\n"
     "  64 chybné argumenty\n",
     runInit, false,
     "--ini= --firm= --demo --force --owner-name= --owner-street= --owner-town= --user= --initials= --name= "
     "--group= --password-stdin"},
    {"user", "list | add LOGIN --initials XY --name TEXT [--group G] [--password-stdin] | passwd LOGIN "
             "[--password-stdin] | remove LOGIN [--ini CESTA]  uživatelé programu",
     "Spravuje uživatele programu (sdílená tabulka Usr0000).\n"
     "  list            vypíše uživatele: kód, přihlašovací jméno, iniciály, skupinu, jméno\n"
     "  add LOGIN       přidá uživatele s dalším volným kódem; jméno se uloží velkými písmeny,\n"
     "                  jak je přihlášení porovnává\n"
     "  passwd LOGIN    změní heslo uživatele\n"
     "  remove LOGIN    odebere uživatele (i přihlášeného: program, který už běží, pracuje dál)\n"
     "  --initials XY   iniciály (2 znaky)\n"
     "  --name TEXT     příjmení a jméno (nejvýš 20 znaků; delší se zkrátí)\n"
     "  --group G       skupina uživatele (nejvýš 3 znaky)\n"
     "  --password-stdin  heslo je první řádek standardního vstupu; jinak se na terminálu\n"
     "                  zeptá dvakrát bez zobrazení\n"
     "Přihlašovací jméno má nejvýš 10 znaků, heslo nejvýš 10; delší se odmítnou.\n",
     "  0 hotovo, 1 odmítnuto nebo selhalo, 2 konfigurace, 64 chybné argumenty\n",
     runUser, false, "--ini= --initials= --name= --group= --password-stdin"},
    {"firms", "[--ini CESTA]  firmy v databázi: vlastník, počet podkladů, datum nejnovějšího",
     "Vypíše firmy, které konfigurovaná databáze obsahuje: číslo firmy, název vlastníka\n"
     "(Vla0000), počet podkladů a datum nejnovějšího podkladu.\n",
     "  0 vypsáno, 1 selhání databáze, 2 konfigurace, 64 chybné argumenty\n",
     runFirms, false, "--ini="},
    {"backup", "SOUBOR [--ini CESTA]  záloha databáze tohoto počítače za chodu stanic",
     "Zkopíruje databázi SQLite do SOUBORU za chodu stanic (online záloha SQLite: kopie\n"
     "jednoho okamžiku) a kopii zkontroluje (integrity_check). SOUBOR vznikne celý, nebo vůbec.\n"
     "U databáze na serveru PostgreSQL vypíše příkaz pg_dump pro tuto databázi.\n",
     "  0 zálohováno, 1 selhalo nebo databáze je na serveru, 2 konfigurace,\n"
     "  64 chybné argumenty\n",
     runBackup, false, "--ini="},
    {"restore", "SOUBOR [--force] [--ini CESTA]  vrátí zálohu na místo databáze tohoto počítače",
     "Vrátí zálohu SOUBOR na místo databáze SQLite. Odmítne, dokud má některá stanice\n"
     "zámek (podklady-db locks) nebo je databáze otevřená, ledaže je dáno --force.\n"
     "Nahrazená databáze zůstane vedle jako <databáze>.nahrazena-RRRRMMDD-HHMMSS.\n"
     "U databáze na serveru PostgreSQL vypíše příkaz pg_restore pro tuto databázi.\n"
     "  --force      obnoví i přes zámky a otevřená spojení (stanice je pak nutné spustit znovu)\n",
     "  0 obnoveno, 1 odmítnuto, selhalo nebo databáze je na serveru, 2 konfigurace,\n"
     "  64 chybné argumenty\n",
     runRestore, false, "--ini= --force"},
    {"copy", "--to JINY/Kramora.ini [--force] [--ini CESTA]  zkopíruje firmu do databáze jiné konfigurace",
     "Zkopíruje firmu této konfigurace do databáze, kterou určuje jiný Kramora.ini: ze SQLite\n"
     "na server PostgreSQL (obchod roste), nebo ze serveru do SQLite (snímek s sebou).\n"
     "Zkopíruje všechny tabulky firmy a sdílené tabulky (uživatelé, vlastník, ceníky) v jedné\n"
     "transakci v cíli, porovná počty řádků tabulku po tabulce a pak v cíli provede kontrolu\n"
     "jako `check`. Sdílená tabulka, která v cíli už řádky má, se ponechá. Stanice zdroje by\n"
     "během kopie neměly pracovat.\n"
     "  --to CESTA   Kramora.ini cíle (stejná firma)\n"
     "  --force      firmu, kterou cíl už má, a jeho sdílené tabulky nahradí\n",
     "  0 zkopírováno a zkontrolováno, 1 odmítnuto, selhalo nebo kontrola v cíli našla\n"
     "  rozdíly, 2 konfigurace, 64 chybné argumenty\n",
     runCopy, false, "--ini= --to= --force"},
    {"locks", "[--ini CESTA]  vypíše zámky stanic",
     "Vypíše zámky stanic: kód, klíč, uživatel, čas, stanice. Bez zámků vypíše jeden řádek.\n",
     "  0 hotovo, 1 selhání, 2 konfigurace, 64 chybné argumenty\n",
     runLocks, false, "--ini="},
    {"unlock", "KÓD KLÍČ [--station ADRESA] [--ini CESTA]  odstraní zámek, který stanice zanechala",
     "Odstraní jeden zámek, například ten, který zanechala havarovaná stanice. Číslo podkladu\n"
     "(POD) se doplní nulami na 10 znaků, číslo karty (SOR) na 6. Bez --station se zámek\n"
     "odstraní, jen když ho drží právě jedna stanice.\n",
     "  0 odstraněn, 1 zámek neexistuje, drží ho jiná stanice, nebo selhání, 2 konfigurace,\n"
     "  64 chybné argumenty\n",
     runUnlock, false, "--ini= --station="},
    {"rebuild", "KARTA [--ini CESTA]  přepočítá zásobu karty podle deníku",
     "Přepočítá zásobu jedné karty z počáteční zásoby a skladového deníku, jak to program dělá\n"
     "před pohybem, který je najde v nesouladu, a vypíše zásobu každé varianty a karty.\n",
     "  0 přepočteno, 1 karta neznámá nebo nezapsána každá zásoba, 2 konfigurace,\n"
     "  64 chybné argumenty\n",
     runRebuild, false, "--ini="},
    {"import", "--prepared ČÍSLO --supplier KÓD [--invoice TEXT] [--invoiced ČÁSTKA] [--yes] [--ini CESTA]  "
               "naimportuje připravenou dodávku do nové příjemky",
     "Naimportuje připravenou dodávku bez oken, pro plánovanou úlohu: vytvoří příjemku jako F9\n"
     "v editoru podkladu, pro daného dodavatele a jeho doklad, a vypíše řádek na každý záznam\n"
     "připraveného dokladu: naimportováno, nebo vynecháno s důvodem. Doklad už importovaný\n"
     "se importuje znovu jen s --yes. Dodávka se zaúčtuje celá, nebo vůbec; po ztrátě spojení\n"
     "se spojení obnoví a dodávka proběhne znovu.\n",
     "  0 naimportovány všechny řádky, 1 žádný (nebo selhala databáze), 3 některé řádky\n"
     "  vynechány (příjemka má ostatní), 2 konfigurace, 64 chybné argumenty\n",
     runImport, false, "--ini= --prepared= --supplier= --invoice= --invoiced= --yes"},
    {"check", "[--repair] [--ini CESTA]  porovná karty se skladovým deníkem a příjemky s jejich řádky v deníku",
     "Porovná každou kartu se skladovým deníkem a každou příjemku s jejími řádky v deníku\n"
     "(součty v nákupních a prodejních cenách, příjemka bez řádků, řádky bez příjemky)\n"
     "a vypíše každý rozdíl; nic nemění. Když je vše v pořádku, vypíše jeden řádek s tím,\n"
     "co zkontroloval. S --repair přepočítá právě karty, které se liší, nastaví součty\n"
     "příjemek, které se liší od svých řádků, vypíše každou změnu a zkontroluje znovu;\n"
     "nic nezaloží ani nesmaže.\n",
     "  0 vše souhlasí (po --repair: nic nezbylo), 1 rozdíly zůstávají nebo selhala\n"
     "  databáze, 2 konfigurace, 64 chybné argumenty\n",
     runCheck, false, "--ini= --repair"},
    {"print", "--doc ČÍSLO --pdf SOUBOR [--ini CESTA]  zapíše tisk podkladu jako PDF",
     "Zapíše tisk jednoho podkladu jako PDF, nakreslený tak, jak ho program tiskne.\n"
     "Když tisk selže, žádný soubor nezůstane.\n",
     "  0 zapsáno, 1 podklad neexistuje nebo tisk selhal, 2 konfigurace,\n"
     "  64 chybné argumenty\n",
     runPrint, true, "--ini= --doc= --pdf="},
    {"overview", "--from DD.MM.RRRR --to DD.MM.RRRR [--by-supplier] [--xlsx SOUBOR] [--pdf SOUBOR] [--ini CESTA]  "
                 "sestava dodávek: PrehledDodavek.txt zde, sešit a PDF na požádání",
     "Vytvoří sestavu dodávek za období jako program: PrehledDodavek.txt v aktuálním adresáři,\n"
     "sešit (--xlsx) a tisk (--pdf) na požádání. Dodávky jsou seřazeny podle čísla dokladu.\n"
     "  --by-supplier  seřadí podle dodavatele místo podle čísla dokladu\n",
     "  0 zapsáno, 1 soubor nelze zapsat nebo selhala databáze, 2 datum, které nelze\n"
     "  převést, nebo konfigurace, kterou nelze číst, 64 chybné argumenty\n",
     runOverview, true, "--ini= --from= --to= --by-supplier --xlsx= --pdf="},
    kIsdocCommand,
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

void printUsage(std::FILE *out)
{
    std::fprintf(out, "použití: podklady-db PŘÍKAZ [volby]\n"
                      "         podklady-db --help | PŘÍKAZ --help\n");
    for (const DbCommand &c : kCommands)
        if (c.name)
            std::fprintf(out, "  %s %s\n", c.name, c.usage);
}

int help()
{
    std::printf("podklady-db: nástroj správce programu Podklady příjmů od dodavatelů.\n\n");
    printUsage(stdout);
    std::printf("\nKaždý příkaz čte Kramora.ini vedle tohoto nástroje, pokud --ini neurčí jiný.\n"
                "`podklady-db PŘÍKAZ --help` řekne o příkazu víc.\n\n"
                "Návratový kód: 0 --help, 64 neznámý příkaz; každý příkaz uvádí své.\n");
    return 0;
}

int commandHelp(const DbCommand &c)
{
    std::printf("použití: podklady-db %s %s\n\n%s%s\nNávratový kód:\n%s", c.name, c.usage, c.help, kIniHelp,
                c.exits);
    return 0;
}

bool isHelp(const char *arg) { return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0; }

} // namespace

const DbCommand *findCommand(const QString &name)
{
    for (const DbCommand &c : kCommands)
        if (c.name && name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

int main(int argc, char **argv)
{
    if (argc > 1 && isHelp(argv[1]))
        return help();
    const DbCommand *command = argc > 1 ? findCommand(QString::fromLocal8Bit(argv[1])) : nullptr;
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
    if (!command) {
        if (argc > 1)
            std::fprintf(stderr, "podklady-db: neznámý příkaz %s\n", argv[1]);
        printUsage(stderr);
        return 64;
    }
    const QStringList args = QCoreApplication::arguments().mid(2);
    if (command->options) {
        const ToolArgs checked(args, command->options);
        if (!checked.error().isEmpty())
            return wrongArguments(command->name, checked.error());
    }
    return command->run(args);
}
