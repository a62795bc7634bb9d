#pragma once
// A profile (INI) file: "[Section]" lines open sections, "key=value" lines give values.
//
// Conventions of this reader:
// - section and key names are matched without regard to case; the first section of a
//   name and the first key of a name in it count, later duplicates are ignored;
// - a value is the text after the first "=", blanks and tabs at both ends removed, and
//   a pair of matching double or single quotes around it removed; at most 2,047
//   characters (the rest is cut off);
// - lines whose first non-blank character is ";" are comments; lines before the first
//   section, and lines without "=", belong to no key;
// - the file is single-byte Windows-1250 text, as the shop system writes it; a file
//   that is valid UTF-8 and holds non-ASCII characters (or starts with the UTF-8 byte
//   order mark) is read as UTF-8 instead, and written back in the same encoding.
// Writing changes only the line of the key written: every other byte of the file stays.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class Profile {
public:
    // The longest value returned, in characters.
    static constexpr int kMaxValueLength = 2047;
    // The largest file read, in bytes (1 MiB): a configuration is a few kilobytes.
    static constexpr qint64 kMaxFileSize = 1 << 20;

    // Reads the file at path. A missing file gives an empty profile (exists() is false).
    // Throws AppError naming the file when it exists but cannot be read, is not a plain
    // file (a device, a FIFO, a directory) or is larger than kMaxFileSize.
    explicit Profile(const QString &path);

    const QString &path() const { return m_path; }
    // True when the file existed when it was read (or has been written since).
    bool exists() const { return m_exists; }

    // The value of the key in the section, or nullopt when the key is absent
    // (a key present with an empty value gives the empty text).
    std::optional<QString> value(const QString &section, const QString &key) const;
    // The value of the key, or def when the key is absent.
    QString readString(const QString &section, const QString &key, const QString &def) const;

    // Sets the key to value and writes the file at once, replacing it whole so that a
    // failure never leaves half a file. An existing key keeps its line, with only the
    // value replaced; a new key goes after the last line of its section; a missing
    // section is appended at the end. Throws CodePageError when the value cannot be
    // stored in the file's encoding, AppError for a value with a line break, and
    // AppError naming the file when it cannot be written (the file is then unchanged).
    void writeString(const QString &section, const QString &key, const QString &value);

private:
    struct Line {
        QByteArray text;       // the line without its terminator
        QByteArray terminator; // "\r\n", "\n", or empty for a last line without one
    };
    struct Place {
        qsizetype sectionHeader = -1; // line of the section's header, -1 when absent
        qsizetype sectionEnd = -1;    // last non-empty line of the section
        qsizetype keyLine = -1;       // line of the key, -1 when absent
    };

    QString decode(const QByteArray &bytes) const;
    QByteArray encode(const QString &text) const;
    Place find(const QString &section, const QString &key) const;
    QByteArray lineEnding() const;

    QString m_path;
    bool m_exists = false;
    bool m_utf8 = false;
    QByteArray m_bom;
    QList<Line> m_lines;
};
