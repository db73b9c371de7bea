// Screenshots.
#include "shell/posix/Screenshots.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "shell/core/Log.h"
#include "shell/media/Png.h"
#include "shell/posix/Paths.h"

namespace shell {

bool SavePicture(const Pixmap& picture, const std::string& path) {
    std::string error;
    const std::vector<uint8_t> rgba = picture.ToRgba();
    if (!media::WritePng(path, picture.Width(), picture.Height(), rgba.data(), &error)) {
        Log("cannot write screenshot %s: %s", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

std::string PicturesFolder(const std::string& fallback) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string dir;
    if (FILE* p = popen("xdg-user-dir PICTURES 2>/dev/null", "r")) {
        char line[4096] = {0};
        if (std::fgets(line, sizeof line, p) != nullptr) dir = line;
        pclose(p);
        while (!dir.empty() && (dir.back() == '\n' || dir.back() == '\r')) dir.pop_back();
    }
    if (!dir.empty() && fs::is_directory(dir, ec)) return dir;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        const std::string pictures = std::string(home) + "/Pictures";
        if (fs::is_directory(pictures, ec)) return pictures;
    }
    return fallback;
}

std::string ScreenshotPath(const std::string& folder) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    const std::string base = folder + "/spherolette-" + stamp;
    std::error_code ec;
    std::string path = base + ".png";
    for (int n = 2; std::filesystem::exists(path, ec) && n < 1000; ++n) {
        path = base + "-" + std::to_string(n) + ".png";
    }
    return path;
}

std::string SaveScreenshot(const Pixmap& picture) {
    std::string fallback = DataFolder();
    while (fallback.size() > 1 && fallback.back() == '/') fallback.pop_back();
    if (fallback.empty()) fallback = ".";
    const std::string path = ScreenshotPath(PicturesFolder(fallback));
    return SavePicture(picture, path) ? path : std::string();
}

}  // namespace shell
