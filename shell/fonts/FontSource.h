// Where a host's fonts come from: a face name and style lead to a font (a FontMatch), whose
// bytes are then opened. A desktop asks the system (SystemFonts); a host that carries its own
// font files offers them from memory (MemoryFonts).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "shell/fonts/FontBytes.h"

namespace shell::fonts {

struct FontMatch {
    std::string file;              // where the bytes are: a path, or a name the source knows
    std::string family;            // the family found
    bool metricCompatible = false; // the family is the face asked for, or one drawn to its metrics
    bool bold = false;             // the file itself is bold (not a style to fake)
    bool italic = false;           // the file itself is italic or oblique
};

class FontSource {
public:
    virtual ~FontSource() = default;
    // The font for `face` in a style; empty when there is none at all.
    virtual std::optional<FontMatch> Find(const std::string& face, bool bold, bool italic) = 0;
    // The bytes of a font found; null, with the reason in *error, when they cannot be had.
    virtual std::shared_ptr<const FontBytes> Open(const FontMatch& match, std::string* error) = 0;
    // Keeps what was learned for the next run.
    virtual void Save() {}
};

}  // namespace shell::fonts
