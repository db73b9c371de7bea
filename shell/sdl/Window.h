// The game window: the stage drawn through the viewport with nearest-neighbour pixels straight
// into the window's software surface, presenting only the areas that changed.
#pragma once

#include <memory>
#include <string>

#include "shell/core/Pixmap.h"
#include "shell/core/Rect.h"
#include "shell/session/Viewport.h"

struct SDL_Window;

namespace shell {

class Window {
public:
    // Opens a window for a stage of width x height; scale 0 picks the largest whole factor
    // that fits the usable screen. Null with a message in *error when no window can be had.
    static std::unique_ptr<Window> Open(int width, int height, int scale, std::string* error);
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
};

}  // namespace shell
