// The game screen as built: what it draws, in which order, its panels and the move-clock
// bar, the number format, and that its destruction gives back every piece once.
#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "tests/game/GameFixture.h"

namespace {

using gametest::GameTest;
using sph::GameScreen;
using testhost::TestHost;

class PanelsTest : public GameTest {
protected:
    // The text drawn with its top at `y` whose characters are `text`, or null.
    const testhost::DrawnText* Drawn(const std::string& text, int y) {
        for (const testhost::DrawnText& t : host.TextsOn(host.MainCanvas())) {
            if (t.text == text && t.y == y) return &t;
        }
        return nullptr;
    }

    // A panel value centred on x = 400 in a bold font of `size` (the renderer sets each run
    // 4 pixels in from the pen).
    void ExpectCentredValue(const std::string& text, int y, int size) {
        const testhost::DrawnText* t = Drawn(text, y);
        ASSERT_NE(t, nullptr) << text << " at y " << y;
        const int width = TestHost::TextWidth(size, host::kStyleBold, static_cast<int>(text.size()));
        EXPECT_EQ(t->x, 400 - width / 2 + 4) << text;
        EXPECT_EQ(t->fontSize, size) << text;
        EXPECT_EQ(t->face, "Arial") << text;
        EXPECT_EQ(t->r + t->g + t->b, 0) << text << " is black";
    }

    int ClockBubbles(GameScreen* g, int seconds, int msLeft) {
        g->secondsPerMove = seconds;
        g->msLeft = msLeft;
        host.ClearCalls();
        g->DrawMoveClock();
        return Count("DrawImage");
    }
};

TEST_F(PanelsTest, NewGameAtDifficultyZeroShowsItsStartingValues) {
    GameScreen* g = NewGame(0, {2, 3, 1});

    ExpectCentredValue("0", 235, 24);
    ExpectCentredValue("1,500", 295, 14);
    ExpectCentredValue("Very Easy", 172, 18);
    EXPECT_NE(Drawn("Score", 215), nullptr);
    EXPECT_NE(Drawn("Next Phase At:", 275), nullptr);
    EXPECT_NE(Drawn("Difficulty:", 155), nullptr);
    EXPECT_EQ(Drawn("Free Moves", 350), nullptr);
    EXPECT_NE(Drawn("Drag the bubbles into place", 10), nullptr);
    EXPECT_NE(Drawn("you get.", 108), nullptr);

    const std::string tile = "Canvas#" + std::to_string(host.IdOf(sph::theApplet->boardTile));
    const std::string mini =
        "Canvas#" + std::to_string(host.IdOf(sph::theApplet->miniBubblePicture));
    int tiles = 0, minis = 0;
    for (const testhost::Call& c : host.CallsTo("DrawImage")) {
        tiles += c.args[0] == tile;
        minis += c.args[0] == mini;
    }
    EXPECT_EQ(tiles, 64);
    EXPECT_EQ(minis, 28);

    EXPECT_EQ(Picture(g)[3], "..1.....");
    EXPECT_EQ(g->bubbleCount, 1);
    EXPECT_EQ(g->secondsPerMove, 28);
    EXPECT_EQ(g->msLeft, 28000);
    ASSERT_EQ(host.Timers().size() >= 1, true);
    EXPECT_EQ(host.PeriodOf(g->clockTimer), 20);
    EXPECT_FALSE(host.IsStarted(g->clockTimer));
    EXPECT_EQ(host.GameActive(), 1);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"p-LevelWin.wav"});
}

