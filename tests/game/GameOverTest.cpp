// The end of a game: placing in the top five, the name prompt and its refusals, the dialogs
// and sounds, playing again, and that a game ends only once.
#include <functional>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "screens/TitleScreen.h"
#include "tests/game/GameFixture.h"

namespace {

using gametest::GameTest;
using sph::GameScreen;

// Stands between the applet and the test host's frame, to act while a dialog is open or to
// answer a prompt with more than its limit, as a careless shell might.
class FrameSpy final : public host::ShellFrame {
public:
    explicit FrameSpy(host::ShellFrame* frame) : real(frame) {}
    void Release() override {}
    int32_t SetTitle(const char* name) override { return real->SetTitle(name); }
    void SetGameActive(int32_t active) override { real->SetGameActive(active); }
    void Configure(int32_t value) override { real->Configure(value); }
    int32_t MessageBox(const char* title, const char* text, int32_t buttons) override {
        if (onMessageBox) onMessageBox(title);
        return real->MessageBox(title, text, buttons);
    }
    int32_t InputBox(const char* title, const char* prompt, const char* initial, char* out,
                     int32_t limit, int32_t flags) override {
        const int32_t result = real->InputBox(title, prompt, initial, out, limit, flags);
        if (!typed.empty()) {
            // Ignores the limit (but not the 256 bytes every applet buffer has).
            std::string text = typed.front().substr(0, 255);
            typed.erase(typed.begin());
            std::copy(text.begin(), text.end(), out);
            out[text.size()] = '\0';
        }
        return result;
    }

    host::ShellFrame* real;
    std::vector<std::string> typed;
    std::function<void(const std::string&)> onMessageBox;
};

class GameOverTest : public GameTest {
protected:
    void TearDown() override {
        if (spy_ != nullptr) host.Site()->frame = spy_->real;
        GameTest::TearDown();
    }

    FrameSpy& Spy() {
        spy_ = std::make_unique<FrameSpy>(host.Site()->frame);
        host.Site()->frame = spy_.get();
        return *spy_;
    }

    // The table as "name score" rows, rank 1 first.
    std::vector<std::string> Table() {
        std::vector<std::string> rows;
        for (int rank = 1; rank <= 5; ++rank) {
            const std::string n = std::to_string(rank);
            rows.push_back(host.Settings()["Score" + n + "Name"] + " " +
                           host.Settings()["Score" + n + "Score"]);
        }
        return rows;
    }

    // Ends a game with this score; the player types `name` and answers `again`.
    void EndWith(int32_t score, const std::string& name, int32_t again) {
        GameScreen* g = Game();
        ASSERT_NE(g, nullptr);
        g->score = score;
        if (!name.empty()) host.QueueInputBoxText(name);
        host.QueueMessageBoxAnswer(again);
        host.ClearCalls();
        g->EndGame();
    }

    std::vector<std::string> Prompts() {
        std::vector<std::string> proposals;
        for (const testhost::Call& c : host.CallsTo("InputBox")) {
            EXPECT_EQ(c.args[0], "You got a high score!");
            EXPECT_EQ(c.args[1],
                      "Congratulations - you got a high score!\nEnter your name for the records");
            EXPECT_EQ(c.args[4], "20");
            proposals.push_back(c.args[2]);
        }
        return proposals;
    }

