// Process start time.
#include "shell/posix/StartTime.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "shell/core/Log.h"

namespace shell {

namespace {
double mainStartMs = -1;

double ClockMs(clockid_t id) {
    timespec t{};
    clock_gettime(id, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The process start in milliseconds since boot; negative when unknown.
double ProcessStartSinceBootMs() {
    std::ifstream in("/proc/self/stat");
    std::string stat;
    if (!std::getline(in, stat)) return -1;
    const size_t paren = stat.rfind(')');
    if (paren == std::string::npos) return -1;
    std::istringstream fields(stat.substr(paren + 2));
    std::string field;
    // Fields after the name start at 3 (state); the start time is field 22.
    for (int i = 3; i <= 22; ++i) {
        if (!(fields >> field)) return -1;
    }
    const long ticks = sysconf(_SC_CLK_TCK);
    if (ticks <= 0) return -1;
    return std::stod(field) * 1000.0 / static_cast<double>(ticks);
}
}  // namespace

void MarkMainStart() { mainStartMs = ClockMs(CLOCK_MONOTONIC); }

double MsSinceProcessStart() {
    const double start = ProcessStartSinceBootMs();
    if (start >= 0) {
        const double since = ClockMs(CLOCK_BOOTTIME) - start;
        if (since >= 0) return since;
    }
    return mainStartMs >= 0 ? ClockMs(CLOCK_MONOTONIC) - mainStartMs : 0;
}

void StartupStep(const char* step) {
    if (TraceEnabled()) {
        TraceLine("start-up: " + std::string(step) + " at " +
                  std::to_string(static_cast<int>(MsSinceProcessStart())) + " ms");
    }
}

void ReportFirstFrame(bool print) {
    StartupStep("first frame shown");
    if (!print) return;
    std::printf("first-frame-ms %.1f\n", MsSinceProcessStart());
    std::fflush(stdout);
}

}  // namespace shell
