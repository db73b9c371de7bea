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
    bool autoplay = false;                 // the bot plays
    std::optional<int> autoplayDifficulty; // empty: a random one each time
    int autoplayGames = -1;                // -1: one headless, endless in the window; 0: endless
    bool relaxed = false;                  // the game's clock at half speed, its own scores
    std::optional<bool> symbols;           // empty: as remembered
    std::optional<int> volume;             // per cent; empty: as remembered
    std::string record;                    // write a replay of the run here
    std::string replay;                    // play this replay back
};

// Parses argv; false with a message in *error for an unknown option or a bad value.
bool ParseOptions(int argc, char** argv, Options* options, std::string* error);
// The text --help prints.
std::string UsageText();

}  // namespace shell
