#include "form_podklady_import_form.h"

#include "edittovel.h"
#include "keypreview.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FormPodkladyImportDialog::FormPodkladyImportDialog(TFormPodkladyImport &commands, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_commands(commands), m_number(new TEditTovel(this)),
      m_storno(new QPushButton(QStringLiteral("Storno"), this)),
      m_import(new QPushButton(QStringLiteral("Import"), this))
{
    setWindowTitle(TFormPodkladyImport::Caption());
    m_number->setMaxLength(10);
    m_number->SetText(commands.EditTovel1Text);
    // Neither button reacts to Enter by itself: Enter only moves on from the number.
    for (QPushButton *b : {m_storno, m_import}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto *label = new QLabel(QStringLiteral("Číslo dokladu  podkladů dodávky"), this);
    label->setBuddy(m_number);
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_number);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_storno);
    buttons->addWidget(m_import);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    setTabOrder(m_number, m_storno);
    setTabOrder(m_storno, m_import);

    connect(m_storno, &QPushButton::clicked, this, [this] { m_commands.Button1Click(); });
    connect(m_import, &QPushButton::clicked, this, [this] { m_commands.Button2Click(); });
    connect(&m_commands, &FormCommands::closeRequested, this, [this](int result) { done(result); });
    new KeyPreview(this, [this](QKeyEvent *e) { return m_commands.FormKeyDown(e->key(), e->modifiers()); });
}

QWidget *FormPodkladyImportDialog::control(TFormPodkladyImport::Control c) const
{
    switch (c) {
    case TFormPodkladyImport::EditTovel1: return m_number;
    case TFormPodkladyImport::Button1: return m_storno;
    case TFormPodkladyImport::Button2: return m_import;
    }
    return nullptr;
}

void FormPodkladyImportDialog::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (QWidget *w = control(TFormPodkladyImport::Control(m_commands.ActiveControl)))
        w->setFocus(Qt::OtherFocusReason);
}

void FormPodkladyImportDialog::done(int result)
{
    m_commands.EditTovel1Text = m_number->Text();
    m_commands.ModalResult = result == mrOk ? mrOk : mrCancel;
    QDialog::done(result);
}
