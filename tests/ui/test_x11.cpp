// The windows as the X window system has them, on Xvfb (QT_QPA_PLATFORM=xcb): each title
// as the window's X property holds it, the grids' columns sized for their titles and
// values, the lock keys' panes following the XKB indicators, Qt's own texts in Czech, and
// screenshots of the main window, the editor, the item editor and both pickers saved in
// the test output folder (PODKLADY_TEST_OUTPUT). Everything is driven by keys over a
// real SQLite firm, as the program starts it (PrepareApplication).

#include "firm_tables.h"
#include "recordingprompter.h"

#include "app/program.h"
#include "dbgrid.h"
#include "doklad_podklady_form.h"
#include "dodavky_form.h"
#include "podklady_pol_edit_form.h"
#include "podklady_pol_edit.h"
#include "prehled_sortimentu_form.h"
#include "prehled_zakazniku_form.h"
#include "screens_widgets.h"
#include "store/firmschema.h"
#include "store/tables/index_names.h"
#include "store/tdata.h"

#include <QApplication>
#include <QDir>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <optional>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/keysym.h>

namespace ix = store::tables::index;

namespace {

Display *display()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// The title of a top-level window as the window system has it: its _NET_WM_NAME property.
QString windowSystemTitle(QWidget *window)
{
    Display *d = display();
    if (!d)
        return QStringLiteral("(no X display)");
    XSync(d, False);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *value = nullptr;
    const Atom name = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    QString title;
    if (XGetWindowProperty(d, Window(window->winId()), name, 0, 1024, False, utf8, &type, &format, &items, &after,
                           &value)
            == Success
        && value) {
        title = QString::fromUtf8(reinterpret_cast<const char *>(value), int(items));
    }
    if (value)
        XFree(value);
    return title;
}

// Locks or unlocks the modifier of a lock key, as pressing the key does.
void setLock(KeySym key, bool on)
{
    Display *d = display();
    const unsigned mask = XkbKeysymToModifiers(d, key);
    XkbLockModifiers(d, XkbUseCoreKbd, mask, on ? mask : 0);
    XSync(d, False);
}

void press(Qt::Key key, Qt::KeyboardModifiers shift = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the focus");
    QTest::keyClick(target, key, shift);
}

// Without a window manager nothing gives a new window the keyboard: the test does, as a
// window manager would.
bool activate(QWidget *window)
{
    if (!window->isActiveWindow())
        window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

template <typename Window>
Window *waitForActive()
{
    Window *window = nullptr;
    const bool active = QTest::qWaitFor([&] {
        window = qobject_cast<Window *>(QApplication::activeModalWidget());
        return window && window->isVisible() && activate(window);
    });
    return active ? window : nullptr;
}

QString outputDir()
{
    const QString dir = qEnvironmentVariable("PODKLADY_TEST_OUTPUT", QDir::tempPath());
    QDir().mkpath(dir);
    return dir;
}

void screenshot(QWidget *window, const char *name)
{
    const QString path = QDir(outputDir()).filePath(QLatin1String(name));
    QVERIFY2(window->grab().save(path), qPrintable(path));
}

// Every column of the grid at least as wide as its title wants, and every value it shows
// fully readable in its cell.
void columnsFit(const TDBGrid *grid)
{
    const QHeaderView *header = grid->horizontalHeader();
    const QFontMetrics metrics(grid->font());
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
        QVERIFY2(header->sectionSize(c) >= header->sectionSizeHint(c), qPrintable(title));
        for (int r = 0; r < grid->model()->rowCount(); ++r) {
            const QString value = grid->model()->index(r, c).data().toString();
            QVERIFY2(metrics.horizontalAdvance(value) + 4 <= header->sectionSize(c),
                     qPrintable(title + QStringLiteral(": ") + value));
        }
    }
}

// The current row lies whole inside the grid's viewport.
bool currentRowWhole(const TDBGrid *grid)
{
    const QRect row = grid->visualRect(grid->currentIndex());
    return row.isValid() && grid->viewport()->rect().contains(row);
}

const char *const kSuppliers[][2] = {
    {"000001", "Železářství Novák a syn s.r.o."},
    {"000002", "Barvy laky Dvořák"},
    {"000003", "Stavebniny Horní Počernice"},
};

} // namespace

