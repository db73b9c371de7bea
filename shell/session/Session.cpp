// The session: what the player does becomes applet events, except what belongs to the shell
// (the help panel and its control, quitting).
#include "shell/session/Session.h"

#include "shell/core/Log.h"

#include <algorithm>

namespace shell {

Session::Session(Host& host, const AppletEntry& applet)
    : host_(host), applet_(applet), frame_(host::kStageWidth, host::kStageHeight) {}

Session::~Session() { Stop(); }

void Session::Start() {
    if (started_) return;
    started_ = true;
    applet_.start(host_.Site());
}

void Session::Stop() {
    if (!started_ || stopped_) return;
    stopped_ = true;
    applet_.stop();
}

// ---- Input ---------------------------------------------------------------------------------

void Session::Note(SessionInput::Kind kind, int x, int y) {
    if (observer_) observer_(SessionInput{kind, x, y});
}

void Session::Apply(const SessionInput& input) {
    using Kind = SessionInput::Kind;
    switch (input.kind) {
        case Kind::Down: PointerDown(input.x, input.y); break;
        case Kind::Move: PointerMove(input.x, input.y); break;
        case Kind::Up: PointerUp(input.x, input.y); break;
        case Kind::Left: PointerLeft(); break;
        case Kind::Typed: Typed(static_cast<uint8_t>(input.x)); break;
        case Kind::Help: HelpKey(); break;
        case Kind::Escape: EscapeKey(); break;
    }
}

void Session::PointerDown(int x, int y) {
    Note(SessionInput::Kind::Down, x, y);
    if (helpShown_) {
        HideHelp();
        return;
    }
    if (kHelpControl.Contains(x, y) && !host_.Input().Pressed()) {
        helpPressed_ = true;
        return;
    }
    host_.Input().Press(x, y);
}

void Session::PointerMove(int x, int y) {
    Note(SessionInput::Kind::Move, x, y);
    if (helpShown_ || helpPressed_) return;
    host_.Input().Move(x, y);
}

void Session::PointerUp(int x, int y) {
    Note(SessionInput::Kind::Up, x, y);
    if (helpPressed_) {
        helpPressed_ = false;
        if (kHelpControl.Contains(x, y)) ShowHelp();
        return;
    }
    host_.Input().Release(x, y);
}

void Session::PointerLeft() {
    Note(SessionInput::Kind::Left);
    host_.Input().Leave();
}

void Session::Typed(uint8_t character) {
    Note(SessionInput::Kind::Typed, character);
    if (helpShown_) return;
    host_.KeyTyped(character);
}

void Session::HelpKey() {
    Note(SessionInput::Kind::Help);
    if (helpShown_) {
        HideHelp();
    } else {
        ShowHelp();
    }
}

void Session::EscapeKey() {
    Note(SessionInput::Kind::Escape);
    if (helpShown_) {
        HideHelp();
    } else {
        host_.KeyTyped(27);
    }
}

void Session::ShowHelp() {
    if (helpShown_) return;
    host_.RequestHelp();  // the applet draws its help page on the help stage
    helpShown_ = true;
    viewChanged_ = true;
    if (helpObserver_) helpObserver_(true);
}

void Session::HideHelp() {
    if (!helpShown_) return;
    helpShown_ = false;
    viewChanged_ = true;
    if (helpObserver_) helpObserver_(false);
}

bool Session::RequestQuit() {
    if (!started_ || !host_.Frame().GameActive()) return true;
    return host_.Frame().Ask("Spherolette", "Quit the game in progress?");
}

// ---- Picture -------------------------------------------------------------------------------

void Session::ShowPanel(const ShellPanel& panel) {
    panel_ = panel;
    viewChanged_ = true;
}

void Session::HidePanel() {
    if (!panel_) return;
    panel_.reset();
    viewChanged_ = true;
}

void Session::SetCursor(std::optional<std::pair<int, int>> point, std::optional<Rect> ring) {
    if (!point) ring.reset();
    if (point == cursor_ && ring == ring_) return;
    cursor_ = point;
    ring_ = ring;
    viewChanged_ = true;
}

bool Session::NeedsCompose() {
    return viewChanged_ || (helpShown_ ? host_.HelpStage() : host_.MainStage()).Changed();
}

void Session::Compose(DirtyRegion* changed) {
    HostStage& stage = helpShown_ ? host_.HelpStage() : host_.MainStage();
    if (viewChanged_) {
        stage.Invalidate();
        viewChanged_ = false;
    }
    DirtyRegion drawn;
    stage.Compose(frame_, &drawn);
    if (!helpShown_ && panel_ && !drawn.Rects().empty()) {
        // Whatever changed beneath a panel, the whole picture is drawn again under it (the
        // dimming is done in place), which at this size costs little.
        if (panel_->dim) {
            stage.Invalidate();
            drawn = DirtyRegion();
            stage.Compose(frame_, &drawn);
        } else {
            drawn.Add(PanelRect());
        }
    }
    if (!helpShown_) {
        auto touches = [&](const Rect& area) {
            for (const Rect& r : drawn.Rects()) {
                if (!r.Intersect(area).Empty()) return true;
            }
            return false;
        };
        if (touches(kHelpControl)) DrawHelpControl(frame_);
        if (cursor_ && touches(CursorRect())) DrawCursor(frame_);
        if (panel_ && touches(PanelRect())) DrawPanel(frame_);
    }
    if (changed != nullptr) changed->AddAll(drawn);
}

Pixmap Session::Picture(bool help) {
    if (help) return host_.HelpStage().ComposeAll();
    Pixmap picture = host_.MainStage().ComposeAll();
    DrawHelpControl(picture);
    return picture;
}

Rect Session::CursorRect() const {
    if (!cursor_) return {};
    if (ring_) return {ring_->x - 3, ring_->y - 3, ring_->w + 6, ring_->h + 6};
    // The cell's frame, centred on the point, a little larger than a bubble.
    return {cursor_->first - kCursorCell / 2 - 1, cursor_->second - kCursorCell / 2 - 1,
            kCursorCell + 2, kCursorCell + 2};
}

void Session::DrawCursor(Pixmap& target) {
    const Rect r = CursorRect();
    const uint32_t outer = Argb(0, 0, 0), inner = Argb(255, 220, 0);
    auto outline = [&](int inset, int thickness, uint32_t colour) {
        const Rect o{r.x + inset, r.y + inset, r.w - 2 * inset, r.h - 2 * inset};
        target.Fill({o.x, o.y, o.w, thickness}, colour);
        target.Fill({o.x, o.Bottom() - thickness, o.w, thickness}, colour);
        target.Fill({o.x, o.y, thickness, o.h}, colour);
        target.Fill({o.Right() - thickness, o.y, thickness, o.h}, colour);
    };
    outline(0, 1, outer);
    outline(1, 2, inner);
    outline(3, 1, outer);
    // On a board cell, a dot at the point itself, where presses land; a control's ring
    // leaves the control's face and label clear.
    if (!ring_) target.Fill({cursor_->first - 1, cursor_->second - 1, 3, 3}, inner);
}

namespace {
constexpr int kPanelLarge = 28, kPanelSmall = 13, kPanelPad = 10;
}

Rect Session::PanelRect() {
    if (!panel_) return {};
    int w = 0, h = 0;
    for (size_t i = 0; i < panel_->lines.size(); ++i) {
        const int size = i == 0 && panel_->large ? kPanelLarge : kPanelSmall;
        int32_t lw = 0, lh = 0;
        host_.Fonts().Measure("Arial", size, i == 0 ? host::kStyleBold : 0, panel_->lines[i], &lw,
                              &lh);
        w = std::max(w, static_cast<int>(lw));
        h += lh;
    }
    w += 2 * kPanelPad;
    h += 2 * kPanelPad;
    if (panel_->at) return {panel_->at->x, panel_->at->y, w, h};
    return {(host::kStageWidth - w) / 2, (host::kStageHeight - h) / 2, w, h};
}

void Session::DrawPanel(Pixmap& target) {
    if (panel_->dim) {
        for (int y = 0; y < target.Height(); ++y) {
            uint32_t* row = target.Row(y);
            for (int x = 0; x < target.Width(); ++x) {
                // A third of the brightness, each channel on its own.
                row[x] = 0xFF000000u | ((row[x] >> 2) & 0x3F3F3Fu) | ((row[x] >> 3) & 0x1F1F1Fu);
            }
        }
    }
    for (const Rect& r : panel_->hide) target.Fill(r, Argb(0, 51, 51));
    const Rect box = PanelRect();
    target.Fill(box, Argb(0, 51, 51));
    target.Fill({box.x + 1, box.y + 1, box.w - 2, 1}, Argb(102, 153, 153));
    int y = box.y + kPanelPad;
    for (size_t i = 0; i < panel_->lines.size(); ++i) {
        const bool big = i == 0 && panel_->large;
        const int size = big ? kPanelLarge : kPanelSmall;
        const int32_t style = i == 0 ? host::kStyleBold : 0;
        int32_t lw = 0, lh = 0;
        host_.Fonts().Measure("Arial", size, style, panel_->lines[i], &lw, &lh);
        const int x = big || !panel_->at ? box.x + (box.w - lw) / 2 : box.x + kPanelPad;
        host_.Fonts().Draw(target, "Arial", size, style, panel_->lines[i], x, y, 255, 255, 255);
        y += lh;
    }
}

void Session::DrawHelpControl(Pixmap& target) {
    // A dark-teal disc with a white question mark, drawn from a small bitmap so it needs no
    // font and looks the same everywhere.
    static constexpr const char* kMark[8] = {
        ".###.", "#...#", "....#", "...#.", "..#..", "..#..", ".....", "..#..",
    };
    const uint32_t disc = Argb(0, 51, 51), white = Argb(255, 255, 255);
    const int centre = kHelpControl.w / 2;
    for (int row = 0; row < kHelpControl.h; ++row) {
        for (int col = 0; col < kHelpControl.w; ++col) {
            const int x = kHelpControl.x + col, y = kHelpControl.y + row;
            const int dx = col - centre, dy = row - centre;
            if (!target.Bounds().Contains(x, y) || dx * dx + dy * dy > 42) continue;
            const int mx = col - 4, my = row - 2;
            const bool onMark = mx >= 0 && mx < 5 && my >= 0 && my < 8 && kMark[my][mx] == '#';
            target.Row(y)[x] = onMark ? white : disc;
        }
    }
}

}  // namespace shell
