// Log lines go straight to stderr: the shell logs rarely (a missing picture, no audio device),
// so nothing is buffered and a crash never loses the line that explains it.
#include "shell/core/Log.h"

#include <cstdarg>
#include <cstdio>

namespace shell {

namespace {
bool traceEnabled = false;
std::string* logSink = nullptr;
}  // namespace

void Log(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fprintf(stderr, "spherolette: %s\n", line);
    if (logSink != nullptr) {
        logSink->append(line);
        logSink->push_back('\n');
    }
}

bool TraceEnabled() { return traceEnabled; }
void SetTraceEnabled(bool enabled) { traceEnabled = enabled; }

void TraceLine(const std::string& line) {
    std::fprintf(stderr, "trace: %s\n", line.c_str());
}

void SetLogSink(std::string* sink) { logSink = sink; }

}  // namespace shell
