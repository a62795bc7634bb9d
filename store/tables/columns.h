#pragma once
// The columns of every table this system uses, each listed once with its definition:
// name, type, size, display label and display format, in table order (a calculated
// column at its place among the stored ones). A list is a macro that calls X(T, column,
// definition) for each column, T being passed through unchanged. The table definitions
// expand it into their field lists (`STORE_COLUMN_DEFINITION`), and the data module into
// one field object per column named after its component and the column
// (`ffPodklHlavHLA_DO1`), so a field object always names a column its table has, and a
// misspelt one does not compile.
//
// A definition is a call of the builders of builders.h: str(size, label), flt(label,
// format), smallInt, boolean, date, time, dateTime, autoInc, calculated(...).

// Source documents: headers (POD + firm) and items (POP + firm); an item carries its
// header's number in POP_DOK.
#define STORE_PODKL_HLAV_COLUMNS(X, T) \
    X(T, HLA_DAT, date(u"Datum", kDate)) \
    X(T, HLA_DO1, str(10, u"Doklad")) \
    X(T, HLA_TYP, str(3, u"Typ")) \
    X(T, HLA_DO2, str(10, u"Faktura")) \
    X(T, HLA_DO3, str(10, u"Objednávka")) \
    /* No format of its own: shown in the program-wide short date format. */ \
    X(T, HLA_DDO, date(u"Dodáno")) \
    X(T, HLA_ODB, str(6, u"Dodavatel")) \
    X(T, HLA_NAC, str(30, u"Název dodavatele")) \
    X(T, HLA_NCA, flt(u"Celkem v NC (Kč)", kMoney)) \
    X(T, HLA_PCA, flt(u"Celkem v PC", kMoney)) \
    X(T, HLA_EDT, boolean()) \
    X(T, HLA_FAC, flt(u"Fakturováno", kMoney)) \
    X(T, HLA_MEN, str(3, u"Měna")) \
    X(T, HLA_KUR, flt(u"Kurz", u"#,##0.0000")) \
    X(T, HLA_EUR, flt(u"Celkem v CM", kMoney))

#define STORE_PODKL_POL_COLUMNS(X, T) \
    X(T, POP_DOK, str(10, u"Doklad")) \
    X(T, POP_KAV, str(10, u"Karta")) \
    X(T, POP_NAC, str(30, u"Název položky")) \
    X(T, POP_CKU, flt(u"Dodano DJ", kMoney)) \
    X(T, POP_CNC, flt(u"Cena za DJ v CM", kMoney)) \
    X(T, POP_PRI, flt(u"Přirážka v %", kMoney)) \
    X(T, POP_BAL, flt(u"Počet DJ v OB", u"#,##0.0000")) \
    X(T, POP_KUS, flt(u"Dodáno OB", kQuantity)) \
    X(T, POP_NCS, flt(u"Sklad cena (SC)", kMoney)) \
    X(T, POP_CCC, calculated(flt(u"Celkem CM", kMoney))) \
    X(T, POP_NCC, calculated(flt(u"Celkem KČ", kMoney)))

// Master data: assortment, stock variants, suppliers, counters (per firm); price lists
// and the owner's data (shared).
#define STORE_SORTIMENT_COLUMNS(X, T) \
    X(T, SOR_KAV, str(6, u"Karta")) \
    X(T, SOR_NAC, str(30, u"Název")) \
    X(T, SOR_PC1, flt(u"PC zákl", kMoney)) \
    X(T, SOR_PC2, flt(u"PC d1", kMoney)) \
    X(T, SOR_PC3, flt(u"PC D2", kMoney)) \
    X(T, SOR_PC4, flt(u"PC D3", kMoney)) \
    X(T, SOR_PC5, flt(u"PC MO", kMoney)) \
    X(T, SOR_STA, flt(u"Zásoba")) \
    X(T, SOR_DAN, flt(u"Sazba DPH")) \
    X(T, SOR_SKL, boolean(u"Skl.pol.", kYesNo)) \
    X(T, SOR_OLD, boolean(u"Vyřazeno", kYesNo)) \
    X(T, SOR_SKU, str(3, u"Skupina")) \
    X(T, SOR_BLO, flt(u"Blokace")) \
    X(T, SOR_REQ, flt(u"Objednano")) \
    X(T, SOR_VYR, str(3)) \
    X(T, SOR_MJE, str(2, u"M2r.jed.")) \
    X(T, SOR_HMO, flt(u"Hmotn.")) \
    X(T, SOR_OBJ, flt(u"Objednano")) \
    X(T, SOR_BAL, smallInt(u"Baleni")) \
    X(T, SOR_DRU, str(3, u"Druh")) \
    X(T, SOR_PSK, str(3, u"Podsk.")) \
    X(T, SOR_EAN, str(13, u"EAN")) \
    X(T, SOR_POZ, str(30, u"Poznámka")) \
    X(T, SOR_MAJ, flt(u"Majetek")) \
    X(T, SOR_PUJ, flt(u"Půjčeno")) \
    X(T, SOR_KOM, boolean(u"Komise")) \
    X(T, SOR_PLO, flt(u"Plocha v m2")) \
    X(T, SOR_PPO, date(u"Posl.pohyb", kDate)) \
    X(T, SOR_MIN, flt(u"Min.zas.")) \
    X(T, SOR_SLE, flt(u"Max.sl.%", kMoney)) \
    X(T, SOR_KDO, str(10, u"Kód dod.")) \
    X(T, SOR_KVY, str(10, u"Kód vyrobce")) \
    X(T, SOR_OTV, flt()) \
    X(T, SOR_INP, boolean(u"Dod. sor.")) \
    X(T, SOR_OUT, boolean(u"Odb. sort.")) \
    X(T, SOR_UPV, boolean(u"Vyr.sor.")) \
    X(T, SOR_ALI, str(15)) \
    X(T, SOR_DIS, calculated(flt(u"Volne"))) \
    X(T, SOR_VOL, calculated(flt()))

