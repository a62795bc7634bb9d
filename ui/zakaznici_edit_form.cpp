#include "zakaznici_edit_form.h"

#include "dbedittovel.h"
#include "keypreview.h"
#include "keyrouting.h"
#include "store/tdata.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TZakazniciEditForm::TZakazniciEditForm(TZakazniciEdit &commands, QWidget *parent)
    : QDialog(parent), m_commands(commands)
{
    setWindowTitle(QStringLiteral("ZakazniciEdit"));
    setSizeGripEnabled(true);
    m_pages = new QTabWidget;
    QGridLayout *grids[2];
    int rows[2] = {0, 0};
    for (int p : {TZakazniciEdit::ZakladniUdaje, TZakazniciEdit::KontaktniUdaje}) {
        auto *page = new QWidget;
        grids[p] = new QGridLayout(page);
        m_pages->addTab(page, TZakazniciEdit::PageCaptions[p]);
    }
    QList<QWidget *> order;
    for (const TZakazniciEdit::Input &input : TZakazniciEdit::Inputs()) {
        auto *edit = new TDBEditTovel;
        edit->setObjectName(QStringLiteral("DBEditTovel%1").arg(int(input.control)));
        edit->SetDataSource(&Data->DataDodavatele);
        edit->SetDataField(input.field);
        edit->SetEditType(tetStandard);
        edit->SetEnterIsTab(true);
        edit->SetWhenValid(twvAlways);
        QGridLayout *grid = grids[input.page];
        int &row = rows[input.page];
        if (input.control == TZakazniciEdit::DBEditTovel3)  // the address block's heading
            grid->addWidget(new QLabel(QStringLiteral("Adresa")), row++, 0);
        if (input.label.isEmpty()) {
            grid->addWidget(edit, row - 1, 2);  // the second input of the line before
        } else {
            auto *label = new QLabel(input.label);
            label->setBuddy(edit);
            grid->addWidget(label, row, 0);
            grid->addWidget(edit, row++, 1);
        }
        m_controls.insert(input.control, edit);
        order.append(edit);
    }
    for (QGridLayout *grid : grids)
        grid->setRowStretch(grid->rowCount(), 1);

    m_storno = new QPushButton(QStringLiteral("Storno"));
    m_zapis = new QPushButton(QStringLiteral("Zapiš"));
    for (QPushButton *b : {m_storno, m_zapis})
        b->setAutoDefault(false);
    m_controls.insert(TZakazniciEdit::Button1, m_zapis);
    m_controls.insert(TZakazniciEdit::Button2, m_storno);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_storno);
    buttons->addWidget(m_zapis);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    order << m_storno << m_zapis;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_storno, &QPushButton::clicked, this, [this] { m_commands.Button2Click(); });
    connect(m_zapis, &QPushButton::clicked, this, [this] {
        // The click counts once the last input has been left: an input that refused its
        // text has taken the focus back and keeps the window open.
        if (m_zapis->hasFocus())
            m_commands.Button1Click();
    });
    connect(&m_commands, &TZakazniciEdit::pageRequested, m_pages, &QTabWidget::setCurrentIndex);
    connect(&m_commands, &FormCommands::closeRequested, this, [this](int result) { done(result); });
    connect(&m_commands, &FormCommands::focusRequested, this, [this](int c) {
        if (QWidget *w = control(TZakazniciEdit::Control(c)))
            w->setFocus(Qt::TabFocusReason);
    });
    new KeyPreview(this, [this](QKeyEvent *e) { return keyDown(e); });
}

QWidget *TZakazniciEditForm::control(TZakazniciEdit::Control c) const { return m_controls.value(c); }

bool TZakazniciEditForm::keyDown(QKeyEvent *e)
{
    if (m_commands.FormKeyDown(e->key()))
        return true;
    const bool forward = (e->key() == Qt::Key_Tab || IsEnterKey(e)) && !(e->modifiers() & Qt::ShiftModifier);
    if (forward && QApplication::focusWidget() == control(TZakazniciEdit::DBEditTovel7)) {
        m_commands.DBEditTovel7TabExit();
        return true;
    }
    return false;
}

void TZakazniciEditForm::showEvent(QShowEvent *e)
{
    m_commands.FormShow();
    QDialog::showEvent(e);
}

void TZakazniciEditForm::reject() { m_commands.Button2Click(); }
