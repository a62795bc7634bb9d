#include "transaction.h"

#include "app/core/errors.h"
#include "app/core/screens_cleanup.h"
#include "database.h"

namespace store {

Transaction::Transaction(Database &db, Caller caller) : m_db(db)
{
    begin(caller);
}

Transaction::Transaction(Database &db, const QString &serialName, Caller caller) : m_db(db)
{
    begin(caller);
    try {
        m_db.SerializeOn(serialName);
    } catch (...) {
        // The destructor does not run for a constructor that throws.
        if (m_own)
            Quietly([this] { m_db.Rollback(); });
        throw;
    }
}

void Transaction::begin(Caller caller)
{
    if (caller == Caller::MayHaveOne && m_db.InTransaction())
        return;
    m_db.StartTransaction();
    m_own = true;
}

Transaction::~Transaction()
{
    if (m_own && !m_committed && m_db.InTransaction())
        Quietly([this] { m_db.Rollback(); });
}

void Transaction::wholeOrNothing()
{
    if (m_own)
        m_db.WholeOrNothing();
}

void Transaction::commit()
{
    if (m_committed)
        throw StoreError(QStringLiteral("Transakce již byla potvrzena"));
    m_committed = true;
    if (m_own)
        m_db.Commit();
}

} // namespace store
