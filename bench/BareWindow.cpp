// The floor the game is measured against: a bare SDL2 program that opens a 530 x 420 window
// with a software surface, presents one frame, prints "first-frame-ms N" as the game's shell
// does, then waits for events until it is told to quit. Nothing else: no fonts, no sound, no
// pictures.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "bench/ProcessClock.h"

int main(int argc, char** argv) {
    bool report = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--report-first-frame") == 0) report = true;
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
    // The waiting loop: nothing runs until an event comes.
    SDL_Event e;
    bool running = true;
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
