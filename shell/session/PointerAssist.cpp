// Click-to-move and the keyboard cursor.
#include "shell/session/PointerAssist.h"

#include <algorithm>
#include <cstdlib>

namespace shell {

namespace {
bool Draggable(Host& host, HostSprite* sprite) {
    return sprite != nullptr && !sprite->IsButton() &&
           host.Events().HasSubscriber(sprite, host::kEventPointerMoved);
}
}  // namespace

void PointerAssist::Down(int x, int y) {
    if (state_ == State::Carrying && host_.Input().Pressed()) {
        // The second click drops what the pointer carries; its own release is swallowed.
        session_.PointerUp(x, y);
        state_ = State::Dropping;
        return;
    }
    session_.PointerDown(x, y);
    if (Draggable(host_, host_.Input().Captured())) {
        state_ = State::Held;
        startX_ = x;
        startY_ = y;
    } else {
        state_ = State::Idle;
    }
}

void PointerAssist::Move(int x, int y) {
    if (state_ == State::Held &&
        (std::abs(x - startX_) > kClickSlop || std::abs(y - startY_) > kClickSlop)) {
        state_ = State::Dragging;
    }
    session_.PointerMove(x, y);
}

void PointerAssist::MoveUnheld(int x, int y) {
    if ((state_ == State::Held || state_ == State::Dragging || state_ == State::Idle) &&
        host_.Input().Pressed()) {
        Up(x, y);
        return;
    }
    if (state_ == State::Dropping) state_ = State::Idle;
    Move(x, y);
}

void PointerAssist::Up(int x, int y) {
    switch (state_) {
        case State::Held:
            if (host_.Input().Pressed()) {
                state_ = State::Carrying;  // no release yet: it follows the pointer
                return;
            }
            break;
        case State::Dropping:
            state_ = State::Idle;
            return;
        default: break;
    }
    state_ = State::Idle;
    session_.PointerUp(x, y);
}

void PointerAssist::PutBack() {
    if (state_ != State::Carrying) return;
    state_ = State::Idle;
    if (!host_.Input().Pressed()) return;
    // Brought back to where it was picked up first: what is dropped is where the sprite is.
    session_.PointerMove(startX_, startY_);
    session_.PointerUp(startX_, startY_);
}

// ---- Keyboard --------------------------------------------------------------------------

std::pair<int, int> PointerAssist::StartPoint() {
    // On a draggable sprite (a bubble) when there is one, so the cursor's steps line up with
    // the board's cells; otherwise the middle of the stage.
    for (HostSprite* s : host_.MainStage().Sprites()) {
        if (!Draggable(host_, s)) continue;
        const Rect b = s->Bounds();
        return {b.x + b.w / 2, b.y + b.h / 2};
    }
    return {host::kStageWidth / 2, host::kStageHeight / 2};
}

void PointerAssist::MoveCursorTo(int x, int y, std::optional<Rect> ring) {
    x = std::clamp(x, 0, host::kStageWidth - 1);
    y = std::clamp(y, 0, host::kStageHeight - 1);
    session_.SetCursor(std::make_pair(x, y), ring);
    Move(x, y);
}

void PointerAssist::Step(int columns, int rows) {
    if (!CursorShown()) {
        const auto [x, y] = StartPoint();
        MoveCursorTo(x, y);
        return;
    }
    const auto [x, y] = *session_.Cursor();
    int nx = x + columns * Session::kCursorCell, ny = y + rows * Session::kCursorCell;
    // At an edge the cursor stays on the last whole cell.
    if (nx < 0 || nx >= host::kStageWidth) nx = x;
    if (ny < 0 || ny >= host::kStageHeight) ny = y;
    MoveCursorTo(nx, ny);
}

void PointerAssist::Activate() {
    if (!CursorShown()) {
        Step(0, 0);
        return;
    }
    const auto [x, y] = *session_.Cursor();
    Down(x, y);
    Up(x, y);
}

std::vector<PointerAssist::Target> PointerAssist::Targets() {
    // Buttons, sprites that answer a release but are not dragged (a check box), and the help
    // control, in reading order.
    std::vector<Target> targets;
    for (HostSprite* s : host_.MainStage().Sprites()) {
        const bool button = s->IsButton();
        const bool box = host_.Events().HasSubscriber(s, host::kEventPointerReleased) &&
                         !host_.Events().HasSubscriber(s, host::kEventPointerMoved);
        if (!button && !box) continue;
        const Rect b = s->Bounds().Intersect({0, 0, host::kStageWidth, host::kStageHeight});
        if (b.Empty()) continue;
        // A point of the sprite that is not transparent, near its middle.
        int px = b.x + b.w / 2, py = b.y + b.h / 2;
        if (host_.MainStage().SpriteAt(px, py) != s) {
            bool found = false;
            for (int yy = b.y; yy < b.Bottom() && !found; yy += 2) {
                for (int xx = b.x; xx < b.Right() && !found; xx += 2) {
                    if (host_.MainStage().SpriteAt(xx, yy) == s) {
                        px = xx;
                        py = yy;
                        found = true;
                    }
                }
            }
            if (!found) continue;
        }
        targets.push_back({px, py, b});
    }
    const Rect help = Session::kHelpControl;
    targets.push_back({help.x + help.w / 2, help.y + help.h / 2, help});
    std::sort(targets.begin(), targets.end(), [](const Target& a, const Target& b) {
        return std::make_pair(a.y, a.x) < std::make_pair(b.y, b.x);
    });
    return targets;
}

void PointerAssist::NextTarget(bool backwards) {
    const std::vector<Target> targets = Targets();
    if (targets.empty()) return;
    const std::pair<int, int> here = session_.Cursor().value_or(std::make_pair(-1, -1));
    const auto key = [](int x, int y) { return std::make_pair(y, x); };
    const Target* chosen = backwards ? &targets.back() : &targets.front();
    if (CursorShown()) {
        if (backwards) {
            for (auto it = targets.rbegin(); it != targets.rend(); ++it) {
                if (key(it->x, it->y) < key(here.first, here.second)) {
                    chosen = &*it;
                    break;
                }
            }
        } else {
            for (const Target& t : targets) {
                if (key(here.first, here.second) < key(t.x, t.y)) {
                    chosen = &t;
                    break;
                }
            }
        }
    }
    MoveCursorTo(chosen->x, chosen->y, chosen->bounds);
}

}  // namespace shell
