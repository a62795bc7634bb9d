#pragma once
// What the benchmarks time their work with.

#include <QElapsedTimer>
#include <algorithm>
#include <vector>

namespace bench {

// The middle value of the rounds.
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The time the work takes, in milliseconds.
template <typename Work>
double millis(Work &&work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace bench
