#pragma once
// The data module of a station process: connected to firm 0001 of the target, with the
// station's address and a user named after it.

#include "firm_tables.h"
#include "station_target.h"

#include "store/tdata.h"

#include <memory>

inline std::unique_ptr<TData> StationDataModule(const QString &target, const QString &address)
{
    auto data = FirmDataModule(StationTargetParams(target), QStringLiteral("0001"));
    data->LocalAddress = address;
    data->UserFullName = QStringLiteral("Stanice ") + address;
    data->UserInitials = QStringLiteral("ST");
    return data;
}
