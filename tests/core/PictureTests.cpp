// Pictures from resources: lookup ignoring case, frames and delays, looping, sharing of
// decoded frames, and placeholders for pictures that cannot be had.
#include <gtest/gtest.h>

#include "shell/core/HostSprite.h"
#include "shell/core/Log.h"
#include "tests/core/HostHarness.h"

namespace {

using shell::HostSprite;

class Pictures : public ::testing::Test {
protected:
    Pictures() {
        resources.Add("P-THREE.GIF", shell_test::ColourFrames(4, 3, 3, 5, true));
        resources.Add("ONCE.GIF", shell_test::ColourFrames(2, 2, 4, 0, false));
        std::vector<uint8_t> broken = shell_test::ColourFrames(8, 8, 2, 5, true);
        broken.resize(broken.size() / 2);
        resources.Add("BROKEN.GIF", broken);
        host = std::make_unique<shell_test::HostHarness>(&resources);
        shell::SetLogSink(&log);
    }
    ~Pictures() override { shell::SetLogSink(nullptr); }

    HostSprite* Load(const char* name) {
        return static_cast<HostSprite*>((*host)->Factory().LoadImage(name, 0));
    }
    uint32_t ShownColour(HostSprite* s) { return s->Picture()->Pixels().At(0, 0); }

    shell_test::Resources resources;
    std::unique_ptr<shell_test::HostHarness> host;
    std::string log;
};

TEST_F(Pictures, FramesDelaysAndSizeComeFromTheFile) {
    HostSprite* s = Load("p-three.gif");  // stored upper-case
    host::Animation* animation = nullptr;
    s->GetAnimation(&animation);
    host::FrameList* frames = nullptr;
    animation->GetFrames(&frames);
    auto* list = static_cast<shell::HostFrameList*>(frames);
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(list->DelayMs(0), 50);
    EXPECT_TRUE(list->Looping());
    host::Canvas* frame = nullptr;
    frames->GetFrame(2, &frame);
    int32_t w = 0, h = 0;
    frame->GetSize(&w, &h);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(static_cast<shell::HostCanvas*>(frame)->Pixels().At(0, 0), shell::Argb(0, 0, 255));
    frame->Release();
    frames->Release();
    animation->Release();
    s->Release();
    EXPECT_TRUE((*host)->GetLedger().Clean()) << (*host)->GetLedger().Report();
    EXPECT_TRUE(log.empty()) << log;
}

TEST_F(Pictures, AnimationRunsWithTheFileDelaysAndLoops) {
    HostSprite* s = Load("P-THREE.GIF");
    (*host)->MainStage().AddSprite(s);
    s->StartAnimation();
    EXPECT_EQ(ShownColour(s), shell::Argb(255, 0, 0));
    host->Advance(49);
    EXPECT_EQ(ShownColour(s), shell::Argb(255, 0, 0));
    host->Advance(1);
    EXPECT_EQ(ShownColour(s), shell::Argb(0, 255, 0));
    host->Advance(100);
    EXPECT_EQ(ShownColour(s), shell::Argb(255, 0, 0));  // back to the first frame
    // Shown on a stage, the next change is what the loop waits for.
    EXPECT_EQ((*host)->NextDue(), host->time.now + 50);
    (*host)->MainStage().RemoveSprite(s);
    EXPECT_EQ((*host)->NextDue(), -1);  // off the stage it wakes nobody
    s->Release();
}

TEST_F(Pictures, ZeroDelayCountsAsTenthAndNonLoopingStopsOnLastFrame) {
    HostSprite* s = Load("once.gif");
    (*host)->MainStage().AddSprite(s);
    s->StartAnimation();
    host->Advance(99);
    EXPECT_EQ(s->Animation()->CurrentFrame(), 0);
    host->Advance(1);
    EXPECT_EQ(s->Animation()->CurrentFrame(), 1);
    host->Advance(10000);
    EXPECT_EQ(s->Animation()->CurrentFrame(), 3);
    EXPECT_FALSE(s->Animation()->Running());
    (*host)->MainStage().RemoveSprite(s);
    s->Release();
}

TEST_F(Pictures, SetLoopingZeroStopsAnimationsOfALoopingFile) {
    HostSprite* s = Load("P-THREE.GIF");
    s->Animation()->Frames()->SetLooping(0);
    s->StartAnimation();
    host->Advance(1000);
    EXPECT_EQ(s->Animation()->CurrentFrame(), 2);
    EXPECT_FALSE(s->Animation()->Running());
    s->Release();
}

TEST_F(Pictures, EachFileIsDecodedOnceAndItsFramesShared) {
    HostSprite* a = Load("P-THREE.GIF");
    HostSprite* b = Load("p-Three.gif");
    EXPECT_NE(a->Animation()->Frames(), b->Animation()->Frames());  // lists of their own
    EXPECT_EQ(a->Picture()->Pixels().Data(), b->Picture()->Pixels().Data());
    // Drawing on one frame leaves the other list's frame alone.
    host::Canvas* frame = nullptr;
    a->GetBitmap(&frame);
    frame->Clear(1, 2, 3);
    EXPECT_EQ(ShownColour(b), shell::Argb(255, 0, 0));
    EXPECT_EQ(ShownColour(a), shell::Argb(1, 2, 3));
    frame->Release();
    a->Release();
    b->Release();
}

TEST_F(Pictures, MissingOrTruncatedPicturesShowAPlaceholderAndSayWhy) {
    HostSprite* missing = Load("nothing.gif");
    HostSprite* broken = Load("BROKEN.GIF");
    for (HostSprite* s : {missing, broken}) {
        ASSERT_NE(s->Picture(), nullptr);
        EXPECT_EQ(s->Picture()->Pixels().Width(), 32);
        EXPECT_EQ(s->Picture()->Pixels().At(0, 0), shell::Argb(255, 0, 255));  // the cross
        // Whatever the applet asks of it still works.
        host::Canvas* frame = nullptr;
        s->Animation()->Frames()->GetFrame(5, &frame);
        ASSERT_NE(frame, nullptr);
        frame->Release();
    }
    EXPECT_NE(log.find("\"nothing.gif\" is not among"), std::string::npos) << log;
    EXPECT_NE(log.find("\"BROKEN.GIF\" cannot be decoded"), std::string::npos) << log;
    missing->Release();
    broken->Release();
}

}  // namespace

