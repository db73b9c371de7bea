// The compositor reports only areas whose pixels changed: a game may paint the same picture
// again on every tick, and the window should present nothing for it.
#include <gtest/gtest.h>

#include <memory>

#include "shell/core/Host.h"
#include "shell/fonts/SystemFonts.h"

namespace {

struct StageFixture {
    shell::VirtualTime time;
    std::unique_ptr<shell::Host> host;
    host::Canvas* canvas = nullptr;
    shell::Pixmap frame{530, 420};

    StageFixture() {
        shell::HostOptions options;
        options.fonts = shell::fonts::SystemFonts::Source();
        options.time = time.AsSource();
        options.seed = 1;
        host = std::make_unique<shell::Host>(options);
        host->MainStage().GetCanvas(&canvas);
        host->MainStage().Compose(frame, nullptr);
    }
    ~StageFixture() { canvas->Release(); }

    shell::DirtyRegion Compose() {
        shell::DirtyRegion changed;
        host->MainStage().Compose(frame, &changed);
        return changed;
    }
};

TEST(StageRedraw, PaintingTheSamePixelsAgainReportsNothing) {
    StageFixture s;
    s.canvas->SetColor(51, 153, 153);
    s.canvas->FillRect(290, 133, 300, 420);
    EXPECT_EQ(s.Compose().Rects().size(), 1u);

    // The same bar again, as a clock that has not moved a step paints it.
    s.canvas->FillRect(290, 133, 300, 420);
    EXPECT_TRUE(s.Compose().Empty());
    EXPECT_EQ(s.frame.At(295, 200), shell::Argb(51, 153, 153));

    // One pixel different in the same area is reported, and shown.
    s.canvas->FillRect(290, 133, 300, 420);
    s.canvas->SetColor(0, 0, 0);
    s.canvas->FillRect(299, 419, 300, 420);
    const shell::DirtyRegion changed = s.Compose();
    ASSERT_EQ(changed.Rects().size(), 1u);
    EXPECT_EQ(changed.Rects()[0], (shell::Rect{299, 419, 1, 1}));  // only the pixel that changed
    EXPECT_EQ(s.frame.At(299, 419), shell::Argb(0, 0, 0));
}

TEST(StageRedraw, ANewScreenIsAlwaysReportedWhole) {
    StageFixture s;
    s.host->MainStage().Invalidate();  // same pixels, but the whole stage
    const shell::DirtyRegion changed = s.Compose();
    ASSERT_EQ(changed.Rects().size(), 1u);
    EXPECT_EQ(changed.Rects()[0], (shell::Rect{0, 0, 530, 420}));
}

}  // namespace
