// The unbound edit controls TEditTovel, TVEdit and TZandorDateEdit, driven by real key
// presses in shown windows on the offscreen platform, in the Czech locale.

#include "edittovel.h"
#include "referenceclock.h"
#include "vedit.h"
#include "zandordateedit.h"

#include "recordingprompter.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

namespace {

const QDateTime kReference(QDate(2024, 12, 8), QTime(10, 20, 30));

// Shows w and waits until it is the active window, so that focus and keys reach it.
bool showActive(QWidget &w)
{
    w.show();
    return QTest::qWaitForWindowActive(&w);
}

// A window with `first` and a TEditTovel after it, the first one focused.
struct TwoEdits {
    explicit TwoEdits(TypedLineEdit *edit)
        : first(edit)
        , next(new TEditTovel)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(first);
        layout->addWidget(next);
        next->OnExit = [this](QWidget *) { ++nextExits; };
        first->OnExit = [this](QWidget *) { ++firstExits; };
        first->OnTabExit = [this](QWidget *, Qt::KeyboardModifiers) { ++firstTabExits; };
    }
    bool show()
    {
        if (!showActive(window))
            return false;
        first->setFocus(Qt::TabFocusReason);
        return first->hasFocus();
    }

    QWidget window;
    TypedLineEdit *first;
    TEditTovel *next;
    int firstExits = 0;
    int firstTabExits = 0;
    int nextExits = 0;
};

TypedLineEdit *makeEdit(const QString &kind)
{
    if (kind == "VEdit")
        return new TVEdit;
    return new TEditTovel;
}

// The horizontal extent of dark pixels (text or lines) inside area of image.
std::pair<int, int> inkExtent(const QImage &image, const QRect &area)
{
    int left = image.width();
    int right = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

} // namespace

Q_DECLARE_METATYPE(TEditType)

class UnboundEditsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetReferenceClock([] { return kReference; }); }
    void cleanupTestCase() { SetReferenceClock({}); }

    void completesShortenedDatesAndTimes_data();
    void completesShortenedDatesAndTimes();
    void checksTheEditModeOnAssignment_data();
    void checksTheEditModeOnAssignment();
    void filtersTypedCharacters_data();
    void filtersTypedCharacters();
    void dropsControlKeysInNumericModes_data();
    void dropsControlKeysInNumericModes();
    void badTextKeepsTheFocus_data();
    void badTextKeepsTheFocus();
    void modalMessageLeavesTheNeighbourAlone();
    void enterMovesLikeTabAndNeverClosesTheDialog();
    void tabExitReportsTheShiftKeysAndSpaceCanBeTaken();
    void enterGoesToAnOpenCalendar();
    void sideButtonSitsInsideTheBorder();
    void sideButtonTakesTheFocusBeforeItsEvent();
    void drawsAlignedTextWhileUnfocused();
    void passwordCharacterHidesTheText();
};

void UnboundEditsTest::completesShortenedDatesAndTimes_data()
{
    QTest::addColumn<TEditType>("mode");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("day") << ttDate << "8" << "8.12.2024" << true;
    QTest::newRow("day and month") << ttDate << "8.3" << "8.3.2024" << true;
    QTest::newRow("day and month with stop") << ttDate << "8.3." << "8.3.2024" << true;
    QTest::newRow("lone full stop") << ttDate << "." << "08.12.2024" << true;
    QTest::newRow("six digits") << ttDate << "050324" << "05.03.24" << true;
    QTest::newRow("dash") << ttDate << "8-3" << "8.3.2024" << true;
    QTest::newRow("slash and comma") << ttDate << "8/3,2023" << "8.3.2023" << true;
    QTest::newRow("full date") << ttDate << "05.03.2023" << "05.03.2023" << true;
    QTest::newRow("blanks around") << ttDate << " 8 " << "8.12.2024" << true;
    QTest::newRow("blanks inside") << ttDate << "5. 3." << "5. 3.2024" << true;
    QTest::newRow("blanks in a full date") << ttDate << "5. 3. 2023" << "5. 3. 2023" << true;
    QTest::newRow("empty") << ttDate << "" << "" << true;
    QTest::newRow("two stops together") << ttDate << "8..3" << "" << false;
    QTest::newRow("letter") << ttDate << "8a" << "" << false;
    QTest::newRow("three digits") << ttDate << "123" << "" << false;
    QTest::newRow("no such day") << ttDate << "32" << "32.12.2024" << false;
    QTest::newRow("hour") << ttTime << "8" << "8:00:00" << true;
    QTest::newRow("hour and minute") << ttTime << "8:30" << "8:30:00" << true;
    QTest::newRow("hour, minute, colon") << ttTime << "8.30." << "8:30:00" << true;
    QTest::newRow("lone colon") << ttTime << ":" << "00:00:00" << true;
    QTest::newRow("no such hour") << ttTime << "25" << "25:00:00" << false;
}

