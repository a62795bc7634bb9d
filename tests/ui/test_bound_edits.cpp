// The data-aware controls TDBEditTovel and TZandorDBDateEdit on a real table of an
// in-memory SQLite database, driven by real key presses on the offscreen platform.

#include "dbedittovel.h"
#include "edittovel.h"
#include "referenceclock.h"
#include "zandordateedit.h"

#include "core/errors.h"
#include "recordingprompter.h"
#include "store/database.h"
#include "store/table.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

using store::FieldType;

namespace {

const QDateTime kReference(QDate(2024, 12, 8), QTime(10, 20, 30));

const store::TableDef &testTable()
{
    static const store::TableDef def = [] {
        store::TableDef d;
        d.component = "ffZkouska";
        d.builtInName = "ZKO0000";
        d.fields = {
            {"ZKO_KOD", FieldType::String, 6, "Kód", {}, false},
            {"ZKO_CEN", FieldType::Float, 0, "Cena", "#,##0.00", false},
            {"ZKO_DAT", FieldType::Date, 0, "Datum", "dd.mm.yyyy", false},
            {"ZKO_CAS", FieldType::Time, 0, "Čas", "hh:mm:ss", false},
        };
        return d;
    }();
    return def;
}

// One open table with two records, the first one current, and a data source on it.
struct TestStore {
    TestStore()
    {
        db.ConnectInMemory();
        db.CreateTable(testTable(), "ZKO0000");
        table.SetDatabase(&db);
        table.SetTableName("ZKO0000");
        table.Open();
        addRecord("AAA", 1234.5, QDate(2024, 3, 5));
        addRecord("BBB", 7, QDate());
        table.First();
    }
    void addRecord(const QString &code, double price, const QDate &date)
    {
        table.Append();
        table["ZKO_KOD"].SetAsString(code);
        table["ZKO_CEN"].SetAsFloat(price);
        table["ZKO_DAT"].SetAsDate(date);
        table.Post();
    }

    store::Database db;
    store::Table table{&testTable()};
    store::DataSource source{&table};
};

// A window with a TDBEditTovel bound to `field` and a TEditTovel after it.
struct BoundWindow {
    BoundWindow(TestStore &store, const QString &field)
        : edit(new TDBEditTovel)
        , next(new TEditTovel)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(next);
        edit->SetDataSource(&store.source);
        edit->SetDataField(field);
        edit->SetEnterIsTab(true);
    }
    bool show()
    {
        window.show();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        edit->setFocus(Qt::TabFocusReason);
        return edit->hasFocus();
    }

    QWidget window;
    TDBEditTovel *edit;
    TEditTovel *next;
};

// Types text into w with key events that carry each character (also the Czech ones).
void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

} // namespace

Q_DECLARE_METATYPE(TWhenValid)
Q_DECLARE_METATYPE(TTvDateTimeType)

class BoundEditsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { SetReferenceClock([] { return kReference; }); }
    void cleanup() { SetReferenceClock({}); }

    void onValidDecidesBeforeTheFieldIsWritten_data();
    void onValidDecidesBeforeTheFieldIsWritten();
    void whenValidChoosesWhenOnValidRuns_data();
    void whenValidChoosesWhenOnValidRuns();
    void completesDatesAgainstTheReferenceMoment_data();
    void completesDatesAgainstTheReferenceMoment();
    void refusedWriteKeepsTheFocusWithTheTextSelected_data();
    void refusedWriteKeepsTheFocusWithTheTextSelected();
    void followsTheRecordAndTheTableState();
    void disabledControlIsSkippedAndShowsColorDisable();
    void dateEditWritesItsFieldWhenLeft();
    void separatorsMoveWithinTheDate_data();
    void separatorsMoveWithinTheDate();
    void typingStopsAtTheSizeOfATextField();
    void aNumberIsEditedInFull();
    void commitTextTakesTheTypedTextWithoutLeaving();
};

