#pragma once
// The connection of `init --force`, which replaces the tables of a firm: only while no
// other station uses the database.

namespace store {
class Database;
struct ConnectionParams;
}

// Connects db with params when no other station uses the database: no other client
// session of it on the server, no other program with the SQLite file open, and no lock
// record in the lock table. Otherwise throws AppError saying which, and db is left
// disconnected. The store's errors of connecting are raised as Database::Connect raises
// them.
void ConnectAlone(store::Database &db, const store::ConnectionParams &params);
