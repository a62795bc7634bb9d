#include "transaction.h"

#include "core/errors.h"
#include "core/quietly.h"
#include "database.h"
#include "store/internal/engine.h"

#include <QRegularExpression>

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

void Transaction::commit()
{
    if (m_committed)
        throw StoreError(QStringLiteral("Transakce již byla potvrzena"));
    m_committed = true;
    if (m_own)
        m_db.Commit();
}

Savepoint::Savepoint(Database &db, const QString &name) : m_db(db)
{
    static const QRegularExpression kIdentifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!kIdentifier.match(name).hasMatch())
        throw StoreError(QStringLiteral("Neplatné jméno bodu transakce: %1").arg(name));
    Engine &e = m_db.engine();
    if (!e.inTransaction())
        throw StoreError(QStringLiteral("Žádná transakce neprobíhá"));
    if (e.transactionSpoiled())
        throw StoreError(kSpoiledTransaction);
    // Quoted: a name that is also a word of SQL names the savepoint all the same.
    m_name = '"' + name.toLatin1() + '"';
    e.savepoint(m_name);
}

Savepoint::~Savepoint()
{
    if (!m_released && m_db.InTransaction())
        Quietly([this] { m_db.engine().rollbackToSavepoint(m_name); });
}

void Savepoint::release()
{
    if (m_released)
        throw StoreError(QStringLiteral("Bod transakce %1 již byl uvolněn").arg(QString::fromLatin1(m_name)));
    Engine &e = m_db.engine();
    if (e.transactionSpoiled())
        throw StoreError(kSpoiledTransaction);
    e.releaseSavepoint(m_name);
    m_released = true;
}

} // namespace store
