// Window set-up and presenting. The window surface is the X server's shared-memory image, so
// presenting a small rectangle costs about as much as that rectangle.
#include "shell/sdl/Window.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "host/GameLook.h"

namespace shell {

namespace {

// True when the window's whole place lies on the usable area of one display.
bool FitsOnADisplay(const WindowPlace& p) {
    const int displays = SDL_GetNumVideoDisplays();
    for (int i = 0; i < displays; ++i) {
        SDL_Rect usable;
        if (SDL_GetDisplayUsableBounds(i, &usable) != 0) continue;
        if (p.x >= usable.x && p.y >= usable.y && p.x + p.width <= usable.x + usable.w &&
            p.y + p.height <= usable.y + usable.h) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::unique_ptr<Window> Window::Open(int width, int height, const WindowChoice& choice,
                                     std::string* error) {
    int w = width, h = height;
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    const WindowPlace& last = choice.remembered;
    if (choice.scale > 0) {
        w = width * choice.scale;
        h = height * choice.scale;
    } else if (last.Known() && last.width >= width && last.height >= height && FitsOnADisplay(last)) {
        w = last.width;
        h = last.height;
        x = last.x;
        y = last.y;
    } else {
        SDL_Rect usable;
        if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
            const int halves = Viewport::FirstWindowHalfSteps(width, height, usable.w, usable.h,
                                                              choice.pixelPerfect);
            w = width * halves / 2;
            h = height * halves / 2;
        }
    }
    std::unique_ptr<Window> win(new Window());
    win->window_ = SDL_CreateWindow("Spherolette", x, y, w, h,
                                    SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (win->window_ == nullptr) {
        *error = std::string("cannot open a window: ") + SDL_GetError();
        return nullptr;
    }
    SDL_SetWindowMinimumSize(win->window_, width, height);
    return win;
}

Window::~Window() {
    if (window_ != nullptr) SDL_DestroyWindow(window_);
}

void Window::SetTitle(const std::string& title) { SDL_SetWindowTitle(window_, title.c_str()); }

void Window::DrawableSize(int* width, int* height) const {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface != nullptr) {
        *width = surface->w;
        *height = surface->h;
    } else {
        SDL_GetWindowSize(window_, width, height);
    }
}

double Window::PixelsPerPoint() const {
    int pointsW = 0, pointsH = 0, pixelsW = 0, pixelsH = 0;
    SDL_GetWindowSize(window_, &pointsW, &pointsH);
    DrawableSize(&pixelsW, &pixelsH);
    return pointsW > 0 ? static_cast<double>(pixelsW) / pointsW : 1.0;
}

bool Window::Fullscreen() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

WindowPlace Window::Place() const {
    if (Fullscreen()) return windowed_;
    WindowPlace p;
    SDL_GetWindowPosition(window_, &p.x, &p.y);
    SDL_GetWindowSize(window_, &p.width, &p.height);
    return p;
}

void Window::ToggleFullscreen() {
    const bool full = Fullscreen();
    if (!full) windowed_ = Place();
    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void Window::SetIcon(const Pixmap& picture) {
    if (picture.Width() <= 0) return;
    Pixmap copy = picture;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        copy.Data(), copy.Width(), copy.Height(), 32, copy.Width() * 4, SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr) return;
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

// Draws the drawable pixels `area` of the scaled stage into the window surface.
bool Window::Blit(const Pixmap& frame, const Rect& area, const Viewport& viewport) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return false;
    const Rect r = area.Intersect({0, 0, surface->w, surface->h});
    if (r.Empty()) return true;
    // The common X11 surfaces hold 0x00RRGGBB (the top byte unused): the stage is scaled
    // straight into them, with no picture of the window's size kept beside the surface.
    const bool direct = surface->format->BytesPerPixel == 4 && surface->format->Rmask == 0xFF0000 &&
                        surface->format->Gmask == 0xFF00 && surface->format->Bmask == 0xFF &&
                        surface->pitch % 4 == 0;
    const int bytes = surface->format->BytesPerPixel;
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    if (direct) {
        auto* origin = static_cast<uint8_t*>(surface->pixels) +
                       static_cast<size_t>(r.y) * surface->pitch + static_cast<size_t>(r.x) * 4;
        scaler_.Scale(frame, viewport, r, reinterpret_cast<uint32_t*>(origin), surface->pitch / 4);
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        return true;
    }
    pixels_.resize(static_cast<size_t>(r.w) * r.h);
    scaler_.Scale(frame, viewport, r, pixels_.data(), r.w);
    for (int y = 0; y < r.h; ++y) {
        auto* row = static_cast<uint8_t*>(surface->pixels) +
                    static_cast<size_t>(r.y + y) * surface->pitch + static_cast<size_t>(r.x) * bytes;
        const uint32_t* src = pixels_.data() + static_cast<size_t>(y) * r.w;
        for (int x = 0; x < r.w; ++x) {
            const uint32_t p = SDL_MapRGB(surface->format, static_cast<uint8_t>(src[x] >> 16),
                                          static_cast<uint8_t>(src[x] >> 8),
                                          static_cast<uint8_t>(src[x]));
            std::memcpy(row + static_cast<size_t>(x) * bytes, &p, static_cast<size_t>(bytes));
        }
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return true;
}

void Window::Present(const Pixmap& frame, const DirtyRegion& changed, const Viewport& viewport,
                     bool all) {
    const Rect drawn{viewport.OffsetX(), viewport.OffsetY(), viewport.DrawnWidth(),
                     viewport.DrawnHeight()};
    if (all) {
        SDL_Surface* surface = SDL_GetWindowSurface(window_);
        if (surface == nullptr) return;
        // The margins around the stage, in the stage's own background colour.
        SDL_FillRect(surface, nullptr,
                     SDL_MapRGB(surface->format, host::look::kBackgroundRed,
                                host::look::kBackgroundGreen, host::look::kBackgroundBlue));
        if (Blit(frame, drawn, viewport)) SDL_UpdateWindowSurface(window_);
        return;
    }
    std::vector<SDL_Rect> rects;
    for (const Rect& r : changed.Rects()) {
        const Rect c = r.Intersect(frame.Bounds());
        if (c.Empty()) continue;
        const Rect d = StageScaler::Reach(viewport, c);
        if (d.Empty() || !Blit(frame, d, viewport)) continue;
        rects.push_back({d.x, d.y, d.w, d.h});
    }
    if (!rects.empty()) {
        SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
    }
}

}  // namespace shell
