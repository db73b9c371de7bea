// Scripted dialog answers.
#include "shell/core/Dialogs.h"

#include "shell/core/Log.h"

namespace shell {

bool ScriptedDialogs::Message(const std::string& title, const std::string& text, bool ask) {
    ++asked_;
    if (!ask) {
        Log("message \"%s\": \"%s\" -> OK", title.c_str(), text.c_str());
        return true;
    }
    bool yes = false;
    if (!answers_.empty()) {
        yes = answers_.front() == 1;
        answers_.pop_front();
    }
    Log("question \"%s\": \"%s\" -> %s", title.c_str(), text.c_str(), yes ? "Yes" : "No");
    return yes;
}

bool ScriptedDialogs::Input(const std::string& title, const std::string& prompt,
                            std::string* text, int limit) {
    ++asked_;
    if (texts_.empty()) {
        Log("input \"%s\": \"%s\" -> cancelled", title.c_str(), prompt.c_str());
        return false;
    }
    std::string answer = std::move(texts_.front());
    texts_.pop_front();
    if (limit >= 0 && answer.size() > static_cast<size_t>(limit)) answer.resize(limit);
    Log("input \"%s\": \"%s\" -> \"%s\"", title.c_str(), prompt.c_str(), answer.c_str());
    *text = std::move(answer);
    return true;
}

}  // namespace shell
