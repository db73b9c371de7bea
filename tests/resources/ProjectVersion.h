// The project's version as CMake's project() line gives it, and the same version in the
// game's own form of two digits a part, worked out here independently of the build.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>

namespace resources_test {

inline std::string ProjectVersion() { return SPHEROLETTE_PROJECT_VERSION; }

// "0.1.1.13" is "00.01.01.13"; missing parts count as 0.
inline std::string GameVersionText(const std::string& version) {
    std::istringstream in(version);
    std::string text, part;
    int parts = 0;
    while (parts < 4) {
        int value = 0;
        if (std::getline(in, part, '.')) value = std::stoi(part);
        char two[16];
        std::snprintf(two, sizeof two, "%02d", value);
        text += (parts > 0 ? "." : "") + std::string(two);
        ++parts;
    }
    return text;
}

}  // namespace resources_test
