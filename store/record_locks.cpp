// Lock records: a station marks a source document ("POD") or a stock card ("SOR") as
// being worked on in the shared table SYS0001, and other stations are refused until it
// removes its record again.
//
// The look-up and the append run in one short transaction serialized on the locked
// thing, so of any number of stations asking for the same thing at the same moment
// exactly one gets it; the others find its record and are refused with its holder.

#include "store/tdata.h"

#include "app/prompter.h"
#include "app/textutil.h"
#include "app/errors.h"

#include <QDateTime>

namespace {

// Opens the lock table on index "KOD" for one operation and closes it again.
class SemaforSession {
public:
    explicit SemaforSession(store::Table &table) : m_table(table)
    {
        if (!m_table.Active())
            m_table.Open();
        m_table.SetIndexName(QStringLiteral("KOD"));
    }
    ~SemaforSession()
    {
        try {
            m_table.Close();
        } catch (...) {
            // Closing never fails in a way the caller could act on.
        }
    }

private:
    store::Table &m_table;
};

// Runs work in a transaction of its own, or inside the caller's when one is open.
template <typename Work>
auto inTransaction(store::Database &db, const QString &serializeOn, Work work)
{
    const bool own = !db.InTransaction();
    if (own)
        db.StartTransaction();
    try {
        db.SerializeOn(serializeOn);
        auto result = work();
        if (own)
            db.Commit();
        return result;
    } catch (...) {
        if (own && db.InTransaction())
            db.Rollback();
        throw;
    }
}

} // namespace

QString TData::LockRefusalText(const QString &holder, const QDateTime &since)
{
    return QStringLiteral("Položka blokována uživatelem ") + TrimControl(holder) + QStringLiteral(" od  ")
        + since.toString(QStringLiteral("dd.MM.yyyy hh.mm"));
}

bool TData::LockRecord(const QString &code, const QString &key)
{
    SemaforSession session(ffSemafor);
    struct Outcome {
        bool held;
        QString holder;
        QDateTime since;
    };
    const Outcome outcome = inTransaction(Database, QStringLiteral("SYS0001 ") + code.toUpper() + QLatin1Char(' ') + key.toUpper(), [&] {
        if (ffSemafor.FindKey({code, key})) {
            if (ffSemaforSYS_IDU.AsString() == LocalAddress)
                return Outcome{true, {}, {}};
            return Outcome{false, ffSemaforSYS_USR.AsString(),
                           ffSemaforSYS_DAT.AsDateTime()};
        }
        ffSemafor.Append();
        try {
            ffSemaforSYS_TAB.SetAsString(code);
            ffSemaforSYS_KLI.SetAsString(key);
            ffSemaforSYS_IDU.SetAsString(LocalAddress);
            ffSemaforSYS_USR.SetAsString(UserFullName);
            ffSemaforSYS_DAT.SetAsDateTime(QDateTime::currentDateTime());
            ffSemafor.Post();
        } catch (...) {
            ffSemafor.Cancel();
            throw;
        }
        return Outcome{true, {}, {}};
    });
    // The message is shown after the transaction has ended, so that no other station
    // waits on this one while the user reads it.
    if (!outcome.held)
        prompter().ShowMessage(LockRefusalText(outcome.holder, outcome.since));
    return outcome.held;
}

void TData::UnlockRecord(const QString &code, const QString &key)
{
    SemaforSession session(ffSemafor);
    if (ffSemafor.FindKey({code, key, LocalAddress}))
        ffSemafor.Delete();
}
