// Source documents of goods receipts: one header row and any number of item rows per
// document; an item carries its header's number in POP_DOK.

#include "tables.h"
#include "builders.h"

namespace store::tables {

using namespace build;

namespace {

const QString kMoney = QStringLiteral("#,##0.00");

TableDef makePodklHlav()
{
    TableDef t = perFirm(QStringLiteral("ffPodklHlav"), QStringLiteral("POD"));
    t.fields = {
        date(QStringLiteral("HLA_DAT"), QStringLiteral("Datum"), QStringLiteral("dd.mm.yyyy")),
        str(QStringLiteral("HLA_DO1"), 10, QStringLiteral("Doklad")),
        str(QStringLiteral("HLA_TYP"), 3, QStringLiteral("Typ")),
        str(QStringLiteral("HLA_DO2"), 10, QStringLiteral("Faktura")),
        str(QStringLiteral("HLA_DO3"), 10, QStringLiteral("Objednávka")),
        // No format of its own: shown in the program-wide short date format.
        date(QStringLiteral("HLA_DDO"), QStringLiteral("Dodáno")),
        str(QStringLiteral("HLA_ODB"), 6, QStringLiteral("Dodavatel")),
        str(QStringLiteral("HLA_NAC"), 30, QStringLiteral("Název dodavatele")),
        flt(QStringLiteral("HLA_NCA"), QStringLiteral("Celkem v NC (Kč)"), kMoney),
        flt(QStringLiteral("HLA_PCA"), QStringLiteral("Celkem v PC"), kMoney),
        boolean(QStringLiteral("HLA_EDT")),
        flt(QStringLiteral("HLA_FAC"), QStringLiteral("Fakturováno"), kMoney),
        str(QStringLiteral("HLA_MEN"), 3, QStringLiteral("Měna")),
        flt(QStringLiteral("HLA_KUR"), QStringLiteral("Kurz"), QStringLiteral("#,##0.0000")),
        flt(QStringLiteral("HLA_EUR"), QStringLiteral("Celkem v CM"), kMoney),
    };
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
    t.fields = {
        str(QStringLiteral("POP_DOK"), 10, QStringLiteral("Doklad")),
        str(QStringLiteral("POP_KAV"), 10, QStringLiteral("Karta")),
        str(QStringLiteral("POP_NAC"), 30, QStringLiteral("Název položky")),
        flt(QStringLiteral("POP_CKU"), QStringLiteral("Dodano DJ"), kMoney),
        flt(QStringLiteral("POP_CNC"), QStringLiteral("Cena za DJ v CM"), kMoney),
        flt(QStringLiteral("POP_PRI"), QStringLiteral("Přirážka v %"), kMoney),
        flt(QStringLiteral("POP_BAL"), QStringLiteral("Počet DJ v OB"), QStringLiteral("#,##0.0000")),
        flt(QStringLiteral("POP_KUS"), QStringLiteral("Dodáno OB"), QStringLiteral("#,##0.000")),
        flt(QStringLiteral("POP_NCS"), QStringLiteral("Sklad cena (SC)"), kMoney),
        calculated(flt(QStringLiteral("POP_CCC"), QStringLiteral("Celkem CM"), kMoney)),
        calculated(flt(QStringLiteral("POP_NCC"), QStringLiteral("Celkem KČ"), kMoney)),
    };
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
