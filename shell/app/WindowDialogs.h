// Dialogs drawn inside the game window over the last frame, each with its own event loop.
// Nothing of the applet runs while one is open (the host holds the applet clock).
#pragma once

#include "shell/app/DialogBox.h"
#include "shell/app/Window.h"
#include "shell/core/Dialogs.h"
#include "shell/core/FontCache.h"

namespace shell {

class WindowDialogs : public Dialogs {
public:
    WindowDialogs(Window& window, FontCache& fonts, const Pixmap& backdrop)
        : window_(window), fonts_(fonts), backdrop_(backdrop) {}

    bool Message(const std::string& title, const std::string& text, bool ask) override;
    bool Input(const std::string& title, const std::string& prompt, std::string* text,
               int limit) override;
    // True once when the window was closed while a dialog was open.
    bool TakeCloseRequest() {
        const bool r = closeRequested_;
        closeRequested_ = false;
        return r;
    }
    // True once the program was told to end (a signal, the session ending) during a dialog.
    bool Terminated() const { return terminated_; }

private:
    int Run(DialogBox& box);

    Window& window_;
    FontCache& fonts_;
    const Pixmap& backdrop_;
    bool closeRequested_ = false;
    bool terminated_ = false;
};

}  // namespace shell