void BoundEditsTest::onValidDecidesBeforeTheFieldIsWritten_data()
{
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("fieldAfter");
    QTest::addColumn<bool>("focusStays");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("accepted as typed") << "accept" << "ČŘŽ" << false << QStringList();
    QTest::newRow("text replaced") << "replace" << "000042" << false << QStringList();
    QTest::newRow("refused silently") << "refuse" << "AAA" << true << QStringList();
    QTest::newRow("refused with ErrorString") << "refuse with message" << "AAA" << true
                                              << QStringList{"Neznámý kód"};
    QTest::newRow("refused with OnError") << "refuse with OnError" << "AAA" << true << QStringList{"OnError"};
    QTest::newRow("handler failed") << "throw" << "AAA" << true << QStringList{"Tabulka nejde otevřít"};
}

void BoundEditsTest::onValidDecidesBeforeTheFieldIsWritten()
{
    QFETCH(QString, outcome);
    QFETCH(QString, fieldAfter);
    QFETCH(bool, focusStays);
    QFETCH(QStringList, messages);

    RecordingPrompter prompter;
    TestStore store;
    store.table.Edit();
    BoundWindow w(store, "ZKO_KOD");
    QString fieldSeen, textSeen;
    w.edit->OnValid = [&](QWidget *sender, QString &text, bool &valid) {
        QCOMPARE(sender, w.edit);
        QCOMPARE(QApplication::focusWidget(), w.next);   // where the focus is going
        fieldSeen = store.table["ZKO_KOD"].AsString();
        textSeen = text;
        if (outcome == "replace")
            text = "000042";
        else if (outcome == "throw")
            throw StoreError("Tabulka nejde otevřít");
        else if (outcome != "accept")
            valid = false;
    };
    if (outcome == "refuse with message")
        w.edit->SetErrorString("Neznámý kód");
    if (outcome == "refuse with OnError")
        w.edit->OnError = [&](QWidget *) { prompter.messages << "OnError"; };
    QVERIFY(w.show());

    typeText(w.edit, "ČŘŽ");
    QTest::keyClick(w.edit, Qt::Key_Return);

    QCOMPARE(fieldSeen, "AAA");
    QCOMPARE(textSeen, "ČŘŽ");
    QCOMPARE(store.table["ZKO_KOD"].AsString(), fieldAfter);
    QCOMPARE(w.edit->hasFocus(), focusStays);
    QCOMPARE(prompter.messages, messages);
    if (!focusStays)
        QCOMPARE(w.edit->Text(), fieldAfter);
}

void BoundEditsTest::whenValidChoosesWhenOnValidRuns_data()
{
    QTest::addColumn<TWhenValid>("when");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("validated");

    QTest::newRow("always, unchanged") << twvAlways << true << "" << true;
    QTest::newRow("when changed, unchanged") << twvWhenChange << true << "" << false;
    QTest::newRow("when changed, changed") << twvWhenChange << true << "X" << true;
    QTest::newRow("when editing, browsing") << twvWhenEdit << false << "" << false;
    QTest::newRow("when editing, editing") << twvWhenEdit << true << "" << true;
    QTest::newRow("never, changed") << twvNone << true << "X" << false;
}

void BoundEditsTest::whenValidChoosesWhenOnValidRuns()
{
    QFETCH(TWhenValid, when);
    QFETCH(bool, editing);
    QFETCH(QString, typed);
    QFETCH(bool, validated);

    RecordingPrompter prompter;
    TestStore store;
    if (editing)
        store.table.Edit();
    BoundWindow w(store, "ZKO_KOD");
    w.edit->SetWhenValid(when);
    int validations = 0;
    w.edit->OnValid = [&](QWidget *, QString &, bool &valid) {
        ++validations;
        valid = false;   // a validation that ran keeps the focus
    };
    QVERIFY(w.show());
    QTest::keyClick(w.edit, Qt::Key_End);
    QTest::keyClicks(w.edit, typed);
    QTest::keyClick(w.edit, Qt::Key_Tab);

    QCOMPARE(validations, validated ? 1 : 0);
    QCOMPARE(w.edit->hasFocus(), validated);
    // Without a validation the text goes to the field as it is.
    QCOMPARE(store.table["ZKO_KOD"].AsString(), validated ? "AAA" : "AAA" + typed);
    QCOMPARE(prompter.messages, QStringList());
}

