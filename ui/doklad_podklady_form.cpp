#include "doklad_podklady_form.h"

#include "core/general_error.h"
#include "dbedittovel.h"
#include "dbgrid.h"
#include "dbtext.h"
#include "keypreview.h"
#include "pendinginput.h"
#include "store/tdata.h"
#include "zandordateedit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

QStringList DokladPodkladyDialog::ItemColumns()
{
    return {
        Data->ffPodklPolPOP_KAV.FieldName(), Data->ffPodklPolPOP_NAC.FieldName(),
        Data->ffPodklPolPOP_CKU.FieldName(), Data->ffPodklPolPOP_CCC.FieldName(),
        Data->ffPodklPolPOP_KUS.FieldName(), Data->ffPodklPolPOP_NCC.FieldName(),
        Data->ffPodklPolPOP_PRI.FieldName(), Data->ffPodklPolPOP_BAL.FieldName(),
        Data->ffPodklPolPOP_NCS.FieldName(), Data->ffPodklPolPOP_CNC.FieldName(),
        Data->ffPodklPolPOP_DOK.FieldName(),
    };
}

namespace {

TDBEditTovel *headerEdit(const store::Field &field, TTvEditType type = tetStandard)
{
    auto *edit = new TDBEditTovel;
    edit->SetDataSource(&Data->DataPodklHlav);
    edit->SetDataField(field.FieldName());
    edit->SetEditType(type);
    edit->SetEnterIsTab(true);
    edit->SetWhenValid(twvAlways);
    return edit;
}

QPushButton *barButton(const QString &caption)
{
    auto *button = new QPushButton(caption);
    button->setFocusPolicy(Qt::ClickFocus);   // not in the tab order
    button->setAutoDefault(false);
    return button;
}

} // namespace