void UnboundEditsTest::completesShortenedDatesAndTimes()
{
    QFETCH(TEditType, mode);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QFETCH(bool, accepted);

    RecordingPrompter prompter;
    TEditTovel edit;
    edit.SetEditType(mode);
    QCOMPARE(edit.SetText(input), accepted);
    QCOMPARE(edit.Text(), expected);
    QCOMPARE(prompter.messages, accepted ? QStringList() : QStringList{" Chybný formát dat "});
}

void UnboundEditsTest::checksTheEditModeOnAssignment_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<TEditType>("mode");
    QTest::addColumn<int>("precision");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("string as it is") << "EditTovel" << ttString << 0 << 0 << " a,b " << " a,b " << true;
    QTest::newRow("integer") << "EditTovel" << ttInteger << 0 << 0 << "-12" << "-12" << true;
    QTest::newRow("empty integer") << "EditTovel" << ttInteger << 0 << 0 << "" << "" << true;
    QTest::newRow("integer with a decimal") << "EditTovel" << ttInteger << 0 << 0 << "1,5" << "1,5" << false;
    QTest::newRow("float to its standard form") << "EditTovel" << ttFloat << 10 << 2 << "12,5" << "12,50" << true;
    QTest::newRow("float to few significant digits") << "EditTovel" << ttFloat << 3 << 2 << "12,345" << "12,30"
                                                    << true;
    QTest::newRow("float rounded at the decimals") << "EditTovel" << ttFloat << 10 << 1 << "-0,04" << "0,0" << true;
    QTest::newRow("float unchecked without precision") << "EditTovel" << ttFloat << 0 << 0 << "1-2" << "1-2" << true;
    QTest::newRow("not a float") << "EditTovel" << ttFloat << 10 << 2 << "1-2" << "1-2" << false;
    QTest::newRow("VEdit float") << "VEdit" << ttFloat << 10 << 2 << "12,5" << "12,50" << true;
    QTest::newRow("VEdit date written out") << "VEdit" << ttDate << 0 << 0 << "5.3.2024" << "05.03.2024" << true;
    QTest::newRow("VEdit date not completed") << "VEdit" << ttDate << 0 << 0 << "8" << "8" << false;
    QTest::newRow("VEdit time written out") << "VEdit" << ttTime << 0 << 0 << "8:5" << "08:05:00" << true;
    QTest::newRow("VEdit time not completed") << "VEdit" << ttTime << 0 << 0 << "8" << "8" << false;
}

void UnboundEditsTest::checksTheEditModeOnAssignment()
{
    QFETCH(QString, kind);
    QFETCH(TEditType, mode);
    QFETCH(int, precision);
    QFETCH(int, digits);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QFETCH(bool, accepted);

    RecordingPrompter prompter;
    std::unique_ptr<TypedLineEdit> edit(makeEdit(kind));
    edit->SetEditType(mode);
    edit->SetFloatPrecision(precision);
    edit->SetFloatDigits(digits);
    QCOMPARE(edit->SetText(input), accepted);
    QCOMPARE(edit->Text(), expected);
    QCOMPARE(prompter.messages.size(), accepted ? 0 : 1);
}

