// The paging grid on a real table: the model's window against the table's order while it
// grows, slides and follows the table (moves, index changes, Post, Delete), checked by
// QAbstractItemModelTester; the widget's selection and keys; the navigator's buttons.

#include "raw_engine.h"
#include "store_test_support.h"

#include "dbgrid.h"
#include "dbnavigator.h"
#include "gridmodel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <numeric>

using storetest::Backend;
using storetest::TestDatabase;

namespace {

// Codes "000001"… in code order; names in another order (a fixed permutation).
const store::TableDef &gridTableDef()
{
    static const store::TableDef def = [] {
        store::TableDef d;
        d.component = QStringLiteral("ffGrid");
        d.builtInName = QStringLiteral("GRD0001");
        d.fields = {
            {QStringLiteral("GRD_KOD"), store::FieldType::String, 6, QStringLiteral("Kód"), {}},
            {QStringLiteral("GRD_NAZ"), store::FieldType::String, 20, QStringLiteral("Název"), {}},
            {QStringLiteral("GRD_CEN"), store::FieldType::Float, 0, QStringLiteral("Cena"), QStringLiteral("#,##0.00")},
            {QStringLiteral("GRD_ANO"), store::FieldType::Boolean, 0, {}, QStringLiteral("Ano;Ne")},
        };
        d.indexes = {
            {QStringLiteral("KOD"), {{QStringLiteral("GRD_KOD")}}, true, false},
            {QStringLiteral("NAZ"), {{QStringLiteral("GRD_NAZ")}}, false, false},
        };
        return d;
    }();
    return def;
}

QString code(int i) { return QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')); }
QString name(int i, int n) { return QStringLiteral("N%1").arg((qint64(i) * 7919) % n, 6, 10, QLatin1Char('0')); }

const QStringList kColumns{QStringLiteral("GRD_KOD"), QStringLiteral("GRD_NAZ"), QStringLiteral("GRD_CEN"),
                           QStringLiteral("GRD_ANO")};

class GridTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        db = std::make_unique<TestDatabase>(GetParam());
        database.Connect(db->params());
        tableName = TestDatabase::freshTableName(QStringLiteral("GRD"));
        database.CreateTable(gridTableDef(), tableName);
        table.SetDatabase(&database);
        table.SetTableName(tableName);
    }

    // Rows 1..n, written in one transaction straight through the engine; row i is named
    // nameOf(i), by default a permutation of distinct names.
    void fill(int n, const std::function<QString(int)> &nameOf = {})
    {
        rows = n;
        store::Engine &engine = storetest::rawEngine(database);
        const QString sql = QStringLiteral("INSERT INTO \"%1\" (\"GRD_KOD\", \"GRD_NAZ\", \"GRD_CEN\", \"GRD_ANO\") "
                                           "VALUES (%2, %3, %4, %5)")
                                .arg(tableName, engine.dialect().placeholder(1), engine.dialect().placeholder(2),
                                     engine.dialect().placeholder(3), engine.dialect().placeholder(4));
        database.StartTransaction();
        for (int i = 1; i <= n; ++i)
            engine.execute(sql, {code(i), nameOf ? nameOf(i) : name(i, n), i * 10.5, qint64(i % 2)});
        database.Commit();
    }

    QString cell(const GridModel &m, int row, int column) const { return m.index(row, column).data().toString(); }

    // The window holds consecutive codes in code order.
    void expectConsecutiveCodes(const GridModel &m) const
    {
        for (int r = 1; r < m.rowCount(); ++r)
            ASSERT_EQ(cell(m, r, 0).toInt(), cell(m, r - 1, 0).toInt() + 1) << "row " << r;
    }

    std::unique_ptr<TestDatabase> db;
    store::Database database;
    QString tableName;
    store::Table table{&gridTableDef()};
    store::DataSource source{&table};
    int rows = 0;
};

