// The menu's layout, drawing and behaviour, in the look of the drawn dialogs.
#include "shell/session/GameMenu.h"

#include <algorithm>

#include "host/Object.h"

namespace shell {

namespace {
constexpr const char* kFace = "Arial";
constexpr int kTextSize = 13;
constexpr int kTitleBar = 20;
constexpr int kPad = 8;
constexpr int kCheckSide = 11;
constexpr int kGap = 18;  // between the label column and the keys

const uint32_t kPanel = Argb(51, 153, 153);
const uint32_t kDark = Argb(0, 51, 51);
const uint32_t kLit = Argb(0, 102, 102);
const uint32_t kDim = Argb(26, 102, 102);
const uint32_t kWhite = Argb(255, 255, 255);
const uint32_t kBlack = Argb(0, 0, 0);
const uint32_t kYellow = Argb(255, 255, 0);

std::string VolumeText(int level) { return "-  " + std::to_string(level) + "%  +"; }
}  // namespace

GameMenu::GameMenu(FontCache& fonts, std::vector<MenuEntry> entries)
    : fonts_(fonts), entries_(std::move(entries)) {
    MoveFocus(1);
}

void GameMenu::Refresh(std::vector<MenuEntry> entries) {
    if (entries.size() == entries_.size()) entries_ = std::move(entries);
    if (focus_ >= 0 && !entries_[static_cast<size_t>(focus_)].enabled) MoveFocus(1);
}

void GameMenu::MoveFocus(int step) {
    const int count = static_cast<int>(entries_.size());
    if (count == 0) return;
    int at = focus_ < 0 ? (step > 0 ? -1 : count) : focus_;
    for (int i = 0; i < count; ++i) {
        at = (at + step + count) % count;
        if (entries_[static_cast<size_t>(at)].enabled) {
            focus_ = at;
            return;
        }
    }
}

void GameMenu::Layout(int right, int top, int stageWidth, int stageHeight) {
    labelWidth_ = keysWidth_ = 0;
    int groups = 0;
    for (const MenuEntry& e : entries_) {
        int w = 0;
        std::string label = e.label;
        if (e.level) label += "  " + VolumeText(*e.level);
        fonts_.Measure(kFace, kTextSize, 0, label, &w, nullptr);
        labelWidth_ = std::max(labelWidth_, w + (e.checked ? kCheckSide + 6 : 0));
        fonts_.Measure(kFace, kTextSize, 0, e.keys, &w, nullptr);
        keysWidth_ = std::max(keysWidth_, w);
        if (e.groupStart) ++groups;
    }
    const int width = kPad + labelWidth_ + kGap + keysWidth_ + kPad;
    const int height = kTitleBar + 4 + static_cast<int>(entries_.size()) * kRowHeight + groups * 5 + 4;
    const int x = std::clamp(right - width, 0, std::max(0, stageWidth - width));
    const int y = std::clamp(top, 0, std::max(0, stageHeight - height));
    bounds_ = {x, y, width, height};
}

Rect GameMenu::RowRect(int row) const {
    int y = bounds_.y + kTitleBar + 4;
    for (int i = 0; i < row; ++i) y += kRowHeight + (entries_[static_cast<size_t>(i + 1)].groupStart ? 5 : 0);
    return {bounds_.x + 2, y, bounds_.w - 4, kRowHeight};
}

int GameMenu::RowAt(int x, int y) const {
    if (!bounds_.Contains(x, y)) return -1;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (RowRect(static_cast<int>(i)).Contains(x, y)) return static_cast<int>(i);
    }
    return -1;
}

