#include "zandordateedit.h"

#include "datetimecompletion.h"

#include "core/errors.h"
#include "core/textutil.h"
#include "store/table.h"

#include <QCalendarWidget>
#include <QKeyEvent>

ZandorDateEditBase::ZandorDateEditBase(QWidget *parent)
    : QDateEdit(parent)
{
    setDisplayFormat(kShortDateFormat);
    setCalendarPopup(true);
    // The minimum stands for the blank date and shows as a blank.
    setSpecialValueText(QStringLiteral(" "));
    setDate(minimumDate());
}

QDate ZandorDateEditBase::Date() const
{
    const QDate d = date();
    return d == minimumDate() ? QDate() : d;
}

void ZandorDateEditBase::SetDate(const QDate &date) { setDate(date.isValid() ? date : minimumDate()); }

bool ZandorDateEditBase::calendarShown() const
{
    const QCalendarWidget *calendar = calendarWidget();
    return calendar && calendar->isVisible();
}

bool ZandorDateEditBase::event(QEvent *e)
{
    if (e->type() == QEvent::KeyPress)
        m_tab.noteKeyPress(static_cast<QKeyEvent *>(e));
    return QDateEdit::event(e);
}

void ZandorDateEditBase::keyPressEvent(QKeyEvent *e)
{
    if (IsEnterKey(e) && m_enterIsTab && !calendarShown()) {
        SendTabFor(this, e);
        return;
    }
    if (e->key() == Qt::Key_Space && OnClickSpace)
        RunHandler([this] { OnClickSpace(this); });
    const QString text = e->text();
    if (text.size() == 1 && IsTypedSeparator(text.front()) && !(e->modifiers() & Qt::ControlModifier)) {
        typeSeparator();
        return;
    }
    const int part = currentSectionIndex();
    QDateEdit::keyPressEvent(e);
    m_partTyped = currentSectionIndex() == part;
}

void ZandorDateEditBase::typeSeparator()
{
    const int part = currentSectionIndex();
    // The toolkit's own step to the next part, which leaves the control after the last
    // part: taken only where a part follows.
    if (m_partTyped && part >= 0 && part + 1 < sectionCount())
        QDateEdit::focusNextPrevChild(true);
    m_partTyped = false;
}

void ZandorDateEditBase::keyReleaseEvent(QKeyEvent *e)
{
    if (IsEnterKey(e) && m_enterIsTab && !calendarShown())
        return;
    QDateEdit::keyReleaseEvent(e);
}

void ZandorDateEditBase::focusInEvent(QFocusEvent *e)
{
    QDateEdit::focusInEvent(e);
    // Shift+Tab enters at the day too (the toolkit would start at the year).
    if (e->reason() == Qt::BacktabFocusReason) {
        setCurrentSectionIndex(0);
        setSelectedSection(sectionAt(0));
    }
    m_partTyped = false;
    m_visit.entered(e);
}

void ZandorDateEditBase::focusOutEvent(QFocusEvent *e)
{
    const bool leaving = m_visit.left(e);
    QDateEdit::focusOutEvent(e);   // the toolkit checks and fixes the typed date first
    if (!leaving)
        return;
    const bool byTab = m_tab.flag();
    m_tab.clear();
    if (!commitOnLeave()) {
        ReturnFocus(this);
        return;
    }
    if (OnExit)
        RunHandler([this] { OnExit(this); });
    if (byTab && OnTabExit)
        RunHandler([this] { OnTabExit(this, m_tab.shift()); });
    update();
}

bool ZandorDateEditBase::CommitDate()
{
    interpretText();   // the toolkit's check of the typed date, as on leaving
    return commitOnLeave();
}

bool ZandorDateEditBase::focusNextPrevChild(bool next)
{
    // Tab leaves the control; the sections are reached by typing and the arrow keys.
    return QWidget::focusNextPrevChild(next);
}

TZandorDateEdit::TZandorDateEdit(QWidget *parent)
    : ZandorDateEditBase(parent)
{
}

TZandorDBDateEdit::TZandorDBDateEdit(QWidget *parent)
    : ZandorDateEditBase(parent)
    , m_link(new FieldLink(this))
{
    connect(m_link, &FieldLink::changed, this, &TZandorDBDateEdit::showField);
    showField();
}

void TZandorDBDateEdit::showField()
{
    QDate shown;
    if (const store::Field *f = m_link->field()) {
        try {
            shown = f->AsDate();
        } catch (const AppError &) {
            shown = QDate();   // a value that is no date shows blank
        }
    }
    SetDate(shown);
    setReadOnly(!m_link->editing());
}

bool TZandorDBDateEdit::commitOnLeave()
{
    store::Field *f = m_link->field();
    if (!f)
        return true;
    const QDate typed = Date();
    return RunHandler([&] {
        if (typed == f->AsDate())
            return;
        if (typed.isNull())
            f->Clear();
        else
            f->SetAsDate(typed);
    });
}
