#pragma once
// Every file the program and its tools write appears whole or not at all. The bytes go
// to a temporary file in the target's folder, created with the user's umask; every write
// is checked; at the end the file is synced, its size compared with what was written,
// and it is renamed over the target. A symlink at the target is replaced by the new
// file, never written through. A failure anywhere removes the temporary file, leaves the
// target as it was and is raised as an AppError naming the file and the reason in Czech.
//
// Also here: the folders named in the configuration, created when missing.

#include <QString>
#include <QStringList>
#include <memory>

class QIODevice;
struct Config;

class AtomicFile {
public:
    // Creates the temporary file for `target`. Throws AppError ("Soubor <path> nelze
    // vytvořit: <reason>") when the target is a folder or a device rather than a file, or
    // when the folder does not exist or refuses the new file.
    explicit AtomicFile(const QString &target);
    // Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // The target as messages show it: an absolute path.
    const QString &Target() const { return m_target; }
    // The temporary file, for a library that writes the file itself by its name; it
    // must write into that same file (truncating it is fine, replacing it is not).
    const QString &TemporaryPath() const { return m_temporary; }

    // A write-only device on the temporary file for writers that take a QIODevice. A
    // write that fails or falls short fails the device's write (with the reason as its
    // error string); Commit then refuses the file.
    QIODevice &Device();
    // Appends bytes; throws AppError ("Soubor <path> nelze zapsat: <reason>") at once
    // when they do not all reach the file.
    void Write(const QByteArray &bytes);

    // Puts the file in place of the target: no write may have failed; the file is synced
    // to the disk and must hold exactly the bytes written through Device and Write; then
    // it is renamed over the target and the folder is synced. Throws AppError ("Soubor
    // <path> nelze zapsat: <reason>") and leaves the target as it was when any step fails.
    void Commit();
    // As Commit, for a file that a library wrote to TemporaryPath itself: the file must
    // hold exactly `expectedSize` bytes, as the caller found them complete.
    void Commit(qint64 expectedSize);

private:
    class CheckedDevice;
    [[noreturn]] void fail(const QString &reason) const;
    void commitChecked(qint64 expectedSize);

    QString m_target;
    QString m_temporary;
    int m_fd = -1;
    bool m_committed = false;
    std::unique_ptr<CheckedDevice> m_device;
};

// Creates the data, private, export and import folders of the configuration that do not
// exist yet (an empty value names none). Returns the folders created, in that order.
// Throws AppError ("Adresář <path> nelze vytvořit: <reason>") for one that cannot be made.
QStringList CreateConfiguredFolders(const Config &cfg);
