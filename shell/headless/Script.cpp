// Script parsing.
#include "shell/headless/Script.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace shell {

namespace {

struct Syntax {
    const char* name;
    ScriptCommand::Kind kind;
    int numbers;    // how many integer arguments
    bool text;      // takes the rest of the line as text
    bool needText;  // the text may not be empty
};

constexpr Syntax kSyntax[] = {
    {"press", ScriptCommand::Kind::Press, 2, false, false},
    {"move", ScriptCommand::Kind::Move, 2, false, false},
    {"release", ScriptCommand::Kind::Release, 2, false, false},
    {"click", ScriptCommand::Kind::Click, 2, false, false},
    {"drag", ScriptCommand::Kind::Drag, 4, false, false},
    {"key", ScriptCommand::Kind::Key, 0, true, true},
    {"help", ScriptCommand::Kind::Help, 0, false, false},
    {"wait", ScriptCommand::Kind::Wait, 1, false, false},
    {"answer", ScriptCommand::Kind::Answer, 1, false, false},
    {"input", ScriptCommand::Kind::Input, 0, true, false},
    {"screenshot", ScriptCommand::Kind::Screenshot, 0, true, true},
    {"screenshot-help", ScriptCommand::Kind::ScreenshotHelp, 0, true, true},
    {"quit", ScriptCommand::Kind::Quit, 0, false, false},
};

bool ParseInt(const std::string& word, int* out) {
    if (word.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < -1000000000L || v > 1000000000L) return false;
    *out = static_cast<int>(v);
    return true;
}

}  // namespace

bool ParseScript(const std::string& source, std::vector<ScriptCommand>* commands,
                 std::string* error) {
    std::istringstream lines(source);
    std::string raw;
    int number = 0;
    while (std::getline(lines, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const size_t start = raw.find_first_not_of(" \t");
        if (start == std::string::npos || raw[start] == '#') continue;
        const std::string line = raw.substr(start);
        const size_t nameEnd = line.find_first_of(" \t");
        const std::string name = line.substr(0, nameEnd);
        std::string rest = nameEnd == std::string::npos ? "" : line.substr(nameEnd + 1);
        auto fail = [&](const std::string& why) {
            *error = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        const Syntax* syntax = nullptr;
        for (const Syntax& s : kSyntax) {
            if (name == s.name) syntax = &s;
        }
        if (syntax == nullptr) return fail("unknown command \"" + name + "\"");
        ScriptCommand command;
        command.kind = syntax->kind;
        command.line = number;
        if (syntax->text) {
            command.text = rest;
            if (syntax->needText && rest.empty()) return fail(name + " needs a text");
        } else {
            std::istringstream words(rest);
            std::string word;
            int count = 0;
            while (words >> word) {
                if (count >= syntax->numbers || !ParseInt(word, &command.args[count])) {
                    return fail(name + " takes " + std::to_string(syntax->numbers) +
                                " whole numbers");
                }
                ++count;
            }
            if (count != syntax->numbers) {
                return fail(name + " takes " + std::to_string(syntax->numbers) + " whole numbers");
            }
            if (command.kind == ScriptCommand::Kind::Wait && command.args[0] < 0) {
                return fail("wait takes a time that is not negative");
            }
        }
        commands->push_back(std::move(command));
    }
    return true;
}

}  // namespace shell
