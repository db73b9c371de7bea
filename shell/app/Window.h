// The game window: the stage scaled by a whole factor with nearest-neighbour pixels, drawn
// straight into the window's software surface, presenting only the areas that changed.
#pragma once

#include <memory>
#include <string>

#include "shell/core/Pixmap.h"
#include "shell/core/Rect.h"

struct SDL_Window;
struct SDL_Surface;

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
    int Scale() const { return scale_; }
    // A window coordinate in stage pixels (rounded down, also outside the window).
    int ToStage(int windowCoordinate) const;

    // Copies the changed areas of `frame` to the window and shows them.
    void Present(const Pixmap& frame, const DirtyRegion& changed);
    void PresentAll(const Pixmap& frame);

private:
    Window() = default;
    bool Blit(const Pixmap& frame, const Rect& area);

    SDL_Window* window_ = nullptr;
    int width_ = 0, height_ = 0, scale_ = 1;
};

}  // namespace shell
