#pragma once
// The moment against which the edit controls complete a shortened date or time. It is the
// system clock unless a test (or the program) puts another clock in its place.

#include <QDateTime>
#include <functional>

// The current moment by the installed clock (the system clock by default).
QDateTime ReferenceNow();
// Installs clock as the source of ReferenceNow; an empty function restores the system clock.
void SetReferenceClock(std::function<QDateTime()> clock);
