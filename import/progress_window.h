#pragma once
// The small progress window of long table operations (`TProgresWin`): a title, a caption
// with a text beside it and a gauge from 0 to 100, and the busy mouse pointer. The
// operations use them through this interface, so that they build and run without
// QtWidgets; the window layer installs real ones, and without them nothing is shown.

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

// Shows the busy mouse pointer for its lifetime through the installed hook (nothing
// without one).
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

// Installs the hook that shows (true) and takes back (false) the busy pointer; an empty
// one shows none.
void setBusyPointer(std::function<void(bool busy)> hook);
