// The floor the game is measured against: a bare SDL2 program that opens a 530 x 420 window
// with a software surface, presents one frame, prints "first-frame-ms N" as the game's shell
// does, then waits for events until it is told to quit. Nothing else: no fonts, no sound, no
// pictures.
//
//   bare-window [--report-first-frame]
//   bare-ticking [--report-first-frame] [--wake-ms N [--presents-per-s P]]
//
// bare-ticking, built from this file with BARE_TICKING, is the floor of a game whose clock
// ticks: with --wake-ms it wakes every N ms, sleeping on the X connection as the cheapest SDL2
// program can (the game's own waiter), and does nothing on a wake; with --presents-per-s it
// also shows a changed 32 x 32 square P times a second, at a wake, as the game shows its
// animations. It is a separate program because the waiter brings in the C++ runtime, which
// bare-window, the floor for start-up and memory, must not load.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/ProcessClock.h"
#ifdef BARE_TICKING
#include "shell/sdl/X11Wait.h"
#endif

int main(int argc, char** argv) {
    bool report = false;
#ifdef BARE_TICKING
    int wakeMs = 0, presentsPerS = 0;
#endif
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--report-first-frame") == 0) report = true;
#ifdef BARE_TICKING
        if (std::strcmp(argv[i], "--wake-ms") == 0 && i + 1 < argc) wakeMs = std::atoi(argv[++i]);
        if (std::strcmp(argv[i], "--presents-per-s") == 0 && i + 1 < argc) {
            presentsPerS = std::atoi(argv[++i]);
        }
#endif
    }
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "bare-window: no display: %s\n", SDL_GetError());
        return 4;
    }
    SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          530, 420, SDL_WINDOW_SHOWN);
    if (window == nullptr) {
        std::fprintf(stderr, "bare-window: cannot open a window: %s\n", SDL_GetError());
        SDL_Quit();
        return 4;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface != nullptr) {
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 51, 153, 153));
        SDL_UpdateWindowSurface(window);
    }
    if (report) {
        std::printf("first-frame-ms %.1f\n", bench::ProcessAgeMs());
        std::fflush(stdout);
    }
    SDL_Event e;
    bool running = true;
#ifdef BARE_TICKING
    if (wakeMs > 0) {
        // The ticking loop: a wake every wakeMs on a schedule that does not drift.
        shell::EventWaiter waiter(window);
        Uint32 next = SDL_GetTicks() + static_cast<Uint32>(wakeMs), lastShown = 0;
        int shown = 0;
        while (running) {
            const int wait = static_cast<int>(next - SDL_GetTicks());
            if (waiter.Wait(&e, wait > 0 ? wait : 0)) {
                if (e.type == SDL_QUIT) running = false;
                continue;
            }
            if (static_cast<int>(next - SDL_GetTicks()) > 0) continue;
            next += static_cast<Uint32>(wakeMs);
            const Uint32 now = SDL_GetTicks();
            if (presentsPerS > 0 && surface != nullptr &&
                now - lastShown >= static_cast<Uint32>(1000 / presentsPerS)) {
                SDL_Rect r{9 + 35 * (shown % 8), 134, 32, 32};
                SDL_FillRect(surface, &r, SDL_MapRGB(surface->format, static_cast<Uint8>(shown * 40), 0, 0));
                SDL_UpdateWindowSurfaceRects(window, &r, 1);
                lastShown = now;
                ++shown;
            }
        }
    }
#endif
    // The waiting loop: nothing runs until an event comes.
    while (running && SDL_WaitEvent(&e) != 0) {
        if (e.type == SDL_QUIT) running = false;
        if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE) running = false;
        if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_EXPOSED) {
            SDL_UpdateWindowSurface(window);
        }
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
