// Input scripts for headless runs: one command a line, blank lines and lines starting with #
// ignored.
//   press X Y | move X Y | release X Y | click X Y | drag X1 Y1 X2 Y2
//   key TEXT (typed as is, UTF-8 turned into Latin-1) | help | wait MS
//   answer N (the next Yes/No question: 1 Yes, else No) | input TEXT (the next input box)
//   screenshot FILE | screenshot-help FILE | quit
#pragma once

#include <string>
#include <vector>

namespace shell {

struct ScriptCommand {
    enum class Kind {
        Press, Move, Release, Click, Drag, Key, Help, Wait, Answer, Input, Screenshot,
        ScreenshotHelp, Quit,
    };
    Kind kind = Kind::Quit;
    int args[4] = {0, 0, 0, 0};
    std::string text;
    int line = 0;
};

// False with "line N: ..." in *error for the first line that is not a command.
bool ParseScript(const std::string& source, std::vector<ScriptCommand>* commands,
                 std::string* error);

}  // namespace shell
