#pragma once
// The named indexes of every table this system selects an index of, each listed once with
// its definition, as columns.h lists the columns: a list is a macro that calls
// X(T, index, definition) for each index, T being passed through unchanged. The table
// definitions expand it into their index lists (`STORE_INDEX_DEFINITION`, T naming the
// column constants of column_names.h that the key fields are given by), and
// index_names.h into one constant per index named after its component
// (store::tables::index::ffSortiment::KAV is "KAV"): a table is put in the order of an
// index by that constant, and a misspelt one does not compile.
//
// A definition is a call of the builders of builders.h: keys(fields), unique(...),
// caseInsensitive(...), lastDescending(...). The record id ends every index.

// Source documents. Document numbers are not unique in the index: a header is written
// only once it has its number, but the wider shop system writes this table too and its
// rows must not be refused. Supplier names are typed in mixed case, so "NAC" ignores case
// to list and find them alphabetically whatever the case.
#define STORE_PODKL_HLAV_INDEXES(X, T) \
    X(T, DO1, keys({T::HLA_DO1})) \
    X(T, DO2, keys({T::HLA_DO2})) \
    X(T, NAC, caseInsensitive(keys({T::HLA_NAC})))

// The items of one document follow each other in the order they were written: the
// record id breaks the ties of POP_DOK.
#define STORE_PODKL_POL_INDEXES(X, T) \
    X(T, DO1, keys({T::POP_DOK}))

// The card number is the key of a card: unique. Names and their aliases are typed in
// mixed case and searched as typed, so their indexes ignore case and a search lands on
// the name whatever its case. Codes of suppliers and manufacturers are compared exactly,
// as printed on their documents; so are bar codes ("EAN"), by which a scanned code and a
// supplier's e-invoice find their card.
#define STORE_SORTIMENT_INDEXES(X, T) \
    X(T, KAV, unique(keys({T::SOR_KAV}))) \
    X(T, NAC, caseInsensitive(keys({T::SOR_NAC}))) \
    X(T, ALI, caseInsensitive(keys({T::SOR_ALI}))) \
    X(T, KDO, keys({T::SOR_KDO})) \
    X(T, KVY, keys({T::SOR_KVY})) \
    X(T, EAN, keys({T::SOR_EAN})) \
    X(T, PC1, keys({T::SOR_PC1}))

// One record per variant of a card: (card, variant) is unique, so the posting can never
// find two stock records for one variant.
#define STORE_SKLAD_INDEXES(X, T) \
    X(T, KAV, unique(keys({T::SKL_KAV, T::SKL_IND})))

// "NAC" orders by the company name (DOD_FIR, the name the documents carry), then by
// department. The name and registration-number searches pass their text in capitals, so
// both indexes compare in capitals. Supplier codes are not declared unique: suppliers
// created by the wider shop system keep whatever codes it gave.
#define STORE_DODAVATELE_INDEXES(X, T) \
    X(T, KOD, keys({T::DOD_KOD})) \
    X(T, NAC, caseInsensitive(keys({T::DOD_FIR, T::DOD_NAC}))) \
    X(T, ICO, caseInsensitive(keys({T::DOD_ICO})))

// The receipts of one day follow each other in receipt-number order.
#define STORE_RECEIPT_INDEXES(X, T) \
    X(T, DAT, keys({T::HLA_DAT, T::HLA_DO1}))

// DEN_RAD is the record id, and it grows with every entry written: "DOK" and "KAV"
// therefore read the lines of a document or a variant oldest first (the rebuild replays
// them in that order). "STA" orders DEN_RAD descending, so the newest entry of a (card,
// variant) comes first and the posting finds the variant's last running stock with one
// FindKey.
#define STORE_DENIK_INDEXES(X, T) \
    X(T, DOK, keys({T::DEN_DOK})) \
    X(T, KAV, keys({T::DEN_KAV, T::DEN_IND})) \
    X(T, STA, lastDescending(keys({T::DEN_KAV, T::DEN_IND, T::DEN_RAD})))

// The discount lines of one invoice.
#define STORE_FAKT_SLEVY_INDEXES(X, T) \
    X(T, FAK, keys({T::FAS_FAK}))

// At most one lock record per locked thing and station.
#define STORE_SEMAFOR_INDEXES(X, T) \
    X(T, KOD, caseInsensitive(unique(keys({T::SYS_TAB, T::SYS_KLI, T::SYS_IDU}))))

// The content of a document by card, then variant; a row of one (card, variant) is found
// with one FindKey.
#define STORE_DOKLAD_OBSAH_INDEXES(X, T) \
    X(T, KAV, keys({T::DOK_KAV, T::DOK_IND}))

// The rows of the deliveries overview by document, or by supplier and then document.
#define STORE_SES_DOD_MEM_INDEXES(X, T) \
    X(T, Doklad, keys({T::Doklad})) \
    X(T, KodDod, keys({T::KodDod, T::Doklad}))

// The components whose indexes are selected, each with its index list. The receipts have
// the same indexes through both of their components.
#define STORE_INDEXED_TABLES(X) \
    X(ffPodklHlav, STORE_PODKL_HLAV_INDEXES) \
    X(ffPodklPol, STORE_PODKL_POL_INDEXES) \
    X(ffSortiment, STORE_SORTIMENT_INDEXES) \
    X(ffSklad, STORE_SKLAD_INDEXES) \
    X(ffDodavatele, STORE_DODAVATELE_INDEXES) \
    X(ffDodavky, STORE_RECEIPT_INDEXES) \
    X(ffSesDod, STORE_RECEIPT_INDEXES) \
    X(ffDenik, STORE_DENIK_INDEXES) \
    X(ffFaktSlevy, STORE_FAKT_SLEVY_INDEXES) \
    X(ffSemafor, STORE_SEMAFOR_INDEXES) \
    X(DokladObsah, STORE_DOKLAD_OBSAH_INDEXES) \
    X(SesDodMem, STORE_SES_DOD_MEM_INDEXES)
