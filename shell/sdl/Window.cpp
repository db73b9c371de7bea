// Window set-up and presenting. The window surface is the X server's shared-memory image, so
// presenting a small rectangle costs about as much as that rectangle.
#include "shell/sdl/Window.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace shell {

namespace {
constexpr int kScreenMargin = 64;  // room for panels and window decorations
}

std::unique_ptr<Window> Window::Open(int width, int height, int scale, std::string* error) {
    if (scale <= 0) {
        SDL_Rect usable;
        scale = 1;
        if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
            scale = std::max(1, std::min((usable.w - kScreenMargin) / width,
                                         (usable.h - kScreenMargin) / height));
        }
    }
    std::unique_ptr<Window> w(new Window());
    w->window_ = SDL_CreateWindow("Spherolette", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  width * scale, height * scale,
                                  SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (w->window_ == nullptr) {
        *error = std::string("cannot open a window: ") + SDL_GetError();
        return nullptr;
    }
    SDL_SetWindowMinimumSize(w->window_, width, height);
    return w;
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

void Window::ToggleFullscreen() {
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
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

bool Window::Blit(const Pixmap& frame, const Rect& area, const Viewport& viewport) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return false;
    const Rect r = area.Intersect(frame.Bounds());
    if (r.Empty()) return true;
    const int s = viewport.Scale();
    // The common X11 surfaces hold 0x00RRGGBB: the frame's pixels copy as they are.
    const bool direct = surface->format->BytesPerPixel == 4 && surface->format->Rmask == 0xFF0000 &&
                        surface->format->Gmask == 0xFF00 && surface->format->Bmask == 0xFF;
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    const int ox = viewport.OffsetX(), oy = viewport.OffsetY();
    const int maxX = std::min(r.Right() * s, surface->w - ox);
    const int maxY = std::min(r.Bottom() * s, surface->h - oy);
    std::vector<uint32_t> line(static_cast<size_t>(r.w) * s);
    for (int y = r.y; y < r.Bottom() && y * s < maxY; ++y) {
        const uint32_t* src = frame.Row(y) + r.x;
        if (direct) {
            for (int x = 0; x < r.w; ++x) std::fill_n(line.data() + x * s, s, src[x]);
        } else {
            for (int x = 0; x < r.w; ++x) {
                const uint32_t p = src[x];
                std::fill_n(line.data() + x * s, s,
                            SDL_MapRGB(surface->format, static_cast<uint8_t>(p >> 16),
                                       static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)));
            }
        }
        const int bytes = std::max(0, maxX - r.x * s) * surface->format->BytesPerPixel;
        for (int k = 0; k < s && y * s + k < maxY; ++k) {
            auto* row = static_cast<uint8_t*>(surface->pixels) +
                        static_cast<size_t>(oy + y * s + k) * surface->pitch +
                        static_cast<size_t>(ox + r.x * s) * surface->format->BytesPerPixel;
            if (surface->format->BytesPerPixel == 4) {
                std::memcpy(row, line.data(), static_cast<size_t>(bytes));
            } else {
                // Rare pixel sizes: write each pixel through SDL's packing.
                for (int x = 0; x < maxX - r.x * s; ++x) {
                    std::memcpy(row + x * surface->format->BytesPerPixel, &line[static_cast<size_t>(x)],
                                surface->format->BytesPerPixel);
                }
            }
        }
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return true;
}

void Window::Present(const Pixmap& frame, const DirtyRegion& changed, const Viewport& viewport,
                     bool all) {
    if (all) {
        SDL_Surface* surface = SDL_GetWindowSurface(window_);
        if (surface == nullptr) return;
        // The margins around the stage.
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        if (Blit(frame, frame.Bounds(), viewport)) SDL_UpdateWindowSurface(window_);
        return;
    }
    std::vector<SDL_Rect> rects;
    for (const Rect& r : changed.Rects()) {
        const Rect c = r.Intersect(frame.Bounds());
        if (c.Empty() || !Blit(frame, c, viewport)) continue;
        const Rect d = viewport.ToDrawable(c);
        rects.push_back({d.x, d.y, d.w, d.h});
    }
    if (!rects.empty()) {
        SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
    }
}

}  // namespace shell
