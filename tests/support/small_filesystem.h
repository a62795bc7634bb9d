#pragma once
// A small file system of its own for a test: a tmpfs of a few pages mounted on a
// temporary folder (which needs root; the test is skipped with the reason otherwise),
// filled up on request so that the next file written runs out of room.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

class SmallFileSystem {
public:
    // Mounts a tmpfs of sizeKiB; check Mounted() (and skip with Reason()) before use.
    explicit SmallFileSystem(int sizeKiB = 256)
    {
        if (::geteuid() != 0) {
            m_reason = "a file system of its own needs root (mount); run the test as root";
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(sizeKiB) + "k,mode=0777";
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) != 0) {
            m_reason = std::string("mount of a tmpfs failed: ") + std::strerror(errno);
            return;
        }
        m_mounted = true;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool Mounted() const { return m_mounted; }
    const std::string &Reason() const { return m_reason; }
    QString Path() const { return m_dir.path(); }
    QString FilePath(const QString &name) const { return m_dir.filePath(name); }

    // Writes a file of the given content in it (the file of an earlier run); its path.
    QString Put(const QString &name, const QByteArray &bytes)
    {
        QFile f(FilePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        EXPECT_EQ(f.write(bytes), bytes.size());
        return f.fileName();
    }

    // Fills the file system with a filler file until no more than leaveBytes are free
    // (tmpfs counts whole pages of 4 KiB).
    void Fill(qint64 leaveBytes = 0)
    {
        const int fd = ::open(QFile::encodeName(FilePath(QStringLiteral("filler"))).constData(),
                              O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        const QByteArray page(4096, 'x');
        while (::write(fd, page.constData(), page.size()) == page.size()) {
        }
        ::close(fd);
        // Give back whole pages until leaveBytes are free again.
        QFile filler(FilePath(QStringLiteral("filler")));
        const qint64 size = filler.size();
        ASSERT_TRUE(filler.resize(std::max<qint64>(0, size - (leaveBytes + 4095) / 4096 * 4096)));
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    std::string m_reason;
};

// Skips the test when the file system could not be mounted, saying why.
#define SMALL_FS_REQUIRE(fs)                                                                           \
    do {                                                                                               \
        if (!(fs).Mounted())                                                                           \
            GTEST_SKIP() << (fs).Reason();                                                             \
    } while (0)