#define STORE_SKLAD_COLUMNS(X, T) \
    X(T, SKL_KAV, str(6, u"Karta")) \
    X(T, SKL_IND, str(3, u"Var.")) \
    X(T, SKL_SNC, flt(u"Nák.cena", kMoney)) \
    X(T, SKL_POC, flt(u"Poč.roku")) \
    X(T, SKL_STA, flt(u"Zásoba")) \
    X(T, SKL_MEN, str(3, u"Měna")) \
    X(T, SKL_KUR, flt(u"Kurz")) \
    X(T, SKL_POZ, str(30, u"Poznámka")) \
    X(T, SKL_POP, flt(u"Poč. roku")) \
    X(T, SKL_STP, flt(u"Účetní stav"))

#define STORE_DODAVATELE_COLUMNS(X, T) \
    X(T, DOD_KOD, str(6, u"Uni.kód")) \
    X(T, DOD_ICO, str(8, u"IČO")) \
    X(T, DOD_DIC, str(15, u"DIČ")) \
    X(T, DOD_JED, str(4, u"Prod.")) \
    X(T, DOD_FIR, str(30, u"Název firmy")) \
    X(T, DOD_NAC, str(30, u"Název oddělení")) \
    X(T, DOD_ULI, str(30, u"Ulice")) \
    X(T, DOD_MES, str(30, u"Město")) \
    X(T, DOD_PSC, str(6, u"Psč")) \
    X(T, DOD_STA, str(30, u"Stát")) \
    X(T, DOD_TEL, str(30, u"Telefon")) \
    X(T, DOD_FAX, str(30, u"Fax")) \
    X(T, DOD_EML, str(30, u"E Mail")) \
    X(T, DOD_JME, str(30, u"Kontaktní jméno")) \
    X(T, DOD_MOB, str(30, u"Mobilní telefon")) \
    X(T, DOD_SKU, str(3, u"Skup."))

#define STORE_CISELNIK_COLUMNS(X, T) \
    X(T, CIS_DEN, flt(u"Deník")) \
    X(T, CIS_DEP, flt()) \
    X(T, CIS_ZPD, flt()) \
    X(T, CIS_ODB, flt(u"Odběratelé")) \
    X(T, CIS_PRD, str(10, u"Dodávky")) \
    X(T, CIS_VRD, str(10)) \
    X(T, CIS_VYD, str(10, u"Výdejky")) \
    X(T, CIS_PRI, str(10, u"Příjemky")) \
    X(T, CIS_FAK, str(10)) \
    X(T, CIS_SML, str(10)) \
    X(T, CIS_FIN, str(10)) \
    X(T, CIS_UCE, str(10, u"Učtenky")) \
    X(T, CIS_VCT, str(10, u"Výčetky")) \
    X(T, CIS_PRF, str(10)) \
    X(T, CIS_DOB, str(10)) \
    X(T, CIS_PRC, str(10, u"Přecenění")) \
    X(T, CIS_INV, str(10, u"Inventury")) \
    X(T, CIS_OBJ, str(10, u"Objednávky")) \
    X(T, CIS_PPD, str(10)) \
    X(T, CIS_VPU, str(10)) \
    X(T, CIS_PPU, str(10)) \
    X(T, CIS_VRP, str(10)) \
    X(T, CIS_PUJ, str(10)) \
    X(T, CIS_VRA, str(10)) \
    X(T, CIS_FAO, str(10, u"Odprodej")) \
    X(T, CIS_FAN, str(10, u"Nájem")) \
    X(T, CIS_POD, str(10, u"Podklady")) \
    X(T, CIS_FAI, str(10, u"Fakt inter.")) \
    X(T, CIS_ZVY, str(10, u"Zakázky  výdejky")) \
    X(T, CIS_ZFA, str(10, u"Zakázky faktury")) \
    X(T, CIS_ZFI, str(10, u"Zakázky fak. int.")) \
    X(T, CIS_PIN, str(10, u"Půjčovna inv.")) \
    X(T, CIS_PPR, str(10, u"Půjčovna přec.")) \
    X(T, CIS_FAL, str(10, u"Faktury volné")) \
    X(T, CIS_NAB, str(10, u"Nabídky")) \
    X(T, CIS_OBD, str(10, u"Obj. dod."))