DokladPodkladyDialog::DokladPodkladyDialog(TDokladPodklady &commands, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_commands(commands)
{
    setWindowTitle(QStringLiteral("Doklad podkladů příjemky dodavate"));

    m_supplier = headerEdit(Data->ffPodklHlavHLA_ODB);
    m_supplier->SetButtonVisible(true);
    m_delivered = new TZandorDBDateEdit;
    m_delivered->SetDataSource(&Data->DataPodklHlav);
    m_delivered->SetDataField(Data->ffPodklHlavHLA_DDO.FieldName());
    m_invoice = headerEdit(Data->ffPodklHlavHLA_DO2);
    m_amount = headerEdit(Data->ffPodklHlavHLA_FAC);
    m_currency = headerEdit(Data->ffPodklHlavHLA_MEN);
    m_rate = headerEdit(Data->ffPodklHlavHLA_KUR, tetFloat);
    m_items = new TDBGrid(&Data->DataPodklPol, ItemColumns());
    // Whole rows are chosen and never edited: Tab and Shift+Tab lead on to the next or
    // back to the previous control, as everywhere else in the window.
    m_items->setTabKeyNavigation(false);
    for (QLabel *&label : m_labels)
        label = new QLabel;

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Kód dodavatele"), m_supplier);
    form->addRow(QString(), m_labels[0]);
    form->addRow(QString(), m_labels[1]);
    auto *place = new QHBoxLayout;
    place->addWidget(m_labels[3]);
    place->addWidget(m_labels[2], 1);
    form->addRow(QString(), place);
    form->addRow(QStringLiteral("Datum příjmu"), m_delivered);
    form->addRow(QStringLiteral("Číslo dokladu"), m_invoice);
    form->addRow(QStringLiteral("Celk.částka"), m_amount);
    form->addRow(QStringLiteral("Měna (CM)"), m_currency);
    form->addRow(QStringLiteral("Kurz na Kč"), m_rate);

    auto *status = new QHBoxLayout;
    status->addWidget(new QLabel(QStringLiteral("Doklad")));
    auto *number = new TDBText(&Data->DataPodklHlav, Data->ffPodklHlavHLA_DO1.FieldName());
    number->setMinimumWidth(number->fontMetrics().horizontalAdvance(QStringLiteral("00000000000")));
    status->addWidget(number);
    status->addWidget(new QLabel(QStringLiteral("Celkem v CM")));
    status->addWidget(new TDBText(&Data->DataPodklHlav, Data->ffPodklHlavHLA_EUR.FieldName(), Qt::AlignRight),
                      1);
    status->addWidget(new QLabel(QStringLiteral("Celkem v NC (Kč) ")));
    status->addWidget(new TDBText(&Data->DataPodklHlav, Data->ffPodklHlavHLA_NCA.FieldName(), Qt::AlignRight),
                      1);

    QPushButton *newItem = barButton(QStringLiteral("F2 Nová"));
    QPushButton *correctItem = barButton(QStringLiteral("F4 Oprava"));
    QPushButton *print = barButton(QStringLiteral("F8 Tisk"));
    m_close = barButton(QStringLiteral("Ukončení"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {newItem, correctItem, print, m_close})
        buttons->addWidget(b);
    buttons->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_items, 1);
    layout->addLayout(status);
    layout->addLayout(buttons);
    resize(760, 520);
    setFixedSize(sizeHint().expandedTo(QSize(760, 520)));

    QWidget *order[] = {m_supplier, m_delivered, m_invoice, m_amount, m_currency, m_rate, m_items};
    for (int i = 1; i < int(std::size(order)); ++i)
        setTabOrder(order[i - 1], order[i]);

    m_supplier->OnValid = [this](QWidget *, QString &text, bool &valid) {
        m_commands.DBEditTovel1Valid(text, valid, QApplication::focusWidget() == m_close);
    };
    m_supplier->OnClickButton = [this](QWidget *) {
        RunWithGeneralErrorDisplay([this] {
            QString text = m_supplier->Text();
            m_commands.DBEditTovel1ClickButton(text);
            m_supplier->SetText(text);
        });
    };
    // A click counts once the field being typed in has been left: a field that refused
    // its text has taken the focus back, and the command does not run. (std::invoke, not
    // `.*` on the reference member: GCC 12's -fsanitize=vptr checks a wrong object there.)
    const auto onClick = [this](QPushButton *button, void (TDokladPodklady::*command)()) {
        connect(button, &QPushButton::clicked, this, [this, button, command] {
            if (button->hasFocus())
                std::invoke(command, m_commands);
        });
    };
    onClick(newItem, &TDokladPodklady::Button1Click);
    onClick(correctItem, &TDokladPodklady::Button2Click);
    onClick(print, &TDokladPodklady::Button3Click);
    onClick(m_close, &TDokladPodklady::Button4Click);
    connect(&m_commands, &FormCommands::closeRequested, this, [this](int result) { done(result); });
    connect(&m_commands, &FormCommands::focusRequested, this, [this](int c) {
        if (QWidget *w = control(TDokladPodklady::Control(c)))
            w->setFocus(Qt::OtherFocusReason);
    });
    connect(&m_commands, &TDokladPodklady::supplierShown, this, &DokladPodkladyDialog::showSupplier);
    new KeyPreview(this, [this](QKeyEvent *e) { return keyDown(e); });
    showSupplier();
}

QWidget *DokladPodkladyDialog::control(TDokladPodklady::Control c) const
{
    switch (c) {
    case TDokladPodklady::DBEditTovel1: return m_supplier;
    case TDokladPodklady::ZandorDBDateEdit1: return m_delivered;
    case TDokladPodklady::DBEditTovel3: return m_invoice;
    case TDokladPodklady::DBEditTovel2: return m_amount;
    case TDokladPodklady::DBEditTovel4: return m_currency;
    case TDokladPodklady::DBEditTovel5: return m_rate;
    case TDokladPodklady::DBGrid1: return m_items;
    }
    return nullptr;
}

void DokladPodkladyDialog::showEvent(QShowEvent *e)
{
    m_supplier->setEnabled(m_commands.DBEditTovel1Enabled);
    m_rate->setEnabled(m_commands.DBEditTovel5Enabled);
    QDialog::showEvent(e);
    if (QWidget *w = control(TDokladPodklady::Control(m_commands.ActiveControl)))
        w->setFocus(Qt::OtherFocusReason);
}

bool DokladPodkladyDialog::keyDown(QKeyEvent *e)
{
    const Qt::KeyboardModifiers held = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (e->key() == Qt::Key_F4 && held == Qt::AltModifier) {
        close();
        return true;
    }
    if (e->key() == Qt::Key_Escape && !Data->ImportRunning) {
        // As a click on "Ukončení": the field being typed in is left first, so that its
        // text reaches the header that closing with OK writes; a field that refuses its
        // text keeps the focus and the window stays open.
        m_close->setFocus(Qt::OtherFocusReason);
        if (m_close->hasFocus())
            m_commands.Button4Click();
        return true;
    }
    // The commands of F2, F4, F8 and F9 write the header: the text being typed is taken
    // first, as leaving its field would take it; a refused text stops the command.
    const bool writes = e->key() == Qt::Key_F2 || e->key() == Qt::Key_F4 || e->key() == Qt::Key_F8
        || e->key() == Qt::Key_F9;
    bool taken = true;
    RunWithGeneralErrorDisplay([&] {
        // While an import runs the commands start nothing, and the typed text is not
        // taken either (leaving a field may open the supplier picker).
        if (Data->ImportRunning)
            taken = m_commands.FormKeyDown(e->key(), e->modifiers());
        else if (e->key() == Qt::Key_Delete && held == Qt::ControlModifier && m_items->hasFocus())
            m_commands.deleteItem();
        else if (!writes || CommitFocusedInput())
            taken = m_commands.FormKeyDown(e->key(), e->modifiers());
    });
    return taken;
}

void DokladPodkladyDialog::closeEvent(QCloseEvent *e)
{
    if (!m_commands.FormCloseQuery()) {
        e->ignore();
        return;
    }
    e->accept();
    done(m_commands.ModalResult);
}

void DokladPodkladyDialog::reject()
{
    close();   // the close rules of the window decide
}

void DokladPodkladyDialog::showSupplier()
{
    m_labels[0]->setText(m_commands.Label1);
    m_labels[1]->setText(m_commands.Label2);
    m_labels[2]->setText(m_commands.Label3);
    m_labels[3]->setText(m_commands.Label4);
}
