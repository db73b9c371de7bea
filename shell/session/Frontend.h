// What the shell core asks of a front end: time, input as the shell's own records, and a place
// to show frames. A window front end, the headless one and the web page each implement it with
// their platform and nothing else; the rules of play live above it.
#pragma once

#include <cstdint>
#include <string>

#include "shell/core/Pixmap.h"
#include "shell/core/Rect.h"
#include "shell/session/ShellEvent.h"
#include "shell/session/Viewport.h"

namespace shell {

class Frontend {
public:
    virtual ~Frontend() = default;

    // Milliseconds of a clock that never goes back.
    virtual int64_t RealMs() = 0;
    // Waits at most `ms` milliseconds (0: only looks) for the next event; false when none came.
    virtual bool WaitEvent(ShellEvent* event, int ms) = 0;
    // The size of the drawable area in pixels.
    virtual void DrawableSize(int* width, int* height) = 0;
    // Shows `view` (the stage's size) through the viewport: only the `changed` areas (stage
    // pixels), or everything, margins included, when `all` is set.
    virtual void Present(const Pixmap& view, const DirtyRegion& changed, const Viewport& viewport,
                         bool all) = 0;

    // Optional services of a windowed platform.
    virtual void SetTitle(const std::string& /*title*/) {}
    virtual void SetIcon(const Pixmap& /*picture*/) {}
    virtual void ToggleFullscreen() {}
    // Typed text arrives as Text records while on (a dialog's field, the game's keys).
    virtual void TextInput(bool /*on*/) {}
    virtual bool TextInputOn() const { return true; }
    // Plain text on the clipboard, UTF-8; empty when there is none.
    virtual std::string ClipboardText() { return {}; }
};

}  // namespace shell
