// The stock ledger: receipts from suppliers, the stock movement journal with the running
// stock of each card variant, and the invoice discounts of the wider shop system.

#include "tables.h"
#include "builders.h"

namespace store::tables {

using namespace build;

namespace {

const QString kMoney = QStringLiteral("#,##0.00");
const QString kQuantity = QStringLiteral("#,##0.000");
const QString kDate = QStringLiteral("dd.mm.yyyy");

TableDef makeDodavkyFull()
{
    TableDef t = perFirm(QStringLiteral("ffSesDod"), QStringLiteral("Prd"));
    t.fields = {
        date(QStringLiteral("HLA_DAT"), QStringLiteral("Datum"), kDate),
        str(QStringLiteral("HLA_DO1"), 10, QStringLiteral("Příjemka")),
        str(QStringLiteral("HLA_TYP"), 3),
        str(QStringLiteral("HLA_DO2"), 10, QStringLiteral("Cizí doklad")),
        str(QStringLiteral("HLA_DO3"), 10, QStringLiteral("Pom. Doklad")),
        date(QStringLiteral("HLA_DDO"), QStringLiteral("Dodáno dne"), kDate),
        str(QStringLiteral("HLA_ODB"), 6, QStringLiteral("kód dodavatele")),
        str(QStringLiteral("HLA_NAC"), 30, QStringLiteral("Název dodavatele")),
        flt(QStringLiteral("HLA_NCA"), QStringLiteral("Celkem v NC"), kMoney),
        flt(QStringLiteral("HLA_PCA"), QStringLiteral("Celkem v PC"), kMoney),
        boolean(QStringLiteral("HLA_EDT"), QStringLiteral("Edt."), QStringLiteral("Ano;Ne")),
        flt(QStringLiteral("HLA_FAC"), QStringLiteral("Cel.Hod."), kMoney),
    };
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
    t.fields.removeAt(t.fieldIndex(QStringLiteral("HLA_TYP")));
    return t;
}

TableDef makeDenik()
{
    TableDef t = perFirm(QStringLiteral("ffDenik"), QStringLiteral("Den"));
    t.fields = {
        autoInc(QStringLiteral("DEN_RAD"), QStringLiteral("ID Kod")),
        date(QStringLiteral("DEN_DAT"), QStringLiteral("Datum"), kDate),
        str(QStringLiteral("DEN_DOK"), 10, QStringLiteral("Doklad")),
        str(QStringLiteral("DEN_KAV"), 6, QStringLiteral("Karta")),
        str(QStringLiteral("DEN_IND"), 3, QStringLiteral("Var.")),
        str(QStringLiteral("DEN_OPE"), 3, QStringLiteral("Ope.")),
        flt(QStringLiteral("DEN_KUS"), QStringLiteral("Kusy"), kQuantity),
        flt(QStringLiteral("DEN_HPC"), QStringLiteral("Hod. PC"), kMoney),
        flt(QStringLiteral("DEN_HNC"), QStringLiteral("Hod. NC"), kMoney),
        flt(QStringLiteral("DEN_DAN"), QStringLiteral("DPH")),
        flt(QStringLiteral("DEN_ZAS"), QStringLiteral("Zásoba"), kQuantity),
        str(QStringLiteral("DEN_REF"), 2, QStringLiteral("Ref.")),
        flt(QStringLiteral("DEN_POZ"), QStringLiteral("Pozn.")),
        str(QStringLiteral("DEN_PRN"), 10, QStringLiteral("Přen.dav.")),
        time(QStringLiteral("DEN_KDY"), QStringLiteral("Čas"), QStringLiteral("hh:mm:ss")),
    };
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
    t.fields = {
        str(QStringLiteral("FAS_FAK"), 10, QStringLiteral("Faktura")),
        str(QStringLiteral("FAS_TYP"), 3, QStringLiteral("Typ")),
        str(QStringLiteral("FAS_NAZ"), 40, QStringLiteral("Text")),
        flt(QStringLiteral("FAS_HOD"), QStringLiteral("Vých. částka")),
        flt(QStringLiteral("FAS_PRO"), QStringLiteral("Sl.v %")),
        flt(QStringLiteral("FAS_SLE"), QStringLiteral("Sleva v Kč")),
        flt(QStringLiteral("FAS_DAN"), QStringLiteral("Saz. DPH")),
        boolean(QStringLiteral("FAS_DPH"), QStringLiteral("Jde do DPH")),
        boolean(QStringLiteral("FAS_ROZ"), QStringLiteral("Rozpis do pol.")),
    };
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
