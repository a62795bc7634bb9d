// bench_copy --pg CONNINFO [--rows N]: `podklady-db copy` of a firm whose stock journal
// holds N lines (a million by default), SQLite → PostgreSQL and PostgreSQL → SQLite, each
// beside the raw engines moving the same journal rows by hand:
//   SQLite → PostgreSQL: sqlite3_step over SELECT * of the journal, each row formatted as
//     COPY text and streamed with PQputCopyData;
//   PostgreSQL → SQLite: COPY … TO STDOUT read with PQgetCopyData, each row bound to one
//     prepared INSERT, all in one transaction.
// The copy's time covers all it does (the firm's tables created in the target, every table
// copied, rows counted on both sides, one commit); the raw time only the journal's rows
// into tables made beforehand. Each target is new: a database made for the run on the
// server, or a new file. Printed: seconds of each, rows per second of the copy, and the
// copy's time as a multiple of the raw engines'.

#include "throwaway_pg.h"
#include "timing.h"

#include "core/errors.h"
#include "store/database.h"
#include "store/firm_copy.h"
#include "store/firmschema.h"
#include "store/table.h"
#include "store/tables/column_names.h"
#include "store/tables/tables.h"
#include "store/transaction.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTime>
#include <cstdio>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

namespace {

using bench::millis;

const QString kFirm = QStringLiteral("0001");
const char *const kJournal = "\"Den0001\"";

// A SQLite database with the firm's tables and `rows` journal lines, as the program
// writes them (through the table component, in one transaction).
void loadSource(const QString &file, qint64 rows)
{
    namespace den = store::tables::column::ffDenik;
    store::Database::CreateSQLiteFile(file);
    store::Database db;
    store::ConnectionParams p;
    p.sqliteFile = file;
    db.Connect(p);
    store::Transaction transaction(db);
    CreateFirmSchema(db, kFirm, false);
    store::Table t(&store::tables::denik());
    t.SetDatabase(&db);
    t.SetTableName(store::tables::denik().nameForFirm(kFirm));
    t.Open();
    const QDate start(2024, 1, 1);
    for (qint64 i = 0; i < rows; ++i) {
        t.Append();
        t[den::DEN_DAT].SetAsDate(start.addDays(i % 700));
        t[den::DEN_DOK].SetAsString(QStringLiteral("%1").arg(i / 20 + 1, 10, 10, QChar(u'0')));
        t[den::DEN_KAV].SetAsString(QStringLiteral("%1").arg(i % 5000 + 1, 6, 10, QChar(u'0')));
        t[den::DEN_IND].SetAsString(QStringLiteral("00%1").arg(i % 3));
        t[den::DEN_OPE].SetAsString(QStringLiteral("001"));
        t[den::DEN_KUS].SetAsFloat(double(i % 17) + 0.25);
        t[den::DEN_HPC].SetAsFloat(double(i % 1000) * 1.21);
        t[den::DEN_HNC].SetAsFloat(double(i % 1000));
        t[den::DEN_DAN].SetAsFloat(21);
        t[den::DEN_ZAS].SetAsFloat(double(i % 90));
        t[den::DEN_REF].SetAsString(QStringLiteral("BK"));
        t[den::DEN_KDY].SetAsString(QTime(8, 0).addSecs(int(i % 36000)).toString(QStringLiteral("hh:mm:ss")));
        t.Post();
    }
    t.Close();
    transaction.commit();
}

// A database of the firm's tables, empty, for the raw copy.
void emptyFirm(const store::ConnectionParams &p)
{
    store::Database db;
    db.Connect(p);
    store::Transaction transaction(db);
    CreateFirmSchema(db, kFirm, false);
    transaction.commit();
}

void check(bool ok, const char *what, const char *detail)
{
    if (!ok)
        throw std::runtime_error(std::string(what) + ": " + (detail ? detail : ""));
}

// The journal's rows from a SQLite file into PostgreSQL by hand.
qint64 rawSqliteToPostgres(const QString &file, const QByteArray &conninfo)
{
    sqlite3 *src = nullptr;
    check(sqlite3_open_v2(file.toUtf8().constData(), &src, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK, "sqlite", nullptr);
    PGconn *pg = PQconnectdb(conninfo.constData());
    check(PQstatus(pg) == CONNECTION_OK, "libpq", PQerrorMessage(pg));
    sqlite3_stmt *st = nullptr;
    check(sqlite3_prepare_v2(src, (QByteArray("SELECT * FROM ") + kJournal).constData(), -1, &st, nullptr) == SQLITE_OK,
          "prepare", sqlite3_errmsg(src));
    PGresult *r = PQexec(pg, (QByteArray("BEGIN; COPY ") + kJournal + " FROM STDIN").constData());
    check(PQresultStatus(r) == PGRES_COPY_IN, "COPY", PQerrorMessage(pg));
    PQclear(r);
    QByteArray chunk;
    qint64 rows = 0;
    const int columns = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            if (c)
                chunk += '\t';
            const unsigned char *text = sqlite3_column_text(st, c);
            chunk += text ? QByteArray(reinterpret_cast<const char *>(text)) : QByteArray("\\N");
        }
        chunk += '\n';
        ++rows;
        if (chunk.size() > (1 << 16)) {
            check(PQputCopyData(pg, chunk.constData(), int(chunk.size())) == 1, "copy data", PQerrorMessage(pg));
            chunk.clear();
        }
    }
    check(PQputCopyData(pg, chunk.constData(), int(chunk.size())) == 1 && PQputCopyEnd(pg, nullptr) == 1, "copy end",
          PQerrorMessage(pg));
    while ((r = PQgetResult(pg))) {
        check(PQresultStatus(r) == PGRES_COMMAND_OK, "copy result", PQresultErrorMessage(r));
        PQclear(r);
    }
    r = PQexec(pg, "COMMIT");
    check(PQresultStatus(r) == PGRES_COMMAND_OK, "commit", PQerrorMessage(pg));
    PQclear(r);
    sqlite3_finalize(st);
    sqlite3_close(src);
    PQfinish(pg);
    return rows;
}

