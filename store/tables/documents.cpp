// Source documents of goods receipts: one header row and any number of item rows per
// document; an item carries its header's number in POP_DOK.

#include "tables.h"
#include "builders.h"
#include "column_names.h"
#include "indexes.h"

namespace store::tables {

using namespace build;

namespace {

TableDef makePodklHlav()
{
    TableDef t = perFirm(QStringLiteral("ffPodklHlav"), QStringLiteral("POD"));
    t.fields = {STORE_PODKL_HLAV_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    t.indexes = {STORE_PODKL_HLAV_INDEXES(STORE_INDEX_DEFINITION, column::ffPodklHlav)};
    return t;
}

TableDef makePodklPol()
{
    TableDef t = perFirm(QStringLiteral("ffPodklPol"), QStringLiteral("POP"));
    t.fields = {STORE_PODKL_POL_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    t.indexes = {STORE_PODKL_POL_INDEXES(STORE_INDEX_DEFINITION, column::ffPodklPol)};
    return t;
}

} // namespace

const TableDef &podklHlav()
{
    static const TableDef def = makePodklHlav();
    return def;
}

const TableDef &podklPol()
{
    static const TableDef def = makePodklPol();
    return def;
}

} // namespace store::tables
