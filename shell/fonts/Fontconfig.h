// Asks fontconfig which file it picks for a face. The library is opened at run time, the first
// time a lookup is needed: a run whose fonts were remembered never loads it.
#pragma once

#include <optional>
#include <string>

#include "shell/fonts/FontSource.h"

namespace shell::fonts {

// The file fontconfig picks for `face` in a style ("Arial" gives Liberation Sans on Debian,
// with its real Bold, Italic and Bold Italic files). Empty when fontconfig cannot be loaded or
// set up, or finds no file at all.
std::optional<FontMatch> FindWithFontconfig(const std::string& face, bool bold, bool italic);

// Whether `family` is drawn to the metrics of `face` (the pairs fontconfig itself aliases).
bool IsMetricAlias(const std::string& face, const std::string& family);

}  // namespace shell::fonts
