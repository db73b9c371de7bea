// The game window: the stage scaled by a whole factor with nearest-neighbour pixels, drawn
// straight into the window's software surface, presenting only the areas that changed.
#pragma once

#include <memory>
#include <utility>
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
    SDL_Window* Handle() const { return window_; }
    // A window point (as SDL reports pointer positions) in stage pixels (rounded down, also
    // outside the stage).
    std::pair<int, int> ToStagePoint(int x, int y) const;
    // The window's size changed: the largest whole scale that fits is taken and the stage is
    // centred, the rest black. The next present draws everything.
    void Relayout();
    void ToggleFullscreen();
    // The window's icon, from a picture.
    void SetIcon(const Pixmap& picture);

    // Copies the changed areas of `frame` to the window and shows them.
    void Present(const Pixmap& frame, const DirtyRegion& changed);
    void PresentAll(const Pixmap& frame);

private:
    Window() = default;
    bool Blit(const Pixmap& frame, const Rect& area);

    SDL_Window* window_ = nullptr;
    int width_ = 0, height_ = 0, scale_ = 1;
    int offsetX_ = 0, offsetY_ = 0;      // the stage's top-left in surface pixels
    int surfaceW_ = 0, surfaceH_ = 0;    // pixels of the surface (the drawable size)
    double pixelsPerPoint_ = 1.0;        // surface pixels per window coordinate (HiDPI)
    bool cleared_ = false;               // the borders have been painted since the last layout
};

}  // namespace shell
