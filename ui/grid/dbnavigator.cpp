#include "dbnavigator.h"

#include "app/core/errors.h"
#include "app/core/prompter.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

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
    connect(source, &store::DataSource::dataChanged, this, &TDBNavigator::updateButtons);
    connect(source, &store::DataSource::stateChanged, this, &TDBNavigator::updateButtons);
    updateButtons();
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
    const store::Table *t = m_source->DataSet();
    const bool active = t && t->Active();
    const bool bof = !active || t->Bof();
    const bool eof = !active || t->Eof();
    m_buttons[nbFirst]->setEnabled(!bof);
    m_buttons[nbPrior]->setEnabled(!bof);
    m_buttons[nbNext]->setEnabled(!eof);
    m_buttons[nbLast]->setEnabled(!eof);
}