void UnboundEditsTest::filtersTypedCharacters_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<TEditType>("mode");
    QTest::addColumn<int>("precision");
    QTest::addColumn<bool>("convert");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("whileTyping");
    QTest::addColumn<QString>("afterLeaving");

    QTest::newRow("letters dropped from integers") << "EditTovel" << ttInteger << 0 << false << "12ab3" << "123"
                                                   << "123";
    QTest::newRow("full stop to decimal comma") << "EditTovel" << ttFloat << 0 << false << "1.5" << "1,5" << "1,5";
    QTest::newRow("comma stays the decimal comma") << "EditTovel" << ttFloat << 0 << true << "1,5" << "1,5"
                                                   << "1,5";
    QTest::newRow("precision 0 passes anything typed") << "EditTovel" << ttFloat << 0 << false << "1-2" << "1-2"
                                                       << "1-2";
    QTest::newRow("standard form when left") << "EditTovel" << ttFloat << 10 << false << "12.5" << "12,5"
                                             << "12,50";
    QTest::newRow("date typed with commas") << "EditTovel" << ttDate << 0 << false << "8.3.2024" << "8,3,2024"
                                            << "8.3.2024";
    QTest::newRow("time") << "EditTovel" << ttTime << 0 << false << "8:30x" << "8:30" << "8:30:00";
    QTest::newRow("string unfiltered") << "EditTovel" << ttString << 0 << false << "a.b,c" << "a.b,c" << "a.b,c";
    QTest::newRow("VEdit comma to full stop") << "VEdit" << ttFloat << 0 << true << "x1,5" << "x1.5" << "x1.5";
    QTest::newRow("VEdit keeps commas unless asked") << "VEdit" << ttFloat << 0 << false << "1,5" << "1,5" << "1,5";
}

void UnboundEditsTest::filtersTypedCharacters()
{
    QFETCH(QString, kind);
    QFETCH(TEditType, mode);
    QFETCH(int, precision);
    QFETCH(bool, convert);
    QFETCH(QString, keys);
    QFETCH(QString, whileTyping);
    QFETCH(QString, afterLeaving);

    RecordingPrompter prompter;
    TwoEdits w(makeEdit(kind));
    w.first->SetEditType(mode);
    w.first->SetFloatPrecision(precision);
    w.first->SetFloatDigits(2);
    w.first->SetConvertDecimalSymbol(convert);
    QVERIFY(w.show());
    QTest::keyClicks(w.first, keys);
    QCOMPARE(w.first->Text(), whileTyping);
    QTest::keyClick(w.first, Qt::Key_Tab);
    QVERIFY(w.next->hasFocus());
    QCOMPARE(w.first->Text(), afterLeaving);
    QCOMPARE(prompter.messages, QStringList());
}

void UnboundEditsTest::dropsControlKeysInNumericModes_data()
{
    QTest::addColumn<TEditType>("mode");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");

    QTest::newRow("integer Ctrl+C") << ttInteger << int(Qt::Key_C) << "12" << "99";
    QTest::newRow("integer Ctrl+V") << ttInteger << int(Qt::Key_V) << "12" << "99";
    QTest::newRow("integer Ctrl+X") << ttInteger << int(Qt::Key_X) << "12" << "99";
    QTest::newRow("date Ctrl+V") << ttDate << int(Qt::Key_V) << "12" << "99";
    QTest::newRow("string Ctrl+V pastes") << ttString << int(Qt::Key_V) << "99" << "99";
    QTest::newRow("string Ctrl+C copies") << ttString << int(Qt::Key_C) << "12" << "12";
}

void UnboundEditsTest::dropsControlKeysInNumericModes()
{
    QFETCH(TEditType, mode);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);

    TwoEdits w(new TEditTovel);
    w.first->SetEditType(mode);
    w.first->setText("12");
    QVERIFY(w.show());
    QApplication::clipboard()->setText("99");
    w.first->selectAll();
    QTest::keyClick(w.first, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(w.first->Text(), text);
    QCOMPARE(QApplication::clipboard()->text(), clipboard);
}

void UnboundEditsTest::badTextKeepsTheFocus_data()
{
    QTest::addColumn<TEditType>("mode");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("textKept");

    QTest::newRow("two stops together") << ttDate << "8..3" << "";
    QTest::newRow("no such day") << ttDate << "32" << "32.12.2024";
    QTest::newRow("no such hour") << ttTime << "25" << "25:00:00";
    QTest::newRow("not an integer") << ttInteger << "1+2" << "1+2";
}

