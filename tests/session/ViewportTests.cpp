// The window's fit: the first window's size on common screens, smooth and whole-number scaling
// with the stage centred, pointer positions that map back exactly at any scale (a bubble
// dragged at 1.5x and 2.25x lands where it was dropped), and the scaled picture the same
// whether drawn in parts or whole.
#include <gtest/gtest.h>

#include <random>

#include "shell/session/Controls.h"
#include "shell/session/StageScaler.h"
#include "shell/session/Viewport.h"
#include "tests/session/LiveGame.h"

namespace {

using shell::Rect;
using shell::Viewport;

TEST(FirstWindow, TakesTheLargestHalfStepThatFitsTheUsableScreen) {
    // Usable areas as desktops report them, a panel taken off.
    EXPECT_EQ(Viewport::FirstWindowHalfSteps(530, 420, 1366, 768 - 32, false), 3);   // 1.5x
    EXPECT_EQ(Viewport::FirstWindowHalfSteps(530, 420, 1920, 1080 - 32, false), 4);  // 2x
    EXPECT_EQ(Viewport::FirstWindowHalfSteps(530, 420, 2560, 1440 - 32, false), 6);  // 3x
    EXPECT_EQ(Viewport::FirstWindowHalfSteps(530, 420, 1366, 768 - 32, true), 2);    // whole: 1x
    EXPECT_EQ(Viewport::FirstWindowHalfSteps(530, 420, 1280, 800 - 32, false), 3);
    EXPECT_EQ(Viewport::FirstWindowHalfSteps(530, 420, 800, 480, false), 2);  // never below 1x
}

TEST(Fitting, AnySizeScalesSmoothlyCentredAndPixelPerfectTakesWholeFactors) {
    Viewport v(530, 420);
    v.Fit(795, 630);
    EXPECT_EQ(v.DrawnWidth(), 795);
    EXPECT_EQ(v.DrawnHeight(), 630);
    EXPECT_EQ(v.WholeScale(), 0);
    v.Fit(1000, 1000);  // too tall: the width decides, margins above and below
    EXPECT_EQ(v.DrawnWidth(), 1000);
    EXPECT_EQ(v.DrawnHeight(), 792);
    EXPECT_EQ(v.OffsetX(), 0);
    EXPECT_EQ(v.OffsetY(), 104);
    v.SetPixelPerfect(true);
    EXPECT_EQ(v.DrawnWidth(), 530);
    EXPECT_EQ(v.WholeScale(), 1);
    EXPECT_EQ(v.OffsetX(), 235);
    v.Fit(1600, 900);
    EXPECT_EQ(v.WholeScale(), 2);
    EXPECT_EQ(v.OffsetY(), 30);
    v.SetPixelPerfect(false);
    EXPECT_EQ(v.DrawnHeight(), 900);
    v.Fit(300, 200);  // smaller than the stage: shown at 1x from the top-left
    EXPECT_EQ(v.WholeScale(), 1);
    EXPECT_EQ(v.OffsetX(), 0);
}

TEST(Fitting, EveryStagePixelMapsToDrawablePixelsThatMapBack) {
    for (auto [w, h] : {std::pair{795, 630}, {1193, 945}, {1060, 840}, {600, 700}, {2000, 999}}) {
        for (bool whole : {false, true}) {
            Viewport v(530, 420);
            v.SetPixelPerfect(whole);
            v.Fit(w, h);
            SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + (whole ? " whole" : ""));
            int covered = 0;
            for (int x = 0; x < 530; ++x) {
                const Rect d = v.ToDrawable({x, 0, 1, 1});
                ASSERT_GT(d.w, 0) << x;
                for (int dx = d.x; dx < d.Right(); ++dx) ASSERT_EQ(v.ToStage(dx, d.y).first, x);
                covered += d.w;
            }
            EXPECT_EQ(covered, v.DrawnWidth());  // no gaps, no overlaps
            for (int y = 0; y < 420; ++y) {
                const Rect d = v.ToDrawable({0, y, 1, 1});
                for (int dy = d.y; dy < d.Bottom(); ++dy) ASSERT_EQ(v.ToStage(d.x, dy).second, y);
            }
            // Outside the stage, outside.
            EXPECT_LT(v.ToStage(v.OffsetX() - 1, v.OffsetY() - 1).first, 0);
            EXPECT_GE(v.ToStage(v.OffsetX() + v.DrawnWidth(), 0).first, 530);
        }
    }
}

