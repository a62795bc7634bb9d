#pragma once
// The engine behind a connection, for tests that must work below the table component:
// writing many rows with one statement, reading a query's plan. Only tests include this;
// the program reaches the engine through its tables alone.

#include "store/database.h"
#include "store/internal/engine.h"

namespace store {

// The one way into Database::engine() from outside the store.
struct RawEngineForTests {
    static Engine &of(Database &db) { return db.engine(); }
};

} // namespace store

namespace storetest {

// The engine of a connected database (StoreError when it is not connected).
inline store::Engine &rawEngine(store::Database &db) { return store::RawEngineForTests::of(db); }

} // namespace storetest
