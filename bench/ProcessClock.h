// Milliseconds since this process was started by the kernel, measured the way the game's
// shell measures its first frame: the start time from /proc/self/stat (clock ticks since
// boot) against CLOCK_BOOTTIME. The bare program prints its first frame with this, so the
// two figures are comparable.
#pragma once

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bench {

inline double ProcessAgeMs() {
    FILE* f = std::fopen("/proc/self/stat", "r");
    if (f == nullptr) return -1;
    char line[1024] = {};
    const bool read = std::fgets(line, sizeof line, f) != nullptr;
    std::fclose(f);
    if (!read) return -1;
    // The command name may hold spaces and parentheses: fields count from the last ')'.
    const char* p = std::strrchr(line, ')');
    if (p == nullptr) return -1;
    p += 2;  // field 3, the state
    for (int field = 3; field < 22; ++field) {
        p = std::strchr(p, ' ');
        if (p == nullptr) return -1;
        ++p;
    }
    const double startTicks = std::strtod(p, nullptr);
    const long ticks = sysconf(_SC_CLK_TCK);
    if (ticks <= 0) return -1;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
    return nowMs - startTicks * 1000.0 / static_cast<double>(ticks);
}

}  // namespace bench
