// The help stage's background is only made when help is first shown or drawn on.
#include <gtest/gtest.h>

#include "shell/posix/AppletLibrary.h"
#include "shell/session/Session.h"
#include "shell/core/HostCanvas.h"
#include "tests/core/HostHarness.h"
#include "shell/fonts/SystemFonts.h"

namespace {

TEST(HelpStagePixels, MadeWhenHelpIsFirstShownAndThenShowsThePage) {
    std::string error;
    auto library = shell::AppletLibrary::Open(GAME_LIBRARY, &error);
    ASSERT_TRUE(library) << error;
    shell::VirtualTime time;
    shell::MemorySettings settings;
    shell::HostOptions options;
    options.fonts = shell::fonts::SystemFonts::Source();
    options.resources = library->Resources();
    options.time = time.AsSource();
    options.seed = 5;
    options.settings = &settings;
    shell::Host host(options);
    shell::Session session(host, library->Entry());
    session.Start();
    session.Compose(nullptr);

    shell::HostCanvas* help = host.HelpStage().Background();
    EXPECT_FALSE(help->PixelsMade());
    EXPECT_TRUE(host.MainStage().Background()->PixelsMade());
    int32_t w = 0, h = 0;
    help->GetSize(&w, &h);
    EXPECT_EQ(w, host::kStageWidth);
    EXPECT_EQ(h, host::kStageHeight);
    EXPECT_EQ(host.HelpStage().Width(), host::kStageWidth);
    EXPECT_FALSE(help->PixelsMade());

    session.HelpKey();
    ASSERT_TRUE(session.HelpShown());
    session.Compose(nullptr);
    ASSERT_TRUE(help->PixelsMade());
    EXPECT_EQ(session.Frame().At(5, 5), help->Pixels().At(5, 5));
    session.EscapeKey();
    session.Stop();
}

TEST(HelpStagePixels, ACanvasNotYetMadeDrawsAndIsDrawnLikeAnyOther) {
    shell_test::HostHarness host;
    shell::ObjectSpace& space = host->Space();
    auto* lazy = space.Make<shell::HostCanvas>(host->Fonts(), 4, 3, shell::Argb(200, 0, 0));
    auto* target = space.Make<shell::HostCanvas>(host->Fonts(), std::make_shared<shell::Pixmap>(8, 8));
    target->DrawImage(lazy, 2, 2, 0);
    EXPECT_EQ(target->Pixels().At(3, 3), shell::Argb(200, 0, 0));
    EXPECT_EQ(target->Pixels().At(7, 7), shell::Pixmap(1, 1).At(0, 0));

    auto* cleared = space.Make<shell::HostCanvas>(host->Fonts(), 5, 5, shell::Argb(0, 0, 0));
    cleared->Clear(0, 90, 0);
    EXPECT_EQ(cleared->Pixels().Width(), 5);
    EXPECT_EQ(cleared->Pixels().At(4, 4), shell::Argb(0, 90, 0));

    // Drawn on itself before it was ever made: reads its own plain colour.
    auto* self = space.Make<shell::HostCanvas>(host->Fonts(), 3, 3, shell::Argb(0, 0, 70));
    self->DrawImage(self, 1, 1, 0);
    EXPECT_EQ(self->Pixels().At(2, 2), shell::Argb(0, 0, 70));
    for (auto* c : {lazy, target, cleared, self}) c->Drop();
}

}  // namespace
