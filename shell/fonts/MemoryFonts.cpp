// Fonts held in memory. A match names its font "face|bold|italic", which Open looks up.
#include "shell/fonts/MemoryFonts.h"

namespace shell::fonts {

namespace {
std::string NameOf(const std::string& face, bool bold, bool italic) {
    return face + "|" + (bold ? "1" : "0") + "|" + (italic ? "1" : "0");
}
}  // namespace

void MemoryFonts::Add(const std::string& face, bool bold, bool italic, std::vector<uint8_t> bytes) {
    Add(face, bold, italic, BytesFromVector(std::move(bytes)));
}

void MemoryFonts::Add(const std::string& face, bool bold, bool italic,
                      std::shared_ptr<const FontBytes> bytes) {
    if (bytes) fonts_[{face, bold, italic}] = std::move(bytes);
}

std::function<std::unique_ptr<FontSource>()> MemoryFonts::Arial(std::vector<uint8_t> regular,
                                                                std::vector<uint8_t> bold) {
    std::shared_ptr<const FontBytes> regularBytes =
        regular.empty() ? nullptr : BytesFromVector(std::move(regular));
    std::shared_ptr<const FontBytes> boldBytes =
        bold.empty() ? nullptr : BytesFromVector(std::move(bold));
    return [regularBytes, boldBytes]() -> std::unique_ptr<FontSource> {
        auto fonts = std::make_unique<MemoryFonts>();
        fonts->Add("Arial", false, false, regularBytes);
        fonts->Add("Arial", true, false, boldBytes);
        return fonts;
    };
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