void BoundEditsTest::completesDatesAgainstTheReferenceMoment_data()
{
    QTest::addColumn<TTvDateTimeType>("reference");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("textSeen");
    QTest::addColumn<bool>("validSeen");
    QTest::addColumn<QDate>("fieldAfter");

    const QDate unchanged(2024, 3, 5);
    QTest::newRow("day and month") << tdtNow << "8.3" << "8.3.2025" << true << QDate(2025, 3, 8);
    QTest::newRow("day, now") << tdtNow << "8" << "8.01.2025" << true << QDate(2025, 1, 8);
    QTest::newRow("day, the control's moment") << tdtUser << "8" << "8.12.2024" << true << QDate(2024, 12, 8);
    QTest::newRow("six digits") << tdtNow << "050324" << "05.03.24" << true << QDate(2024, 3, 5);
    QTest::newRow("letter refused") << tdtNow << "8a" << "" << false << unchanged;
    QTest::newRow("two stops refused") << tdtNow << "8..3" << "" << false << unchanged;
}

void BoundEditsTest::completesDatesAgainstTheReferenceMoment()
{
    QFETCH(TTvDateTimeType, reference);
    QFETCH(QString, typed);
    QFETCH(QString, textSeen);
    QFETCH(bool, validSeen);
    QFETCH(QDate, fieldAfter);

    RecordingPrompter prompter;
    TestStore store;
    store.table.Edit();
    BoundWindow w(store, "ZKO_DAT");   // created on 8 December 2024
    w.edit->SetEditType(tetDate);
    w.edit->SetDateTimeType(reference);
    SetReferenceClock([] { return QDateTime(QDate(2025, 1, 15), QTime(9, 0)); });
    QString seen = "not raised";
    bool seenValid = false;
    w.edit->OnValid = [&](QWidget *, QString &text, bool &valid) {
        seen = text;
        seenValid = valid;
    };
    QVERIFY(w.show());
    QTest::keyClicks(w.edit, typed);
    QTest::keyClick(w.edit, Qt::Key_Tab);

    QCOMPARE(seen, textSeen);
    QCOMPARE(seenValid, validSeen);
    QCOMPARE(store.table["ZKO_DAT"].AsDate(), fieldAfter);
    QCOMPARE(w.edit->hasFocus(), !validSeen);
    QCOMPARE(prompter.messages, QStringList());
}

void BoundEditsTest::refusedWriteKeepsTheFocusWithTheTextSelected_data()
{
    QTest::addColumn<TTvEditType>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("written");
    QTest::addColumn<double>("fieldAfter");

    QTest::newRow("full stop to decimal comma") << tetStandard << "12.5" << "12,5" << true << 12.5;
    QTest::newRow("comma kept") << tetFloat << "0,25" << "0,25" << true << 0.25;
    QTest::newRow("not a number") << tetStandard << "12a" << "12a" << false << 1234.5;
    QTest::newRow("two separators") << tetFloat << "1.2.3" << "1,2,3" << false << 1234.5;
    // Numbers no column can hold are refused by the same conversion error.
    QTest::newRow("beyond any number") << tetStandard << "1e400" << "1e400" << false << 1234.5;
    QTest::newRow("infinity") << tetStandard << "inf" << "inf" << false << 1234.5;
    QTest::newRow("not a number at all") << tetStandard << "nan" << "nan" << false << 1234.5;
}

