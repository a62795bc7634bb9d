#include "users.h"

#include "core/errors.h"
#include "core/textutil.h"
#include "store/tables/column_names.h"
#include "store/tables/tables.h"
#include "store/tdata.h"
#include "store/transaction.h"

#include <QSet>
#include <algorithm>

namespace {

namespace col = store::tables::column::ffUzivatele;

// The size of a field of the users table, in characters.
int sizeOf(const char *column)
{
    const store::TableDef &def = store::tables::uzivatele();
    return def.fields[def.fieldIndex(QLatin1String(column))].size;
}

// The next code: one more than the largest number in use, else the smallest free one.
QString nextCode(const QSet<int> &used)
{
    const int width = sizeOf(col::USR_KOD);
    int top = 1;
    for (int i = 0; i < width; ++i)
        top *= 10;
    --top;
    int largest = 0;
    for (int code : used)
        largest = std::max(largest, code);
    int code = largest + 1;
    for (int candidate = 1; code > top && candidate <= top; ++candidate)
        if (!used.contains(candidate))
            code = candidate;
    if (code > top)
        throw AppError(QStringLiteral("Volný kód uživatele už není (všechny do %1 jsou obsazeny)").arg(top));
    return QStringLiteral("%1").arg(code, width, 10, QChar(u'0'));
}

} // namespace

QString StoredLogin(const QString &login) { return UpperLocale(TrimControl(login)); }

QString CheckPassword(const QString &password)
{
    // A password is never cut, so that it stays the one typed.
    const int kSize = sizeOf(col::USR_PSW);
    if (password.size() > kSize)
        return QStringLiteral("Heslo má %1 znaků, vejde se nejvýš %2").arg(password.size()).arg(kSize);
    return {};
}

QStringList CheckUserFields(UserFields &u, QStringList &notes)
{
    const int kLogin = sizeOf(col::USR_LNA), kInitials = sizeOf(col::USR_INI), kGroup = sizeOf(col::USR_GRP),
              kName = sizeOf(col::USR_NAC);
    QStringList refused;
    u.login = StoredLogin(u.login);
    u.initials = TrimControl(u.initials);
    u.group = TrimControl(u.group);
    u.name = TrimControl(u.name);
    if (u.login.isEmpty())
        refused << QStringLiteral("Přihlašovací jméno chybí");
    else if (u.login.size() > kLogin)
        refused << QStringLiteral("Přihlašovací jméno %1 má %2 znaků, vejde se nejvýš %3")
                       .arg(u.login).arg(u.login.size()).arg(kLogin);
    if (u.initials.isEmpty())
        refused << QStringLiteral("Iniciály chybí (--initials)");
    else if (u.initials.size() > kInitials)
        refused << QStringLiteral("Iniciály %1 mají %2 znaků, vejdou se nejvýš %3")
                       .arg(u.initials).arg(u.initials.size()).arg(kInitials);
    if (u.group.size() > kGroup)
        refused << QStringLiteral("Skupina %1 má %2 znaků, vejdou se nejvýš %3").arg(u.group).arg(u.group.size()).arg(kGroup);
    if (u.name.size() > kName) {
        u.name = u.name.left(kName);
        notes << QStringLiteral("Jméno zkráceno na %1 znaků: %2").arg(kName).arg(u.name);
    }
    if (UpperAZ(u.login) != u.login)
        notes << QStringLiteral("Jméno %1 najde automatické přihlášení; v přihlašovacím dialogu je třeba psát "
                                "písmena s diakritikou velká")
                     .arg(u.login);
    return refused;
}

QString AddUser(TData &data, const UserFields &u)
{
    store::Table &t = data.ffUzivatele;
    // Two administrators adding at once get different codes, and never the same login.
    store::Transaction transaction(data.Database, t.TableName(), store::Transaction::Caller::MayHaveOne);
    t.Open();
    QSet<int> used;
    for (t.First(); !t.Eof(); t.Next()) {
        if (data.ffUzivateleUSR_LNA.AsString() == u.login)
            throw AppError(QStringLiteral("Uživatel %1 už existuje").arg(u.login));
        bool numeric = false;
        const int code = TrimControl(data.ffUzivateleUSR_KOD.AsString()).toInt(&numeric);
        if (numeric)
            used.insert(code);
    }
    const QString code = nextCode(used);
    t.Append();
    data.ffUzivateleUSR_KOD.SetAsString(code);
    data.ffUzivateleUSR_LNA.SetAsString(u.login);
    data.ffUzivateleUSR_PSW.SetAsString(u.password);
    data.ffUzivateleUSR_INI.SetAsString(u.initials);
    data.ffUzivateleUSR_GRP.SetAsString(u.group);
    data.ffUzivateleUSR_NAC.SetAsString(u.name);
    t.Post();
    t.Close();
    transaction.commit();
    return code;
}

bool HasUsers(TData &data)
{
    store::Table &t = data.ffUzivatele;
    t.Open();
    const bool any = !t.IsEmpty();
    t.Close();
    return any;
}
