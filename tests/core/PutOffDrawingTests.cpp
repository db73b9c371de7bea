// Drawing put off while nobody looks (a kept game played back): the pixels read afterwards
// are exactly those of drawing at once, whatever the order of fills, frames, pictures, text,
// reads and pictures changed after they were drawn; the steps kept stay few; and the stage
// still learns of every area that may have changed.
#include <gtest/gtest.h>

#include <random>

#include "shell/core/HostCanvas.h"
#include "shell/core/HostStage.h"
#include "tests/core/HostHarness.h"

namespace {

using shell::Argb;
using shell::HostCanvas;

class PutOffDrawing : public ::testing::Test {
protected:
    HostCanvas* NewCanvas(int w, int h) {
        return static_cast<HostCanvas*>(host->Factory().CreateCanvas(w, h, 0));
    }
    shell_test::HostHarness host;
};

// A canvas gets random calls, and the same calls are drawn at once on a plain picture: bars
// repainted with their marks again and again (the same, or one mark moved), marks drawn across
// a bar's edge, text over it, pictures changed after being drawn, the canvas drawn onto itself,
// and reads at random moments. The pixels read are always those drawn at once.
TEST_F(PutOffDrawing, GivesThePixelsOfDrawingAtOnce) {
    std::mt19937 random(7);
    auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        HostCanvas* canvas = NewCanvas(40, 30);
        shell::Pixmap model(40, 30);
        HostCanvas* pictures[3];
        for (HostCanvas*& p : pictures) {
            p = NewCanvas(pick(1, 12), pick(1, 12));
            shell::Pixmap& pixels = const_cast<shell::Pixmap&>(p->Pixels());
            for (int y = 0; y < pixels.Height(); ++y) {
                for (int x = 0; x < pixels.Width(); ++x) {
                    const int kind = pick(0, 2);
                    const auto alpha = static_cast<uint8_t>(kind == 0 ? 0 : kind == 1 ? 255 : pick(1, 254));
                    pixels.Row(y)[x] = Argb(static_cast<uint8_t>(pick(0, 255)), 40, 200, alpha);
                }
            }
        }
        uint32_t current = Argb(0, 0, 0);  // the canvas's drawing colour
        auto fill = [&](int l, int t, int r, int b, uint8_t colour) {
            canvas->SetColor(colour, 3, 4);
            current = Argb(colour, 3, 4);
            canvas->FillRect(l, t, r, b);
            if (r > l && b > t) model.Fill({l, t, r - l, b - t}, current);
        };
        auto image = [&](HostCanvas* picture, int x, int y) {
            // A canvas drawn onto itself shows its pixels as they were before.
            const shell::Pixmap before = picture == canvas ? model : picture->Pixels();
            canvas->DrawImage(picture, x, y, 0);
            model.Blend(before, x, y);
        };
        // The bar last painted: its area, colour and marks.
        struct Mark {
            int picture, x, y;
        };
        int bl = 0, bt = 0, br = 0, bb = 0;
        uint8_t bc = 0;
        std::vector<Mark> marks;
        for (int step = 0; step < 300; ++step) {
            const int l = pick(-8, 44), t = pick(-8, 34), r = l + pick(-2, 30), b = t + pick(-2, 24);
            const auto colour = static_cast<uint8_t>(pick(0, 255));
            HostCanvas* picture = pictures[pick(0, 2)];
            switch (pick(0, 12)) {
            case 0:
                canvas->Clear(colour, 1, 2);
                model.Fill(model.Bounds(), Argb(colour, 1, 2));
                break;
            case 1:  // a new bar with marks inside it
                bl = l, bt = t, br = std::max(l + 12, r), bb = std::max(t + 12, b), bc = colour;
                marks.clear();
                for (int m = pick(0, 5); m > 0; --m) marks.push_back({pick(0, 2), pick(bl, br - 12), pick(bt, bb - 12)});
                [[fallthrough]];
            case 2:
            case 3:
            case 4:  // the bar painted again; sometimes one mark has moved
                if (pick(0, 3) == 0 && !marks.empty()) marks[0].x = std::max(bl, marks[0].x - 1);
                fill(bl, bt, br, bb, bc);
                for (const Mark& m : marks) {
                    // Only marks that fit the bar stay inside it.
                    if (pictures[m.picture]->Pixels().Width() <= 12) image(pictures[m.picture], m.x, m.y);
                }
                break;
            case 5: fill(l, t, r, b, colour); break;
            case 6:
                canvas->FrameRect(l, t, r, b);
                if (r > l && b > t) {
                    for (const shell::Rect& edge : {shell::Rect{l, t, r - l, 1}, shell::Rect{l, b - 1, r - l, 1},
                                                    shell::Rect{l, t, 1, b - t}, shell::Rect{r - 1, t, 1, b - t}}) {
                        model.Fill(edge, current);
                    }
                }
                break;
            case 7:
            case 8: image(picture, l, t); break;
            case 9:
                canvas->DrawText("Ag", -1, l, t);
                host->Fonts().Draw(model, "Arial", 12, 0, "Ag", l, t, 0, 0, 0);
                break;
            case 10: image(canvas, l / 2, t / 2); break;
            case 11:  // a picture changed after it was drawn: the drawing keeps the old one
                picture->SetColor(colour, colour, 0);
                picture->FillRect(0, 0, pick(1, 6), pick(1, 6));
                break;
            case 12: ASSERT_TRUE(canvas->Pixels() == model); break;
            }
            ASSERT_LE(canvas->PutOffSteps(), 256u);
        }
        EXPECT_TRUE(canvas->Pixels() == model);
        EXPECT_EQ(canvas->PutOffSteps(), 0u);
        for (HostCanvas* c : {canvas, pictures[0], pictures[1], pictures[2]}) c->Release();
    }
}

