// Fonts held in memory. A match names its font "face|bold|italic", which Open looks up.
#include "shell/fonts/MemoryFonts.h"

namespace shell::fonts {

namespace {
std::string NameOf(const std::string& face, bool bold, bool italic) {
    return face + "|" + (bold ? "1" : "0") + "|" + (italic ? "1" : "0");
}
}  // namespace

void MemoryFonts::Add(const std::string& face, bool bold, bool italic, std::vector<uint8_t> bytes) {
    fonts_[{face, bold, italic}] = BytesFromVector(std::move(bytes));
}

std::optional<FontMatch> MemoryFonts::Find(const std::string& face, bool bold, bool italic) {
    // The nearest style the face has: the one asked for, then fewer of its styles.
    for (auto [b, i] : {std::pair{bold, italic}, {bold, false}, {false, italic}, {false, false}}) {
        if (fonts_.count({face, b, i}) == 0) continue;
        FontMatch match;
        match.file = NameOf(face, b, i);
        match.family = face;
        match.metricCompatible = true;
        match.bold = b;
        match.italic = i;
        return match;
    }
    return std::nullopt;
}

std::shared_ptr<const FontBytes> MemoryFonts::Open(const FontMatch& match, std::string* error) {
    for (const auto& [key, bytes] : fonts_) {
        if (NameOf(std::get<0>(key), std::get<1>(key), std::get<2>(key)) == match.file) return bytes;
    }
    if (error != nullptr) *error = "no such font in memory";
    return nullptr;
}

}  // namespace shell::fonts
