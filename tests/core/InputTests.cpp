// Pointer routing: the topmost sprite under a visible pixel takes the press and keeps the
// pointer until the release; buttons light up under the pointer and report clicks.
#include <gtest/gtest.h>

#include <vector>

#include "shell/core/HostSprite.h"
#include "tests/core/HostHarness.h"

namespace {

using shell::HostSprite;

struct Received {
    int code;
    int x, y;
};

struct Recorder {
    std::vector<Received> events;
    host::Subscription* toRelease = nullptr;  // released by the next event
};

template <int Code>
int Record(const host::Event* e) {
    auto* r = static_cast<Recorder*>(e->context);
    r->events.push_back({Code, e->value, e->y});
    if (r->toRelease != nullptr) {
        r->toRelease->Release();
        r->toRelease = nullptr;
    }
    return 0;
}

int CountClick(const host::Event* e) {
    static_cast<std::vector<int>*>(e->context)->push_back(e->value);
    return 0;
}

class Input : public ::testing::Test {
protected:
    Input() {
        // 10 x 10, opaque except a transparent left column.
        gif_test::GifRecipe recipe;
        recipe.width = recipe.height = 10;
        recipe.globalMap = {{0, 0, 0}, {255, 0, 0}};
        gif_test::FrameRecipe f = gif_test::Solid(0, 0, 10, 10, 1);
        for (int y = 0; y < 10; ++y) f.pixels[static_cast<size_t>(y * 10)] = 0;
        f.transparent = 0;
        recipe.frames.push_back(f);
        resources.Add("BLOCK.GIF", gif_test::BuildGif(recipe));
        host = std::make_unique<shell_test::HostHarness>(&resources);
    }
    host::Factory& factory() { return (*host)->Factory(); }
    shell::HostStage& stage() { return (*host)->MainStage(); }
    shell::InputRouter& input() { return (*host)->Input(); }

    HostSprite* Block(int x, int y, Recorder* r) {
        auto* s = static_cast<HostSprite*>(factory().LoadImage("block.gif", 0));
        s->MoveTo(x, y, 0);
        stage().AddSprite(s);
        subscriptions.push_back(factory().Subscribe(s, host::kEventPointerPressed, r, Record<1>));
        subscriptions.push_back(factory().Subscribe(s, host::kEventPointerMoved, r, Record<7>));
        subscriptions.push_back(factory().Subscribe(s, host::kEventPointerReleased, r, Record<2>));
        sprites.push_back(s);
        return s;
    }
    void TearDown() override {
        for (host::Subscription* s : subscriptions) s->Release();
        for (HostSprite* s : sprites) {
            stage().RemoveSprite(s);
            s->Release();
        }
        EXPECT_TRUE((*host)->GetLedger().Clean()) << (*host)->GetLedger().Report();
    }

