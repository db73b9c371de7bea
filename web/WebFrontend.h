// The web page's front end: the page's records (pointer, keys, text, visibility, size) read
// from the queue web/page/Page.js fills, frames put on its canvas, the page's clock. Waiting
// gives the browser its turn (the module sleeps through ASYNCIFY until a record or a frame
// comes), so the loop and the dialogs' nested loops are plain loops here as in the window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/session/Frontend.h"
#include "shell/session/StageScaler.h"

namespace shell {

class WebFrontend : public Frontend {
public:
    int64_t RealMs() override;
    bool WaitEvent(ShellEvent* event, int ms) override;
    void DrawableSize(int* width, int* height) override;
    void Present(const Pixmap& view, const DirtyRegion& changed, const Viewport& viewport,
                 bool all) override;
    void SetTitle(const std::string& title) override;
    void ToggleFullscreen() override;
    bool Fullscreen() const override;
    void TextInput(bool on) override;
    bool TextInputOn() const override { return textInput_; }

    // One record of the page's queue as the shell's; false when it has none for the shell.
    static bool Translate(const int32_t record[8], const char* text, ShellEvent* out);

private:
    bool NextRecord(ShellEvent* event);
    void Put(const Pixmap& view, const Rect& area, const Viewport& viewport);

    StageScaler scaler_;
    std::vector<uint32_t> pixels_;
    bool textInput_ = false;
    bool shown_ = false;  // a whole frame has been presented
};

}  // namespace shell
