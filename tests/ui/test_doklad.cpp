// The source-document editor's commands, played through the main window's commands on
// a real database of each engine: numbering, items and the header totals, the supplier
// look-up, locks, deletion and the close rules.

#include "test_doklad_support.h"

#include "raw_engine.h"
#include "store/tables/index_names.h"

#include <limits>
#include <optional>

namespace ix = store::tables::index;

using namespace doklad;
using storetest::Backend;

namespace {

class DokladTest : public WindowsTest {};

TEST_P(DokladTest, TheNumberIsTakenAtTheFirstNewItemEvenWhenTheItemIsCancelled)
{
    QString numberSeen;
    bool keepAfterNumbering = false;
    screens.doklad = [&](TDokladPodklady &e) {
        EXPECT_TRUE(e.NewDocument);
        EXPECT_TRUE(typeSupplier(e, QStringLiteral("2")));
        return mrCancel;
    };
    // A code is found by its exact key: "2" is not "000002", so the picker opens; the
    // user picks the second supplier there.
    screens.dodavatele = [&] {
        EXPECT_EQ(data->ffDodavatele.IndexName(), ix::ffDodavatele::NAC);
        data->ffDodavatele.Next();
        return mrOk;
    };
    mainWindow().Button1Click();
    EXPECT_EQ(screens.windows(), (QStringList{"doklad", "dodavatele"}));
    EXPECT_EQ(rowCount(store::tables::podklHlav()), 0);  // never numbered: nothing written

    screens.opened.clear();
    screens.doklad = [&](TDokladPodklady &e) {
        EXPECT_TRUE(typeSupplier(e, QStringLiteral("000001")));
        EXPECT_EQ(e.Label1, QStringLiteral("Alfa s.r.o."));
        EXPECT_EQ(e.Label3 + "|" + e.Label4, QStringLiteral("Brno|60200"));
        e.Button1Click();
        numberSeen = data->ffPodklHlavHLA_DO1.AsString();
        keepAfterNumbering = e.KeepDocument && !e.NewDocument;
        e.Button4Click();
        return e.ModalResult;
    };
    screens.polozka = [&](TPodkladyPolEdit &e) {
        EXPECT_EQ(data->ffPodklPolPOP_DOK.AsString(), QStringLiteral("0000000124"));
        EXPECT_EQ(data->ffPodklPolPOP_BAL.AsFloat(), 1.0);
        EXPECT_EQ(e.ActiveControl, TPodkladyPolEdit::DBEditTovel1);
        e.Button1Click();
        return e.ModalResult;
    };
    mainWindow().Button1Click();
    EXPECT_EQ(screens.windows(), (QStringList{"doklad", "polozka"}));
    EXPECT_EQ(screens.opened[0].pos, QPoint(135, 50));
    EXPECT_EQ(screens.opened[1].pos, QPoint(350, 85));
    EXPECT_EQ(numberSeen, QStringLiteral("0000000124"));
    EXPECT_TRUE(keepAfterNumbering);
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();

    auto counter = peek(store::tables::ciselnik());
    EXPECT_EQ(counter[data->ffCiselnikCIS_POD].AsString(), QStringLiteral("124"));
    auto stored = peek(store::tables::podklHlav());
    ASSERT_EQ(stored->RecordCount(), 1);
    EXPECT_EQ(stored[data->ffPodklHlavHLA_DO1].AsString(), QStringLiteral("0000000124"));
    EXPECT_EQ(stored[data->ffPodklHlavHLA_ODB].AsString(), QStringLiteral("000001"));
    EXPECT_EQ(stored[data->ffPodklHlavHLA_NAC].AsString(), QStringLiteral("Alfa s.r.o."));
    EXPECT_EQ(stored[data->ffPodklHlavHLA_DAT].AsDate(), QDate::currentDate());
    EXPECT_EQ(stored[data->ffPodklHlavHLA_EUR].AsFloat(), 0.0);
    EXPECT_EQ(stored[data->ffPodklHlavHLA_NCA].AsFloat(), 0.0);
    EXPECT_EQ(rowCount(store::tables::podklPol()), 0);
    EXPECT_FALSE(items().Active());             // closed by the main window
    EXPECT_FALSE(data->ffSortiment.Active());   // closed by the editor
}

TEST_P(DokladTest, WrittenItemsAddToTheTotalsAndACorrectionAddsItsDifference)
{
    addDocument(QStringLiteral("0000000007"), QStringLiteral("000001"), {{"000011", 5, 3}});
    addDocument(QStringLiteral("0000000070"), QStringLiteral("000002"), {{"000010", 10, 2}, {"000011", 1, 7}});
    mainWindow();
    ASSERT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000070"));   // opened on the last

    QVector<QString> cardsShown;
    screens.doklad = [&](TDokladPodklady &e) {
        EXPECT_EQ(e.ActiveControl, TDokladPodklady::DBGrid1);
        EXPECT_FALSE(e.DBEditTovel1Enabled);
        EXPECT_FALSE(e.DBEditTovel5Enabled);
        EXPECT_EQ(e.Label1, QStringLiteral("Beta a.s."));
        for (items().First(); !items().Eof(); items().Next())
            cardsShown << data->ffPodklPolPOP_KAV.AsString();
        items().First();   // 10 × 2 of card 000010
        e.Button2Click();
        e.Button4Click();
        return e.ModalResult;
    };
    screens.polozka = [&](TPodkladyPolEdit &e) {
        EXPECT_FALSE(e.DBEditTovel1Enabled);
        EXPECT_EQ(e.ActiveControl, TPodkladyPolEdit::DBEditTovel2);
        EXPECT_EQ(ownLocks(), 2);   // "POD" on the document, "SOR" on the card
        return typeItem(e, QString(), QStringLiteral("2"), QStringLiteral("12"));
    };
    mainWindow().Button2Click();
    EXPECT_EQ(cardsShown, (QVector<QString>{"000010", "000011"}));   // not those of 0000000007
    EXPECT_EQ(screens.opened[0].pos, QPoint(130, 90));
    EXPECT_EQ(screens.opened[1].pos, QPoint(350, 95));
    EXPECT_EQ(ownLocks(), 0);
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();

    auto stored = peek(store::tables::podklHlav(), ix::ffPodklHlav::DO1);
    ASSERT_TRUE(stored->FindKey({QStringLiteral("0000000070")}));
    EXPECT_DOUBLE_EQ(stored[data->ffPodklHlavHLA_EUR].AsFloat(), 27 + 4);   // was 10 × 2 + 1 × 7
    EXPECT_DOUBLE_EQ(stored[data->ffPodklHlavHLA_NCA].AsFloat(), 27 + 4);
    EXPECT_EQ(stored[data->ffPodklHlavHLA_NAC].AsString(), QStringLiteral("Beta a.s."));   // confirmed again
    auto item = peek(store::tables::podklPol());
    ASSERT_TRUE(item->Locate(data->ffPodklPolPOP_KAV, QStringLiteral("000010")));
    EXPECT_EQ(item[data->ffPodklPolPOP_CKU].AsFloat(), 12.0);
    EXPECT_EQ(item[data->ffPodklPolPOP_KUS].AsFloat(), 12.0);

    // A new item in the same document adds its own totals.
    screens.opened.clear();
    screens.doklad = [&](TDokladPodklady &e) {
        e.Button1Click();
        e.Button4Click();
        return e.ModalResult;
    };
    screens.polozka = [&](TPodkladyPolEdit &e) {
        return typeItem(e, QStringLiteral("000012"), QStringLiteral("1,5"), QStringLiteral("4"));
    };
    mainWindow().Button2Click();
    ASSERT_TRUE(stored->FindKey({QStringLiteral("0000000070")}));
    EXPECT_DOUBLE_EQ(stored[data->ffPodklHlavHLA_EUR].AsFloat(), 31 + 6);
    EXPECT_EQ(rowCount(store::tables::podklPol()), 4);
}

// A header whose total is no longer a number (an overflow written before such totals
// were refused) still opens and is corrected: its totals are counted again from the items.
TEST_P(DokladTest, AnInfiniteTotalIsCountedAgainFromTheItems)
{
    addDocument(QStringLiteral("0000000070"), QStringLiteral("000002"), {{"000010", 10, 2}, {"000011", 1, 7}});
    store::Engine &engine = storetest::rawEngine(data->Database);
    engine.execute(QStringLiteral("UPDATE \"%1\" SET \"HLA_EUR\" = %2").arg(headers().TableName(), engine.dialect().placeholder(1)),
                   {std::numeric_limits<double>::infinity()});
    mainWindow();
    screens.doklad = [&](TDokladPodklady &e) {
        items().First();   // 10 × 2 of card 000010
        e.Button2Click();
        e.Button4Click();
        return e.ModalResult;
    };
    screens.polozka = [&](TPodkladyPolEdit &e) { return typeItem(e, QString(), QStringLiteral("2"), QStringLiteral("12")); };
    mainWindow().Button2Click();
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();
    auto stored = peek(store::tables::podklHlav(), ix::ffPodklHlav::DO1);
    ASSERT_TRUE(stored->FindKey({QStringLiteral("0000000070")}));
    EXPECT_DOUBLE_EQ(stored[data->ffPodklHlavHLA_EUR].AsFloat(), 12 * 2 + 7);
    EXPECT_DOUBLE_EQ(stored[data->ffPodklHlavHLA_NCA].AsFloat(), 12 * 2 + 7);
}

// An item and the totals of its header are written in one transaction, the header held
// by this station throughout: another station sees neither before both are committed,
// can never take the header in between, and a header that cannot be written leaves the
// item unwritten too.
TEST_P(DokladTest, AnItemAndItsHeaderTotalsAreWrittenTogether)
{
    const QString number = QStringLiteral("0000000070");
    addDocument(number, QStringLiteral("000002"), {{"000010", 10, 2}, {"000011", 1, 7}});
    mainWindow();
    // What another station finds at a moment of the write: whether it can take the
    // header, and the quantity of the corrected item.
    struct Seen {
        bool headerFree = false;
        double quantity = 0;
    };
    const auto look = [&] {
        Seen seen;
        auto header = peek(store::tables::podklHlav(), ix::ffPodklHlav::DO1);
        EXPECT_TRUE(header->FindKey({number}));
        try {
            header->Edit();
            seen.headerFree = true;
            header->Cancel();
        } catch (const AppError &) {
        }
        auto item = peek(store::tables::podklPol());
        EXPECT_TRUE(item->Locate(data->ffPodklPolPOP_KAV, QStringLiteral("000010")));
        seen.quantity = item[data->ffPodklPolPOP_CKU].AsFloat();
        return seen;
    };
    bool writing = false;
    std::optional<Seen> afterItem, afterHeader;
    QObject watching;   // the watches end with the test, before the tables do
    QObject::connect(&items(), &store::Table::stateChanged, &watching, [&] {
        if (writing && !afterItem && items().State() == store::DataSetState::Browse)
            afterItem = look();
    });
    QObject::connect(&headers(), &store::Table::stateChanged, &watching, [&] {
        if (writing && afterItem && !afterHeader)
            afterHeader = look();
    });
    screens.doklad = [&](TDokladPodklady &e) {
        items().First();   // 10 × 2 of card 000010
        e.Button2Click();
        writing = false;
        e.Button4Click();
        return e.ModalResult;
    };
    screens.polozka = [&](TPodkladyPolEdit &e) {
        const int result = typeItem(e, QString(), QStringLiteral("2"), QStringLiteral("12"));
        writing = true;
        return result;
    };
    mainWindow().Button2Click();
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();
    ASSERT_TRUE(afterItem && afterHeader);
    EXPECT_FALSE(afterItem->headerFree);
    EXPECT_FALSE(afterHeader->headerFree);
    EXPECT_EQ(afterItem->quantity, 10.0);
    EXPECT_EQ(afterHeader->quantity, 10.0);   // not committed before the header is written
    Seen done = look();
    EXPECT_TRUE(done.headerFree);
    EXPECT_EQ(done.quantity, 12.0);
    auto stored = peek(store::tables::podklHlav(), ix::ffPodklHlav::DO1);
    ASSERT_TRUE(stored->FindKey({number}));
    EXPECT_DOUBLE_EQ(stored[data->ffPodklHlavHLA_EUR].AsFloat(), 12 * 2 + 7);

    // A new item whose header has meanwhile gone (removed behind the program's back):
    // the header cannot be written, so the item is not kept either.
    screens.doklad = [&](TDokladPodklady &e) {
        e.Button1Click();
        e.Button4Click();
        return e.ModalResult;
    };
    screens.polozka = [&](TPodkladyPolEdit &e) {
        const int result = typeItem(e, QStringLiteral("000012"), QStringLiteral("1"), QStringLiteral("4"));
        auto other = peek(store::tables::podklHlav());
        store::Engine &engine = storetest::rawEngine(*other.db);
        engine.execute(QStringLiteral("DELETE FROM \"%1\" WHERE \"HLA_DO1\" = %2")
                           .arg(headers().TableName(), engine.dialect().placeholder(1)),
                       {number});
        return result;
    };
    mainWindow().Button2Click();
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Osetreni vyjimky")});
    EXPECT_EQ(rowCount(store::tables::podklPol()), 2);
}

TEST_P(DokladTest, NewAndCorrectItemWithoutASupplierOnlyMoveTheFocus)
{
    QVector<int> focus;
    screens.doklad = [&](TDokladPodklady &e) {
        QObject::connect(&e, &FormCommands::focusRequested, [&](int c) { focus << c; });
        e.Button1Click();
        EXPECT_TRUE(e.FormKeyDown(Qt::Key_F4, Qt::ShiftModifier));
        EXPECT_TRUE(e.NewDocument);
        e.Button4Click();
        return e.ModalResult;
    };
    mainWindow().Button1Click();
    EXPECT_EQ(focus, (QVector<int>{TDokladPodklady::DBEditTovel1, TDokladPodklady::DBEditTovel1}));
    EXPECT_EQ(screens.windows(), QStringList{"doklad"});
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(peek(store::tables::ciselnik())[data->ffCiselnikCIS_POD].AsString(), QStringLiteral("123"));
    EXPECT_EQ(rowCount(store::tables::podklHlav()), 0);
}

TEST_P(DokladTest, CancelledCorrectionKeepsTheItemAndAnotherStationsCardLockOpensNoEditor)
{
    addDocument(QStringLiteral("0000000001"), QStringLiteral("000001"), {{"000010", 10, 2}});
    int editorRuns = 0;
    screens.doklad = [&](TDokladPodklady &e) {
        e.Button2Click();
        EXPECT_EQ(prompts.messages, QStringList{"Nepotvrzen zápis do karty"});
        lockedElsewhere(QStringLiteral("SOR"), QStringLiteral("000010"));
        prompts.messages.clear();
        e.Button2Click();   // refused: only the lock's own message
        EXPECT_EQ(prompts.messages.size(), 1);
        EXPECT_TRUE(prompts.messages.value(0).startsWith(QStringLiteral("Položka blokována uživatelem Svoboda Karel")))
            << prompts.messages.value(0).toStdString();
        EXPECT_EQ(items().State(), store::DataSetState::Browse);
        e.Button4Click();
        return e.ModalResult;
    };
    screens.polozka = [&](TPodkladyPolEdit &e) {
        ++editorRuns;
        leave(data->ffPodklPolPOP_CKU, QStringLiteral("99"), [&](QString &t, bool &v) { e.DBEditTovel3Valid(t, v); });
        EXPECT_TRUE(e.FormKeyDown(Qt::Key_Escape, Qt::NoModifier));
        return e.ModalResult;
    };
    mainWindow().Button2Click();
    EXPECT_EQ(editorRuns, 1);
    EXPECT_EQ(ownLocks(), 0);
    auto item = peek(store::tables::podklPol());
    EXPECT_EQ(item[data->ffPodklPolPOP_CKU].AsFloat(), 10.0);
    EXPECT_EQ(peek(store::tables::podklHlav())[data->ffPodklHlavHLA_EUR].AsFloat(), 20.0);
}

TEST_P(DokladTest, DeletingAnItemKeepsTheTotalsTheSumOfTheItems)
{
    addDocument(QStringLiteral("0000000001"), QStringLiteral("000001"),
                {{"000010", 10, 2}, {"000011", 3, 2.5}, {"000012", 1, 4}});
    screens.doklad = [&](TDokladPodklady &e) {
        items().Next();   // 3 × 2.5
        prompts.confirmAnswer = false;
        e.deleteItem();
        EXPECT_EQ(items().RecordCount(), 3);
        prompts.confirmAnswer = true;
        e.deleteItem();
        e.Button4Click();
        return e.ModalResult;
    };
    mainWindow().Button2Click();
    EXPECT_EQ(prompts.messages, (QStringList{"Smazat položku ?", "Smazat položku ?"}));

    double sumCcc = 0, sumNcc = 0;
    auto item = peek(store::tables::podklPol());
    for (item->First(); !item->Eof(); item->Next()) {
        sumCcc += item[data->ffPodklPolPOP_CKU].AsFloat() * item[data->ffPodklPolPOP_CNC].AsFloat();
        sumNcc += item[data->ffPodklPolPOP_NCS].AsFloat() * item[data->ffPodklPolPOP_KUS].AsFloat();
    }
    EXPECT_EQ(item->RecordCount(), 2);
    auto header = peek(store::tables::podklHlav());
    EXPECT_DOUBLE_EQ(header[data->ffPodklHlavHLA_EUR].AsFloat(), sumCcc);
    EXPECT_DOUBLE_EQ(header[data->ffPodklHlavHLA_NCA].AsFloat(), sumNcc);
    EXPECT_DOUBLE_EQ(sumCcc, 24.0);
}

TEST_P(DokladTest, StoreFailuresInsideNewAndCorrectItemAreReportedAndWriteNothing)
{
    {
        auto counter = peek(store::tables::ciselnik());
        counter->Edit();
        counter[data->ffCiselnikCIS_POD].SetAsString(QStringLiteral("x"));
        counter->Post();
    }
    screens.doklad = [&](TDokladPodklady &e) {
        EXPECT_TRUE(typeSupplier(e, QStringLiteral("000001")));
        e.Button2Click();   // no item list yet in a new document: nothing to correct
        e.Button1Click();   // the counter is not a number
        EXPECT_TRUE(e.NewDocument);
        EXPECT_FALSE(e.KeepDocument);
        e.Button4Click();
        return e.ModalResult;
    };
    mainWindow().Button1Click();
    EXPECT_EQ(prompts.messages, (QStringList{"Osetreni vyjimky"}));
    EXPECT_EQ(screens.windows(), QStringList{"doklad"});
    EXPECT_EQ(rowCount(store::tables::podklHlav()), 0);
    EXPECT_EQ(peek(store::tables::ciselnik())[data->ffCiselnikCIS_POD].AsString(), QStringLiteral("x"));
    EXPECT_FALSE(data->ffCiselnik.Active());
    EXPECT_FALSE(data->ffSortiment.Active());
}

// How the editor may be closed: by "Ukončení" / Escape with OK only once the document
// is kept, by the close box always with Cancel, and not at all while an import runs.
TEST_P(DokladTest, CloseRules)
{
    struct Case {
        const char *how;
        bool keep;
        bool importRunning;
        int result;   // mrNone: stays open
    };
    const Case cases[] = {
        {"escape", false, false, mrCancel}, {"escape", true, false, mrOk},
        {"button", true, false, mrOk},      {"closebox", true, false, mrCancel},
        {"escape", true, true, mrNone},     {"button", true, true, mrNone},
        {"closebox", false, true, mrNone},
    };
    for (const Case &c : cases) {
        TDokladPodklady e;
        e.KeepDocument = c.keep;
        data->ImportRunning = c.importRunning;
        int closedWith = mrNone;
        QObject::connect(&e, &FormCommands::closeRequested, [&](int r) { closedWith = r; });
        const QString how = QLatin1String(c.how);
        if (how == QLatin1String("escape")) {
            EXPECT_TRUE(e.FormKeyDown(Qt::Key_Escape, Qt::NoModifier));
        } else if (how == QLatin1String("button")) {
            e.Button4Click();
        } else if (e.FormCloseQuery()) {
            closedWith = e.ModalResult;
        }
        EXPECT_EQ(closedWith, c.result) << c.how << " keep=" << c.keep << " import=" << c.importRunning;
    }
    TDokladPodklady e;
    EXPECT_FALSE(e.FormKeyDown(Qt::Key_F4, Qt::AltModifier));   // Alt+F4 is the close box
}

// The editor's print: F8 (setup choices cleared first) and the button (setup choices as
// they stand, so the setup dialog opens while nothing has cleared them), each followed by
// clearing the choices, the preview requested again and the window closed as "Ukončení"
// closes it; nothing while an import runs.
TEST_P(DokladTest, PrintFromTheEditor)
{
    addDocument(QStringLiteral("0000000003"), QStringLiteral("000001"), {{"000010", 2, 1.5}});
    mainWindow();
    struct Case {
        const char *how;
        bool importRunning;
        int setupAnswer;   // mrNone: no setup dialog expected
        QStringList windows;
        int result;
    } cases[] = {
        {"key", false, mrNone, {"doklad", "nahled"}, mrOk},
        {"button", false, mrOk, {"doklad", "nastaveni", "nahled"}, mrOk},
        {"button", false, mrCancel, {"doklad", "nastaveni"}, mrOk},
        {"key", true, mrNone, {"doklad"}, mrNone},
        {"button", true, mrNone, {"doklad"}, mrNone},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.how) + (c.importRunning ? " import" : ""));
        screens.opened.clear();
        reports->Sestavy.SystemSetups = ssAll;   // as at start-up
        reports->Sestavy.RequestedDestination = TDestination::Printer;
        QString title;
        screens.nastaveni = [&](TSestavySetup &) { return c.setupAnswer; };
        screens.nahled = [&](const TSestavy &report) { title = report.Document().pages.at(0).items.at(0).text; };
        int closedWith = mrNone;
        screens.doklad = [&](TDokladPodklady &e) {
            QObject::connect(&e, &FormCommands::closeRequested, [&](int r) { closedWith = r; });
            data->ImportRunning = c.importRunning;
            if (QLatin1String(c.how) == QLatin1String("key"))
                EXPECT_TRUE(e.FormKeyDown(Qt::Key_F8, Qt::NoModifier));
            else
                e.Button3Click();
            data->ImportRunning = false;
            return closedWith == mrNone ? int(mrCancel) : closedWith;
        };
        mainWindow().Button2Click();
        EXPECT_EQ(screens.windows(), c.windows);
        EXPECT_EQ(closedWith, c.result);
        if (c.windows.contains(QStringLiteral("nahled"))) {
            EXPECT_EQ(title, QStringLiteral("Podklady přímu od dodavatele číslo : 0000000003"));
        }
        if (!c.importRunning) {
            EXPECT_EQ(reports->Sestavy.SystemSetups, 0);
            EXPECT_EQ(reports->Sestavy.RequestedDestination, TDestination::Preview);
        } else {
            EXPECT_EQ(reports->Sestavy.SystemSetups, int(ssAll));
        }
    }
}

