#pragma once
// Stations: data modules on one test database of either engine, each with its own
// connection and address. The firm's schema, rows and the recording prompter come from
// the shared test support.

#include "firm_tables.h"
#include "recordingprompter.h"
#include "store_test_support.h"

#include "store/tdata.h"

#include <memory>

namespace startuptest {

// A station: a data module of its own with its own connection and address.
inline std::unique_ptr<TData> station(const storetest::TestDatabase &db, const QString &address,
                                      const QString &userFullName = TData::kDefaultUserFullName)
{
    auto data = FirmDataModule(db.params(), QStringLiteral("0001"));
    data->LocalAddress = address;
    data->UserFullName = userFullName;
    return data;
}

} // namespace startuptest
