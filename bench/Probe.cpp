// Runs one program and measures it from outside: how long from exec until it prints its
// first-frame line, its memory (peak and current resident set) and how much of a core it and
// the X server use over a sampling window. Prints one line of key=value pairs.
//
//   spherolette-probe [--line PREFIX] [--timeout MS] [--then COMMAND] [--settle MS]
//                     [--sample MS] [--xserver PID] [--smaps FILE] -- PROGRAM ARGS...
//
// Without --sample the program is stopped (SIGTERM) as soon as the line arrives, unless it
// ends by itself first. --then runs a shell command after the line (PROBE_PID holds the
// program's pid), before settling and sampling. --smaps copies the program's
// /proc/PID/smaps to FILE where its memory is read (what it maps, for accounting).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <vector>

namespace {

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

void SleepMs(double ms) {
    if (ms <= 0) return;
    timespec t{static_cast<time_t>(ms / 1000), static_cast<long>(static_cast<long long>(ms * 1e6) % 1000000000LL)};
    while (nanosleep(&t, &t) != 0) {
    }
}

std::string ReadFile(const std::string& path) {
    std::string text;
    FILE* f = std::fopen(path.c_str(), "r");
    if (f == nullptr) return text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
    return text;
}

// A "Name:   1234 kB" field of /proc/PID/status, in kB; -1 when absent.
long StatusKb(pid_t pid, const char* name) {
    const std::string status = ReadFile("/proc/" + std::to_string(pid) + "/status");
    const size_t at = status.find(std::string("\n") + name + ":");
    if (at == std::string::npos) return -1;
    return std::strtol(status.c_str() + at + std::strlen(name) + 2, nullptr, 10);
}

// CPU time of every thread of a process in nanoseconds, from the scheduler's own account
// (exact, unlike the 10 ms steps of /proc/PID/stat). Threads that end inside a window are
// counted from /proc/PID/stat instead, see CpuNs.
double ThreadsCpuNs(pid_t pid) {
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return -1;
    double total = 0;
    while (dirent* entry = readdir(d)) {
        if (entry->d_name[0] == '.') continue;
        const std::string text = ReadFile(dir + "/" + entry->d_name + "/schedstat");
        total += std::strtod(text.c_str(), nullptr);
    }
    closedir(d);
    return total;
}

// utime + stime of the whole process (ended threads included) in nanoseconds.
double StatCpuNs(pid_t pid) {
    const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    const size_t paren = stat.rfind(')');
    if (paren == std::string::npos) return -1;
    const char* p = stat.c_str() + paren + 2;
    for (int field = 3; field < 14; ++field) {
        p = std::strchr(p, ' ');
        if (p == nullptr) return -1;
        ++p;
    }
    char* end = nullptr;
    const double utime = std::strtod(p, &end);
    const double stime = std::strtod(end, nullptr);
    return (utime + stime) * 1e9 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct CpuMark {
    double threads = 0, stat = 0;
};
CpuMark MarkCpu(pid_t pid) { return {ThreadsCpuNs(pid), StatCpuNs(pid)}; }

// Percent of one core between two marks over `ms` of wall time. The per-thread figure is
// exact; when the coarse figure is larger by more than its own step (a thread ended inside
// the window), the coarse one is taken.
double CpuPercent(const CpuMark& a, const CpuMark& b, double ms) {
    double ns = b.threads - a.threads;
    const double coarse = b.stat - a.stat;
    const double step = 2e9 / static_cast<double>(sysconf(_SC_CLK_TCK));
    if (a.threads < 0 || b.threads < 0 || coarse > ns + step) ns = coarse;
    return ns / 1e6 / ms * 100.0;
}

void Usage() {
    std::fprintf(stderr,
                 "usage: spherolette-probe [--line PREFIX] [--timeout MS] [--then COMMAND]\n"
                 "       [--settle MS] [--sample MS] [--xserver PID] [--smaps FILE]\n"
                 "       -- PROGRAM ARGS...\n");
}

}  // namespace

int main(int argc, char** argv) {
    std::string prefix = "first-frame-ms";
    std::string then, smapsFile;
    double timeoutMs = 20000, settleMs = 0, sampleMs = 0;
    pid_t xserver = 0;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (i + 1 >= argc) {
            Usage();
            return 2;
        }
        const char* v = argv[++i];
        if (a == "--line") prefix = v;
        else if (a == "--timeout") timeoutMs = std::atof(v);
        else if (a == "--then") then = v;
        else if (a == "--settle") settleMs = std::atof(v);
        else if (a == "--sample") sampleMs = std::atof(v);
        else if (a == "--xserver") xserver = static_cast<pid_t>(std::atol(v));
        else if (a == "--smaps") smapsFile = v;
        else {
            Usage();
            return 2;
        }
    }
    if (i >= argc) {
        Usage();
        return 2;
    }

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return 1;
    const double launched = NowMs();
    const pid_t child = fork();
    if (child < 0) return 1;
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        execvp(argv[i], argv + i);
        std::perror("exec");
        _exit(127);
    }
    close(pipeFds[1]);

    // Read the program's output until the line comes, it ends, or the time runs out.
    std::string output, line;
    double lineAt = -1;
    bool ended = false;
    while (lineAt < 0) {
        const double left = timeoutMs - (NowMs() - launched);
        if (left <= 0) break;
        pollfd p{pipeFds[0], POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left) + 1) <= 0) continue;
        char buffer[512];
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) {
            ended = true;
            break;
        }
        const double at = NowMs();
        output.append(buffer, static_cast<size_t>(n));
        size_t start = 0, nl;
        while ((nl = output.find('\n', start)) != std::string::npos) {
            const std::string l = output.substr(start, nl - start);
            start = nl + 1;
            if (lineAt < 0 && l.rfind(prefix, 0) == 0) {
                lineAt = at;
                line = l;
            }
        }
        output.erase(0, start);
    }

    double reported = -1;
    if (lineAt >= 0) reported = std::atof(line.c_str() + prefix.size());
    double cpu = -1, xcpu = -1;
    long hwm = -1, rss = -1;
    if (lineAt >= 0 && !ended && (sampleMs > 0 || !then.empty())) {
        if (!then.empty()) {
            setenv("PROBE_PID", std::to_string(child).c_str(), 1);
            if (std::system(then.c_str()) != 0) std::fprintf(stderr, "probe: --then failed\n");
        }
        SleepMs(settleMs);
        if (sampleMs > 0) {
            const CpuMark c0 = MarkCpu(child);
            const CpuMark x0 = xserver > 0 ? MarkCpu(xserver) : CpuMark{};
            const double t0 = NowMs();
            SleepMs(sampleMs);
            const CpuMark c1 = MarkCpu(child);
            const CpuMark x1 = xserver > 0 ? MarkCpu(xserver) : CpuMark{};
            const double span = NowMs() - t0;
            cpu = CpuPercent(c0, c1, span);
            if (xserver > 0) xcpu = CpuPercent(x0, x1, span);
        }
    }
    if (!ended) {
        hwm = StatusKb(child, "VmHWM");
        rss = StatusKb(child, "VmRSS");
        if (!smapsFile.empty()) {
            const std::string maps = ReadFile("/proc/" + std::to_string(child) + "/smaps");
            FILE* f = std::fopen(smapsFile.c_str(), "w");
            if (f != nullptr) {
                std::fwrite(maps.data(), 1, maps.size(), f);
                std::fclose(f);
            }
        }
        kill(child, SIGTERM);
    }
    // Drain the pipe so the program never blocks on a full one while it shuts down.
    int status = 0;
    rusage usage{};
    const double stopAsked = NowMs();
    bool reaped = false;
    while (!reaped) {
        const pid_t r = wait4(child, &status, WNOHANG, &usage);
        if (r == child) {
            reaped = true;
            break;
        }
        char buffer[512];
        pollfd p{pipeFds[0], POLLIN, 0};
        if (poll(&p, 1, 20) > 0 && read(pipeFds[0], buffer, sizeof buffer) <= 0) SleepMs(5);
        if (NowMs() - stopAsked > 5000) kill(child, SIGKILL);
    }
    close(pipeFds[0]);

    std::printf("launch_ms=%.2f reported_ms=%.1f peak_kb=%ld rss_kb=%ld maxrss_kb=%ld cpu_pct=%.3f "
                "x_cpu_pct=%.3f exit=%d\n",
                lineAt >= 0 ? lineAt - launched : -1.0, reported, hwm, rss, usage.ru_maxrss, cpu,
                xcpu, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    return lineAt >= 0 ? 0 : 1;
}
