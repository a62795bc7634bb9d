// Master data: the assortment and its stock variants, the suppliers and the number
// counters of the firm; the price lists and the owner's data shared by all firms.

#include "tables.h"
#include "builders.h"

namespace store::tables {

using namespace build;

namespace {

const QString kMoney = QStringLiteral("#,##0.00");
const QString kYesNo = QStringLiteral("Ano;Ne");

TableDef makeSortiment()
{
    TableDef t = perFirm(QStringLiteral("ffSortiment"), QStringLiteral("Sor"));
    t.fields = {
        str(QStringLiteral("SOR_KAV"), 6, QStringLiteral("Karta")),
        str(QStringLiteral("SOR_NAC"), 30, QStringLiteral("Název")),
        flt(QStringLiteral("SOR_PC1"), QStringLiteral("PC zákl"), kMoney),
        flt(QStringLiteral("SOR_PC2"), QStringLiteral("PC d1"), kMoney),
        flt(QStringLiteral("SOR_PC3"), QStringLiteral("PC D2"), kMoney),
        flt(QStringLiteral("SOR_PC4"), QStringLiteral("PC D3"), kMoney),
        flt(QStringLiteral("SOR_PC5"), QStringLiteral("PC MO"), kMoney),
        flt(QStringLiteral("SOR_STA"), QStringLiteral("Zásoba")),
        flt(QStringLiteral("SOR_DAN"), QStringLiteral("Sazba DPH")),
        boolean(QStringLiteral("SOR_SKL"), QStringLiteral("Skl.pol."), kYesNo),
        boolean(QStringLiteral("SOR_OLD"), QStringLiteral("Vyřazeno"), kYesNo),
        str(QStringLiteral("SOR_SKU"), 3, QStringLiteral("Skupina")),
        flt(QStringLiteral("SOR_BLO"), QStringLiteral("Blokace")),
        flt(QStringLiteral("SOR_REQ"), QStringLiteral("Objednano")),
        str(QStringLiteral("SOR_VYR"), 3),
        str(QStringLiteral("SOR_MJE"), 2, QStringLiteral("M2r.jed.")),
        flt(QStringLiteral("SOR_HMO"), QStringLiteral("Hmotn.")),
        flt(QStringLiteral("SOR_OBJ"), QStringLiteral("Objednano")),
        smallInt(QStringLiteral("SOR_BAL"), QStringLiteral("Baleni")),
        str(QStringLiteral("SOR_DRU"), 3, QStringLiteral("Druh")),
        str(QStringLiteral("SOR_PSK"), 3, QStringLiteral("Podsk.")),
        str(QStringLiteral("SOR_EAN"), 13, QStringLiteral("EAN")),
        str(QStringLiteral("SOR_POZ"), 30, QStringLiteral("Poznámka")),
        flt(QStringLiteral("SOR_MAJ"), QStringLiteral("Majetek")),
        flt(QStringLiteral("SOR_PUJ"), QStringLiteral("Půjčeno")),
        boolean(QStringLiteral("SOR_KOM"), QStringLiteral("Komise")),
        flt(QStringLiteral("SOR_PLO"), QStringLiteral("Plocha v m2")),
        date(QStringLiteral("SOR_PPO"), QStringLiteral("Posl.pohyb"), QStringLiteral("dd.mm.yyyy")),
        flt(QStringLiteral("SOR_MIN"), QStringLiteral("Min.zas.")),
        flt(QStringLiteral("SOR_SLE"), QStringLiteral("Max.sl.%"), kMoney),
        str(QStringLiteral("SOR_KDO"), 10, QStringLiteral("Kód dod.")),
        str(QStringLiteral("SOR_KVY"), 10, QStringLiteral("Kód vyrobce")),
        flt(QStringLiteral("SOR_OTV")),
        boolean(QStringLiteral("SOR_INP"), QStringLiteral("Dod. sor.")),
        boolean(QStringLiteral("SOR_OUT"), QStringLiteral("Odb. sort.")),
        boolean(QStringLiteral("SOR_UPV"), QStringLiteral("Vyr.sor.")),
        str(QStringLiteral("SOR_ALI"), 15),
        calculated(flt(QStringLiteral("SOR_DIS"), QStringLiteral("Volne"))),
        calculated(flt(QStringLiteral("SOR_VOL"))),
    };
    // The card number is the key of a card: unique. Names and their aliases are typed
    // in mixed case and searched as typed, so their indexes ignore case and a search
    // lands on the name whatever its case. Codes of suppliers and manufacturers are
    // compared exactly, as printed on their documents.
    t.indexes = {
        index(QStringLiteral("KAV"), {QStringLiteral("SOR_KAV")}, true),
        index(QStringLiteral("NAC"), {QStringLiteral("SOR_NAC")}, false, true),
        index(QStringLiteral("ALI"), {QStringLiteral("SOR_ALI")}, false, true),
        index(QStringLiteral("KDO"), {QStringLiteral("SOR_KDO")}),
        index(QStringLiteral("KVY"), {QStringLiteral("SOR_KVY")}),
        index(QStringLiteral("PC1"), {QStringLiteral("SOR_PC1")}),
    };
    return t;
}

TableDef makeSklad()
{
    TableDef t = perFirm(QStringLiteral("ffSklad"), QStringLiteral("Skl"));
    t.fields = {
        str(QStringLiteral("SKL_KAV"), 6, QStringLiteral("Karta")),
        str(QStringLiteral("SKL_IND"), 3, QStringLiteral("Var.")),
        flt(QStringLiteral("SKL_SNC"), QStringLiteral("Nák.cena"), kMoney),
        flt(QStringLiteral("SKL_POC"), QStringLiteral("Poč.roku")),
        flt(QStringLiteral("SKL_STA"), QStringLiteral("Zásoba")),
        str(QStringLiteral("SKL_MEN"), 3, QStringLiteral("Měna")),
        flt(QStringLiteral("SKL_KUR"), QStringLiteral("Kurz")),
        str(QStringLiteral("SKL_POZ"), 30, QStringLiteral("Poznámka")),
        flt(QStringLiteral("SKL_POP"), QStringLiteral("Poč. roku")),
        flt(QStringLiteral("SKL_STP"), QStringLiteral("Účetní stav")),
    };
    // One record per variant of a card: (card, variant) is unique, so the posting can
    // never find two stock records for one variant.
    t.indexes = {index(QStringLiteral("KAV"), {QStringLiteral("SKL_KAV"), QStringLiteral("SKL_IND")}, true)};
    return t;
}

TableDef makeDodavatele()
{
    TableDef t = perFirm(QStringLiteral("ffDodavatele"), QStringLiteral("Dod"));
    t.fields = {
        str(QStringLiteral("DOD_KOD"), 6, QStringLiteral("Uni.kód")),
        str(QStringLiteral("DOD_ICO"), 8, QStringLiteral("IČO")),
        str(QStringLiteral("DOD_DIC"), 15, QStringLiteral("DIČ")),
        str(QStringLiteral("DOD_JED"), 4, QStringLiteral("Prod.")),
        str(QStringLiteral("DOD_FIR"), 30, QStringLiteral("Název firmy")),
        str(QStringLiteral("DOD_NAC"), 30, QStringLiteral("Název oddělení")),
        str(QStringLiteral("DOD_ULI"), 30, QStringLiteral("Ulice")),
        str(QStringLiteral("DOD_MES"), 30, QStringLiteral("Město")),
        str(QStringLiteral("DOD_PSC"), 6, QStringLiteral("Psč")),
        str(QStringLiteral("DOD_STA"), 30, QStringLiteral("Stát")),
        str(QStringLiteral("DOD_TEL"), 30, QStringLiteral("Telefon")),
        str(QStringLiteral("DOD_FAX"), 30, QStringLiteral("Fax")),
        str(QStringLiteral("DOD_EML"), 30, QStringLiteral("E Mail")),
        str(QStringLiteral("DOD_JME"), 30, QStringLiteral("Kontaktní jméno")),
        str(QStringLiteral("DOD_MOB"), 30, QStringLiteral("Mobilní telefon")),
        str(QStringLiteral("DOD_SKU"), 3, QStringLiteral("Skup.")),
    };
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
    t.fields = {
        flt(QStringLiteral("CIS_DEN"), QStringLiteral("Deník")),
        flt(QStringLiteral("CIS_DEP")),
        flt(QStringLiteral("CIS_ZPD")),
        flt(QStringLiteral("CIS_ODB"), QStringLiteral("Odběratelé")),
        str(QStringLiteral("CIS_PRD"), 10, QStringLiteral("Dodávky")),
        str(QStringLiteral("CIS_VRD"), 10),
        str(QStringLiteral("CIS_VYD"), 10, QStringLiteral("Výdejky")),
        str(QStringLiteral("CIS_PRI"), 10, QStringLiteral("Příjemky")),
        str(QStringLiteral("CIS_FAK"), 10),
        str(QStringLiteral("CIS_SML"), 10),
        str(QStringLiteral("CIS_FIN"), 10),
        str(QStringLiteral("CIS_UCE"), 10, QStringLiteral("Učtenky")),
        str(QStringLiteral("CIS_VCT"), 10, QStringLiteral("Výčetky")),
        str(QStringLiteral("CIS_PRF"), 10),
        str(QStringLiteral("CIS_DOB"), 10),
        str(QStringLiteral("CIS_PRC"), 10, QStringLiteral("Přecenění")),
        str(QStringLiteral("CIS_INV"), 10, QStringLiteral("Inventury")),
        str(QStringLiteral("CIS_OBJ"), 10, QStringLiteral("Objednávky")),
        str(QStringLiteral("CIS_PPD"), 10),
        str(QStringLiteral("CIS_VPU"), 10),
        str(QStringLiteral("CIS_PPU"), 10),
        str(QStringLiteral("CIS_VRP"), 10),
        str(QStringLiteral("CIS_PUJ"), 10),
        str(QStringLiteral("CIS_VRA"), 10),
        str(QStringLiteral("CIS_FAO"), 10, QStringLiteral("Odprodej")),
        str(QStringLiteral("CIS_FAN"), 10, QStringLiteral("Nájem")),
        str(QStringLiteral("CIS_POD"), 10, QStringLiteral("Podklady")),
        str(QStringLiteral("CIS_FAI"), 10, QStringLiteral("Fakt inter.")),
        str(QStringLiteral("CIS_ZVY"), 10, QStringLiteral("Zakázky  výdejky")),
        str(QStringLiteral("CIS_ZFA"), 10, QStringLiteral("Zakázky faktury")),
        str(QStringLiteral("CIS_ZFI"), 10, QStringLiteral("Zakázky fak. int.")),
        str(QStringLiteral("CIS_PIN"), 10, QStringLiteral("Půjčovna inv.")),
        str(QStringLiteral("CIS_PPR"), 10, QStringLiteral("Půjčovna přec.")),
        str(QStringLiteral("CIS_FAL"), 10, QStringLiteral("Faktury volné")),
        str(QStringLiteral("CIS_NAB"), 10, QStringLiteral("Nabídky")),
        str(QStringLiteral("CIS_OBD"), 10, QStringLiteral("Obj. dod.")),
    };
    return t;
}

TableDef makeCeniky()
{
    TableDef t = fixedName(QStringLiteral("ffCeniky"), QStringLiteral("CEN0000"));
    t.fields = {
        str(QStringLiteral("CEN_KOD"), 1, QStringLiteral("Cen.")),
        str(QStringLiteral("CEN_NAC"), 25, QStringLiteral("Název ceníku")),
        boolean(QStringLiteral("CEN_DPH"), QStringLiteral("Je DPH")),
        smallInt(QStringLiteral("CEN_REF"), QStringLiteral("Ref.")),
        calculated(str(QStringLiteral("typCeniku"), 12, QStringLiteral("Typ ceníku"))),
    };
    return t;
}

TableDef makeVlastnik()
{
    TableDef t = fixedName(QStringLiteral("ffVlastnik"), QStringLiteral("Vla0000"));
    // No window shows this table: its fields carry no labels.
    t.fields = {
        str(QStringLiteral("VLA_KOD"), 6),
        str(QStringLiteral("VLA_ICO"), 8),
        str(QStringLiteral("VLA_DIC"), 15),
        str(QStringLiteral("VLA_JED"), 4),
        str(QStringLiteral("VLA_FIR"), 35),
        str(QStringLiteral("VLA_NAC"), 30),
        str(QStringLiteral("VLA_ULI"), 30),
        str(QStringLiteral("VLA_MES"), 30),
        str(QStringLiteral("VLA_PSC"), 6),
        str(QStringLiteral("VLA_STA"), 30),
        str(QStringLiteral("VLA_TEL"), 30),
        str(QStringLiteral("VLA_FAX"), 30),
        str(QStringLiteral("VLA_EML"), 30),
        str(QStringLiteral("VLA_JME"), 30),
        str(QStringLiteral("VLA_MOB"), 30),
        str(QStringLiteral("VLA_KON"), 15),
    };
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