TEST_P(GridTest, WindowFollowsTheTableAndGrowsBothWays)
{
    fill(3000);
    table.Open();
    table.SetIndexName(QStringLiteral("KOD"));
    ASSERT_TRUE(table.FindKey({code(1500)}));

    GridModel model(&source, kColumns);
    EXPECT_EQ(model.rowCount(), 2 * GridModel::kPageRows + 1);
    EXPECT_EQ(model.rowsRead(), 2 * GridModel::kPageRows);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Název"));
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("GRD_ANO"));
    ASSERT_EQ(model.currentRow(), GridModel::kPageRows);
    const int cur = model.currentRow();
    EXPECT_EQ(cell(model, cur, 0), code(1500));
    EXPECT_EQ(cell(model, cur, 2), QStringLiteral("15\u00a0750,00"));
    EXPECT_EQ(cell(model, cur, 3), QStringLiteral("Ne"));
    EXPECT_EQ(model.index(cur, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(model.index(cur, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
    expectConsecutiveCodes(model);

    // Forward to the end: the window slides and never grows past its cap; the current
    // record's row leaves it and comes back with its page.
    QVector<int> currentRows;
    QObject::connect(&model, &GridModel::currentRowChanged, [&](int row, bool moved) {
        EXPECT_FALSE(moved);
        currentRows.append(row);
        if (row >= 0) {
            EXPECT_EQ(cell(model, row, 0), code(1500));
        }
    });
    while (model.canFetchMore({})) {
        model.fetchMore({});
        ASSERT_LE(model.rowCount(), GridModel::kMaxRows);
    }
    EXPECT_EQ(cell(model, model.rowCount() - 1, 0), code(3000));
    EXPECT_EQ(model.currentRow(), -1);
    expectConsecutiveCodes(model);
    // Back to the start.
    while (model.canFetchBackward())
        model.fetchBackward();
    EXPECT_EQ(cell(model, 0, 0), code(1));
    expectConsecutiveCodes(model);
    ASSERT_EQ(currentRows.size(), 3);
    EXPECT_EQ(currentRows[0], -1);
    EXPECT_EQ(currentRows[2], -1);
    QObject::disconnect(&model, &GridModel::currentRowChanged, nullptr, nullptr);
    table.FindKey({code(1500)});
    QCoreApplication::processEvents();

    // A move inside the window keeps it; a move outside re-anchors it around the record.
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    table.Next();
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(model, model.currentRow(), 0), code(1501));
    EXPECT_EQ(resets.count(), 0);
    table.Last();
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(model, model.currentRow(), 0), code(3000));
    EXPECT_EQ(model.currentRow(), model.rowCount() - 1);
    EXPECT_FALSE(model.canFetchMore({}));
    EXPECT_EQ(resets.count(), 1);
    expectConsecutiveCodes(model);

    // Selecting a row moves the table there.
    model.moveTableTo(model.currentRow() - 10);
    EXPECT_EQ(table.FieldByName(QStringLiteral("GRD_KOD")).AsString(), code(2990));
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(model, model.currentRow(), 0), code(2990));
}

