#pragma once
// The check of an edit mode that TEditTovel and TVEdit run whenever their text is
// assigned: it tests the text and puts numbers, dates and times into their standard form.

#include "edittypes.h"

#include <QDateTime>
#include <QString>

struct EditModeSettings {
    TEditType type = ttString;
    int floatPrecision = 0;   // ttFloat: significant digits of the standard form; 0: unchecked
    int floatDigits = 0;      // ttFloat: digits after the decimal separator
    QString blankDate;        // ttDate: the text of an empty date, accepted unchecked
    QString blankTime;        // ttTime: the same for an empty time
};

// How dates and times are brought into form: TEditTovel completes a shortened text
// against the reference moment; TVEdit converts it and writes it back in full.
enum class DateTimeForm { Complete, Normalise };

struct EditCheckResult {
    QString text;   // the text the control takes (set even when the check failed)
    bool ok = true;
};

// Runs the check of the mode on text. Requires nothing; never throws. `now` is the
// reference moment of a date completion (a time completes against midnight).
EditCheckResult CheckEditText(const QString &text, const EditModeSettings &mode, DateTimeForm form,
                              const QDateTime &now);
