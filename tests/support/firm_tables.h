#pragma once
// A firm's tables for tests: a schema created anew, and rows written in one call.

#include <QString>
#include <QVariant>
#include <initializer_list>
#include <utility>

namespace store {
class Database;
class Table;
}

// Drops every table of the program that exists for the firm (its own tables and the
// shared ones) and creates the firm's schema anew, so that a test starts from empty
// tables. Requires: a connected database and a valid firm number.
void FreshFirmSchema(store::Database &db, const QString &firm);

// Appends one row with the given field values and posts it. A closed table is opened
// for the row and closed again; an open table stays open on the new row.
// Requires: the table has a database and every field named exists.
void AppendRow(store::Table &table, std::initializer_list<std::pair<const char *, QVariant>> values);
