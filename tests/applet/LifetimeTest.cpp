// Start-up and teardown of the applet as the shell sees them: what is loaded, in which order,
// what each shared asset ends up holding, and that stopping gives everything back.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "applet/Applet.h"
#include "applet/Globals.h"
#include "game/Board.h"
#include "screens/TitleScreen.h"
#include "host/Applet.h"
#include "tests/applet/CallText.h"
#include "tests/support/TestHost.h"

namespace {

using applettest::LabelOf;
using applettest::WithoutIds;
using testhost::Call;
using testhost::TestHost;

const std::vector<std::string> kSoundsInLoadOrder = {
    "p-NewGame.wav",  "p-HighScore.wav", "p-BubbleDisappear.wav",
    "p-DropBubble.wav", "p-LevelWin.wav", "p-LevelLose.wav",
    "p-FadeIn.wav",   "p-GameOver.wav",  "p-FreeMove.wav",
};

// The applet's own start-up, before the title screen is built.
std::vector<std::string> ExpectedAssetLoading() {
    std::vector<std::string> calls = {
        "Factory.CreateCanvas(100,100,0)",
        "Canvas.Release()",
        "Factory.Subscribe(ShellFrame,16,*,*)",
        "ShellFrame.Configure(51)",
    };
    for (int kind = 0; kind < 10; ++kind) {
        calls.push_back("Factory.LoadImage(p-img-Bubble" + std::to_string(kind) + ".gif,0)");
        calls.push_back("Sprite.GetAnimation(*)");
        calls.push_back("Animation.GetFrames(*)");
        calls.push_back("Animation.Release()");
        calls.push_back("Sprite.Release()");
    }
    calls.push_back("FrameList.SetLooping(0)");
    calls.push_back("FrameList.SetLooping(0)");
    for (const std::string& sound : kSoundsInLoadOrder) {
        calls.push_back("Factory.LoadSound(" + sound + ",0)");
    }
    const std::vector<std::string> rest = {
        "Factory.LoadImage(p-mini-sampler.gif,0)",
        "Sprite.StartAnimation()",
        "Factory.LoadImage(CheckBox.gif,0)",
        "Sprite.GetAnimation(*)",
        "Sprite.Release()",
        "Factory.LoadImage(p-mini-bubble.gif,0)",
        "Sprite.GetBitmap(*)",
        "Sprite.Release()",
        "Factory.LoadImage(P-IMG-BUBBLEBG,0)",
        "Sprite.GetAnimation(*)",
        "Animation.GetFrames(*)",
        "FrameList.GetFrame(0,*)",
        "FrameList.GetFrame(1,*)",
        "FrameList.Release()",
        "Animation.Release()",
        "Sprite.Release()",
    };
    calls.insert(calls.end(), rest.begin(), rest.end());
    return calls;
}

// The releases of the shared assets that end every teardown, by ledger label.
std::vector<std::string> ExpectedSharedReleases() {
    std::vector<std::string> labels = {"P-MINI-BUBBLE.GIF[0]", "P-IMG-BUBBLEBG[0]",
                                       "P-IMG-BUBBLEBG[1]"};
    for (int kind = 0; kind < 10; ++kind) {
        labels.push_back("P-IMG-BUBBLE" + std::to_string(kind) + ".GIF");
    }
    labels.push_back("P-MINI-SAMPLER.GIF");
    labels.push_back("CHECKBOX.GIF");
    labels.insert(labels.end(), kSoundsInLoadOrder.begin(), kSoundsInLoadOrder.end());
    return labels;
}

std::string Label(TestHost& host, const host::Object* object) {
    return host.GetLedger().Entries().at(host.IdOf(object)).label;
}

size_t IndexOf(const std::vector<Call>& calls, const std::string& text, size_t from = 0) {
    for (size_t i = from; i < calls.size(); ++i) {
        if (WithoutIds(calls[i]) == text) return i;
    }
    return calls.size();
}

// ---- Start-up --------------------------------------------------------------------------

TEST(AppletStartUp, LoadsTheSharedAssetsInOrderBeforeBuildingTheTitleScreen) {
    TestHost host;
    Shell_StartApplet(host.Site());
    const std::vector<std::string> expected = ExpectedAssetLoading();
    EXPECT_EQ(WithoutIds(host.Calls(), 0, expected.size()), expected);
    Shell_StopApplet();
}

TEST(AppletStartUp, EachBubbleKindHoldsItsOwnFrameSetAndOnlyEightAndNinePlayOnce) {
    TestHost host;
    Shell_StartApplet(host.Site());

    for (int kind = 0; kind < sph::kBubbleKinds; ++kind) {
        ASSERT_NE(sph::bubbleFrames[kind], nullptr);
        EXPECT_EQ(Label(host, sph::bubbleFrames[kind]),
                  "P-IMG-BUBBLE" + std::to_string(kind) + ".GIF");
    }
    const std::vector<Call> looping = host.CallsTo("SetLooping");
    ASSERT_EQ(looping.size(), 2u);
    EXPECT_EQ(looping[0].objectId, host.IdOf(sph::bubbleFrames[8]));
    EXPECT_EQ(looping[1].objectId, host.IdOf(sph::bubbleFrames[9]));

    // Each kind's frames come from the animation of its own loaded sprite, and the
    // animation goes back before the sprite.
    const std::vector<Call>& calls = host.Calls();
    for (int kind = 0; kind < sph::kBubbleKinds; ++kind) {
        const size_t load = IndexOf(
            calls, "Factory.LoadImage(p-img-Bubble" + std::to_string(kind) + ".gif,0)");
        ASSERT_LT(load + 4, calls.size());
        const int sprite = calls[load + 1].objectId;
        const int animation = calls[load + 2].objectId;
        EXPECT_EQ(calls[load + 3].objectId, animation);
        EXPECT_EQ(calls[load + 4].objectId, sprite);
    }
    Shell_StopApplet();
}

TEST(AppletStartUp, KeepsTheRightPicturesForTilesCheckBoxClockAndSampler) {
    TestHost host;
    Shell_StartApplet(host.Site());
    const sph::Applet* applet = sph::theApplet;
    ASSERT_NE(applet, nullptr);

    EXPECT_EQ(Label(host, applet->boardTile), "P-IMG-BUBBLEBG[0]");
    EXPECT_EQ(Label(host, applet->freeMoveTile), "P-IMG-BUBBLEBG[1]");
    EXPECT_EQ(Label(host, applet->miniBubblePicture), "P-MINI-BUBBLE.GIF[0]");
    EXPECT_EQ(Label(host, applet->checkboxAnimation), "CHECKBOX.GIF");
    EXPECT_EQ(Label(host, applet->miniSampler), "P-MINI-SAMPLER.GIF");
    EXPECT_TRUE(host.Info(applet->miniSampler).animating);

    // Sounds are loaded in one order and kept in members of another.
    EXPECT_EQ(Label(host, applet->gameOverSound), "p-GameOver.wav");
    EXPECT_EQ(Label(host, applet->freeMoveSound), "p-FreeMove.wav");
    EXPECT_EQ(Label(host, applet->levelLoseSound), "p-LevelLose.wav");

    // The tiles' frame list, animation and sprite go back in that order.
    const std::vector<Call>& calls = host.Calls();
    const size_t load = IndexOf(calls, "Factory.LoadImage(P-IMG-BUBBLEBG,0)");
    ASSERT_LT(load + 7, calls.size());
    const int sprite = calls[load + 1].objectId;
    const int animation = calls[load + 2].objectId;
    const int frames = calls[load + 3].objectId;
    EXPECT_EQ(calls[load + 5].objectId, frames);
    EXPECT_EQ(calls[load + 6].objectId, animation);
    EXPECT_EQ(calls[load + 7].objectId, sprite);
    Shell_StopApplet();
}

TEST(AppletStartUp, PassesTheTitleLastAfterTheTitleScreenIsDrawnAndReturnsItsResult) {
    TestHost host;
    host.SetTitleResult(7321);
    EXPECT_EQ(Shell_StartApplet(host.Site()), 7321);

    const std::vector<Call>& calls = host.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(WithoutIds(calls.back()), "ShellFrame.SetTitle(Spherolette)");
    EXPECT_EQ(host.CallsTo("SetTitle").size(), 1u);
    EXPECT_EQ(host.Title(), "Spherolette");

    // The title screen cleared the main stage's background before the title was passed.
    const int mainCanvas = host.IdOf(host.MainCanvas());
    const auto clear = std::find_if(calls.begin(), calls.end(), [&](const Call& call) {
        return call.objectId == mainCanvas && call.op == "Clear";
    });
    ASSERT_NE(clear, calls.end());
    EXPECT_EQ(WithoutIds(*clear), "Canvas.Clear(51,153,153)");
    EXPECT_NE(sph::theApplet->currentScreen, nullptr);
    Shell_StopApplet();
}

// ---- Teardown --------------------------------------------------------------------------

TEST(AppletTeardown, ReleasesTheHelpSubscriptionFirstAndTheSharedAssetsLast) {
    TestHost host;
    Shell_StartApplet(host.Site());
    const int helpSubscription = host.IdOf(sph::theApplet->helpSubscription);
    host.ClearCalls();

    EXPECT_EQ(Shell_StopApplet(), 0);
    EXPECT_EQ(sph::theApplet, nullptr);

    const std::vector<Call>& calls = host.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().objectId, helpSubscription);
    EXPECT_EQ(calls.front().op, "Release");

