// Files written whole or not at all: the bytes in place with the user's umask, a symlink
// at the target replaced rather than written through, and on a full file system, a short
// write, an abandoned file or a target that is no file the old file kept, no temporary
// file left and the failure named. Also the configured folders made when missing.

#include "small_filesystem.h"

#include "core/atomic_file.h"
#include "core/config.h"
#include "core/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The names in a folder, hidden ones included.
QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot,
                               QDir::Name);
}

mode_t modeOf(const QString &path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
    return st.st_mode & 07777;
}

// Sets the umask for a scope.
class Umask {
public:
    explicit Umask(mode_t mask) : m_old(::umask(mask)) {}
    ~Umask() { ::umask(m_old); }

private:
    mode_t m_old;
};

TEST(AtomicFile, PutsTheWholeFileInPlaceWithTheUmaskAndReplacesASymlink)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("PrehledDodavek.txt"));
    for (const auto &[mask, mode] : {std::pair<mode_t, mode_t>{022, 0644}, {027, 0640}, {077, 0600}}) {
        const Umask scope(mask);
        AtomicFile file(target);
        EXPECT_EQ(file.Target(), QFileInfo(target).absoluteFilePath());
        EXPECT_EQ(QFileInfo(file.TemporaryPath()).absolutePath(), QFileInfo(target).absolutePath());
        file.Write("první ");
        EXPECT_EQ(file.Device().write("druhý"), qint64(6));  // UTF-8 bytes
        file.Commit();
        EXPECT_EQ(readAll(target), QByteArray("první druhý"));
        EXPECT_EQ(modeOf(target), mode) << "umask " << std::oct << mask;
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("PrehledDodavek.txt")});
    }

    // A symlink at the target: the link becomes the new file; what it pointed to stays.
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere.txt"));
    const QString link = dir.filePath(QStringLiteral("link.pdf"));
    writeFile(elsewhere, "keep");
    ASSERT_TRUE(QFile::link(elsewhere, link));
    {
        AtomicFile file(link);
        file.Write("new");
        file.Commit();
    }
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(link), QByteArray("new"));
    EXPECT_EQ(readAll(elsewhere), QByteArray("keep"));
}

// What a failure leaves: the old file as it was, no temporary file, a message naming the
// file and the reason.
TEST(AtomicFile, AFailureKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    SmallFileSystem fs(64);
    SMALL_FS_REQUIRE(fs);
    const QString target = fs.FilePath(QStringLiteral("PrehledDodavek.txt"));
    const QByteArray old = "the file of the last run\r\n";
    writeFile(target, old);
    const QByteArray big(12467, 'a');

    struct Case {
        const char *name;
        qint64 leaveFree;
        std::function<void(AtomicFile &)> run;
        const char *reason;
    };
    const Case cases[] = {
        {"Write on a full disk", 0, [&](AtomicFile &f) { f.Write(big); }, "na disku není místo"},
        {"Write past the free room", 4096, [&](AtomicFile &f) { f.Write(big); }, "na disku není místo"},
        // A writer that ignores its device's errors (as a PDF writer does): Commit finds them.
        {"device past the free room", 4096,
         [&](AtomicFile &f) {
             for (int i = 0; i < 20; ++i)
                 f.Device().write(big.left(1000));
             f.Commit();
         },
         "na disku není místo"},
        // A library that wrote the file itself, shorter than it says it is.
        {"external file cut short", 1 << 20,
         [&](AtomicFile &f) {
             writeFile(f.TemporaryPath(), big.left(4096));
             f.Commit(big.size());
         },
         "zapsáno 4096 bajtů z 12467"},
        {"abandoned", 1 << 20, [&](AtomicFile &f) { f.Write(big); }, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(fs.FilePath(QStringLiteral("filler")));
        fs.Fill(c.leaveFree);
        try {
            AtomicFile file(target);
            c.run(file);
            if (c.reason)
                ADD_FAILURE() << "no error";
        } catch (const AppError &e) {
            EXPECT_EQ(e.text(), QStringLiteral("Soubor %1 nelze zapsat: %2").arg(target, QString::fromUtf8(c.reason)));
        }
        EXPECT_EQ(readAll(target), old);
        EXPECT_EQ(entries(fs.Path()), (QStringList{QStringLiteral("PrehledDodavek.txt"), QStringLiteral("filler")}));
    }
}

TEST(AtomicFile, RefusesATargetThatIsNoFileAndAMissingFolder)
{
    QTemporaryDir dir;
    const struct {
        QString target;
        QString reason;
    } cases[] = {
        {QStringLiteral("/dev/full"), QStringLiteral("není to obyčejný soubor")},
        {dir.path(), QStringLiteral("je to adresář")},
        {dir.filePath(QStringLiteral("chybi/soubor.xml")), QStringLiteral("adresář neexistuje")},
    };
    for (const auto &c : cases) {
        try {
            AtomicFile file(c.target);
            ADD_FAILURE() << "accepted " << c.target.toStdString();
        } catch (const AppError &e) {
            EXPECT_EQ(e.text(), QStringLiteral("Soubor %1 nelze vytvořit: %2").arg(c.target, c.reason));
        }
    }
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(entries(dir.path()), QStringList());
    EXPECT_EQ(entries(QStringLiteral("/dev")).filter(QStringLiteral(".full.")), QStringList());
}

TEST(AtomicFile, CreatesTheConfiguredFoldersThatAreMissing)
{
    QTemporaryDir dir;
    Config cfg;
    cfg.DataPath = dir.filePath(QStringLiteral("data"));
    cfg.PrivatePath = dir.filePath(QStringLiteral("Private/"));
    cfg.ExportPath = dir.filePath(QStringLiteral("a/b/Export"));
    cfg.ImportPath = QString();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("data")));
    EXPECT_EQ(CreateConfiguredFolders(cfg), (QStringList{cfg.PrivatePath, cfg.ExportPath}));
    EXPECT_TRUE(QFileInfo(cfg.ExportPath).isDir());
    EXPECT_TRUE(QFileInfo(cfg.PrivatePath).isDir());
    EXPECT_EQ(CreateConfiguredFolders(cfg), QStringList());

    // A file where a folder should be.
    writeFile(dir.filePath(QStringLiteral("soubor")), "x");
    cfg.ImportPath = dir.filePath(QStringLiteral("soubor/Import"));
    try {
        CreateConfiguredFolders(cfg);
        ADD_FAILURE() << "no error";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Adresář %1 nelze vytvořit: ").arg(cfg.ImportPath)))
            << e.text().toStdString();
    }
}

} // namespace
