// podklady-db rebuild run as a process on a SQLite firm: a card whose variant disagrees
// with its journal is set right and its stock printed; an unknown card fails.

#include "firm_tables.h"

#include "store/tables/tables.h"
#include "store/tdata.h"
#include "tool_run.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ToolRun runTool(const QStringList &args)
{
    return runProgram(QStringLiteral(PODKLADY_DB), args);
}

TEST(RebuildTool, SetsACardRightFromItsJournal)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("Kramora.ini"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("[Kramora]\r\nAliasName=sklad\r\nCestaData=%1\r\n").arg(dir.filePath(QStringLiteral("data"))).toUtf8());
    f.close();
    ASSERT_EQ(runProgram(QStringLiteral(PODKLADY_DB),
                         QStringList{QStringLiteral("init"), QStringLiteral("--ini"), ini} + InitFirmArguments(), 60000,
                         {}, kInitFirmInput)
                  .exitCode,
              0);

    {
        TData data;
        store::ConnectionParams params;
        params.sqliteFile = dir.filePath(QStringLiteral("data/sklad.sqlite"));
        data.Database.Connect(params);
        AppendRow(data.ffSortiment, {{data.ffSortimentSOR_KAV, "000042"},
                                     {data.ffSortimentSOR_NAC, "Hoblík"}, {data.ffSortimentSOR_SKL, true},
                                     {data.ffSortimentSOR_STA, 50.0}});
        AppendRow(data.ffSklad, {{data.ffSkladSKL_KAV, "000042"}, {data.ffSkladSKL_IND, "001"},
                                 {data.ffSkladSKL_POC, 2.0}, {data.ffSkladSKL_STA, 30.0}});
        AppendRow(data.ffDenik, {{data.ffDenikDEN_KAV, "000042"}, {data.ffDenikDEN_IND, "001"},
                                 {data.ffDenikDEN_KUS, 5.5}, {data.ffDenikDEN_ZAS, 7.5}});
    }

    const ToolRun run = runTool({QStringLiteral("rebuild"), QStringLiteral("42"), QStringLiteral("--ini"), ini});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QStringLiteral("000042/001\t7.5\n000042\t7.5\n"));

    EXPECT_EQ(runTool({QStringLiteral("rebuild"), QStringLiteral("43"), QStringLiteral("--ini"), ini}).exitCode, 1);
    EXPECT_EQ(runTool({QStringLiteral("rebuild"), QStringLiteral("--ini"), ini}).exitCode, 64);
}

} // namespace
