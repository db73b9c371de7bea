// Checks the bot makes on the settings store after every game: the file still parses, and
// the top-five table is whole and in order.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace shell::bot {

// Where the bot checks the store after each game: a settings file (read back from disk) and
// the prefix of the game's keys in it; with no file, the site's store as the game sees it.
struct StoreToCheck {
    std::string path;
    std::string prefix;
};

// A value of the game's settings by key; nothing when the key is absent.
using Lookup = std::function<std::optional<std::string>(const std::string& key)>;

// Empty when all ten table keys are there, every score is decimal text, every name is at most
// 20 characters and no score is higher than the one above it; otherwise what is wrong.
std::string CheckScoreTable(const Lookup& lookup);

// Reads the settings file at `path` from disk, parses it and checks the table among the keys
// that start with `prefix`. Empty when all is well.
std::string CheckSettingsFile(const std::string& path, const std::string& prefix);

}  // namespace shell::bot