// A bar repainted with its marks on every tick keeps one tick's steps, however many ticks.
TEST_F(PutOffDrawing, KeepsOnlyWhatALaterFillDoesNotCover) {
    HostCanvas* bar = NewCanvas(60, 300);
    HostCanvas* mark = NewCanvas(10, 10);
    mark->SetColor(200, 0, 0);
    mark->FillRect(2, 2, 8, 8);
    {
        for (int tick = 0; tick < 1000; ++tick) {
            bar->SetColor(30, 30, 30);
            bar->FillRect(20, 10, 30, 290);
            for (int m = 0; m < 28 - tick % 3; ++m) bar->DrawImage(mark, 20, 280 - 10 * m, 0);
        }
        // Marks outside the bar are not covered by it and stay.
        bar->DrawImage(mark, 0, 0, 0);
        bar->FillRect(20, 10, 30, 290);
    }
    EXPECT_EQ(bar->PutOffSteps(), 2u);
    EXPECT_EQ(bar->Pixels().At(5, 5), Argb(200, 0, 0));
    EXPECT_EQ(bar->Pixels().At(25, 285), Argb(30, 30, 30));
    // With nothing covering them, steps are drawn in bounded batches.
    for (int i = 0; i < 1000; ++i) bar->DrawImage(mark, i % 50, i % 290, 0);
    EXPECT_LE(bar->PutOffSteps(), 256u);
    bar->Release();
    mark->Release();
}

// The stage is told of every area that may have changed, so a frame composed from what it was
// told is the frame composed afresh; and pixels replaced after drawing are not drawn over.
TEST_F(PutOffDrawing, TheStageHearsOfEveryAreaAndReplacedPixelsWin) {
    shell::HostStage& stage = host->MainStage();
    shell::Pixmap frame(stage.Width(), stage.Height());
    stage.Compose(frame, nullptr);
    host::Canvas* background = nullptr;
    stage.GetCanvas(&background);
    HostCanvas* mark = NewCanvas(10, 10);
    mark->SetColor(0, 90, 0);
    mark->FillRect(0, 0, 10, 10);
    background->SetColor(9, 9, 9);
    background->FillRect(290, 133, 300, 420);
    background->DrawImage(mark, 100, 100, 0);
    background->DrawImage(mark, 525, 415, 0);  // partly off the stage
    shell::DirtyRegion changed;
    stage.Compose(frame, &changed);
    EXPECT_FALSE(changed.Rects().empty());
    EXPECT_TRUE(frame == stage.ComposeAll());
    EXPECT_EQ(frame.At(104, 104), Argb(0, 90, 0));
    EXPECT_EQ(frame.At(527, 417), Argb(0, 90, 0));

    mark->SetColor(1, 2, 3);
    mark->FillRect(0, 0, 10, 10);
    mark->ReplacePixels(std::make_shared<shell::Pixmap>(10, 10, Argb(7, 7, 7)));
    EXPECT_EQ(mark->PutOffSteps(), 0u);
    EXPECT_EQ(mark->Pixels().At(3, 3), Argb(7, 7, 7));
    background->Release();
    mark->Release();
}

}  // namespace
