#pragma once
// The progress window TProgresWin of long table operations as a real window: a tool
// window without title-bar buttons, centred on the screen, with a caption, a text beside
// it and a gauge from 0 to 100 below them. The gauge is drawn at most every 20 ms (and
// at once when it reaches 100), so that an operation reporting often is not slowed by
// the drawing.

#include "import/progress_window.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;

class ProgresWinWindow final : public QWidget, public TProgresWin {
    Q_OBJECT
public:
    // The window with its defaults: title "Indexace datových souborů", caption
    // "Indexace souboru :", an empty text, the gauge at 0. Not shown yet.
    explicit ProgresWinWindow(QWidget *parent = nullptr);
    // Gives the keyboard back to the window that had it when this one was shown.
    ~ProgresWinWindow() override;

    void Show(const QString &title, const QString &caption, const QString &text) override;
    void SetGauge(int percent) override;

    // What the window shows: the caption RxLabel1, the text Label1 and the gauge as last
    // set (the bar may be drawn a moment later).
    QString RxLabel1() const;
    QString Label1() const;
    int Gauge1() const { return m_gauge; }

private:
    void drawGauge();

    QLabel *m_caption;
    QLabel *m_text;
    QProgressBar *m_bar;
    int m_gauge = 0;
    QElapsedTimer m_drawn;
    QPointer<QWidget> m_previous;
};

// Installs, for its lifetime, real progress windows and the busy mouse pointer for the
// table operations of the program. Requires a QApplication.
class ProgresWinWindows {
public:
    ProgresWinWindows();
    ~ProgresWinWindows();
    ProgresWinWindows(const ProgresWinWindows &) = delete;
    ProgresWinWindows &operator=(const ProgresWinWindows &) = delete;
};