TEST_P(GridTest, FollowsAnIndexChangeEvenWhenTheLastSignalCameBeforeIt)
{
    fill(2000);
    table.Open();
    table.SetIndexName(QStringLiteral("KOD"));
    GridModel model(&source, kColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    // A search in name order: the list shows name order around the record found.
    table.SetIndexName(QStringLiteral("NAZ"));
    table.FindNearest({QStringLiteral("N0010")});
    QCoreApplication::processEvents();
    ASSERT_GE(model.currentRow(), 0);
    EXPECT_EQ(cell(model, model.currentRow(), 1), QStringLiteral("N001000"));
    for (int r = 1; r < model.rowCount(); ++r)
        ASSERT_LT(cell(model, r - 1, 1), cell(model, r, 1));

    // Find in one order, then switch the order without a signal (as going back to a
    // remembered record does): the list shows the order the command left.
    ASSERT_TRUE(table.FindKey({QStringLiteral("N000500")}));
    table.SetIndexName(QStringLiteral("KOD"));
    QCoreApplication::processEvents();
    const QString found = table.FieldByName(QStringLiteral("GRD_KOD")).AsString();
    EXPECT_EQ(cell(model, model.currentRow(), 0), found);
    expectConsecutiveCodes(model);
    EXPECT_GT(model.currentRow(), 0);
}

// Paging in name order through a run of 700 equal names (with others before and after
// it), from a record inside the run, to both ends and back: the window is always a
// slice of the order (name, then record id), with each row's own values, while the
// records of the rows it drops are read into again.
TEST_P(GridTest, PagesThroughALongRunOfEqualKeysBothWays)
{
    const auto nameOf = [](int i) {
        if (i % 12 < 7)
            return QStringLiteral("N5");
        return QStringLiteral("N%1%2").arg(i % 2 ? 1 : 9).arg(i, 6, 10, QLatin1Char('0'));
    };
    fill(1200, nameOf);
    // Codes in name order; rows were written in code order, so record ids follow codes.
    QVector<int> order(rows);
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return nameOf(a) < nameOf(b); });
    table.Open();
    table.SetIndexName(QStringLiteral("NAZ"));
    ASSERT_TRUE(table.FindKey({QStringLiteral("N5")}));
    for (int i = 0; i < 300; ++i)
        table.Next();
    GridModel model(&source, kColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const int start = int(order.indexOf(table.FieldByName(QStringLiteral("GRD_KOD")).AsString().toInt()));
    ASSERT_EQ(table.FieldByName(QStringLiteral("GRD_NAZ")).AsString(), QStringLiteral("N5"));

    // The window's place in the order; every row checked against it.
    const auto placeOfWindow = [&]() -> int {
        const int first = int(order.indexOf(cell(model, 0, 0).toInt()));
        EXPECT_GE(first, 0);
        EXPECT_LE(first + model.rowCount(), rows);
        for (int r = 0; r < model.rowCount() && first >= 0 && first + r < rows; ++r) {
            const int i = order[first + r];
            EXPECT_EQ(cell(model, r, 0), code(i)) << "row " << r;
            EXPECT_EQ(cell(model, r, 1), nameOf(i)) << "row " << r;
            EXPECT_EQ(cell(model, r, 2), QLocale().toString(i * 10.5, 'f', 2)) << "row " << r;
            EXPECT_EQ(cell(model, r, 3), i % 2 ? QStringLiteral("Ano") : QStringLiteral("Ne")) << "row " << r;
        }
        return first;
    };
    EXPECT_EQ(placeOfWindow(), start - GridModel::kPageRows);
    for (int sweep = 0; sweep < 2; ++sweep) {
        int fetches = 0;
        while (model.canFetchMore({})) {
            const int last = placeOfWindow() + model.rowCount() - 1;
            model.fetchMore({});
            ASSERT_LT(++fetches, rows);
            ASSERT_EQ(placeOfWindow() + model.rowCount() - 1, std::min(last + GridModel::kPageRows, rows - 1));
        }
        EXPECT_EQ(cell(model, model.rowCount() - 1, 0), code(order.last()));
        while (model.canFetchBackward()) {
            const int first = placeOfWindow();
            EXPECT_EQ(model.fetchBackward(), std::min(first, int(GridModel::kPageRows)));
            ASSERT_LT(++fetches, 2 * rows);
            ASSERT_EQ(placeOfWindow(), std::max(first - GridModel::kPageRows, 0));
        }
        EXPECT_EQ(cell(model, 0, 0), code(order.first()));
    }
}

TEST_P(GridTest, ShowsPostsAndDeletesAndEmptiesWhenClosed)
{
    fill(300);
    table.Open();
    table.SetIndexName(QStringLiteral("KOD"));
    ASSERT_TRUE(table.FindKey({code(100)}));
    GridModel model(&source, kColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    table.Edit();
    table.FieldByName(QStringLiteral("GRD_NAZ")).SetAsString(QStringLiteral("Opraveno"));
    EXPECT_EQ(cell(model, model.currentRow(), 1), QStringLiteral("Opraveno"));  // the edit buffer
    table.Post();
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(model, model.currentRow(), 1), QStringLiteral("Opraveno"));

    table.Delete();  // code 100 goes, 101 becomes current
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(model, model.currentRow(), 0), code(101));
    EXPECT_EQ(cell(model, model.currentRow() - 1, 0), code(99));

    table.Append();
    table.FieldByName(QStringLiteral("GRD_KOD")).SetAsString(QStringLiteral("000100"));
    table.Post();
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(model, model.currentRow(), 0), code(100));
    expectConsecutiveCodes(model);

    table.Close();
    QCoreApplication::processEvents();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.currentRow(), -1);
    table.Open();
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(model, model.currentRow(), 0), code(1));
}

