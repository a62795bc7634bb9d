// The main window's commands on a real database of each engine: the list opened on the
// last document and its recovery, the keys, and the new-document and correction
// commands with the document lock.

#include "test_doklad_support.h"
#include "store/tables/index_names.h"

namespace ix = store::tables::index;

using namespace doklad;
using storetest::Backend;

namespace {

class DodavkyTest : public WindowsTest {};

TEST_P(DodavkyTest, TheListOpensOnTheDocumentWithTheHighestNumber)
{
    addDocument(QStringLiteral("0000000005"), QStringLiteral("000001"), {});
    addDocument(QStringLiteral("0000000012"), QStringLiteral("000001"), {});
    addDocument(QStringLiteral("0000000009"), QStringLiteral("000001"), {});
    mainWindow();
    EXPECT_TRUE(headers().Active());
    EXPECT_EQ(headers().IndexName(), ix::ffPodklHlav::DO1);
    EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000012"));

    mainWindow().FormActivate(240, 130);
    EXPECT_EQ(data->MainLeft, 240);
    EXPECT_EQ(data->MainTop, 130);

    mainWindow().FormClose();
    EXPECT_FALSE(headers().Active());
}

TEST_P(DodavkyTest, WithoutTheHeaderTableThePriceModeComesFromThePriceLists)
{
    data->Database.DropTable(headers().TableName());
    for (const bool withVat : {true, false}) {
        {
            auto lists = peek(store::tables::ceniky());
            if (!lists->IsEmpty())
                lists->Delete();
            lists->Append();
            lists[data->ffCenikyCEN_KOD].SetAsString(QStringLiteral("A"));
            lists[data->ffCenikyCEN_DPH].SetAsBoolean(withVat);
            lists->Post();
        }
        data->PriceMode = 0;
        TDodavky window;
        EXPECT_NO_THROW(window.FormCreate());
        EXPECT_EQ(data->PriceMode, withVat ? 2 : 1);
        EXPECT_FALSE(headers().Active());   // the list stays empty
        EXPECT_FALSE(data->ffCeniky.Active());
    }
    data->Database.DropTable(data->ffCeniky.TableName());
    TDodavky window;
    EXPECT_THROW(window.FormCreate(), StoreError);   // for the general error display
}

// Which keys run which command; a script per window shows what was opened.
TEST_P(DodavkyTest, KeysOfTheList)
{
    addDocument(QStringLiteral("0000000001"), QStringLiteral("000001"), {});
    screens.doklad = [](TDokladPodklady &e) {
        e.Button4Click();
        return e.ModalResult;
    };
    screens.hledani = [] { return mrCancel; };
    screens.ulozit = [](const QStringList &) { return QString(); };
    screens.nahled = [](const TSestavy &) {};
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers shift;
        bool handled;
        const char *opens;
    };
    const Case cases[] = {
        {Qt::Key_F2, Qt::NoModifier, true, "doklad"},
        {Qt::Key_F2, Qt::ShiftModifier | Qt::ControlModifier, true, "doklad"},
        {Qt::Key_F2, Qt::AltModifier, true, "doklad"},
        {Qt::Key_F4, Qt::NoModifier, true, "doklad"},
        {Qt::Key_F4, Qt::ControlModifier, true, "doklad"},
        {Qt::Key_F4, Qt::ShiftModifier, true, "doklad"},
        {Qt::Key_F4, Qt::AltModifier, false, ""},   // closes the window instead
        {Qt::Key_F5, Qt::NoModifier, true, "hledani"},
        {Qt::Key_F8, Qt::NoModifier, true, "nahled"},
        {Qt::Key_F8, Qt::ShiftModifier, true, "nahled"},
        {Qt::Key_F9, Qt::NoModifier, true, "ulozit"},
        {Qt::Key_F3, Qt::NoModifier, false, ""},
    };
    for (const Case &c : cases) {
        screens.opened.clear();
        QVector<int> focus;
        const auto connection = QObject::connect(&mainWindow(), &FormCommands::focusRequested,
                                                 [&](int control) { focus << control; });
        const std::string label = "key " + std::to_string(c.key) + " shift " + std::to_string(c.shift.toInt());
        EXPECT_EQ(mainWindow().FormKeyDown(c.key, c.shift), c.handled) << label;
        EXPECT_EQ(screens.windows().join(','), QLatin1String(c.opens)) << label;
        if (*c.opens) {
            EXPECT_EQ(focus, QVector<int>{TDodavky::DBGrid1}) << label;
        }
        QObject::disconnect(connection);
    }
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(ownLocks(), 0);
}

