#include "podklady_pol_edit_form.h"

#include "core/general_error.h"
#include "dbedittovel.h"
#include "dbtext.h"
#include "keypreview.h"
#include "store/tdata.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

TDBEditTovel *itemEdit(const store::Field &field, TTvEditType type)
{
    auto *edit = new TDBEditTovel;
    edit->SetDataSource(&Data->DataPodklPol);
    edit->SetDataField(field.FieldName());
    edit->SetEditType(type);
    edit->SetEnterIsTab(true);
    edit->SetWhenValid(twvAlways);
    return edit;
}

TDBText *itemText(const store::Field &field, Qt::Alignment alignment = Qt::AlignRight)
{
    return new TDBText(&Data->DataPodklPol, field.FieldName(), alignment);
}

} // namespace

PodkladyPolEditDialog::PodkladyPolEditDialog(TPodkladyPolEdit &commands, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_commands(commands)
{
    setWindowTitle(QStringLiteral("Podklady editace"));
    const QString currency = Data->ffPodklHlavHLA_MEN.AsString();

    TDBEditTovel *card = m_edits[0] = itemEdit(Data->ffPodklPolPOP_KAV, tetStandard);
    card->SetButtonVisible(true);
    TDBEditTovel *price = m_edits[1] = itemEdit(Data->ffPodklPolPOP_CNC, tetFloat);
    TDBEditTovel *quantity = m_edits[2] = itemEdit(Data->ffPodklPolPOP_CKU, tetFloat);
    TDBEditTovel *markup = m_edits[3] = itemEdit(Data->ffPodklPolPOP_PRI, tetFloat);
    TDBEditTovel *package = m_edits[4] = itemEdit(Data->ffPodklPolPOP_BAL, tetFloat);
    m_storno = new QPushButton(QStringLiteral("Storno"));
    m_zapis = new QPushButton(QStringLiteral("Zapiš"));

    auto *grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString &label, QWidget *w) {
        grid->addWidget(new QLabel(label), row, 0);
        grid->addWidget(w, row++, 1);
    };
    addRow(QStringLiteral("Karta sort."), card);
    addRow(QString(), itemText(Data->ffPodklPolPOP_NAC, Qt::AlignLeft));
    addRow(QStringLiteral("Cena za 1 DB v") + QLatin1Char(' ') + currency, price);
    addRow(QStringLiteral("Počet mj Dod.Bal. (DB)"), quantity);
    addRow(QStringLiteral("Cena celkem v ") + currency, itemText(Data->ffPodklPolPOP_CCC));
    addRow(QStringLiteral("Přepočtový kurz"),
           new TDBText(&Data->DataPodklHlav, Data->ffPodklHlavHLA_KUR.FieldName(), Qt::AlignRight));
    addRow(QStringLiteral("Přirážka v %"), markup);
    addRow(QStringLiteral("Počet DB v Obch.Bal"), package);
    addRow(QStringLiteral("Cena za OB v Kč"), itemText(Data->ffPodklPolPOP_NCS));
    addRow(QStringLiteral("Počet OB dodávky"), itemText(Data->ffPodklPolPOP_KUS));
    addRow(QStringLiteral("Celkem v Kč za položku"), itemText(Data->ffPodklPolPOP_NCC));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_storno);
    buttons->addWidget(m_zapis);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));

    QWidget *order[] = {card, price, quantity, markup, package, m_storno, m_zapis};
    for (int i = 1; i < int(std::size(order)); ++i)
        setTabOrder(order[i - 1], order[i]);

    card->OnValid = [this](QWidget *, QString &text, bool &valid) {
        m_commands.DBEditTovel1Valid(text, valid, QApplication::focusWidget() == m_storno);
    };
    card->OnClickButton = [this, card](QWidget *) {
        RunWithGeneralErrorDisplay([&] {
            QString text = card->Text();
            m_commands.DBEditTovel1ClickButton(text);
            card->SetText(text);
        });
    };
    price->OnValid = [this](QWidget *, QString &t, bool &v) { m_commands.DBEditTovel2Valid(t, v); };
    quantity->OnValid = [this](QWidget *, QString &t, bool &v) { m_commands.DBEditTovel3Valid(t, v); };
    markup->OnValid = [this](QWidget *, QString &t, bool &v) { m_commands.DBEditTovel4Valid(t, v); };
    package->OnValid = [this](QWidget *, QString &t, bool &v) { m_commands.DBEditTovel5Valid(t, v); };

    connect(m_storno, &QPushButton::clicked, this, [this] { m_commands.Button1Click(); });
    connect(m_zapis, &QPushButton::clicked, this, [this] {
        // The click counts only once the last input has been left: an input that
        // refused its text has taken the focus back and keeps the window open.
        if (m_zapis->hasFocus())
            RunWithGeneralErrorDisplay([this] { m_commands.Button2Click(); });
    });
    connect(&m_commands, &FormCommands::closeRequested, this, [this](int result) { done(result); });
    connect(&m_commands, &FormCommands::focusRequested, this, [this](int c) {
        if (QWidget *w = control(TPodkladyPolEdit::Control(c)))
            w->setFocus(Qt::OtherFocusReason);
    });
    new KeyPreview(this, [this](QKeyEvent *e) { return keyDown(e); });
}

QWidget *PodkladyPolEditDialog::control(TPodkladyPolEdit::Control c) const
{
    switch (c) {
    case TPodkladyPolEdit::Button1: return m_storno;
    case TPodkladyPolEdit::Button2: return m_zapis;
    default: return m_edits[c];
    }
}

void PodkladyPolEditDialog::showEvent(QShowEvent *e)
{
    m_edits[0]->setEnabled(m_commands.DBEditTovel1Enabled);
    QDialog::showEvent(e);
    if (QWidget *w = control(TPodkladyPolEdit::Control(m_commands.ActiveControl)))
        w->setFocus(Qt::OtherFocusReason);
}

bool PodkladyPolEditDialog::keyDown(QKeyEvent *e)
{
    const Qt::KeyboardModifiers held = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (e->key() == Qt::Key_F4 && held == Qt::AltModifier) {
        close();
        return true;
    }
    return m_commands.FormKeyDown(e->key(), e->modifiers());
}

void PodkladyPolEditDialog::closeEvent(QCloseEvent *e)
{
    m_commands.FormCloseQuery();
    e->accept();
    done(m_commands.ModalResult);
}

void PodkladyPolEditDialog::reject()
{
    close();
}
