#pragma once
// The central data module: the connection to the shared database, one table component
// for every table of it, the in-memory work tables, the configuration and the session
// of the user, and the small shared operations on the tables. One instance lives for
// the whole run; every window and module reaches the tables through `Data`.

#include "app/core/config.h"
#include "store/database.h"
#include "store/table.h"
#include "store/tables/catalogue.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>
#include <functional>

class TData : public QObject, public Config {
    Q_OBJECT
public:
    // The full name lock records show until a user has logged in: a person's name
    // followed by blanks, 19 characters in all.
    static const QString kDefaultUserFullName;

    // Builds every table component under its built-in name (its name for firm 0001, or
    // its shared name) on the not yet connected `Database`, creates the work tables in
    // an in-memory database of their own, attaches the event handlers and points `Data`
    // at this instance. Throws StoreError when the in-memory database cannot be made.
    explicit TData(QObject *parent = nullptr);
    // Closes every table; `Data` no longer points here.
    ~TData() override;

    // The shared database; every table component below is opened through it.
    store::Database Database;
    // The database of the work tables, in memory for the run.
    store::Database MemDatabase;

    // One table component per table of the shared database, in catalogue order
    // (`ffDenik` ... `ffSemafor`, see store/tables/catalogue.h), then the in-memory work
    // tables (`DokladObsah`, `SumUhrada`, `HistoriePujcky`).
#define TDATA_TABLE(component, ...) store::Table component;
    STORE_CATALOGUE(TDATA_TABLE, TDATA_TABLE)
    STORE_WORK_TABLES(TDATA_TABLE)
#undef TDATA_TABLE

    // The field objects: one per column of each component, named after the component and
    // the column (`ffPodklHlavHLA_DO1`, `ffPodklPolPOP_KAV`, `DokladObsahDOK_KAV`; the
    // columns are those of store/tables/columns.h). Each is the component's own field,
    // so it reads and writes the component's current record without looking up a name,
    // and stays valid while the table is closed, reopened or renamed for another firm.
#define TDATA_FIELDS(component, definition, columns) columns(STORE_FIELD_MEMBER, component)
#define TDATA_NO_FIELDS(...)
    STORE_CATALOGUE(TDATA_FIELDS, TDATA_NO_FIELDS)
    STORE_WORK_TABLES(TDATA_FIELDS)
#undef TDATA_FIELDS
#undef TDATA_NO_FIELDS

    // Data sources through which windows show the tables.
    store::DataSource DataPodklHlav, DataPodklPol, DataSorti, DataSklad, DataDodavatele,
        DataCiselnik, DataCeniky, DataVlastnik, DataDodavky, DataDenik, DataDokladObsah,
        DataFaktSlevy;

    // Session: who is logged in and which station this is (the station's address in
    // lock records).
    QString UserFullName = kDefaultUserFullName;
    QString UserInitials;
    QString UserCode;
    QString UserGroup;
    QString LocalAddress;
    // Position of the main window.
    int MainTop = 0;
    int MainLeft = 0;

    // An import of prepared deliveries is running: a second one is refused and the
    // source-document editor cannot be closed or print until it ends.
    bool ImportRunning = false;

    // The assortment card and the supplier last remembered, for this run only.
    bool LastSorSet = false;
    QString LastSorCode;
    QString LastSorIndex;
    bool LastDodSet = false;
    QString LastDodCode;
    QString LastDodIndex;

    // The 76 table components in catalogue order (work tables not included).
    const QVector<store::Table *> &Tables() const { return m_tables; }
    // The component of that name ("ffSortiment"); nullptr when there is none.
    store::Table *TableByComponent(const QString &component) const;

    // Gives every table component its table name for FirmNumber: prefix + FirmNumber
    // for per-firm tables, the fixed name for the others. Requires every table closed;
    // called once at start-up, before the connection opens.
    void SetTableNames();

    // Opens the assortment (if closed) and, when the index name is not blank, selects
    // it; a blank name keeps the current index. The integer is ignored. True when the
    // table is open afterwards. An open that fails gives false and raises nothing (the
    // table stays as the error left it); an index error on a table that was already
    // open is raised.
    bool OpenffSor(int unused, const QString &indexName);
    // Closes the assortment if it is open.
    void CloseffSor();
    // The same pair for the stock journal.
    bool OpenffDen(int unused, const QString &indexName);
    void CloseffDenik();
    // Closes the receipts table `ffDodavky` if it is open.
    void CloseffDod();
    // The number (HLA_DO1) of the first receipt that carries `prepared` in HLA_DO3, the
    // prepared delivery its lines were imported from; empty when none does. Read through
    // a component of its own, so ffDodavky keeps its state and record. Store errors are
    // raised.
    QString ReceiptImportedFrom(const QString &prepared);

