// Opened TrueType fonts, cached by (file, pixel size, style): the applet makes a font object
// for nearly every text it draws, so opening happens once per face, size and style and a
// Font object itself is only a description.
#pragma once

#include <cstdint>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>

#include "shell/core/Pixmap.h"
#include "shell/media/Fonts.h"

typedef struct _TTF_Font TTF_Font;

namespace shell {

class FontCache {
public:
    FontCache();
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // Starts looking up `face` in its four styles on another thread (fontconfig takes a
    // while to load its caches); later lookups wait for it.
    void Prefetch(const std::string& face);

    // The font for a face at a pixel size with host style bits; null when no file exists.
    TTF_Font* Get(const std::string& face, int32_t size, int32_t style);
    // True when text in the face can be drawn at all.
    bool Available(const std::string& face, int32_t size, int32_t style) {
        return Get(face, size, style) != nullptr;
    }

    // Width and height of the line box of `text` (Latin-1); 0 x size when no font exists.
    void Measure(const std::string& face, int32_t size, int32_t style, const std::string& text,
                 int32_t* width, int32_t* height);
    // Draws `text` with the top-left of its line box at (x, y); returns the touched area.
    Rect Draw(Pixmap& target, const std::string& face, int32_t size, int32_t style,
              const std::string& text, int x, int y, uint8_t r, uint8_t g, uint8_t b);

    // Where fontconfig's answers are remembered between runs (empty: not remembered).
    // Loading fontconfig's configuration costs more than everything else at start-up, so a
    // run whose fonts and configuration are unchanged takes the files from here.
    void SetMemoryFile(std::string path);
    static std::string DefaultMemoryFile();

private:
    std::optional<media::FontMatch> Resolve(const std::string& face, bool bold, bool italic);
    void LoadMemory();
    void SaveMemory();

    bool ready_ = false;  // TTF_Init succeeded
    std::mutex mutex_;
    std::map<std::tuple<std::string, bool, bool>, std::optional<media::FontMatch>> matches_;
    std::future<void> prefetch_;
    std::map<std::tuple<std::string, int32_t, int32_t>, TTF_Font*> fonts_;
    std::map<std::string, bool> reported_;  // faces already described in the log
    std::string memoryFile_;
    bool memoryChanged_ = false;  // fontconfig answered something the file does not hold
};

}  // namespace shell
