// bench_loop.cpp: runs the game's real main loop for a while and reports how well it keeps
// its 16 ms schedule: passes per second and how late each pass starts.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "SDL.h"
#include "app/loop.h"
#include "base/state.h"

int main(int argc, char *argv[])
{
    double seconds = argc > 1 ? std::atof(argv[1]) : 12.0;
    startUp(argv[0]);

    using Clock = std::chrono::steady_clock;
    // The schedule is fixed from here: pass k is due 16 k ms after the first.
    Clock::time_point first = Clock::now();
    std::vector<double> lateness;
    while (game.running) {
        double sinceFirst = std::chrono::duration<double, std::milli>(Clock::now() - first).count();
        lateness.push_back(sinceFirst - FrameMs * static_cast<double>(lateness.size()));
        if (sinceFirst >= seconds * 1000.0)
            break;
        runPass();
    }
    double elapsed = std::chrono::duration<double>(Clock::now() - first).count();
    size_t passes = lateness.size() - 1;

    std::vector<double> sorted = lateness;
    std::sort(sorted.begin(), sorted.end());
    double mean = 0;
    for (double late : lateness)
        mean += late;
    mean /= lateness.size();
    double p99 = sorted[sorted.size() * 99 / 100];
    // Drift: how far the last pass started from where the schedule put it.
    std::printf("passes: %zu in %.3f s\n", passes, elapsed);
    std::printf("passes per second: %.3f (schedule: 62.5)\n", passes / elapsed);
    std::printf("frame start lateness: mean %.3f ms, 99th percentile %.3f ms, max %.3f ms\n", mean, p99,
                sorted.back());
    std::printf("drift after the last pass: %.3f ms\n", lateness.back());
    SDL_Quit();
    return 0;
}
