// The headless runner.
#include "shell/headless/HeadlessRunner.h"

#include "host/GameLook.h"
#include "shell/core/Latin1.h"
#include "shell/core/Log.h"
#include "shell/posix/Screenshots.h"

namespace shell {

namespace {
constexpr int kDragSteps = 8;
}

void HeadlessRunner::Settle() {
    host_.Update();
    if (composeEveryStep_) session_.Compose(nullptr);
}

void HeadlessRunner::Wait(int64_t ms) {
    AppletClock& clock = host_.Clock();
    const int64_t target = clock.Now() + ms;
    for (int guard = 0; guard < 10000000; ++guard) {
        const int64_t due = host_.NextDue();
        if (due < 0 || due > target) break;
        if (due > clock.Now()) time_.now += due - clock.Now();
        host_.Update();
    }
    if (target > clock.Now()) time_.now += target - clock.Now();
    Settle();
}

bool HeadlessRunner::Screenshot(const std::string& path, bool help) {
    session_.Compose(nullptr);
    return SavePicture(session_.Picture(help), path);
}

void HeadlessRunner::Drag(int x1, int y1, int x2, int y2) {
    session_.PointerDown(x1, y1);
    for (int i = 1; i <= kDragSteps; ++i) {
        session_.PointerMove(x1 + (x2 - x1) * i / kDragSteps, y1 + (y2 - y1) * i / kDragSteps);
    }
    session_.PointerUp(x2, y2);
}

bool HeadlessRunner::Run(const std::vector<ScriptCommand>& commands) {
    using Kind = ScriptCommand::Kind;
    bool ok = true;
    for (const ScriptCommand& c : commands) {
        const int* a = c.args;
        switch (c.kind) {
            case Kind::Press: session_.PointerDown(a[0], a[1]); break;
            case Kind::Move: session_.PointerMove(a[0], a[1]); break;
            case Kind::Release: session_.PointerUp(a[0], a[1]); break;
            case Kind::Click:
                session_.PointerDown(a[0], a[1]);
                session_.PointerUp(a[0], a[1]);
                break;
            case Kind::Drag: Drag(a[0], a[1], a[2], a[3]); break;
            case Kind::DragCell: {
                using namespace host::look;
                const auto middle = [](int cell, bool vertical) {
                    return (vertical ? BubbleTop(cell / kBoardSide) : BubbleLeft(cell % kBoardSide)) +
                           kBubbleSize / 2;
                };
                Drag(middle(a[0], false), middle(a[0], true), middle(a[1], false), middle(a[1], true));
                break;
            }
            case Kind::Key:
                for (char ch : Utf8ToLatin1(c.text)) session_.Typed(static_cast<uint8_t>(ch));
                break;
            case Kind::Help: session_.HelpKey(); break;
            case Kind::Wait: Wait(a[0]); break;
            case Kind::Answer: dialogs_.QueueAnswer(a[0]); break;
            case Kind::Input: dialogs_.QueueText(Utf8ToLatin1(c.text)); break;
            case Kind::Screenshot: ok = Screenshot(c.text, false) && ok; break;
            case Kind::ScreenshotHelp: ok = Screenshot(c.text, true) && ok; break;
            case Kind::Quit:
                if (session_.RequestQuit()) {
                    quit_ = true;
                    return ok;
                }
                break;
        }
        Settle();
    }
    return ok;
}

}  // namespace shell
