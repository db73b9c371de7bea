// The game window: the stage drawn through the viewport straight into the window's software
// surface (see StageScaler), the margins in the stage's background colour, presenting only the
// areas that changed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "shell/core/Pixmap.h"
#include "shell/core/Rect.h"
#include "shell/session/Prefs.h"
#include "shell/session/StageScaler.h"
#include "shell/session/Viewport.h"

struct SDL_Window;

namespace shell {

// How the first window is sized and placed.
struct WindowChoice {
    int scale = 0;              // a whole factor asked for; 0: the largest that fits
    bool pixelPerfect = false;  // whole factors only
    WindowPlace remembered;     // where the window was last time, if known
};

class Window {
public:
    // Opens a window for a stage of width x height: where it was last time when that still
    // fits the screen, otherwise at the largest scale in half steps (whole steps when
    // pixel-perfect) that fits the usable screen, centred. Null with a message in *error when
    // no window can be had.
    static std::unique_ptr<Window> Open(int width, int height, const WindowChoice& choice,
                                        std::string* error);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void SetTitle(const std::string& title);
    SDL_Window* Handle() const { return window_; }
    // The size of the drawable area in pixels (larger than the window's size on HiDPI).
    void DrawableSize(int* width, int* height) const;
    // Drawable pixels per window coordinate (as SDL reports pointer positions).
    double PixelsPerPoint() const;
    void ToggleFullscreen();
    bool Fullscreen() const;
    // Where the window is now (not in full screen: where it was before).
    WindowPlace Place() const;
    // The window's icon, from a picture.
    void SetIcon(const Pixmap& picture);

    // Copies the changed areas of `frame` to the window and shows them; with `all`, the whole
    // window, margins included.
    void Present(const Pixmap& frame, const DirtyRegion& changed, const Viewport& viewport,
                 bool all);

private:
    Window() = default;
    bool Blit(const Pixmap& frame, const Rect& area, const Viewport& viewport);

    SDL_Window* window_ = nullptr;
    WindowPlace windowed_;  // the place before full screen
    StageScaler scaler_;
    std::vector<uint32_t> pixels_;  // the scaled rows for a surface of another pixel format
};

}  // namespace shell
