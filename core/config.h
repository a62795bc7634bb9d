#pragma once
// The configuration read from Kramora.ini, the file the program shares with the rest of
// the shop system, and the window heights remembered in it. Only QtCore.

#include <QString>
#include <array>

// The members the configuration file gives, as the data module holds them. Members
// not yet read are zero or empty; IniPrepare sets them.
struct Config {
    // Input, set by the caller before IniPrepare: the directory of the program file
    // with a trailing "/" (defaultExePath() for the running program). Kramora.ini
    // and the built-in directories lie in it.
    QString ExePath;

    QString DataVersion;
    QString FirmNumber;          // suffix of the per-firm table names
    int VatRateHigh = 0;         // VAT rates in percent
    int VatRateLow = 0;
    int VatRateZero = 0;
    int UserRequestType = 0;
    QString ExportPath;          // starting directory of the XML export
    QString ImportPath;          // directory of the dBase import file
    int MainX = 0;
    int MainY = 0;
    int HlavniTiskarna = 0;
    QString Host;                // database server: host name or address, optionally host:port
    QString AliasName;           // database on the server
    bool TcpIp = false;          // true: the server over TCP/IP; false: the local single-user store
    QString ServerName;          // name of the server in messages
    QString StationName;
    int ParagonovaTiskarna = 0;
    QString TypImportu;
    std::array<int, 10> PrintCopies{};
    QString UctKodInt;
    QString UctKodExt;
    int PriceMode = 0;           // 2: sale prices of the assortment include VAT; 1: without VAT
    QString DataPath;
    QString PrivatePath;
    bool LoginForm = false;      // always ask for name and password at start-up
    bool MatrixPrinter = false;
    QString DbUser;              // database role; empty: the log-on name
};

// The directory of the running program file with a trailing "/".
// Requires a QCoreApplication.
QString defaultExePath();

// The configuration file of cfg: ExePath + "Kramora.ini".
QString iniFilePath(const Config &cfg);

// The firm number checked: four characters from 0–9 and A–Z, as the per-firm tables are
// named ("0001"). Anything else throws ConversionError, so that no other text is ever
// spliced into a table name.
QString CheckedFirmNumber(const QString &text);

// The alias checked: the name of a database, which on one computer is the name of a file
// in the data directory. Empty text, "." and "..", and a text with a "/", "\\" or NUL
// throw ConversionError, so that an alias never reaches outside the data directory.
QString CheckedAliasName(const QString &text);

// Reads Kramora.ini into cfg. Sets DataVersion, FirmNumber, MainX, MainY and the four
// directories to their built-in values first (an empty ExePath becomes defaultExePath()).
// A missing file: shows "Konfigurační soubor <path> nenalezen !" through prompter() and
// returns false. Directory values are used as written, a leading "~/" standing for the
// user's home directory. Otherwise reads every key in turn, storing each at once, and returns
// true. Throws ConversionError at the first integer key that is not an integer or at a
// firm number or alias that is not one (the members read before it are set, the later
// ones keep their values), and AppError when the file cannot be read, is not a plain
// file or is larger than 1 MiB.
bool IniPrepare(Config &cfg);

// The remembered height of a window kind 1–16 (361 when not remembered or when the
// file is missing); 0 for any other kind. Throws ConversionError for a height that is
// not an integer.
int GetIniWinHigh(const Config &cfg, int kind);

// Remembers the height of a window kind 1–16 in the file, changing only that key.
// Does nothing for another kind, when the file is missing or when the user may not write it. Throws AppError naming
// the file when it cannot be written.
void SeTIniWinHigh(const Config &cfg, int kind, int height);