TEST(Scaling, APartDrawnAloneMatchesTheWholeDrawnAtOnce) {
    std::mt19937 random(7);
    shell::Pixmap stage(530, 420);
    for (int y = 0; y < 420; ++y) {
        for (int x = 0; x < 530; ++x) stage.Row(y)[x] = 0xFF000000u | (random() & 0xFFFFFFu);
    }
    for (auto [w, h] : {std::pair{795, 630}, {1193, 945}, {1060, 840}}) {
        Viewport v(530, 420);
        v.Fit(w, h);
        shell::StageScaler scaler;
        std::vector<uint32_t> whole(static_cast<size_t>(w) * h, 0);
        scaler.Scale(stage, v, {0, 0, w, h}, whole.data(), w);
        if (v.WholeScale() == 2) {
            EXPECT_EQ(whole[static_cast<size_t>(201) * w + 301], stage.At(150, 100));
        }
        // A changed area is redrawn alone, with what filtering reaches around it.
        const Rect changed{100, 50, 7, 3};
        const Rect reach = shell::StageScaler::Reach(v, changed);
        std::vector<uint32_t> part(static_cast<size_t>(reach.w) * reach.h, 0);
        scaler.Scale(stage, v, reach, part.data(), reach.w);
        for (int y = 0; y < reach.h; ++y) {
            for (int x = 0; x < reach.w; ++x) {
                ASSERT_EQ(part[static_cast<size_t>(y) * reach.w + x],
                          whole[static_cast<size_t>(reach.y + y) * w + reach.x + x]);
            }
        }
        EXPECT_TRUE(reach.Contains(v.ToDrawable(changed).x, v.ToDrawable(changed).y));
    }
}

// ---- Dragging through the input layer at a scale ---------------------------------------------

class ScaledDrag : public shell_test::LiveGame {};

TEST_F(ScaledDrag, ABubbleDraggedAtOneAndAHalfAndTwoAndAQuarterLandsOnTheCellDroppedOn) {
    Start();
    Click(18, 401);  // still bubbles, so the board's pixels hold still
    StartMedium();
    ASSERT_TRUE(host->Frame().GameActive());
    for (auto [w, h] : {std::pair{795, 630}, {1193, 945}}) {
        shell::Viewport viewport(530, 420);
        viewport.Fit(w, h);
        shell::Controls controls(*session, *host, *prefs, viewport, nullptr, [] { return 0; });
        shell::HostSprite* bubble = Bubbles().front();
        const int fromX = bubble->X() + 16, fromY = bubble->Y() + 16;
        int col = -1, row = -1;
        for (int cell = 0; cell < 64 && col < 0; ++cell) {
            const int x = host::look::BubbleLeft(cell % 8) + 16, y = host::look::BubbleTop(cell / 8) + 16;
            if (host->MainStage().SpriteAt(x, y) == nullptr) {
                col = cell % 8;
                row = cell / 8;
            }
        }
        ASSERT_GE(col, 0);
        // Drawable pixels at the stage points, as a person's pointer would be.
        auto at = [&](int sx, int sy) {
            const shell::Rect d = viewport.ToDrawable({sx, sy, 1, 1});
            return std::pair{d.x + d.w / 2, d.y + d.h / 2};
        };
        const auto [dx0, dy0] = at(fromX, fromY);
        const auto [dx1, dy1] =
            at(host::look::BubbleLeft(col) + 16, host::look::BubbleTop(row) + 16);
        using T = shell::ShellEvent::Type;
        controls.Handle(shell::ShellEvent::Pointer(T::PointerDown, dx0, dy0));
        controls.Handle(shell::ShellEvent::Pointer(T::PointerMove, (dx0 + dx1) / 2, (dy0 + dy1) / 2, true));
        controls.Handle(shell::ShellEvent::Pointer(T::PointerMove, dx1, dy1, true));
        controls.Handle(shell::ShellEvent::Pointer(T::PointerUp, dx1, dy1));
        EXPECT_EQ(bubble->X(), host::look::BubbleLeft(col)) << w;
        EXPECT_EQ(bubble->Y(), host::look::BubbleTop(row)) << w;
        Advance(2000);
    }
}

}  // namespace
