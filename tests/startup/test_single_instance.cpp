// Two real processes and the single-instance guard.

#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QUuid>
#include <memory>

namespace {

QString probePath()
{
    return QStringLiteral(PROBE_PATH);
}

QString freshKey()
{
    return QStringLiteral("probe-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

std::unique_ptr<QProcess> start(const QString &key, int waitMs, const char *mode)
{
    auto p = std::make_unique<QProcess>();
    p->start(probePath(), {key, QString::number(waitMs), QString::fromLatin1(mode)});
    EXPECT_TRUE(p->waitForStarted(5000));
    return p;
}

// The first line the process prints, or "" when it prints none within the time.
QString firstLine(QProcess &p, int ms = 15000)
{
    while (!p.canReadLine())
        if (!p.waitForReadyRead(ms))
            return QString();
    return QString::fromLatin1(p.readLine()).trimmed();
}

} // namespace

TEST(SingleInstance, SecondCopyHandsOverAndRunningCopyComesToFront)
{
    const QString key = freshKey();
    auto first = start(key, 10000, "run");
    ASSERT_EQ(firstLine(*first), "RUN");

    auto second = start(key, 10000, "run");
    EXPECT_EQ(firstLine(*second), "HANDOVER");
    ASSERT_TRUE(second->waitForFinished(5000));
    EXPECT_EQ(second->exitCode(), 0);

    EXPECT_EQ(firstLine(*first), "ACTIVATED");
    first->waitForFinished(5000);
}

TEST(SingleInstance, HungRunningCopyIsTakenOverAfterTheWait)
{
    const QString key = freshKey();
    auto hung = start(key, 300, "hang");
    ASSERT_EQ(firstLine(*hung), "RUN");

    auto second = start(key, 300, "run");
    EXPECT_EQ(firstLine(*second), "RUN");   // ran as a copy of its own

    // The copy that took over now serves the name.
    auto third = start(key, 300, "run");
    EXPECT_EQ(firstLine(*third), "HANDOVER");
    EXPECT_EQ(firstLine(*second), "ACTIVATED");
    hung->kill();
    hung->waitForFinished(5000);
}

TEST(SingleInstance, CopyThatDiedLeavesNoGuardBehind)
{
    const QString key = freshKey();
    auto first = start(key, 10000, "run");
    ASSERT_EQ(firstLine(*first), "RUN");
    first->kill();
    first->waitForFinished(5000);

    auto second = start(key, 10000, "run");
    EXPECT_EQ(firstLine(*second), "RUN");
    second->kill();
    second->waitForFinished(5000);
}

TEST(SingleInstance, KeyDependsOnProgramAndUser)
{
    EXPECT_EQ(TOneInstance::keyFor("/opt/a/podklady", "jan"), TOneInstance::keyFor("/usr/bin/podklady", "jan"));
    EXPECT_NE(TOneInstance::keyFor("/opt/a/podklady", "jan"), TOneInstance::keyFor("/opt/a/podklady", "eva"));
    EXPECT_NE(TOneInstance::keyFor("/opt/a/podklady", "jan"), TOneInstance::keyFor("/opt/a/jiny", "jan"));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
