// Canvases: fills and frames to the pixel, alpha blending, text placed by its top-left, fonts.
#include <gtest/gtest.h>

#include "shell/core/HostCanvas.h"
#include "tests/core/HostHarness.h"

namespace {

using shell::Argb;
using shell::HostCanvas;

class Rendering : public ::testing::Test {
protected:
    HostCanvas* NewCanvas(int w, int h) {
        return static_cast<HostCanvas*>(host->Factory().CreateCanvas(w, h, 0));
    }
    shell_test::HostHarness host;
};

TEST(Blending, OverOpaqueAndTranslucentPixelsIsExact) {
    // Half-covered red over opaque blue.
    EXPECT_EQ(shell::BlendPixel(Argb(0, 0, 255), Argb(255, 0, 0, 128)), Argb(128, 0, 127));
    // Fully opaque and fully transparent sources.
    EXPECT_EQ(shell::BlendPixel(Argb(1, 2, 3), Argb(9, 9, 9)), Argb(9, 9, 9));
    EXPECT_EQ(shell::BlendPixel(Argb(1, 2, 3), Argb(9, 9, 9, 0)), Argb(1, 2, 3));
    // Over a transparent pixel the colour is kept, not darkened.
    EXPECT_EQ(shell::BlendPixel(0, Argb(200, 100, 50, 64)), Argb(200, 100, 50, 64));
}

TEST_F(Rendering, FillRectCoversHalfOpenRectangleOnly) {
    HostCanvas* c = NewCanvas(10, 10);
    c->Clear(0, 0, 0);
    c->SetColor(255, 0, 0);
    c->FillRect(2, 3, 5, 7);
    const shell::Pixmap& p = c->Pixels();
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 3 && y < 7;
            EXPECT_EQ(p.At(x, y), inside ? Argb(255, 0, 0) : Argb(0, 0, 0)) << x << "," << y;
        }
    }
    c->Release();
}

TEST_F(Rendering, FrameRectDrawsOnePixelOutlineInsideAndClips) {
    HostCanvas* c = NewCanvas(8, 8);
    c->Clear(0, 0, 0);
    c->SetColor(0, 255, 0);
    c->FrameRect(1, 1, 5, 4);   // x 1..4, y 1..3
    c->FrameRect(-3, -3, 3, 3); // partly off the canvas: only its right and bottom edges show
    const shell::Pixmap& p = c->Pixels();
    const uint32_t g = Argb(0, 255, 0), k = Argb(0, 0, 0);
    EXPECT_EQ(p.At(1, 1), g);
    EXPECT_EQ(p.At(4, 1), g);
    EXPECT_EQ(p.At(4, 3), g);
    EXPECT_EQ(p.At(1, 3), g);
    EXPECT_EQ(p.At(3, 2), k);  // inside stays
    EXPECT_EQ(p.At(5, 1), k);  // right is exclusive
    EXPECT_EQ(p.At(1, 4), k);  // bottom is exclusive
    EXPECT_EQ(p.At(2, 0), g);  // right edge of the clipped frame
    EXPECT_EQ(p.At(0, 2), g);  // and its bottom edge
    EXPECT_EQ(p.At(0, 0), k);
    EXPECT_EQ(p.At(1, 0), k);
    // Empty and inverted rectangles draw nothing.
    c->Clear(0, 0, 0);
    c->FillRect(5, 5, 5, 8);
    c->FrameRect(6, 6, 2, 2);
    const shell::Pixmap& cleared = c->Pixels();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(cleared.At(x, y), k);
    c->Release();
}

TEST_F(Rendering, DrawImageBlendsWithAlphaAtTopLeftAndOntoItself) {
    HostCanvas* back = NewCanvas(6, 6);
    HostCanvas* picture = NewCanvas(2, 2);  // fresh canvases are transparent
    back->Clear(0, 0, 255);
    picture->SetColor(255, 0, 0);
    picture->FillRect(0, 0, 1, 1);
    back->DrawImage(picture, 3, 4, 0);
    EXPECT_EQ(back->Pixels().At(3, 4), Argb(255, 0, 0));
    EXPECT_EQ(back->Pixels().At(4, 4), Argb(0, 0, 255));  // transparent part shows through
    EXPECT_EQ(back->Pixels().At(3, 5), Argb(0, 0, 255));
    // Drawing a canvas onto itself reads the pixels as they were.
    back->DrawImage(back, 1, 0, 0);
    EXPECT_EQ(back->Pixels().At(4, 4), Argb(255, 0, 0));
    EXPECT_EQ(back->Pixels().At(3, 4), Argb(0, 0, 255));
    picture->Release();
    back->Release();
}