void UnboundEditsTest::badTextKeepsTheFocus()
{
    QFETCH(TEditType, mode);
    QFETCH(QString, keys);
    QFETCH(QString, textKept);

    RecordingPrompter prompter;
    TwoEdits w(new TEditTovel);
    w.first->SetEditType(mode);
    QVERIFY(w.show());
    QTest::keyClicks(w.first, keys);
    QTest::keyClick(w.first, Qt::Key_Tab);

    QCOMPARE(prompter.messages, QStringList{" Chybný formát dat "});
    QVERIFY(w.first->hasFocus());
    QCOMPARE(w.first->Text(), textKept);
    QCOMPARE(w.first->selectedText(), textKept);
    QCOMPARE(w.firstExits, 0);
    QCOMPARE(w.firstTabExits, 0);
    QCOMPARE(w.nextExits, 0);   // the neighbour held the focus only for a moment

    // Corrected, the control lets the focus go.
    QTest::keyClick(w.first, Qt::Key_Backspace);
    QTest::keyClicks(w.first, "1");
    QTest::keyClick(w.first, Qt::Key_Tab);
    QVERIFY(w.next->hasFocus());
    QCOMPARE(w.firstExits, 1);
    QCOMPARE(w.firstTabExits, 1);
    QCOMPARE(prompter.messages.size(), 1);
}

// Shows every message in a real modal window that the user confirms at once.
class ModalPrompter final : public Prompter {
public:
    ModalPrompter() { setPrompter(this); }
    ~ModalPrompter() override { setPrompter(nullptr); }
    void ShowMessage(const QString &text) override
    {
        messages << text;
        QWidget *owner = QApplication::activeWindow();
        QDialog box;
        QTimer::singleShot(50, &box, &QDialog::accept);
        box.exec();
        // A desktop gives the activation back to the owner; the offscreen platform does not.
        if (owner) {
            owner->activateWindow();
            activated = QTest::qWaitForWindowActive(owner);
        }
    }
    bool Confirm(const QString &text) override
    {
        ShowMessage(text);
        return true;
    }
    QStringList messages;
    bool activated = false;
};

void UnboundEditsTest::modalMessageLeavesTheNeighbourAlone()
{
    // While the message box is up the window loses and regains activation, and the
    // neighbour holds the focus for a moment; it must not run its own check.
    ModalPrompter prompter;
    TwoEdits w(new TEditTovel);
    w.first->SetEditType(ttInteger);
    w.next->SetEditType(ttInteger);
    w.next->setText("3+4");
    QVERIFY(w.show());
    QTest::keyClicks(w.first, "1+2");
    QTest::keyClick(w.first, Qt::Key_Tab);

    QCOMPARE(prompter.messages, QStringList{" Chybný formát dat "});
    QVERIFY(prompter.activated);
    QVERIFY(w.first->hasFocus());
    QCOMPARE(w.nextExits, 0);
    QCOMPARE(w.next->Text(), "3+4");
}

void UnboundEditsTest::enterMovesLikeTabAndNeverClosesTheDialog()
{
    RecordingPrompter prompter;
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *edit = new TEditTovel;
    auto *vedit = new TVEdit;
    auto *date = new TZandorDateEdit;
    auto *ok = new QPushButton("OK");
    ok->setDefault(true);
    ok->setFocusPolicy(Qt::NoFocus);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    for (QWidget *w : {static_cast<QWidget *>(edit), static_cast<QWidget *>(vedit),
                       static_cast<QWidget *>(date), static_cast<QWidget *>(ok)})
        layout->addWidget(w);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    edit->setText("abc");
    vedit->setText("xyz");
    QVERIFY(showActive(dialog));
    edit->setFocus(Qt::TabFocusReason);

    const QList<QWidget *> expectedOrder{vedit, date, edit, vedit};
    for (QWidget *expected : expectedOrder) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), expected);
    }
    QCOMPARE(vedit->selectedText(), "xyz");   // entered with the whole text selected
    QCOMPARE(edit->Text(), "abc");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(QApplication::focusWidget(), date);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), vedit);
    QVERIFY(dialog.isVisible());
    QCOMPARE(accepted.count(), 0);

    // Without EnterIsTab the window gets the Enter: its default button reacts.
    vedit->SetEnterIsTab(false);
    QTest::keyClick(vedit, Qt::Key_Return);
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(prompter.messages, QStringList());
}

