// Numbers typed or read as text: converted or refused with the conversion error; a number
// taken is always one its field can hold.

#include "fuzz_support.h"

#include "core/errors.h"
#include "core/textutil.h"
#include "store/value.h"

#include <cmath>
#include <cstring>

namespace {

store::FieldDef numberField(store::FieldType type)
{
    store::FieldDef f;
    f.name = QStringLiteral("FUZ_NUM");
    f.type = type;
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const double v = StrToFloat(text);
        if (!std::isfinite(v))
            fuzz::broken("a converted number is finite");
        FloatToStr(v);
        FormatFloat(QStringLiteral("#,##0.00"), v);
    } catch (const ConversionError &) {
    }
    try {
        StrToInt(text);
    } catch (const ConversionError &) {
    }
    try {
        StrToDate(text);
        StrToTime(text);
    } catch (const ConversionError &) {
    }
    static const store::FieldDef floatField = numberField(store::FieldType::Float);
    static const store::FieldDef smallField = numberField(store::FieldType::SmallInt);
    try {
        const QVariant v = store::toFieldValue(floatField, text);
        if (!v.isNull() && !std::isfinite(v.toDouble()))
            fuzz::broken("a float field holds only finite numbers");
    } catch (const AppError &) {
    }
    try {
        const QVariant v = store::toFieldValue(smallField, text);
        if (!v.isNull() && (v.toLongLong() < -32768 || v.toLongLong() > 32767))
            fuzz::broken("a small integer field holds only what fits it");
    } catch (const AppError &) {
    }
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        try {
            const QVariant v = store::toFieldValue(floatField, raw);
            if (!std::isfinite(v.toDouble()))
                fuzz::broken("a float field holds only finite numbers");
        } catch (const AppError &) {
        }
    }
    return 0;
}