#define STORE_CENIKY_COLUMNS(X, T) \
    X(T, CEN_KOD, str(1, u"Cen.")) \
    X(T, CEN_NAC, str(25, u"Název ceníku")) \
    X(T, CEN_DPH, boolean(u"Je DPH")) \
    X(T, CEN_REF, smallInt(u"Ref.")) \
    X(T, typCeniku, calculated(str(12, u"Typ ceníku")))

#define STORE_VLASTNIK_COLUMNS(X, T) \
    X(T, VLA_KOD, str(6)) \
    X(T, VLA_ICO, str(8)) \
    X(T, VLA_DIC, str(15)) \
    X(T, VLA_JED, str(4)) \
    X(T, VLA_FIR, str(35)) \
    X(T, VLA_NAC, str(30)) \
    X(T, VLA_ULI, str(30)) \
    X(T, VLA_MES, str(30)) \
    X(T, VLA_PSC, str(6)) \
    X(T, VLA_STA, str(30)) \
    X(T, VLA_TEL, str(30)) \
    X(T, VLA_FAX, str(30)) \
    X(T, VLA_EML, str(30)) \
    X(T, VLA_JME, str(30)) \
    X(T, VLA_MOB, str(30)) \
    X(T, VLA_KON, str(15))

// Receipts: TYP is called for the receipt type, which the data module's component
// `ffDodavky` does not declare (through it the type is neither read nor written) and the
// reports' component `ffSesDod` does.
#define STORE_RECEIPT_COLUMNS(X, TYP, T) \
    X(T, HLA_DAT, date(u"Datum", kDate)) \
    X(T, HLA_DO1, str(10, u"Příjemka")) \
    TYP(T, HLA_TYP, str(3)) \
    X(T, HLA_DO2, str(10, u"Cizí doklad")) \
    X(T, HLA_DO3, str(10, u"Pom. Doklad")) \
    X(T, HLA_DDO, date(u"Dodáno dne", kDate)) \
    X(T, HLA_ODB, str(6, u"kód dodavatele")) \
    X(T, HLA_NAC, str(30, u"Název dodavatele")) \
    X(T, HLA_NCA, flt(u"Celkem v NC", kMoney)) \
    X(T, HLA_PCA, flt(u"Celkem v PC", kMoney)) \
    X(T, HLA_EDT, boolean(u"Edt.", kYesNo)) \
    X(T, HLA_FAC, flt(u"Cel.Hod.", kMoney))

#define STORE_DODAVKY_COLUMNS(X, T) STORE_RECEIPT_COLUMNS(X, STORE_NO_COLUMN, T)
#define STORE_SES_DOD_COLUMNS(X, T) STORE_RECEIPT_COLUMNS(X, X, T)

// The stock journal and the invoice discounts.
#define STORE_DENIK_COLUMNS(X, T) \
    X(T, DEN_RAD, autoInc(u"ID Kod")) \
    X(T, DEN_DAT, date(u"Datum", kDate)) \
    X(T, DEN_DOK, str(10, u"Doklad")) \
    X(T, DEN_KAV, str(6, u"Karta")) \
    X(T, DEN_IND, str(3, u"Var.")) \
    X(T, DEN_OPE, str(3, u"Ope.")) \
    X(T, DEN_KUS, flt(u"Kusy", kQuantity)) \
    X(T, DEN_HPC, flt(u"Hod. PC", kMoney)) \
    X(T, DEN_HNC, flt(u"Hod. NC", kMoney)) \
    X(T, DEN_DAN, flt(u"DPH")) \
    X(T, DEN_ZAS, flt(u"Zásoba", kQuantity)) \
    X(T, DEN_REF, str(2, u"Ref.")) \
    X(T, DEN_POZ, flt(u"Pozn.")) \
    X(T, DEN_PRN, str(10, u"Přen.dav.")) \
    X(T, DEN_KDY, time(u"Čas", u"hh:mm:ss"))

