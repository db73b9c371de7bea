// The shell program: command line, library, settings, then the window or the headless run.
#pragma once

namespace shell {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitNoLibrary = 1;
constexpr int kExitUsage = 2;
constexpr int kExitLedger = 3;
constexpr int kExitNoWindow = 4;
constexpr int kExitAutoplay = 5;  // a check the bot makes failed
constexpr int kExitNoFont = 6;    // no font file at all: no text could be shown

int RunProgram(int argc, char** argv);

}  // namespace shell
