#include "dodavky_form.h"

#include "core/general_error.h"
#include "core/textutil.h"
#include "dbgrid.h"
#include "dbnavigator.h"
#include "keypreview.h"
#include "lockkeys.h"
#include "store/tdata.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QToolBar>

QStringList DodavkyWindow::GridColumns()
{
    return {
        Data->ffPodklHlavHLA_DAT.FieldName(), Data->ffPodklHlavHLA_DO1.FieldName(),
        Data->ffPodklHlavHLA_NAC.FieldName(), Data->ffPodklHlavHLA_NCA.FieldName(),
        Data->ffPodklHlavHLA_EUR.FieldName(), Data->ffPodklHlavHLA_MEN.FieldName(),
        Data->ffPodklHlavHLA_KUR.FieldName(), Data->ffPodklHlavHLA_DO2.FieldName(),
        Data->ffPodklHlavHLA_DO3.FieldName(), Data->ffPodklHlavHLA_TYP.FieldName(),
        Data->ffPodklHlavHLA_DDO.FieldName(), Data->ffPodklHlavHLA_ODB.FieldName(),
        Data->ffPodklHlavHLA_PCA.FieldName(), Data->ffPodklHlavHLA_EDT.FieldName(),
        Data->ffPodklHlavHLA_FAC.FieldName(),
    };
}

DodavkyWindow::DodavkyWindow(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Přehled podkladů příjmů od dodavatelů 1.30"));
    RunWithGeneralErrorDisplay([this] { m_commands.FormCreate(); });

    auto *bar = addToolBar(QStringLiteral("Nástroje"));
    bar->setMovable(false);
    bar->toggleViewAction()->setEnabled(false);
    m_navigator = new TDBNavigator(&Data->DataPodklHlav);
    bar->addWidget(m_navigator);
    bar->addWidget(toolButton(QStringLiteral("F5 Hledej"), &TDodavky::Button3Click, Qt::NoFocus));
    bar->addWidget(toolButton(QStringLiteral("F8 Tisk"), &TDodavky::Button4Click, Qt::NoFocus));
    bar->addWidget(toolButton(QStringLiteral("F9 Export"), &TDodavky::Button5Click, Qt::StrongFocus));
    bar->addWidget(toolButton(QStringLiteral("F4 Oprava"), &TDodavky::Button2Click, Qt::NoFocus));
    bar->addWidget(toolButton(QStringLiteral("F2 Nový"), &TDodavky::Button1Click, Qt::NoFocus));

    m_grid = new TDBGrid(&Data->DataPodklHlav, GridColumns());
    setCentralWidget(m_grid);
    buildMenu();
    buildStatusBar();

    connect(&m_commands, &FormCommands::focusRequested, m_grid, [this] { m_grid->setFocus(Qt::OtherFocusReason); });
    connect(&m_commands, &FormCommands::closeRequested, this, &QWidget::close);
    new KeyPreview(this, [this](QKeyEvent *e) { return keyDown(e); });

    setAcceptDrops(true);
    resize(587, 361);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    m_grid->setFocus(Qt::OtherFocusReason);
}

QPushButton *DodavkyWindow::toolButton(const QString &caption, void (TDodavky::*command)(), Qt::FocusPolicy focus)
{
    auto *button = new QPushButton(caption);
    button->setFocusPolicy(focus);
    connect(button, &QPushButton::clicked, this, [this, command] { RunWithGeneralErrorDisplay([&] { (m_commands.*command)(); }); });
    return button;
}

void DodavkyWindow::buildMenu()
{
    const auto run = [this](void (TDodavky::*command)()) {
        return [this, command] { RunWithGeneralErrorDisplay([&] { (m_commands.*command)(); }); };
    };
    QMenu *doklady = menuBar()->addMenu(QStringLiteral("Doklady"));
    doklady->addAction(QStringLiteral("Nový doklad"), this, run(&TDodavky::Novdoklad1Click));
    doklady->addAction(QStringLiteral("Oprava Dokladu"), this, run(&TDodavky::OpravaDokladu1Click));
    doklady->addAction(QStringLiteral("Načíst fakturu ISDOC…"), this, run(&TDodavky::NactiFakturuIsdocClick))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    menuBar()->addAction(QStringLiteral("Hledej"), this, run(&TDodavky::Sestavy1Click));
    QMenu *sestavy = menuBar()->addMenu(QStringLiteral("Sestavy"));
    sestavy->addAction(QStringLiteral("Sestava dodávek"), this, run(&TDodavky::Sestavadodvek1Click));
    menuBar()->addAction(QStringLiteral("Konec"), this, run(&TDodavky::Konec3Click));
}

void DodavkyWindow::buildStatusBar()
{
    auto *text = new QLabel;
    text->setMinimumWidth(200);
    statusBar()->addWidget(text, 1);
    for (QLabel *&pane : m_lockPanes) {
        pane = new QLabel;
        pane->setMinimumWidth(40);
        statusBar()->addWidget(pane);
    }
    m_clock = new QLabel;
    statusBar()->addPermanentWidget(m_clock);
    // The clock and the lock keys' indicators (which the window system changes without
    // telling Qt) are read four times a second.
    auto *tick = new QTimer(this);
    connect(tick, &QTimer::timeout, this, &DodavkyWindow::showStatus);
    tick->start(250);
    showStatus();
}

void DodavkyWindow::showStatus()
{
    const std::optional<LockKeys> locks = ReadLockKeys();
    m_lockPanes[0]->setText(locks && locks->caps ? QStringLiteral("CAPS") : QString());
    m_lockPanes[1]->setText(locks && locks->num ? QStringLiteral("NUM") : QString());
    m_clock->setText(QTime::currentTime().toString(kTimeFormat));
}

bool DodavkyWindow::keyDown(QKeyEvent *e)
{
    const Qt::KeyboardModifiers held = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (e->key() == Qt::Key_F4 && held == Qt::AltModifier) {
        close();
        return true;
    }
    bool taken = true;
    RunWithGeneralErrorDisplay([&] { taken = m_commands.FormKeyDown(e->key(), e->modifiers()); });
    return taken;
}

bool DodavkyWindow::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        m_commands.FormActivate(x(), y());
    return QMainWindow::event(e);
}

namespace {

// The e-invoice file a drag carries: one local .isdoc or .isdocx file; empty otherwise.
QString droppedInvoice(const QMimeData *mime)
{
    if (!mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().constFirst().isLocalFile())
        return QString();
    const QString path = mime->urls().constFirst().toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("isdoc") || suffix == QLatin1String("isdocx") ? path : QString();
}

} // namespace

void DodavkyWindow::dragEnterEvent(QDragEnterEvent *e)
{
    if (!droppedInvoice(e->mimeData()).isEmpty())
        e->acceptProposedAction();
}

void DodavkyWindow::dropEvent(QDropEvent *e)
{
    const QString path = droppedInvoice(e->mimeData());
    if (path.isEmpty())
        return;
    e->acceptProposedAction();
    // The review window runs after the drop has ended, not inside the drag's own loop.
    QTimer::singleShot(0, this, [this, path] { RunWithGeneralErrorDisplay([&] { m_commands.OpenIsdoc(path); }); });
}

void DodavkyWindow::closeEvent(QCloseEvent *e)
{
    if (!m_commands.FormCloseQuery()) {
        e->ignore();
        return;
    }
    RunWithGeneralErrorDisplay([this] { m_commands.FormClose(); });
    QMainWindow::closeEvent(e);
}
