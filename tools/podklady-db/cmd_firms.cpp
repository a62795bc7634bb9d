// podklady-db firms [--ini PATH]: the firms the configured database holds, each with its
// owner's name, its number of source documents and the date of the newest one.
// Exit codes: 0 listed, 1 the database failed, 2 configuration, 64 arguments.

#include "commands.h"
#include "options.h"

#include "core/config.h"
#include "core/errors.h"
#include "store/table.h"
#include "store/tables/column_names.h"
#include "store/tables/tables.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <algorithm>

namespace ix = store::tables::index;

namespace {

// The firm numbers whose source-document headers the database holds.
QStringList firmNumbers(store::Database &db)
{
    const QString prefix = store::tables::podklHlav().prefix;
    QStringList firms;
    for (const QString &name : db.TableNames()) {
        if (!name.startsWith(prefix) || name.size() != prefix.size() + 4)
            continue;
        try {
            firms << CheckedFirmNumber(name.mid(prefix.size()));
        } catch (const ConversionError &) {
            // Not a firm's table: the program never names one so.
        }
    }
    std::sort(firms.begin(), firms.end());
    return firms;
}

// A table of the database, open for reading.
class Reader {
public:
    Reader(store::Database &db, const store::TableDef &def, const QString &firm) : m_table(&def)
    {
        m_table.SetDatabase(&db);
        m_table.SetTableName(def.nameForFirm(firm));
        m_table.Open();
    }
    ~Reader() { m_table.Close(); }
    store::Table &operator*() { return m_table; }
    store::Table *operator->() { return &m_table; }

private:
    store::Table m_table;
};

QString firmLine(store::Database &db, const QString &firm, bool withOwners)
{
    namespace vla = store::tables::column::ffVlastnik;
    namespace pod = store::tables::column::ffPodklHlav;
    QString owner;
    if (withOwners) {
        Reader owners(db, store::tables::vlastnik(), firm);
        if (owners->Locate(vla::VLA_JED, firm))
            owner = owners->FieldByName(vla::VLA_FIR).AsString().trimmed();
    }
    Reader documents(db, store::tables::podklHlav(), firm);
    documents->SetIndexName(ix::ffPodklHlav::DO1);
    const qint64 count = documents->RecordCount();
    QString newest;
    if (count > 0) {
        // Documents are numbered as they come: the newest has the highest number.
        documents->Last();
        newest = documents->FieldByName(pod::HLA_DAT).AsDate().toString(QStringLiteral("dd.MM.yyyy"));
    }
    return QStringList{firm, owner.isEmpty() ? QStringLiteral("(vlastník neuveden)") : owner,
                       QStringLiteral("%1 podkladů").arg(count),
                       newest.isEmpty() ? QStringLiteral("-") : QStringLiteral("nejnovější %1").arg(newest)}
        .join(u'\t');
}

} // namespace

int runFirms(const QStringList &arguments)
{
    const ToolArgs args = commandArgs(arguments, "firms");
    int exitCode = 0;
    const auto data = commandData(args, "firms", 0, exitCode);
    if (!data)
        return exitCode;
    try {
        store::Database &db = data->Database;
        const QStringList firms = firmNumbers(db);
        const bool withOwners = db.TableExists(store::tables::vlastnik().builtInName);
        for (const QString &firm : firms)
            printOut(firmLine(db, firm, withOwners));
        if (firms.isEmpty())
            printOut(QStringLiteral("Databáze neobsahuje žádnou firmu: založí ji podklady-db init"));
    } catch (const AppError &e) {
        printErr(e.text());
        return 1;
    }
    return 0;
}
