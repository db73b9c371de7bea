// Presenting the stage in a window (SDL's dummy video driver): the window's surface shows the
// scaled stage as the scaler makes it, for the whole window and for changed parts, at a whole
// factor and at a filtered size, with the margins in the stage's background colour.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/GameLook.h"
#include "shell/sdl/Window.h"
#include "shell/session/StageScaler.h"
#include "shell/session/Viewport.h"

namespace shell {
namespace {

constexpr int kW = 53, kH = 42;

Pixmap Stage(uint32_t seed) {
    Pixmap p(kW, kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            p.Row(y)[x] = 0xFF000000u | ((static_cast<uint32_t>(x * 37 + y * 11) * seed) & 0xFFFFFF);
        }
    }
    return p;
}

// The surface's pixels, RGB only.
std::vector<uint32_t> Shown(SDL_Window* window, int* w, int* h) {
    SDL_Surface* s = SDL_GetWindowSurface(window);
    *w = s->w;
    *h = s->h;
    std::vector<uint32_t> out;
    for (int y = 0; y < s->h; ++y) {
        for (int x = 0; x < s->w; ++x) {
            Uint8 r, g, b;
            uint32_t v = 0;
            std::memcpy(&v, static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * 4, 4);
            SDL_GetRGB(v, s->format, &r, &g, &b);
            out.push_back(uint32_t{r} << 16 | uint32_t{g} << 8 | b);
        }
    }
    return out;
}

// What the window should show: the margins' colour, the scaled stage over it.
std::vector<uint32_t> Expected(const Pixmap& stage, const Viewport& v, int w, int h) {
    const uint32_t margin = uint32_t{host::look::kBackgroundRed} << 16 |
                            uint32_t{host::look::kBackgroundGreen} << 8 |
                            host::look::kBackgroundBlue;
    std::vector<uint32_t> out(static_cast<size_t>(w) * h, margin);
    StageScaler scaler;
    scaler.Scale(stage, v, {0, 0, w, h}, out.data(), w);
    for (uint32_t& p : out) p &= 0xFFFFFF;
    return out;
}

TEST(WindowPresent, TheSurfaceShowsTheScaledStageWholeAndInChangedParts) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    {
        WindowChoice choice;
        choice.scale = 2;
        std::string error;
        std::unique_ptr<Window> window = Window::Open(kW, kH, choice, &error);
        ASSERT_TRUE(window) << error;
        // A whole factor, then a size that filters, with margins.
        for (const auto& size : {std::pair{kW * 2, kH * 2}, std::pair{kW * 3 + 7, kH * 2 + 5}}) {
            SDL_SetWindowSize(window->Handle(), size.first, size.second);
            int w = 0, h = 0;
            window->DrawableSize(&w, &h);
            ASSERT_EQ(w, size.first);
            Viewport viewport(kW, kH);
            viewport.Fit(w, h);
            Pixmap stage = Stage(3);
            window->Present(stage, DirtyRegion{}, viewport, true);
            int sw = 0, sh = 0;
            EXPECT_EQ(Shown(window->Handle(), &sw, &sh), Expected(stage, viewport, w, h));

            // Part of the stage changes: only that part is redrawn, to the same pixels a
            // whole redraw gives.
            Pixmap changed = stage;
            DirtyRegion dirty;
            for (int y = 10; y < 20; ++y) {
                for (int x = 5; x < 30; ++x) changed.Row(y)[x] = 0xFF102030u + x;
            }
            dirty.Add({5, 10, 25, 10});
            window->Present(changed, dirty, viewport, false);
            EXPECT_EQ(Shown(window->Handle(), &sw, &sh), Expected(changed, viewport, w, h));
        }
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    unsetenv("SDL_VIDEODRIVER");
}

}  // namespace
}  // namespace shell
