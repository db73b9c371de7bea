// Spawning: the order of random draws, the wrapping walk, the probe that avoids handing the
// player a line, and the fallback when every empty cell would.
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

class SpawnTest : public GameTest {
protected:
    void SetUp() override { g = NewGame(0, {0, 0, 0}); }

    // Spawns with exactly these random values and checks that no more were drawn.
    bool SpawnWith(std::vector<uint32_t> values, bool wave = false) {
        const size_t before = host.RandomCallCount();
        const size_t n = values.size();
        host.QueueRandom(std::move(values));
        const bool placed = wave ? g->SpawnWave() : g->SpawnBubble();
        EXPECT_EQ(host.RandomCallCount() - before, n) << "random draws";
        return placed;
    }

    GameScreen* g = nullptr;
};

TEST_F(SpawnTest, OpeningWaveOfANewGamePlacesOneBubbleOnTheStartCell) {
    GameScreen* fresh = NewGame(0, {0xFFFFFFF5u, 2, 0xFFFFFFFFu});
    // Start cell by the low three bits, colour by the value modulo the colour count.
    EXPECT_EQ(Picture(fresh)[2], ".....3..");
    EXPECT_EQ(fresh->bubbleCount, 1);
}

TEST_F(SpawnTest, ColoursFollowTheDifficulty) {
    Layout(g, {});
    ASSERT_TRUE(SpawnWith({0, 0, 7}));
    EXPECT_EQ(g->board[0]->kind, 3);  // four colours at difficulty 0

    g->difficulty = 4;
    ASSERT_TRUE(SpawnWith({1, 0, 7}));
    EXPECT_EQ(g->board[1]->kind, 7);  // eight at difficulty 4
}

TEST_F(SpawnTest, TrialThatWouldCompleteALineIsWithdrawnAndTheWalkMovesOn) {
    Layout(g, {"1111...."});
    // Start on (4,0): colour 1 there would complete the row; (5,0) in colour 2 is safe.
    ASSERT_TRUE(SpawnWith({4, 0, 1, 2}));
    EXPECT_EQ(Picture(g)[0], "1111.2..");
    EXPECT_EQ(g->bubbleCount, 5);
    EXPECT_EQ(Occupied(g), 5);
}

TEST_F(SpawnTest, WalkWrapsFromTheBottomRightToTheTopLeft) {
    std::vector<std::string> rows = FullBoardWithoutLines();
    rows[0][2] = '.';
    rows[7][6] = '.';
    Layout(g, rows);
    // From (7,7) the walk goes on at (0,0); (2,0) is the first empty cell it meets.
    ASSERT_TRUE(SpawnWith({7, 7, 1}));
    EXPECT_EQ(Picture(g)[0][2], '1');
    EXPECT_EQ(Picture(g)[7][6], '.');
}

TEST_F(SpawnTest, SingleEmptyCellThatWouldCompleteALineGetsAFreshColourAnyway) {
    std::vector<std::string> rows = FullBoardWithoutLines();
    rows[0] = "1111.123";
    Layout(g, rows);
    // The trial colour 1 is withdrawn; after the whole walk the cell gets a fresh draw.
    ASSERT_TRUE(SpawnWith({2, 3, 1, 5}));
    EXPECT_EQ(Picture(g)[0], "11111123");
    EXPECT_EQ(g->bubbleCount, 64);
}

TEST_F(SpawnTest, WithALineAlreadyOnTheBoardEveryBubbleGoesToTheLastEmptyCellVisited) {
    std::vector<std::string> rows = FullBoardWithoutLines();
    rows[7] = "22222000";
    rows[0][0] = '.';
    rows[0][1] = '.';
    rows[5][5] = '.';
    Layout(g, rows);
    // From (3,3): (5,5), then wrapping (0,0) and (1,0); the last of them takes the bubble.
    ASSERT_TRUE(SpawnWith({3, 3, 0, 0, 0, 3}));
    EXPECT_EQ(Picture(g)[0].substr(0, 2), ".3");
    EXPECT_EQ(Picture(g)[5][5], '.');
}

TEST_F(SpawnTest, FullBoardPlacesNothingAfterTheTwoStartDraws) {
    Layout(g, FullBoardWithoutLines());
    EXPECT_FALSE(SpawnWith({3, 4}));
    EXPECT_FALSE(SpawnWith({3, 4}, true));
    EXPECT_EQ(g->bubbleCount, 64);
}

TEST_F(SpawnTest, WaveThatFillsTheBoardPartWayStillReportsAPlacement) {
    std::vector<std::string> rows = FullBoardWithoutLines();
    rows[4][4] = '.';
    Layout(g, rows);
    g->level = 2;
    EXPECT_TRUE(SpawnWith({0, 0, 0, 1, 1}, true));
    EXPECT_EQ(g->bubbleCount, 64);
}

TEST_F(SpawnTest, EachLevelDrawsInItsOwnOrder) {
    struct Case {
        int level;
        std::vector<uint32_t> draws;
        std::vector<std::string> expected;  // rows 0..3
    };
    // Cells are (col,row) pairs in the draws; a coin comes where its level draws it, so a
    // coin out of place would shift every later bubble.
    const Case cases[] = {
        {0, {1, 1, 0}, {"........", ".0......", "........", "........"}},
        {1, {1, 1, 0, 2}, {"........", ".0......", "........", "........"}},
        {1, {1, 1, 0, 3, 2, 2, 1}, {"........", ".0......", "..1.....", "........"}},
        {2, {1, 1, 0, 2, 2, 1}, {"........", ".0......", "..1.....", "........"}},
        {3, {1, 1, 0, 2, 2, 1, 4}, {"........", ".0......", "..1.....", "........"}},
        {3, {1, 1, 0, 2, 2, 1, 5, 3, 3, 2}, {"........", ".0......", "..1.....", "...2...."}},
        {4, {1, 1, 0, 2, 2, 1, 3, 3, 2}, {"........", ".0......", "..1.....", "...2...."}},
    };
    for (const Case& c : cases) {
        Layout(g, {});
        g->level = c.level;
        EXPECT_TRUE(SpawnWith(c.draws, true)) << "level " << c.level;
        const std::vector<std::string> picture = Picture(g);
        EXPECT_EQ(std::vector<std::string>(picture.begin(), picture.begin() + 4), c.expected)
            << "level " << c.level << " with " << c.draws.size() << " draws";
    }
}

}  // namespace
