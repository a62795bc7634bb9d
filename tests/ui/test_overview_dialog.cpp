// The period dialog of the deliveries overview, driven by real keys on the offscreen
// platform: Enter to the check box and on to "Storno", Space on the check box and the
// buttons, Escape, and the choices left in its commands.

#include "ses_preh_dod_od_do_form.h"
#include "zandordateedit.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QWidget *focus() { return QApplication::focusWidget(); }

void press(int key)
{
    ASSERT_TRUE(focus()) << "nothing has the focus";
    QTest::keyClick(focus(), Qt::Key(key));
}

class OverviewDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        commands.ZandorDateEdit1Date = QDate(2024, 3, 1);
        commands.ZandorDateEdit2Date = QDate(2024, 3, 31);
        commands.ExcelExport = &excel;
        dialog = std::make_unique<SesPrehDodOdDoForm>(commands);
        dialog->open();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    bool focused(TSesPrehDodOdDo::Control c) const { return focus() == dialog->control(c); }

    TSesPrehDodOdDo commands;
    bool excel = false;
    std::unique_ptr<SesPrehDodOdDoForm> dialog;
};

TEST_F(OverviewDialogTest, ShowsItsTitleDatesAndChoices)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Sestava přehledu dokladů"));
    EXPECT_TRUE(focused(TSesPrehDodOdDo::ZandorDateEdit1));
    auto *from = static_cast<TZandorDateEdit *>(dialog->control(TSesPrehDodOdDo::ZandorDateEdit1));
    EXPECT_EQ(from->Date(), QDate(2024, 3, 1));
    EXPECT_TRUE(dialog->choice(0)->isChecked());
    EXPECT_EQ(dialog->choice(0)->text(), QStringLiteral("Setřízeno dle císla dokladu"));
    EXPECT_EQ(dialog->choice(1)->text(), QStringLiteral("Setřízeno dle dodavatele"));
    auto *box = static_cast<QCheckBox *>(dialog->control(TSesPrehDodOdDo::CheckBox1));
    EXPECT_EQ(box->text(), QStringLiteral("Export data do souboru XLS ( MS Excel )"));
    EXPECT_FALSE(box->isChecked());
}

TEST_F(OverviewDialogTest, EnterGoesToTheCheckBoxThenToStornoAndStartTakesTheChoices)
{
    // Tab from the first date to the second and on to the order, where Down chooses the
    // supplier order.
    press(Qt::Key_Tab);
    EXPECT_TRUE(focused(TSesPrehDodOdDo::ZandorDateEdit2));
    press(Qt::Key_Tab);
    EXPECT_TRUE(focused(TSesPrehDodOdDo::Trizeni));
    press(Qt::Key_Down);
    EXPECT_TRUE(dialog->choice(1)->isChecked());
    // Enter from anywhere but the check box goes to the check box; Space ticks it.
    press(Qt::Key_Return);
    EXPECT_TRUE(focused(TSesPrehDodOdDo::CheckBox1));
    press(Qt::Key_Space);
    EXPECT_TRUE(commands.CheckBox1Checked);
    EXPECT_FALSE(excel);   // copied only by "Start"
    press(Qt::Key_Return);
    EXPECT_TRUE(focused(TSesPrehDodOdDo::Button2));
    EXPECT_TRUE(dialog->isVisible());   // Enter on "Storno" does not press it
    press(Qt::Key_Return);
    EXPECT_TRUE(focused(TSesPrehDodOdDo::CheckBox1));
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    ASSERT_TRUE(focused(TSesPrehDodOdDo::Button1));
    press(Qt::Key_Space);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), mrOk);
    EXPECT_EQ(commands.ModalResult, mrOk);
    EXPECT_TRUE(excel);
    EXPECT_EQ(commands.TrizeniItemIndex, 1);
    EXPECT_EQ(commands.ZandorDateEdit1Date, QDate(2024, 3, 1));
    EXPECT_EQ(commands.ZandorDateEdit2Date, QDate(2024, 3, 31));
}

TEST_F(OverviewDialogTest, EscapeAndStornoCancelWithoutTakingTheCheckBox)
{
    press(Qt::Key_Return);
    press(Qt::Key_Space);
    press(Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), mrCancel);
    EXPECT_FALSE(excel);

    dialog = std::make_unique<SesPrehDodOdDoForm>(commands);
    dialog->open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    EXPECT_TRUE(static_cast<QCheckBox *>(dialog->control(TSesPrehDodOdDo::CheckBox1))->isChecked());
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    ASSERT_TRUE(focused(TSesPrehDodOdDo::Button2));
    press(Qt::Key_Space);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), mrCancel);
    EXPECT_FALSE(excel);
}

} // namespace
