#include "prehled_sortimentu_form.h"

#include "dbgrid.h"
#include "dbnavigator.h"
#include "keypreview.h"
#include "search_dialogs_form.h"
#include "store/tdata.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

TPrehledSortimentuForm::TPrehledSortimentuForm(TPrehledSortimentu &commands, QWidget *parent)
    : QDialog(parent), m_commands(commands)
{
    setWindowTitle(QStringLiteral("Přehled položek sortimentu"));
    setSizeGripEnabled(true);
    m_navigator = new TDBNavigator(&Data->DataSorti);
    m_search = new QPushButton(QStringLiteral("F5 Hledej"));
    m_search->setObjectName(QStringLiteral("Button1"));
    m_search->setFocusPolicy(Qt::NoFocus);
    m_search->setAutoDefault(false);
    m_grid = new TDBGrid(&Data->DataSorti, TPrehledSortimentu::GridColumns());
    m_grid->setObjectName(QStringLiteral("DBGrid1"));

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_navigator);
    bar->addWidget(m_search);
    bar->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_grid);
    resize(640, 400);

    m_commands.ShowSorHle = [this](TSorHle &search) { return RunSearchDialog(search, this); };
    connect(m_search, &QPushButton::clicked, this, [this] { m_commands.Button1Click(); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] { m_commands.DBGrid1DblClick(); });
    connect(&m_commands, &FormCommands::closeRequested, this, [this](int result) { done(result); });
    connect(&m_commands, &FormCommands::focusRequested, this, [this] { m_grid->setFocus(Qt::OtherFocusReason); });
    new KeyPreview(this, [this](QKeyEvent *e) { return m_commands.FormKeyDown(e->key()); });
}

void TPrehledSortimentuForm::showEvent(QShowEvent *e)
{
    m_commands.FormShow();
    m_grid->gridModel()->Sync();
    m_grid->setFocus(Qt::OtherFocusReason);
    QDialog::showEvent(e);
}

void TPrehledSortimentuForm::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        m_commands.FormClose();
    }
    QDialog::done(result);
}

int RunPrehledSortimentu(QPoint pos, QWidget *owner)
{
    TPrehledSortimentu commands;
    TPrehledSortimentuForm form(commands, owner);
    form.move(pos);
    return RunModal(form);
}
