#pragma once
// How a table definition is laid out in SQL, the same on both engines: its columns,
// the hidden record id, the stored capitals of case-insensitive key fields, the key
// columns of each index, and the storage form of every value.
//
// Storage: strings, numbers and Booleans (0/1) are NOT NULL ('' / 0); dates, times and
// date-times are nullable, except in key columns, where an empty value is stored as a
// sentinel that sorts first (kEmptyKeyDate, the empty time text) and reads back empty.
// Read by the column types of the select list, a row comes back exactly as a record
// holds it.

#include "engine.h"
#include "store/schema.h"

namespace store {

// One column of an index order.
struct KeyColumn {
    QString name;         // quoted SQL column name
    int field = -1;       // the field it holds; -1 for the hidden record id
    bool upper = false;   // the stored capitals of a text field
    bool descending = false;
};

class TableLayout {
public:
    // Throws StoreError for a definition that cannot be stored (two AutoInc fields, an
    // index on an unknown or calculated field).
    explicit TableLayout(const TableDef &def);

    const TableDef &def() const { return *m_def; }
    // The record id column: the AutoInc field, or the hidden column "ID_".
    const QString &idColumn() const { return m_idColumn; }
    int idField() const { return m_idField; }

    // The select list of every read: the stored fields in table order, then the hidden
    // id (when hidden).
    const QString &selectList() const { return m_selectList; }
    const QVector<ColType> &selectTypes() const { return m_selectTypes; }
    // The same select list with NULL in place of each column read as Skip by `types`
    // (one per select column), so that the engine neither reads nor sends it. Not for a
    // compound statement, whose order must name its select columns.
    QString selectListReading(const QVector<ColType> &types) const;
    // The field each select column fills; -1 for the others.
    const QVector<int> &selectFields() const { return m_selectFields; }
    int idSelectColumn() const { return m_idSelectColumn; }

    // The order of an index: its key columns, then the record id unless the index is
    // unique (its keys alone then order every row) or names the id itself. Null: the
    // default order, by record id.
    QVector<KeyColumn> keyColumns(const IndexDef *index) const;

    // Fields written by an INSERT (every stored field but the AutoInc one).
    const QVector<int> &insertFields() const { return m_insertFields; }
    // True when the field has a capitals column.
    bool hasUpper(int field) const { return m_upper[field]; }
    // The quoted column names of a field and of its capitals (empty for a field without).
    const QString &upperColumn(int field) const { return m_upperColumns[field]; }
    const QString &column(int field) const { return m_columns[field]; }

    // The value of a field as bound to SQL (key columns: sentinels for empty values).
    QVariant toStorage(int field, const QVariant &value) const;

    // The statements that create the table and its indexes under the given name.
    QStringList createStatements(const QString &tableName, const Dialect &dialect) const;

private:
    QString columnType(int field, const Dialect &dialect) const;

    const TableDef *m_def;
    int m_idField = -1;
    QString m_idColumn;
    QVector<bool> m_key;    // the field is a key field of some index
    QVector<bool> m_upper;  // the field has a capitals column
    QStringList m_columns;       // by field, quoted
    QStringList m_upperColumns;  // by field, quoted; empty without capitals
    QString m_selectList;
    QStringList m_selectColumns;
    QVector<ColType> m_selectTypes;
    QVector<int> m_selectFields;
    int m_idSelectColumn = -1;
    QVector<int> m_insertFields;
};

// A quoted SQL identifier: "POD0001".
QString quoted(const QString &name);
// The storage type of a field.
ColType colType(FieldType type);

} // namespace store
