// Command-line parsing: "--name value" and "--name=value" both work.
#include "shell/session/Options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "shell/session/Shortcuts.h"

namespace shell {

namespace {

bool ParseNumber(const std::string& text, uint64_t max, uint64_t* out) {
    if (text.empty() || text[0] == '-' || text[0] == '+') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0' || v > max) return false;
    *out = v;
    return true;
}

}  // namespace

std::string UsageText() {
    return "Usage: spherolette [options]\n"
           "A puzzle game: line up five or more bubbles of one colour to pop them.\n"
           "A line of five saves the wave; each bubble beyond five adds a free move.\n"
           "\n"
           "Options:\n"
           "  -h, --help              list every option and exit\n"
           "      --version           print the game's version and exit\n"
           "      --scale N           scale the 530 x 420 window by the whole factor N\n"
           "                          (default: the largest that fits the screen)\n"
           "      --library FILE      load the game library from FILE\n"
           "      --settings FILE     keep scores and options in FILE\n"
           "      --seed N            seed the random source with N (a reproducible game)\n"
           "      --headless          no window and no sound card, on a virtual clock\n"
           "      --script FILE       in headless mode, play the commands in FILE\n"
           "      --screenshot FILE   write a PNG of the main stage to FILE at exit\n"
           "      --trace             log every call between the game and the shell\n"
           "      --autoplay          the computer plays: a demo in the window (a click or\n"
           "                          a key ends it); headless it also checks the saved\n"
           "                          scores and the game's objects\n"
           "      --autoplay-difficulty N\n"
           "                          the difficulty it chooses, 0 (Very Easy) to 4\n"
           "                          (Very Hard); default: a random one each time\n"
           "      --autoplay-games N  stop after N games, 0 for never (default: 1\n"
           "                          headless, never in the window)\n"
           "      --relaxed           the game's clock runs at half speed; its scores and\n"
           "                          options are kept apart from the standard ones\n"
           "      --symbols, --no-symbols\n"
           "                          draw the bubbles with a symbol for each colour, or\n"
           "                          plain (remembered; applies from the next game)\n"
           "      --volume N          sound volume in per cent, 0 to 100 (remembered)\n"
           "      --record FILE       save the seed, options and every input to FILE\n"
           "      --replay FILE       play a saved FILE back (in the window or headless)\n"
           "      --report-first-frame\n"
           "                          print \"first-frame-ms N\" once the title is shown\n"
           "\n"
           "Script commands (one a line; # starts a comment):\n"
           "  press X Y | move X Y | release X Y | click X Y | drag X1 Y1 X2 Y2\n"
           "  key TEXT | help | wait MS | answer N | input TEXT\n"
           "  screenshot FILE | screenshot-help FILE | quit\n"
           "\n"
           "Keys (F1 shows the help page; Esc, a click or F1 again returns):\n" +
           ShortcutHelpText() +
           "\n"
           "Exit status:\n"
           "  0  a normal quit\n"
           "  1  the game library or its entry points cannot be found\n"
           "  2  bad usage: an unknown option, a bad value, an unreadable script or replay\n"
           "  3  the game kept or released an object wrongly (a check for developers)\n"
           "  4  no window can be opened\n"
           "  5  a check of --autoplay failed\n"
           "  6  no font was found for the game's text\n";
}

bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        bool hasValue = false;
        const size_t eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            hasValue = true;
        }
        auto takeValue = [&](std::string* out) {
            if (!hasValue) {
                if (i + 1 >= argc) {
                    *error = arg + " needs a value";
                    return false;
                }
                value = argv[++i];
            }
            *out = value;
            return true;
        };
        std::string v;
        if (arg == "-h" || arg == "--help") {
            options->help = true;
        } else if (arg == "--version") {
            options->version = true;
        } else if (arg == "--headless") {
            options->headless = true;
        } else if (arg == "--trace") {
            options->trace = true;
        } else if (arg == "--report-first-frame") {
            options->reportFirstFrame = true;
        } else if (arg == "--scale") {
            uint64_t n = 0;
            if (!takeValue(&v)) return false;
            if (!ParseNumber(v, 16, &n) || n == 0) {
                *error = "--scale needs a whole number from 1 to 16, not \"" + v + "\"";
                return false;
            }
            options->scale = static_cast<int>(n);
        } else if (arg == "--seed") {
            uint64_t n = 0;
            if (!takeValue(&v)) return false;
            if (!ParseNumber(v, UINT64_MAX, &n)) {
                *error = "--seed needs a whole number, not \"" + v + "\"";
                return false;
            }
            options->seed = n;
        } else if (arg == "--autoplay") {
            options->autoplay = true;
        } else if (arg == "--autoplay-difficulty") {
            uint64_t n = 0;
            if (!takeValue(&v)) return false;
            if (!ParseNumber(v, 4, &n)) {
                *error = "--autoplay-difficulty needs a whole number from 0 to 4, not \"" + v + "\"";
                return false;
            }
            options->autoplayDifficulty = static_cast<int>(n);
        } else if (arg == "--autoplay-games") {
            uint64_t n = 0;
            if (!takeValue(&v)) return false;
            if (!ParseNumber(v, 1000000, &n)) {
                *error = "--autoplay-games needs a whole number from 0 to 1000000, not \"" + v + "\"";
                return false;
            }
            options->autoplayGames = static_cast<int>(n);
        } else if (arg == "--relaxed") {
            options->relaxed = true;
        } else if (arg == "--symbols" || arg == "--no-symbols") {
            options->symbols = arg == "--symbols";
        } else if (arg == "--volume") {
            uint64_t n = 0;
            if (!takeValue(&v)) return false;
            if (!ParseNumber(v, 100, &n)) {
                *error = "--volume needs a whole number from 0 to 100, not \"" + v + "\"";
                return false;
            }
            options->volume = static_cast<int>(n);
        } else if (arg == "--record") {
            if (!takeValue(&options->record)) return false;
        } else if (arg == "--replay") {
            if (!takeValue(&options->replay)) return false;
        } else if (arg == "--library") {
            if (!takeValue(&options->library)) return false;
        } else if (arg == "--settings") {
            if (!takeValue(&options->settings)) return false;
        } else if (arg == "--script") {
            if (!takeValue(&options->script)) return false;
        } else if (arg == "--screenshot") {
            if (!takeValue(&options->screenshot)) return false;
        } else {
            *error = "unknown option \"" + arg + "\" (see --help)";
            return false;
        }
    }
    if (!options->script.empty() && !options->headless) {
        *error = "--script needs --headless";
        return false;
    }
    if ((options->autoplayDifficulty || options->autoplayGames >= 0) && !options->autoplay) {
        *error = "--autoplay-difficulty and --autoplay-games need --autoplay";
        return false;
    }
    if (!options->record.empty() && !options->replay.empty()) {
        *error = "--record and --replay cannot be used together";
        return false;
    }
    if (!options->replay.empty() && (options->autoplay || !options->script.empty())) {
        *error = "--replay plays alone: no --autoplay or --script with it";
        return false;
    }
    if (options->autoplayGames < 0) options->autoplayGames = options->headless ? 1 : 0;
    return true;
}

}  // namespace shell
