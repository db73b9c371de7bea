// Editing the name prompt's line.
#include "shell/session/TextField.h"

#include <algorithm>

namespace shell {

namespace {
bool IsText(uint8_t c) { return c >= 32 && c != 127; }
}  // namespace

TextField::TextField(std::string initial, int limit) : limit_(std::max(0, limit)) {
    // The proposal obeys the field's own rules: only text, no "<", within the limit.
    for (char c : initial) {
        const auto u = static_cast<uint8_t>(c);
        if (IsText(u) && c != '<' && static_cast<int>(initial_.size()) < limit_) initial_ += c;
    }
    Reset();
}

bool TextField::Blank() const {
    return std::all_of(text_.begin(), text_.end(), [](char c) { return c == ' '; });
}

void TextField::Reset() {
    text_ = initial_;
    anchor_ = 0;
    caret_ = static_cast<int>(text_.size());
    refused_ = false;
}

void TextField::Replace(const std::string& with) {
    const int begin = SelectionBegin(), end = SelectionEnd();
    text_.erase(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
    const size_t room = static_cast<size_t>(limit_) - std::min(text_.size(), static_cast<size_t>(limit_));
    const std::string piece = with.substr(0, room);
    text_.insert(static_cast<size_t>(begin), piece);
    caret_ = anchor_ = begin + static_cast<int>(piece.size());
}

void TextField::Type(uint8_t character) {
    if (!IsText(character)) return;
    refused_ = character == '<';
    if (refused_) return;
    Replace(std::string(1, static_cast<char>(character)));
}

void TextField::Paste(const std::string& latin1) {
    std::string clean;
    refused_ = false;
    for (char c : latin1) {
        const auto u = static_cast<uint8_t>(c);
        if (c == '<') {
            refused_ = true;
        } else if (IsText(u)) {
            clean += c;
        } else if (c == '\t' || c == '\n' || c == '\r') {
            clean += ' ';  // a line break or a tab in what was copied reads as a blank
        }
    }
    Replace(clean);
}

void TextField::Left() {
    refused_ = false;
    if (HasSelection()) {
        caret_ = anchor_ = SelectionBegin();
    } else if (caret_ > 0) {
        anchor_ = --caret_;
    }
}

void TextField::Right() {
    refused_ = false;
    if (HasSelection()) {
        caret_ = anchor_ = SelectionEnd();
    } else if (caret_ < static_cast<int>(text_.size())) {
        anchor_ = ++caret_;
    }
}

void TextField::Home() {
    refused_ = false;
    caret_ = anchor_ = 0;
}

void TextField::End() {
    refused_ = false;
    caret_ = anchor_ = static_cast<int>(text_.size());
}

void TextField::Backspace() {
    refused_ = false;
    if (!HasSelection()) {
        if (caret_ == 0) return;
        anchor_ = caret_ - 1;
    }
    Replace({});
}

void TextField::Delete() {
    refused_ = false;
    if (!HasSelection()) {
        if (caret_ >= static_cast<int>(text_.size())) return;
        anchor_ = caret_ + 1;
    }
    Replace({});
}

void TextField::SelectAll() {
    refused_ = false;
    anchor_ = 0;
    caret_ = static_cast<int>(text_.size());
}

}  // namespace shell
