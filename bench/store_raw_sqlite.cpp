// The raw SQLite side of bench_store: sqlite3_* calls written by hand.

#include "store_raw.h"

#include <QDate>
#include <QHash>
#include <QTime>
#include <charconv>
#include <sqlite3.h>
#include <stdexcept>

namespace bench {

namespace {

class RawSqlite : public RawEngine {
public:
    explicit RawSqlite(const QString &path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr)
            != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        sqlite3_busy_timeout(m_db, 5000);
        // As the store's connections: commits wait for the disk only at checkpoints.
        sqlite3_exec(m_db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    }
    ~RawSqlite() override
    {
        for (sqlite3_stmt *st : std::as_const(m_statements))
            sqlite3_finalize(st);
        sqlite3_close(m_db);
    }

    int run(const QString &sql, const QVariantList &params, const std::vector<Col> &cols, Keep *keep) override
    {
        sqlite3_stmt *st = statement(sql);
        bind(st, params);
        int rows = 0;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            for (int c = 0; c < int(cols.size()); ++c)
                checksum += decode(st, c, cols[c]);
            if (keep && rows == keep->row) {
                keep->values.clear();
                for (int c : keep->columns)
                    keep->values.append(cols[c] == Col::Int
                                            ? QVariant(qint64(sqlite3_column_int64(st, c)))
                                            : QVariant(QString::fromUtf8(reinterpret_cast<const char *>(
                                                                             sqlite3_column_text(st, c)),
                                                                         sqlite3_column_bytes(st, c))));
            }
            ++rows;
        }
        sqlite3_reset(st);
        if (rc != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        return rows;
    }

    void exec(const QString &sql) override
    {
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(m_db));
    }

    void load(const QString &table, const QStringList &columns, qint64 rows,
              const std::function<void(qint64, QVariantList &)> &row) override
    {
        QStringList marks;
        for (int i = 1; i <= columns.size(); ++i)
            marks.append(QStringLiteral("?%1").arg(i));
        const QString sql = QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES (%3)")
                                .arg(table, columns.join(QStringLiteral("\", \"")), marks.join(u','));
        exec(QStringLiteral("BEGIN"));
        sqlite3_stmt *st = statement(sql);
        QVariantList values;
        for (qint64 i = 0; i < rows; ++i) {
            row(i, values);
            bind(st, values);
            if (sqlite3_step(st) != SQLITE_DONE)
                throw std::runtime_error(sqlite3_errmsg(m_db));
            sqlite3_reset(st);
        }
        exec(QStringLiteral("COMMIT"));
    }

private:
    sqlite3_stmt *statement(const QString &sql)
    {
        if (sqlite3_stmt *st = m_statements.value(sql))
            return st;
        sqlite3_stmt *st = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v3(m_db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &st, nullptr)
            != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        m_statements.insert(sql, st);
        return st;
    }

    static void bind(sqlite3_stmt *st, const QVariantList &params)
    {
        for (int i = 0; i < params.size(); ++i) {
            const QVariant &v = params[i];
            switch (v.typeId()) {
            case QMetaType::Double:
                sqlite3_bind_double(st, i + 1, v.toDouble());
                break;
            case QMetaType::LongLong:
            case QMetaType::Int:
                sqlite3_bind_int64(st, i + 1, v.toLongLong());
                break;
            default: {
                const QByteArray text = textOf(v);
                sqlite3_bind_text(st, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            }
            }
        }
    }

    static double decode(sqlite3_stmt *st, int c, Col col)
    {
        switch (col) {
        case Col::Int:
            return double(sqlite3_column_int64(st, c));
        case Col::Real:
            return sqlite3_column_double(st, c);
        default:
            return decodeText(col, reinterpret_cast<const char *>(sqlite3_column_text(st, c)),
                              sqlite3_column_bytes(st, c));
        }
    }

    sqlite3 *m_db = nullptr;
    QHash<QString, sqlite3_stmt *> m_statements;
};

} // namespace

QByteArray textOf(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate).toUtf8();
    case QMetaType::QTime:
        return v.toTime().toString(QStringLiteral("HH:mm:ss")).toUtf8();
    default:
        return v.toString().toUtf8();
    }
}

double decodeText(Col col, const char *text, int length)
{
    if (!text)
        return 0;
    switch (col) {
    case Col::Text:
        return double(QString::fromUtf8(text, length).size());
    case Col::Date:
        return length < 10 ? 0 : double(QDate(std::atoi(text), std::atoi(text + 5), std::atoi(text + 8)).toJulianDay());
    case Col::Time:
        return length < 8 ? 0 : double(QTime(std::atoi(text), std::atoi(text + 3), std::atoi(text + 6)).msecsSinceStartOfDay());
    case Col::Int: {
        qint64 v = 0;
        std::from_chars(text, text + length, v);
        return double(v);
    }
    case Col::Real: {
        double v = 0;
        std::from_chars(text, text + length, v);
        return v;
    }
    }
    return 0;
}

std::unique_ptr<RawEngine> rawSqlite(const QString &path) { return std::make_unique<RawSqlite>(path); }

} // namespace bench
