// The null front end: no window and no devices. Its real clock is virtual and moves only when
// told to (or when the shell waits on it); its input is a queue of records a script or a test
// puts there; what it is shown is kept, so a test can look at the pixels.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>

#include "shell/core/AppletClock.h"
#include "shell/session/Frontend.h"

namespace shell {

class HeadlessFrontend : public Frontend {
public:
    // `clock` is the virtual real time (the applet clock of a headless run may share it).
    explicit HeadlessFrontend(VirtualTime& clock, int width = 0, int height = 0)
        : clock_(clock), width_(width), height_(height) {}

    // Queues a record for the shell to read.
    void Push(const ShellEvent& event) { queue_.push_back(event); }
    size_t Pending() const { return queue_.size(); }
    // The last picture shown (the stage's size) and how many times something was shown.
    const Pixmap& Shown() const { return shown_; }
    int Presents() const { return presents_; }
    // Told every picture as it is shown (a test looks at a dialog while it is open).
    void OnPresent(std::function<void(const Pixmap& shown)> observer) { observer_ = std::move(observer); }

    int64_t RealMs() override { return clock_.now; }
    // The next queued record; with none, the virtual clock moves on by the time waited.
    bool WaitEvent(ShellEvent* event, int ms) override;
    void DrawableSize(int* width, int* height) override;
    void Present(const Pixmap& view, const DirtyRegion& changed, const Viewport& viewport,
                 bool all) override;
    void TextInput(bool on) override { textInput_ = on; }
    bool TextInputOn() const override { return textInput_; }
    std::string ClipboardText() override { return clipboard_; }
    void SetClipboard(std::string text) { clipboard_ = std::move(text); }

private:
    VirtualTime& clock_;
    int width_, height_;
    std::deque<ShellEvent> queue_;
    Pixmap shown_;
    int presents_ = 0;
    std::function<void(const Pixmap&)> observer_;
    bool textInput_ = true;
    std::string clipboard_;
};

}  // namespace shell