void BoundEditsTest::refusedWriteKeepsTheFocusWithTheTextSelected()
{
    QFETCH(TTvEditType, mode);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, written);
    QFETCH(double, fieldAfter);

    RecordingPrompter prompter;
    TestStore store;
    store.table.Edit();
    BoundWindow w(store, "ZKO_CEN");
    w.edit->SetEditType(mode);
    int exits = 0;
    w.edit->OnExit = [&](QWidget *) { ++exits; };
    QVERIFY(w.show());
    QCOMPARE(w.edit->Text(), store.table["ZKO_CEN"].EditText());   // no group separators
    QTest::keyClicks(w.edit, typed);
    QCOMPARE(w.edit->Text(), shown);
    QTest::keyClick(w.edit, Qt::Key_Tab);

    QCOMPARE(store.table["ZKO_CEN"].AsFloat(), fieldAfter);
    QCOMPARE(exits, written ? 1 : 0);
    QCOMPARE(w.edit->hasFocus(), !written);
    QCOMPARE(prompter.messages.size(), written ? 0 : 1);
    if (!written) {
        QVERIFY(prompter.messages.front().contains(shown));
        QCOMPARE(w.edit->selectedText(), shown);
    } else {
        QCOMPARE(w.edit->Text(), store.table["ZKO_CEN"].DisplayText());
    }
}

void BoundEditsTest::followsTheRecordAndTheTableState()
{
    TestStore store;
    BoundWindow w(store, "ZKO_CEN");
    QVERIFY(w.show());
    w.next->setFocus(Qt::TabFocusReason);

    QCOMPARE(w.edit->Text(), store.table["ZKO_CEN"].DisplayText());   // "1 234,50"
    QVERIFY(w.edit->isReadOnly());
    store.table.Next();
    QCOMPARE(w.edit->Text(), "7,00");
    store.table.Edit();
    QVERIFY(!w.edit->isReadOnly());
    store.table["ZKO_CEN"].SetAsFloat(8);
    QCOMPARE(w.edit->Text(), "8,00");

    // With the focus the control shows the edit form; Escape gives it back after typing.
    w.edit->setFocus(Qt::TabFocusReason);
    const QString editForm = store.table["ZKO_CEN"].EditText();
    QVERIFY(!editForm.contains(QChar(0xA0)));
    QCOMPARE(w.edit->Text(), editForm);
    QTest::keyClicks(w.edit, "99");
    QTest::keyClick(w.edit, Qt::Key_Escape);
    QCOMPARE(w.edit->Text(), editForm);
    QCOMPARE(w.edit->selectedText(), editForm);

    store.table.Cancel();
    QVERIFY(w.edit->isReadOnly());
    QCOMPARE(w.edit->Text(), store.table["ZKO_CEN"].EditText());
    QVERIFY(w.edit->Text().startsWith("7"));
    store.table.Close();
    QCOMPARE(w.edit->Text(), "");
}

void BoundEditsTest::disabledControlIsSkippedAndShowsColorDisable()
{
    RecordingPrompter prompter;
    TestStore store;
    store.table.Edit();
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    QList<TDBEditTovel *> edits;
    for (const char *field : {"ZKO_KOD", "ZKO_CEN", "ZKO_DAT"}) {
        auto *edit = new TDBEditTovel;
        edit->SetDataSource(&store.source);
        edit->SetDataField(field);
        edit->SetEnterIsTab(true);
        layout->addWidget(edit);
        edits << edit;
    }
    auto *ok = new QPushButton("OK");
    ok->setDefault(true);
    ok->setFocusPolicy(Qt::NoFocus);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(ok);
    QSignalSpy accepted(&dialog, &QDialog::accepted);

    TDBEditTovel *disabled = edits[1];
    QCOMPARE(disabled->ColorDisable(), disabled->palette().color(QPalette::Active, QPalette::Base));
    disabled->SetColorDisable(QColor(255, 0, 0));
    disabled->setEnabled(false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    edits[0]->setFocus(Qt::TabFocusReason);

    QTest::keyClick(edits[0], Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), edits[2]);
    QTest::keyClick(edits[2], Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), edits[0]);
    QTest::keyClick(edits[0], Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), edits[2]);
    QVERIFY(dialog.isVisible());
    QCOMPARE(accepted.count(), 0);

    QCOMPARE(disabled->Text(), store.table["ZKO_CEN"].DisplayText());
    const QImage image = disabled->grab().toImage();
    QCOMPARE(image.pixelColor(disabled->width() - 6, disabled->height() / 2), QColor(255, 0, 0));
    QCOMPARE(disabled->palette().color(QPalette::Active, QPalette::Base), edits[0]->palette().color(QPalette::Base));
}

