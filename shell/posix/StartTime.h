// How long the process has been running, for the first-frame figure.
#pragma once

namespace shell {

// Notes the time main() began (the fallback when /proc cannot tell the process start).
void MarkMainStart();
// Milliseconds since the process started, from /proc/self/stat (kernel clock ticks, usually
// 10 ms steps) when it is available, else since MarkMainStart.
double MsSinceProcessStart();
// With --trace, how long start-up took up to each step.
void StartupStep(const char* step);
// Notes the first frame shown; with `print`, prints "first-frame-ms N" on stdout.
void ReportFirstFrame(bool print);

}  // namespace shell
