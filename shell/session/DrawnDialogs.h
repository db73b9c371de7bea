// Dialogs drawn over the game in its own look, each with its own loop over the front end's
// records. Nothing of the applet runs while one is open (the host holds the applet clock).
#pragma once

#include "shell/core/FontCache.h"
#include "shell/session/DialogBox.h"
#include "shell/core/Dialogs.h"
#include "shell/session/EventFeed.h"
#include "shell/session/Viewport.h"

namespace shell {

class DrawnDialogs : public Dialogs {
public:
    // `backdrop` is the picture the dialogs are drawn over (the session's frame).
    DrawnDialogs(EventFeed& feed, Viewport& viewport, FontCache& fonts, const Pixmap& backdrop)
        : feed_(feed), viewport_(viewport), fonts_(fonts), backdrop_(backdrop) {}

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
    void PresentAll(const Pixmap& view);

    EventFeed& feed_;
    Viewport& viewport_;
    FontCache& fonts_;
    const Pixmap& backdrop_;
    bool closeRequested_ = false;
    bool terminated_ = false;
};

}  // namespace shell
