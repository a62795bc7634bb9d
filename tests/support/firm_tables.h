#pragma once
// A firm for tests: its data module connected to a database, its schema created anew,
// and rows written in one call.

#include "store/tdata.h"

#include <QString>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <utility>

namespace store {
class Database;
class Table;
struct ConnectionParams;
}

// A data module for the firm, its table components named for it and its connection open
// on the database of params; address, user and paths are left to the caller.
// Requires: the database can be connected (else the connection's error is thrown).
std::unique_ptr<TData> FirmDataModule(const store::ConnectionParams &params, const QString &firm);

// Drops every table of the program that exists for the firm (its own tables and the
// shared ones) and creates the firm's schema anew, so that a test starts from empty
// tables. Requires: a connected database and a valid firm number.
void FreshFirmSchema(store::Database &db, const QString &firm);

// Appends one row with the given field values and posts it. A closed table is opened
// for the row and closed again; an open table stays open on the new row.
// Requires: the table has a database and every field named exists (by a field object of
// the table, or by its name).
void AppendRow(store::Table &table, std::initializer_list<std::pair<store::FieldKey, QVariant>> values);

// The number of rows of a closed table, opened for the count and closed again.
qint64 RowCount(store::Table &table);