void UnboundEditsTest::tabExitReportsTheShiftKeysAndSpaceCanBeTaken()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *first = new TEditTovel;
    auto *second = new TVEdit;
    auto *date = new TZandorDateEdit;
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addWidget(date);
    QList<std::pair<QWidget *, Qt::KeyboardModifiers>> tabExits;
    QList<QWidget *> spaces;
    for (auto *edit : {static_cast<TypedLineEdit *>(first), static_cast<TypedLineEdit *>(second)}) {
        edit->OnTabExit = [&](QWidget *sender, Qt::KeyboardModifiers shift) { tabExits.append({sender, shift}); };
        edit->OnClickSpace = [&](QWidget *sender) { spaces.append(sender); };
    }
    date->OnTabExit = [&](QWidget *sender, Qt::KeyboardModifiers shift) { tabExits.append({sender, shift}); };
    date->OnClickSpace = [&](QWidget *sender) { spaces.append(sender); };
    QVERIFY(showActive(window));
    first->setFocus(Qt::TabFocusReason);

    QTest::keyClick(first, Qt::Key_Tab);
    QTest::keyClick(second, Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(first, Qt::Key_Return);
    QTest::keyClick(second, Qt::Key_Return);
    QTest::keyClick(date, Qt::Key_Return);
    using Exit = std::pair<QWidget *, Qt::KeyboardModifiers>;
    const QList<Exit> expected{Exit{first, Qt::NoModifier}, Exit{second, Qt::ShiftModifier},
                               Exit{first, Qt::NoModifier}, Exit{second, Qt::NoModifier},
                               Exit{date, Qt::NoModifier}};
    QCOMPARE(tabExits, expected);

    // Leaving by another way than Tab or Enter raises no OnTabExit.
    QVERIFY(first->hasFocus());
    second->setFocus(Qt::MouseFocusReason);
    QCOMPARE(tabExits.size(), expected.size());

    // Space goes to the handler and is not typed; without a handler it is typed.
    second->setText("ab");
    QTest::keyClick(second, Qt::Key_Space);
    QCOMPARE(second->Text(), "ab");
    date->setFocus(Qt::TabFocusReason);
    QTest::keyClick(date, Qt::Key_Space);
    QCOMPARE(spaces, (QList<QWidget *>{second, date}));
    second->OnClickSpace = nullptr;
    second->setFocus(Qt::TabFocusReason);
    second->end(false);
    QTest::keyClick(second, Qt::Key_Space);
    QCOMPARE(second->Text(), "ab ");
}

void UnboundEditsTest::enterGoesToAnOpenCalendar()
{
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *date = new TZandorDateEdit;
    auto *next = new TEditTovel;
    auto *ok = new QPushButton("OK");
    ok->setDefault(true);
    ok->setFocusPolicy(Qt::NoFocus);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(date);
    layout->addWidget(next);
    layout->addWidget(ok);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    date->SetDate(QDate(2024, 3, 5));
    QVERIFY(showActive(dialog));
    date->setFocus(Qt::TabFocusReason);

    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(date->width() - 8, date->height() / 2));   // the arrow
    QTRY_VERIFY(date->calendarWidget()->isVisible());
    // Keys go to the window as the keyboard sends them; the open calendar takes them.
    QWindow *window = dialog.windowHandle();
    QTest::keyClick(window, Qt::Key_Right);
    QTest::keyClick(window, Qt::Key_Return);
    QTRY_VERIFY(!date->calendarWidget()->isVisible());
    QCOMPARE(date->Date(), QDate(2024, 3, 6));
    QTRY_COMPARE(QApplication::focusWidget(), date);

    QTest::keyClick(window, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), next);
    QVERIFY(dialog.isVisible());
    QCOMPARE(accepted.count(), 0);
}

