// Source documents of goods receipts: one header row and any number of item rows per
// document; an item carries its header's number in POP_DOK.

#include "tables.h"
#include "builders.h"
#include "columns.h"

namespace store::tables {

using namespace build;

namespace {

TableDef makePodklHlav()
{
    TableDef t = perFirm(QStringLiteral("ffPodklHlav"), QStringLiteral("POD"));
    t.fields = {STORE_PODKL_HLAV_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    // Document numbers are not unique in the index: a header is written only once it
    // has its number, but the wider shop system writes this table too and its rows must
    // not be refused. Supplier names are typed in mixed case, so "NAC" ignores case to
    // list and find them alphabetically whatever the case.
    t.indexes = {
        index(QStringLiteral("DO1"), {QStringLiteral("HLA_DO1")}),
        index(QStringLiteral("DO2"), {QStringLiteral("HLA_DO2")}),
        index(QStringLiteral("NAC"), {QStringLiteral("HLA_NAC")}, false, true),
    };
    return t;
}

TableDef makePodklPol()
{
    TableDef t = perFirm(QStringLiteral("ffPodklPol"), QStringLiteral("POP"));
    t.fields = {STORE_PODKL_POL_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    // The items of one document follow each other in the order they were written: the
    // record id, which ends every index, breaks the ties of POP_DOK.
    t.indexes = {index(QStringLiteral("DO1"), {QStringLiteral("POP_DOK")})};
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