    shell_test::Resources resources;
    std::unique_ptr<shell_test::HostHarness> host;
    std::vector<host::Subscription*> subscriptions;
    std::vector<HostSprite*> sprites;
};

TEST_F(Input, PressGoesToTopmostSpriteAndTransparentPixelsPassThrough) {
    Recorder below, above;
    Block(0, 0, &below);
    Block(5, 5, &above);  // added later: on top
    input().Press(7, 7);
    input().Release(7, 7);
    ASSERT_EQ(above.events.size(), 2u);
    EXPECT_EQ(above.events[0].code, 1);
    EXPECT_EQ(above.events[0].x, 2);
    EXPECT_EQ(above.events[0].y, 2);
    EXPECT_TRUE(below.events.empty());
    // (5, 7) is the upper sprite's transparent column: the one below takes it.
    input().Press(5, 7);
    input().Release(5, 7);
    ASSERT_EQ(below.events.size(), 2u);
    EXPECT_EQ(below.events[0].x, 5);
    // Raising the lower sprite puts it on top.
    stage().RaiseSprite(sprites[0]);
    input().Press(7, 7);
    input().Release(7, 7);
    EXPECT_EQ(below.events.size(), 4u);
    // A press on nothing goes nowhere.
    input().Press(100, 100);
    EXPECT_FALSE(input().Pressed());
}

TEST_F(Input, PressedSpriteKeepsThePointerBeyondItselfAndTheWindow) {
    Recorder r;
    HostSprite* s = Block(20, 20, &r);
    input().Press(22, 23);
    input().Move(60, 70);
    s->MoveTo(50, 60, 0);  // the drag moves it: later events are relative to where it is now
    input().Move(-40, 900);
    input().Release(-45, 910);
    ASSERT_EQ(r.events.size(), 4u);
    EXPECT_EQ(r.events[1].code, 7);
    EXPECT_EQ(r.events[1].x, 40);
    EXPECT_EQ(r.events[1].y, 50);
    EXPECT_EQ(r.events[2].x, -90);
    EXPECT_EQ(r.events[2].y, 840);
    EXPECT_EQ(r.events[3].code, 2);
    EXPECT_EQ(r.events[3].x, -95);
    EXPECT_FALSE(input().Pressed());
    // Without a press, moving over a sprite tells it nothing.
    input().Move(55, 65);
    EXPECT_EQ(r.events.size(), 4u);
}

TEST_F(Input, SubscriptionReleasedInsideItsCallbackEndsAtOnce) {
    Recorder r;
    Block(0, 0, &r);
    r.toRelease = subscriptions[1];  // the move subscription, released by the press event
    subscriptions.erase(subscriptions.begin() + 1);
    input().Press(5, 5);
    input().Move(6, 6);
    input().Release(6, 6);
    ASSERT_EQ(r.events.size(), 2u);
    EXPECT_EQ(r.events[1].code, 2);
}

class Buttons : public Input {
protected:
    // A 4 x 2 button: left half red (normal), right half blue (highlighted).
    host::Button* MakeButton(int x, int y, int id) {
        host::Canvas* picture = factory().CreateCanvas(8, 2, 0);
        picture->SetColor(255, 0, 0);
        picture->FillRect(0, 0, 4, 2);
        picture->SetColor(0, 0, 255);
        picture->FillRect(4, 0, 8, 2);
        host::Button* b = factory().CreateButton(&stage(), &clicks, x, y, 4, 2, picture, 0, id,
                                                 CountClick);
        picture->Release();
        return b;
    }
    static uint32_t Shown(host::Button* b) {
        return static_cast<HostSprite*>(b)->Picture()->Pixels().At(0, 0);
    }
    std::vector<int> clicks;
};

TEST_F(Buttons, ShowRightHalfUnderThePointerAndClickOnPressAndReleaseOverThem) {
    host::Button* b = MakeButton(10, 10, 7);
    sprites.push_back(static_cast<HostSprite*>(b));
    EXPECT_EQ(Shown(b), shell::Argb(255, 0, 0));
    input().Move(11, 11);
    EXPECT_EQ(Shown(b), shell::Argb(0, 0, 255));
    input().Move(30, 30);
    EXPECT_EQ(Shown(b), shell::Argb(255, 0, 0));

    input().Press(11, 11);
    input().Release(13, 11);
    EXPECT_EQ(clicks, std::vector<int>{7});
    // Pressed, dragged off (normal look) and released elsewhere: no click.
    input().Press(11, 11);
    input().Move(40, 40);
    EXPECT_EQ(Shown(b), shell::Argb(255, 0, 0));
    input().Release(40, 40);
    EXPECT_EQ(clicks.size(), 1u);
    // A press elsewhere released over the button is no click either.
    Recorder r;
    Block(50, 50, &r);
    input().Press(55, 55);
    input().Release(11, 11);
    EXPECT_EQ(clicks.size(), 1u);
}

int RemoveOwnButton(const host::Event* e) {
    auto* ctx = static_cast<std::pair<host::Stage*, host::Button*>*>(e->context);
    ctx->first->RemoveSprite(ctx->second);
    ctx->second->Release();
    ctx->second = nullptr;
    return 0;
}

TEST_F(Buttons, ButtonMayRemoveAndReleaseItselfInItsClick) {
    host::Canvas* picture = factory().CreateCanvas(8, 2, 0);
    picture->Clear(9, 9, 9);
    std::pair<host::Stage*, host::Button*> ctx{&stage(), nullptr};
    ctx.second = factory().CreateButton(&stage(), &ctx, 0, 0, 4, 2, picture, 0, 1,
                                        RemoveOwnButton);
    picture->Release();
    input().Press(1, 1);
    input().Release(1, 1);
    EXPECT_EQ(ctx.second, nullptr);
    EXPECT_TRUE(stage().Sprites().empty());
}

}  // namespace
