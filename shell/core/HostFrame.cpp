// Frame calls. Dialogs hold the applet clock for as long as they are open: timers and
// animations stop, and no callback runs until the answer is given.
#include "shell/core/HostFrame.h"

#include <cstring>

#include "shell/core/Trace.h"

namespace shell {

namespace {
std::string Str(const char* s) { return s != nullptr ? s : ""; }

// Holds the applet clock for one scope.
class ClockHold {
public:
    explicit ClockHold(AppletClock& clock) : clock_(clock) { clock_.Hold(); }
    ~ClockHold() { clock_.Resume(); }
    ClockHold(const ClockHold&) = delete;
    ClockHold& operator=(const ClockHold&) = delete;

private:
    AppletClock& clock_;
};
}  // namespace

HostFrame::HostFrame(ObjectSpace& space, AppletClock& clock, Dialogs* dialogs)
    : HostObject(space, "ShellFrame", {}, /*siteOwned=*/true), clock_(clock), dialogs_(dialogs) {}

int32_t HostFrame::SetTitle(const char* name) {
    TraceCall(this, "SetTitle", name);
    title_ = Str(name);
    if (onTitle_) onTitle_(title_);
    return 0;
}

void HostFrame::SetGameActive(int32_t active) {
    TraceCall(this, "SetGameActive", active);
    gameActive_ = active != 0;
}

void HostFrame::Configure(int32_t value) { TraceCall(this, "Configure", value); }

bool HostFrame::Ask(const std::string& title, const std::string& text) {
    if (beforeDialog_) beforeDialog_();
    ClockHold hold(clock_);
    return dialogs_ != nullptr && dialogs_->Message(title, text, true);
}

void HostFrame::Tell(const std::string& title, const std::string& text) {
    if (beforeDialog_) beforeDialog_();
    ClockHold hold(clock_);
    if (dialogs_ != nullptr) dialogs_->Message(title, text, false);
}

int32_t HostFrame::MessageBox(const char* title, const char* text, int32_t buttons) {
    TraceCall(this, "MessageBox", title, text, buttons);
    const bool ask = buttons == host::kMessageBoxAskYesNo;
    bool yes = !ask;
    if (dialogs_ != nullptr) {
        if (beforeDialog_) beforeDialog_();
        ClockHold hold(clock_);
        yes = dialogs_->Message(Str(title), Str(text), ask);
    }
    if (!ask) return host::kAnswerYes;
    if (answered_) answered_(false, yes, {});
    return yes ? host::kAnswerYes : host::kAnswerNo;
}

int32_t HostFrame::InputBox(const char* title, const char* prompt, const char* initial,
                            char* out, int32_t limit, int32_t flags) {
    TraceCall(this, "InputBox", title, prompt, initial, limit, flags);
    const size_t max = limit > 0 ? static_cast<size_t>(limit) : 0;
    std::string text = Str(initial);
    if (text.size() > max) text.resize(max);
    bool ok = false;
    if (dialogs_ != nullptr) {
        if (beforeDialog_) beforeDialog_();
        ClockHold hold(clock_);
        ok = dialogs_->Input(Str(title), Str(prompt), &text, static_cast<int>(max));
    }
    if (answered_) answered_(true, ok, ok ? text : std::string());
    if (!ok) return 2;
    // The field may hold no NUL; cut at one anyway so the copy is what the applet reads.
    text.resize(std::min(strnlen(text.c_str(), text.size()), max));
    if (out != nullptr) {
        std::memcpy(out, text.data(), text.size());
        out[text.size()] = '\0';
    }
    return 1;
}

}  // namespace shell
