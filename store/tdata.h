#pragma once
// The central data module: the connection to the shared database, one table component
// for every table of it that this system opens, the in-memory work tables, the
// configuration and the session of the user, and the small shared operations on the
// tables. One instance lives for the whole run; the windows share its tables through
// `Data`. The tables of the shared database that this system never opens are named in
// the catalogue (store/tables/catalogue.h) and have no component here.

#include "core/config.h"
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

    // Builds the table components under their built-in names (the name for firm 0001, or
    // the shared name) on the not yet connected `Database`, creates the work tables in
    // an in-memory database of their own, attaches the event handlers and points `Data`
    // at this instance. Throws StoreError when the in-memory database cannot be made.
    explicit TData(QObject *parent = nullptr);
    // Closes every table; `Data` no longer points here.
    ~TData() override;

    // The shared database; every table component below is opened through it.
    store::Database Database;
    // The database of the work tables, in memory for the run.
    store::Database MemDatabase;

    // One table component per table of the shared database that this system opens, in
    // catalogue order (`ffDenik` ... `ffSemafor`, see store/tables/catalogue.h), then the
    // in-memory work table `DokladObsah`.
#define TDATA_TABLE(component, ...) store::Table component;
#define TDATA_NO_TABLE(...)
    STORE_CATALOGUE(TDATA_TABLE, TDATA_NO_TABLE)
    STORE_WORK_TABLES(TDATA_TABLE, TDATA_NO_TABLE)
#undef TDATA_TABLE
#undef TDATA_NO_TABLE

    // The field objects: one per column of each component, named after the component and
    // the column (`ffPodklHlavHLA_DO1`, `ffPodklPolPOP_KAV`, `DokladObsahDOK_KAV`; the
    // columns are those of store/tables/columns.h). Each is the component's own field,
    // so it reads and writes the component's current record without looking up a name,
    // and stays valid while the table is closed, reopened or renamed for another firm.
#define TDATA_FIELDS(component, definition, columns) columns(STORE_FIELD_MEMBER, component)
#define TDATA_NO_FIELDS(...)
    STORE_CATALOGUE(TDATA_FIELDS, TDATA_NO_FIELDS)
    STORE_WORK_TABLES(TDATA_FIELDS, TDATA_NO_FIELDS)
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

    // Gives every table component of the shared database its table name for FirmNumber:
    // prefix + FirmNumber for per-firm tables, the fixed name for the others. Requires
    // every table closed; called once at start-up, before the connection opens.
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
    // a cursor of its own (store::Cursor), so ffDodavky keeps its state and record. Store
    // errors are raised.
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
    // and no supplier keeps a code the counter has not recorded. The counter is read
    // and written through a cursor of its own; the component ffCiselnik is not touched.
    // Attached to `ffDodavatele`.
    void ffDodavateleAfterInsert(store::Table &supplier);

    // Opens DokladObsah (if closed) and deletes every row of it.
    void EmptyDokladObsah();

    // Record locks between stations, kept as records of the lock table `ffSemafor`:
    // code "POD" with a document number, "SOR" with a card number. LockRecord: true
    // when this station (LocalAddress) holds the lock, newly or already; false when
    // another station holds it, after showing who and since when. Of stations asking
    // at the same moment exactly one gets it. Store errors are raised. `taken`, when
    // given, tells whether this call wrote the record: false when the station held it
    // already (another copy on this computer, or one that ended without releasing it).
    // A command that did not take the record itself must not remove it when it fails.
    // These calls read and write the lock table through a cursor of their own
    // (store::Cursor); the component ffSemafor is not touched.
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
    // it; its refusal's text goes to `refusal` when given. `locks` is the caller's cursor
    // on the lock table on its index "KOD" (store::Cursor on ffSemafor), opened once for
    // all the locks of its transaction.
    bool LockForTransaction(store::Table &locks, const QString &code, const QString &key,
                            QString *refusal = nullptr);
    // "Položka blokována uživatelem <holder> od  dd.mm.yyyy hh.mm".
    static QString LockRefusalText(const QString &holder, const QDateTime &since);

private:
    // The lock record on a thing, looked up on `locks`, a cursor on the lock table on its
    // index "KOD".
    struct LockFound {
        bool exists;
        bool ours;        // this station's (LocalAddress)
        QString holder;   // another station's user, and since when
        QDateTime since;
    };
    LockFound findLock(store::Table &locks, const QString &code, const QString &key);

    QVector<store::Table *> m_tables;
    QVector<store::Table *> m_workTables;
    // Lock records this station could not remove while its connection was lost.
    QVector<QPair<QString, QString>> m_pendingUnlocks;
};

// The one data module of the program; set by TData's constructor.
extern TData *Data;
