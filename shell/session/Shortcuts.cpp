// The table of shortcuts.
#include "shell/session/Shortcuts.h"

#include <algorithm>
#include <cstring>

namespace shell {

const std::vector<Shortcut>& Shortcuts() {
    static const std::vector<Shortcut> kShortcuts = {
        {"F1", "help page"},
        {"Esc, Ctrl+P", "pause a game"},
        {"Ctrl+M", "sound on/off"},
        {"Ctrl+Up/Down", "volume"},
        {"Ctrl+S", "symbols on the bubbles (next game)"},
        {"F11", "fullscreen"},
        {"F12", "screenshot"},
        {"Arrows", "move the cursor a cell"},
        {"Tab", "next button or control"},
        {"Space, Enter", "pick up, drop or press"},
    };
    return kShortcuts;
}

std::vector<std::string> ShortcutPanelLines() {
    std::vector<std::string> lines = {"Keys"};
    const auto& all = Shortcuts();
    for (const Shortcut& s : all) lines.push_back(std::string(s.keys) + "  " + s.action);
    lines.push_back("Click a bubble, then click where it goes");
    lines.push_back("A line of five saves the wave; each bubble");
    lines.push_back("beyond five adds a free move");
    return lines;
}

std::string ShortcutHelpText() {
    size_t width = 0;
    for (const Shortcut& s : Shortcuts()) width = std::max(width, std::strlen(s.keys));
    std::string text;
    for (const Shortcut& s : Shortcuts()) {
        std::string keys = s.keys;
        keys.resize(width, ' ');
        text += "  " + keys + "  " + s.action + "\n";
    }
    text += "  A click on a bubble picks it up; the next click drops it.\n";
    return text;
}

}  // namespace shell
