// Dialogs drawn over the game in its own look, each with its own loop over the front end's
// records. Nothing of the applet runs while one is open (the host holds the applet clock).
// They sit on the board's side of the stage, never over the panels beside it, so the score
// stays readable: above the board where they fit (the board then shows whole, as at the end of
// a game), otherwise over it.
#pragma once

#include "shell/core/Dialogs.h"
#include "shell/core/FontCache.h"
#include "shell/session/DialogBox.h"
#include "shell/session/EventFeed.h"
#include "shell/session/Viewport.h"

namespace shell {

class DrawnDialogs : public Dialogs {
public:
    // `backdrop` is the picture the dialogs are drawn over (the session's frame).
    DrawnDialogs(EventFeed& feed, Viewport& viewport, FontCache& fonts, const Pixmap& backdrop)
        : feed_(feed), viewport_(viewport), fonts_(fonts), backdrop_(backdrop) {}

    bool Message(const std::string& title, const std::string& text, bool ask) override;
    // The name prompt: always answers (there is no cancel); see DialogBox::Prompt.
    bool Input(const std::string& title, const std::string& prompt, std::string* text,
               int limit) override;
    // True once when the window was closed while a question was open (the loop then asks
    // whether to quit, as for any close).
    bool CloseRequested() const { return closeRequested_; }
    bool TakeCloseRequest() {
        const bool r = closeRequested_;
        closeRequested_ = false;
        return r;
    }
    // The program is to end without asking anything more: it was told to (a signal, the
    // session ending), or the window was closed while the name prompt was open. Questions the
    // game asks from then on answer No unseen.
    bool QuitDecided() const { return quitDecided_; }

    // Where the dialogs go on the stage: the band above the board when the box fits there,
    // the board otherwise.
    static Rect Above();
    static Rect Area();
    // Lays `box` out in the first of those places it fits.
    static void Place(DialogBox& box);

private:
    int Run(DialogBox& box);
    void PresentAll(const Pixmap& view);

    EventFeed& feed_;
    Viewport& viewport_;
    FontCache& fonts_;
    const Pixmap& backdrop_;
    bool closeRequested_ = false;
    bool quitDecided_ = false;
};

}  // namespace shell
