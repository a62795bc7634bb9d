#include "ses_preh_dod_od_do_form.h"

#include "keypreview.h"
#include "zandordateedit.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

SesPrehDodOdDoForm::SesPrehDodOdDoForm(TSesPrehDodOdDo &commands, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_commands(commands), m_from(new TZandorDateEdit(this)), m_to(new TZandorDateEdit(this)),
      m_order(new QGroupBox(QStringLiteral("Setřízení sestavy"), this)),
      m_byNumber(new QRadioButton(QStringLiteral("Setřízeno dle císla dokladu"), m_order)),
      m_bySupplier(new QRadioButton(QStringLiteral("Setřízeno dle dodavatele"), m_order)),
      m_excel(new QCheckBox(QStringLiteral("Export data do souboru XLS ( MS Excel )"), this)),
      m_storno(new QPushButton(QStringLiteral("Storno"), this)),
      m_start(new QPushButton(QStringLiteral("Start"), this))
{
    setWindowTitle(TSesPrehDodOdDo::Caption());
    m_from->SetDate(commands.ZandorDateEdit1Date);
    m_to->SetDate(commands.ZandorDateEdit2Date);
    (commands.TrizeniItemIndex == 1 ? m_bySupplier : m_byNumber)->setChecked(true);
    m_excel->setChecked(commands.CheckBox1Checked);
    // Neither button reacts to Enter by itself: Enter only moves the focus.
    for (QPushButton *b : {m_storno, m_start}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto *dates = new QFormLayout;
    dates->addRow(QStringLiteral("Přehled dokl. vyst. od data"), m_from);
    dates->addRow(QStringLiteral("do data"), m_to);
    auto *choices = new QVBoxLayout(m_order);
    choices->addWidget(m_byNumber);
    choices->addWidget(m_bySupplier);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_storno);
    buttons->addWidget(m_start);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addWidget(m_order);
    layout->addWidget(m_excel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(m_from, m_to);
    setTabOrder(m_to, m_byNumber);
    setTabOrder(m_byNumber, m_excel);
    setTabOrder(m_excel, m_storno);
    setTabOrder(m_storno, m_start);

    connect(m_excel, &QCheckBox::toggled, this, [this](bool on) { m_commands.CheckBox1Checked = on; });
    connect(m_storno, &QPushButton::clicked, this, [this] { m_commands.Button2Click(); });
    connect(m_start, &QPushButton::clicked, this, [this] {
        takeChoices();
        m_commands.Button1Click();
    });
    connect(&m_commands, &FormCommands::focusRequested, this, [this](int c) {
        if (QWidget *w = control(TSesPrehDodOdDo::Control(c)))
            w->setFocus(Qt::TabFocusReason);
    });
    connect(&m_commands, &FormCommands::closeRequested, this, [this](int result) { done(result); });
    new KeyPreview(this, [this](QKeyEvent *e) { return m_commands.FormKeyDown(e->key(), e->modifiers(), focusedControl()); });
}

QWidget *SesPrehDodOdDoForm::control(TSesPrehDodOdDo::Control c) const
{
    switch (c) {
    case TSesPrehDodOdDo::ZandorDateEdit1: return m_from;
    case TSesPrehDodOdDo::ZandorDateEdit2: return m_to;
    case TSesPrehDodOdDo::Trizeni: return m_bySupplier->isChecked() ? m_bySupplier : m_byNumber;
    case TSesPrehDodOdDo::CheckBox1: return m_excel;
    case TSesPrehDodOdDo::Button2: return m_storno;
    case TSesPrehDodOdDo::Button1: return m_start;
    }
    return nullptr;
}

QRadioButton *SesPrehDodOdDoForm::choice(int index) const
{
    return index == 1 ? m_bySupplier : m_byNumber;
}

int SesPrehDodOdDoForm::focusedControl() const
{
    const QWidget *focus = QApplication::focusWidget();
    for (int c = TSesPrehDodOdDo::ZandorDateEdit1; c <= TSesPrehDodOdDo::Button1; ++c) {
        const QWidget *w = control(TSesPrehDodOdDo::Control(c));
        if (focus && w && (focus == w || w->isAncestorOf(focus)))
            return c;
    }
    if (focus == m_byNumber || focus == m_bySupplier)
        return TSesPrehDodOdDo::Trizeni;
    return -1;
}

void SesPrehDodOdDoForm::takeChoices()
{
    m_commands.ZandorDateEdit1Date = m_from->Date();
    m_commands.ZandorDateEdit2Date = m_to->Date();
    m_commands.TrizeniItemIndex = m_bySupplier->isChecked() ? 1 : 0;
    m_commands.CheckBox1Checked = m_excel->isChecked();
}

void SesPrehDodOdDoForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (QWidget *w = control(TSesPrehDodOdDo::Control(m_commands.ActiveControl)))
        w->setFocus(Qt::OtherFocusReason);
}

void SesPrehDodOdDoForm::done(int result)
{
    takeChoices();
    m_commands.ModalResult = result == mrOk ? mrOk : mrCancel;
    QDialog::done(result);
}