TEST_F(Rendering, TextSitsWithinItsLineBoxFromTheTopLeft) {
    HostCanvas* c = NewCanvas(200, 60);
    c->Clear(255, 255, 255);
    host::Font* font = host->Factory().CreateFont("Arial", 18, host::kStyleBold);
    c->SetFont(font);
    font->Release();  // the canvas keeps its own reference
    c->SetTextColor(0, 0, 0);
    host::Size size{};
    c->MeasureText(nullptr, "HELLO", 5, &size);
    ASSERT_GT(size.width, 30);
    ASSERT_GE(size.height, 18);
    c->DrawText("HELLO world", 5, 20, 10);  // only the first five characters
    int left = 1000, top = 1000, right = -1, bottom = -1;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (c->Pixels().At(x, y) == Argb(255, 255, 255)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    EXPECT_GE(left, 20);
    EXPECT_LE(left, 23);
    EXPECT_GE(top, 10);
    EXPECT_LE(top, 10 + size.height / 3);  // capitals start near the top of the line box
    EXPECT_LT(bottom, 10 + size.height);
    EXPECT_LE(right, 20 + size.width);
    EXPECT_GT(right, 20 + size.width - 6);  // and "world" was not drawn
    c->Release();
}

TEST_F(Rendering, FreshCanvasHasArial12AndGetInfoReportsStep) {
    HostCanvas* c = NewCanvas(4, 4);
    host::Font* font = nullptr;
    c->GetFont(&font);
    ASSERT_NE(font, nullptr);
    char face[host::kFaceCapacity];
    int32_t size = 0, step = 0, style = -1;
    font->GetInfo(face, &size, &step, &style);
    EXPECT_STREQ(face, "Arial");
    EXPECT_EQ(size, 12);
    EXPECT_EQ(step, 3);  // 24, 18, 14, [12], 10, 8
    EXPECT_EQ(style, 0);
    font->Release();
    EXPECT_EQ(shell::HostFont::StepFor(17), 1);
    EXPECT_EQ(shell::HostFont::StepFor(40), 0);
    EXPECT_EQ(shell::HostFont::StepFor(1), 5);
    c->Release();
    EXPECT_TRUE(host->GetLedger().Clean()) << host->GetLedger().Report();
}

TEST_F(Rendering, CanvasSizesAreCutToSaneBounds) {
    HostCanvas* huge = NewCanvas(1 << 30, -5);
    int32_t w = 0, h = 0;
    huge->GetSize(&w, &h);
    EXPECT_EQ(w, shell::kMaxCanvasSide);
    EXPECT_EQ(h, 0);
    huge->SetColor(1, 2, 3);
    huge->FillRect(0, 0, 10, 10);  // nothing to fill, nothing breaks
    huge->Release();
}

}  // namespace

namespace {

TEST(Compositing, OnlyWhatChangedIsRedrawn) {
    shell_test::HostHarness host;
    shell::HostStage& stage = host->MainStage();
    shell::Pixmap frame(530, 420);
    stage.Compose(frame, nullptr);  // the first frame is everything
    EXPECT_FALSE(stage.Changed());

    host::Canvas* canvas = nullptr;
    stage.GetCanvas(&canvas);
    canvas->SetColor(9, 9, 9);
    canvas->FillRect(290, 133, 300, 420);
    shell::DirtyRegion changed;
    stage.Compose(frame, &changed);
    ASSERT_EQ(changed.Rects().size(), 1u);
    EXPECT_EQ(changed.Rects()[0], (shell::Rect{290, 133, 10, 287}));
    EXPECT_EQ(frame.At(295, 200), shell::Argb(9, 9, 9));

    // A sprite moved: where it was and where it is.
    host::Sprite* sprite = host->Factory().LoadImage("missing", 0);  // a 32 x 32 placeholder
    sprite->MoveTo(10, 10, 0);
    stage.AddSprite(sprite);
    stage.Compose(frame, nullptr);
    sprite->MoveTo(100, 10, 0);
    changed.Clear();
    stage.Compose(frame, &changed);
    ASSERT_EQ(changed.Rects().size(), 2u);
    EXPECT_EQ(changed.Rects()[0], (shell::Rect{10, 10, 32, 32}));
    EXPECT_EQ(changed.Rects()[1], (shell::Rect{100, 10, 32, 32}));
    EXPECT_EQ(frame.At(10, 10), shell::Argb(0, 0, 0));      // uncovered background
    EXPECT_EQ(frame.At(100, 10), shell::Argb(255, 0, 255));  // the cross's corner
    stage.RemoveSprite(sprite);
    sprite->Release();
    canvas->Release();
}

}  // namespace
