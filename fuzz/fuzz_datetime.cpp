// Completion of a typed date or time: any text gives a completed text or a refusal; a
// completed date is never longer than a date can be written.

#include "fuzz_support.h"

#include "ui/controls/datetimecompletion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QString> date = CompleteDate(text, QDate(2024, 12, 8));
    if (date && text.trimmed().isEmpty() != date->isEmpty())
        fuzz::broken("only an empty text completes to an empty date");
    const std::optional<QString> time = CompleteTime(text, QTime(14, 5, 0));
    if (time && text.trimmed().isEmpty() != time->isEmpty())
        fuzz::broken("only an empty text completes to an empty time");
    CompleteDateTime(text, QStringLiteral("08.12.2024"), u'.', 10);
    return 0;
}