TEST_P(GridTest, GridSelectionKeysAndScrolling)
{
    fill(1000);
    table.Open();
    table.SetIndexName(QStringLiteral("KOD"));
    ASSERT_TRUE(table.FindKey({code(500)}));
    TDBGrid grid(&source, kColumns);
    grid.resize(600, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    GridModel &model = *grid.gridModel();
    EXPECT_EQ(grid.currentIndex().row(), model.currentRow());
    EXPECT_TRUE(grid.viewport()->rect().intersects(grid.visualRect(grid.currentIndex())));

    // Keys move the table; Tab moves between columns only.
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(table.FieldByName(QStringLiteral("GRD_KOD")).AsString(), code(501));
    QTest::keyClick(&grid, Qt::Key_Tab);
    EXPECT_EQ(grid.currentIndex().column(), 1);
    EXPECT_EQ(table.FieldByName(QStringLiteral("GRD_KOD")).AsString(), code(501));

    // A click selects a record.
    const QModelIndex target = model.index(grid.rowAt(grid.viewport()->height() / 2), 0);
    ASSERT_TRUE(target.isValid());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(target).center());
    EXPECT_EQ(table.FieldByName(QStringLiteral("GRD_KOD")).AsString(), cell(model, target.row(), 0));

    // Moving the table elsewhere selects its row and shows it.
    table.Last();
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(model, grid.currentIndex().row(), 0), code(1000));
    EXPECT_TRUE(grid.viewport()->rect().intersects(grid.visualRect(grid.currentIndex())));

    // Up past the window's top reads the page before it and moves on.
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_TRUE(table.Bof());
    table.FindKey({code(700)});
    QCoreApplication::processEvents();
    for (int i = 0; i < GridModel::kPageRows + 5; ++i)
        QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(table.FieldByName(QStringLiteral("GRD_KOD")).AsString(), code(700 - GridModel::kPageRows - 5));
    EXPECT_EQ(cell(model, grid.currentIndex().row(), 0), code(700 - GridModel::kPageRows - 5));

    // Scrolling to the top of the window reads the page before it; the same record stays on top.
    grid.verticalScrollBar()->setValue(5);
    const QString topBefore = cell(model, grid.rowAt(0), 0);
    ASSERT_TRUE(model.canFetchBackward());
    grid.verticalScrollBar()->setValue(0);
    EXPECT_EQ(grid.verticalScrollBar()->value(), GridModel::kPageRows);
    EXPECT_EQ(cell(model, grid.rowAt(0), 0).toInt(), topBefore.toInt() - 5);
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(table.Eof());
}

// Where the focus goes from a grid by keys: Tab and Shift+Tab move between columns where
// the grid walks its columns, and leave it to the neighbours where it does not; Ctrl+Tab
// and Ctrl+Shift+Tab always leave it, so that every control of a window is reached by keys.
TEST_P(GridTest, TabKeysLeaveTheGrid)
{
    fill(3);
    table.Open();
    for (bool walksColumns : {true, false}) {
        QWidget window;
        auto *before = new QLineEdit(&window);
        auto *grid = new TDBGrid(&source, kColumns, &window);
        auto *after = new QLineEdit(&window);
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *w : {static_cast<QWidget *>(before), static_cast<QWidget *>(grid), static_cast<QWidget *>(after)})
            layout->addWidget(w);
        grid->setTabKeyNavigation(walksColumns);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        const auto pressOnGrid = [&](Qt::KeyboardModifiers shift) {
            grid->setFocus(Qt::OtherFocusReason);
            const int column = grid->currentIndex().column();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, shift);
            return std::pair{QApplication::focusWidget(), grid->currentIndex().column() - column};
        };
        const std::string label = walksColumns ? "walking columns" : "not walking columns";
        const auto tab = pressOnGrid(Qt::NoModifier);
        EXPECT_EQ(tab.first, walksColumns ? static_cast<QWidget *>(grid) : after) << label;
        EXPECT_EQ(tab.second, walksColumns ? 1 : 0) << label;
        EXPECT_EQ(pressOnGrid(Qt::ShiftModifier).first, walksColumns ? static_cast<QWidget *>(grid) : before) << label;
        EXPECT_EQ(pressOnGrid(Qt::ControlModifier).first, after) << label;
        EXPECT_EQ(pressOnGrid(Qt::ControlModifier | Qt::ShiftModifier).first, before) << label;
    }
}

