#pragma once
// The small progress window of long table operations (`TProgresWin`): a title, a caption
// with a text beside it and a gauge from 0 to 100. The operations use it through this
// interface, so that they build and run without QtWidgets; the window layer installs a
// maker of real windows, and without one no window is shown.

#include <QString>
#include <functional>
#include <memory>

class TProgresWin {
public:
    virtual ~TProgresWin() = default;
    // Sets the title, the caption `RxLabel1` and the text `Label1` and shows the window.
    virtual void Show(const QString &title, const QString &caption, const QString &text) = 0;
    // Sets the gauge `Gauge1`; percent lies between 0 and 100.
    virtual void SetGauge(int percent) = 0;
};

using ProgresWinMaker = std::function<std::unique_ptr<TProgresWin>()>;

// A new progress window from the installed maker, or nullptr when none is installed.
// The window closes when it is destroyed.
std::unique_ptr<TProgresWin> makeProgresWin();
// Installs the maker of progress windows; an empty one shows none.
void setProgresWinMaker(ProgresWinMaker maker);
