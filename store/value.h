#pragma once
// The values of fields: how any value given to a field becomes the value the field
// holds, and how a held value reads as text, number, Boolean, date or time.
// A field holds QString, double, qint64, bool, QDate, QTime or QDateTime by its type;
// QVariant() is an empty value.

#include "schema.h"

#include <QVariant>

namespace store {

// The value v as field f holds it. Strings are cut to the field's size; with
// checkCodePage a character outside Windows-1250 throws CodePageError. A text that is not
// a number, Boolean, date or time for such a field throws ConversionError; an empty text
// gives the empty value. Times are kept to the second.
QVariant toFieldValue(const FieldDef &f, const QVariant &v, bool checkCodePage = true);

// Reading a held value (ConversionError when it has no such reading; an empty value
// reads as "", 0, false or a null date/time).
QString valueAsString(const FieldDef &f, const QVariant &v);
double valueAsFloat(const FieldDef &f, const QVariant &v);
qint64 valueAsInteger(const FieldDef &f, const QVariant &v);
bool valueAsBoolean(const FieldDef &f, const QVariant &v);
QDate valueAsDate(const FieldDef &f, const QVariant &v);
QTime valueAsTime(const FieldDef &f, const QVariant &v);
QDateTime valueAsDateTime(const FieldDef &f, const QVariant &v);

// The value as shown outside editing (display format, locale); empty for an empty value.
QString displayText(const FieldDef &f, const QVariant &v);
// How many characters a grid column gives the field by default: a text field its size,
// other types the width their values usually take (a number 10, a date 10, a Boolean 5).
int displayWidth(const FieldDef &f);
// The value as put into an edit control: numbers in full, without group separators.
QString editText(const FieldDef &f, const QVariant &v);

} // namespace store
