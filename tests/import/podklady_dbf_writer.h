#pragma once
// Writes small import files for tests through shapelib: the four line fields (and any
// extra ones), texts given in Unicode and stored in DOS code page 852 or Windows-1250,
// records that can be marked deleted.

#include "app/core/codepage.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <gtest/gtest.h>
#include <shapefil.h>

struct DbfLine {
    QString card, variant;
    double quantity;
    QString document;
    bool deleted = false;
};

// Language-driver bytes: 0x64 DOS 852, 0xC8 Windows-1250, 0x57 Windows-1252.
inline QByteArray encodeDbfText(const QString &text, int driver)
{
    if (driver == 0xC8)
        return toWin1250(text);
    QByteArray bytes;
    for (QChar c : text) {
        int b = 0;
        while (b < 256 && kCp852ToUnicode[b] != c.unicode())
            ++b;
        EXPECT_LT(b, 256) << "no code page 852 byte for " << QString(c).toStdString();
        bytes.append(char(b));
    }
    return bytes;
}

// Writes the file at path. quantityDecimals: decimals of POD_KSD; quantityAsText stores
// POD_KSD as a character field instead (a file of the wrong type).
inline void writePodkladyDbf(const QString &path, const QVector<DbfLine> &lines, int driver = 0x64,
                             int quantityDecimals = 0, bool quantityAsText = false)
{
    const QByteArray codePage = "LDID/" + QByteArray::number(driver);
    DBFHandle h = DBFCreateEx(path.toLocal8Bit().constData(), codePage.constData());
    ASSERT_NE(h, nullptr);
    DBFAddField(h, "POZNAMKA", FTString, 20, 0);
    DBFAddField(h, "POD_KAV", FTString, 6, 0);
    DBFAddField(h, "POD_IND", FTString, 3, 0);
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
