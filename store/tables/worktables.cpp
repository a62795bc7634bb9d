// Work tables that live only in memory for the run of the program.

#include "tables.h"
#include "builders.h"
#include "column_names.h"
#include "indexes.h"

namespace store::tables {

using namespace build;

namespace {

TableDef makeDokladObsah()
{
    TableDef t = fixedName(QStringLiteral("DokladObsah"), QStringLiteral("DokladObsah"));
    t.fields = {STORE_DOKLAD_OBSAH_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    t.indexes = {STORE_DOKLAD_OBSAH_INDEXES(STORE_INDEX_DEFINITION, column::DokladObsah)};
    return t;
}

TableDef makeSesDodMem()
{
    TableDef t = fixedName(QStringLiteral("SesDodMem"), QStringLiteral("SesDodMem"));
    t.fields = {STORE_SES_DOD_MEM_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    t.indexes = {STORE_SES_DOD_MEM_INDEXES(STORE_INDEX_DEFINITION, column::SesDodMem)};
    return t;
}

} // namespace

const TableDef &dokladObsah()
{
    static const TableDef def = makeDokladObsah();
    return def;
}

const TableDef &sesDodMem()
{
    static const TableDef def = makeSesDodMem();
    return def;
}

} // namespace store::tables