    const std::vector<std::string> kDefaultTable = {"Quorvex 16000", "Quorvex 8000",
                                                    "Quorvex 4000", "Quorvex 2000",
                                                    "Quorvex 1000"};

private:
    std::unique_ptr<FrameSpy> spy_;
};

TEST_F(GameOverTest, ScoreBelowTheTableAsksNoNameAndOffersTheTitle) {
    NewGame(0, {0, 0, 0});
    ASSERT_EQ(Table(), kDefaultTable);  // seeded by the title screen
    EndWith(999, "", host::kAnswerNo);

    EXPECT_TRUE(Prompts().empty());
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Game Over|Sorry, no more moves left.\nTry Again?|2"});
    EXPECT_EQ(Sounds().front(), "p-GameOver.wav");
    EXPECT_EQ(Table(), kDefaultTable);
    EXPECT_EQ(Count("WriteString"), 0);
    EXPECT_NE(dynamic_cast<sph::TitleScreen*>(sph::theApplet->currentScreen), nullptr);
    EXPECT_EQ(host.GameActive(), 0);
}

TEST_F(GameOverTest, ScoresArePlacedAtTheirRankAndLowerRowsMoveDown) {
    struct Case {
        int32_t score;
        std::vector<std::string> table;
    };
    const Case cases[] = {
        {1000, {"Quorvex 16000", "Quorvex 8000", "Quorvex 4000", "Quorvex 2000", "Eve 1000"}},
        {4000, {"Quorvex 16000", "Quorvex 8000", "Eve 4000", "Quorvex 4000", "Quorvex 2000"}},
        {16000, {"Eve 16000", "Quorvex 16000", "Quorvex 8000", "Quorvex 4000", "Quorvex 2000"}},
        {25000, {"Eve 25000", "Quorvex 16000", "Quorvex 8000", "Quorvex 4000", "Quorvex 2000"}},
    };
    NewGame(0, {0, 0, 0});
    for (const Case& c : cases) {
        for (int rank = 1; rank <= 5; ++rank) {
            const std::string n = std::to_string(rank);
            host.Settings()["Score" + n + "Name"] = "Quorvex";
            host.Settings()["Score" + n + "Score"] = std::to_string(16000 >> (rank - 1));
        }
        EndWith(c.score, "Eve", host::kAnswerYes);
        EXPECT_EQ(Table(), c.table) << c.score;
        EXPECT_EQ(Sounds().front(), "p-HighScore.wav") << c.score;
        EXPECT_EQ(Boxes(), std::vector<std::string>{"Game Over|Play Again?|2"}) << c.score;
    }
}

TEST_F(GameOverTest, PromptProposesNameFirstThenTheLastNameEntered) {
    NewGame(0, {0, 0, 0});
    ASSERT_EQ(host.Settings().count("LastNameEntered"), 0u);
    EndWith(5000, "Ada", host::kAnswerYes);
    EXPECT_EQ(Prompts(), std::vector<std::string>{"Name"});
    EXPECT_EQ(host.Settings()["LastNameEntered"], "Ada");

    EndWith(5000, "Grace", host::kAnswerYes);
    EXPECT_EQ(Prompts(), std::vector<std::string>{"Ada"});
    EXPECT_EQ(Table()[2], "Grace 5000");
    EXPECT_EQ(Table()[3], "Ada 5000");
}

TEST_F(GameOverTest, NameLongerThanTwentyIsRefusedAndAskedForAgain) {
    NewGame(0, {0, 0, 0});
    host.Settings()["LastNameEntered"] = "Ada";
    FrameSpy& spy = Spy();
    const std::string twentyOne(21, 'x');
    const std::string twenty = "Twenty letters long!";
    ASSERT_EQ(twenty.size(), 20u);
    spy.typed = {twentyOne, std::string(200, 'y'), twenty};

    EndWith(5000, "", host::kAnswerYes);

    EXPECT_EQ(Prompts(), (std::vector<std::string>{"Ada", "Ada", "Ada"}));
    const std::string refused =
        "Name too long|We're sorry, but names must be 20 letters or smaller.|257";
    EXPECT_EQ(Boxes(), (std::vector<std::string>{refused, refused, "Game Over|Play Again?|2"}));
    EXPECT_EQ(Table()[2], twenty + " 5000");
    EXPECT_EQ(host.Settings()["LastNameEntered"], twenty);
}

TEST_F(GameOverTest, PlayingAgainStartsAtTheStartingDifficultyAfterLevelUps) {
    GameScreen* g = NewGame(1, {0, 0, 0, 2});
    for (int i = 0; i < 8; ++i) {
        g->score = g->nextPhaseScore;
        g->UpdateScore();
    }
    ASSERT_EQ(g->level, 3);
    host.ClearDrawnTexts(host.MainCanvas());
    host.QueueRandom({4, 4, 1, 3});
    EndWith(g->score, "Ada", host::kAnswerYes);

    GameScreen* next = Game();
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, g);
    EXPECT_EQ(next->difficulty, 1);
    EXPECT_EQ(next->startDifficulty, 1);
    EXPECT_EQ(next->level, 1);
    EXPECT_EQ(next->secondsPerMove, 26);
    EXPECT_EQ(next->score, 0);
    bool easyShown = false;
    for (const auto& t : host.TextsOn(host.MainCanvas())) easyShown |= t.text == "Easy";
    EXPECT_TRUE(easyShown);
    EXPECT_EQ(host.GameActive(), 1);
}

TEST_F(GameOverTest, TicksAndDropsDuringTheDialogsDoNotEndTheGameAgain) {
    GameScreen* g = NewGame(0, {0, 0, 0});
    std::vector<std::string> rows;
    for (int r = 0; r < 8; ++r) {
        std::string row;
        for (int c = 0; c < 8; ++c) row += static_cast<char>('0' + (c + 2 * r) % 4);
        rows.push_back(row);
    }
    rows[7][7] = '.';
    Layout(g, rows);
    Tick(g, 0);  // the library's first tick bases the clock at 0

    FrameSpy& spy = Spy();
    int opened = 0;
    spy.onMessageBox = [&](const std::string& title) {
        if (title != "Game Over" || opened++ > 0) return;
        // While the box is open: another timeout, and a bubble dropped on the board.
        Tick(g, 60000);
        host.SendPointer(g->board[0]->sprite, host::kEventPointerPressed, 5, 5);
        host.SendPointer(g->board[0]->sprite, host::kEventPointerReleased, 5, 5);
    };
    host.ClearCalls();
    host.QueueRandom({7, 7, 1});
    host.QueueMessageBoxAnswer(host::kAnswerNo);
    Tick(g, 28001);  // the wave fills (7,7): game over

    EXPECT_EQ(opened, 1);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Game Over|Sorry, no more moves left.\nTry Again?|2"});
    EXPECT_EQ(Sounds().front(), "p-GameOver.wav");
    EXPECT_EQ(host.RandomCallCount(), 3u + 3u);
    EXPECT_NE(dynamic_cast<sph::TitleScreen*>(sph::theApplet->currentScreen), nullptr);
}

}  // namespace
