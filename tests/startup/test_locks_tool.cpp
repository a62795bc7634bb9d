// podklady-db locks / unlock as processes, against locks taken by two stations.

#include "core/prompter.h"
#include "store/connection.h"
#include "store/tdata.h"
#include "tool_run.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ToolRun podkladyDb(const QStringList &args)
{
    return runProgram(QStringLiteral(PODKLADY_DB), args, 60000);
}

class SilentPrompter final : public Prompter {
public:
    SilentPrompter() { setPrompter(this); }
    ~SilentPrompter() override { setPrompter(nullptr); }
    void ShowMessage(const QString &) override {}
    bool Confirm(const QString &) override { return false; }
};

TEST(LocksTool, ListsAndRemovesLockRecords)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Kramora.ini"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Kramora]\r\nKramora=0001\r\nAliasName=0001\r\nCestaData=" + dir.path().toUtf8() + "/data/\r\n");
    f.close();
    ASSERT_EQ(runProgram(QStringLiteral(PODKLADY_DB),
                         QStringList{QStringLiteral("init"), QStringLiteral("--ini"), ini} + InitFirmArguments(), 60000,
                         {}, kInitFirmInput)
                  .exitCode,
              0);

    SilentPrompter quiet;
    auto station = [&](const QString &address, const QString &user) {
        auto d = std::make_unique<TData>();
        d->ExePath = dir.path() + u'/';
        EXPECT_TRUE(IniPrepare(*d));
        d->SetTableNames();
        d->Database.Connect(ConnectionParamsFor(*d));
        d->LocalAddress = address;
        d->UserFullName = user;
        return d;
    };
    auto a = station(QStringLiteral("10.0.0.1"), QStringLiteral("Novák Jan"));
    ASSERT_TRUE(a->LockRecord(QStringLiteral("POD"), QStringLiteral("0000000007")));
    ASSERT_TRUE(a->LockRecord(QStringLiteral("SOR"), QStringLiteral("000042")));
    auto b = station(QStringLiteral("10.0.0.2"), QStringLiteral("Malá Eva"));
    ASSERT_TRUE(b->LockRecord(QStringLiteral("SOR"), QStringLiteral("000043")));

    ToolRun r = podkladyDb({QStringLiteral("locks"), QStringLiteral("--ini"), ini});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("POD\t0000000007\tNovák Jan\t"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("\t10.0.0.1")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("SOR\t000043\tMalá Eva\t")));

    // A lock nobody holds, and the wrong station: nothing removed.
    EXPECT_EQ(podkladyDb({QStringLiteral("unlock"), QStringLiteral("POD"), QStringLiteral("0000000008"),
                          QStringLiteral("--ini"), ini}).exitCode, 1);
    EXPECT_EQ(podkladyDb({QStringLiteral("unlock"), QStringLiteral("POD"), QStringLiteral("0000000007"),
                          QStringLiteral("--station"), QStringLiteral("10.0.0.2"), QStringLiteral("--ini"), ini}).exitCode, 1);

    // The lock a station left behind: another station is refused until it is removed.
    EXPECT_FALSE(b->LockRecord(QStringLiteral("POD"), QStringLiteral("0000000007")));
    r = podkladyDb({QStringLiteral("unlock"), QStringLiteral("POD"), QStringLiteral("0000000007"), QStringLiteral("--ini"), ini});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(b->LockRecord(QStringLiteral("POD"), QStringLiteral("0000000007")));

    r = podkladyDb({QStringLiteral("locks"), QStringLiteral("--ini"), ini});
    EXPECT_EQ(r.out.count(u'\n'), 3);
    EXPECT_TRUE(r.out.contains(QStringLiteral("POD\t0000000007\tMalá Eva")));

    EXPECT_EQ(podkladyDb({QStringLiteral("unlock"), QStringLiteral("POD")}).exitCode, 64);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
