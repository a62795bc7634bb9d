#pragma once
// Completion of a shortened date or time as a user types it ("8", "8.3", "8.3.", "050324")
// against a reference moment written out in full ("08.12.2024", "14:05:00").

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

// True for the characters a user types between the parts of a date or time:
// * + , - . / : ?
bool IsTypedSeparator(QChar c);

// Completes text against reference (a full text whose parts are divided by separator).
// Any of * + , - . / : ? counts as a typed separator; the first two become separator.
// Returns the completed text (empty for an empty text), or nothing when the text is
// not a shortened form of a date or time.
std::optional<QString> CompleteDateTime(const QString &text, const QString &reference, QChar separator,
                                        int maxLength);
// CompleteDateTime for a date against the reference day in the short date format.
std::optional<QString> CompleteDate(const QString &text, const QDate &reference);
// CompleteDateTime for a time against the reference time of day in hours:minutes:seconds.
std::optional<QString> CompleteTime(const QString &text, const QTime &reference);
