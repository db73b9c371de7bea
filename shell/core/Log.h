// The shell's log: one line per message on stderr, and the optional trace of every call the
// applet makes into the shell.
#pragma once

#include <string>

namespace shell {

// Writes "spherolette: <message>" as one line on stderr.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The trace of host calls (off unless --trace).
bool TraceEnabled();
void SetTraceEnabled(bool enabled);
void TraceLine(const std::string& line);

// Lets tests see what was logged: every line is also appended here while a sink is set.
void SetLogSink(std::string* sink);

}  // namespace shell
