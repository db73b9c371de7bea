// A modal box in the game's look: a teal panel with a dark frame and title bar, the message in
// "Arial", an optional single-line field, and buttons. It knows its layout, how to draw itself
// on a picture and what the mouse and keys do to it; a loop around it shows and feeds it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/core/FontCache.h"
#include "shell/core/Pixmap.h"

namespace shell {

class DialogBox {
public:
    enum class Key { Enter, Escape, Tab, Left, Right, Backspace };

    // `buttons` left to right; the first is chosen by Enter, the last by Escape.
    DialogBox(FontCache& fonts, std::string title, std::string text,
              std::vector<std::string> buttons, bool hasField = false, std::string field = {},
              int limit = 0);

    // Places the box in the middle of a stage of the given size.
    void Layout(int stageWidth, int stageHeight);
    void Paint(Pixmap& target);
    Rect Bounds() const { return bounds_; }

    void PointerDown(int x, int y);
    void PointerMove(int x, int y);
    void PointerUp(int x, int y);
    void Press(Key key);
    // A typed Latin-1 character; only the field takes it (and Y / N answer a question).
    void Typed(uint8_t character);
    // Closing the window: the last button.
    void Close() { chosen_ = static_cast<int>(buttons_.size()) - 1; }

    bool Done() const { return chosen_ >= 0; }
    int Chosen() const { return chosen_; }
    const std::string& Field() const { return field_; }
    int Focus() const { return focus_; }

private:
    int ButtonAt(int x, int y) const;
    std::vector<std::string> Wrap(const std::string& text, int width);

    FontCache& fonts_;
    std::string title_;
    std::string text_;
    std::vector<std::string> lines_;
    std::vector<std::string> buttons_;
    bool hasField_;
    std::string field_;
    int limit_;
    int focus_ = 0;
    int hover_ = -1;
    int pressed_ = -1;
    int chosen_ = -1;
    Rect bounds_, fieldRect_;
    std::vector<Rect> buttonRects_;
};

}  // namespace shell