void UnboundEditsTest::sideButtonSitsInsideTheBorder()
{
    QWidget window;
    auto *edit = new TEditTovel(&window);
    edit->setGeometry(10, 10, 200, 30);
    QVERIFY(showActive(window));
    SideButton *button = edit->Button();

    QVERIFY(!button->isVisible());
    QCOMPARE(edit->textMargins().right(), 0);

    edit->SetButtonVisible(true);
    QVERIFY(button->isVisible());
    QCOMPARE(edit->ButtonWidth(), 15);
    QCOMPARE(button->width(), 15);
    QCOMPARE(edit->textMargins().right(), 15);
    const QRect inside = edit->rect();
    QVERIFY(inside.contains(button->geometry()));
    QVERIFY(button->geometry().right() < inside.right());   // inside the border
    QVERIFY(button->geometry().top() > inside.top());
    QCOMPARE(button->geometry().bottom(), inside.bottom() - button->geometry().top());

    edit->SetButtonWidth(5);
    QCOMPARE(edit->ButtonWidth(), 15);
    edit->SetButtonWidth(40);
    QCOMPARE(button->width(), 40);
    QCOMPARE(edit->textMargins().right(), 40);
    edit->SetButtonWidth(500);
    QCOMPARE(edit->ButtonWidth(), 200);
    edit->resize(120, 30);
    QCOMPARE(edit->ButtonWidth(), 120);
    QCOMPARE(button->width(), 120);

    edit->SetButtonWidth(20);
    edit->SetButtonVisible(false);
    QVERIFY(!button->isVisible());
    QCOMPARE(edit->textMargins().right(), 0);
}

void UnboundEditsTest::sideButtonTakesTheFocusBeforeItsEvent()
{
    RecordingPrompter prompter;
    TwoEdits w(new TEditTovel);
    auto *withButton = w.next;
    withButton->SetButtonVisible(true);
    QList<QWidget *> clicks;
    withButton->OnClickButton = [&](QWidget *sender) {
        QVERIFY(sender->hasFocus());
        clicks.append(sender);
    };
    QVERIFY(w.show());
    QVERIFY(w.first->hasFocus());

    QTest::mouseClick(withButton->Button(), Qt::LeftButton);
    QCOMPARE(clicks, QList<QWidget *>{withButton});
    QVERIFY(withButton->hasFocus());

    // A neighbour that refuses to be left keeps the focus, and the button does nothing.
    w.first->SetEditType(ttInteger);
    w.first->setText("1+2");
    w.first->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(withButton->Button(), Qt::LeftButton);
    QCOMPARE(clicks.size(), 1);
    QVERIFY(w.first->hasFocus());
    QCOMPARE(prompter.messages, QStringList{" Chybný formát dat "});
}

void UnboundEditsTest::drawsAlignedTextWhileUnfocused()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new TEditTovel;
    auto *vedit = new TVEdit;
    auto *other = new TEditTovel;
    for (TypedLineEdit *e : {static_cast<TypedLineEdit *>(edit), static_cast<TypedLineEdit *>(vedit)}) {
        e->setFixedWidth(200);
        e->setText("12");
        e->SetAlignment(taRightJustify);
        layout->addWidget(e);
    }
    layout->addWidget(other);
    QVERIFY(showActive(window));
    other->setFocus(Qt::TabFocusReason);

    for (TypedLineEdit *e : {static_cast<TypedLineEdit *>(edit), static_cast<TypedLineEdit *>(vedit)}) {
        const QRect textArea = e->rect().adjusted(4, 4, -4, -4);
        auto [left, right] = inkExtent(e->grab().toImage(), textArea);
        QVERIFY2(left > e->width() / 2, qPrintable(QString("unfocused text starts at %1").arg(left)));

        e->setFocus(Qt::TabFocusReason);
        std::tie(left, right) = inkExtent(e->grab().toImage(), textArea);
        QVERIFY2(right < e->width() / 2, qPrintable(QString("focused text ends at %1").arg(right)));
        other->setFocus(Qt::TabFocusReason);
    }

    // TVEdit frames the aligned text with a line in the window-frame colour.
    const QImage framed = vedit->grab().toImage();
    QVERIFY(qGray(framed.pixel(0, vedit->height() / 2)) < 100);
    QVERIFY(qGray(framed.pixel(vedit->width() / 2, 0)) < 100);
}

void UnboundEditsTest::passwordCharacterHidesTheText()
{
    TEditTovel edit;
    edit.setText("heslo");
    edit.SetPasswordChar(u'*');
    QCOMPARE(edit.displayText(), "*****");
    QCOMPARE(edit.Text(), "heslo");
    edit.SetAlignment(taCenter);
    edit.SetPasswordChar(QChar());
    QCOMPARE(edit.displayText(), "heslo");
}

QTEST_MAIN(UnboundEditsTest)
#include "test_unbound_edits.moc"