// The journal's rows from PostgreSQL into a SQLite file by hand.
qint64 rawPostgresToSqlite(const QByteArray &conninfo, const QString &file)
{
    PGconn *pg = PQconnectdb(conninfo.constData());
    check(PQstatus(pg) == CONNECTION_OK, "libpq", PQerrorMessage(pg));
    sqlite3 *dst = nullptr;
    check(sqlite3_open_v2(file.toUtf8().constData(), &dst, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK, "sqlite", nullptr);
    sqlite3_stmt *count = nullptr;
    sqlite3_prepare_v2(dst, (QByteArray("SELECT * FROM ") + kJournal + " LIMIT 0").constData(), -1, &count, nullptr);
    const int columns = sqlite3_column_count(count);
    sqlite3_finalize(count);
    QByteArray insert = QByteArray("INSERT INTO ") + kJournal + " VALUES (?";
    for (int c = 1; c < columns; ++c)
        insert += ",?";
    insert += ")";
    sqlite3_stmt *st = nullptr;
    check(sqlite3_prepare_v2(dst, insert.constData(), -1, &st, nullptr) == SQLITE_OK, "prepare", sqlite3_errmsg(dst));
    sqlite3_exec(dst, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    PGresult *r = PQexec(pg, (QByteArray("COPY ") + kJournal + " TO STDOUT").constData());
    check(PQresultStatus(r) == PGRES_COPY_OUT, "COPY", PQerrorMessage(pg));
    PQclear(r);
    qint64 rows = 0;
    char *line = nullptr;
    int length;
    while ((length = PQgetCopyData(pg, &line, 0)) > 0) {
        int column = 1, from = 0;
        for (int i = 0; i <= length; ++i) {
            if (i < length && line[i] != '\t' && line[i] != '\n')
                continue;
            if (i - from == 2 && line[from] == '\\' && line[from + 1] == 'N')
                sqlite3_bind_null(st, column);
            else
                sqlite3_bind_text(st, column, line + from, i - from, SQLITE_STATIC);
            ++column;
            from = i + 1;
            if (i < length && line[i] == '\n')
                break;
        }
        check(sqlite3_step(st) == SQLITE_DONE, "insert", sqlite3_errmsg(dst));
        sqlite3_reset(st);
        PQfreemem(line);
        ++rows;
    }
    while ((r = PQgetResult(pg)))
        PQclear(r);
    check(sqlite3_exec(dst, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK, "commit", sqlite3_errmsg(dst));
    sqlite3_finalize(st);
    sqlite3_close(dst);
    PQfinish(pg);
    return rows;
}

// The firm from one database into a new one, as `podklady-db copy` does it.
qint64 copyFirm(const store::ConnectionParams &from, const store::ConnectionParams &to)
{
    store::Database source, target;
    source.Connect(from);
    target.Connect(to);
    const FirmCopyResult result = CopyFirm(source, target, kFirm, false);
    qint64 rows = 0;
    for (const CopiedTable &t : result.tables)
        rows += t.rows;
    return rows;
}

void report(const char *direction, qint64 rows, double copyMs, double rawMs)
{
    std::printf("%-22s %9lld lines: copy %7.1f s (%8.0f lines/s), raw engines %7.1f s, copy / raw %.2f\n", direction,
                static_cast<long long>(rows), copyMs / 1000, rows / (copyMs / 1000), rawMs / 1000, copyMs / rawMs);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("pg"), QStringLiteral("The PostgreSQL server (required)."), QStringLiteral("CONNINFO")});
    parser.addOption({QStringLiteral("rows"), QStringLiteral("Lines of the stock journal."), QStringLiteral("N"),
                      QStringLiteral("1000000")});
    parser.process(app);
    if (!parser.isSet(QStringLiteral("pg"))) {
        std::fprintf(stderr, "bench_copy: --pg CONNINFO is required\n");
        return 64;
    }
    const QByteArray server = parser.value(QStringLiteral("pg")).toUtf8();
    const qint64 rows = std::max(1LL, parser.value(QStringLiteral("rows")).toLongLong());
    try {
        QTemporaryDir dir;
        store::ConnectionParams source;
        source.sqliteFile = dir.filePath(QStringLiteral("zdroj.sqlite"));
        std::printf("loading %lld journal lines into SQLite…\n", static_cast<long long>(rows));
        std::fflush(stdout);
        loadSource(source.sqliteFile, rows);

        // SQLite → PostgreSQL.
        pgtest::ThrowawayDatabase copied(server, QStringLiteral("bench_copy_%1").arg(QCoreApplication::applicationPid()));
        qint64 moved = 0;
        const double copyUp = millis([&] { moved = copyFirm(source, copied.params()); });
        pgtest::ThrowawayDatabase raw(server, QStringLiteral("bench_copy_raw_%1").arg(QCoreApplication::applicationPid()));
        emptyFirm(raw.params());
        const double rawUp = millis([&] { rawSqliteToPostgres(source.sqliteFile, raw.conninfo()); });
        report("SQLite -> PostgreSQL", moved, copyUp, rawUp);

        // PostgreSQL → SQLite.
        store::ConnectionParams back;
        back.sqliteFile = dir.filePath(QStringLiteral("zpet.sqlite"));
        store::Database::CreateSQLiteFile(back.sqliteFile);
        const double copyDown = millis([&] { moved = copyFirm(copied.params(), back); });
        store::ConnectionParams rawBack;
        rawBack.sqliteFile = dir.filePath(QStringLiteral("zpet_raw.sqlite"));
        store::Database::CreateSQLiteFile(rawBack.sqliteFile);
        emptyFirm(rawBack);
        const double rawDown = millis([&] { rawPostgresToSqlite(copied.conninfo(), rawBack.sqliteFile); });
        report("PostgreSQL -> SQLite", moved, copyDown, rawDown);
    } catch (const AppError &e) {
        std::fprintf(stderr, "bench_copy: %s\n", e.text().toUtf8().constData());
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_copy: %s\n", e.what());
        return 1;
    }
    return 0;
}
