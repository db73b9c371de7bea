// How the shell asks the player something: drawn boxes in a window, or scripted answers in a
// headless run. The applet clock is held while a dialog is open, so no callback runs.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace shell {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message; with `ask` the answer is true for Yes, false for No (Escape or closing is No).
    virtual bool Message(const std::string& title, const std::string& text, bool ask) = 0;
    // A single-line field holding `*text` (at most `limit` characters); true with the edited
    // text on OK or Enter, false (text left as it was) on Cancel or Escape.
    virtual bool Input(const std::string& title, const std::string& prompt, std::string* text,
                       int limit) = 0;
};

// Answers from queues, logging each question: Yes/No answers (1 = Yes, anything else No;
// an empty queue answers No) and texts for input boxes (an empty queue cancels).
class ScriptedDialogs : public Dialogs {
public:
    void QueueAnswer(int32_t answer) { answers_.push_back(answer); }
    void QueueText(std::string text) { texts_.push_back(std::move(text)); }
    int Asked() const { return asked_; }

    bool Message(const std::string& title, const std::string& text, bool ask) override;
    bool Input(const std::string& title, const std::string& prompt, std::string* text,
               int limit) override;

private:
    std::deque<int32_t> answers_;
    std::deque<std::string> texts_;
    int asked_ = 0;
};

}  // namespace shell
