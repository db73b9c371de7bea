// The settings checks.
#include "shell/bot/StoreCheck.h"

#include <cstdint>
#include <fstream>
#include <sstream>

#include "shell/settings/SettingsFormat.h"

namespace shell::bot {

namespace {

constexpr size_t kLongestName = 20;

// A score as the game writes it: an optional minus and decimal digits that fit 32 bits.
std::optional<int64_t> ParseScore(const std::string& text) {
    size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
    if (i == text.size() || text.size() - i > 10) return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    if (text[0] == '-') value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return value;
}

}  // namespace

std::string CheckScoreTable(const Lookup& lookup) {
    int64_t above = INT64_MAX;
    for (int rank = 1; rank <= 5; ++rank) {
        const std::string nameKey = "Score" + std::to_string(rank) + "Name";
        const std::string scoreKey = "Score" + std::to_string(rank) + "Score";
        const std::optional<std::string> name = lookup(nameKey);
        const std::optional<std::string> score = lookup(scoreKey);
        if (!name) return nameKey + " is missing";
        if (!score) return scoreKey + " is missing";
        if (name->size() > kLongestName) {
            return nameKey + " is longer than " + std::to_string(kLongestName) + " characters";
        }
        const std::optional<int64_t> value = ParseScore(*score);
        if (!value) return scoreKey + " is not a score: \"" + *score + "\"";
        if (*value > above) {
            return scoreKey + " (" + *score + ") is higher than the score of rank " +
                   std::to_string(rank - 1);
        }
        above = *value;
    }
    return {};
}

std::string CheckSettingsFile(const std::string& path, const std::string& prefix) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "cannot read " + path;
    std::stringstream text;
    text << in.rdbuf();
    SettingsMap values;
    std::string error;
    if (!ParseSettings(text.str(), &values, &error)) return path + " does not parse: " + error;
    return CheckScoreTable([&](const std::string& key) -> std::optional<std::string> {
        const auto it = values.find(prefix + key);
        if (it == values.end()) return std::nullopt;
        return it->second;
    });
}

}  // namespace shell::bot
