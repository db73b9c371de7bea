// Moves and the move clock: which drops count, free moves earned and spent, timeouts, pops
// that block their cells until they expire, and the bonus for clearing the board.
#include <climits>
#include <string>
#include <vector>

#include "tests/game/GameFixture.h"

namespace {

using gametest::GameTest;
using sph::GameScreen;

// A full board with no line anywhere: kind (col + 2 * row) mod 4.
std::vector<std::string> FullBoardWithoutLines() {
    std::vector<std::string> rows;
    for (int r = 0; r < 8; ++r) {
        std::string row;
        for (int c = 0; c < 8; ++c) row += static_cast<char>('0' + (c + 2 * r) % 4);
        rows.push_back(row);
    }
    return rows;
}

class MovesTest : public GameTest {
protected:
    // A game at difficulty 0 whose opening bubble is a kind 0 on (0,0).
    void SetUp() override { g = NewGame(0, {0, 0, 0}); }

    // The first tick of the library re-bases the clock; give it at time 0 so that later ticks
    // measure from the drop.
    void StartClockAtZero() {
        Tick(g, 0);
        host.ClearCalls();
    }

    GameScreen* g = nullptr;
};

TEST_F(MovesTest, RefusedDropsChangeNothingAtAll) {
    Layout(g, {"0.......", ".1......"});
    host.ClearCalls();
    struct Case {
        const char* what;
        int x, y;
    };
    const Case cases[] = {
        {"onto its own cell", 26, 151},
        {"onto an occupied cell", 61, 186},
        {"right of the board", 287, 200},
        {"35 pixels above the board", 100, 97},
    };
    for (const Case& c : cases) {
        DropAt(0, 0, c.x, c.y);
        EXPECT_EQ(Picture(g)[0], "0.......") << c.what;
        EXPECT_EQ(host.Info(g->board[0]->sprite).x, 9) << c.what;
        EXPECT_EQ(host.Info(g->board[0]->sprite).y, 134) << c.what;
    }
    EXPECT_TRUE(Sounds().empty());
    EXPECT_FALSE(g->clockRunning);
    EXPECT_FALSE(host.IsStarted(g->clockTimer));
    EXPECT_EQ(host.RandomCallCount(), 3u);  // only the opening wave's draws
}

TEST_F(MovesTest, DropPointsJustInsideTheBoardEdgesLand) {
    Layout(g, {"0......."});
    host.QueueRandom({7, 7, 1, 6, 7, 1, 5, 7, 1});
    DropAt(0, 0, 286, 300);  // the right edge: column 7
    EXPECT_NE(g->board[sph::CellIndex(7, 4)], nullptr);
    DropAt(7, 4, 100, 98);  // 34 pixels above the board: row 0
    EXPECT_NE(g->board[sph::CellIndex(2, 0)], nullptr);
    // Dragged to the bottom of the stage, the drag range keeps the drop point in row 7.
    ASSERT_TRUE(host.PressAt(9 + 35 * 2 + 5, 134 + 5));
    host.MoveTo(9 + 35 * 2 + 5, 1000);
    host.ReleaseAt(9 + 35 * 2 + 5, 1000);
    EXPECT_NE(g->board[sph::CellIndex(2, 7)], nullptr);
}

TEST_F(MovesTest, FirstMoveStartsTheClockAndBringsAWave) {
    host.ClearCalls();
    host.Advance(60000);  // no move yet: the clock stands still
    EXPECT_EQ(Count("DrawImage"), 0);

    host.QueueRandom({5, 5, 2});
    Move(0, 0, 3, 3);

    EXPECT_TRUE(host.IsStarted(g->clockTimer));
    EXPECT_EQ(g->msLeft, 28000);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"p-DropBubble.wav"});
    EXPECT_EQ(Picture(g)[3], "...0....");
    EXPECT_EQ(Picture(g)[5], ".....2..");
    EXPECT_EQ(g->bubbleCount, 2);
    EXPECT_EQ(g->freeMoves, 0);
}

TEST_F(MovesTest, FreeMovesAreEarnedByRunsAndSpentByMovesWithoutOne) {
    // With 0 free moves, a run of 5 leaves 0 and spawns nothing.
    Layout(g, {"1111.2..", "....1..."});
    host.ClearCalls();
    Move(4, 1, 4, 0);
    EXPECT_EQ(g->freeMoves, 0);
    EXPECT_EQ(g->score, 100);
    EXPECT_EQ(host.RandomCallCount(), 3u);

    // A run of 6 leaves 1.
    g->freeMoves = 0;
    Layout(g, {"........", "22222...", ".....2.."});
    Move(5, 2, 5, 1);
    EXPECT_EQ(g->freeMoves, 1);

    // With 2 free moves a move without a line spends one, spawns nothing, and sounds free.
    g->freeMoves = 2;
    Layout(g, {"3......."});
    host.ClearCalls();
    Move(0, 0, 1, 0);
    EXPECT_EQ(g->freeMoves, 1);
    EXPECT_EQ(Occupied(g), 1);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"p-FreeMove.wav"});
    // The last free move is spent the same way, and the tiles change look at 0.
    host.ClearCalls();
    Move(1, 0, 2, 0);
    EXPECT_EQ(g->freeMoves, 0);
    EXPECT_EQ(Occupied(g), 1);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"p-FreeMove.wav"});
    const auto images = host.CallsTo("DrawImage");
    ASSERT_GE(images.size(), 64u);
    EXPECT_EQ(images.back().args[0], "Canvas#" + std::to_string(host.IdOf(sph::theApplet->boardTile)));
}

