// Lock records: a station marks a source document ("POD") or a stock card ("SOR") as
// being worked on in the shared table SYS0001, and other stations are refused until it
// removes its record again.
//
// The look-up and the append run in one short transaction serialized on the locked
// thing, so of any number of stations asking for the same thing at the same moment
// exactly one gets it; the others find its record and are refused with its holder.

#include "store/tdata.h"
#include "store/cursor.h"
#include "store/transaction.h"
#include "store/tables/index_names.h"

#include "core/prompter.h"
#include "core/textutil.h"
#include "core/errors.h"

#include <QDateTime>

namespace ix = store::tables::index;

QString TData::LockRefusalText(const QString &holder, const QDateTime &since)
{
    return QStringLiteral("Položka blokována uživatelem ") + TrimControl(holder) + QStringLiteral(" od  ")
        + since.toString(QStringLiteral("dd.MM.yyyy hh.mm"));
}

bool TData::LockRecord(const QString &code, const QString &key, bool *taken)
{
    QString refusal;
    const bool held = TryLockRecord(code, key, taken, &refusal);
    // The message is shown after the transaction has ended, so that no other station
    // waits on this one while the user reads it.
    if (!held)
        prompter().ShowMessage(refusal);
    return held;
}

namespace {

// The name on which every station's look-up of the lock on a thing is serialized.
QString lockSerialName(const QString &code, const QString &key)
{
    return QStringLiteral("SYS0001 ") + code.toUpper() + QLatin1Char(' ') + key.toUpper();
}

} // namespace

TData::LockFound TData::findLock(store::Table &locks, const QString &code, const QString &key)
{
    if (!locks.FindKey({code, key}))
        return {false, false, {}, {}};
    if (locks[ffSemaforSYS_IDU].AsString() == LocalAddress)
        return {true, true, {}, {}};
    return {true, false, locks[ffSemaforSYS_USR].AsString(), locks[ffSemaforSYS_DAT].AsDateTime()};
}

bool TData::TryLockRecord(const QString &code, const QString &key, bool *taken, QString *refusal)
{
    store::Cursor locks(ffSemafor, ix::ffSemafor::KOD);
    struct Outcome {
        bool held;
        bool written;
        QString holder;
        QDateTime since;
    };
    const Outcome outcome = [&] {
        store::Transaction transaction(Database, lockSerialName(code, key), store::Transaction::Caller::MayHaveOne);
        const LockFound found = findLock(locks, code, key);
        if (found.exists) {
            transaction.commit();
            return Outcome{found.ours, false, found.holder, found.since};
        }
        locks.Append();
        try {
            locks[ffSemaforSYS_TAB].SetAsString(code);
            locks[ffSemaforSYS_KLI].SetAsString(key);
            locks[ffSemaforSYS_IDU].SetAsString(LocalAddress);
            locks[ffSemaforSYS_USR].SetAsString(UserFullName);
            locks[ffSemaforSYS_DAT].SetAsDateTime(QDateTime::currentDateTime());
            locks.Post();
        } catch (...) {
            locks.Cancel();
            throw;
        }
        transaction.commit();
        return Outcome{true, true, {}, {}};
    }();
    if (taken)
        *taken = outcome.written;
    if (!outcome.held && refusal)
        *refusal = LockRefusalText(outcome.holder, outcome.since);
    return outcome.held;
}

bool TData::LockForTransaction(store::Table &locks, const QString &code, const QString &key, QString *refusal)
{
    if (!Database.InTransaction())
        throw StoreError(QStringLiteral("Zámek %1 %2 pro transakci bez transakce").arg(code, key));
    Database.SerializeOn(lockSerialName(code, key));
    const LockFound found = findLock(locks, code, key);
    if (found.exists && !found.ours) {
        if (refusal)
            *refusal = LockRefusalText(found.holder, found.since);
        return false;
    }
    if (found.exists)
        locks.Delete();
    return true;
}

void TData::UnlockRecord(const QString &code, const QString &key)
{
    try {
        store::Cursor locks(ffSemafor, ix::ffSemafor::KOD);
        if (locks.FindKey({code, key, LocalAddress}))
            locks.Delete();
    } catch (const StoreError &) {
        if (Database.ConnectionLost() && !m_pendingUnlocks.contains(qMakePair(code, key)))
            m_pendingUnlocks.append({code, key});
        throw;
    }
}
