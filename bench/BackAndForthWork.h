// What the screen benchmarks measure on: a stored work driven back and forth in passes, and
// the median time of a piece of work repeated.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "app/AppState.h"
#include "guidance/WorkedStrip.h"

// The median of runs timings of work(); move(i) runs untimed before each, to set up the frame.
template <class Move, class Work>
double medianMicroseconds(int runs, Move move, Work work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        move(i);
        auto start = std::chrono::steady_clock::now();
        work();
        auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[std::size_t(runs / 2)];
}

template <class Work>
double medianMicroseconds(int runs, Work work) {
    return medianMicroseconds(
        runs, [](int) {}, work);
}

// Back and forth across a field in passes one implement width apart, 1 m between fixes.
inline void storeBackAndForthWork(int fixes) {
    AppState& s = appState;
    const int perPass = 200;
    s.work.strips.clear();
    s.work.pauseMarks.clear();
    for (int k = 0; k < fixes; ++k) {
        const int pass = k / perPass;
        const int along = k % perPass;
        const double y = pass % 2 == 0 ? along * 10 : (perPass - 1 - along) * 10;
        const double x = pass * 120;
        const double dir = pass % 2 == 0 ? 1 : -1;
        s.work.strips.push_back({x - 60 * dir, y, x + 60 * dir, y});
        s.work.position = {x, y};
        s.heading.east = 0.0f;
        s.heading.north = float(dir);
    }
    coverAllRecords(s.work);
}
