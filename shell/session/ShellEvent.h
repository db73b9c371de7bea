// The shell's own input records. Every front end turns its platform's events into these, so
// everything above the front ends (the input layer, dialogs, menus) handles one kind of event.
#pragma once

#include <cstdint>
#include <string>

namespace shell {

// Keys the shell gives a meaning to; letters and digits come as Character.
enum class KeyCode {
    None, Character, Escape, Enter, Tab, Backspace, Delete, Left, Right, Up, Down, Home, End,
    Space, F1, F10, F11, F12, Menu,
};

// Modifier bits of a key record.
constexpr uint32_t kModCtrl = 1;
constexpr uint32_t kModShift = 2;
constexpr uint32_t kModAlt = 4;

struct ShellEvent {
    enum class Type {
        None,
        PointerDown,   // the primary button (or a finger, a pen) went down at (x, y)
        PointerUp,     // it came up at (x, y)
        PointerMove,   // the pointer is at (x, y); `held` while the button is down
        PointerLeft,   // the pointer left the window with no button down
        Key,           // a key went down: `key`, `character` for letters, `mods`
        Text,          // typed text, UTF-8 in `text`
        FocusLost,     // the window lost the keyboard focus or was hidden
        FocusGained,
        Resized,       // the drawable area is now x by y pixels
        Exposed,       // the window must be drawn again
        Close,         // the player closed the window
        Terminate,     // the program is told to end (a signal, the session ending)
    };
    Type type = Type::None;
    int x = 0, y = 0;  // pointer: pixels of the drawable area; Resized: its size
    bool held = false;
    KeyCode key = KeyCode::None;
    char character = 0;  // KeyCode::Character: the key's character, lower case
    uint32_t mods = 0;
    std::string text;

    static ShellEvent Pointer(Type type, int x, int y, bool held = false) {
        ShellEvent e;
        e.type = type;
        e.x = x;
        e.y = y;
        e.held = held;
        return e;
    }
    static ShellEvent KeyDown(KeyCode key, uint32_t mods = 0, char character = 0) {
        ShellEvent e;
        e.type = Type::Key;
        e.key = key;
        e.mods = mods;
        e.character = character;
        return e;
    }
    static ShellEvent Typed(std::string utf8) {
        ShellEvent e;
        e.type = Type::Text;
        e.text = std::move(utf8);
        return e;
    }
    static ShellEvent Of(Type type) {
        ShellEvent e;
        e.type = type;
        return e;
    }
};

}  // namespace shell
