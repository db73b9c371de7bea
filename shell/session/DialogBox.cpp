// Dialog layout, drawing and behaviour.
#include "shell/session/DialogBox.h"

#include <algorithm>
#include <sstream>

#include "host/GameLook.h"
#include "host/Object.h"

namespace shell {

namespace {
constexpr const char* kFace = "Arial";
constexpr int kTextSize = 14;
constexpr int kNoteSize = 12;
constexpr int kTitleBar = 22;
constexpr int kPad = 12;
constexpr int kLineGap = 2;
constexpr int kButtonWidth = 80, kButtonHeight = 24, kButtonGap = 12;
constexpr int kFieldHeight = 24;
constexpr int kNoteHeight = 16;
constexpr int kMinWidth = 260, kMaxWidth = 440;

const uint32_t kPanel = Argb(host::look::kBackgroundRed, host::look::kBackgroundGreen,
                             host::look::kBackgroundBlue);
const uint32_t kDark = Argb(0, 51, 51);
const uint32_t kButtonFace = Argb(0, 102, 102);
const uint32_t kUnavailable = Argb(26, 102, 102);
const uint32_t kWarning = Argb(128, 0, 0);
const std::string kEmpty;
}  // namespace

DialogBox::DialogBox(FontCache& fonts, std::string title, std::string text,
                     std::vector<std::string> buttons)
    : fonts_(fonts), title_(std::move(title)), text_(std::move(text)), buttons_(std::move(buttons)) {
    if (buttons_.empty()) buttons_.push_back("OK");
}

DialogBox DialogBox::Prompt(FontCache& fonts, std::string title, std::string prompt,
                            std::string initial, int limit) {
    DialogBox box(fonts, std::move(title), std::move(prompt), {"OK"});
    box.field_.emplace(std::move(initial), limit);
    return box;
}

const std::string& DialogBox::Field() const { return field_ ? field_->Text() : kEmpty; }

bool DialogBox::Available(int button) const {
    return !(field_ && button == 0 && field_->Blank());
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

void DialogBox::Layout(const Rect& area) {
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
    const int maxInner = std::min(kMaxWidth, area.w - 8) - 2 * kPad;
    const int minInner = std::min(kMinWidth - 2 * kPad, maxInner);
    const int inner = std::clamp(std::max(widest, buttonsWidth), minInner, maxInner);
    lines_ = Wrap(text_, inner);
    if (lineHeight <= 0) lineHeight = kTextSize + 2;
    const int textHeight = static_cast<int>(lines_.size()) * (lineHeight + kLineGap);
    const int fieldHeight = field_ ? kFieldHeight + kNoteHeight + kPad : 0;
    const int height = kTitleBar + kPad + textHeight + fieldHeight + kPad + kButtonHeight + kPad;
    const int width = inner + 2 * kPad;
    bounds_ = {area.x + (area.w - width) / 2, area.y + (area.h - height) / 2, width, height};
    int y = bounds_.y + kTitleBar + kPad + textHeight;
    if (field_) {
        fieldRect_ = {bounds_.x + kPad, y, inner, kFieldHeight};
        noteRect_ = {bounds_.x + kPad, y + kFieldHeight + 2, inner, kNoteHeight};
        y += fieldHeight;
    }
    y += kPad - kLineGap;
    buttonRects_.clear();
    int x = bounds_.x + (width - buttonsWidth) / 2;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        buttonRects_.push_back({x, y, kButtonWidth, kButtonHeight});
        x += kButtonWidth + kButtonGap;
    }
}

namespace {
void Frame(Pixmap& target, const Rect& r, uint32_t colour) {
    target.Fill({r.x, r.y, r.w, 1}, colour);
    target.Fill({r.x, r.Bottom() - 1, r.w, 1}, colour);
    target.Fill({r.x, r.y, 1, r.h}, colour);
    target.Fill({r.Right() - 1, r.y, 1, r.h}, colour);
}
}  // namespace

void DialogBox::PaintField(Pixmap& target, int lineHeight) {
    const Rect f = fieldRect_;
    const TextField& field = *field_;
    const std::string& text = field.Text();
    target.Fill(f, Argb(255, 255, 255));
    Frame(target, f, kDark);
    auto width = [&](int chars) {
        int w = 0;
        fonts_.Measure(kFace, kTextSize, 0, text.substr(0, static_cast<size_t>(chars)), &w, nullptr);
        return w;
    };
    // Long text scrolls so the caret stays in view.
    Pixmap inside(f.w - 4, f.h - 4, Argb(255, 255, 255));
    const int room = inside.Width() - 6;
    const int caretX = width(field.Caret());
    const int shift = std::max(0, caretX - room);
    const int top = (inside.Height() - lineHeight) / 2;
    const int x0 = 3 - shift;
    const int selBegin = width(field.SelectionBegin()), selEnd = width(field.SelectionEnd());
    if (field.HasSelection()) {
        inside.Fill({x0 + selBegin, 2, selEnd - selBegin, inside.Height() - 4}, kButtonFace);
    }
    // The text in three runs: before, inside (white on the selection) and after the selection.
    const auto run = [&](int from, int to, int x, uint8_t shade) {
        if (to <= from) return;
        fonts_.Draw(inside, kFace, kTextSize, 0,
                    text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)), x, top,
                    shade, shade, shade);
    };
    run(0, field.SelectionBegin(), x0, 0);
    run(field.SelectionBegin(), field.SelectionEnd(), x0 + selBegin, 255);
    run(field.SelectionEnd(), static_cast<int>(text.size()), x0 + selEnd, 0);
    if (!field.HasSelection()) inside.Fill({x0 + caretX, 3, 1, inside.Height() - 6}, Argb(0, 0, 0));
    target.Blend(inside, f.x + 2, f.y + 2);

    // Below the field: why a key was refused, and how many characters are used of how many.
    const auto note = [&](const std::string& s, int x, uint32_t colour, int style) {
        fonts_.Draw(target, kFace, kNoteSize, style, s, x, noteRect_.y,
                    static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                    static_cast<uint8_t>(colour));
    };
    if (field.Refused()) note("\"<\" cannot be used in a name", noteRect_.x, kWarning, 0);
    const std::string count =
        std::to_string(text.size()) + "/" + std::to_string(field.Limit());
    int countWidth = 0;
    const int countStyle = field.Full() ? host::kStyleBold : 0;
    fonts_.Measure(kFace, kNoteSize, countStyle, count, &countWidth, nullptr);
    note(count, noteRect_.Right() - countWidth, field.Full() ? kWarning : kDark, countStyle);
}

