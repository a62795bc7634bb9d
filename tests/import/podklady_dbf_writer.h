#pragma once
// Writes small import files for tests through shapelib (a failure throws, so that any
// test framework reports it): the four line fields (and any
// extra ones), texts given in Unicode and stored in the code page of the language driver,
// records that can be marked deleted.

#include "core/codepage.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <stdexcept>
#include <shapefil.h>

struct DbfLine {
    QString card, variant;
    double quantity;
    QString document;
    bool deleted = false;
};

// The bytes of text in the code page a language-driver byte names: 0xC8 Windows-1250,
// 0x03 and 0x57 Windows-1252, 0x01 DOS 437, 0x02 DOS 850, any other DOS 852.
inline QByteArray encodeDbfText(const QString &text, int driver)
{
    const char16_t *table = kCp852ToUnicode;
    switch (driver) {
    case 0xC8: table = kWin1250ToUnicode; break;
    case 0x03:
    case 0x57: table = kWin1252ToUnicode; break;
    case 0x01: table = kCp437ToUnicode; break;
    case 0x02: table = kCp850ToUnicode; break;
    default: break;
    }
    QByteArray bytes;
    for (QChar c : text) {
        int b = 0;
        while (b < 256 && table[b] != c.unicode())
            ++b;
        if (b == 256)
            throw std::invalid_argument("no byte for " + QString(c).toStdString() + " under driver "
                                        + std::to_string(driver));
        bytes.append(char(b));
    }
    return bytes;
}

// Writes the file at path. quantityDecimals: decimals of POD_KSD; quantityAsText stores
// POD_KSD as a character field instead (a file of the wrong type); variantWidth: the
// width of POD_IND (the price-calculation module writes 2); cardWidth: the width of POD_KAV.
inline void writePodkladyDbf(const QString &path, const QVector<DbfLine> &lines, int driver = 0x64,
                             int quantityDecimals = 0, bool quantityAsText = false, int variantWidth = 3,
                             int cardWidth = 6)
{
    const QByteArray codePage = "LDID/" + QByteArray::number(driver);
    DBFHandle h = DBFCreateEx(path.toLocal8Bit().constData(), codePage.constData());
    if (!h)
        throw std::runtime_error("cannot create " + path.toStdString());
    DBFAddField(h, "POZNAMKA", FTString, 20, 0);
    DBFAddField(h, "POD_KAV", FTString, cardWidth, 0);
    DBFAddField(h, "POD_IND", FTString, variantWidth, 0);
    if (quantityAsText)
        DBFAddField(h, "POD_KSD", FTString, 8, 0);
    else
        DBFAddField(h, "POD_KSD", quantityDecimals ? FTDouble : FTInteger, 8, quantityDecimals);
    DBFAddField(h, "POD_PCD", FTString, 10, 0);
    for (int i = 0; i < lines.size(); ++i) {
        const DbfLine &l = lines[i];
        DBFWriteStringAttribute(h, i, 0, "jiné pole");
        DBFWriteStringAttribute(h, i, 1, encodeDbfText(l.card, driver).constData());
        DBFWriteStringAttribute(h, i, 2, encodeDbfText(l.variant, driver).constData());
        if (quantityAsText)
            DBFWriteStringAttribute(h, i, 3, QByteArray::number(l.quantity).constData());
        else
            DBFWriteDoubleAttribute(h, i, 3, l.quantity);
        DBFWriteStringAttribute(h, i, 4, encodeDbfText(l.document, driver).constData());
        if (l.deleted)
            DBFMarkRecordDeleted(h, i, 1);
    }
    DBFClose(h);
}
