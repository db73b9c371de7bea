// The game menu as the player sees and works it: a drop-down panel in the dialogs' look under
// the menu control, one row an entry with its shortcut keys beside it, check marks for the
// options and the volume with its level. It knows its layout, how to draw itself and what the
// pointer and the keys do to it; MenuController shows it in a loop and carries out its entries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/core/FontCache.h"
#include "shell/core/Pixmap.h"

namespace shell {

enum class MenuCommand {
    NewGame, BackToTitle, Pause, Help,
    Symbols, Sound, VolumeDown, VolumeUp, Relaxed, PixelPerfect, Fullscreen,
    Quit,
};

struct MenuEntry {
    MenuCommand command = MenuCommand::Quit;  // VolumeUp stands for the volume row
    std::string label;
    std::string keys;               // the shortcut shown beside it; empty for none
    std::optional<bool> checked;    // an option: on or off
    std::optional<int> level;       // the volume row: per cent
    bool enabled = true;
    bool groupStart = false;        // a line above it
};

class GameMenu {
public:
    enum class Key { Up, Down, Left, Right, Enter, Close };
    static constexpr int kRowHeight = 20;

    GameMenu(FontCache& fonts, std::vector<MenuEntry> entries);
    // New states of the same entries (after one was carried out); the focus stays.
    void Refresh(std::vector<MenuEntry> entries);

    // Places the panel with its top-right corner at (right, top), kept inside the stage.
    void Layout(int right, int top, int stageWidth, int stageHeight);
    void Paint(Pixmap& target) const;
    Rect Bounds() const { return bounds_; }

    void PointerDown(int x, int y);
    void PointerMove(int x, int y);
    void PointerUp(int x, int y);
    void Press(Key key);

    // The entry chosen since the last call (once), if any.
    std::optional<MenuCommand> TakeChosen();
    // The menu was closed (Escape, F10, a click outside).
    bool Closed() const { return closed_; }
    void Close() { closed_ = true; }
    int Focus() const { return focus_; }

private:
    int RowAt(int x, int y) const;
    Rect RowRect(int row) const;
    void MoveFocus(int step);
    void Choose(int row, int x);

    FontCache& fonts_;
    std::vector<MenuEntry> entries_;
    Rect bounds_;
    int labelWidth_ = 0, keysWidth_ = 0;
    int focus_ = -1;
    int hover_ = -1;
    int pressed_ = -1;
    bool pressedOutside_ = false;
    bool closed_ = false;
    std::optional<MenuCommand> chosen_;
};

}  // namespace shell
