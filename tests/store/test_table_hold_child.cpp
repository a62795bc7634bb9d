// A second station in a process of its own, for the holds test: connects, puts the record
// with the given code into editing, says "HELD" and waits to be killed. With "serialize"
// after the arguments it instead begins a transaction serialized on the name CODE, reads
// the table within it, says "HELD" and stops there, as a station that vanished would.
//   test_table_hold_child sqlite FILE TABLE CODE [serialize]
//   test_table_hold_child pg HOST PORT DATABASE USER TABLE CODE [serialize]

#include "core/errors.h"
#include "store/database.h"
#include "store/table.h"
#include "store_test_support.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList a = app.arguments();
    const bool serialize = a.size() > 1 && a.last() == QLatin1String("serialize");
    if (serialize)
        a.removeLast();
    store::ConnectionParams params;
    QString table, code;
    if (a.size() == 5 && a[1] == QLatin1String("sqlite")) {
        params.sqliteFile = a[2];
        table = a[3];
        code = a[4];
    } else if (a.size() == 8 && a[1] == QLatin1String("pg")) {
        params.kind = store::ConnectionParams::Kind::PostgreSQL;
        params.host = a[2];
        params.port = a[3].toInt();
        params.database = a[4];
        params.user = a[5];
        table = a[6];
        code = a[7];
    } else {
        std::fprintf(stderr, "usage: sqlite FILE TABLE CODE [serialize] | pg HOST PORT DATABASE USER TABLE CODE "
                             "[serialize]\n");
        return 64;
    }
    try {
        store::Database db;
        db.Connect(params);
        store::Table t(&storetest::codesTableDef());
        t.SetDatabase(&db);
        t.SetTableName(table);
        t.Open();
        t.SetIndexName(QStringLiteral("KOD"));
        if (serialize) {
            db.StartTransaction();
            db.SerializeOn(code);
            t.RecordCount();
        } else {
            if (!t.FindKey({code}))
                throw StoreError(QStringLiteral("no record ") + code);
            t.Edit();
        }
        std::printf("HELD\n");
        std::fflush(stdout);
        for (;;)
            pause();
    } catch (const AppError &e) {
        std::fprintf(stderr, "%s\n", e.text().toUtf8().constData());
        return 1;
    }
}
