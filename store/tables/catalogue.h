#pragma once
// The tables of the shared database, each listed once: the 76 tables in catalogue order,
// then the in-memory work tables. The catalogue expands these lists into its entries,
// and the data module into a component with its field objects for each table this
// system uses, so a component, its table and its field objects come from one place.
//
// STORE_CATALOGUE(USED, UNUSED) calls
//   USED(component, definition, columns) for a table this system uses: its definition
//     function of tables.h and its column list of columns.h;
//   UNUSED(component, naming, name) for a table this system never opens: perFirm with
//     its prefix, or fixedName with its name; it carries no fields, and the data module
//     has no component for it.

#include "columns.h"

#define STORE_CATALOGUE(USED, UNUSED) \
    /* 50 per-firm tables: prefix + firm number */ \
    USED(ffDenik, denik, STORE_DENIK_COLUMNS) \
    USED(ffSklad, sklad, STORE_SKLAD_COLUMNS) \
    USED(ffSortiment, sortiment, STORE_SORTIMENT_COLUMNS) \
    USED(ffCiselnik, ciselnik, STORE_CISELNIK_COLUMNS) \
    UNUSED(ffFaktury, perFirm, "Fak") \
    USED(ffDodavky, dodavky, STORE_DODAVKY_COLUMNS) \
    USED(ffDodavatele, dodavatele, STORE_DODAVATELE_COLUMNS) \
    UNUSED(ffOdberatele, perFirm, "Ext") \
    UNUSED(ffOdbPob, perFirm, "Exp") \
    UNUSED(ffPrijemky, perFirm, "Pri") \
    UNUSED(ffVydejky, perFirm, "Vyd") \
    UNUSED(ffDobropisy, perFirm, "Dob") \
    UNUSED(ffPrecHlav, perFirm, "Prh") \
    UNUSED(ffPrecPol, perFirm, "Prp") \
    UNUSED(ffInveHlav, perFirm, "Ihl") \
    UNUSED(ffInvePol, perFirm, "IPl") \
    UNUSED(ffInveSkl, perFirm, "Ips") \
    UNUSED(ffPoznamky, perFirm, "Poz") \
    UNUSED(ffVratky, perFirm, "Vrd") \
    UNUSED(ffVypisy, perFirm, "Vyp") \
    UNUSED(ffUctenky, perFirm, "Uce") \
    UNUSED(ffVycetky, perFirm, "Vct") \
    UNUSED(ffObjHlav, perFirm, "OBJ") \
    UNUSED(ffObjPol, perFirm, "OBP") \
    UNUSED(ffProformy, perFirm, "Prf") \
    UNUSED(ffBlokacePolozky, perFirm, "Blo") \
    UNUSED(ffPokladna, perFirm, "Pla") \
    USED(ffFaktSlevy, faktSlevy, STORE_FAKT_SLEVY_COLUMNS) \
    UNUSED(ffObchodnici, perFirm, "OBC") \
    UNUSED(ffZakVydejky, perFirm, "VMA") \
    UNUSED(ffFakZakazky, perFirm, "Fma") \
    UNUSED(ffFakZakInt, perFirm, "Fmi") \
    UNUSED(ffSkladPujc, perFirm, "Skp") \
    UNUSED(ffDenikPujc, perFirm, "Dep") \
    UNUSED(ffZapujDen, perFirm, "ZAP") \
    UNUSED(ffPujcky, perFirm, "PUJ") \
    UNUSED(ffZapVratky, perFirm, "VRA") \
    UNUSED(ffDodavkyPujc, perFirm, "Ppd") \
    UNUSED(ffVydejkyPujc, perFirm, "Vpu") \
    UNUSED(ffPrijemkyPujc, perFirm, "Ppu") \
    UNUSED(ffVratkyPujc, perFirm, "Vrp") \
    UNUSED(ffFakOdpro, perFirm, "FAO") \
    UNUSED(ffFakNajem, perFirm, "FAN") \
    UNUSED(ffFakNajemInt, perFirm, "FAI") \
    UNUSED(ffFakVolPol, perFirm, "FAP") \
    UNUSED(ffFakVolHla, perFirm, "FAL") \
    UNUSED(ffNabHlav, perFirm, "Nah") \
    UNUSED(ffNabPol, perFirm, "Nap") \
    USED(ffPodklHlav, podklHlav, STORE_PODKL_HLAV_COLUMNS) \
    USED(ffPodklPol, podklPol, STORE_PODKL_POL_COLUMNS) \
    /* 25 shared tables: fixed names ending in "0000" */ \
    UNUSED(ffMaska, fixedName, "Mas0000") \
    UNUSED(ffProdejny, fixedName, "Org0000") \
    UNUSED(ffSlevaSkupina, fixedName, "SLS0000") \
    UNUSED(ffSlevaKarta, fixedName, "SLK0000") \
    UNUSED(ffSortiSkup, fixedName, "SSK0000") \
    USED(ffCeniky, ceniky, STORE_CENIKY_COLUMNS) \
    UNUSED(ffFormaUhrady, fixedName, "Fuh0000") \
    UNUSED(ffFormaDopravy, fixedName, "FDO0000") \
    UNUSED(ffTypVydeje, fixedName, "Typ0000") \
    USED(ffUzivatele, uzivatele, STORE_UZIVATELE_COLUMNS) \
    UNUSED(ffUziPrava, fixedName, "Urs0000") \
    UNUSED(ffUzivSkup, fixedName, "Ugr0000") \
    UNUSED(ffUziPopPrav, fixedName, "Urt0000") \
    USED(ffVlastnik, vlastnik, STORE_VLASTNIK_COLUMNS) \
    UNUSED(ffSortiDruh, fixedName, "SDR0000") \
    UNUSED(ffSortiPodSkp, fixedName, "SPK0000") \
    UNUSED(ffSortiVyrobce, fixedName, "Svr0000") \
    UNUSED(ffMjeJed, fixedName, "Mje0000") \
    UNUSED(ffHlasky, fixedName, "Msg0000") \
    UNUSED(ffInveTyp, fixedName, "Int0000") \
    UNUSED(ffTypOdberatele, fixedName, "Esk0000") \
    UNUSED(ffFinOperace, fixedName, "Fin0000") \
    UNUSED(ffTypSlevOdb, fixedName, "ESL0000") \
    UNUSED(ffTypySlevFaktura, fixedName, "FTS0000") \
    UNUSED(ffTypPlatby, fixedName, "Bpt0000") \
    /* the lock records: "SYS0001" for every firm */ \
    USED(ffSemafor, semafor, STORE_SEMAFOR_COLUMNS)

// The in-memory work tables. STORE_WORK_TABLES(USED, UNUSED) calls USED as the catalogue
// does for the work table this system uses, and UNUSED(component, naming, name) for the
// two that belong to operations of the wider shop system, which this system never opens:
// they carry no fields, and the data module has no component for them.
#define STORE_WORK_TABLES(USED, UNUSED) \
    USED(DokladObsah, dokladObsah, STORE_DOKLAD_OBSAH_COLUMNS) \
    UNUSED(SumUhrada, fixedName, "SumUhrada") \
    UNUSED(HistoriePujcky, fixedName, "HistoriePujcky")

// The components of the reports data module: the receipts with every field (HLA_TYP
// included) and the rows of the deliveries overview.
#define STORE_REPORT_TABLES(USED) \
    USED(ffSesDod, dodavkyFull, STORE_SES_DOD_COLUMNS) \
    USED(SesDodMem, sesDodMem, STORE_SES_DOD_MEM_COLUMNS)
