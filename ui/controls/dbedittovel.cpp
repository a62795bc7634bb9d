#include "dbedittovel.h"

#include "core/errors.h"
#include "core/prompter.h"
#include "datetimecompletion.h"
#include "keyrouting.h"
#include "referenceclock.h"
#include "separators.h"
#include "store/table.h"

#include <QKeyEvent>

namespace {

constexpr int kUnlimitedLength = 32767;   // QLineEdit's own default

} // namespace

TDBEditTovel::TDBEditTovel(QWidget *parent)
    : QLineEdit(parent)
    , SideButtonControl(this)
    , m_link(new FieldLink(this))
    , m_created(ReferenceNow())
{
    SetColorDisable(palette().color(QPalette::Active, QPalette::Base));
    connect(m_link, &FieldLink::changed, this, &TDBEditTovel::showField);
    connect(this, &QLineEdit::textEdited, this, [this] { m_showsField = false; });
    showField();
}

void TDBEditTovel::SetText(const QString &text)
{
    setText(text);
    m_showsField = false;
}

void TDBEditTovel::SetColorDisable(const QColor &color)
{
    m_colorDisable = color;
    QPalette p = palette();
    p.setColor(QPalette::Disabled, QPalette::Base, color);
    setPalette(p);
}

void TDBEditTovel::showField()
{
    QString shown;
    const store::Field *f = m_link->field();
    // Typing stops at the size of a text field, which would cut a longer text silently.
    const bool sized = f && f->def().type == store::FieldType::String && f->def().size > 0;
    setMaxLength(sized ? f->def().size : kUnlimitedLength);
    if (f) {
        try {
            shown = m_visit.active() ? f->EditText() : f->DisplayText();
        } catch (const AppError &) {
            shown.clear();   // a record that cannot be shown shows nothing
        }
    }
    setText(shown);
    setReadOnly(!m_link->editing());
    m_showsField = true;
}

bool TDBEditTovel::takesDecimals() const
{
    if (m_editType == tetFloat)
        return true;
    const store::Field *f = m_link->field();
    return f && f->def().type == store::FieldType::Float;
}

void TDBEditTovel::keyPressEvent(QKeyEvent *e)
{
    if (IsEnterKey(e) && m_enterIsTab) {
        SendTabFor(this, e);
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        // The window gets the Escape too (its cancel button or its own key handling).
        showField();
        selectAll();
        e->ignore();
        return;
    }
    const std::optional<QChar> typed = TypedCharacter(e);
    if (typed && (*typed == u',' || *typed == u'.') && takesDecimals()) {
        QKeyEvent replaced = KeyTyping(e, decimalSeparator());
        QLineEdit::keyPressEvent(&replaced);
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TDBEditTovel::keyReleaseEvent(QKeyEvent *e)
{
    if (IsEnterKey(e) && m_enterIsTab)
        return;
    QLineEdit::keyReleaseEvent(e);
}

void TDBEditTovel::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    if (!m_visit.entered(e))
        return;
    if (m_showsField)
        showField();   // the edit form of the value: no thousands separators
    selectAll();
}

void TDBEditTovel::focusOutEvent(QFocusEvent *e)
{
    const bool leaving = m_visit.left(e);
    QLineEdit::focusOutEvent(e);
    if (leaving)
        leave();
}

void TDBEditTovel::leave()
{
    if (shouldValidate() && !validate())
        return;
    if (!writeToField()) {
        ReturnFocus(this);
        selectAll();
        return;
    }
    showField();
    if (OnExit)
        RunHandler([this] { OnExit(this); });
}

bool TDBEditTovel::CommitText()
{
    if (m_showsField)
        return true;
    if (shouldValidate() && !validate())
        return false;
    if (!writeToField()) {
        selectAll();
        return false;
    }
    showField();
    return true;
}

bool TDBEditTovel::validate()
{
    QString text = this->text();
    bool valid = true;
    if (m_editType == tetDate || m_editType == tetTime) {
        const QDateTime reference = m_dateTimeType == tdtUser ? m_created : ReferenceNow();
        const std::optional<QString> completed = m_editType == tetDate ? CompleteDate(text, reference.date())
                                                                        : CompleteTime(text, reference.time());
        valid = completed.has_value();
        text = completed.value_or(QString());
    }
    if (OnValid && !RunHandler([&] { OnValid(this, text, valid); })) {
        ReturnFocus(this);   // the handler failed and has been reported: nothing is written
        return false;
    }
    if (text != this->text())
        SetText(text);
    if (valid)
        return true;
    ReturnFocus(this);
    if (OnError)
        RunHandler([this] { OnError(this); });
    else if (!m_errorString.isEmpty())
        prompter().ShowMessage(m_errorString);
    return false;
}

bool TDBEditTovel::shouldValidate() const
{
    switch (m_whenValid) {
    case twvAlways:
        return true;
    case twvWhenEdit:
        return m_link->editing();
    case twvWhenChange:
        return textDiffersFromField();
    case twvNone:
        break;
    }
    return false;
}

bool TDBEditTovel::textDiffersFromField() const
{
    const store::Field *f = m_link->field();
    if (!f)
        return false;
    try {
        return text() != f->EditText();
    } catch (const AppError &) {
        return true;
    }
}

bool TDBEditTovel::writeToField()
{
    store::Field *f = m_link->field();
    if (!f || !textDiffersFromField())
        return true;
    const QString typed = text();
    return RunHandler([&] { f->SetAsString(typed); });
}
