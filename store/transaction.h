#pragma once
// A transaction for the length of a scope: what is written through the database between
// the guard's making and commit() is kept all together or not at all. Leaving the scope
// without commit() (by an error or a return) rolls the transaction back.
//
//     store::Transaction transaction(db, serialName);
//     ...writes...
//     transaction.commit();
//
// Errors: every failure of the store throws StoreError, as Database's own operations do.

#include <QString>

namespace store {

class Database;

class Transaction {
public:
    // What the guard does when the caller has a transaction open on the database already.
    enum class Caller {
        MustHaveNone,   // it is an error (StoreError, nothing changes): the guard's work
                        // must be committed on its own
        MayHaveOne,     // the guard joins it: the caller's commit or rollback decides
    };

    // Begins a transaction on db, or joins the caller's (by `caller`). Requires a
    // connection (StoreError).
    explicit Transaction(Database &db, Caller caller = Caller::MustHaveNone);
    // The same, then serializes the transaction on `serialName` (Database::SerializeOn):
    // any other connection serializing on the same name waits until this transaction
    // ends, so that a look-up followed by a write is atomic. When serializing fails, a
    // transaction the guard began is rolled back and the error raised.
    Transaction(Database &db, const QString &serialName, Caller caller = Caller::MustHaveNone);
    // Rolls back a transaction the guard began and did not commit. Never throws: a
    // rollback that fails leaves no transaction open either (Database::Rollback), and the
    // error that ended the scope is the one that counts. A joined transaction is left to
    // its owner.
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Commits a transaction the guard began (StoreError as Database::Commit; none is open
    // afterwards either way). For a joined transaction it does nothing: its owner commits.
    // Requires: not committed yet (StoreError).
    void commit();

    // Declares that a failed write ends the scope by its error, so that the whole
    // transaction is rolled back (Database::WholeOrNothing); its writes then cost the
    // server less. For a joined transaction it does nothing: its owner may go on after a
    // failure.
    void wholeOrNothing();

    // True when the guard joined the caller's transaction instead of beginning its own.
    bool joined() const { return !m_own; }

private:
    void begin(Caller caller);

    Database &m_db;
    bool m_own = false;
    bool m_committed = false;
};

} // namespace store