    // Remembers the current card of `ffSortiment` (its SOR_KAV) and the table's current
    // index. False, remembering nothing, when there is no current record (the table is
    // closed or empty).
    bool SetLastSor();
    // Goes back to the remembered card: FindKey on index "KAV" (a card no longer there
    // leaves the table where it was), then selects the remembered index again. False
    // when nothing was remembered (the table is not touched) or on any error.
    bool GetLastSor();
    // The same pair for `ffDodavatele` (DOD_KOD, index "KOD").
    bool SetLastDod();
    bool GetLastDod();

    // Does nothing; false.
    bool Index();

    // Run at the start of a command. When the connection to the server has been lost,
    // connects again (the open tables re-opened, a record in editing cancelled), removes
    // the lock records UnlockRecord could not remove meanwhile, and tells the user once
    // that the connection is restored; when the server is still away, says
    // so with the engine's text. True when the command can go on.
    bool RestoreConnection();
    // "Spojení s databázovým serverem <ServerName>@<Host> bylo obnoveno".
    QString ConnectionRestoredText() const;

    // The card look-up of the item editor (defined with the windows, in ui/sorvalid.cpp).
    // A text of more than 5 characters (trimmed) found as SOR_KAV on index "KAV" is taken
    // at once; otherwise the assortment picker opens in name order at the remembered card.
    // True when ffSortiment stands on the card found or chosen, which is then remembered
    // (SetLastSor). The table is opened if closed, and then closed again afterwards.
    bool SorValid(const QString &text);

    // Calculated fields of the items: POP_CCC = POP_CKU × POP_CNC, POP_NCC = POP_NCS ×
    // POP_KUS, not rounded. Attached to `ffPodklPol`.
    void ffPodklPolCalcFields(store::Record &r);
    // Calculated fields of a card: SOR_DIS ("Volne") = SOR_STA − SOR_BLO, SOR_VOL =
    // SOR_MAJ − SOR_PUJ. Attached to `ffSortiment`.
    void SortimentCalcFields(store::Record &r);
    // typCeniku: "Ceny s DPH" when CEN_DPH is true, else "Ceny bez DPH". Attached to
    // `ffCeniky`.
    void ffCenikyCalcFields(store::Record &r);
    // Gives a supplier just inserted into `supplier` its code and firm: in a transaction
    // of its own on `Database`, CIS_ODB of the counter table goes up by one and is
    // committed at once; DOD_KOD = that number padded with zeros to 6, DOD_JED =
    // FirmNumber. The code stays used even when the supplier is then cancelled. On any
    // failure the counter is rolled back and the error is raised, so the insert fails
    // and no supplier keeps a code the counter has not recorded. The counter table is
    // given back as it was found (closed again when it was closed) in every case.
    // Attached to `ffDodavatele`.
    void ffDodavateleAfterInsert(store::Table &supplier);

    // The stock operations below are defined with the import, in import/ (library
    // podklady_stock): a program that calls them links that library.
    //
    // Posts one stock movement of a card variant: appends a journal entry (today, the
    // user's initials, DEN_ZAS the variant's stock after it, 0 for a card that keeps no
    // stock) and, for a stock item, changes SKL_STA and SOR_STA by the quantity; stamps
    // SOR_PPO. Prices and products are kept in double precision (0.1 × 10 posts 1.0).
    // All in one transaction, which must not be open yet. When the newest entry's
    // DEN_ZAS disagrees with SKL_STA the card is rebuilt first and its new stock shown.
    // True when committed; false, nothing written, for an unknown card, a stock item
    // without the variant or any failure. The three tables are given back as they were.
    bool ZapisPohybuVar(const QString &card, const QString &variant, const QString &document,
                        const QString &operation, double unitPrice, double vatRate, double quantity);
    // Recomputes the stock of a card from the journal: each variant "000"–"999" gets
    // SKL_POC plus its entries' DEN_KUS (0 for a card that keeps no stock), the card the
    // sum. The journal is only read. True when the card exists and every variant and the
    // card were written; a variant held elsewhere keeps its stock (result false). The
    // three tables are given back as they were.
    bool RekonstrukceKarty(const QString &card);

