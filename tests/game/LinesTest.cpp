// Line detection: which runs count, what they earn, and what probe mode leaves alone.
#include <string>
#include <vector>

#include "tests/game/GameFixture.h"

namespace {

using gametest::GameTest;
using sph::GameScreen;

class LinesTest : public GameTest {
protected:
    void SetUp() override { g = NewGame(0, {0, 0, 0}); }

    // Pops as "col,row" in list order.
    std::vector<std::string> Pops() {
        std::vector<std::string> out;
        for (int i = 0; i < g->popCount; ++i) {
            out.push_back(std::to_string(sph::popList[i].col) + "," +
                          std::to_string(sph::popList[i].row));
        }
        return out;
    }

    GameScreen* g = nullptr;
};

TEST_F(LinesTest, RowOfFiveScoresClearsAndPopsInApplyMode) {
    Layout(g, {"........", "........", "........", "..11111."});
    g->now = 500;
    host.ClearCalls();

    EXPECT_TRUE(g->CheckLines(false));

    EXPECT_EQ(g->score, 100);
    EXPECT_EQ(g->freeMoves, 1);
    EXPECT_EQ(Pops(), (std::vector<std::string>{"2,3", "3,3", "4,3", "5,3", "6,3"}));
    for (int i = 0; i < g->popCount; ++i) {
        EXPECT_EQ(sph::popList[i].expiresAt, 1700u);
        EXPECT_EQ(sph::popList[i].piece->kind, sph::kPopKind);
    }
    EXPECT_EQ(Picture(g)[3], "..*****.");
    EXPECT_EQ(Sounds(), std::vector<std::string>{"p-BubbleDisappear.wav"});
    // Cleared bubbles still hold their cells until the pops expire.
    EXPECT_EQ(g->bubbleCount, 5);
}

TEST_F(LinesTest, ProbeModeAnswersAndChangesNothing) {
    Layout(g, {"........", "........", "........", "..11111."});
    host.ClearCalls();

    EXPECT_TRUE(g->CheckLines(true));

    EXPECT_EQ(g->score, 0);
    EXPECT_EQ(g->freeMoves, 0);
    EXPECT_EQ(g->popCount, 0);
    EXPECT_EQ(Picture(g)[3], "..11111.");
    EXPECT_TRUE(host.Calls().empty());
}

TEST_F(LinesTest, ProbeFindsARunAnywhereOnTheBoard) {
    Layout(g, {"0.......", "0.......", "0.......", "0.......", "0......."});
    EXPECT_TRUE(g->CheckLines(true));
    Layout(g, {"0.......", "0.......", "0.......", "0.......", "1......."});
    EXPECT_FALSE(g->CheckLines(true));
}

TEST_F(LinesTest, EachRunLengthEarnsItsPointsAndFreeMoves) {
    struct Case {
        std::string row;
        int points, freeMoves;
    };
    const Case cases[] = {
        {"22222...", 100, 1}, {"222222..", 150, 2}, {"2222222.", 250, 3}, {"22222222", 500, 4}};
    for (const Case& c : cases) {
        for (int i = 0; i < g->popCount; ++i) delete sph::popList[i].piece;
        g->popCount = 0;
        g->score = 0;
        g->freeMoves = 0;
        Layout(g, {"........", c.row});
        EXPECT_TRUE(g->CheckLines(false)) << c.row;
        // A full row is one run of eight, never several overlapping runs of five.
        EXPECT_EQ(g->score, c.points) << c.row;
        EXPECT_EQ(g->freeMoves, c.freeMoves) << c.row;
        EXPECT_EQ(g->popCount, static_cast<int>(c.row.find('.') == std::string::npos
                                                    ? 8
                                                    : c.row.find('.')));
    }
}

TEST_F(LinesTest, BrokenRunsAreNoLines) {
    Layout(g, {"1112113.", "3311111.", "........"});
    // Row 0: three, another colour, two. Row 1 does hold a run, after a break.
    EXPECT_TRUE(g->CheckLines(false));
    EXPECT_EQ(g->score, 100);
    EXPECT_EQ(Picture(g)[0], "1112113.");
    EXPECT_EQ(Picture(g)[1], "33*****.");
}

TEST_F(LinesTest, RunEndingOnTheLastCellOfItsLineIsRecorded) {
    Layout(g, {"...33333", "........", "........", "........", "........", "........",
               "........", "........"});
    Put(g, 7, 1, 3);
    Put(g, 7, 2, 3);
    Put(g, 7, 3, 3);
    Put(g, 7, 4, 3);
    // Row 0 ends at col 7; column 7 starts at row 0 and runs down five.
    EXPECT_TRUE(g->CheckLines(false));
    EXPECT_EQ(g->score, 200);
    EXPECT_EQ(g->freeMoves, 2);
    EXPECT_EQ(g->popCount, 9);
}

TEST_F(LinesTest, CrossOfFiveAndFiveScoresTwiceButPopsTheSharedCellOnce) {
    Layout(g, {"...3....", "...3....", ".33333..", "...3....", "...3...."});
    host.ClearCalls();

    EXPECT_TRUE(g->CheckLines(false));

    EXPECT_EQ(g->score, 200);
    EXPECT_EQ(g->freeMoves, 2);
    // Columns outer, rows inner.
    EXPECT_EQ(Pops(), (std::vector<std::string>{"1,2", "2,2", "3,0", "3,1", "3,2", "3,3", "3,4",
                                                "4,2", "5,2"}));
    EXPECT_EQ(Sounds(), std::vector<std::string>{"p-BubbleDisappear.wav"});
}

TEST_F(LinesTest, DiagonalsAreFoundFromEveryEdge) {
    struct Case {
        const char* name;
        int col, row, dc, dr;
    };
    const Case cases[] = {
        {"rising from the left column, (0,4) to (4,0)", 0, 4, 1, -1},
        {"rising from the bottom row, (3,7) to (7,3)", 3, 7, 1, -1},
        {"falling from the top row, (3,0) to (7,4)", 3, 0, 1, 1},
        {"falling from the left column, (0,3) to (4,7)", 0, 3, 1, 1},
        {"falling main diagonal, middle five", 2, 2, 1, 1},
    };
    for (const Case& c : cases) {
        Layout(g, {});
        for (int i = 0; i < 5; ++i) Put(g, c.col + c.dc * i, c.row + c.dr * i, 2);
        EXPECT_TRUE(g->CheckLines(true)) << c.name;
    }
    // Four on the short diagonal from (0,3) to (3,0) can never be a line.
    Layout(g, {"...2....", "..2.....", ".2......", "2......."});
    EXPECT_FALSE(g->CheckLines(true));
}

TEST_F(LinesTest, ClearedBubblesNeitherExtendNorStartARun) {
    // A cleared bubble followed by four live ones of its colour.
    Layout(g, {"44444...", "........", "........", "44434444"});
    g->board[sph::CellIndex(0, 0)]->cleared = true;
    g->board[sph::CellIndex(3, 3)]->kind = 4;
    g->board[sph::CellIndex(3, 3)]->cleared = true;  // three live, one cleared, four live
    host.ClearCalls();

    EXPECT_FALSE(g->CheckLines(false));

    EXPECT_EQ(g->score, 0);
    EXPECT_EQ(g->popCount, 0);
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(LinesTest, ApplyModeWithoutALineStillRedrawsTheTiles) {
    Layout(g, {"1111...."});
    g->lastDrawnFreeMoves = 7;  // as if the count changed since the last draw
    host.ClearCalls();

    EXPECT_FALSE(g->CheckLines(false));

    EXPECT_EQ(Count("DrawImage"), 64);
    EXPECT_EQ(Count("CreateSprite"), 0);
    EXPECT_TRUE(Sounds().empty());
}

}  // namespace
