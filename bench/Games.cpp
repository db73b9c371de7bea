// Headless games for measuring: loads the game library as the shell does, plays whole games
// on the virtual clock and reports how many complete games a second of real time it gets
// through. It also tells where a first move can be made at a seed, for driving a windowed
// game from outside.
//
//   spherolette-games [--library FILE] [--difficulty D] [--seed N] [--games N]
//   spherolette-games --plan [--library FILE] [--difficulty D] [--seed N]
//
// A game here: choose the difficulty on the title screen, move one bubble to start the move
// clock, then let the clock bring waves until the board fills; the end-of-game questions
// are answered No, which returns to the title screen.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "GameLibrary.h"
#include "shell/posix/AppletLibrary.h"
#include "shell/headless/HeadlessRunner.h"
#include "shell/session/Session.h"
#include "shell/core/Host.h"
#include "shell/fonts/SystemFonts.h"

namespace {

// Where the title screen's difficulty buttons are (a point inside each label).
constexpr int kButtonX[5] = {95, 120, 105, 120, 97};
constexpr int kButtonY[5] = {250, 272, 294, 316, 338};
// The board: 8 x 8 cells on a 35-pixel pitch; a bubble's top-left is (9, 134) in its cell.
constexpr int kBubbleLeft = 9, kBubbleTop = 134, kPitch = 35, kBubble = 32;
// The virtual time after which a game that has not ended is given up.
constexpr int64_t kLongestGameMs = 4LL * 3600 * 1000;

struct Move {
    int fromX = -1, fromY = -1, toX = -1, toY = -1;
    bool Valid() const { return fromX >= 0; }
};

// The board as the stage shows it: which cells hold a bubble sprite.
Move PlanFirstMove(shell::Host& host) {
    bool occupied[64] = {};
    for (shell::HostSprite* s : host.MainStage().Sprites()) {
        const shell::Rect b = s->Bounds();
        const int dx = b.x - kBubbleLeft, dy = b.y - kBubbleTop;
        if (b.w != kBubble || b.h != kBubble || dx < 0 || dy < 0 || dx % kPitch != 0 ||
            dy % kPitch != 0 || dx / kPitch >= 8 || dy / kPitch >= 8) {
            continue;
        }
        occupied[dx / kPitch + 8 * (dy / kPitch)] = true;
    }
    int from = -1, to = -1;
    for (int cell = 0; cell < 64; ++cell) {
        if (occupied[cell] && from < 0) from = cell;
        if (!occupied[cell] && to < 0) to = cell;
    }
    Move m;
    if (from < 0 || to < 0) return m;
    // Grab 10 pixels inside the bubble; the same offset on release drops it on the cell.
    m.fromX = kBubbleLeft + kPitch * (from % 8) + 10;
    m.fromY = kBubbleTop + kPitch * (from / 8) + 10;
    m.toX = kBubbleLeft + kPitch * (to % 8) + 10;
    m.toY = kBubbleTop + kPitch * (to / 8) + 10;
    return m;
}

void Settle(shell::Host& host, shell::Session& session) {
    host.Update();
    session.Compose(nullptr);
}

bool StartGame(shell::Host& host, shell::Session& session, int difficulty) {
    session.PointerDown(kButtonX[difficulty] + 10, kButtonY[difficulty] + 10);
    session.PointerUp(kButtonX[difficulty] + 10, kButtonY[difficulty] + 10);
    Settle(host, session);
    return host.Frame().GameActive();
}

void Drag(shell::Host& host, shell::Session& session, const Move& m) {
    session.PointerDown(m.fromX, m.fromY);
    for (int i = 1; i <= 8; ++i) {
        session.PointerMove(m.fromX + (m.toX - m.fromX) * i / 8, m.fromY + (m.toY - m.fromY) * i / 8);
    }
    session.PointerUp(m.toX, m.toY);
    Settle(host, session);
}

}  // namespace

int main(int argc, char** argv) {
    std::string library = bench::BuiltGameLibrary();
    int difficulty = 0, games = 20;
    uint64_t seed = 1;
    bool plan = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--plan") plan = true;
        else if (a == "--library" && hasValue) library = argv[++i];
        else if (a == "--difficulty" && hasValue) difficulty = std::atoi(argv[++i]);
        else if (a == "--seed" && hasValue) seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--games" && hasValue) games = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: spherolette-games [--plan] [--library FILE] "
                                 "[--difficulty 0-4] [--seed N] [--games N]\n");
            return 2;
        }
    }
    if (difficulty < 0 || difficulty > 4 || games < 1) return 2;

    std::unique_ptr<shell::AppletLibrary> lib = bench::OpenGameLibrary(library, "spherolette-games");
    if (!lib) return 1;

    shell::VirtualTime time;
    shell::ScriptedDialogs dialogs;
    shell::HostOptions options;
    options.resources = lib->Resources();
    options.time = time.AsSource();
    options.sound = shell::SoundBank::Mode::Silent;
    options.seed = seed;
    options.dialogs = &dialogs;
    options.fonts = shell::fonts::SystemFonts::Source(shell::fonts::SystemFonts::DefaultMemoryFile());
    shell::Host host(options);
    shell::Session session(host, lib->Entry());
    session.Start();
    Settle(host, session);
    shell::HeadlessRunner runner(session, host, time, dialogs);

    if (plan) {
        if (!StartGame(host, session, difficulty)) return 1;
        const Move m = PlanFirstMove(host);
        if (!m.Valid()) return 1;
        std::printf("%d %d %d %d %d %d\n", kButtonX[difficulty] + 10, kButtonY[difficulty] + 10,
                    m.fromX, m.fromY, m.toX, m.toY);
        session.Stop();
        return 0;
    }

    int played = 0;
    int64_t virtualMs = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int g = 0; g < games; ++g) {
        if (!StartGame(host, session, difficulty)) {
            std::fprintf(stderr, "spherolette-games: game %d did not start\n", g + 1);
            break;
        }
        const Move m = PlanFirstMove(host);
        if (!m.Valid()) break;
        Drag(host, session, m);
        const int64_t began = host.Clock().Now();
        while (host.Frame().GameActive() && host.Clock().Now() - began < kLongestGameMs) {
            runner.Wait(1000);
        }
        if (host.Frame().GameActive()) {
            std::fprintf(stderr, "spherolette-games: game %d did not end\n", g + 1);
            break;
        }
        virtualMs += host.Clock().Now() - began;
        ++played;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    session.Stop();
    std::printf("games=%d seconds=%.3f games_per_s=%.2f virtual_s_per_game=%.0f "
                "virtual_speedup=%.0f\n",
                played, seconds, played / seconds,
                played > 0 ? virtualMs / 1000.0 / played : 0.0,
                seconds > 0 ? virtualMs / 1000.0 / seconds : 0.0);
    return played == games ? 0 : 1;
}