void GameMenu::Paint(Pixmap& target) const {
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
    int lineHeight = 0;
    fonts_.Measure(kFace, kTextSize, 0, "Ag", nullptr, &lineHeight);
    if (lineHeight <= 0) lineHeight = kTextSize + 2;

    target.Blend(Pixmap(b.w, b.h, Argb(0, 0, 0, 90)), b.x + 4, b.y + 4);
    target.Fill(b, kPanel);
    target.Fill({b.x, b.y, b.w, kTitleBar}, kDark);
    frame(b, kDark);
    text("Menu", host::kStyleBold, b.x + kPad, b.y + (kTitleBar - lineHeight) / 2, kWhite);
    for (size_t i = 0; i < entries_.size(); ++i) {
        const MenuEntry& e = entries_[i];
        const Rect r = RowRect(static_cast<int>(i));
        if (e.groupStart && i > 0) target.Fill({b.x + kPad, r.y - 3, b.w - 2 * kPad, 1}, kDark);
        const bool lit = static_cast<int>(i) == hover_ || static_cast<int>(i) == focus_;
        if (lit && e.enabled) target.Fill(r, kLit);
        if (static_cast<int>(i) == focus_) frame(r, kDark);
        const uint32_t ink = !e.enabled ? kDim : static_cast<int>(i) == hover_ ? kYellow : kBlack;
        const int ty = r.y + (r.h - lineHeight) / 2;
        int x = b.x + kPad;
        if (e.checked) {
            const Rect box{x, r.y + (r.h - kCheckSide) / 2, kCheckSide, kCheckSide};
            target.Fill(box, kWhite);
            frame(box, kDark);
            if (*e.checked) target.Fill({box.x + 3, box.y + 3, box.w - 6, box.h - 6}, kDark);
            x += kCheckSide + 6;
        }
        std::string label = e.label;
        if (e.level) label += "  " + VolumeText(*e.level);
        text(label, 0, x, ty, ink);
        if (!e.keys.empty()) {
            text(e.keys, 0, b.x + kPad + labelWidth_ + kGap, ty, e.enabled ? kWhite : kDim);
        }
    }
}

void GameMenu::Choose(int row, int x) {
    if (row < 0) return;
    const MenuEntry& e = entries_[static_cast<size_t>(row)];
    if (!e.enabled) return;
    focus_ = row;
    if (e.level) {
        // The volume row: its left half turns the sound down, its right half up.
        const Rect r = RowRect(row);
        chosen_ = x < r.x + r.w / 2 ? MenuCommand::VolumeDown : MenuCommand::VolumeUp;
        return;
    }
    chosen_ = e.command;
}

void GameMenu::PointerDown(int x, int y) {
    pressed_ = RowAt(x, y);
    pressedOutside_ = !bounds_.Contains(x, y);
}

void GameMenu::PointerMove(int x, int y) {
    const int row = RowAt(x, y);
    hover_ = row >= 0 && entries_[static_cast<size_t>(row)].enabled ? row : -1;
}

void GameMenu::PointerUp(int x, int y) {
    if (pressedOutside_ && !bounds_.Contains(x, y)) {
        closed_ = true;  // a click beside the menu puts it away
    } else if (pressed_ >= 0 && RowAt(x, y) == pressed_) {
        Choose(pressed_, x);
    }
    pressed_ = -1;
    pressedOutside_ = false;
}

void GameMenu::Press(Key key) {
    switch (key) {
        case Key::Up: MoveFocus(-1); break;
        case Key::Down: MoveFocus(1); break;
        case Key::Left:
        case Key::Right:
            if (focus_ >= 0 && entries_[static_cast<size_t>(focus_)].level) {
                chosen_ = key == Key::Left ? MenuCommand::VolumeDown : MenuCommand::VolumeUp;
            }
            break;
        case Key::Enter:
            if (focus_ >= 0 && !entries_[static_cast<size_t>(focus_)].level) {
                chosen_ = entries_[static_cast<size_t>(focus_)].command;
            }
            break;
        case Key::Close: closed_ = true; break;
    }
}

std::optional<MenuCommand> GameMenu::TakeChosen() {
    std::optional<MenuCommand> c = chosen_;
    chosen_.reset();
    return c;
}

}  // namespace shell
