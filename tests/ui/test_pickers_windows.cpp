// The windows of the search dialogs, the assortment picker, the supplier list and the
// supplier form, driven by real keys on the offscreen platform over a firm on SQLite.

#include "test_pickers_support.h"

#include "dbgrid.h"
#include "dbnavigator.h"
#include "prehled_sortimentu_form.h"
#include "prehled_zakazniku_form.h"
#include "recordingprompter.h"
#include "screens_widgets.h"
#include "search_dialogs_form.h"
#include "sorvalid.h"
#include "zakaznici_edit_form.h"
#include "store/tables/index_names.h"

#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace ix = store::tables::index;

namespace {

using pickers::Backend;
using pickers::FirmTest;

QWidget *focus() { return QApplication::focusWidget(); }

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    ASSERT_TRUE(focus()) << "nothing has the focus";
    QTest::keyClick(focus(), Qt::Key(key), modifiers);
}

// Types text into the focused control with key events that carry each character.
void type(const QString &text)
{
    for (QChar c : text) {
        QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(focus(), &event);
    }
}

// The modal window of that type once it is active; nullptr when none comes.
template <typename Window>
Window *activeModal()
{
    Window *window = nullptr;
    const bool active = QTest::qWaitFor([&] {
        window = qobject_cast<Window *>(QApplication::activeModalWidget());
        return window && window->isActiveWindow();
    });
    return active ? window : nullptr;
}

QStringList titles(const TDBGrid *grid)
{
    QStringList t;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        t << grid->model()->headerData(c, Qt::Horizontal).toString();
    return t;
}

QString cell(const TDBGrid *grid, int row, int column)
{
    return grid->model()->index(row, column).data().toString();
}

class WindowsTest : public FirmTest {
protected:
    void SetUp() override
    {
        FirmTest::SetUp();
        addCard(QStringLiteral("000001"), QStringLiteral("Vrtačka"), 1200);
        addCard(QStringLiteral("000002"), QStringLiteral("Brusivo"), 15.5);
        addCard(QStringLiteral("000003"), QStringLiteral("Kladivo"), 250);
        addCard(QStringLiteral("000004"), QStringLiteral("Metr"), 49.9);
        sor().SetIndexName(ix::ffSortiment::KAV);
        sor().First();
    }

    store::Table &sor() { return data->ffSortiment; }
    QString card() { return data->ffSortimentSOR_KAV.AsString(); }

    RecordingPrompter prompter;
};