void BoundEditsTest::dateEditWritesItsFieldWhenLeft()
{
    RecordingPrompter prompter;
    TestStore store;
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *date = new TZandorDBDateEdit;
    auto *next = new TEditTovel;
    layout->addWidget(date);
    layout->addWidget(next);
    date->SetDataSource(&store.source);
    date->SetDataField("ZKO_DAT");
    QList<QWidget *> tabExits;
    date->OnTabExit = [&](QWidget *sender, Qt::KeyboardModifiers) { tabExits << sender; };
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QCOMPARE(date->Date(), QDate(2024, 3, 5));
    QCOMPARE(date->text(), "05.03.2024");
    QVERIFY(date->isReadOnly());
    store.table.Next();
    QVERIFY(date->Date().isNull());   // an empty field shows blank
    store.table.Prior();
    store.table.Edit();
    QVERIFY(!date->isReadOnly());

    date->setFocus(Qt::TabFocusReason);
    QTest::keyClick(date, Qt::Key_Up);   // the day section: one day on
    QCOMPARE(store.table["ZKO_DAT"].AsDate(), QDate(2024, 3, 5));   // not before leaving
    QTest::keyClick(date, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), next);
    QCOMPARE(store.table["ZKO_DAT"].AsDate(), QDate(2024, 3, 6));
    QCOMPARE(tabExits, QList<QWidget *>{date});
    QCOMPARE(prompter.messages, QStringList());
}

// A date typed with separators, as clerks type it, lands whole in the date edit, bound or
// not, entered by Tab or by Shift+Tab: a separator moves on to the next part of the date
// and never out of the control, into the next one.
void BoundEditsTest::separatorsMoveWithinTheDate_data()
{
    QTest::addColumn<bool>("bound");
    QTest::addColumn<bool>("backtab");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");

    const QDate fifthDecember(2026, 12, 5);
    const struct {
        const char *typed;
        QDate date;
    } forms[] = {
        {"5.12.2026", fifthDecember},
        {"05.12.2026", fifthDecember},
        {"5.12.", QDate(2024, 12, 5)},   // the year shown stays
        {"5.12", QDate(2024, 12, 5)},
        {"5122026", fifthDecember},
        {"05122026", fifthDecember},
        {"1.11.2026", QDate(2026, 11, 1)},
        {"1,11,2026", QDate(2026, 11, 1)},
        {"1/1/2026", QDate(2026, 1, 1)},
        {"31.1.2025", QDate(2025, 1, 31)},
        {"1.2..2026", QDate(2026, 2, 1)},   // a second separator in a row changes nothing
        {"5.12.2026.", fifthDecember},      // nor one after the year
    };
    for (bool bound : {false, true})
        for (bool backtab : {false, true})
            for (const auto &form : forms)
                QTest::addRow("%s, %s, %s", bound ? "bound" : "unbound", backtab ? "Shift+Tab" : "Tab", form.typed)
                    << bound << backtab << QString::fromLatin1(form.typed) << form.date;
}

