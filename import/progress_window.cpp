#include "progress_window.h"

namespace {
ProgresWinMaker g_maker;
}

std::unique_ptr<TProgresWin> makeProgresWin() { return g_maker ? g_maker() : nullptr; }

void setProgresWinMaker(ProgresWinMaker maker) { g_maker = std::move(maker); }
