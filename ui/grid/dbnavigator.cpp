#include "dbnavigator.h"

#include "core/errors.h"
#include "core/prompter.h"

#include <QHBoxLayout>
#include <QMetaObject>
#include <QStyle>
#include <QToolButton>
#include <tuple>

TDBNavigator::TDBNavigator(store::DataSource *source, QWidget *parent) : QWidget(parent), m_source(source)
{
    struct Look {
        QStyle::StandardPixmap icon;
        const char *tip;
    };
    static const Look looks[4] = {
        {QStyle::SP_MediaSkipBackward, "První záznam"},
        {QStyle::SP_MediaSeekBackward, "Předchozí záznam"},
        {QStyle::SP_MediaSeekForward, "Další záznam"},
        {QStyle::SP_MediaSkipForward, "Poslední záznam"},
    };
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int b = nbFirst; b <= nbLast; ++b) {
        auto *button = new QToolButton(this);
        button->setIcon(style()->standardIcon(looks[b].icon));
        button->setToolTip(QString::fromUtf8(looks[b].tip));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, b] { BtnClick(Button(b)); });
        layout->addWidget(button);
        m_buttons[b] = button;
    }
    connect(source, &store::DataSource::dataChanged, this, &TDBNavigator::scheduleUpdate);
    connect(source, &store::DataSource::stateChanged, this, &TDBNavigator::scheduleUpdate);
    updateButtons();
}

void TDBNavigator::scheduleUpdate()
{
    const store::Table *t = m_source->DataSet();
    if (!t || !t->Active()) {
        updateButtons();   // closed: nothing to look up
        return;
    }
    if (m_updatePending)
        return;
    m_updatePending = true;
    QMetaObject::invokeMethod(this, &TDBNavigator::updateButtons, Qt::QueuedConnection);
}

void TDBNavigator::BtnClick(Button b)
{
    store::Table *t = m_source->DataSet();
    if (!t)
        return;
    try {
        switch (b) {
        case nbFirst:
            t->First();
            break;
        case nbPrior:
            t->Prior();
            break;
        case nbNext:
            t->Next();
            break;
        case nbLast:
            t->Last();
            break;
        }
    } catch (const AppError &e) {
        prompter().ShowMessage(e.text());
    }
    updateButtons();
}

void TDBNavigator::updateButtons()
{
    m_updatePending = false;
    const store::Table *t = m_source->DataSet();
    bool atFirst = true, atLast = true;
    if (t && t->Active())
        std::tie(atFirst, atLast) = position(*m_source->DataSet());
    m_buttons[nbFirst]->setEnabled(!atFirst);
    m_buttons[nbPrior]->setEnabled(!atFirst);
    m_buttons[nbNext]->setEnabled(!atLast);
    m_buttons[nbLast]->setEnabled(!atLast);
}

// Whether the current record is the first and the last of the table in its order. The
// table's own flags tell only how it got there (First sets one, a search or a change of
// index neither), so the rows on either side are looked up: one row each way.
std::pair<bool, bool> TDBNavigator::position(store::Table &t)
{
    const store::Bookmark current = t.GetBookmark();
    if (!current.isValid())   // a new row being inserted: where it will stand is not known
        return {t.Bof(), t.Eof()};
    try {
        return {t.ReadRows(current, 1, false).isEmpty(), t.ReadRows(current, 1, true).isEmpty()};
    } catch (const AppError &) {
        return {t.Bof(), t.Eof()};   // the record is gone or unreadable: the flags are all there is
    }
}
