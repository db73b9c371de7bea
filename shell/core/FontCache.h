// Fonts opened for drawing, cached by face, pixel size and style: the applet makes a font
// object for nearly every text it draws, so a face is read once and a size once, and a Font
// object itself is only a description.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

#include "shell/core/Pixmap.h"
#include "shell/fonts/FontSource.h"
#include "shell/fonts/SizedFont.h"

namespace shell {

class FontCache {
public:
    // Fonts from `source`; none at all when it is null.
    explicit FontCache(std::unique_ptr<fonts::FontSource> source);
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // Finds `face` in its four styles and reads its upright ones now, so later text need not
    // wait for them. A front end may run it on another thread: every other call waits until it
    // is done.
    void Preload(const std::string& face);

    // Whether text in this face, size and host style bits can be drawn (a font file exists
    // and could be read).
    bool Available(const std::string& face, int32_t size, int32_t style);

    // Width and height of the line box of `text` (Latin-1); 0 x size when no font exists.
    void Measure(const std::string& face, int32_t size, int32_t style, const std::string& text,
                 int32_t* width, int32_t* height);
    // Draws `text` with the top-left of its line box at (x, y); returns the touched area.
    Rect Draw(Pixmap& target, const std::string& face, int32_t size, int32_t style,
              const std::string& text, int x, int y, uint8_t r, uint8_t g, uint8_t b);

private:
    using FaceKey = std::tuple<std::string, bool, bool>;
    struct Face {
        std::shared_ptr<const fonts::TrueTypeFace> face;  // null: none could be had
        fonts::FontMatch match;
    };

    const Face& FaceFor(const std::string& face, bool bold, bool italic);
    fonts::SizedFont* Sized(const std::string& face, int32_t size, int32_t style);

    std::mutex mutex_;
    std::unique_ptr<fonts::FontSource> source_;
    std::map<FaceKey, Face> faces_;
    std::map<std::string, std::shared_ptr<const fonts::TrueTypeFace>> files_;  // by file
    std::map<std::tuple<std::string, int32_t, int32_t>, std::unique_ptr<fonts::SizedFont>> sized_;
    std::map<std::string, bool> reported_;  // faces already described in the log
};

}  // namespace shell
