// Pictures by name from the applet library's resources: each name is found ignoring case and
// decoded once; every frame list made from it shares the decoded frames. A name that is
// missing or does not decode gives a visible placeholder and one line in the log.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/Resources.h"
#include "shell/core/Pixmap.h"

namespace shell {

struct DecodedImage {
    std::string name;                            // as first asked for
    std::vector<std::shared_ptr<Pixmap>> frames;  // never empty
    std::vector<int> delaysMs;                    // per frame; a 0 delay counts as 100 ms
    bool loops = false;                           // the file asks to repeat
    bool placeholder = false;
};

// Finds a named raw-data resource ignoring case; null when there is none.
const host::ResourceEntry* FindResource(const host::ResourceDirectory* directory,
                                        const char* name);
// Finds a string of the string table; null when there is none.
const char* FindString(const host::ResourceDirectory* directory, uint32_t id);

class ImageLibrary {
public:
    // Pictures by upper-case name.
    using Decoded = std::map<std::string, std::shared_ptr<const DecodedImage>>;

    explicit ImageLibrary(const host::ResourceDirectory* directory) : directory_(directory) {}
    ImageLibrary(const ImageLibrary&) = delete;
    ImageLibrary& operator=(const ImageLibrary&) = delete;

    // Decodes every picture resource of `directory` but the bubbles drawn with symbols, shown
    // only when the player turns them on (those, and the pictures that do not decode, Load
    // decodes when asked, and says why one cannot be had).
    static Decoded DecodeAll(const host::ResourceDirectory* directory);
    // Pictures decoded elsewhere (DecodeAll on another thread, so start-up can open the window
    // meanwhile): the first Load takes them from `pending`, which may wait for them.
    void Expect(std::function<Decoded()> pending) { pending_ = std::move(pending); }

    std::shared_ptr<const DecodedImage> Load(const char* name);
    // Pictures asked for by one name are taken from another (names in any case), e.g. a
    // bubble set drawn with symbols in place of the plain one. Applies to later loads.
    void SetSubstitutes(const std::map<std::string, std::string>& substitutes);
    // The magenta cross shown for pictures that cannot be had.
    static std::shared_ptr<DecodedImage> Placeholder(const std::string& name);
    // The pictures decoded so far (for accounting of memory).
    const Decoded& Pictures() const { return cache_; }
    // Bytes of their frames' pixels.
    size_t Bytes() const;

private:
    static std::shared_ptr<const DecodedImage> Decode(const host::ResourceEntry& entry,
                                                      const std::string& name, std::string* error);
    const host::ResourceDirectory* directory_;
    std::function<Decoded()> pending_;
    Decoded cache_;                                                     // upper-case name
    std::map<std::string, std::string> substitutes_;                    // upper-case names
};

}  // namespace shell