void BoundEditsTest::separatorsMoveWithinTheDate()
{
    QFETCH(bool, bound);
    QFETCH(bool, backtab);
    QFETCH(QString, typed);
    QFETCH(QDate, date);

    RecordingPrompter prompter;
    TestStore store;   // the first record's date: 5 March 2024
    store.table.Edit();
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *before = new TEditTovel;
    ZandorDateEditBase *edit = nullptr;
    if (bound) {
        auto *dbEdit = new TZandorDBDateEdit;
        dbEdit->SetDataSource(&store.source);
        dbEdit->SetDataField("ZKO_DAT");
        edit = dbEdit;
    } else {
        auto *plain = new TZandorDateEdit;
        plain->SetDate(QDate(2024, 3, 5));
        edit = plain;
    }
    auto *after = new TEditTovel;
    for (QWidget *w : {static_cast<QWidget *>(before), static_cast<QWidget *>(edit), static_cast<QWidget *>(after)})
        layout->addWidget(w);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus(backtab ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    QVERIFY(edit->hasFocus());

    QTest::keyClicks(edit, typed);
    QVERIFY2(edit->hasFocus(), "a separator left the date");
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);
    QCOMPARE(edit->Date(), date);
    QCOMPARE(after->Text(), QString());
    QCOMPARE(before->Text(), QString());
    if (bound)
        QCOMPARE(store.table["ZKO_DAT"].AsDate(), date);
    QCOMPARE(prompter.messages, QStringList());
}

// A text field of six characters takes six typed characters, never more (the store would
// cut the rest silently).
void BoundEditsTest::typingStopsAtTheSizeOfATextField()
{
    TestStore store;
    store.table.Edit();
    BoundWindow w(store, "ZKO_KOD");
    QVERIFY(w.show());
    typeText(w.edit, "ABCDEFGHIJ");
    QCOMPARE(w.edit->Text(), "ABCDEF");
    QTest::keyClick(w.edit, Qt::Key_Tab);
    QCOMPARE(store.table["ZKO_KOD"].AsString(), "ABCDEF");
    // A control bound to a number field is not limited.
    w.edit->SetDataField("ZKO_CEN");
    QCOMPARE(w.edit->maxLength(), QLineEdit().maxLength());
}

// A stored 0,125 shows "0,13" in its display format, and in full while it is edited;
// leaving without a change keeps the value as stored.
void BoundEditsTest::aNumberIsEditedInFull()
{
    TestStore store;
    store.table.Edit();
    store.table["ZKO_CEN"].SetAsFloat(12345.125);
    BoundWindow w(store, "ZKO_CEN");
    QVERIFY(w.show());
    QCOMPARE(w.edit->Text(), "12345,125");
    w.next->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.edit->Text(), QStringLiteral("12\u00a0345,13"));
    QCOMPARE(store.table["ZKO_CEN"].AsFloat(), 12345.125);
    w.edit->setFocus(Qt::BacktabFocusReason);
    QCOMPARE(w.edit->Text(), "12345,125");
}

// What a window command does before it writes the record: the typed text goes through
// the checks of leaving into the field while the focus stays; a refused text is
// reported and stops the command.
void BoundEditsTest::commitTextTakesTheTypedTextWithoutLeaving()
{
    RecordingPrompter prompter;
    TestStore store;
    store.table.Edit();
    BoundWindow w(store, "ZKO_CEN");
    QStringList validated;
    w.edit->OnValid = [&](QWidget *, QString &text, bool &) { validated << text; };
    QVERIFY(w.show());
    QVERIFY(w.edit->CommitText());   // nothing typed: nothing to take
    QCOMPARE(validated, QStringList());
    QTest::keyClicks(w.edit, "250");
    QVERIFY(w.edit->CommitText());
    QCOMPARE(validated, QStringList{"250"});
    QCOMPARE(store.table["ZKO_CEN"].AsFloat(), 250.0);
    QVERIFY(w.edit->hasFocus());
    QCOMPARE(w.edit->Text(), "250");

    QTest::keyClicks(w.edit, "25x");
    QVERIFY(!w.edit->CommitText());
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(store.table["ZKO_CEN"].AsFloat(), 250.0);
    QVERIFY(w.edit->hasFocus());
}

QTEST_MAIN(BoundEditsTest)
#include "test_bound_edits.moc"
