// Master data: the assortment and its stock variants, the suppliers and the number
// counters of the firm; the price lists and the owner's data shared by all firms.

#include "tables.h"
#include "builders.h"
#include "column_names.h"
#include "indexes.h"

namespace store::tables {

using namespace build;

namespace {

TableDef makeSortiment()
{
    TableDef t = perFirm(QStringLiteral("ffSortiment"), QStringLiteral("Sor"));
    t.fields = {STORE_SORTIMENT_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    t.indexes = {STORE_SORTIMENT_INDEXES(STORE_INDEX_DEFINITION, column::ffSortiment)};
    return t;
}

TableDef makeSklad()
{
    TableDef t = perFirm(QStringLiteral("ffSklad"), QStringLiteral("Skl"));
    t.fields = {STORE_SKLAD_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    t.indexes = {STORE_SKLAD_INDEXES(STORE_INDEX_DEFINITION, column::ffSklad)};
    return t;
}

TableDef makeDodavatele()
{
    TableDef t = perFirm(QStringLiteral("ffDodavatele"), QStringLiteral("Dod"));
    t.fields = {STORE_DODAVATELE_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    t.indexes = {STORE_DODAVATELE_INDEXES(STORE_INDEX_DEFINITION, column::ffDodavatele)};
    return t;
}

TableDef makeCiselnik()
{
    TableDef t = perFirm(QStringLiteral("ffCiselnik"), QStringLiteral("Cis"));
    // One record; the program works on the record the table stands on after opening.
    t.fields = {STORE_CISELNIK_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    return t;
}

TableDef makeCeniky()
{
    TableDef t = fixedName(QStringLiteral("ffCeniky"), QStringLiteral("CEN0000"));
    t.fields = {STORE_CENIKY_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    return t;
}

TableDef makeVlastnik()
{
    TableDef t = fixedName(QStringLiteral("ffVlastnik"), QStringLiteral("Vla0000"));
    // No window shows this table: its fields carry no labels.
    t.fields = {STORE_VLASTNIK_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    return t;
}

} // namespace

const TableDef &sortiment()
{
    static const TableDef def = makeSortiment();
    return def;
}

const TableDef &sklad()
{
    static const TableDef def = makeSklad();
    return def;
}

const TableDef &dodavatele()
{
    static const TableDef def = makeDodavatele();
    return def;
}

const TableDef &ciselnik()
{
    static const TableDef def = makeCiselnik();
    return def;
}

const TableDef &ceniky()
{
    static const TableDef def = makeCeniky();
    return def;
}

const TableDef &vlastnik()
{
    static const TableDef def = makeVlastnik();
    return def;
}

} // namespace store::tables
