// The shell frame as the applet sees it: the title, the game-active flag, modal dialogs, and
// the source of key-typed and help-requested events.
#pragma once

#include <functional>
#include <string>

#include "host/Services.h"
#include "shell/core/AppletClock.h"
#include "shell/core/Dialogs.h"
#include "shell/core/ObjectBase.h"

namespace shell {

class HostFrame : public HostObject<host::ShellFrame> {
public:
    HostFrame(ObjectSpace& space, AppletClock& clock, Dialogs* dialogs);

    const std::string& Title() const { return title_; }
    bool GameActive() const { return gameActive_; }
    void SetDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }
    Dialogs* GetDialogs() const { return dialogs_; }
    // Told every answer the game's own questions and input boxes got (a recording keeps them).
    using AnswerObserver = std::function<void(bool inputBox, bool yes, const std::string& text)>;
    void OnAnswer(AnswerObserver observer) { answered_ = std::move(observer); }
    // Called when the applet sets its title (the window shows it).
    void OnTitle(std::function<void(const std::string&)> hook) { onTitle_ = std::move(hook); }
    // Called before any dialog opens, while the applet's time still runs: the shell puts a
    // carried bubble back and brings the picture up to date, so the dialog shows the game as
    // it is.
    void OnBeforeDialog(std::function<void()> hook) { beforeDialog_ = std::move(hook); }
    // A question of the shell's own (quit during a game), asked like the applet's.
    bool Ask(const std::string& title, const std::string& text);
    // A message of the shell's own, shown like the applet's.
    void Tell(const std::string& title, const std::string& text);

    int32_t SetTitle(const char* name) override;
    void SetGameActive(int32_t active) override;
    void Configure(int32_t value) override;
    int32_t MessageBox(const char* title, const char* text, int32_t buttons) override;
    int32_t InputBox(const char* title, const char* prompt, const char* initial, char* out,
                     int32_t limit, int32_t flags) override;

private:
    AppletClock& clock_;
    Dialogs* dialogs_;
    AnswerObserver answered_;
    std::string title_;
    bool gameActive_ = false;
    std::function<void(const std::string&)> onTitle_;
    std::function<void()> beforeDialog_;
};

}  // namespace shell
