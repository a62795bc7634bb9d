#pragma once
// The failure of a connection that reaches no server at all.

#include "core/errors.h"

// Raised by Database::Connect when nothing answers: no server at the address (not running,
// a wrong host or port) or a SQLite file that is not there. A server that answers and
// refuses the session (an unknown database or role, a wrong password) raises a plain
// StoreError with its own reason instead.
class ServerUnreachableError : public StoreError {
public:
    using StoreError::StoreError;
};
