// The recording test host itself: the behaviours every applet test leans on (the ledger,
// timers and subscriptions changed from inside callbacks, routing, scripted dialogs and the
// bounded copies into applet buffers).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/TestHost.h"

namespace {

using testhost::TestHost;

// ---- Ledger ----------------------------------------------------------------------------

TEST(TestHostLedger, CountsHandedReferencesAndRecordsOverReleasesWithoutCrashing) {
    TestHost host;
    host::Canvas* canvas = host.GetFactory()->CreateCanvas(10, 10, 0);
    EXPECT_FALSE(host.GetLedger().Clean());
    ASSERT_EQ(host.GetLedger().Live().size(), 1u);

    canvas->Release();
    EXPECT_TRUE(host.GetLedger().Clean());
    canvas->Release();  // one release too many
    host.MainStage()->Release();  // the site's own object
    ASSERT_EQ(host.GetLedger().OverReleased().size(), 2u);
    EXPECT_FALSE(host.GetLedger().Clean());
    EXPECT_NE(host.GetLedger().Report().find("over-released"), std::string::npos);
}

TEST(TestHostLedger, OutArgumentsAddAReferenceButInternalHoldingDoesNot) {
    TestHost host;
    host::Factory* factory = host.GetFactory();
    host::Font* font = factory->CreateFont("Arial", 18, host::kStyleBold);
    host::Canvas* canvas = nullptr;
    host.MainStage()->GetCanvas(&canvas);
    canvas->SetFont(font);
    font->Release();  // the canvas keeps using it
    host::Font* current = nullptr;
    canvas->GetFont(&current);
    EXPECT_EQ(current, font);
    EXPECT_EQ(host.GetLedger().Live().size(), 2u);  // the canvas and the font just given
    current->Release();
    canvas->Release();
    EXPECT_TRUE(host.GetLedger().Clean()) << host.GetLedger().Report();

    canvas->Clear(0, 0, 0);  // called after its last reference went back
    EXPECT_EQ(host.GetLedger().UsedAfterRelease().size(), 1u);
}

// ---- Timers ----------------------------------------------------------------------------

struct TimerLog {
    std::vector<std::string> fired;
    host::Timer* other = nullptr;
    host::Factory* factory = nullptr;
    host::Timer* made = nullptr;
};

int LogA(const host::Event* e) {
    auto* log = static_cast<TimerLog*>(e->context);
    log->fired.push_back("a" + std::to_string(e->value));
    return 0;
}

int LogB(const host::Event* e) {
    auto* log = static_cast<TimerLog*>(e->context);
    log->fired.push_back("b" + std::to_string(e->value));
    return 0;
}

int ReleaseOther(const host::Event* e) {
    auto* log = static_cast<TimerLog*>(e->context);
    log->fired.push_back("r" + std::to_string(e->value));
    if (log->other != nullptr) {
        log->other->Release();
        log->other = nullptr;
    }
    return 0;
}

int MakeAndStart(const host::Event* e) {
    auto* log = static_cast<TimerLog*>(e->context);
    log->fired.push_back("m" + std::to_string(e->value));
    if (log->made == nullptr) {
        log->made = log->factory->CreateTimer(log, 30, LogB);
        log->made->Start();
    }
    return 0;
}

TEST(TestHostTimers, FireInTimeOrderWithMillisecondsSinceStart) {
    TestHost host;
    TimerLog log;
    host::Timer* a = host.GetFactory()->CreateTimer(&log, 20, LogA);
    host::Timer* b = host.GetFactory()->CreateTimer(&log, 50, LogB);
    EXPECT_FALSE(host.IsStarted(a));
    host.Advance(100);
    EXPECT_TRUE(log.fired.empty()) << "made stopped";

    a->Start();
    host.Advance(10);
    b->Start();  // at 110
    host.Advance(90);  // to 200
    // At 160 both are due: the older timer goes first.
    EXPECT_EQ(log.fired, (std::vector<std::string>{"a20", "a40", "a60", "b50", "a80", "a100"}));
    log.fired.clear();
    a->Start();  // restarting counts afresh
    host.Advance(20);
    EXPECT_EQ(log.fired, (std::vector<std::string>{"b100", "a20"}));
    a->Release();
    b->Release();
    EXPECT_TRUE(host.GetLedger().Clean());
}

TEST(TestHostTimers, ATimerReleasedInACallbackNeverFiresAgainEvenInTheSameAdvance) {
    TestHost host;
    TimerLog log;
    host::Timer* releaser = host.GetFactory()->CreateTimer(&log, 10, ReleaseOther);
    log.other = host.GetFactory()->CreateTimer(&log, 10, LogA);
    releaser->Start();
    log.other->Start();
    host.Advance(50);
    // Both are due at 10; the older fires first and releases the other.
    EXPECT_EQ(log.fired, (std::vector<std::string>{"r10", "r20", "r30", "r40", "r50"}));
    EXPECT_EQ(host.Timers().size(), 1u);
    releaser->Release();
}

TEST(TestHostTimers, ATimerMadeInACallbackStartsFromThatMoment) {
    TestHost host;
    TimerLog log;
    log.factory = host.GetFactory();
    host::Timer* maker = host.GetFactory()->CreateTimer(&log, 25, MakeAndStart);
    maker->Start();
    host.Advance(100);
    // Made at 25: fires at 55 and 85 with values 30 and 60.
    EXPECT_EQ(log.fired,
              (std::vector<std::string>{"m25", "m50", "b30", "m75", "b60", "m100"}));
    maker->Release();
    log.made->Release();
    EXPECT_TRUE(host.GetLedger().Clean());
}

// ---- Subscriptions and routing ---------------------------------------------------------

struct Subscriber {
    std::vector<std::string>* log = nullptr;
    std::string name;
    host::Subscription* victim = nullptr;
};

int Note(const host::Event* e) {
    auto* s = static_cast<Subscriber*>(e->context);
    s->log->push_back(s->name + ":" + std::to_string(e->value) + "," + std::to_string(e->y));
    if (s->victim != nullptr) {
        s->victim->Release();
        s->victim = nullptr;
    }
    return 0;
}

TEST(TestHostSubscriptions, SkipThoseReleasedDuringADelivery) {
    TestHost host;
    std::vector<std::string> log;
    Subscriber first{&log, "first", nullptr};
    Subscriber second{&log, "second", nullptr};
    host::Factory* factory = host.GetFactory();
    host::Subscription* a = factory->Subscribe(host.Frame(), host::kEventKeyTyped, &first, Note);
    host::Subscription* b = factory->Subscribe(host.Frame(), host::kEventKeyTyped, &second, Note);
    first.victim = b;
    host.TypeKey('\xe9');  // Latin-1 characters arrive as 0..255
    EXPECT_EQ(log, (std::vector<std::string>{"first:233,0"}));
    a->Release();
    host.TypeKey('x');
    EXPECT_EQ(log.size(), 1u);
    EXPECT_TRUE(host.GetLedger().Clean());
}

TEST(TestHostRouting, PressesGoToTheTopmostShownSpriteAndStayCapturedUntilRelease) {
    TestHost host;
    host::Factory* factory = host.GetFactory();
    host::Sprite* below = factory->LoadImage("p-img-Bubble0.gif", 0);
    host::Sprite* above = factory->LoadImage("P-IMG-BUBBLE1.GIF", 0);
    host::Sprite* hidden = factory->LoadImage("p-img-Bubble2.gif", 0);
    below->MoveTo(100, 100, 0);
    above->MoveTo(110, 110, 0);
    hidden->MoveTo(110, 110, 0);
    host.MainStage()->AddSprite(below);
    host.MainStage()->AddSprite(above);
    EXPECT_EQ(host.Info(above).width, 32);
    EXPECT_EQ(host.Info(above).frameCount, 8);

    std::vector<std::string> log;
    Subscriber onBelow{&log, "below", nullptr};
    Subscriber onAbove{&log, "above", nullptr};
    Subscriber onHidden{&log, "hidden", nullptr};
    std::vector<host::Subscription*> subscriptions;
    for (int code : {host::kEventPointerPressed, host::kEventPointerMoved,
                     host::kEventPointerReleased}) {
        subscriptions.push_back(factory->Subscribe(below, code, &onBelow, Note));
        subscriptions.push_back(factory->Subscribe(above, code, &onAbove, Note));
        subscriptions.push_back(factory->Subscribe(hidden, code, &onHidden, Note));
    }

    EXPECT_TRUE(host.PressAt(115, 112));
    above->MoveTo(200, 200, 0);  // moved by its handler: later events follow its new place
    host.MoveTo(300, 10);        // far outside it: still captured
    host.ReleaseAt(205, 201);
    EXPECT_EQ(log, (std::vector<std::string>{"above:5,2", "above:100,-190", "above:5,1"}));

    log.clear();
    EXPECT_TRUE(host.PressAt(101, 131));  // only the lower one is here now
    host.ReleaseAt(101, 131);
    EXPECT_EQ(log, (std::vector<std::string>{"below:1,31", "below:1,31"}));
    EXPECT_FALSE(host.PressAt(0, 0));

    for (host::Subscription* s : subscriptions) s->Release();
    for (host::Sprite* s : {below, above, hidden}) s->Release();
    EXPECT_TRUE(host.GetLedger().Clean()) << host.GetLedger().Report();
}

int Clicked(const host::Event* e) {
    static_cast<std::vector<int>*>(e->context)->push_back(e->value);
    return 0;
}

TEST(TestHostRouting, ButtonsAreClickedByPositionWithTheirId) {
    TestHost host;
    std::vector<int> clicks;
    host::Canvas* picture = host.GetFactory()->CreateCanvas(80, 20, 0);
    host::Button* button = host.GetFactory()->CreateButton(host.MainStage(), &clicks, 50, 60,
                                                           40, 20, picture, 0, 3, Clicked);
    EXPECT_TRUE(host.ClickAt(89, 79));
    EXPECT_FALSE(host.ClickAt(90, 79));  // the right edge is outside
    host.PressAt(55, 65);
    host.ReleaseAt(10, 10);  // released elsewhere: no click
    host.PressAt(55, 65);
    host.ReleaseAt(56, 66);
    EXPECT_EQ(clicks, (std::vector<int>{3, 3}));
    host.MainStage()->RemoveSprite(button);
    EXPECT_FALSE(host.ClickAt(60, 70));
    button->Release();
    picture->Release();
    EXPECT_TRUE(host.GetLedger().Clean());
}

// ---- Dialogs, settings, pictures and text ----------------------------------------------

TEST(TestHostDialogs, AnswerFromTheQueuesAndCopyAtMostTheLimit) {
    TestHost host;
    host::ShellFrame* frame = host.Frame();
    EXPECT_EQ(frame->MessageBox("t", "q", host::kMessageBoxAskYesNo), host::kAnswerNo);
    EXPECT_EQ(frame->MessageBox("t", "i", host::kMessageBoxInformAlt), host::kAnswerYes);
    host.QueueMessageBoxAnswer(host::kAnswerYes);
    EXPECT_EQ(frame->MessageBox("t", "q", host::kMessageBoxAskYesNo), host::kAnswerYes);

    char out[8];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(frame->InputBox("t", "p", "Name", out, 4, 1), 2);  // nothing queued: cancelled
    EXPECT_EQ(out[0], '#');
    host.QueueInputBoxText("Alexander");
    EXPECT_EQ(frame->InputBox("t", "p", "Name", out, 4, 1), 1);
    EXPECT_STREQ(out, "Alex");
    EXPECT_EQ(out[5], '#');
}

TEST(TestHostSettings, ReadsCutLongValuesAndLeaveTheBufferAloneForAbsentKeys) {
    TestHost host;
    host.Settings()["Long"] = std::string(400, 'v');
    std::vector<char> out(host::kSettingsValueCapacity + 16, '#');
    EXPECT_EQ(host.Store()->ReadString("Long", out.data()), 0);
    EXPECT_EQ(std::strlen(out.data()), 255u);
    EXPECT_EQ(out[256], '#');
    out[0] = '#';
    EXPECT_EQ(host.Store()->ReadString("Absent", out.data()), host::kSettingsKeyAbsent);
    EXPECT_EQ(out[0], '#');
}

TEST(TestHostPictures, KnowTheRealAssetsIgnoringCaseAndLabelUnknownNames) {
    TestHost host;
    host::Sprite* sampler = host.GetFactory()->LoadImage("p-Mini-Sampler.GIF", 0);
    EXPECT_EQ(host.Info(sampler).label, "P-MINI-SAMPLER.GIF");
    EXPECT_EQ(host.Info(sampler).frameCount, 24);
    EXPECT_EQ(host.Info(sampler).width, 80);
    host::Sprite* unknown = host.GetFactory()->LoadImage("p-img-Nothing.gif", 0);
    EXPECT_EQ(host.Info(unknown).label.rfind("UNKNOWN:", 0), 0u);
    host.SetPicture("p-img-logo-big", 10, 11, 3);
    host::Sprite* logo = host.GetFactory()->LoadImage("p-img-logo-big", 0);
    EXPECT_EQ(host.Info(logo).height, 11);
    EXPECT_EQ(host.Info(logo).frameCount, 3);
    EXPECT_TRUE(host.SpritesOn(host.MainStage()).empty()) << "loaded images start hidden";
    for (host::Sprite* s : {sampler, unknown, logo}) s->Release();
}

TEST(TestHostText, DrawnTextCarriesTheFontAndColourInForce) {
    TestHost host;
    host::Canvas* canvas = host.GetFactory()->CreateCanvas(100, 40, 0);
    canvas->DrawText("plain text", 5, 1, 2);
    host::Font* font = host.GetFactory()->CreateFont(std::string(300, 'F').c_str(), 18, 3);
    canvas->SetFont(font);
    canvas->SetTextColor(1, 2, 3);
    canvas->DrawText("bold", 4, 3, 4);

    const auto& texts = host.TextsOn(canvas);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "plain");
    EXPECT_EQ(texts[0].face, "Arial");
    EXPECT_EQ(texts[0].fontSize, 12);
    EXPECT_EQ(texts[1].fontStyle, 3);
    EXPECT_EQ(texts[1].b, 3);

    host::Size size{};
    canvas->MeasureText(font, "abcd", 2, &size);
    EXPECT_EQ(size.width, TestHost::TextWidth(18, 3, 2));
    EXPECT_EQ(size.height, TestHost::TextHeight(18));

    std::vector<char> face(host::kFaceCapacity + 8, '#');
    int32_t fontSize = 0, step = 0, style = 0;
    font->GetInfo(face.data(), &fontSize, &step, &style);
    EXPECT_EQ(std::strlen(face.data()), 127u);
    EXPECT_EQ(face[host::kFaceCapacity], '#');
    EXPECT_EQ(step, 1);
    EXPECT_EQ(TestHost::StepForSize(9), 4);
    EXPECT_EQ(TestHost::StepForSize(100), 0);
    EXPECT_EQ(TestHost::StepForSize(1), 5);
    font->Release();
    canvas->Release();
}

}  // namespace