// Pictures decoded ahead (on another thread in a window) leave out the bubbles drawn with
// symbols; asked for, they are decoded then, the same as the others.
TEST(PicturesDecodedAhead, LeaveTheSymbolBubblesToBeDecodedWhenAsked) {
    shell_test::Resources resources;
    resources.Add("P-THREE.GIF", shell_test::ColourFrames(4, 3, 3, 5, true));
    resources.Add("P-IMG-BUBBLESYM2.GIF", shell_test::ColourFrames(4, 3, 2, 5, true));
    const shell::ImageLibrary::Decoded ahead = shell::ImageLibrary::DecodeAll(resources.Directory());
    EXPECT_EQ(ahead.count("P-THREE.GIF"), 1u);
    EXPECT_EQ(ahead.count("P-IMG-BUBBLESYM2.GIF"), 0u);

    shell::ImageLibrary library(resources.Directory());
    library.Expect([&ahead] { return ahead; });
    EXPECT_EQ(library.Load("p-three.gif"), ahead.at("P-THREE.GIF"));  // taken, not decoded again
    auto symbols = library.Load("p-img-BubbleSym2.gif");
    ASSERT_EQ(symbols->frames.size(), 2u);
    EXPECT_FALSE(symbols->placeholder);
    EXPECT_EQ(symbols->frames[1]->At(0, 0), shell::Argb(0, 255, 0));
    EXPECT_EQ(library.Load("P-IMG-BUBBLESYM2.GIF"), symbols);
}
