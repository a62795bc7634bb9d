// Completion of a typed date or time: any text gives a completed text or a refusal, never
// a crash; only a blank text completes to an empty one.

#include "fuzz_support.h"

#include "core/textutil.h"
#include "ui/controls/datetimecompletion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    // Blank is what the completion trims away: blanks and control characters alike.
    const bool blank = TrimControl(text).isEmpty();
    const std::optional<QString> date = CompleteDate(text, QDate(2024, 12, 8));
    if (date && blank != date->isEmpty())
        fuzz::broken("only an empty text completes to an empty date");
    const std::optional<QString> time = CompleteTime(text, QTime(14, 5, 0));
    if (time && blank != time->isEmpty())
        fuzz::broken("only an empty text completes to an empty time");
    CompleteDateTime(text, QStringLiteral("08.12.2024"), u'.', 10);
    return 0;
}
