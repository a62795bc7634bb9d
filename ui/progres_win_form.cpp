#include "progres_win_form.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

namespace {

// The gauge is drawn again only after this many milliseconds.
constexpr qint64 kDrawInterval = 20;

} // namespace

ProgresWinWindow::ProgresWinWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_caption(new QLabel(QStringLiteral("Indexace souboru :")))
    , m_text(new QLabel)
    , m_bar(new QProgressBar)
{
    setWindowTitle(QStringLiteral("Indexace datových souborů"));
    // It shows progress only: the window the user works in keeps the keyboard.
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    auto *layout = new QGridLayout(this);
    layout->addWidget(m_caption, 0, 0);
    layout->addWidget(m_text, 0, 1);
    layout->addWidget(m_bar, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    setMinimumWidth(360);
}

ProgresWinWindow::~ProgresWinWindow()
{
    if (m_previous && QApplication::activeWindow() != m_previous)
        m_previous->activateWindow();
}

void ProgresWinWindow::Show(const QString &title, const QString &caption, const QString &text)
{
    m_previous = QApplication::activeWindow();
    setWindowTitle(title);
    m_caption->setText(caption);
    m_text->setText(text);
    adjustSize();
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();   // visible at once, also before the operation lets events run
    m_drawn.start();
}

void ProgresWinWindow::SetGauge(int percent)
{
    m_gauge = qBound(0, percent, 100);
    if (m_gauge == 100 || !m_drawn.isValid() || m_drawn.elapsed() >= kDrawInterval)
        drawGauge();
}

void ProgresWinWindow::drawGauge()
{
    m_bar->setValue(m_gauge);   // draws the bar at once when its picture changes
    m_drawn.start();
}

QString ProgresWinWindow::RxLabel1() const { return m_caption->text(); }

QString ProgresWinWindow::Label1() const { return m_text->text(); }

ProgresWinWindows::ProgresWinWindows()
{
    setProgresWinMaker([] { return std::make_unique<ProgresWinWindow>(); });
    setBusyPointer([](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

ProgresWinWindows::~ProgresWinWindows()
{
    setProgresWinMaker({});
    setBusyPointer({});
}
