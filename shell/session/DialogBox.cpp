// Dialog layout, drawing and behaviour.
#include "shell/session/DialogBox.h"

#include <algorithm>
#include <sstream>

#include "host/Object.h"

namespace shell {

namespace {
constexpr const char* kFace = "Arial";
constexpr int kTextSize = 14;
constexpr int kTitleBar = 22;
constexpr int kPad = 12;
constexpr int kLineGap = 2;
constexpr int kButtonWidth = 80, kButtonHeight = 24, kButtonGap = 12;
constexpr int kFieldHeight = 24;
constexpr int kMinWidth = 260, kMaxWidth = 440;

const uint32_t kPanel = Argb(51, 153, 153);
const uint32_t kDark = Argb(0, 51, 51);
const uint32_t kButtonFace = Argb(0, 102, 102);
}  // namespace

DialogBox::DialogBox(FontCache& fonts, std::string title, std::string text,
                     std::vector<std::string> buttons, bool hasField, std::string field, int limit)
    : fonts_(fonts),
      title_(std::move(title)),
      text_(std::move(text)),
      buttons_(std::move(buttons)),
      hasField_(hasField),
      field_(std::move(field)),
      limit_(std::max(0, limit)) {
    if (buttons_.empty()) buttons_.push_back("OK");
    if (hasField_ && field_.size() > static_cast<size_t>(limit_)) field_.resize(limit_);
}

std::vector<std::string> DialogBox::Wrap(const std::string& text, int width) {
    std::vector<std::string> out;
    std::istringstream paragraphs(text);
    std::string paragraph;
    while (std::getline(paragraphs, paragraph)) {
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        std::istringstream words(paragraph);
        std::string word, line;
        while (words >> word) {
            const std::string candidate = line.empty() ? word : line + " " + word;
            int w = 0;
            fonts_.Measure(kFace, kTextSize, 0, candidate, &w, nullptr);
            if (w > width && !line.empty()) {
                out.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
        }
        out.push_back(line);
    }
    if (out.empty()) out.push_back("");
    return out;
}

void DialogBox::Layout(int stageWidth, int stageHeight) {
    int widest = 0, w = 0, lineHeight = 0;
    std::istringstream paragraphs(text_);
    std::string paragraph;
    while (std::getline(paragraphs, paragraph)) {
        fonts_.Measure(kFace, kTextSize, 0, paragraph, &w, &lineHeight);
        widest = std::max(widest, w);
    }
    fonts_.Measure(kFace, kTextSize, host::kStyleBold, title_, &w, &lineHeight);
    widest = std::max(widest, w);
    const int buttonsWidth =
        static_cast<int>(buttons_.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    const int inner = std::clamp(std::max(widest, buttonsWidth), kMinWidth - 2 * kPad,
                                 std::min(kMaxWidth, stageWidth - 8) - 2 * kPad);
    lines_ = Wrap(text_, inner);
    if (lineHeight <= 0) lineHeight = kTextSize + 2;
    const int textHeight = static_cast<int>(lines_.size()) * (lineHeight + kLineGap);
    const int height = kTitleBar + kPad + textHeight + (hasField_ ? kFieldHeight + kPad : 0) +
                       kPad + kButtonHeight + kPad;
    const int width = inner + 2 * kPad;
    bounds_ = {(stageWidth - width) / 2, (stageHeight - height) / 2, width, height};
    int y = bounds_.y + kTitleBar + kPad + textHeight;
    if (hasField_) {
        fieldRect_ = {bounds_.x + kPad, y, inner, kFieldHeight};
        y += kFieldHeight + kPad;
    }
    y += kPad - kLineGap;
    buttonRects_.clear();
    int x = bounds_.x + (width - buttonsWidth) / 2;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        buttonRects_.push_back({x, y, kButtonWidth, kButtonHeight});
        x += kButtonWidth + kButtonGap;
    }
}

void DialogBox::Paint(Pixmap& target) {
    const Rect b = bounds_;
    auto frame = [&](const Rect& r, uint32_t colour) {
        target.Fill({r.x, r.y, r.w, 1}, colour);
        target.Fill({r.x, r.Bottom() - 1, r.w, 1}, colour);
        target.Fill({r.x, r.y, 1, r.h}, colour);
        target.Fill({r.Right() - 1, r.y, 1, r.h}, colour);
    };
    auto text = [&](const std::string& s, int style, int x, int y, uint32_t colour) {
        fonts_.Draw(target, kFace, kTextSize, style, s, x, y, static_cast<uint8_t>(colour >> 16),
                    static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour));
    };
    // A soft shadow, the panel, its frame and title bar.
    target.Blend(Pixmap(b.w, b.h, Argb(0, 0, 0, 90)), b.x + 4, b.y + 4);
    target.Fill(b, kPanel);
    target.Fill({b.x, b.y, b.w, kTitleBar}, kDark);
    frame(b, kDark);
    frame({b.x + 1, b.y + 1, b.w - 2, b.h - 2}, kDark);
    int lineHeight = 0;
    fonts_.Measure(kFace, kTextSize, 0, "Ag", nullptr, &lineHeight);
    if (lineHeight <= 0) lineHeight = kTextSize + 2;
    text(title_, host::kStyleBold, b.x + kPad, b.y + (kTitleBar - lineHeight) / 2,
         Argb(255, 255, 255));
    int y = b.y + kTitleBar + kPad;
    for (const std::string& line : lines_) {
        text(line, 0, b.x + kPad, y, Argb(0, 0, 0));
        y += lineHeight + kLineGap;
    }
    if (hasField_) {
        const Rect f = fieldRect_;
        target.Fill(f, Argb(255, 255, 255));
        frame(f, kDark);
        int w = 0;
        fonts_.Measure(kFace, kTextSize, 0, field_, &w, nullptr);
        // Long text scrolls so the caret stays in view.
        const int room = f.w - 10;
        const int shift = std::max(0, w - room);
        Pixmap inside(f.w - 4, f.h - 4, Argb(255, 255, 255));
        fonts_.Draw(inside, kFace, kTextSize, 0, field_, 3 - shift, (inside.Height() - lineHeight) / 2,
                    0, 0, 0);
        inside.Fill({3 - shift + w, 3, 1, inside.Height() - 6}, Argb(0, 0, 0));  // the caret
        target.Blend(inside, f.x + 2, f.y + 2);
    }
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const Rect r = buttonRects_[i];
        const bool lit = static_cast<int>(i) == hover_ || static_cast<int>(i) == focus_;
        target.Fill(r, lit ? kButtonFace : kPanel);
        frame(r, kDark);
        if (static_cast<int>(i) == focus_) frame({r.x + 2, r.y + 2, r.w - 4, r.h - 4}, kDark);
        int w = 0, h = 0;
        fonts_.Measure(kFace, kTextSize, host::kStyleBold, buttons_[i], &w, &h);
        text(buttons_[i], host::kStyleBold, r.x + (r.w - w) / 2, r.y + (r.h - h) / 2,
             static_cast<int>(i) == hover_ ? Argb(255, 255, 0) : Argb(0, 0, 0));
    }
}

