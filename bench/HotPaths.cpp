// Google Benchmark timings of the game's hot paths, run on the shell's real host objects
// (headless, silent, virtual clock) with the game's code linked in, so every drawing call
// lands on a real canvas and the compositor has real pictures to blend.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "applet/Applet.h"
#include "game/Board.h"
#include "game/BubblePiece.h"
#include "gamescreen/GameScreen.h"
#include "host/Applet.h"
#include "shell/core/Host.h"
#include "text/HelpPage.h"
#include "text/Markup.h"
#include "text/TextResourceReader.h"
#include "shell/fonts/SystemFonts.h"

namespace {

// One started applet on a headless host for the whole run (the applet is once per process).
struct Bench {
    shell::VirtualTime time;
    std::unique_ptr<shell::Host> host;

    Bench() {
        shell::HostOptions options;
        options.resources = &Shell_ResourceDirectory;
        options.time = time.AsSource();
        options.sound = shell::SoundBank::Mode::Silent;
        options.seed = 7;
        options.fonts = shell::fonts::SystemFonts::Source(shell::fonts::SystemFonts::DefaultMemoryFile());
        host = std::make_unique<shell::Host>(options);
        Shell_StartApplet(host->Site());
    }
    ~Bench() { Shell_StopApplet(); }
};

Bench& B() {
    static Bench bench;
    return bench;
}

// A new game at `difficulty` in place of the current screen, with an empty board.
sph::GameScreen* NewGame(int difficulty) {
    B();
    auto* game = new sph::GameScreen(sph::theApplet, difficulty);
    sph::theApplet->SwitchScreen(sph::theApplet->currentScreen, game);
    for (sph::BubblePiece*& cell : game->board) {
        delete cell;
        cell = nullptr;
    }
    game->bubbleCount = 0;
    return game;
}

void Put(sph::GameScreen* g, int cell, int kind) {
    auto* piece = new sph::BubblePiece(g, kind);
    piece->MoveToCell(cell % sph::kBoardSize, cell / sph::kBoardSize);
    g->board[cell] = piece;
    ++g->bubbleCount;
}

// True when `kind` at `cell` of `grid` (-1 empty) would make a run of five or more.
bool MakesRun(const int* grid, int cell, int kind) {
    const int col = cell % 8, row = cell / 8;
    static constexpr int kDirs[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
    for (const auto& d : kDirs) {
        int run = 1;
        for (int sign : {1, -1}) {
            for (int c = col + sign * d[0], r = row + sign * d[1];
                 c >= 0 && c < 8 && r >= 0 && r < 8 && grid[c + 8 * r] == kind;
                 c += sign * d[0], r += sign * d[1]) {
                ++run;
            }
        }
        if (run >= 5) return true;
    }
    return false;
}

// Fills every cell marked -2 in `grid` with a colour below `colours` that completes no run.
void FillWithoutRuns(int* grid, int colours) {
    for (int cell = 0; cell < 64; ++cell) {
        if (grid[cell] != -2) continue;
        grid[cell] = -1;
        for (int k = 0; k < colours; ++k) {
            const int kind = (cell % 8 + 2 * (cell / 8) + k) % colours;
            if (!MakesRun(grid, cell, kind)) {
                grid[cell] = kind;
                break;
            }
        }
    }
}

void Lay(sph::GameScreen* g, const int* grid) {
    for (int cell = 0; cell < 64; ++cell) {
        if (grid[cell] >= 0) Put(g, cell, grid[cell]);
    }
}

// ---- The move clock --------------------------------------------------------------------

// A busy board: 56 bubbles and five pops still running. Each tick is 20 ms later than the
// last; the clock is put back before it can run out, so every tick is an ordinary one.
sph::GameScreen* BusyGame() {
    sph::GameScreen* g = NewGame(2);
    int grid[64];
    for (int& c : grid) c = -2;
    for (int cell : {3, 12, 21, 30, 39, 48, 57, 62}) grid[cell] = -1;
    FillWithoutRuns(grid, 6);
    Lay(g, grid);
    g->clockRunning = true;
    g->clockTimer->Start();
    sph::firstTick = false;
    for (int i = 0; i < 5; ++i) {
        auto* pop = new sph::BubblePiece(g, sph::kPopKind);
        pop->MoveToCell(i, 7);
        sph::popList[g->popCount++] = {0x7fffffffu, pop, i, 7};
    }
    return g;
}

void BM_OnClockTick(benchmark::State& state) {
    sph::GameScreen* g = BusyGame();
    host::Event tick{g, 0, 0, 0};
    int32_t t = 0;
    sph::clockBase = 0;
    for (auto _ : state) {
        t += 20;
        if (t - sph::clockBase > 20000) sph::clockBase = t;  // never a timeout
        tick.value = t;
        g->OnClockTick(&tick);
    }
    if (g->bubbleCount != 56) state.SkipWithError("the board changed");
}
BENCHMARK(BM_OnClockTick);

// The same tick followed by what the shell does with it: compose the areas it changed.
void BM_OnClockTickAndCompose(benchmark::State& state) {
    sph::GameScreen* g = BusyGame();
    shell::Pixmap frame(host::kStageWidth, host::kStageHeight);
    shell::HostStage& stage = B().host->MainStage();
    stage.Compose(frame, nullptr);
    host::Event tick{g, 0, 0, 0};
    int32_t t = 0;
    sph::clockBase = 0;
    int64_t pixels = 0;
    for (auto _ : state) {
        t += 20;
        if (t - sph::clockBase > 20000) sph::clockBase = t;
        tick.value = t;
        g->OnClockTick(&tick);
        shell::DirtyRegion changed;
        stage.Compose(frame, &changed);
        for (const shell::Rect& r : changed.Rects()) pixels += static_cast<int64_t>(r.w) * r.h;
    }
    state.counters["px_per_tick"] =
        benchmark::Counter(static_cast<double>(pixels) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_OnClockTickAndCompose);

// ---- Spawning -----------------------------------------------------------------------------

// One empty cell left, at (4, 4), where each of the four colours would complete a line (row,
// column and both diagonals hold four of one colour leading up to it): the spawner walks all
// 64 cells, probes the one empty cell, withdraws the bubble and places another anyway.
sph::GameScreen* AlmostFullGame() {
    sph::GameScreen* g = NewGame(0);
    int grid[64];
    for (int& c : grid) c = -2;
    const int hole = sph::CellIndex(4, 4);
    grid[hole] = -1;
    for (int c = 0; c < 4; ++c) grid[sph::CellIndex(c, 4)] = 0;       // row
    for (int r = 0; r < 4; ++r) grid[sph::CellIndex(4, r)] = 1;       // column
    for (int i = 0; i < 4; ++i) grid[sph::CellIndex(i, i)] = 2;       // falling diagonal
    for (int i = 1; i <= 3; ++i) grid[sph::CellIndex(4 + i, 4 - i)] = 3;  // rising diagonal
    grid[sph::CellIndex(3, 5)] = 3;
    FillWithoutRuns(grid, 4);
    Lay(g, grid);
    return g;
}

void BM_SpawnBubbleLastCell(benchmark::State& state) {
    sph::GameScreen* g = AlmostFullGame();
    const int hole = sph::CellIndex(4, 4);
    if (g->bubbleCount != 63 || g->CheckLines(true)) {
        state.SkipWithError("the board is not a one-hole board without lines");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(g->SpawnBubble());
        state.PauseTiming();
        delete g->board[hole];
        g->board[hole] = nullptr;
        --g->bubbleCount;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SpawnBubbleLastCell);

// ---- Line detection -------------------------------------------------------------------------

void BM_CheckLinesProbe(benchmark::State& state) {
    sph::GameScreen* g = BusyGame();
    for (auto _ : state) benchmark::DoNotOptimize(g->CheckLines(true));
}
BENCHMARK(BM_CheckLinesProbe);

// Applying a cross of two runs of five (row 0 and column 0): scoring, free moves, ten pops
// started, the panels and tiles redrawn. Each round is put back afterwards, off the clock.
void BM_CheckLinesApply(benchmark::State& state) {
    sph::GameScreen* g = NewGame(2);
    int grid[64];
    for (int& c : grid) c = -2;
    for (int i = 0; i < 5; ++i) grid[sph::CellIndex(i, 0)] = 5;
    for (int i = 1; i < 5; ++i) grid[sph::CellIndex(0, i)] = 5;
    grid[sph::CellIndex(5, 0)] = -1;
    grid[sph::CellIndex(0, 5)] = -1;
    FillWithoutRuns(grid, 5);  // colours 0..4: nothing else joins the 5s
    Lay(g, grid);
    for (auto _ : state) {
        benchmark::DoNotOptimize(g->CheckLines(false));
        state.PauseTiming();
        for (int i = 0; i < g->popCount; ++i) {
            delete sph::popList[i].piece;
            sph::popList[i] = sph::PopEntry{};
        }
        g->popCount = 0;
        for (sph::BubblePiece* p : g->board) {
            if (p != nullptr) p->cleared = false;
        }
        g->score = 0;
        g->freeMoves = 0;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CheckLinesApply);

// ---- Text -----------------------------------------------------------------------------------

// The help document's text drawn with the markup renderer on the help stage's canvas.
void BM_DrawMarkupHelpPage(benchmark::State& state) {
    B();
    static char text[sph::kHelpTextLimit + 1];
    {
        sph::TextResourceReader reader(sph::kHelpDocumentName);
        if (reader.ReadQuotedString(text, sph::kHelpTextLimit) != 0) {
            state.SkipWithError("no help document");
            return;
        }
    }
    for (char* p = text; *p != '\0'; ++p) {
        if (*p == '\r' || *p == '\n') *p = ' ';
    }
    host::Canvas* canvas = nullptr;
    B().host->Site()->helpStage->GetCanvas(&canvas);
    for (auto _ : state) {
        canvas->Clear(255, 153, 0);
        sph::DrawMarkup(canvas, text, 0, 10);
    }
    canvas->Release();
    state.counters["chars"] = static_cast<double>(std::strlen(text));
}
BENCHMARK(BM_DrawMarkupHelpPage)->Unit(benchmark::kMicrosecond);

// ---- Composition ----------------------------------------------------------------------------

// A whole frame of a game in progress composed from scratch: background, 56 bubbles, pops.
void BM_ComposeFullGameFrame(benchmark::State& state) {
    BusyGame();
    shell::Pixmap frame(host::kStageWidth, host::kStageHeight);
    shell::HostStage& stage = B().host->MainStage();
    for (auto _ : state) {
        stage.Invalidate();
        stage.Compose(frame, nullptr);
    }
}
BENCHMARK(BM_ComposeFullGameFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
