#include "atomic_file.h"

#include "config.h"
#include "errors.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray nativePath(const QString &path) { return QFile::encodeName(path); }

// Writes all of data to fd, resuming after a signal and after a short write. Returns 0,
// or the errno of the failure (ENOSPC for a write that made no progress).
int writeAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        data += n;
        size -= n;
    }
    return 0;
}

// The temporary file beside the target: hidden, named after it (its first 200 characters,
// so that the name stays within the file system's limit), with a random ending; created
// new (never an existing file) with mode 0666 less the user's umask.
int createTemporary(const QString &folder, const QString &name, QString &path)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = folder + QStringLiteral("/.") + name.left(200) + QLatin1Char('.') +
               QString::number(QRandomGenerator::global()->generate(), 36) + QStringLiteral(".tmp");
        const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The reason of a failed system call (errno) in Czech, for messages.
QString systemErrorText(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("na disku není místo");
    case EDQUOT:
        return QStringLiteral("překročena kvóta disku");
    case EACCES:
    case EPERM:
        return QStringLiteral("přístup odepřen");
    case ENOENT:
        return QStringLiteral("adresář neexistuje");
    case ENOTDIR:
        return QStringLiteral("část cesty není adresář");
    case EROFS:
        return QStringLiteral("disk je jen pro čtení");
    case EISDIR:
        return QStringLiteral("je to adresář");
    case EIO:
        return QStringLiteral("chyba čtení nebo zápisu na disk");
    case EFBIG:
        return QStringLiteral("soubor je příliš velký");
    case ENAMETOOLONG:
        return QStringLiteral("jméno je příliš dlouhé");
    default:
        return QStringLiteral("chyba systému %1 (%2)").arg(error).arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

} // namespace

// The device of Device(): unbuffered, each write checked; the first failure is kept.
class AtomicFile::CheckedDevice final : public QIODevice {
public:
    explicit CheckedDevice(int fd) : m_fd(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    qint64 written = 0;
    int error = 0;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (error == 0)
            error = writeAll(m_fd, data, size);
        if (error != 0) {
            setErrorString(systemErrorText(error));
            return -1;
        }
        written += size;
        return size;
    }

private:
    const int m_fd;
};

AtomicFile::AtomicFile(const QString &target)
{
    const QFileInfo info(target);
    m_target = info.absoluteFilePath();
    auto refuse = [this](const QString &reason) {
        throw AppError(QStringLiteral("Soubor %1 nelze vytvořit: %2").arg(m_target, reason));
    };
    struct stat st {};
    if (::lstat(nativePath(m_target).constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        refuse(S_ISDIR(st.st_mode) ? systemErrorText(EISDIR) : QStringLiteral("není to obyčejný soubor"));
    m_fd = createTemporary(info.absolutePath(), info.fileName(), m_temporary);
    if (m_fd < 0)
        refuse(systemErrorText(errno));
    m_device = std::make_unique<CheckedDevice>(m_fd);
}

AtomicFile::~AtomicFile()
{
    m_device.reset();
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed)
        ::unlink(nativePath(m_temporary).constData());
}

QIODevice &AtomicFile::Device()
{
    return *m_device;
}

void AtomicFile::fail(const QString &reason) const
{
    throw AppError(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(m_target, reason));
}

void AtomicFile::Write(const QByteArray &bytes)
{
    if (m_device->write(bytes) != bytes.size())
        fail(m_device->errorString());
}

void AtomicFile::Commit()
{
    if (m_device->error != 0)
        fail(systemErrorText(m_device->error));
    commitChecked(m_device->written);
}

void AtomicFile::Commit(qint64 expectedSize)
{
    commitChecked(expectedSize);
}

void AtomicFile::commitChecked(qint64 expectedSize)
{
    if (::fsync(m_fd) != 0)
        fail(systemErrorText(errno));
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        fail(systemErrorText(errno));
    if (st.st_size != expectedSize)
        fail(QStringLiteral("zapsáno %1 bajtů z %2").arg(qint64(st.st_size)).arg(expectedSize));
    m_device.reset();
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        fail(systemErrorText(errno));
    // rename() replaces the directory entry itself: a symlink there is replaced, its
    // target stays untouched.
    if (::rename(nativePath(m_temporary).constData(), nativePath(m_target).constData()) != 0)
        fail(systemErrorText(errno));
    m_committed = true;
    // The new entry made durable. The file is in place already, so a folder that cannot
    // be synced (some file systems refuse it) is no failure of the write.
    const int folder = ::open(nativePath(QFileInfo(m_target).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

QStringList CreateConfiguredFolders(const Config &cfg)
{
    QStringList created;
    for (const QString &path : {cfg.DataPath, cfg.PrivatePath, cfg.ExportPath, cfg.ImportPath}) {
        if (path.isEmpty() || QFileInfo(path).isDir())
            continue;
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(nativePath(path).toStdString()), error);
        if (error)
            throw AppError(QStringLiteral("Adresář %1 nelze vytvořit: %2").arg(path, systemErrorText(error.value())));
        created << path;
    }
    return created;
}
