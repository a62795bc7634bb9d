#pragma once
// Numbers taken from the counter table (one record holding the last number given out
// for each kind of document or register).

#include "store/table.h"

#include <QString>

// Takes the next document number from a text counter (CIS_POD, CIS_PRD).
// Requires: `counters` open and standing on its record. Puts the record into editing
// when it is browsing, sets the counter to its value read as a number + 1, written
// without leading zeros ("124"), and returns that number padded with zeros to 10
// characters ("0000000124"). The caller posts the record.
// Throws ConversionError when the counter is not a number (empty included) and the
// store's error when the record cannot be put into editing; an edit started here is
// then cancelled, so the counter keeps its value and no hold is left behind.
QString TakeTextCounter(store::Table &counters, const store::FieldKey &field);

// Takes the next number from a float counter (CIS_ODB): the counter rounded to a whole
// number + 1 is stored and returned. Requires and leaves the record as TakeTextCounter.
qint64 TakeFloatCounter(store::Table &counters, const store::FieldKey &field);
