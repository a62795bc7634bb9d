// The bulk copy of a table from one database into another, and what it needs to know
// of a database's tables.

#include "database.h"

#include "core/errors.h"
#include "internal/engine.h"
#include "internal/layout.h"

#include <limits>

namespace store {

namespace {

// Rows read and written at a time: enough to keep a server's stream full, few enough
// to hold in memory.
constexpr int kCopyPageRows = 5000;

// Every stored column of a table in the order of the copy: the record id, the fields,
// the capitals of case-insensitive keys; with the type each is read by and the field it
// holds (-1: the id or a capitals column, copied as read).
struct CopyColumns {
    QStringList names;
    QVector<ColType> types;
    QVector<int> fields;
};

CopyColumns copyColumns(const TableLayout &layout)
{
    const TableDef &def = layout.def();
    CopyColumns c;
    c.names.append(layout.idColumn());
    c.types.append(ColType::Integer);
    c.fields.append(-1);
    for (int f = 0; f < def.fields.size(); ++f) {
        if (def.fields[f].calculated || f == layout.idField())
            continue;
        c.names.append(layout.column(f));
        c.types.append(colType(def.fields[f].type));
        c.fields.append(f);
    }
    for (int f = 0; f < def.fields.size(); ++f) {
        if (!def.fields[f].calculated && layout.hasUpper(f)) {
            c.names.append(layout.upperColumn(f));
            c.types.append(ColType::Text);
            c.fields.append(-1);
        }
    }
    return c;
}

} // namespace

QStringList Database::TableNames()
{
    try {
        return engine().tableNames();
    } catch (const StoreError &err) {
        throw StoreError(QStringLiteral("Seznam tabulek: %1").arg(err.text()));
    }
}

qint64 Database::RowCount(const QString &tableName)
{
    try {
        return engine().queryInteger(QStringLiteral("SELECT count(*) FROM %1").arg(quoted(tableName)), {}).value_or(0);
    } catch (const StoreError &err) {
        throw StoreError(QStringLiteral("Tabulka %1: %2").arg(tableName, err.text()));
    }
}

qint64 Database::CopyRowsFrom(Database &source, const TableDef &def, const QString &tableName,
                              const std::function<void(qint64)> &progress)
{
    Engine &to = engine();
    Engine &from = source.engine();
    if (!to.inTransaction())
        throw StoreError(QStringLiteral("Kopie tabulky %1 potřebuje transakci").arg(tableName));
    const TableLayout layout(def);
    const CopyColumns columns = copyColumns(layout);
    const QString read = QStringLiteral("SELECT %1 FROM %2 WHERE %3 > %4 ORDER BY %3 LIMIT %5")
                             .arg(columns.names.join(QStringLiteral(", ")), quoted(tableName), layout.idColumn(),
                                  from.dialect().placeholder(1))
                             .arg(kCopyPageRows);
    qint64 copied = 0;
    qint64 after = std::numeric_limits<qint64>::min();
    try {
        for (;;) {
            QVector<QVariantList> rows;
            rows.reserve(kCopyPageRows);
            from.query(read, {after}, columns.types, [&](QVariant *cells) {
                QVariantList row;
                row.reserve(columns.names.size());
                for (int c = 0; c < columns.names.size(); ++c) {
                    // An empty key date reads back empty: it is written in its stored form.
                    const int f = columns.fields[c];
                    row.append(f >= 0 ? layout.toStorage(f, cells[c]) : std::move(cells[c]));
                }
                rows.append(std::move(row));
            });
            if (rows.isEmpty())
                break;
            after = rows.constLast().constFirst().toLongLong();
            to.appendRows(tableName, columns.names, rows);
            copied += rows.size();
            if (progress)
                progress(copied);
            if (rows.size() < kCopyPageRows)
                break;
        }
        if (copied)
            to.continueIdsAfterLargest(tableName, layout.idColumn());
    } catch (const StoreError &err) {
        throw StoreError(QStringLiteral("Kopie tabulky %1: %2").arg(tableName, err.text()));
    }
    return copied;
}

} // namespace store
