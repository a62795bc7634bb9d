#include "prehled_zakazniku_form.h"

#include "core/general_error.h"
#include "dbgrid.h"
#include "dbnavigator.h"
#include "keypreview.h"
#include "search_dialogs_form.h"
#include "store/tdata.h"
#include "zakaznici_edit_form.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

TPrehledZakaznikuForm::TPrehledZakaznikuForm(TPrehledZakazniku &commands, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_commands(commands)
{
    setWindowTitle(QStringLiteral("Přehled dodavatelů"));
    setSizeGripEnabled(true);
    auto *bar = new QHBoxLayout;
    bar->addWidget(new TDBNavigator(&Data->DataDodavatele));
    const auto addButton = [&](const char *name, const QString &caption, void (TPrehledZakazniku::*command)()) {
        auto *b = new QPushButton(caption);
        b->setObjectName(QLatin1String(name));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        // std::invoke, not `.*` on the reference member: GCC 12's -fsanitize=vptr checks a
        // wrong object there.
        connect(b, &QPushButton::clicked, this, [this, command] { std::invoke(command, m_commands); });
        bar->addWidget(b);
    };
    addButton("Button1", QStringLiteral("F5 Hledej"), &TPrehledZakazniku::Button1Click);
    addButton("Button3", QStringLiteral("F4 Oprava"), &TPrehledZakazniku::Button3Click);
    addButton("Button2", QStringLiteral("F2 Nový"), &TPrehledZakazniku::Button2Click);
    bar->addStretch(1);
    m_grid = new TDBGrid(&Data->DataDodavatele, TPrehledZakazniku::GridColumns());
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_grid);

    m_commands.FormCreate();
    resize(720, m_commands.Height);

    m_commands.ShowDodHle = [this](TDodHle &search) { return RunSearchDialog(search, this); };
    m_commands.ShowZakazniciEdit = [this](TZakazniciEdit &edit) {
        TZakazniciEditForm form(edit, this);
        return RunModal(form);
    };
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] { m_commands.DBGrid1DblClick(); });
    connect(&m_commands, &FormCommands::closeRequested, this, [this](int result) { done(result); });
    connect(&m_commands, &FormCommands::focusRequested, this, [this] { m_grid->setFocus(Qt::OtherFocusReason); });
    new KeyPreview(this, [this](QKeyEvent *e) { return m_commands.FormKeyDown(e->key()); });
    m_grid->setFocus(Qt::OtherFocusReason);
}

QPushButton *TPrehledZakaznikuForm::button(const char *name) const
{
    return findChild<QPushButton *>(QLatin1String(name));
}

void TPrehledZakaznikuForm::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        RunWithGeneralErrorDisplay([this] { m_commands.FormClose(height()); });
    }
    QDialog::done(result);
}

int RunPrehledZakazniku(QPoint pos, QWidget *owner)
{
    TPrehledZakazniku commands;
    TPrehledZakaznikuForm form(commands, owner);
    form.move(pos);
    return RunModal(form);
}
