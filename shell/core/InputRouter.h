// Pointer input on a stage, in stage pixels. A press goes to the topmost sprite whose pixel
// under the pointer is not fully transparent and captures the pointer: every move and the
// release go to that sprite, relative to its top-left at that moment, wherever the pointer
// is. A button shows its highlighted look while the pointer is over it and reports a click
// when a press and its release both land on it.
#pragma once

#include "shell/core/EventHub.h"
#include "shell/core/HostStage.h"

namespace shell {

class InputRouter {
public:
    InputRouter(HostStage& stage, EventHub& events) : stage_(stage), events_(events) {}
    ~InputRouter();
    InputRouter(const InputRouter&) = delete;
    InputRouter& operator=(const InputRouter&) = delete;

    void Press(int x, int y);
    void Move(int x, int y);
    void Release(int x, int y);
    // The pointer left the window with no button down: no button stays highlighted.
    void Leave();

    HostSprite* Captured() const { return captured_; }
    bool Pressed() const { return captured_ != nullptr; }
    // The id of the last button clicked, and how many clicks there were (0: none yet).
    int32_t LastClickId() const { return lastClickId_; }
    uint64_t Clicks() const { return clicks_; }
    // Forgets the press and the highlighted button (the applet that made them has stopped).
    void Reset();

private:
    void Hover(HostSprite* button);
    void Deliver(HostSprite* sprite, int32_t code, int x, int y);

    HostStage& stage_;
    EventHub& events_;
    HostSprite* captured_ = nullptr;  // holds a reference while captured
    HostSprite* hovered_ = nullptr;   // the highlighted button, holds a reference
    int32_t lastClickId_ = 0;
    uint64_t clicks_ = 0;
};

}  // namespace shell
