// A modal box in the game's look: a teal panel with a dark frame and title bar, the message in
// "Arial", and buttons; or the name prompt, whose one button is OK, with an editable field, a
// count of the characters left, and a note when "<" is refused. It knows its layout, how to draw
// itself on a picture and what the pointer and keys do to it; a loop around it shows and feeds it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/core/FontCache.h"
#include "shell/core/Pixmap.h"
#include "shell/session/TextField.h"

namespace shell {

class DialogBox {
public:
    enum class Key { Enter, Escape, Tab, Left, Right, Home, End, Backspace, Delete, SelectAll };

    // A message or a question: `buttons` left to right; the first is chosen by Enter, the last
    // by Escape.
    DialogBox(FontCache& fonts, std::string title, std::string text,
              std::vector<std::string> buttons);
    // The name prompt: the field holds `initial`, selected, and takes at most `limit` characters.
    // OK is its only button, unavailable while the field is blank; Escape puts `initial` back.
    static DialogBox Prompt(FontCache& fonts, std::string title, std::string prompt,
                            std::string initial, int limit);

    // Places the box in the middle of `area` (the part of the stage it may cover).
    void Layout(const Rect& area);
    void Paint(Pixmap& target);
    Rect Bounds() const { return bounds_; }

    void PointerDown(int x, int y);
    void PointerMove(int x, int y);
    void PointerUp(int x, int y);
    void Press(Key key);
    // A typed Latin-1 character; the field takes it (and a question answers to its initials).
    void Typed(uint8_t character);
    // Latin-1 text pasted into the field.
    void Paste(const std::string& latin1);
    // Closing the window: a question answers with its last button; the prompt takes the field
    // as it stands, or the proposal when the field is blank.
    void Close();

    bool Done() const { return chosen_ >= 0; }
    int Chosen() const { return chosen_; }
    bool HasField() const { return field_.has_value(); }
    const std::string& Field() const;
    int Focus() const { return focus_; }
    // False while a button cannot be chosen (OK of a blank prompt).
    bool Available(int button) const;

private:
    int ButtonAt(int x, int y) const;
    void Choose(int button);
    std::vector<std::string> Wrap(const std::string& text, int width);
    void PaintField(Pixmap& target, int lineHeight);

    FontCache& fonts_;
    std::string title_;
    std::string text_;
    std::vector<std::string> lines_;
    std::vector<std::string> buttons_;
    std::optional<TextField> field_;
    int focus_ = 0;
    int hover_ = -1;
    int pressed_ = -1;
    int chosen_ = -1;
    Rect bounds_, fieldRect_, noteRect_;
    std::vector<Rect> buttonRects_;
};

}  // namespace shell
