// The keys the shell gives a meaning to, written once for the list shown over the help control
// and for the program's --help.
#pragma once

#include <string>
#include <vector>

namespace shell {

struct Shortcut {
    const char* keys;
    const char* action;
};

// Every shortcut, in the order they are listed.
const std::vector<Shortcut>& Shortcuts();
// The lines of the list shown while the pointer rests on the help control: a heading, then
// the shortcuts two to a line.
std::vector<std::string> ShortcutPanelLines();
// The shortcuts as --help lists them, one to a line, indented.
std::string ShortcutHelpText();

}  // namespace shell
