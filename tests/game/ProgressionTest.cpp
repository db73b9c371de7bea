// Phases and level-ups as the score passes its thresholds.
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "tests/game/GameFixture.h"

namespace {

using gametest::GameTest;
using sph::GameScreen;

struct Step {
    int threshold;  // the score that passes it
    int level;
    int seconds;    // clock afterwards
};

class ProgressionTest : public GameTest {
protected:
    // Raises the score to each next threshold in turn and records what every pass did.
    std::vector<Step> Run(GameScreen* g, int thresholds) {
        std::vector<Step> steps;
        for (int i = 0; i < thresholds; ++i) {
            const int at = g->nextPhaseScore;
            g->score = at;
            EXPECT_TRUE(g->UpdateScore()) << "threshold " << at;
            steps.push_back({at, g->level, g->secondsPerMove});
        }
        return steps;
    }
};

bool operator==(const Step& a, const Step& b) {
    return a.threshold == b.threshold && a.level == b.level && a.seconds == b.seconds;
}

void PrintTo(const Step& s, std::ostream* os) {
    *os << "{" << s.threshold << ", level " << s.level << ", " << s.seconds << " s}";
}

TEST_F(ProgressionTest, WholeRunFromDifficultyZero) {
    GameScreen* g = NewGame(0, {0, 0, 0});
    host.ClearCalls();
    const std::vector<Step> expected = {
        {1500, 0, 26},  {3000, 0, 24},  {4500, 0, 22},  {6000, 1, 26},
        {7500, 1, 24},  {9000, 1, 22},  {10500, 1, 20}, {12000, 2, 24},
        {14000, 2, 22}, {16000, 2, 20}, {18000, 2, 18}, {20000, 3, 20},
        {22500, 3, 16}, {25000, 3, 12}, {27500, 3, 8},  {30000, 4, 12},
        {33000, 4, 8},  {36000, 4, 4},  {39000, 4, 4},  {42000, 4, 4},
    };
    EXPECT_EQ(Run(g, static_cast<int>(expected.size())), expected);
    EXPECT_EQ(g->difficulty, 4);
    EXPECT_EQ(g->phaseInLevel, 4);
    EXPECT_EQ(g->nextPhaseScore, 45000);

    const std::vector<std::string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0],
              "Congratulations|You have completed all segments of your current\ndifficulty "
              "level of 'Very Easy.'\n\nYou are now playing at 'Easy.'|1");
    EXPECT_NE(boxes[3].find("'Hard.'\n\nYou are now playing at 'Very Hard.'"), std::string::npos);
    // Every pass sounds the fanfare.
    EXPECT_EQ(Sounds(), std::vector<std::string>(expected.size(), "p-LevelWin.wav"));
    // The panels follow: the last next-phase value and the level's name.
    const auto texts = TextsDrawn();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "45,000"), texts.end());
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Very Hard"), 5);
}

TEST_F(ProgressionTest, StartAtDifficultyThreeLevelsUpOnceAtTenThousand) {
    GameScreen* g = NewGame(3, {0, 0, 0, 1, 1, 1});
    host.ClearCalls();
    const std::vector<Step> expected = {
        {2500, 3, 16}, {5000, 3, 12}, {7500, 3, 8}, {10000, 4, 12}, {13000, 4, 8}};
    EXPECT_EQ(Run(g, 5), expected);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find("level of 'Hard.'\n\nYou are now playing at 'Very Hard.'"),
              std::string::npos);
}

TEST_F(ProgressionTest, StartAtDifficultyFourNeverLevelsUp) {
    GameScreen* g = NewGame(4, {0, 0, 0, 1, 1, 1, 2, 2, 2});
    host.ClearCalls();
    const std::vector<Step> steps = Run(g, 4);
    EXPECT_EQ(steps[0].threshold, 3000);
    EXPECT_EQ(steps[1].threshold, 6000);
    EXPECT_EQ(steps[2].threshold, 9000);
    EXPECT_EQ(steps[3].seconds, 4);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ProgressionTest, OneCallPassesOneThresholdHoweverFarTheScoreJumped) {
    GameScreen* g = NewGame(0, {0, 0, 0});
    g->score = 1499;
    EXPECT_FALSE(g->UpdateScore());
    g->score = 3100;  // past 1500 and 3000
    EXPECT_TRUE(g->UpdateScore());
    EXPECT_EQ(g->nextPhaseScore, 3000);
    EXPECT_EQ(g->phaseInLevel, 1);
    g->score = 3150;
    EXPECT_TRUE(g->UpdateScore());
    EXPECT_EQ(g->nextPhaseScore, 4500);
    EXPECT_FALSE(g->UpdateScore());
}

}  // namespace