TEST_F(MovesTest, TimeoutSpawnsOrSpendsAFreeMoveAndZeroLeftIsNoTimeout) {
    host.QueueRandom({7, 7, 1});
    Move(0, 0, 1, 0);
    StartClockAtZero();

    Tick(g, 28000);
    EXPECT_EQ(g->msLeft, 0);
    EXPECT_EQ(Occupied(g), 2);

    host.QueueRandom({4, 4, 3});
    Tick(g, 28001);  // 1 ms over: a wave, and the clock starts again
    EXPECT_EQ(Occupied(g), 3);
    EXPECT_EQ(g->msLeft, 28000);
    EXPECT_EQ(sph::clockBase, 28001);

    g->freeMoves = 3;
    Tick(g, 28001 + 28001);
    EXPECT_EQ(g->freeMoves, 2);
    EXPECT_EQ(Occupied(g), 3);
}

TEST_F(MovesTest, PopsBlockTheirCellsUntilTheyExpire) {
    Layout(g, {"1111....", "....1...", "......2."});
    host.QueueRandom({7, 7, 3});
    Move(6, 2, 6, 4);  // starts the clock with a wave
    StartClockAtZero();
    Tick(g, 1000);
    Move(4, 1, 4, 0);  // the row clears at now = 1000
    ASSERT_EQ(g->popCount, 5);
    ASSERT_EQ(Picture(g)[0], "*****...");

    Move(6, 4, 2, 0);  // onto a popping cell: refused
    EXPECT_EQ(Picture(g)[4][6], '2');

    Tick(g, 2199);
    EXPECT_EQ(g->popCount, 5);
    const int sprites = static_cast<int>(host.SpritesOn(host.MainStage()).size());
    Tick(g, 2200);
    EXPECT_EQ(g->popCount, 0);
    EXPECT_EQ(Picture(g)[0], "........");
    EXPECT_EQ(g->bubbleCount, 2);
    EXPECT_EQ(static_cast<int>(host.SpritesOn(host.MainStage()).size()), sprites - 10);

    Move(6, 4, 2, 0);
    EXPECT_EQ(Picture(g)[0], "..2.....");
}

TEST_F(MovesTest, ClearingTheBoardEarnsTheBonusAndAFreshWave) {
    Layout(g, {"1111....", "....1..."});
    g->freeMoves = 2;
    host.QueueRandom({});
    Move(4, 1, 4, 0);  // +100, +1 earned, 1 spent: 2 free moves stay
    StartClockAtZero();
    ASSERT_EQ(g->freeMoves, 2);
    ASSERT_EQ(g->score, 100);

    host.QueueRandom({3, 3, 0});
    Tick(g, 1200);

    EXPECT_EQ(g->score, 100 + 200 + 1000);
    EXPECT_EQ(g->freeMoves, 0);
    EXPECT_EQ(Picture(g)[3], "...0....");
    EXPECT_EQ(g->msLeft, 28000);
    EXPECT_EQ(sph::clockBase, 1200);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"p-FadeIn.wav"});
}

TEST_F(MovesTest, BonusThatPassesAThresholdPlaysTheFanfareInstead) {
    Layout(g, {"1111....", "....1..."});
    g->score = 400;
    Move(4, 1, 4, 0);
    StartClockAtZero();
    host.QueueRandom({3, 3, 0});
    Tick(g, 1200);
    EXPECT_EQ(g->score, 1500);
    EXPECT_EQ(g->phaseInLevel, 1);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"p-LevelWin.wav"});
}

TEST_F(MovesTest, BonusNeverCarriesTheScorePastTheLargestValue) {
    Layout(g, {"1111....", "....1..."});
    g->score = INT32_MAX - 150;
    g->nextPhaseScore = INT32_MAX;
    g->freeMoves = 5;
    Move(4, 1, 4, 0);
    StartClockAtZero();
    Tick(g, 1200);
    EXPECT_EQ(g->score, INT32_MAX);
}

TEST_F(MovesTest, ABubbleClearedWhileBeingDraggedCannotBeMoved) {
    // Two empty cells, each of which completes a line in the colour the spawner tries.
    std::vector<std::string> rows = FullBoardWithoutLines();
    rows[0] = "1111.123";
    rows[7] = "3333.301";
    Layout(g, rows);
    StartClockAtZero();
    // Pick up (0,0) and hold it while the clock runs out: the wave's fallback bubble lands
    // on (4,0) and completes the row under the dragged bubble.
    ASSERT_TRUE(host.PressAt(15, 140));
    host.MoveTo(160, 390);
    host.QueueRandom({0, 1, 3, 1, 1});
    Tick(g, 28001);
    ASSERT_EQ(Picture(g)[0], "******23");
    ASSERT_EQ(g->popCount, 6);

    host.ReleaseAt(160, 390);  // over the free cell (4,7)
    EXPECT_EQ(Picture(g)[0], "******23");
    EXPECT_EQ(Picture(g)[7], "3333.301");
    EXPECT_EQ(host.Info(g->board[0]->sprite).y, 134);

    // Its pop still takes it away, and the count stays true.
    Tick(g, 28001 + 1200);
    EXPECT_EQ(Picture(g)[0], "......23");
    EXPECT_EQ(g->bubbleCount, 57);
}

TEST_F(MovesTest, WaveFillingTheLastCellEndsTheGameEvenWhenItCompletesALine) {
    std::vector<std::string> rows = FullBoardWithoutLines();
    rows[0] = "11112123";
    rows[3][3] = '.';
    Layout(g, rows);
    // (4,0) is left the only free cell; colour 1 there completes the row, trial or not.
    host.QueueRandom({0, 0, 1, 1});
    host.QueueMessageBoxAnswer(host::kAnswerNo);
    Move(4, 0, 3, 3);
    EXPECT_EQ(Game(), nullptr);
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().back(), "Game Over|Sorry, no more moves left.\nTry Again?|2");
}

}  // namespace
