// Window set-up and presenting. The window surface is the X server's shared-memory image, so
// presenting a small rectangle costs about as much as that rectangle.
#include "shell/app/Window.h"

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
    w->width_ = width;
    w->height_ = height;
    w->scale_ = scale;
    w->window_ = SDL_CreateWindow("Spherolette", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  width * scale, height * scale, SDL_WINDOW_SHOWN);
    if (w->window_ == nullptr) {
        *error = std::string("cannot open a window: ") + SDL_GetError();
        return nullptr;
    }
    return w;
}

Window::~Window() {
    if (window_ != nullptr) SDL_DestroyWindow(window_);
}

void Window::SetTitle(const std::string& title) { SDL_SetWindowTitle(window_, title.c_str()); }

int Window::ToStage(int v) const {
    return v >= 0 ? v / scale_ : -((-v + scale_ - 1) / scale_);
}

bool Window::Blit(const Pixmap& frame, const Rect& area) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return false;
    const Rect r = area.Intersect(frame.Bounds());
    if (r.Empty()) return true;
    const int s = scale_;
    // The common X11 surfaces hold 0x00RRGGBB: the frame's pixels copy as they are.
    const bool direct = surface->format->BytesPerPixel == 4 && surface->format->Rmask == 0xFF0000 &&
                        surface->format->Gmask == 0xFF00 && surface->format->Bmask == 0xFF;
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    const int maxX = std::min(r.Right() * s, surface->w);
    const int maxY = std::min(r.Bottom() * s, surface->h);
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
                        static_cast<size_t>(y * s + k) * surface->pitch +
                        static_cast<size_t>(r.x * s) * surface->format->BytesPerPixel;
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

void Window::Present(const Pixmap& frame, const DirtyRegion& changed) {
    std::vector<SDL_Rect> rects;
    for (const Rect& r : changed.Rects()) {
        const Rect c = r.Intersect(frame.Bounds());
        if (c.Empty() || !Blit(frame, c)) continue;
        rects.push_back({c.x * scale_, c.y * scale_, c.w * scale_, c.h * scale_});
    }
    if (!rects.empty()) {
        SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
    }
}

void Window::PresentAll(const Pixmap& frame) {
    if (Blit(frame, frame.Bounds())) SDL_UpdateWindowSurface(window_);
}

}  // namespace shell