    const std::vector<std::string> expected = ExpectedSharedReleases();
    ASSERT_GE(calls.size(), expected.size());
    std::vector<std::string> tail;
    for (size_t i = calls.size() - expected.size(); i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].op, "Release") << WithoutIds(calls[i]);
        tail.push_back(LabelOf(host, calls[i]));
    }
    EXPECT_EQ(tail, expected);
    EXPECT_TRUE(host.GetLedger().Clean()) << host.GetLedger().Report();
    EXPECT_TRUE(host.GetLedger().UsedAfterRelease().empty()) << host.GetLedger().Report();
}

TEST(AppletTeardown, StoppingDuringAGameDestroysTheGameBeforeAnySharedAsset) {
    TestHost host;
    Shell_StartApplet(host.Site());
    host::Button* firstDifficulty = nullptr;
    for (host::Sprite* sprite : host.SpritesOn(host.MainStage())) {
        const TestHost::SpriteInfo info = host.Info(sprite);
        if (info.isButton && info.buttonId == 0) firstDifficulty = static_cast<host::Button*>(sprite);
    }
    ASSERT_NE(firstDifficulty, nullptr) << "the title screen shows a button with id 0";
    host.Click(firstDifficulty);
    host.Advance(500);  // let the game's clock run a little
    host.ClearCalls();

    Shell_StopApplet();
    const std::vector<Call>& calls = host.Calls();
    const size_t shared = ExpectedSharedReleases().size();
    ASSERT_GE(calls.size(), shared);
    // Everything the game made is given back before the first shared asset.
    const std::vector<std::string> sharedLabels = ExpectedSharedReleases();
    for (size_t i = 0; i < calls.size() - shared; ++i) {
        const bool sharedRelease =
            calls[i].op == "Release" &&
            std::count(sharedLabels.begin(), sharedLabels.end(), LabelOf(host, calls[i])) > 0;
        EXPECT_FALSE(sharedRelease) << i << ": " << WithoutIds(calls[i]);
    }
    EXPECT_EQ(calls[calls.size() - shared].op, "Release");
    EXPECT_TRUE(host.SpritesOn(host.MainStage()).empty());
    EXPECT_TRUE(host.Timers().empty());
    EXPECT_TRUE(host.GetLedger().Clean()) << host.GetLedger().Report();
}

