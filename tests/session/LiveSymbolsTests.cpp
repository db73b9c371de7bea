// Symbols on the bubbles switch at once, mid-game and mid-animation: only the bubbles' pixels
// change, and the game's objects, frames and timing stay as they were.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/session/LiveGame.h"

namespace {

using shell::HostSprite;

struct BubbleState {
    HostSprite* sprite;
    int frame;
    int64_t nextChange;
};

class LiveSymbols : public shell_test::LiveGame {};

TEST_F(LiveSymbols, SwitchingDuringAnAnimationRedrawsOnlyTheBubblesAndSwitchingBackRestoresThem) {
    Start();
    StartMedium();
    ASSERT_TRUE(host->Frame().GameActive());
    Advance(230);  // the bubbles are part-way through their animation
    std::vector<BubbleState> before;
    for (HostSprite* s : Bubbles()) {
        before.push_back({s, s->Animation()->CurrentFrame(), s->Animation()->NextChange()});
    }
    ASSERT_FALSE(before.empty());
    ASSERT_TRUE(std::any_of(before.begin(), before.end(), [](auto& b) { return b.frame > 0; }));
    session->Compose(nullptr);
    const shell::Pixmap plain = session->Frame();
    const size_t objects = host->GetLedger().Size();

    prefs->SetSymbols(true);
    shell::DirtyRegion changed;
    session->Compose(&changed);
    const shell::Pixmap symbols = session->Frame();
    EXPECT_EQ(host->GetLedger().Size(), objects);  // nothing new was made for the applet
    for (const BubbleState& b : before) {
        EXPECT_EQ(b.sprite->Animation()->CurrentFrame(), b.frame);
        EXPECT_EQ(b.sprite->Animation()->NextChange(), b.nextChange);
        // The sprite shows the symbol picture's frame of the same index.
        const std::string asked = b.sprite->Animation()->Frames()->AskedName();
        int colour = -1;
        ASSERT_EQ(std::sscanf(asked.c_str(), "p-img-Bubble%d.gif", &colour), 1) << asked;
        char symbolName[64];
        std::snprintf(symbolName, sizeof symbolName, host::look::kSymbolBubblePictureFormat,
                      colour);
        const auto symbol = host->Images().Load(symbolName);
        const shell::Pixmap& shown = b.sprite->Picture()->Pixels();
        const shell::Pixmap& expected = *symbol->frames.at(static_cast<size_t>(b.frame));
        ASSERT_EQ(shown.Width(), expected.Width());
        for (int y = 0; y < shown.Height(); ++y) {
            for (int x = 0; x < shown.Width(); ++x) ASSERT_EQ(shown.At(x, y), expected.At(x, y));
        }
    }
    // Only pixels under bubbles changed, and some did.
    int differing = 0;
    for (int y = 0; y < plain.Height(); ++y) {
        for (int x = 0; x < plain.Width(); ++x) {
            if (plain.At(x, y) == symbols.At(x, y)) continue;
            ++differing;
            const bool underABubble = std::any_of(before.begin(), before.end(), [&](auto& b) {
                return b.sprite->Bounds().Contains(x, y);
            });
            ASSERT_TRUE(underABubble) << x << "," << y;
        }
    }
    EXPECT_GT(differing, 0);

    prefs->SetSymbols(false);
    session->Compose(nullptr);
    for (int y = 0; y < plain.Height(); ++y) {
        for (int x = 0; x < plain.Width(); ++x) ASSERT_EQ(session->Frame().At(x, y), plain.At(x, y));
    }
}

}  // namespace
