// System tables: the users shared by all firms and the lock records of all stations.

#include "tables.h"
#include "builders.h"
#include "column_names.h"
#include "indexes.h"

namespace store::tables {

using namespace build;

namespace {

TableDef makeUzivatele()
{
    TableDef t = fixedName(QStringLiteral("ffUzivatele"), QStringLiteral("Usr0000"));
    // Looked up by Locate on the login name at start-up; no index is selected.
    t.fields = {STORE_UZIVATELE_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    return t;
}

TableDef makeSemafor()
{
    TableDef t = fixedName(QStringLiteral("ffSemafor"), QStringLiteral("SYS0001"));
    t.fields = {STORE_SEMAFOR_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    t.indexes = {STORE_SEMAFOR_INDEXES(STORE_INDEX_DEFINITION, column::ffSemafor)};
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
