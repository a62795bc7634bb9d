#pragma once
// Where the configuration says the shared database lies.

#include "core/config.h"
#include "store/database.h"

// The connection parameters of the configuration. TCP/IP: PostgreSQL on Host ("host"
// or "host:port", port 5432 by default), database AliasName, role DbUser or, when that
// is empty, the log-on name. Otherwise: the SQLite file DataPath + AliasName + ".sqlite"
// (DataPath names a directory with or without its trailing "/").
// Throws AppError when Host carries a port that is not a number from 1 to 65535.
store::ConnectionParams ConnectionParamsFor(const Config &config);
