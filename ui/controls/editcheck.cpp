#include "editcheck.h"

#include "core/errors.h"
#include "core/textutil.h"
#include "datetimecompletion.h"

#include <QLocale>
#include <cmath>

namespace {

// value in fixed notation with `precision` significant digits and `digits` decimals and
// the locale's decimal separator (precision 10, digits 2: 12,5 → 12,50); in exponent
// notation when the whole part has more digits than precision.
QString fixedForm(double value, int precision, int digits)
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const int wholeDigits = value == 0 ? 1 : int(std::floor(std::log10(std::fabs(value)))) + 1;
    if (wholeDigits > precision)
        return locale.toString(value, 'E', precision - 1);
    // Round to whichever is coarser: the significant digits or the decimals shown.
    const int decimals = std::min(digits, precision - wholeDigits);
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale + 0.0;   // + 0.0: no "-0,00"
    return locale.toString(rounded, 'f', digits);
}

EditCheckResult checkFloat(const QString &text, const EditModeSettings &mode)
{
    if (text.isEmpty() || mode.floatPrecision == 0)
        return {text, true};
    try {
        return {fixedForm(StrToFloat(text), mode.floatPrecision, mode.floatDigits), true};
    } catch (const ConversionError &) {
        return {text, false};
    }
}

template <typename Convert>
bool converts(const QString &text, Convert convert)
{
    try {
        convert(text);
        return true;
    } catch (const ConversionError &) {
        return false;
    }
}

EditCheckResult checkDate(const QString &text, const EditModeSettings &mode, DateTimeForm form,
                          const QDateTime &now)
{
    if (text.isEmpty() || text == mode.blankDate)
        return {mode.blankDate, true};
    if (form == DateTimeForm::Normalise) {
        try {
            return {DateToStr(StrToDate(text)), true};
        } catch (const ConversionError &) {
            return {text, false};
        }
    }
    const std::optional<QString> completed = CompleteDate(text, now.date());
    if (!completed)
        return {QString(), false};
    return {*completed, converts(*completed, StrToDate)};
}

EditCheckResult checkTime(const QString &text, const EditModeSettings &mode, DateTimeForm form)
{
    if (text.isEmpty() || text == mode.blankTime)
        return {mode.blankTime, true};
    if (form == DateTimeForm::Normalise) {
        try {
            return {StrToTime(text).toString(kTimeFormat), true};
        } catch (const ConversionError &) {
            return {text, false};
        }
    }
    const std::optional<QString> completed = CompleteTime(text, QTime(0, 0));
    if (!completed)
        return {QString(), false};
    return {*completed, converts(*completed, StrToTime)};
}

} // namespace

EditCheckResult CheckEditText(const QString &text, const EditModeSettings &mode, DateTimeForm form,
                              const QDateTime &now)
{
    switch (mode.type) {
    case ttString:
        return {text, true};
    case ttInteger:
        return {text, text.isEmpty() || converts(text, StrToInt)};
    case ttFloat:
        return checkFloat(text, mode);
    case ttDate:
        return checkDate(text, mode, form, now);
    case ttTime:
        return checkTime(text, mode, form);
    }
    return {text, false};
}
