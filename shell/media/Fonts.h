// Font lookup through fontconfig: turns a face name and style into a font file.
#pragma once

#include <optional>
#include <string>

namespace shell::media {

struct FontMatch {
    std::string file;              // path of the font file to open
    std::string family;            // the family fontconfig chose
    bool metricCompatible = false; // the family is the face asked for, or one drawn to its metrics
    bool bold = false;             // the file itself is bold (not a faked style)
    bool italic = false;           // the file itself is italic or oblique
};

// Finds the file that fontconfig picks for `face` in the given style ("Arial" gives Liberation
// Sans on Debian, with its real Bold, Italic and Bold Italic files). Empty when fontconfig
// cannot be set up or finds no file at all.
std::optional<FontMatch> FindFont(const std::string& face, bool bold, bool italic);

}  // namespace shell::media
