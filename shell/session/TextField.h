// The editable line of the name prompt: Latin-1 text of at most `limit` characters with a caret
// and a selection. It starts with the proposed text selected, so typing replaces it. The
// character "<" is refused (the game's text drawing would read it as the start of a tag), and
// the field says so.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace shell {

class TextField {
public:
    TextField(std::string initial, int limit);

    const std::string& Text() const { return text_; }
    int Limit() const { return limit_; }
    int Caret() const { return caret_; }
    // The selection [begin, end); empty when begin == end.
    int SelectionBegin() const { return std::min(anchor_, caret_); }
    int SelectionEnd() const { return std::max(anchor_, caret_); }
    bool HasSelection() const { return anchor_ != caret_; }
    // True when the text holds nothing but blanks.
    bool Blank() const;
    bool Full() const { return static_cast<int>(text_.size()) >= limit_; }
    // Set when the last thing typed or pasted was refused ("<"), until the next edit.
    bool Refused() const { return refused_; }

    // A typed Latin-1 character replaces the selection, or goes in at the caret while there is
    // room. Control characters are not text.
    void Type(uint8_t character);
    // Latin-1 text from the clipboard, as typed, cut to the room left.
    void Paste(const std::string& latin1);
    void Left();
    void Right();
    void Home();
    void End();
    void Backspace();
    void Delete();
    void SelectAll();
    // Puts the proposed text back, selected.
    void Reset();

private:
    void Replace(const std::string& with);

    std::string initial_;
    int limit_;
    std::string text_;
    int caret_ = 0;
    int anchor_ = 0;
    bool refused_ = false;
};

}  // namespace shell
