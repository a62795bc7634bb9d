#include "search_dialogs_form.h"

#include "edittovel.h"
#include "keypreview.h"
#include "keyrouting.h"
#include "vedit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

SearchDialogForm::SearchDialogForm(SearchDialog &commands, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_commands(commands)
{
    setWindowTitle(commands.Title);
    auto *layout = new QVBoxLayout(this);
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < commands.Options.size(); ++i) {
        auto *radio = new QRadioButton(commands.Options[i].caption);
        radio->setObjectName(commands.Options[i].control);
        group->addButton(radio, i);
        layout->addWidget(radio);
        m_radios.append(radio);
    }
    const bool numeric = std::any_of(commands.Options.begin(), commands.Options.end(),
                                     [](const SearchOption &o) { return o.number; });
    if (numeric) {
        auto *edit = new TEditTovel;
        edit->SetConvertDecimalSymbol(true);
        edit->SetFloatPrecision(0);
        edit->SetFloatDigits(0);
        m_field = edit;
    } else {
        m_field = new TVEdit;
    }
    m_field->setObjectName(QStringLiteral("VEdit1"));
    auto *label = new QLabel(QStringLiteral("Hledej tento text"));
    label->setBuddy(m_field);
    layout->addWidget(label);
    layout->addWidget(m_field);
    m_hledej = new QPushButton(QStringLiteral("&Hledej"));
    m_storno = new QPushButton(QStringLiteral("Storno"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_hledej);
    buttons->addWidget(m_storno);
    layout->addLayout(buttons);

    QWidget *previous = m_radios.last();
    for (QWidget *w : {static_cast<QWidget *>(m_field), static_cast<QWidget *>(m_hledej),
                       static_cast<QWidget *>(m_storno)}) {
        setTabOrder(previous, w);
        previous = w;
    }

    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            m_commands.SelectOption(id);
    });
    connect(m_field, &QLineEdit::textChanged, this, [this](const QString &t) { m_commands.SetText(t); });
    connect(m_hledej, &QPushButton::clicked, this, [this] { m_commands.BitBtn1Click(); });
    connect(m_storno, &QPushButton::clicked, this, [this] { m_commands.BitBtn2Click(); });
    connect(&m_commands, &SearchDialog::changed, this, &SearchDialogForm::showState);
    connect(&m_commands, &FormCommands::closeRequested, this, [this](int result) { done(result); });
    connect(&m_commands, &FormCommands::focusRequested, this, [this](int c) {
        if (QWidget *w = control(c))
            w->setFocus(Qt::OtherFocusReason);
    });
    new KeyPreview(this, [this](QKeyEvent *e) { return keyDown(e); });
    showState();
}

QWidget *SearchDialogForm::control(int c) const
{
    switch (c) {
    case SearchDialog::VEdit1:
        return m_field;
    case SearchDialog::BitBtn1:
        return m_hledej;
    case SearchDialog::BitBtn2:
        return m_storno;
    default:
        return c >= 0 && c < m_radios.size() ? m_radios[c] : nullptr;
    }
}

void SearchDialogForm::showState()
{
    if (!m_radios[m_commands.Selected]->isChecked())
        m_radios[m_commands.Selected]->setChecked(true);
    m_field->SetEditType(m_commands.FloatField() ? ttFloat : ttString);
    if (m_field->text() != m_commands.Text)
        m_field->setText(m_commands.Text);
    m_hledej->setEnabled(m_commands.HledejEnabled);
}

bool SearchDialogForm::keyDown(QKeyEvent *e)
{
    if (m_commands.FormKeyDown(e->key()))
        return true;
    QWidget *focus = QApplication::focusWidget();
    if (m_radios.contains(focus)) {
        m_commands.RadioKeyDown(e->key());
        return IsEnterKey(e);
    }
    if (focus == m_field && TypedCharacter(e))
        m_commands.FieldKeyPressed();
    return false;
}

void SearchDialogForm::place()
{
    adjustSize();
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = m_commands.CentreOnOwner && owner ? owner->frameGeometry()
                                                         : screen()->availableGeometry();
    move(area.center() - rect().center());
}

void SearchDialogForm::showEvent(QShowEvent *e)
{
    m_commands.FormShow();
    place();
    QDialog::showEvent(e);
}

void SearchDialogForm::reject() { m_commands.BitBtn2Click(); }

int RunSearchDialog(SearchDialog &commands, QWidget *owner)
{
    SearchDialogForm form(commands, owner);
    return RunModal(form);
}

int RunModal(QDialog &dialog)
{
    const int result = dialog.exec();
    if (QWidget *opener = dialog.parentWidget())
        opener->activateWindow();
    return result == mrOk ? mrOk : mrCancel;
}