void DialogBox::Paint(Pixmap& target) {
    const Rect b = bounds_;
    auto text = [&](const std::string& s, int style, int x, int y, uint32_t colour) {
        fonts_.Draw(target, kFace, kTextSize, style, s, x, y, static_cast<uint8_t>(colour >> 16),
                    static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour));
    };
    // A soft shadow, the panel, its frame and title bar.
    target.Blend(Pixmap(b.w, b.h, Argb(0, 0, 0, 90)), b.x + 4, b.y + 4);
    target.Fill(b, kPanel);
    target.Fill({b.x, b.y, b.w, kTitleBar}, kDark);
    Frame(target, b, kDark);
    Frame(target, {b.x + 1, b.y + 1, b.w - 2, b.h - 2}, kDark);
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
    if (field_) PaintField(target, lineHeight);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const Rect r = buttonRects_[i];
        const int index = static_cast<int>(i);
        const bool available = Available(index);
        const bool lit = available && (index == hover_ || index == focus_);
        target.Fill(r, lit ? kButtonFace : kPanel);
        Frame(target, r, available ? kDark : kUnavailable);
        if (index == focus_ && available) Frame(target, {r.x + 2, r.y + 2, r.w - 4, r.h - 4}, kDark);
        int w = 0, h = 0;
        fonts_.Measure(kFace, kTextSize, host::kStyleBold, buttons_[i], &w, &h);
        const uint32_t colour = !available      ? kUnavailable
                                : index == hover_ ? Argb(255, 255, 0)
                                                  : Argb(0, 0, 0);
        text(buttons_[i], host::kStyleBold, r.x + (r.w - w) / 2, r.y + (r.h - h) / 2, colour);
    }
}

int DialogBox::ButtonAt(int x, int y) const {
    for (size_t i = 0; i < buttonRects_.size(); ++i) {
        if (buttonRects_[i].Contains(x, y)) return static_cast<int>(i);
    }
    return -1;
}

void DialogBox::Choose(int button) {
    if (button >= 0 && Available(button)) chosen_ = button;
}

void DialogBox::PointerDown(int x, int y) {
    pressed_ = ButtonAt(x, y);
    if (pressed_ >= 0) focus_ = pressed_;
}

void DialogBox::PointerMove(int x, int y) { hover_ = ButtonAt(x, y); }

void DialogBox::PointerUp(int x, int y) {
    if (pressed_ >= 0 && ButtonAt(x, y) == pressed_) Choose(pressed_);
    pressed_ = -1;
}

void DialogBox::Close() {
    if (!field_) {
        chosen_ = static_cast<int>(buttons_.size()) - 1;
        return;
    }
    if (field_->Blank()) field_->Reset();
    chosen_ = 0;
}

void DialogBox::Press(Key key) {
    const int count = static_cast<int>(buttons_.size());
    if (field_) {
        switch (key) {
            case Key::Enter: Choose(0); break;
            case Key::Escape: field_->Reset(); break;
            case Key::Left: field_->Left(); break;
            case Key::Right: field_->Right(); break;
            case Key::Home: field_->Home(); break;
            case Key::End: field_->End(); break;
            case Key::Backspace: field_->Backspace(); break;
            case Key::Delete: field_->Delete(); break;
            case Key::SelectAll: field_->SelectAll(); break;
            case Key::Tab: break;
        }
        return;
    }
    switch (key) {
        case Key::Enter: Choose(focus_); break;
        case Key::Escape: chosen_ = count - 1; break;
        case Key::Tab:
        case Key::Right: focus_ = (focus_ + 1) % count; break;
        case Key::Left: focus_ = (focus_ + count - 1) % count; break;
        default: break;
    }
}

void DialogBox::Typed(uint8_t c) {
    if (field_) {
        field_->Type(c);
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

void DialogBox::Paste(const std::string& latin1) {
    if (field_) field_->Paste(latin1);
}

}  // namespace shell
