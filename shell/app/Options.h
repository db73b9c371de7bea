// The command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace shell {

struct Options {
    bool help = false;
    bool version = false;
    bool headless = false;
    bool trace = false;
    bool reportFirstFrame = false;
    int scale = 0;  // 0: the largest whole factor that fits the screen
    std::optional<uint64_t> seed;
    std::string library;     // empty: look next to the executable
    std::string settings;    // empty: the user's data directory (memory when headless)
    std::string script;      // headless input script
    std::string screenshot;  // PNG of the main stage at exit
};

// Parses argv; false with a message in *error for an unknown option or a bad value.
bool ParseOptions(int argc, char** argv, Options* options, std::string* error);
// The text --help prints.
std::string UsageText();

}  // namespace shell
