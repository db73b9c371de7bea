// Playing without dragging: a press and release on a draggable sprite without moving keeps it
// on the pointer until the next click drops it, and a keyboard cursor that moves a board cell
// at a time, clicks, and steps between buttons. The applet sees the same press, moves and
// release a drag gives it.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "shell/session/Session.h"
#include "shell/core/Host.h"

namespace shell {

class PointerAssist {
public:
    // How far the pointer may wander between press and release and still count as a click.
    static constexpr int kClickSlop = 3;

    PointerAssist(Session& session, Host& host) : session_(session), host_(host) {}

    // ---- The pointer, in stage pixels -------------------------------------------------
    void Down(int x, int y);
    void Move(int x, int y);
    void Up(int x, int y);
    // A move with no button held: a press the window lost ends here, unless a sprite is
    // being carried.
    void MoveUnheld(int x, int y);
    // True while a sprite follows the pointer waiting for the click that drops it.
    bool Carrying() const { return state_ == State::Carrying; }
    // A carried sprite is released where it was picked up (a bubble goes back to its cell).
    void PutBack();

    // ---- The keyboard cursor ------------------------------------------------------------
    // Moves the cursor by whole cells (showing it first, where play happens).
    void Step(int columns, int rows);
    // A click at the cursor: picks up, drops or presses a button.
    void Activate();
    // Moves the cursor to the next (or previous) button, check box or the help control.
    void NextTarget(bool backwards);
    bool CursorShown() const { return session_.Cursor().has_value(); }
    // The mouse is used again: the keyboard cursor goes away.
    void HideCursor() { session_.SetCursor(std::nullopt); }

private:
    enum class State { Idle, Held, Dragging, Carrying, Dropping };
    // A control the cursor can visit: where it presses, and what its ring goes around.
    struct Target {
        int x, y;
        Rect bounds;
    };
    std::pair<int, int> StartPoint();
    std::vector<Target> Targets();
    void MoveCursorTo(int x, int y, std::optional<Rect> ring = {});

    Session& session_;
    Host& host_;
    State state_ = State::Idle;
    int startX_ = 0, startY_ = 0;
};

}  // namespace shell