TEST_F(PanelsTest, ConstructionDrawsInItsOrder) {
    NewGame(0, {2, 3, 1});
    const std::vector<std::string> texts = host.CallTexts();
    const std::vector<std::string> order = {
        "Sound.Play(0)",
        "Canvas.Clear(51,153,153)",
        "Factory.LoadImage(p-img-logo-big,0)",
        "Canvas.DrawImage(Canvas,14,4,0)",
        "Canvas.DrawText(Drag the bubbles",
        "Canvas.FrameRect(6,131,288,413)",
        "Canvas.DrawText(Score,",
        "Canvas.FillRect(350,350,500,420)",
        "Factory.CreateSprite(",
        "Canvas.DrawText(Next Phase At:,",
        "Canvas.DrawText(Difficulty:,",
        "Factory.CreateTimer(",
        "Canvas.FillRect(290,133,300,420)",
        "ShellFrame.SetGameActive(1)",
    };
    // Ids vary, so compare without them.
    std::vector<std::string> plain;
    for (std::string t : texts) {
        size_t hash;
        while ((hash = t.find('#')) != std::string::npos) {
            size_t end = hash + 1;
            while (end < t.size() && isdigit(static_cast<unsigned char>(t[end]))) ++end;
            t.erase(hash, end - hash);
        }
        plain.push_back(t);
    }
    int last = -1;
    for (const std::string& step : order) {
        auto it = std::find_if(plain.begin() + (last + 1), plain.end(),
                               [&](const std::string& t) { return t.rfind(step, 0) == 0; });
        ASSERT_NE(it, plain.end()) << step << " missing or out of order";
        last = static_cast<int>(it - plain.begin());
    }
}

TEST_F(PanelsTest, NewGameAtDifficultyFourShowsItsStartingValues) {
    GameScreen* g = NewGame(4, {0, 0, 7, 1, 1, 6, 2, 2, 5});
    ExpectCentredValue("3,000", 295, 14);
    ExpectCentredValue("Very Hard", 172, 18);
    EXPECT_EQ(g->secondsPerMove, 12);
    EXPECT_EQ(Picture(g)[0], "7.......");
    EXPECT_EQ(Picture(g)[2], "..5.....");
    EXPECT_EQ(g->bubbleCount, 3);
    // The full 12 seconds give 29 steps, drawn as 28.
    EXPECT_EQ(ClockBubbles(g, 12, 12000), 28);
}

// Text drawn again over itself darkens at its anti-aliased edges, so before any panel text is
// drawn again, every pixel of its box must have been filled in the background colour: by the
// panel's fill or, where the text reaches beyond the panel, by a fill of its own.
TEST_F(PanelsTest, EveryRedrawBlanksTheWholeBoxOfEachTextBeforeDrawingIt) {
    GameScreen* g = NewGame(0, {2, 3, 1});
    g->score = 123456;  // wide enough to reach left of the score panel
    g->nextPhaseScore = 1500;
    g->freeMoves = 3;
    const std::vector<std::function<void()>> panels = {
        [g] { g->DrawPhaseAndDifficultyPanels(); },
        [g] { g->DrawScorePanel(); },
        [g] { g->DrawFreeMovesPanel(); },
    };
    int texts = 0;
    for (const auto& draw : panels) {
        host.ClearCalls();
        host.ClearDrawnTexts(host.MainCanvas());
        draw();
        std::vector<bool> blank(530 * 420, false);
        bool backgroundColour = false;
        size_t drawn = 0;
        for (const testhost::Call& c : host.Calls()) {
            if (c.op == "SetColor") {
                backgroundColour = c.args == std::vector<std::string>{"51", "153", "153"};
            } else if (c.op == "FillRect" && backgroundColour) {
                for (int y = std::stoi(c.args[1]); y < std::stoi(c.args[3]); ++y) {
                    for (int x = std::stoi(c.args[0]); x < std::stoi(c.args[2]); ++x) {
                        blank[y * 530 + x] = true;
                    }
                }
            } else if (c.op == "DrawText") {
                const testhost::DrawnText& t = host.TextsOn(host.MainCanvas()).at(drawn++);
                const int right = t.x + TestHost::TextWidth(t.fontSize, t.fontStyle,
                                                            static_cast<int>(t.text.size()));
                const int bottom = t.y + TestHost::TextHeight(t.fontSize);
                int uncovered = 0;
                for (int y = t.y; y < bottom; ++y) {
                    for (int x = t.x; x < right; ++x) uncovered += !blank[y * 530 + x];
                }
                EXPECT_EQ(uncovered, 0) << "'" << t.text << "' at " << t.x << "," << t.y;
                ++texts;
            }
        }
    }
    EXPECT_EQ(texts, 8);  // three captions and two values, the free moves' caption and count
}

