#include "progress_window.h"

namespace {
ProgresWinMaker g_maker;
std::function<void(bool)> g_busy;
}

std::unique_ptr<TProgresWin> makeProgresWin() { return g_maker ? g_maker() : nullptr; }

void setProgresWinMaker(ProgresWinMaker maker) { g_maker = std::move(maker); }

BusyPointer::BusyPointer()
{
    if (g_busy)
        g_busy(true);
}

BusyPointer::~BusyPointer()
{
    if (g_busy)
        g_busy(false);
}

void setBusyPointer(std::function<void(bool busy)> hook) { g_busy = std::move(hook); }