TEST_P(DokladTest, TheCloseBoxDiscardsWhatTheLastItemDidNotWrite)
{
    screens.doklad = [&](TDokladPodklady &e) {
        EXPECT_TRUE(typeSupplier(e, QStringLiteral("000003")));
        e.Button1Click();
        data->ffPodklHlavHLA_DO2.SetAsString(QStringLiteral("FA-77"));
        EXPECT_TRUE(e.KeepDocument);
        EXPECT_TRUE(e.FormCloseQuery());
        return e.ModalResult;
    };
    screens.polozka = [&](TPodkladyPolEdit &e) {
        return typeItem(e, QStringLiteral("000011"), QStringLiteral("2"), QStringLiteral("10"));
    };
    mainWindow().Button1Click();
    auto header = peek(store::tables::podklHlav());
    ASSERT_EQ(header->RecordCount(), 1);
    EXPECT_EQ(header[data->ffPodklHlavHLA_DO2].AsString(), QString());
    EXPECT_EQ(header[data->ffPodklHlavHLA_EUR].AsFloat(), 20.0);
    EXPECT_EQ(header[data->ffPodklHlavHLA_NAC].AsString(), QStringLiteral("Čedok"));
}

TEST_P(DokladTest, SupplierCodeLookUp)
{
    screens.doklad = [&](TDokladPodklady &e) {
        // Found: taken and remembered; the picker then opens at it.
        QString text = QStringLiteral(" 000002 ");
        bool valid = true;
        e.DBEditTovel1Valid(text, valid, false);
        EXPECT_TRUE(valid);
        EXPECT_EQ(text, QStringLiteral("000002"));
        EXPECT_EQ(data->ffPodklHlavHLA_NAC.AsString(), QStringLiteral("Beta a.s."));
        EXPECT_EQ(e.Label2, QStringLiteral("Krátká 2"));
        EXPECT_EQ(screens.opened.size(), 1);

        // Unknown: the picker; cancelled, the labels are cleared and the code refused.
        screens.dodavatele = [&] {
            EXPECT_EQ(data->ffDodavateleDOD_KOD.AsString(), QStringLiteral("000002"));
            return mrCancel;
        };
        text = QStringLiteral("999999");
        e.DBEditTovel1Valid(text, valid, false);
        EXPECT_FALSE(valid);
        EXPECT_EQ(text, QString());
        EXPECT_EQ(e.Label1 + e.Label2 + e.Label3 + e.Label4, QString());
        EXPECT_EQ(screens.opened.last().pos, QPoint(100, 140));

        // Leaving towards "Ukončení": no picker, and the unconfirmed code is not written.
        text = QStringLiteral("999999");
        valid = true;
        e.DBEditTovel1Valid(text, valid, true);
        EXPECT_TRUE(valid);
        EXPECT_EQ(text, data->ffPodklHlavHLA_ODB.AsString());

        // The side button starts at the typed code in code order; the chosen one is shown.
        screens.dodavatele = [&] {
            EXPECT_EQ(data->ffDodavatele.IndexName(), ix::ffDodavatele::KOD);
            EXPECT_EQ(data->ffDodavateleDOD_KOD.AsString(), QStringLiteral("000001"));
            data->ffDodavatele.Last();
            return mrOk;
        };
        text = QStringLiteral("000001");
        e.DBEditTovel1ClickButton(text);
        EXPECT_EQ(text, QStringLiteral("000003"));
        EXPECT_EQ(e.Label1, QStringLiteral("Čedok"));
        screens.dodavatele = [] { return mrCancel; };
        text = QStringLiteral("  000001");
        e.DBEditTovel1ClickButton(text);
        EXPECT_EQ(text, QStringLiteral("000001"));
        EXPECT_FALSE(data->ffDodavatele.Active());
        e.Button4Click();
        return e.ModalResult;
    };
    mainWindow().Button1Click();
    EXPECT_EQ(screens.windows(), (QStringList{"doklad", "dodavatele", "dodavatele", "dodavatele"}));
    EXPECT_EQ(rowCount(store::tables::podklHlav()), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, DokladTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
