#pragma once
// Single-byte code pages of the shop system: Windows-1250 (tables, messages, files,
// the XML hand-over) and DOS 852 (the dBase files of the price-calculation module), and
// the code pages a dBase file may name instead: DOS 437 and 850, Windows-1252.
// Inside the program text is Unicode; bytes are made only where text leaves it.

#include <QByteArray>
#include <QString>

// Unicode for each byte value of Windows-1250. The five byte values the code page
// leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) stand for the C1 control of the
// same number, so that every byte survives a round trip.
extern const char16_t kWin1250ToUnicode[256];
// Unicode for each byte value of DOS code page 852; 0x00–0x7F are plain ASCII.
extern const char16_t kCp852ToUnicode[256];
// Unicode for each byte value of DOS code pages 437 and 850 and of Windows-1252. The
// byte values Windows-1252 leaves undefined stand for the C1 control of the same number.
extern const char16_t kCp437ToUnicode[256];
extern const char16_t kCp850ToUnicode[256];
extern const char16_t kWin1252ToUnicode[256];

// Decodes Windows-1250 bytes; every byte value has a character, so it never fails.
QString fromWin1250(const QByteArray &bytes);
// Decodes DOS 852 bytes; every byte value has a character, so it never fails.
QString fromCp852(const QByteArray &bytes);
// Decodes bytes of code page 1250, 852, 437, 850 or 1252. Throws CodePageError for any
// other number.
QString fromCodePage(int codePage, const QByteArray &bytes);

// Encodes text as Windows-1250. Throws CodePageError naming the first character the
// code page cannot hold; nothing is ever replaced silently.
QByteArray toWin1250(const QString &text);
// True when every character of the text has a Windows-1250 byte.
bool fitsWin1250(const QString &text);
// The first character of the text that Windows-1250 cannot hold (a surrogate pair
// comes back whole), or an empty text when every character fits.
QString firstNonWin1250(const QString &text);
