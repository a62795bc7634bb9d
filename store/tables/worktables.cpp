// Work tables that live only in memory for the run of the program.

#include "tables.h"
#include "builders.h"

namespace store::tables {

using namespace build;

namespace {

const QString kMoney = QStringLiteral("#,##0.00");

TableDef makeDokladObsah()
{
    TableDef t = fixedName(QStringLiteral("DokladObsah"), QStringLiteral("DokladObsah"));
    t.fields = {
        flt(QStringLiteral("DOK_PC1"), QStringLiteral("PC / kus"), kMoney),
        flt(QStringLiteral("DOK_NC1"), QStringLiteral("SC / kus"), kMoney),
        flt(QStringLiteral("DOK_KUS"), QStringLiteral("Kusy")),
        flt(QStringLiteral("DOK_PCC"), QStringLiteral("PC Celkem"), kMoney),
        flt(QStringLiteral("DOK_PCS"), QStringLiteral("Cen. cena"), kMoney),
        flt(QStringLiteral("DOK_RAB"), QStringLiteral("Sle.Obch."), kMoney),
        flt(QStringLiteral("DOK_SLP"), QStringLiteral("Sleva Mn."), kMoney),
        flt(QStringLiteral("DOK_DAN"), QStringLiteral("DPH")),
        flt(QStringLiteral("DOK_DPH"), QStringLiteral("Hod. DPH"), kMoney),
        flt(QStringLiteral("DOK_NCC"), QStringLiteral("SC Celkem"), kMoney),
        str(QStringLiteral("DOK_SKU"), 3, QStringLiteral("Skup.")),
        flt(QStringLiteral("DOK_POM"), QStringLiteral("Sleva Spc."), kMoney),
        str(QStringLiteral("DOK_KAV"), 6, QStringLiteral("Karta")),
        str(QStringLiteral("DOK_IND"), 3, QStringLiteral("Var.")),
        str(QStringLiteral("DOK_NAZ"), 40, QStringLiteral("Název položky")),
        str(QStringLiteral("DOK_VAP"), 1, QStringLiteral("V.P.")),
        // Calculated, with no calculation attached: always empty.
        calculated(str(QStringLiteral("DOK_PRV"), 1)),
        str(QStringLiteral("DOK_CIS"), 10, QStringLiteral("Číslo dokladu")),
        flt(QStringLiteral("DOK_RAP"), QStringLiteral("Sl.obch.%"), kMoney),
    };
    // The rows sorted by card, then variant; a row of one (card, variant) is found with
    // one FindKey.
    t.indexes = {index(QStringLiteral("KAV"), {QStringLiteral("DOK_KAV"), QStringLiteral("DOK_IND")})};
    return t;
}

TableDef makeSesDodMem()
{
    TableDef t = fixedName(QStringLiteral("SesDodMem"), QStringLiteral("SesDodMem"));
    t.fields = {
        dateTime(QStringLiteral("Vystaveno")),
        str(QStringLiteral("Doklad"), 10),
        str(QStringLiteral("TypDod"), 2),
        str(QStringLiteral("FakDod"), 10),
        str(QStringLiteral("KodDod"), 6),
        str(QStringLiteral("Nazev"), 30),
        flt(QStringLiteral("CelFac")),
        flt(QStringLiteral("CelkemNC")),
        flt(QStringLiteral("CelkemPC")),
        flt(QStringLiteral("Zaklad22")),
        flt(QStringLiteral("Zaklad05")),
        flt(QStringLiteral("Zaklad00")),
        flt(QStringLiteral("Dan22")),
        flt(QStringLiteral("Dan05")),
        flt(QStringLiteral("HalVyr")),
    };
    t.indexes = {
        index(QStringLiteral("Doklad"), {QStringLiteral("Doklad")}),
        index(QStringLiteral("KodDod"), {QStringLiteral("KodDod"), QStringLiteral("Doklad")}),
    };
    return t;
}

} // namespace

const TableDef &dokladObsah()
{
    static const TableDef def = makeDokladObsah();
    return def;
}

// The two work tables of the wider shop system's operations; this system defines no
// fields for them.
const TableDef &sumUhrada()
{
    static const TableDef def = fixedName(QStringLiteral("SumUhrada"), QStringLiteral("SumUhrada"));
    return def;
}

const TableDef &historiePujcky()
{
    static const TableDef def =
        fixedName(QStringLiteral("HistoriePujcky"), QStringLiteral("HistoriePujcky"));
    return def;
}

const TableDef &sesDodMem()
{
    static const TableDef def = makeSesDodMem();
    return def;
}

} // namespace store::tables
