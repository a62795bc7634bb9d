// podklady-db user list | add LOGIN … | passwd LOGIN | remove LOGIN [--ini PATH]: the
// users of the program in the shared table Usr0000.
// Exit codes: 0 done, 1 refused or failed, 2 configuration, 64 arguments.

#include "commands.h"
#include "options.h"
#include "terminal.h"
#include "users.h"

#include "core/errors.h"
#include "store/tdata.h"
#include "store/transaction.h"

namespace {

int listUsers(TData &data)
{
    store::Table &t = data.ffUzivatele;
    t.Open();
    int count = 0;
    for (t.First(); !t.Eof(); t.Next(), ++count)
        printOut(QStringList{data.ffUzivateleUSR_KOD.AsString(), data.ffUzivateleUSR_LNA.AsString(),
                             data.ffUzivateleUSR_INI.AsString(), data.ffUzivateleUSR_GRP.AsString(),
                             data.ffUzivateleUSR_NAC.AsString()}
                     .join(u'\t'));
    t.Close();
    if (count == 0)
        printOut(QStringLiteral("Žádní uživatelé: přidá je podklady-db user add"));
    return 0;
}

int addUser(TData &data, const ToolArgs &args, const QString &login)
{
    UserFields u{login, args.value(QStringLiteral("--initials")), args.value(QStringLiteral("--name")),
                 args.value(QStringLiteral("--group")), QString()};
    QStringList notes;
    const QStringList refused = CheckUserFields(u, notes);
    if (!refused.isEmpty()) {
        for (const QString &why : refused)
            printErr(why);
        return 1;
    }
    const std::optional<QString> password = readPassword(args.flag(QStringLiteral("--password-stdin")));
    if (!password)
        return 1;
    u.password = *password;
    const QString weak = CheckPassword(u.password);
    if (!weak.isEmpty()) {
        printErr(weak);
        return 1;
    }
    for (const QString &note : notes)
        printErr(note);
    const QString code = AddUser(data, u);
    printOut(QStringLiteral("Přidán uživatel %1 s kódem %2").arg(u.login, code));
    return 0;
}

// Stands the users table on the user with that login; false, with the reason printed,
// when there is none.
bool findUser(TData &data, const QString &login)
{
    store::Table &t = data.ffUzivatele;
    t.Open();
    if (t.Locate(data.ffUzivateleUSR_LNA, login))
        return true;
    printErr(QStringLiteral("Uživatel %1 neexistuje").arg(login));
    t.Close();
    return false;
}

int changePassword(TData &data, const ToolArgs &args, const QString &login)
{
    if (!findUser(data, login))
        return 1;
    data.ffUzivatele.Close();
    const std::optional<QString> password = readPassword(args.flag(QStringLiteral("--password-stdin")));
    if (!password)
        return 1;
    const QString refused = CheckPassword(*password);
    if (!refused.isEmpty()) {
        printErr(refused);
        return 1;
    }
    store::Transaction transaction(data.Database);
    if (!findUser(data, login))
        return 1;
    store::Table &t = data.ffUzivatele;
    t.Edit();
    data.ffUzivateleUSR_PSW.SetAsString(*password);
    t.Post();
    t.Close();
    transaction.commit();
    printOut(QStringLiteral("Heslo uživatele %1 změněno").arg(login));
    return 0;
}

int removeUser(TData &data, const QString &login)
{
    if (!findUser(data, login))
        return 1;
    const QString name = data.ffUzivateleUSR_NAC.AsString();
    data.ffUzivatele.Delete();
    data.ffUzivatele.Close();
    printOut(QStringLiteral("Odebrán uživatel %1 (%2)").arg(login, name));
    printOut(QStringLiteral("Je-li právě přihlášen, jeho program běží dál až do ukončení; znovu se už nepřihlásí."));
    return 0;
}

} // namespace

int runUser(const QStringList &arguments)
{
    const ToolArgs args = commandArgs(arguments, "user");
    const QStringList &words = args.positional();
    const QString what = words.value(0);
    const int wanted = what == QLatin1String("list") ? 1 : 2;
    if (words.isEmpty())
        return wrongArguments("user", QStringLiteral("chybí list, add, passwd nebo remove"));
    if (what != QLatin1String("list") && what != QLatin1String("add") && what != QLatin1String("passwd")
        && what != QLatin1String("remove"))
        return wrongArguments("user", QStringLiteral("neznámý příkaz %1").arg(what));
    if (words.size() != wanted)
        return wrongArguments("user", wanted == 1 ? QStringLiteral("list nemá další argumenty")
                                                  : QStringLiteral("%1 potřebuje přihlašovací jméno").arg(what));
    const bool adding = what == QLatin1String("add");
    for (const char *option : {"--initials", "--name", "--group"})
        if (!adding && args.flag(QLatin1String(option)))
            return wrongArguments("user", QStringLiteral("volba %1 patří k user add").arg(QLatin1String(option)));
    if (args.flag(QStringLiteral("--password-stdin")) && what != QLatin1String("add") && what != QLatin1String("passwd"))
        return wrongArguments("user", QStringLiteral("volba --password-stdin patří k user add a user passwd"));
    int exitCode = 0;
    const auto data = commandData(args, "user", 2, exitCode);
    if (!data)
        return exitCode;
    try {
        if (what == QLatin1String("list"))
            return listUsers(*data);
        if (adding)
            return addUser(*data, args, words[1]);
        const QString login = StoredLogin(words[1]);
        if (what == QLatin1String("passwd"))
            return changePassword(*data, args, login);
        return removeUser(*data, login);
    } catch (const AppError &e) {
        printErr(e.text());
        return 1;
    }
}