TEST_P(GridTest, NavigatorMovesTheTableAndDisablesAtTheEnds)
{
    fill(3);
    table.Open();
    TDBNavigator nav(&source);
    EXPECT_FALSE(nav.button(TDBNavigator::nbFirst)->isEnabled());
    EXPECT_TRUE(nav.button(TDBNavigator::nbNext)->isEnabled());
    nav.button(TDBNavigator::nbLast)->click();
    EXPECT_EQ(table.FieldByName(QStringLiteral("GRD_KOD")).AsString(), code(3));
    EXPECT_FALSE(nav.button(TDBNavigator::nbNext)->isEnabled());
    EXPECT_TRUE(nav.button(TDBNavigator::nbPrior)->isEnabled());
    nav.button(TDBNavigator::nbPrior)->click();
    EXPECT_EQ(table.FieldByName(QStringLiteral("GRD_KOD")).AsString(), code(2));
    nav.button(TDBNavigator::nbFirst)->click();
    EXPECT_EQ(table.FieldByName(QStringLiteral("GRD_KOD")).AsString(), code(1));

    // A move to a remembered record (as a search or a picker makes it) says nothing of the
    // ends; the navigator follows where the record stands.
    const store::Bookmark first = table.GetBookmark();
    nav.button(TDBNavigator::nbNext)->click();
    const store::Bookmark second = table.GetBookmark();
    // True once First and Prior are enabled as `back` says, Next and Last as `forward`.
    const auto enabled = [&](bool back, bool forward) {
        return QTest::qWaitFor([&] {
            return nav.button(TDBNavigator::nbFirst)->isEnabled() == back
                && nav.button(TDBNavigator::nbPrior)->isEnabled() == back
                && nav.button(TDBNavigator::nbNext)->isEnabled() == forward
                && nav.button(TDBNavigator::nbLast)->isEnabled() == forward;
        }, 1000);
    };
    nav.button(TDBNavigator::nbLast)->click();
    table.GotoBookmark(first);
    EXPECT_TRUE(enabled(false, true));
    table.GotoBookmark(second);
    EXPECT_TRUE(enabled(true, true));
    table.Close();
    EXPECT_FALSE(nav.button(TDBNavigator::nbLast)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Engines, GridTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

// Opening on the last of many rows reads a page or two, not the table.
TEST(GridPaging, OpeningOnTheLastOfManyRowsReadsOnlyAFewPages)
{
    TestDatabase db(Backend::SQLite);
    store::Database database;
    database.Connect(db.params());
    database.CreateTable(gridTableDef(), QStringLiteral("GRDBIG"));
    const QString sql =
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                       "INSERT INTO \"GRDBIG\" (\"GRD_KOD\", \"GRD_NAZ\", \"GRD_CEN\", \"GRD_ANO\") "
                       "SELECT printf('%06d', i), 'N' || i, i, 0 FROM n");
    storetest::rawEngine(database).execute(sql, {});
    store::Table table(&gridTableDef());
    table.SetDatabase(&database);
    table.SetTableName(QStringLiteral("GRDBIG"));
    table.Open();
    table.SetIndexName(QStringLiteral("KOD"));
    table.Last();
    store::DataSource source(&table);
    TDBGrid grid(&source, kColumns);
    grid.resize(600, 400);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.gridModel()->index(grid.currentIndex().row(), 0).data().toString(), code(100000));
    EXPECT_LE(grid.gridModel()->rowsRead(), 2 * GridModel::kPageRows);
    table.First();
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.gridModel()->index(grid.currentIndex().row(), 0).data().toString(), code(1));
    EXPECT_LE(grid.gridModel()->rowsRead(), 4 * GridModel::kPageRows);
}

} // namespace
