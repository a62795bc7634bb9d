// Master data: the assortment and its stock variants, the suppliers and the number
// counters of the firm; the price lists and the owner's data shared by all firms.

#include "tables.h"
#include "builders.h"
#include "columns.h"

namespace store::tables {

using namespace build;

namespace {

TableDef makeSortiment()
{
    TableDef t = perFirm(QStringLiteral("ffSortiment"), QStringLiteral("Sor"));
    t.fields = {STORE_SORTIMENT_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    // The card number is the key of a card: unique. Names and their aliases are typed
    // in mixed case and searched as typed, so their indexes ignore case and a search
    // lands on the name whatever its case. Codes of suppliers and manufacturers are
    // compared exactly, as printed on their documents; so are bar codes ("EAN"), by
    // which a scanned code and a supplier's e-invoice find their card.
    t.indexes = {
        index(QStringLiteral("KAV"), {QStringLiteral("SOR_KAV")}, true),
        index(QStringLiteral("NAC"), {QStringLiteral("SOR_NAC")}, false, true),
        index(QStringLiteral("ALI"), {QStringLiteral("SOR_ALI")}, false, true),
        index(QStringLiteral("KDO"), {QStringLiteral("SOR_KDO")}),
        index(QStringLiteral("KVY"), {QStringLiteral("SOR_KVY")}),
        index(QStringLiteral("EAN"), {QStringLiteral("SOR_EAN")}),
        index(QStringLiteral("PC1"), {QStringLiteral("SOR_PC1")}),
    };
    return t;
}

TableDef makeSklad()
{
    TableDef t = perFirm(QStringLiteral("ffSklad"), QStringLiteral("Skl"));
    t.fields = {STORE_SKLAD_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    // One record per variant of a card: (card, variant) is unique, so the posting can
    // never find two stock records for one variant.
    t.indexes = {index(QStringLiteral("KAV"), {QStringLiteral("SKL_KAV"), QStringLiteral("SKL_IND")}, true)};
    return t;
}

TableDef makeDodavatele()
{
    TableDef t = perFirm(QStringLiteral("ffDodavatele"), QStringLiteral("Dod"));
    t.fields = {STORE_DODAVATELE_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    // "NAC" orders by the company name (DOD_FIR, the name the documents carry), then by
    // department. The name and registration-number searches pass their text in
    // capitals, so both indexes compare in capitals. Supplier codes are not declared
    // unique: suppliers created by the wider shop system keep whatever codes it gave.
    t.indexes = {
        index(QStringLiteral("KOD"), {QStringLiteral("DOD_KOD")}),
        index(QStringLiteral("NAC"), {QStringLiteral("DOD_FIR"), QStringLiteral("DOD_NAC")}, false, true),
        index(QStringLiteral("ICO"), {QStringLiteral("DOD_ICO")}, false, true),
    };
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
