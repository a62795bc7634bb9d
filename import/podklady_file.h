#pragma once
// The import file of the price-calculation module: a dBase table whose records are lines
// of prepared deliveries. Only the four fields of a line are read; any others are ignored.

#include "core/errors.h"

#include <QString>
#include <QVector>

// The file cannot be used: it is missing or unreadable, it is not a dBase table or is
// damaged, it lacks a field of a line or holds one of the wrong type, or a value cannot
// be read. The text says which and names the file.
class ImportFileError : public AppError {
public:
    using AppError::AppError;
};

// One line of a prepared delivery.
struct PodkladyLine {
    QString card;      // POD_KAV, without trailing blanks
    QString variant;   // POD_IND, without trailing blanks
    qint64 quantity;   // POD_KSD rounded to a whole number; a blank value is 0
    QString document;  // POD_PCD, without trailing blanks
};

// Reads every record of the file that is not marked deleted, in physical order.
// Character fields keep their leading blanks and lose their trailing ones; their bytes
// are decoded from the code page the file's language-driver byte names (DOS 852, 437,
// 850, Windows-1250, 1252; no byte: 852). A file naming any other code page is read only
// while its texts are plain ASCII; one with other text is refused, naming the byte. The file is opened for reading only and closed again before returning.
// Throws ImportFileError for any fault, having read nothing for the caller: a file is
// taken whole or not at all.
QVector<PodkladyLine> ReadPodkladyFile(const QString &path);
