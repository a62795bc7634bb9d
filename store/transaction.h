#pragma once
// A transaction for the length of a scope: what is written through the database between
// the guard's making and commit() is kept all together or not at all. Leaving the scope
// without commit() (by an error or a return) rolls the transaction back.
//
//     store::Transaction transaction(db, serialName);
//     ...writes...
//     transaction.commit();
//
// A statement that fails within the transaction ends it (Database::StartTransaction): the
// error ends the scope, and the guard rolls the transaction back. A caller that wants to
// go on after a failed write guards that part with a Savepoint.
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

    // True when the guard joined the caller's transaction instead of beginning its own.
    bool joined() const { return !m_own; }

private:
    void begin(Caller caller);

    Database &m_db;
    bool m_own = false;
    bool m_committed = false;
};

// A part of the caller's transaction that may fail on its own: what is written through
// the database between the guard's making and release() is kept with the transaction;
// leaving the scope without release() (by an error or a return) takes back only that
// part, and the transaction goes on as it stood when the guard was made, usable also
// after a statement that failed within the part.
//
//     store::Savepoint part(db, QStringLiteral("dodavatel"));
//     ...writes that may fail...
//     part.release();
class Savepoint {
public:
    // Requires a transaction open on db that no failed statement has ended (StoreError).
    // The name names the part in the store (letters, digits and "_"; StoreError for
    // others). Guards nest, an inner one in the scope of an outer one.
    Savepoint(Database &db, const QString &name);
    // Takes back the part unless it was released. Never throws: when taking it back fails,
    // the transaction stays ended, and its owner's rollback ends it.
    ~Savepoint();
    Savepoint(const Savepoint &) = delete;
    Savepoint &operator=(const Savepoint &) = delete;

    // Keeps the part in the transaction. StoreError when a statement has failed within
    // the part (it cannot be kept; the guard's end takes it back) and when released
    // already.
    void release();

private:
    Database &m_db;
    QByteArray m_name;
    bool m_released = false;
};

} // namespace store