TEST(AppletTeardown, MissingSoundsAreNeverPlayedNorReleasedAndChangeNothingElse) {
    // The same start and stop, once with every sound and once with three missing.
    std::vector<std::string> full;
    std::set<int> missingIds;
    {
        TestHost host;
        Shell_StartApplet(host.Site());
        Shell_StopApplet();
        for (const Call& call : host.Calls()) {
            const std::string label = LabelOf(host, call);
            if (call.kind == "Sound" &&
                (label == "p-NewGame.wav" || label == "p-LevelLose.wav" ||
                 label == "p-FreeMove.wav")) {
                continue;  // calls a missing sound would not receive
            }
            full.push_back(WithoutIds(call));
        }
        EXPECT_FALSE(host.CallsTo("Play").empty()) << "the title screen plays its sound";
    }
    TestHost host;
    host.MissingSounds({"p-NewGame.wav", "p-LevelLose.wav", "p-FreeMove.wav"});
    Shell_StartApplet(host.Site());
    EXPECT_EQ(sph::theApplet->newGameSound, nullptr);
    EXPECT_EQ(sph::theApplet->freeMoveSound, nullptr);
    EXPECT_NE(sph::theApplet->gameOverSound, nullptr);
    Shell_StopApplet();

    std::vector<std::string> reduced;
    for (const Call& call : host.Calls()) reduced.push_back(WithoutIds(call));
    EXPECT_EQ(reduced, full);
    EXPECT_EQ(host.CallsTo("LoadSound").size(), 9u);
    EXPECT_TRUE(host.GetLedger().Clean()) << host.GetLedger().Report();
}

TEST(AppletTeardown, StopWithoutAnAppletReturnsZeroAndASecondStopDoesNothing) {
    EXPECT_EQ(Shell_StopApplet(), 0);

    TestHost host;
    Shell_StartApplet(host.Site());
    EXPECT_EQ(Shell_StopApplet(), 0);
    const size_t callsAfterFirstStop = host.Calls().size();
    EXPECT_EQ(Shell_StopApplet(), 0);
    EXPECT_EQ(host.Calls().size(), callsAfterFirstStop);
    EXPECT_TRUE(host.GetLedger().Clean()) << host.GetLedger().Report();
}

TEST(AppletRestart, StartingAgainAfterAStopBeginsAsAFreshlyLoadedLibrary) {
    TestHost host;
    Shell_StartApplet(host.Site());
    Shell_StopApplet();
    // What a first game and a half-typed credits word leave behind.
    sph::firstTick = false;
    sph::creditsKeyCount = 3;
    sph::animatedBubbles = false;
    Shell_StartApplet(host.Site());
    EXPECT_TRUE(sph::firstTick);
    EXPECT_EQ(sph::creditsKeyCount, 0);
    EXPECT_TRUE(sph::animatedBubbles);
    Shell_StopApplet();
    EXPECT_TRUE(host.GetLedger().Clean()) << host.GetLedger().Report();
}

}  // namespace
