// System tables: the users shared by all firms and the lock records of all stations.

#include "tables.h"
#include "builders.h"

namespace store::tables {

using namespace build;

namespace {

TableDef makeUzivatele()
{
    TableDef t = fixedName(QStringLiteral("ffUzivatele"), QStringLiteral("Usr0000"));
    // Looked up by Locate on the login name at start-up; no index is selected.
    t.fields = {
        str(QStringLiteral("USR_KOD"), 3, QStringLiteral("Kód")),
        str(QStringLiteral("USR_LNA"), 10, QStringLiteral("Přihl.jméno")),
        str(QStringLiteral("USR_PSW"), 10, QStringLiteral("Heslo")),
        str(QStringLiteral("USR_INI"), 2, QStringLiteral("Inic.")),
        str(QStringLiteral("USR_GRP"), 3, QStringLiteral("Skup.")),
        str(QStringLiteral("USR_NAC"), 20, QStringLiteral("Příjmení, jméno,tit.")),
        str(QStringLiteral("USR_TEL"), 40, QStringLiteral("Telefon")),
        str(QStringLiteral("USR_EML"), 40, QStringLiteral("E mail")),
    };
    return t;
}

TableDef makeSemafor()
{
    TableDef t = fixedName(QStringLiteral("ffSemafor"), QStringLiteral("SYS0001"));
    t.fields = {
        autoInc(QStringLiteral("SYS_KOD")),
        str(QStringLiteral("SYS_TAB"), 3),
        str(QStringLiteral("SYS_KLI"), 15),
        str(QStringLiteral("SYS_USR"), 15),
        dateTime(QStringLiteral("SYS_DAT")),
        str(QStringLiteral("SYS_IDU"), 15),
    };
    // At most one lock record per locked thing and station.
    t.indexes = {index(QStringLiteral("KOD"),
                       {QStringLiteral("SYS_TAB"), QStringLiteral("SYS_KLI"), QStringLiteral("SYS_IDU")},
                       true, true)};
    return t;
}

} // namespace

const TableDef &uzivatele()
{
    static const TableDef def = makeUzivatele();
    return def;
}

const TableDef &semafor()
{
    static const TableDef def = makeSemafor();
    return def;
}

} // namespace store::tables
