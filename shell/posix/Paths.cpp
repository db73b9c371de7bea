// Folders of a desktop user.
#include "shell/posix/Paths.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace shell {

namespace {
// Makes every folder of `path` that is missing, private to the user.
bool MakeFolders(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i != path.size() && path[i] != '/') continue;
        const std::string part = path.substr(0, i);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}
}  // namespace

std::string DataFolder() {
    std::string base;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (xdg != nullptr && *xdg != '\0') {
        base = xdg;
    } else if (home != nullptr && *home != '\0') {
        base = std::string(home) + "/.local/share";
    } else {
        return {};
    }
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    const std::string folder = base + "/spherolette";
    if (!MakeFolders(folder)) return {};
    return folder + "/";
}

std::string DefaultSettingsPath() {
    const std::string folder = DataFolder();
    return folder.empty() ? "settings.txt" : folder + "settings.txt";
}

}  // namespace shell
