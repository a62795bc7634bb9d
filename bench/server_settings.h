#pragma once
// What a benchmark prints beside its PostgreSQL figures: how durable the server's commits
// are. A server with fsync=off commits at once and makes every commit look free; a shop's
// server has fsync and synchronous_commit on.

#include <QByteArray>
#include <QString>

namespace bench {

// "fsync=on synchronous_commit=on": the two settings of the server the connection string
// names, as a connection to it sees them. Throws std::runtime_error with the server's
// text when they cannot be read.
QString pgDurability(const QByteArray &conninfo);

// Prints "server: fsync=… synchronous_commit=…" on its own line.
void printPgDurability(const QByteArray &conninfo);

} // namespace bench