    // The value computation below is defined with the reports, in reports/ (library
    // podklady_document_value): a program that calls it links that library.
    //
    // Gathers the journal lines of the receipt DocNumber (operation "001") into
    // DokladObsah, one row per card and variant, without emptying it first: sums of
    // quantity, sale value (with VAT when PriceMode is 2), purchase value and VAT on it;
    // the sale value also into DOK_PCS, DOK_RAB, DOK_SLP, DOK_POM when the line's code is
    // in the comma-separated list. Nothing is rounded. Only Kind 3 (receipt) is valued;
    // another kind raises AppError before anything is read. Store errors are raised.
    // ffDenik and ffSortiment are given back open or closed, on their index and record.
    void GetDoklad(const QString &DocNumber, const QString &PcsOps, int Kind, const QString &RabOps,
                   const QString &SlpOps, const QString &PomOps);
    // Opens DokladObsah (if closed) and deletes every row of it.
    void EmptyDokladObsah();
    // The value of the receipt DocNumber (Kind 3) split by VAT rate: empties DokladObsah
    // (left open) and fills it by GetDoklad, then CelkemNC = purchase total, CelkemPC =
    // sale total with VAT, Zaklad22/05/00 = purchase totals of the rows at VatRateHigh,
    // VatRateLow, VatRateZero, Dan22/Dan05 = those bases times their rate; HalVyr and
    // Deduction 0. Not rounded. Every result is 0 on entry and stays 0 on any error
    // (another kind raises AppError, the store its own errors).
    void HlaHod(const QString &DocNumber, int Kind, double &CelkemNC, double &CelkemPC, double &Zaklad22,
                double &Zaklad05, double &Zaklad00, double &Dan22, double &Dan05, double &HalVyr,
                double &Deduction);
    // The nine results of HlaHod.
    struct HodnotaDokladu {
        double CelkemNC = 0, CelkemPC = 0, Zaklad22 = 0, Zaklad05 = 0, Zaklad00 = 0, Dan22 = 0, Dan05 = 0,
               HalVyr = 0, Deduction = 0;
    };
    // HlaHod for every receipt of `receipts` (a component of the receipts table, open, in
    // the order and range the caller chose), from the current record to the end: `each`
    // gets the receipt and its value, equal to the results of HlaHod for its number. It
    // reads the receipts in pages and the journal lines of a whole page in one query
    // (DokladObsah is not used), summing the lines in the same order and by the same
    // rules as GetDoklad and HlaHod. `receipts` is left at its end (Eof); ffDenik is
    // given back open or closed, on its index and record. Store errors are raised.
    void HlaHodDodavek(store::Table &receipts,
                       const std::function<void(const store::Record &receipt, const HodnotaDokladu &value)> &each);

    // Record locks between stations, kept as records of the lock table `ffSemafor`:
    // code "POD" with a document number, "SOR" with a card number. LockRecord: true
    // when this station (LocalAddress) holds the lock, newly or already; false when
    // another station holds it, after showing who and since when. Of stations asking
    // at the same moment exactly one gets it. Store errors are raised. `taken`, when
    // given, tells whether this call wrote the record: false when the station held it
    // already (another copy on this computer, or one that ended without releasing it).
    // A command that did not take the record itself must not remove it when it fails.
    // These calls open ffSemafor for their work and close it again; a caller that keeps
    // it open (to spare the opening) finds it on its index "KOD", where the work left it.
    bool LockRecord(const QString &code, const QString &key, bool *taken = nullptr);
    // The same without a message: a refusal's text goes to `refusal` when given. For a
    // caller that must end its own transaction before anything is shown.
    bool TryLockRecord(const QString &code, const QString &key, bool *taken = nullptr, QString *refusal = nullptr);
    // Removes this station's lock record on the thing, if there is one. When the
    // connection is lost meanwhile, the record is remembered and removed by the
    // RestoreConnection that gets the connection back (the error is still raised), so
    // that a server gone away under a command leaves no lock behind.
    void UnlockRecord(const QString &code, const QString &key);
    // Within the caller's transaction (StoreError without one): what TryLockRecord and
    // UnlockRecord in that transaction would leave, without writing the lock record. True
    // when no other station holds the lock; until the transaction ends, every station that
    // asks for the lock waits (it serializes on the same name as TryLockRecord), and then
    // finds it free. A lock record of this station's own, left by an earlier run, is
    // removed with the transaction. False, nothing written, when another station holds
    // it; its refusal's text goes to `refusal` when given.
    bool LockForTransaction(const QString &code, const QString &key, QString *refusal = nullptr);
    // "Položka blokována uživatelem <holder> od  dd.mm.yyyy hh.mm".
    static QString LockRefusalText(const QString &holder, const QDateTime &since);

private:
    // The lock record on a thing, looked up on ffSemafor (on its index "KOD").
    struct LockFound {
        bool exists;
        bool ours;        // this station's (LocalAddress)
        QString holder;   // another station's user, and since when
        QDateTime since;
    };
    LockFound findLock(const QString &code, const QString &key);

    QVector<store::Table *> m_tables;
    QVector<store::Table *> m_workTables;
    // Lock records this station could not remove while its connection was lost.
    QVector<QPair<QString, QString>> m_pendingUnlocks;
};

// The one data module of the program; set by TData's constructor.
extern TData *Data;
