// The raw PostgreSQL side of bench_store: PQprepare / PQexecPrepared written by hand.

#include "store_raw.h"

#include <QHash>
#include <libpq-fe.h>
#include <stdexcept>

namespace bench {

namespace {

class RawPostgres : public RawEngine {
public:
    explicit RawPostgres(const QByteArray &conninfo) : m_conn(PQconnectdb(conninfo.constData()))
    {
        if (PQstatus(m_conn) != CONNECTION_OK)
            throw std::runtime_error(PQerrorMessage(m_conn));
        exec(QStringLiteral("SET client_min_messages TO warning"));
    }
    ~RawPostgres() override { PQfinish(m_conn); }

    int run(const QString &sql, const QVariantList &params, const std::vector<Col> &cols, Keep *keep) override
    {
        const QByteArray name = statement(sql, int(params.size()));
        std::vector<QByteArray> texts;
        std::vector<const char *> values;
        texts.reserve(params.size());
        for (const QVariant &p : params) {
            texts.push_back(textOf(p));
            values.push_back(texts.back().constData());
        }
        PGresult *r = PQexecPrepared(m_conn, name.constData(), int(values.size()), values.data(), nullptr, nullptr, 0);
        if (PQresultStatus(r) == PGRES_COMMAND_OK) {   // a write: no rows
            PQclear(r);
            return 0;
        }
        check(r, PGRES_TUPLES_OK);
        const int rows = PQntuples(r);
        for (int i = 0; i < rows; ++i)
            for (int c = 0; c < int(cols.size()); ++c)
                checksum += decodeText(cols[c], PQgetvalue(r, i, c), PQgetlength(r, i, c));
        if (keep && keep->row < rows) {
            keep->values.clear();
            for (int c : keep->columns) {
                const char *text = PQgetvalue(r, keep->row, c);
                keep->values.append(cols[c] == Col::Int ? QVariant(QByteArray(text).toLongLong())
                                                        : QVariant(QString::fromUtf8(text, PQgetlength(r, keep->row, c))));
            }
        }
        PQclear(r);
        return rows;
    }

    void exec(const QString &sql) override { check(PQexec(m_conn, sql.toUtf8().constData()), PGRES_COMMAND_OK); }

    void load(const QString &table, const QStringList &columns, qint64 rows,
              const std::function<void(qint64, QVariantList &)> &row) override
    {
        check(PQexec(m_conn, QStringLiteral("COPY \"%1\" (\"%2\") FROM STDIN")
                                 .arg(table, columns.join(QStringLiteral("\", \"")))
                                 .toUtf8()
                                 .constData()),
              PGRES_COPY_IN);
        QByteArray chunk;
        QVariantList values;
        for (qint64 i = 0; i < rows; ++i) {
            row(i, values);
            for (int c = 0; c < values.size(); ++c) {
                if (c)
                    chunk += '\t';
                // The generated texts hold no tab, newline or backslash.
                chunk += values[c].isNull() && values[c].typeId() != QMetaType::QString ? QByteArray("\\N")
                                                                                         : textOf(values[c]);
            }
            chunk += '\n';
            if (chunk.size() > (1 << 20) || i + 1 == rows) {
                if (PQputCopyData(m_conn, chunk.constData(), int(chunk.size())) != 1)
                    throw std::runtime_error(PQerrorMessage(m_conn));
                chunk.clear();
            }
        }
        if (PQputCopyEnd(m_conn, nullptr) != 1)
            throw std::runtime_error(PQerrorMessage(m_conn));
        check(PQgetResult(m_conn), PGRES_COMMAND_OK);
        while (PGresult *r = PQgetResult(m_conn))
            PQclear(r);
    }

private:
    // Throws unless the result has the wanted status; frees it unless it holds rows.
    void check(PGresult *r, ExecStatusType want)
    {
        if (PQresultStatus(r) != want) {
            const std::string error = r ? PQresultErrorMessage(r) : PQerrorMessage(m_conn);
            PQclear(r);
            throw std::runtime_error(error);
        }
        if (want != PGRES_TUPLES_OK)
            PQclear(r);
    }

    QByteArray statement(const QString &sql, int params)
    {
        auto it = m_statements.constFind(sql);
        if (it != m_statements.constEnd())
            return *it;
        const QByteArray name = "raw" + QByteArray::number(m_statements.size());
        check(PQprepare(m_conn, name.constData(), sql.toUtf8().constData(), params, nullptr), PGRES_COMMAND_OK);
        m_statements.insert(sql, name);
        return name;
    }

    PGconn *m_conn;
    QHash<QString, QByteArray> m_statements;
};

} // namespace

std::unique_ptr<RawEngine> rawPostgres(const QByteArray &conninfo) { return std::make_unique<RawPostgres>(conninfo); }

} // namespace bench