#define STORE_FAKT_SLEVY_COLUMNS(X, T) \
    X(T, FAS_FAK, str(10, u"Faktura")) \
    X(T, FAS_TYP, str(3, u"Typ")) \
    X(T, FAS_NAZ, str(40, u"Text")) \
    X(T, FAS_HOD, flt(u"Vých. částka")) \
    X(T, FAS_PRO, flt(u"Sl.v %")) \
    X(T, FAS_SLE, flt(u"Sleva v Kč")) \
    X(T, FAS_DAN, flt(u"Saz. DPH")) \
    X(T, FAS_DPH, boolean(u"Jde do DPH")) \
    X(T, FAS_ROZ, boolean(u"Rozpis do pol."))

// System tables: the users (shared) and the lock records (one table for all firms).
#define STORE_UZIVATELE_COLUMNS(X, T) \
    X(T, USR_KOD, str(3, u"Kód")) \
    X(T, USR_LNA, str(10, u"Přihl.jméno")) \
    X(T, USR_PSW, str(10, u"Heslo")) \
    X(T, USR_INI, str(2, u"Inic.")) \
    X(T, USR_GRP, str(3, u"Skup.")) \
    X(T, USR_NAC, str(20, u"Příjmení, jméno,tit.")) \
    X(T, USR_TEL, str(40, u"Telefon")) \
    X(T, USR_EML, str(40, u"E mail"))

#define STORE_SEMAFOR_COLUMNS(X, T) \
    X(T, SYS_KOD, autoInc()) \
    X(T, SYS_TAB, str(3)) \
    X(T, SYS_KLI, str(15)) \
    X(T, SYS_USR, str(15)) \
    X(T, SYS_DAT, dateTime()) \
    X(T, SYS_IDU, str(15))

// In-memory work tables: the content of one document and the rows of the deliveries
// overview.
#define STORE_DOKLAD_OBSAH_COLUMNS(X, T) \
    X(T, DOK_PC1, flt(u"PC / kus", kMoney)) \
    X(T, DOK_NC1, flt(u"SC / kus", kMoney)) \
    X(T, DOK_KUS, flt(u"Kusy")) \
    X(T, DOK_PCC, flt(u"PC Celkem", kMoney)) \
    X(T, DOK_PCS, flt(u"Cen. cena", kMoney)) \
    X(T, DOK_RAB, flt(u"Sle.Obch.", kMoney)) \
    X(T, DOK_SLP, flt(u"Sleva Mn.", kMoney)) \
    X(T, DOK_DAN, flt(u"DPH")) \
    X(T, DOK_DPH, flt(u"Hod. DPH", kMoney)) \
    X(T, DOK_NCC, flt(u"SC Celkem", kMoney)) \
    X(T, DOK_SKU, str(3, u"Skup.")) \
    X(T, DOK_POM, flt(u"Sleva Spc.", kMoney)) \
    X(T, DOK_KAV, str(6, u"Karta")) \
    X(T, DOK_IND, str(3, u"Var.")) \
    X(T, DOK_NAZ, str(40, u"Název položky")) \
    X(T, DOK_VAP, str(1, u"V.P.")) \
    /* Calculated, with no calculation attached: always empty. */ \
    X(T, DOK_PRV, calculated(str(1))) \
    X(T, DOK_CIS, str(10, u"Číslo dokladu")) \
    X(T, DOK_RAP, flt(u"Sl.obch.%", kMoney))

#define STORE_SES_DOD_MEM_COLUMNS(X, T) \
    X(T, Vystaveno, dateTime()) \
    X(T, Doklad, str(10)) \
    X(T, TypDod, str(2)) \
    X(T, FakDod, str(10)) \
    X(T, KodDod, str(6)) \
    X(T, Nazev, str(30)) \
    X(T, CelFac, flt()) \
    X(T, CelkemNC, flt()) \
    X(T, CelkemPC, flt()) \
    X(T, Zaklad22, flt()) \
    X(T, Zaklad05, flt()) \
    X(T, Zaklad00, flt()) \
    X(T, Dan22, flt()) \
    X(T, Dan05, flt()) \
    X(T, HalVyr, flt())

// A column left out of an expansion.
#define STORE_NO_COLUMN(T, name, definition)

// The field objects of a table component: declared as members of the class that holds
// the component (`store::Field &ffPodklHlavHLA_DO1;`), and bound in its constructor's
// initializer list after the component (`ffPodklHlavHLA_DO1(ffPodklHlav.Fields(1)),`).
// A component's fields never change while it lives, so the references stay valid when
// the table is closed, reopened or renamed for another firm.
#define STORE_FIELD_MEMBER(T, name, definition) store::Field &T##name;
#define STORE_FIELD_BINDING(T, name, definition) T##name(T.FieldByName(QStringLiteral(#name))),