// While an import runs (started from a window over this one) no command of the list
// starts, by key, button or menu entry, and the window does not close; afterwards they
// work again.
TEST_P(DodavkyTest, NoCommandStartsWhileAnImportRuns)
{
    addDocument(QStringLiteral("0000000001"), QStringLiteral("000001"), {});
    mainWindow();
    int closes = 0;
    QObject::connect(&mainWindow(), &FormCommands::closeRequested, [&] { ++closes; });
    data->ImportRunning = true;
    for (Qt::Key key : {Qt::Key_F2, Qt::Key_F4, Qt::Key_F5, Qt::Key_F8, Qt::Key_F9})
        EXPECT_TRUE(mainWindow().FormKeyDown(key, Qt::NoModifier)) << key;   // taken, without a command
    EXPECT_TRUE(mainWindow().FormKeyDown(Qt::Key_F8, Qt::ShiftModifier));
    using Command = void (TDodavky::*)();
    for (Command command : {&TDodavky::Button1Click, &TDodavky::Button2Click, &TDodavky::Button3Click,
                            &TDodavky::Button4Click, &TDodavky::Button5Click, &TDodavky::Novdoklad1Click,
                            &TDodavky::OpravaDokladu1Click, &TDodavky::Sestavy1Click,
                            &TDodavky::Sestavadodvek1Click, &TDodavky::NactiFakturuIsdocClick,
                            &TDodavky::Konec3Click})
        (mainWindow().*command)();
    // A supplier's e-invoice dropped on the window is not read either.
    mainWindow().OpenIsdoc(QStringLiteral("/nonexistent/faktura.isdoc"));
    EXPECT_FALSE(mainWindow().FormCloseQuery());
    EXPECT_EQ(screens.windows(), QStringList());
    EXPECT_EQ(closes, 0);
    EXPECT_EQ(ownLocks(), 0);
    EXPECT_EQ(headers().State(), store::DataSetState::Browse);
    EXPECT_EQ(rowCount(store::tables::podklHlav()), 1);

    data->ImportRunning = false;
    screens.hledani = [] { return mrCancel; };
    EXPECT_TRUE(mainWindow().FormKeyDown(Qt::Key_F5, Qt::NoModifier));
    EXPECT_EQ(screens.windows(), QStringList{"hledani"});
    EXPECT_TRUE(mainWindow().FormCloseQuery());
    mainWindow().Konec3Click();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

// F8 and Shift+F8 both clear the setup choices and end in the preview of the current
// document with its items; the items are closed again and the focus returns to the list.
TEST_P(DodavkyTest, PrintEndsInThePreviewOfTheCurrentDocument)
{
    addDocument(QStringLiteral("0000000003"), QStringLiteral("000001"), {{"000010", 2, 1.5}});
    addDocument(QStringLiteral("0000000004"), QStringLiteral("000002"), {{"000011", 3, 2.0}, {"000012", 4, 0.5}});
    addDocument(QStringLiteral("0000000005"), QStringLiteral("000001"), {});
    mainWindow();
    headers().FindKey({QStringLiteral("0000000004")});
    for (const Qt::KeyboardModifiers shift : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        SCOPED_TRACE(shift.toInt());
        screens.opened.clear();
        QStringList printed;
        screens.nahled = [&](const TSestavy &report) {
            for (const ReportItem &item : report.Document().pages.at(0).items)
                if (item.kind == ReportItem::Text || (item.kind == ReportItem::Cell && item.left == 1.0 && item.font.size == 8))
                    printed << item.text;
        };
        QVector<int> focus;
        const auto connection = QObject::connect(&mainWindow(), &FormCommands::focusRequested,
                                                 [&](int control) { focus << control; });
        EXPECT_TRUE(mainWindow().FormKeyDown(Qt::Key_F8, shift));
        QObject::disconnect(connection);
        EXPECT_EQ(screens.windows(), QStringList{"nahled"});   // no setup dialog
        EXPECT_EQ(printed, (QStringList{"Podklady přímu od dodavatele číslo : 0000000004", "000011", "000012"}));
        EXPECT_EQ(reports->PreviewRequested, shift == Qt::ShiftModifier);
        EXPECT_EQ(reports->Sestavy.RequestedDestination,
                  shift == Qt::ShiftModifier ? TDestination::Preview : TDestination::Printer);
        EXPECT_EQ(reports->Sestavy.SystemSetups, 0);
        EXPECT_FALSE(items().Active());
        EXPECT_EQ(focus, QVector<int>{TDodavky::DBGrid1});
        EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000004"));
    }

    // An error while printing is dropped without a message; the items are closed.
    screens.opened.clear();
    screens.nahled = [](const TSestavy &) { throw StoreError(QStringLiteral("spojení přerušeno")); };
    EXPECT_NO_THROW(mainWindow().Button4Click());
    EXPECT_FALSE(items().Active());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_P(DodavkyTest, PrintingAnEmptyListDoesNothing)
{
    mainWindow().Button4Click();
    EXPECT_TRUE(screens.windows().isEmpty());
    EXPECT_FALSE(items().Active());
}

TEST_P(DodavkyTest, ANewDocumentClosedWithoutItemsLeavesNoRow)
{
    addDocument(QStringLiteral("0000000001"), QStringLiteral("000001"), {});
    screens.doklad = [&](TDokladPodklady &e) {
        EXPECT_TRUE(e.NewDocument);
        EXPECT_FALSE(e.KeepDocument);
        EXPECT_EQ(e.ActiveControl, TDokladPodklady::DBEditTovel1);
        EXPECT_EQ(headers().State(), store::DataSetState::Insert);
        EXPECT_EQ(data->ffPodklHlavHLA_DAT.AsDate(), QDate::currentDate());
        EXPECT_EQ(data->ffPodklHlavHLA_DDO.AsDate(), QDate::currentDate());
        EXPECT_EQ(data->ffPodklHlavHLA_MEN.AsString(), QStringLiteral("EUR"));
        EXPECT_EQ(data->ffPodklHlavHLA_KUR.AsFloat(), 1.0);
        EXPECT_TRUE(typeSupplier(e, QStringLiteral("000002")));
        EXPECT_TRUE(e.FormKeyDown(Qt::Key_Escape, Qt::NoModifier));
        return e.ModalResult;
    };
    mainWindow().Button1Click();
    EXPECT_EQ(screens.opened.value(0).pos, QPoint(135, 50));
    EXPECT_EQ(rowCount(store::tables::podklHlav()), 1);
    EXPECT_EQ(headers().State(), store::DataSetState::Browse);
    EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000001"));
}

TEST_P(DodavkyTest, CorrectionHoldsTheDocumentLockAndReleasesIt)
{
    addDocument(QStringLiteral("0000000001"), QStringLiteral("000001"), {});
    addDocument(QStringLiteral("0000000002"), QStringLiteral("000002"), {});
    for (const int result : {mrOk, mrCancel}) {
        screens.doklad = [&](TDokladPodklady &e) {
            EXPECT_EQ(ownLocks(), 1);
            EXPECT_FALSE(e.NewDocument);
            EXPECT_TRUE(e.KeepDocument);
            EXPECT_EQ(headers().State(), store::DataSetState::Edit);
            EXPECT_EQ(data->ffPodklHlavHLA_NAC.AsString(), QStringLiteral("Beta a.s."));
            data->ffPodklHlavHLA_DO2.SetAsString(result == mrOk ? QStringLiteral("FA-1") : QStringLiteral("FA-2"));
            return result;
        };
        mainWindow().Button2Click();
        EXPECT_EQ(ownLocks(), 0);
        EXPECT_EQ(headers().State(), store::DataSetState::Browse);
        EXPECT_FALSE(items().Active());
        auto header = peek(store::tables::podklHlav(), ix::ffPodklHlav::DO1);
        header->Last();
        EXPECT_EQ(header[data->ffPodklHlavHLA_DO2].AsString(), QStringLiteral("FA-1")) << result;
        EXPECT_EQ(header[data->ffPodklHlavHLA_NAC].AsString(), QStringLiteral("Beta a.s."));
    }
    EXPECT_EQ(screens.opened.value(0).pos, QPoint(130, 90));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_P(DodavkyTest, ADocumentLockedByAnotherStationOpensNoEditor)
{
    addDocument(QStringLiteral("0000000001"), QStringLiteral("000001"), {});
    lockedElsewhere(QStringLiteral("POD"), QStringLiteral("0000000001"));
    mainWindow().Button2Click();
    EXPECT_TRUE(screens.opened.isEmpty());
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].startsWith(QStringLiteral("Položka blokována uživatelem Svoboda Karel od  06.05.2024")))
        << prompts.messages[0].toStdString();
    EXPECT_EQ(headers().State(), store::DataSetState::Browse);
    EXPECT_EQ(ownLocks(), 0);
}

TEST_P(DodavkyTest, CorrectingOnAnEmptyListDoesNothing)
{
    mainWindow().Button2Click();
    EXPECT_TRUE(screens.opened.isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(ownLocks(), 0);
    EXPECT_EQ(rowCount(store::tables::podklHlav()), 0);
}

TEST_P(DodavkyTest, AFailedCorrectionLeavesNoLockAndNoEdit)
{
    addDocument(QStringLiteral("0000000001"), QStringLiteral("000001"), {});
    data->Database.DropTable(items().TableName());   // the items cannot be opened
    mainWindow().Button2Click();
    EXPECT_TRUE(screens.opened.isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());   // dropped without a message
    EXPECT_EQ(headers().State(), store::DataSetState::Browse);
    EXPECT_EQ(ownLocks(), 0);
}

// Another copy of the program on this computer (the same station address) is correcting
// the document: this copy's correction fails to edit the header, and must leave the other
// copy's lock record alone, or other stations would find the document free.
TEST_P(DodavkyTest, AFailedCorrectionKeepsALockItDidNotTake)
{
    addDocument(QStringLiteral("0000000001"), QStringLiteral("000001"), {});
    {
        Peek locks = peek(store::tables::semafor());
        locks->Append();
        locks[data->ffSemaforSYS_TAB].SetAsString(QStringLiteral("POD"));
        locks[data->ffSemaforSYS_KLI].SetAsString(QStringLiteral("0000000001"));
        locks[data->ffSemaforSYS_USR].SetAsString(QStringLiteral("Novák Jan"));
        locks[data->ffSemaforSYS_DAT].SetAsDateTime(QDateTime::currentDateTime());
        locks[data->ffSemaforSYS_IDU].SetAsString(data->LocalAddress);
        locks->Post();
    }
    Peek otherCopy = peek(store::tables::podklHlav(), ix::ffPodklHlav::DO1);
    ASSERT_TRUE(otherCopy->FindKey({QStringLiteral("0000000001")}));
    otherCopy->Edit();

    mainWindow().Button2Click();
    EXPECT_TRUE(screens.opened.isEmpty());
    EXPECT_EQ(headers().State(), store::DataSetState::Browse);
    EXPECT_EQ(ownLocks(), 1);
    otherCopy->Cancel();
}

INSTANTIATE_TEST_SUITE_P(Engines, DodavkyTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
