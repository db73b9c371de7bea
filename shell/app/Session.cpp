// The session: what the player does becomes applet events, except what belongs to the shell
// (the help panel and its control, quitting).
#include "shell/app/Session.h"

#include "shell/core/Log.h"

namespace shell {

Session::Session(Host& host, AppletLibrary& library)
    : host_(host), library_(library), frame_(host::kStageWidth, host::kStageHeight) {}

Session::~Session() { Stop(); }

void Session::Start() {
    if (started_) return;
    started_ = true;
    library_.Start(host_.Site());
}

void Session::Stop() {
    if (!started_ || stopped_) return;
    stopped_ = true;
    library_.Stop();
}

// ---- Input ---------------------------------------------------------------------------------

void Session::PointerDown(int x, int y) {
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
    if (helpShown_ || helpPressed_) return;
    host_.Input().Move(x, y);
}

void Session::PointerUp(int x, int y) {
    if (helpPressed_) {
        helpPressed_ = false;
        if (kHelpControl.Contains(x, y)) ShowHelp();
        return;
    }
    host_.Input().Release(x, y);
}

void Session::PointerLeft() { host_.Input().Leave(); }

void Session::Typed(uint8_t character) {
    if (helpShown_) return;
    host_.KeyTyped(character);
}

void Session::HelpKey() {
    if (helpShown_) {
        HideHelp();
    } else {
        ShowHelp();
    }
}

void Session::EscapeKey() {
    if (helpShown_) {
        HideHelp();
    } else {
        Typed(27);
    }
}

void Session::ShowHelp() {
    if (helpShown_) return;
    host_.RequestHelp();  // the applet draws its help page on the help stage
    helpShown_ = true;
    viewChanged_ = true;
}

void Session::HideHelp() {
    if (!helpShown_) return;
    helpShown_ = false;
    viewChanged_ = true;
}

bool Session::RequestQuit() {
    if (!started_ || !host_.Frame().GameActive()) return true;
    return host_.Frame().Ask("Spherolette", "Quit the game in progress?");
}

// ---- Picture -------------------------------------------------------------------------------

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
    if (!helpShown_) {
        for (const Rect& r : drawn.Rects()) {
            if (!r.Intersect(kHelpControl).Empty()) {
                DrawHelpControl(frame_);
                break;
            }
        }
    }
    if (changed != nullptr) changed->AddAll(drawn);
}

Pixmap Session::Picture(bool help) {
    if (help) return host_.HelpStage().ComposeAll();
    Pixmap picture = host_.MainStage().ComposeAll();
    DrawHelpControl(picture);
    return picture;
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
