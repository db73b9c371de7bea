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
    // Runs `draw` with drawing put off.
    template <class F>
    void PutOff(F draw) {
        host->Space().SetDrawingPutOff(true);
        draw();
        host->Space().SetDrawingPutOff(false);
    }
    static bool Same(const shell::Pixmap& a, const shell::Pixmap& b) {
        if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
        for (int y = 0; y < a.Height(); ++y) {
            for (int x = 0; x < a.Width(); ++x) {
                if (a.At(x, y) != b.At(x, y)) return false;
            }
        }
        return true;
    }
    shell_test::HostHarness host;
};

// Two canvases get the same random calls, one drawing at once and one putting off; pictures
// with every kind of alpha are drawn partly off the edges and changed after being drawn.
TEST_F(PutOffDrawing, GivesThePixelsOfDrawingAtOnce) {
    std::mt19937 random(7);
    auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        HostCanvas* now = NewCanvas(40, 30);
        HostCanvas* later = NewCanvas(40, 30);
        HostCanvas* pictures[3];
        for (HostCanvas*& p : pictures) {
            p = NewCanvas(pick(1, 12), pick(1, 12));
            shell::Pixmap& pixels = const_cast<shell::Pixmap&>(p->Pixels());
            for (int y = 0; y < pixels.Height(); ++y) {
                for (int x = 0; x < pixels.Width(); ++x) {
                    const int kind = pick(0, 2);
                    pixels.Row(y)[x] = Argb(static_cast<uint8_t>(pick(0, 255)), 40, 200,
                                            kind == 0 ? 0 : kind == 1 ? 255 : static_cast<uint8_t>(pick(1, 254)));
                }
            }
        }
        for (int step = 0; step < 300; ++step) {
            const int what = pick(0, 9);
            const int l = pick(-8, 44), t = pick(-8, 34), r = l + pick(-2, 30), b = t + pick(-2, 24);
            const auto colour = static_cast<uint8_t>(pick(0, 255));
            HostCanvas* picture = pictures[pick(0, 2)];
            auto both = [&](auto call) {
                call(now);
                PutOff([&] { call(later); });
            };
            switch (what) {
            case 0: both([&](HostCanvas* c) { c->Clear(colour, 1, 2); }); break;
            case 1:
            case 2:
                both([&](HostCanvas* c) { c->SetColor(colour, 3, 4); c->FillRect(l, t, r, b); });
                break;
            case 3: both([&](HostCanvas* c) { c->FrameRect(l, t, r, b); }); break;
            case 4:
            case 5:
                both([&](HostCanvas* c) { c->DrawImage(picture, l, t, 0); });
                break;
            case 6: both([&](HostCanvas* c) { c->DrawText("Ag", -1, l, t); }); break;
            case 7:  // a canvas drawn onto itself reads its own pixels as they are
                both([&](HostCanvas* c) { c->DrawImage(c, l / 2, t / 2, 0); });
                break;
            case 8:  // a picture changed after it was drawn: the drawing keeps the old one
                picture->SetColor(colour, colour, 0);
                picture->FillRect(0, 0, pick(1, 6), pick(1, 6));
                break;
            case 9: ASSERT_TRUE(Same(later->Pixels(), now->Pixels())); break;
            }
            ASSERT_LE(later->PutOffSteps(), 256u);
        }
        EXPECT_TRUE(Same(later->Pixels(), now->Pixels()));
        EXPECT_EQ(later->PutOffSteps(), 0u);
        for (HostCanvas* c : {now, later, pictures[0], pictures[1], pictures[2]}) c->Release();
    }
}

// A bar repainted with its marks on every tick keeps one tick's steps, however many ticks.
TEST_F(PutOffDrawing, KeepsOnlyWhatALaterFillDoesNotCover) {
    HostCanvas* bar = NewCanvas(60, 300);
    HostCanvas* mark = NewCanvas(10, 10);
    mark->SetColor(200, 0, 0);
    mark->FillRect(2, 2, 8, 8);
    PutOff([&] {
        for (int tick = 0; tick < 1000; ++tick) {
            bar->SetColor(30, 30, 30);
            bar->FillRect(20, 10, 30, 290);
            for (int m = 0; m < 28 - tick % 3; ++m) bar->DrawImage(mark, 20, 280 - 10 * m, 0);
        }
        // Marks outside the bar are not covered by it and stay.
        bar->DrawImage(mark, 0, 0, 0);
        bar->FillRect(20, 10, 30, 290);
    });
    EXPECT_EQ(bar->PutOffSteps(), 2u);
    EXPECT_EQ(bar->Pixels().At(5, 5), Argb(200, 0, 0));
    EXPECT_EQ(bar->Pixels().At(25, 285), Argb(30, 30, 30));
    // With nothing covering them, steps are drawn in bounded batches.
    PutOff([&] {
        for (int i = 0; i < 1000; ++i) bar->DrawImage(mark, i % 50, i % 290, 0);
    });
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
    PutOff([&] {
        background->SetColor(9, 9, 9);
        background->FillRect(290, 133, 300, 420);
        background->DrawImage(mark, 100, 100, 0);
        background->DrawImage(mark, 525, 415, 0);  // partly off the stage
    });
    shell::DirtyRegion changed;
    stage.Compose(frame, &changed);
    EXPECT_FALSE(changed.Rects().empty());
    EXPECT_TRUE(Same(frame, stage.ComposeAll()));
    EXPECT_EQ(frame.At(104, 104), Argb(0, 90, 0));
    EXPECT_EQ(frame.At(527, 417), Argb(0, 90, 0));

    PutOff([&] { mark->SetColor(1, 2, 3); mark->FillRect(0, 0, 10, 10); });
    mark->ReplacePixels(std::make_shared<shell::Pixmap>(10, 10, Argb(7, 7, 7)));
    EXPECT_EQ(mark->PutOffSteps(), 0u);
    EXPECT_EQ(mark->Pixels().At(3, 3), Argb(7, 7, 7));
    background->Release();
    mark->Release();
}

}  // namespace
