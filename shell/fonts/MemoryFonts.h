// Fonts a host holds in memory, offered by face name: the font files a web page ships, or the
// bytes a test wants read. A style the face has no file for falls back to its regular file.
#pragma once

#include <map>
#include <tuple>
#include <vector>

#include "shell/fonts/FontSource.h"

namespace shell::fonts {

class MemoryFonts : public FontSource {
public:
    // Offers `bytes` as `face` in the style the file itself has.
    void Add(const std::string& face, bool bold, bool italic, std::vector<uint8_t> bytes);

    std::optional<FontMatch> Find(const std::string& face, bool bold, bool italic) override;
    std::shared_ptr<const FontBytes> Open(const FontMatch& match, std::string* error) override;

private:
    std::map<std::tuple<std::string, bool, bool>, std::shared_ptr<const FontBytes>> fonts_;
};

}  // namespace shell::fonts