TEST_P(WindowsTest, SearchDialogByKeys)
{
    QWidget owner;
    owner.setGeometry(100, 100, 800, 600);
    owner.show();
    TSorHle commands;
    SearchDialogForm form(commands, &owner);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Hledej položku databáze"));
    EXPECT_LE((form.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 4);
    QWidget *field = form.control(SearchDialog::VEdit1);
    QWidget *hledej = form.control(SearchDialog::BitBtn1);
    EXPECT_EQ(focus(), form.control(0));
    EXPECT_FALSE(hledej->isEnabled());

    // Enter on a radio button goes to the field; Enter in the untouched field to "Storno".
    press(Qt::Key_Return);
    EXPECT_EQ(focus(), field);
    press(Qt::Key_Return);
    EXPECT_EQ(focus(), form.control(SearchDialog::BitBtn2));

    // The sale price: the field takes only a number, a full stop becomes the decimal comma.
    static_cast<QRadioButton *>(form.control(5))->click();
    EXPECT_TRUE(commands.FloatField());
    field->setFocus();
    type(QStringLiteral("x49.5"));
    EXPECT_EQ(static_cast<QLineEdit *>(field)->text(), QStringLiteral("49,5"));
    EXPECT_TRUE(hledej->isEnabled());
    press(Qt::Key_Return);
    EXPECT_EQ(focus(), hledej);
    press(Qt::Key_Return);
    EXPECT_EQ(form.result(), int(mrOk));
    EXPECT_EQ(sor().IndexName(), ix::ffSortiment::PC1);
    EXPECT_EQ(card(), QStringLiteral("000004"));  // 49,9 is the first price from 49,5 up

    // Shown again: empty, name option, "&Hledej" disabled; Escape leaves the table alone.
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_TRUE(static_cast<QLineEdit *>(field)->text().isEmpty());
    EXPECT_TRUE(static_cast<QRadioButton *>(form.control(0))->isChecked());
    EXPECT_FALSE(commands.FloatField());
    EXPECT_FALSE(hledej->isEnabled());
    press(Qt::Key_Escape);
    EXPECT_EQ(form.result(), int(mrCancel));
    EXPECT_EQ(card(), QStringLiteral("000004"));
}

TEST_P(WindowsTest, AssortmentPickerOpensAtTheRememberedCardAndSearches)
{
    ASSERT_TRUE(sor().FindKey({QStringLiteral("000002")}));
    ASSERT_TRUE(data->SetLastSor());  // taken by its number: remembered in number order
    sor().SetIndexName(ix::ffSortiment::NAC);
    sor().First();

    TPrehledSortimentu commands;
    TPrehledSortimentuForm form(commands);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    TDBGrid *grid = form.grid();
    EXPECT_EQ(titles(grid), QStringList({"Karta", "Název", "PC zákl", "Zásoba", "Volne", "Sazba DPH", "Skl.pol.",
                                         "Vyřazeno", "Skupina"}));
    EXPECT_EQ(focus(), grid);
    EXPECT_EQ(sor().IndexName(), ix::ffSortiment::KAV);
    EXPECT_EQ(cell(grid, grid->currentIndex().row(), 0), QStringLiteral("000002"));
    EXPECT_EQ(cell(grid, grid->currentIndex().row() + 1, 0), QStringLiteral("000003"));  // number order
    // The navigator follows the position: a card lies above the remembered one.
    const auto navigatorIs = [&](bool atFirst, bool atLast) {
        return QTest::qWaitFor([&] {
            const TDBNavigator *n = form.navigator();
            return n->button(TDBNavigator::nbFirst)->isEnabled() == !atFirst
                && n->button(TDBNavigator::nbPrior)->isEnabled() == !atFirst
                && n->button(TDBNavigator::nbNext)->isEnabled() == !atLast
                && n->button(TDBNavigator::nbLast)->isEnabled() == !atLast;
        }, 1000);
    };
    EXPECT_TRUE(navigatorIs(false, false));
    press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_TRUE(navigatorIs(true, false));
    press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(navigatorIs(false, true));
    press(Qt::Key_Up);
    EXPECT_TRUE(navigatorIs(false, false));
    ASSERT_TRUE(sor().FindKey({QStringLiteral("000002")}));

    // F5: a name search; the list then shows name order at the card found.
    QTimer::singleShot(0, [&] {
        auto *search = activeModal<SearchDialogForm>();
        ASSERT_TRUE(search);
        press(Qt::Key_Return);
        type(QStringLiteral("kla"));
        press(Qt::Key_Return);
        press(Qt::Key_Return);
    });
    press(Qt::Key_F5);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(focus(), grid);
    EXPECT_EQ(sor().IndexName(), ix::ffSortiment::NAC);
    const int row = grid->currentIndex().row();
    EXPECT_EQ(cell(grid, row, 1), QStringLiteral("Kladivo"));
    EXPECT_EQ(cell(grid, row + 1, 1), QStringLiteral("Metr"));
    EXPECT_EQ(cell(grid, row, 2), QStringLiteral("250,00"));
    EXPECT_TRUE(navigatorIs(false, false));   // in name order: Brusivo above, Metr below

    press(Qt::Key_Down);
    EXPECT_EQ(card(), QStringLiteral("000004"));
    press(Qt::Key_Return);
    EXPECT_EQ(form.result(), int(mrOk));
    EXPECT_EQ(card(), QStringLiteral("000004"));
    EXPECT_EQ(data->LastSorCode, QStringLiteral("000004"));
    EXPECT_EQ(data->LastSorIndex, ix::ffSortiment::NAC);
}

TEST_P(WindowsTest, SupplierListCreatesASupplierThroughTheFormAndRemembersItsHeight)
{
    addSupplier(QStringLiteral("000001"), QStringLiteral("Barvy Laky"));
    store::Table &dod = data->ffDodavatele;
    dod.SetIndexName(ix::ffDodavatele::KOD);
    dod.First();

    {
        TPrehledZakazniku commands;
        TPrehledZakaznikuForm list(commands);
        EXPECT_EQ(list.height(), 361);
        EXPECT_EQ(titles(list.grid()),
                  QStringList({"IČO", "DIČ", "Název firmy", "Kontaktní jméno", "Telefon", "Název oddělení", "Ulice",
                               "Město", "Psč", "Stát", "Fax", "E Mail", "Mobilní telefon", "Skup.", "Uni.kód",
                               "Prod."}));
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
        EXPECT_EQ(focus(), list.grid());

        QTimer::singleShot(0, [&] {
            auto *form = activeModal<TZakazniciEditForm>();
            ASSERT_TRUE(form);
            EXPECT_EQ(form->pages()->currentIndex(), 0);
            EXPECT_EQ(focus(), form->control(TZakazniciEdit::DBEditTovel1));
            // The first page's labels from top to bottom: "Adresa" heads the address block.
            auto *grid = qobject_cast<QGridLayout *>(form->pages()->widget(0)->layout());
            ASSERT_TRUE(grid);
            QStringList labels;
            for (int row = 0; row < grid->rowCount(); ++row)
                if (QLayoutItem *item = grid->itemAtPosition(row, 0))
                    if (auto *label = qobject_cast<QLabel *>(item->widget()))
                        labels << label->text();
            EXPECT_EQ(labels, QStringList({QStringLiteral("IČO dodavatele"), QStringLiteral("DIČ dodavatele"),
                                           QStringLiteral("Adresa"), QStringLiteral("Název 1ř."),
                                           QStringLiteral("Název 2ř."), QStringLiteral("Ulice"),
                                           QStringLiteral("Město"), QStringLiteral("PSČ - Stát")}));
            type(QStringLiteral("1234567890"));   // typing stops at the eight digits of DOD_ICO
            EXPECT_EQ(static_cast<QLineEdit *>(focus())->text(), QStringLiteral("12345678"));
            for (int i = 0; i < 2; ++i)
                press(Qt::Key_Return);
            type(QStringLiteral("Nářadí Říha"));
            for (int i = 0; i < 4; ++i)
                press(Qt::Key_Return);
            EXPECT_EQ(focus(), form->control(TZakazniciEdit::DBEditTovel8));
            press(Qt::Key_Return);
            EXPECT_EQ(focus(), form->control(TZakazniciEdit::DBEditTovel7));
            type(QStringLiteral("Česko"));
            press(Qt::Key_Return);  // on to the second page
            EXPECT_EQ(form->pages()->currentIndex(), 1);
            EXPECT_EQ(focus(), form->control(TZakazniciEdit::DBEditTovel9));
            for (int i = 0; i < 6; ++i)
                press(Qt::Key_Return);
            EXPECT_EQ(focus(), form->control(TZakazniciEdit::Button2));  // "Storno" first
            press(Qt::Key_Tab);
            EXPECT_EQ(focus(), form->control(TZakazniciEdit::Button1));
            press(Qt::Key_Return);  // "Zapiš", which has the focus
        });
        press(Qt::Key_F2);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
        EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(u'|').toStdString();
        EXPECT_EQ(data->ffDodavateleDOD_KOD.AsString(), QStringLiteral("000043"));
        EXPECT_EQ(data->ffDodavateleDOD_FIR.AsString(), QStringLiteral("Nářadí Říha"));
        EXPECT_EQ(data->ffDodavateleDOD_ICO.AsString(), QStringLiteral("12345678"));
        EXPECT_EQ(data->ffDodavateleDOD_STA.AsString(), QStringLiteral("Česko"));
        TDBGrid *grid = list.grid();
        EXPECT_EQ(cell(grid, grid->currentIndex().row(), 14), QStringLiteral("000043"));
        EXPECT_EQ(focus(), grid);

        list.resize(list.width(), 500);
        press(Qt::Key_Return);  // chooses the new supplier
        EXPECT_EQ(list.result(), int(mrOk));
    }
    TPrehledZakazniku commands;
    TPrehledZakaznikuForm list(commands);
    EXPECT_EQ(list.height(), 500);
}

// A remembered height the window cannot take is brought into range when the list opens;
// the height written back when it closes is the one the window was shown with.
TEST_P(WindowsTest, AnOutOfRangeHeightIsWrittenBackAsUsed)
{
    for (const char *remembered : {"99999", "-40", "0", "3"}) {
        SCOPED_TRACE(remembered);
        {
            QFile ini(data->ExePath + QStringLiteral("Kramora.ini"));
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ini.write(QByteArray("[Kramora]\r\nVstHeight=") + remembered + "\r\n");
        }
        int used = 0;
        {
            TPrehledZakazniku commands;
            TPrehledZakaznikuForm list(commands);
            list.show();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
            used = list.height();
            EXPECT_GT(used, 0);
            press(Qt::Key_Escape);
        }
        EXPECT_EQ(GetIniWinHigh(*data, TPrehledZakazniku::HeightKind), used);
    }
}

// The program's windows open the real pickers and the document search.
TEST_P(WindowsTest, TheProgramOpensThePickersAndTheDocumentSearch)
{
    WidgetScreens windows;
    QWidget main;
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));

    // A card typed in part: the look-up opens the picker, the user chooses with keys.
    QTimer::singleShot(0, [&] {
        auto *picker = activeModal<TPrehledSortimentuForm>();
        ASSERT_TRUE(picker);
        EXPECT_EQ(picker->pos(), QPoint(data->MainLeft + 50, data->MainTop + 102));
        press(Qt::Key_Home, Qt::ControlModifier);  // Brusivo, first in name order
        press(Qt::Key_Down);
        press(Qt::Key_Return);
    });
    EXPECT_TRUE(SorValid(*data, QStringLiteral("kl")));
    EXPECT_EQ(card(), QStringLiteral("000003"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&main));

    // The supplier list, cancelled.
    addSupplier(QStringLiteral("000001"), QStringLiteral("Barvy Laky"));
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(activeModal<TPrehledZakaznikuForm>());
        press(Qt::Key_Escape);
    });
    EXPECT_EQ(PickerScreens::current().ShowPrehledZakazniku(QPoint(10, 90)), int(mrCancel));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&main));

    // The document search over the header list.
    store::Table &hla = data->ffPodklHlav;
    hla.Open();
    for (const char *number : {"0000000001", "0000000002"})
        AppendRow(hla, {{data->ffPodklHlavHLA_DO1, number}});
    hla.SetIndexName(ix::ffPodklHlav::DO1);
    hla.Last();
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(activeModal<SearchDialogForm>());
        press(Qt::Key_Return);
        type(QStringLiteral("0000000001"));
        press(Qt::Key_Return);
        press(Qt::Key_Return);
    });
    EXPECT_EQ(PickerScreens::current().ShowPodkladyHle(), int(mrOk));
    EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000001"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&main));
}

INSTANTIATE_TEST_SUITE_P(Engines, WindowsTest, testing::Values(Backend::SQLite), storetest::engineName);

} // namespace
