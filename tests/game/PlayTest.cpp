// Whole games played through the pointer and the clock, as a player would, until the board
// is full; the board's counts must stay true throughout and nothing may leak.
#include <cstdint>
#include <string>
#include <vector>

#include "screens/TitleScreen.h"
#include "tests/game/GameFixture.h"

namespace {

using gametest::GameTest;
using sph::GameScreen;

class PlayTest : public GameTest {
protected:
    uint32_t Next() {
        seed_ = seed_ * 1664525u + 1013904223u;
        return seed_ >> 8;
    }

    // The longest run of `kind` through `to` if the bubble on `from` moved there.
    static int RunThrough(const GameScreen* g, int from, int to, int kind) {
        auto colour = [&](int c, int r) {
            if (c < 0 || c > 7 || r < 0 || r > 7) return -1;
            const int cell = sph::CellIndex(c, r);
            if (cell == from) return -1;
            if (cell == to) return kind;
            const sph::BubblePiece* p = g->board[cell];
            return p != nullptr && !p->cleared ? p->kind : -1;
        };
        int best = 0;
        const int dirs[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
        for (const auto& d : dirs) {
            int n = 1;
            for (int k = 1; colour(to % 8 + d[0] * k, to / 8 + d[1] * k) == kind; ++k) ++n;
            for (int k = 1; colour(to % 8 - d[0] * k, to / 8 - d[1] * k) == kind; ++k) ++n;
            if (n > best) best = n;
        }
        return best;
    }

    // Plays until the game screen is replaced; returns the number of moves tried.
    int PlayToTheEnd(GameScreen* g) {
        int32_t now = 0;
        bool clockBased = false;
        for (int turn = 0; turn < 3000; ++turn) {
            if (Game() != g) return turn;
            host.ClearCalls();
            host.ClearDrawnTexts(host.MainCanvas());

            std::vector<int> live, empty;
            for (int cell = 0; cell < sph::kCells; ++cell) {
                const sph::BubblePiece* p = g->board[cell];
                if (p == nullptr) {
                    empty.push_back(cell);
                } else if (!p->cleared) {
                    live.push_back(cell);
                }
            }
            int cleared = 0;
            for (const sph::BubblePiece* p : g->board) cleared += p != nullptr && p->cleared;
            EXPECT_EQ(g->bubbleCount, Occupied(g)) << "turn " << turn;
            EXPECT_EQ(g->popCount, cleared) << "turn " << turn;
            EXPECT_GE(g->freeMoves, 0);

            const uint32_t action = Next() % 10;
            if (action == 0 && g->clockRunning) {
                // Let the clock run out.
                if (!clockBased) Tick(g, now), clockBased = true;
                now += g->secondsPerMove * 1000 + 1;
                Tick(g, now);
            } else if (!live.empty() && !empty.empty()) {
                // The move that makes the longest run, the first such from a random start.
                int from = live[Next() % live.size()];
                int to = empty[Next() % empty.size()];
                int best = 0;
                const size_t shift = Next();
                for (size_t i = 0; i < live.size(); ++i) {
                    const int f = live[(i + shift) % live.size()];
                    for (int t : empty) {
                        const int run = RunThrough(g, f, t, g->board[f]->kind);
                        if (run > best) best = run, from = f, to = t;
                    }
                }
                const int scoreBefore = g->score;
                Move(from % 8, from / 8, to % 8, to / 8);
                if (Game() != g) return turn;
                lines_ += g->score != scoreBefore;
                if (Game() != g) return turn;
                // A little time passes, enough for pops to end.
                if (!clockBased) Tick(g, now), clockBased = true;
                now += 1300;
                Tick(g, now);
            } else if (g->clockRunning) {
                now += 1300;
                Tick(g, now);
            }
        }
        ADD_FAILURE() << "the game did not end";
        return -1;
    }

    uint32_t seed_ = 12345;
    int lines_ = 0;
};

TEST_F(PlayTest, GamesAtEveryDifficultyRunToAFullBoardAndLeaveNothingBehind) {
    Start();
    for (int difficulty = 0; difficulty < 5; ++difficulty) {
        host.QueueRandom({});
        auto* g = new GameScreen(sph::theApplet, difficulty);
        sph::theApplet->SwitchScreen(sph::theApplet->currentScreen, g);
        host.QueueInputBoxText("Player " + std::to_string(difficulty));
        host.QueueMessageBoxAnswer(host::kAnswerNo);  // congratulations boxes inform anyway
        for (int i = 0; i < 8; ++i) host.QueueMessageBoxAnswer(host::kAnswerNo);
        const int turns = PlayToTheEnd(g);
        EXPECT_GT(turns, 20) << "difficulty " << difficulty;
        EXPECT_NE(dynamic_cast<sph::TitleScreen*>(sph::theApplet->currentScreen), nullptr);
    }
    EXPECT_GT(lines_, 100);  // the player clears lines, so pops, bonuses and levels happen
    // Stopping checks the ledger: every piece, pop, timer and font given back exactly once.
}

}  // namespace
