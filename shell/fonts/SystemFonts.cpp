// Remembered lookups and mapped font files.
//
// The memory file has one line per lookup: face, bold, italic, file, family, metric-compatible,
// file bold, file italic, file size and modification time, tab-separated; the first line is a
// stamp of fontconfig's configuration. A changed configuration sends every lookup back to
// fontconfig, a changed or missing font file its own lookup; a damaged line is skipped.
#include "shell/fonts/SystemFonts.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "shell/fonts/Fontconfig.h"

namespace shell::fonts {

std::function<std::unique_ptr<FontSource>()> SystemFonts::Source(std::string memoryFile) {
    return [memoryFile] { return std::make_unique<SystemFonts>(memoryFile); };
}

std::string SystemFonts::DefaultMemoryFile() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (xdg != nullptr && *xdg != '\0') return std::string(xdg) + "/spherolette/fonts.txt";
    if (home != nullptr && *home != '\0') return std::string(home) + "/.cache/spherolette/fonts.txt";
    return {};
}

std::string SystemFonts::FileStamp(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return "-";
    return std::to_string(st.st_size) + "/" + std::to_string(st.st_mtim.tv_sec) + "." +
           std::to_string(st.st_mtim.tv_nsec);
}

std::string SystemFonts::ConfigurationStamp() {
    std::string stamp = "v1";
    const char* home = std::getenv("HOME");
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string user = xdg != nullptr && *xdg != '\0' ? std::string(xdg) + "/fontconfig"
                             : home != nullptr            ? std::string(home) + "/.config/fontconfig"
                                                          : std::string();
    for (const std::string& p : {std::string("/etc/fonts/fonts.conf"), std::string("/etc/fonts/conf.d"),
                                 std::string("/etc/fonts/local.conf"), user,
                                 std::string("/usr/share/fonts"), std::string("/usr/local/share/fonts")}) {
        stamp += " " + FileStamp(p);
    }
    const char* env = std::getenv("FONTCONFIG_FILE");
    if (env != nullptr) stamp += std::string(" ") + env;
    return stamp;
}

namespace {

constexpr size_t kMaxFontFile = size_t(256) << 20;

class MappedFile : public FontBytes {
public:
    MappedFile(void* data, size_t size) : data_(data), size_(size) {}
    ~MappedFile() override { munmap(data_, size_); }
    const uint8_t* Data() const override { return static_cast<const uint8_t*>(data_); }
    size_t Size() const override { return size_; }

private:
    void* data_;
    size_t size_;
};

}  // namespace

SystemFonts::SystemFonts(std::string memoryFile) : memoryFile_(std::move(memoryFile)) {}

void SystemFonts::Load() {
    loaded_ = true;
    if (memoryFile_.empty()) return;
    std::ifstream in(memoryFile_);
    std::string line;
    if (!std::getline(in, line) || line != ConfigurationStamp()) return;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '\t')) f.push_back(field);
        // A file that is gone, or is not the one remembered, is looked up again.
        if (f.size() != 9 || f[3].empty() || f[8] == "-" || FileStamp(f[3]) != f[8]) continue;
        FontMatch m;
        m.file = f[3];
        m.family = f[4];
        m.metricCompatible = f[5] == "1";
        m.bold = f[6] == "1";
        m.italic = f[7] == "1";
        remembered_.emplace(std::make_tuple(f[0], f[1] == "1", f[2] == "1"), m);
    }
}

std::optional<FontMatch> SystemFonts::Find(const std::string& face, bool bold, bool italic) {
    if (!loaded_) Load();
    const auto key = std::make_tuple(face, bold, italic);
    auto it = remembered_.find(key);
    if (it != remembered_.end()) return it->second;
    std::optional<FontMatch> match = FindWithFontconfig(face, bold, italic);
    if (match) {
        remembered_.emplace(key, *match);
        changed_ = true;
    }
    return match;
}

void SystemFonts::Save() {
    if (!changed_ || memoryFile_.empty()) return;
    changed_ = false;
    std::string text = ConfigurationStamp() + "\n";
    for (const auto& [key, match] : remembered_) {
        const std::string& face = std::get<0>(key);
        if (face.find_first_of("\t\n") != std::string::npos ||
            (match.file + match.family).find_first_of("\t\n") != std::string::npos) {
            continue;
        }
        text += face + "\t" + (std::get<1>(key) ? "1" : "0") + "\t" + (std::get<2>(key) ? "1" : "0") +
                "\t" + match.file + "\t" + match.family + "\t" + (match.metricCompatible ? "1" : "0") +
                "\t" + (match.bold ? "1" : "0") + "\t" + (match.italic ? "1" : "0") + "\t" +
                FileStamp(match.file) + "\n";
    }
    // Written beside and renamed over, so a reader never sees half a file.
    const size_t slash = memoryFile_.rfind('/');
    if (slash != std::string::npos) {
        const std::string dir = memoryFile_.substr(0, slash);
        for (size_t i = 1; i <= dir.size(); ++i) {
            if (i == dir.size() || dir[i] == '/') mkdir(dir.substr(0, i).c_str(), 0755);
        }
    }
    const std::string temporary = memoryFile_ + ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << text;
        if (!out) {
            std::remove(temporary.c_str());
            return;
        }
    }
    if (std::rename(temporary.c_str(), memoryFile_.c_str()) != 0) std::remove(temporary.c_str());
}

std::shared_ptr<const FontBytes> SystemFonts::Open(const FontMatch& match, std::string* error) {
    auto fail = [error](std::string why) -> std::shared_ptr<const FontBytes> {
        if (error != nullptr) *error = std::move(why);
        return nullptr;
    };
    // Not blocking: a remembered path could have become a pipe.
    const int fd = open(match.file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return fail("cannot be opened");
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        size_t(st.st_size) > kMaxFontFile) {
        close(fd);
        return fail("is not a font-sized file");
    }
    const size_t size = size_t(st.st_size);
    void* data = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (data == MAP_FAILED) return fail("cannot be mapped");
    return std::make_shared<MappedFile>(data, size);
}

}  // namespace shell::fonts
