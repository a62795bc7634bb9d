// The stock ledger: receipts from suppliers, the stock movement journal with the running
// stock of each card variant, and the invoice discounts of the wider shop system.

#include "tables.h"
#include "builders.h"
#include "columns.h"

namespace store::tables {

using namespace build;

namespace {

TableDef makeDodavkyFull()
{
    TableDef t = perFirm(QStringLiteral("ffSesDod"), QStringLiteral("Prd"));
    t.fields = {STORE_SES_DOD_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    // The receipts of one day follow each other in receipt-number order.
    t.indexes = {index(QStringLiteral("DAT"), {QStringLiteral("HLA_DAT"), QStringLiteral("HLA_DO1")})};
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
    // DEN_RAD is the record id, which ends every index, and it grows with every entry
    // written: "DOK" and "KAV" therefore read the lines of a document or a variant
    // oldest first (the rebuild replays them in that order). "STA" orders DEN_RAD
    // descending, so the newest entry of a (card, variant) comes first and the posting
    // finds the variant's last running stock with one FindKey.
    IndexDef sta = index(QStringLiteral("STA"),
                         {QStringLiteral("DEN_KAV"), QStringLiteral("DEN_IND"), QStringLiteral("DEN_RAD")});
    sta.fields.last().descending = true;
    t.indexes = {
        index(QStringLiteral("DOK"), {QStringLiteral("DEN_DOK")}),
        index(QStringLiteral("KAV"), {QStringLiteral("DEN_KAV"), QStringLiteral("DEN_IND")}),
        sta,
    };
    return t;
}

TableDef makeFaktSlevy()
{
    TableDef t = perFirm(QStringLiteral("ffFaktSlevy"), QStringLiteral("FAS"));
    t.fields = {STORE_FAKT_SLEVY_COLUMNS(STORE_COLUMN_DEFINITION, _)};
    // The discount lines of one invoice.
    t.indexes = {index(QStringLiteral("FAK"), {QStringLiteral("FAS_FAK")})};
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
