#include "holds.h"

#include "core/errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace store {

namespace {

// One byte per (table, record): the table key in the upper half of the offset, the
// record id in the lower. Offsets stay positive and need no file of that size.
off_t holdOffset(quint32 tableKey, qint64 id)
{
    return off_t((quint64(tableKey & 0x7fffffffu) << 32) | quint32(id));
}

QString systemText() { return QString::fromLocal8Bit(std::strerror(errno)); }

} // namespace

FileHolds::FileHolds(const QString &databasePath) : m_path(databasePath + QStringLiteral("-holds")) {}

FileHolds::~FileHolds()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void FileHolds::openFile()
{
    if (m_fd >= 0)
        return;
    m_fd = ::open(m_path.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0)
        throw StoreError(QStringLiteral("Soubor %1: %2").arg(m_path, systemText()));
}

bool FileHolds::lock(quint32 tableKey, qint64 id)
{
    openFile();
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = holdOffset(tableKey, id);
    fl.l_len = 1;
    if (::fcntl(m_fd, F_OFD_SETLK, &fl) == 0)
        return true;
    if (errno == EAGAIN || errno == EACCES)
        return false;
    throw StoreError(QStringLiteral("Soubor %1: %2").arg(m_path, systemText()));
}

void FileHolds::unlock(quint32 tableKey, qint64 id)
{
    if (m_fd < 0)
        return;
    struct flock fl {};
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = holdOffset(tableKey, id);
    fl.l_len = 1;
    ::fcntl(m_fd, F_OFD_SETLK, &fl);
}

quint32 tableHoldKey(const QString &tableName)
{
    // FNV-1a over the name in capitals, as UTF-8.
    quint32 h = 2166136261u;
    for (char c : tableName.toUpper().toUtf8()) {
        h ^= quint8(c);
        h *= 16777619u;
    }
    return h & 0x7fffffffu;
}

} // namespace store