int DialogBox::ButtonAt(int x, int y) const {
    for (size_t i = 0; i < buttonRects_.size(); ++i) {
        if (buttonRects_[i].Contains(x, y)) return static_cast<int>(i);
    }
    return -1;
}

void DialogBox::PointerDown(int x, int y) {
    pressed_ = ButtonAt(x, y);
    if (pressed_ >= 0) focus_ = pressed_;
}

void DialogBox::PointerMove(int x, int y) { hover_ = ButtonAt(x, y); }

void DialogBox::PointerUp(int x, int y) {
    if (pressed_ >= 0 && ButtonAt(x, y) == pressed_) chosen_ = pressed_;
    pressed_ = -1;
}

void DialogBox::Press(Key key) {
    const int count = static_cast<int>(buttons_.size());
    switch (key) {
        case Key::Enter: chosen_ = hasField_ ? 0 : focus_; break;
        case Key::Escape: chosen_ = count - 1; break;
        case Key::Tab:
        case Key::Right: focus_ = (focus_ + 1) % count; break;
        case Key::Left: focus_ = (focus_ + count - 1) % count; break;
        case Key::Backspace:
            if (hasField_ && !field_.empty()) field_.pop_back();
            break;
    }
}

void DialogBox::Typed(uint8_t c) {
    if (hasField_) {
        if (c >= 32 && c != 127 && field_.size() < static_cast<size_t>(limit_)) {
            field_.push_back(static_cast<char>(c));
        }
        return;
    }
    // A question answers to its initials too.
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const char first = buttons_[i].empty() ? 0 : buttons_[i][0];
        if (c == static_cast<uint8_t>(first) || c == static_cast<uint8_t>(first | 0x20)) {
            if (buttons_.size() > 1) chosen_ = static_cast<int>(i);
        }
    }
}

}  // namespace shell
