// The game screen's panels in real fonts: drawing a panel again with the same values leaves
// exactly the pixels one drawing left, whatever the fonts' anti-aliasing does at the edges.
#include <climits>
#include <functional>

#include "gamescreen/GameScreen.h"
#include "tests/pixels/RealHostFixture.h"

namespace pixels {
namespace {

class PanelPixels : public RealHostFixture {
protected:
    sph::GameScreen* NewGame(int difficulty) {
        Start();
        auto* game = new sph::GameScreen(App(), difficulty);
        App()->SwitchScreen(App()->currentScreen, game);
        return game;
    }

    // Draws once, then nine times more, and counts the pixels of the whole background that
    // the nine changed.
    int ChangedByRedrawing(const std::function<void()>& draw) {
        draw();
        const shell::Pixmap once = Background();
        for (int i = 0; i < 9; ++i) draw();
        return Differences(Background(), once, 0, 0, 530, 420);
    }
};

TEST_F(PanelPixels, EveryPanelDrawnTenTimesLooksAsDrawnOnce) {
    sph::GameScreen* g = NewGame(0);
    EXPECT_EQ(ChangedByRedrawing([g] { g->DrawPhaseAndDifficultyPanels(); }), 0);
    EXPECT_EQ(ChangedByRedrawing([g] { g->DrawScorePanel(); }), 0);
    g->freeMoves = 3;
    EXPECT_EQ(ChangedByRedrawing([g] { g->DrawFreeMovesPanel(); }), 0);
    EXPECT_EQ(ChangedByRedrawing([g] { g->DrawMoveClock(); }), 0);
}

// Wide values reach past the panel's own fill: the score's digits from 10,000 on.
TEST_F(PanelPixels, WideValuesDrawnTenTimesLookAsDrawnOnce) {
    sph::GameScreen* g = NewGame(4);
    for (int32_t score : {10000, 999999, 1000000, INT32_MAX}) {
        g->score = score;
        g->nextPhaseScore = score;
        EXPECT_EQ(ChangedByRedrawing([g] { g->DrawScorePanel(); }), 0) << score;
        EXPECT_EQ(ChangedByRedrawing([g] { g->DrawPhaseAndDifficultyPanels(); }), 0) << score;
    }
}

}  // namespace
}  // namespace pixels