class X11Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(display(), "needs an X display (run under xvfb-run with QT_QPA_PLATFORM=xcb)");
        PrepareApplication();
        QVERIFY(dir.isValid());
        data.FirmNumber = QStringLiteral("0001");
        data.LocalAddress = QStringLiteral("10.0.0.1");
        data.SetTableNames();
        store::ConnectionParams params;
        params.sqliteFile = dir.filePath(QStringLiteral("0001.sqlite"));
        store::Database::CreateSQLiteFile(params.sqliteFile);
        data.Database.Connect(params);
        CreateFirmSchema(data.Database, data.FirmNumber, false);
        AppendRow(data.ffCiselnik, {{data.ffCiselnikCIS_POD, "40"}});
        for (const auto &s : kSuppliers)
            AppendRow(data.ffDodavatele, {{data.ffDodavateleDOD_KOD, s[0]},
                                          {data.ffDodavateleDOD_FIR, QString::fromUtf8(s[1])},
                                          {data.ffDodavateleDOD_ICO, "12345678"},
                                          {data.ffDodavateleDOD_ULI, "Dlouhá 12"},
                                          {data.ffDodavateleDOD_MES, "Brno"},
                                          {data.ffDodavateleDOD_PSC, "60200"}});
        const char *const cards[][2] = {{"000010", "Šroub metrický M6x30 pozink."},
                                        {"000011", "Matice šestihranná M6"},
                                        {"000012", "Hmoždinka nylonová 8 mm"}};
        for (const auto &c : cards)
            AppendRow(data.ffSortiment, {{data.ffSortimentSOR_KAV, c[0]},
                                         {data.ffSortimentSOR_NAC, QString::fromUtf8(c[1])},
                                         {data.ffSortimentSOR_PC1, 12.5}, {data.ffSortimentSOR_DAN, 21.0},
                                         {data.ffSortimentSOR_SKL, true}});
        for (int n = 1; n <= 40; ++n) {
            const auto &s = kSuppliers[n % 3];
            AppendRow(data.ffPodklHlav, {{data.ffPodklHlavHLA_DO1, QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'))},
                                         {data.ffPodklHlavHLA_ODB, s[0]},
                                         {data.ffPodklHlavHLA_NAC, QString::fromUtf8(s[1])},
                                         {data.ffPodklHlavHLA_DAT, QDate(2024, 3, 1).addDays(n)},
                                         {data.ffPodklHlavHLA_DDO, QDate(2024, 3, 1).addDays(n)},
                                         {data.ffPodklHlavHLA_MEN, "EUR"}, {data.ffPodklHlavHLA_KUR, 25.125},
                                         {data.ffPodklHlavHLA_EUR, 123.5 * n}, {data.ffPodklHlavHLA_NCA, 3101.75 * n},
                                         {data.ffPodklHlavHLA_FAC, 123.5 * n},
                                         {data.ffPodklHlavHLA_DO2, "FA-2024-17"}});
        }
        for (int i = 0; i < 3; ++i)
            AppendRow(data.ffPodklPol, {{data.ffPodklPolPOP_DOK, "0000000040"},
                                        {data.ffPodklPolPOP_KAV, cards[i][0]},
                                        {data.ffPodklPolPOP_NAC, QString::fromUtf8(cards[i][1])},
                                        {data.ffPodklPolPOP_CKU, 24.0},
                                        {data.ffPodklPolPOP_CNC, 2.5}, {data.ffPodklPolPOP_PRI, 10.0},
                                        {data.ffPodklPolPOP_BAL, 6.0}, {data.ffPodklPolPOP_KUS, 4.0},
                                        {data.ffPodklPolPOP_NCS, 414.5625}});
        data.ffPodklHlav.Close();
        data.ffPodklPol.Close();
    }

    void init()
    {
        prompts.emplace();
        windows.emplace();
        mainWindow.emplace();
        mainWindow->show();
        QVERIFY(activate(&*mainWindow));
    }

    void cleanup()
    {
        mainWindow.reset();
        windows.reset();
        prompts.reset();
    }

    // Each window as the program shows it: its title as the window system has it, its
    // grid's columns, and a screenshot. The main window at its size of 587 × 361 opens on
    // its last document, whose row is whole in sight.
    void titlesColumnsAndScreenshots()
    {
        QCOMPARE(windowSystemTitle(&*mainWindow), QStringLiteral("Přehled podkladů příjmů od dodavatelů 1.30"));
        QCOMPARE(mainWindow->size(), QSize(587, 361));
        TDBGrid *list = mainWindow->grid();
        QTRY_VERIFY(currentRowWhole(list));
        QCOMPARE(list->model()->index(list->currentIndex().row(), 1).data().toString(), QStringLiteral("0000000040"));
        columnsFit(list);
        screenshot(&*mainWindow, "main_window.png");

        // The editor and the item editor on the last document and its first item, as a
        // correction shows them.
        store::Table &header = data.ffPodklHlav;
        store::Table &items = data.ffPodklPol;
        header.Edit();
        items.Open();
        items.SetIndexName(ix::ffPodklPol::DO1);
        items.SetRange({QStringLiteral("0000000040")}, {QStringLiteral("0000000040")});
        items.First();
        {
            TDokladPodklady commands;
            commands.ActiveControl = TDokladPodklady::DBGrid1;
            commands.DodavatelValid(data.ffPodklHlavHLA_ODB.AsString());
            DokladPodkladyDialog editor(commands, &*mainWindow);
            editor.show();
            QVERIFY(activate(&editor));
            QCOMPARE(windowSystemTitle(&editor), QStringLiteral("Doklad podkladů příjemky dodavate"));
            auto *grid = static_cast<TDBGrid *>(editor.control(TDokladPodklady::DBGrid1));
            QTRY_COMPARE(grid->model()->rowCount(), 3);
            columnsFit(grid);
            screenshot(&editor, "editor.png");

            items.Edit();
            TPodkladyPolEdit itemCommands;
            itemCommands.ActiveControl = TPodkladyPolEdit::DBEditTovel2;
            PodkladyPolEditDialog item(itemCommands, &editor);
            item.show();
            QVERIFY(activate(&item));
            QCOMPARE(windowSystemTitle(&item), QStringLiteral("Podklady editace"));
            screenshot(&item, "item_editor.png");
            item.close();
            items.Cancel();
            editor.close();
        }
        items.Close();
        header.Cancel();

        // Both pickers, in name order.
        data.ffSortiment.Open();
        data.ffSortiment.SetIndexName(ix::ffSortiment::NAC);
        data.ffSortiment.First();
        {
            TPrehledSortimentu commands;
            TPrehledSortimentuForm picker(commands, &*mainWindow);
            picker.show();
            QVERIFY(activate(&picker));
            QCOMPARE(windowSystemTitle(&picker), QStringLiteral("Přehled položek sortimentu"));
            columnsFit(picker.grid());
            screenshot(&picker, "assortment_picker.png");
            press(Qt::Key_Escape);
        }
        data.ffSortiment.Close();
        data.ffDodavatele.Open();
        data.ffDodavatele.SetIndexName(ix::ffDodavatele::NAC);
        data.ffDodavatele.First();
        {
            TPrehledZakazniku commands;
            TPrehledZakaznikuForm picker(commands, &*mainWindow);
            picker.show();
            QVERIFY(activate(&picker));
            QCOMPARE(windowSystemTitle(&picker), QStringLiteral("Přehled dodavatelů"));
            columnsFit(picker.grid());
            screenshot(&picker, "supplier_picker.png");
            press(Qt::Key_Escape);
        }
        data.ffDodavatele.Close();
        QCOMPARE(prompts->messages, QStringList());
    }

    // The panes of Caps Lock and Num Lock show the keyboard's indicators as they change.
    void lockKeyPanes()
    {
        QLabel *caps = mainWindow->lockPane(0);
        QLabel *num = mainWindow->lockPane(1);
        for (const bool on : {true, false}) {
            setLock(XK_Caps_Lock, on);
            QTRY_COMPARE(caps->text(), on ? QStringLiteral("CAPS") : QString());
            setLock(XK_Num_Lock, on);
            QTRY_COMPARE(num->text(), on ? QStringLiteral("NUM") : QString());
        }
    }

    // Qt's own texts are in Czech: a standard button reads "Zrušit".
    void qtTextsInCzech()
    {
        QDialogButtonBox standard(QDialogButtonBox::Cancel);
        QCOMPARE(standard.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Zrušit"));
    }

private:
    QTemporaryDir dir;
    TData data;
    std::optional<RecordingPrompter> prompts;
    std::optional<WidgetScreens> windows;
    std::optional<DodavkyWindow> mainWindow;
};

QTEST_MAIN(X11Test)
#include "test_x11.moc"
