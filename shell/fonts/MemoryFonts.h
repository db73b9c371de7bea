// Fonts a host holds in memory, offered by face name: the font files a web page ships, or the
// bytes a test wants read. A style the face has no file for falls back to its regular file.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "shell/fonts/FontSource.h"

namespace shell::fonts {

class MemoryFonts : public FontSource {
public:
    // Offers `bytes` as `face` in the style the file itself has.
    void Add(const std::string& face, bool bold, bool italic, std::vector<uint8_t> bytes);
    void Add(const std::string& face, bool bold, bool italic,
             std::shared_ptr<const FontBytes> bytes);

    // A host's font source (HostOptions::fonts) offering "Arial" from the bytes of two font
    // files, regular and bold (a web page's Latin-1 cuts of Liberation Sans, which is drawn to
    // Arial's metrics); italics lean the regular and bold ones. The bytes are shared by every
    // source made, not copied.
    static std::function<std::unique_ptr<FontSource>()> Arial(std::vector<uint8_t> regular,
                                                              std::vector<uint8_t> bold);

    std::optional<FontMatch> Find(const std::string& face, bool bold, bool italic) override;
    std::shared_ptr<const FontBytes> Open(const FontMatch& match, std::string* error) override;

private:
    std::map<std::tuple<std::string, bool, bool>, std::shared_ptr<const FontBytes>> fonts_;
};

}  // namespace shell::fonts