TEST_F(PanelsTest, MoveClockBarCountsTwentyNinthsOfTheMoveTime) {
    GameScreen* g = NewGame(0, {0, 0, 0});
    EXPECT_EQ(ClockBubbles(g, 28, 28000), 28);
    EXPECT_EQ(ClockBubbles(g, 28, 27000), 27);
    EXPECT_EQ(ClockBubbles(g, 28, 999), 1);
    EXPECT_EQ(ClockBubbles(g, 28, 965), 0);
    EXPECT_EQ(ClockBubbles(g, 28, -500), 0);
    // The bar grows upward from y = 404.
    ClockBubbles(g, 28, 2000);
    const auto images = host.CallsTo("DrawImage");
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].args[2], "404");
    EXPECT_EQ(images[1].args[2], "394");
}

TEST_F(PanelsTest, FreeMovesPanelIsBlankAtZeroAndShowsTheCountOtherwise) {
    GameScreen* g = NewGame(0, {0, 0, 0});
    g->freeMoves = 3;
    host.ClearDrawnTexts(host.MainCanvas());
    g->DrawFreeMovesPanel();
    EXPECT_NE(Drawn("Free Moves", 350), nullptr);
    ASSERT_NE(Drawn("3", 370), nullptr);
    EXPECT_EQ(Drawn("3", 370)->fontSize, 24);

    g->freeMoves = 0;
    host.ClearDrawnTexts(host.MainCanvas());
    host.ClearCalls();
    g->DrawFreeMovesPanel();
    EXPECT_TRUE(host.TextsOn(host.MainCanvas()).empty());
    EXPECT_EQ(Count("FillRect"), 1);
}

TEST_F(PanelsTest, TilesAreRedrawnOnEveryChangeOfTheFreeMoveCountOnly) {
    GameScreen* g = NewGame(0, {0, 0, 0});
    auto draws = [&] {
        host.ClearCalls();
        g->RedrawBoardTiles();
        const auto images = host.CallsTo("DrawImage");
        return images.empty() ? std::string("none") : images.front().args[0];
    };
    const std::string plain = "Canvas#" + std::to_string(host.IdOf(sph::theApplet->boardTile));
    const std::string free = "Canvas#" + std::to_string(host.IdOf(sph::theApplet->freeMoveTile));
    EXPECT_EQ(draws(), "none");
    g->freeMoves = 3;
    EXPECT_EQ(draws(), free);
    EXPECT_EQ(Count("DrawImage"), 64);
    g->freeMoves = 2;
    EXPECT_EQ(draws(), free);
    EXPECT_EQ(draws(), "none");
    g->freeMoves = 0;
    EXPECT_EQ(draws(), plain);
}

TEST(FormatThousandsTest, GroupsDigitsByThousands) {
    using sph::FormatThousands;
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(1005), "1,005");
    EXPECT_EQ(FormatThousands(999999), "999,999");
    EXPECT_EQ(FormatThousands(1000000), "1,000,000");
    EXPECT_EQ(FormatThousands(12345678), "12,345,678");
    // A thousand million or more keeps its leading digits together.
    EXPECT_EQ(FormatThousands(1234567890), "1234,567,890");
    EXPECT_EQ(FormatThousands(INT32_MAX), "2147,483,647");
}

TEST(FormatThousandsTest, NegativeValuesAreGroupedAfterTheSign) {
    using sph::FormatThousands;
    EXPECT_EQ(FormatThousands(-5), "-5");
    EXPECT_EQ(FormatThousands(-1500), "-1,500");
    EXPECT_EQ(FormatThousands(-1000000), "-1,000,000");
    EXPECT_EQ(FormatThousands(INT32_MIN), "-2147,483,648");
}

TEST_F(PanelsTest, DestructionFreesEveryBubbleAndPopOnce) {
    GameScreen* g = NewGame(0, {0, 0, 0});
    Layout(g, {"22222...", "1.3.....", "........", ".....4.."});
    ASSERT_TRUE(g->CheckLines(false));
    ASSERT_EQ(g->popCount, 5);
    const int pieces = Occupied(g) + g->popCount;
    host.ClearCalls();
    Stop();  // checks the ledger
    EXPECT_EQ(Count("RemoveSprite"), pieces);
}

}  // namespace
