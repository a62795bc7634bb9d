// The stock ledger: receipts from suppliers, the stock movement journal with the running
// stock of each card variant, and the invoice discounts of the wider shop system.

#include "tables.h"
#include "builders.h"
#include "column_names.h"
#include "indexes.h"

namespace store::tables {

using namespace build;

namespace {

TableDef makeDodavkyFull()
{
    TableDef t = perFirm(QStringLiteral("ffSesDod"), QStringLiteral("Prd"));
    t.fields = {STORE_SES_DOD_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    t.indexes = {STORE_RECEIPT_INDEXES(STORE_INDEX_DEFINITION, column::ffSesDod)};
    return t;
}

// The data module's component declares no field for the receipt type: through it the
// type is neither read nor written, and a receipt it creates keeps the stored default.
TableDef makeDodavky()
{
    TableDef t = makeDodavkyFull();
    t.component = QStringLiteral("ffDodavky");
    t.fields = {STORE_DODAVKY_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    return t;
}

TableDef makeDenik()
{
    TableDef t = perFirm(QStringLiteral("ffDenik"), QStringLiteral("Den"));
    t.fields = {STORE_DENIK_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    t.indexes = {STORE_DENIK_INDEXES(STORE_INDEX_DEFINITION, column::ffDenik)};
    return t;
}

TableDef makeFaktSlevy()
{
    TableDef t = perFirm(QStringLiteral("ffFaktSlevy"), QStringLiteral("FAS"));
    t.fields = {STORE_FAKT_SLEVY_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    t.indexes = {STORE_FAKT_SLEVY_INDEXES(STORE_INDEX_DEFINITION, column::ffFaktSlevy)};
    return t;
}

} // namespace

const TableDef &dodavkyFull()
{
    static const TableDef def = makeDodavkyFull();
    return def;
}

const TableDef &dodavky()
{
    static const TableDef def = makeDodavky();
    return def;
}

const TableDef &denik()
{
    static const TableDef def = makeDenik();
    return def;
}

const TableDef &faktSlevy()
{
    static const TableDef def = makeFaktSlevy();
    return def;
}

} // namespace store::tables
