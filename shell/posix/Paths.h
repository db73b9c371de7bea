// Where the program keeps things on a desktop: the user's data folder (settings and scores).
#pragma once

#include <string>

namespace shell {

// $XDG_DATA_HOME/spherolette/ or ~/.local/share/spherolette/, made when missing (with a
// trailing slash); empty when there is no home to put it in or it cannot be made.
std::string DataFolder();
// The settings file in the data folder; "settings.txt" in the working folder without one.
std::string DefaultSettingsPath();

}  // namespace shell
