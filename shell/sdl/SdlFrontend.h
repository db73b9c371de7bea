// The window front end: SDL's window, events, clipboard and text input, turned into the shell's
// own records and frames. Nothing of the game's rules or drawing lives here.
#pragma once

#include "shell/sdl/Window.h"
#include "shell/sdl/X11Wait.h"
#include "shell/session/Frontend.h"

union SDL_Event;

namespace shell {

class SdlFrontend : public Frontend {
public:
    explicit SdlFrontend(Window& window) : window_(window), waiter_(window.Handle()) {}
    ~SdlFrontend() override;

    int64_t RealMs() override;
    bool WaitEvent(ShellEvent* event, int ms) override;
    void DrawableSize(int* width, int* height) override { window_.DrawableSize(width, height); }
    void Present(const Pixmap& view, const DirtyRegion& changed, const Viewport& viewport,
                 bool all) override {
        window_.Present(view, changed, viewport, all);
    }
    void SetTitle(const std::string& title) override { window_.SetTitle(title); }
    void SetIcon(const Pixmap& picture) override { window_.SetIcon(picture); }
    void ToggleFullscreen() override { window_.ToggleFullscreen(); }
    void TextInput(bool on) override;
    bool TextInputOn() const override;
    std::string ClipboardText() override;

    // An SDL event as the shell's record; false for events the shell has no use for.
    bool Translate(const SDL_Event& e, ShellEvent* out) const;

private:
    Window& window_;
    EventWaiter waiter_;
};

}  // namespace shell
