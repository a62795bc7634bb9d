#include "referenceclock.h"

namespace {

std::function<QDateTime()> &installedClock()
{
    static std::function<QDateTime()> clock;
    return clock;
}

} // namespace

QDateTime ReferenceNow()
{
    const auto &clock = installedClock();
    return clock ? clock() : QDateTime::currentDateTime();
}

void SetReferenceClock(std::function<QDateTime()> clock) { installedClock() = std::move(clock); }
