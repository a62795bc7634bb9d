#pragma once
// What the benchmarks time their work with.

#include <QElapsedTimer>
#include <QString>
#include <algorithm>
#include <vector>

namespace bench {

// The middle value of the rounds.
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The rounds of one figure: their median with the smallest and the largest.
struct Spread {
    double median = 0;
    double min = 0;
    double max = 0;
};

inline Spread spread(const std::vector<double> &v)
{
    if (v.empty())
        return {};
    return {median(v), *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end())};
}

// "12.3 (11.9–13.0)": the median with min–max.
inline QString shown(const Spread &s, int decimals)
{
    return QStringLiteral("%1 (%2–%3)")
        .arg(s.median, 0, 'f', decimals)
        .arg(s.min, 0, 'f', decimals)
        .arg(s.max, 0, 'f', decimals);
}

// The ratio of two figures taken round by round (round r of a over round r of b), so
// that what loaded the machine during a round weighs on both sides alike.
inline Spread ratio(const std::vector<double> &a, const std::vector<double> &b)
{
    std::vector<double> r;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        r.push_back(b[i] > 0 ? a[i] / b[i] : 0);
    return spread(r);
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
