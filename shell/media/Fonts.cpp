// Font lookup through fontconfig, with a note of whether the family found keeps the metrics
// of the face asked for (text laid out for Arial must fit the same boxes).
#include "shell/media/Fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace shell::media {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Families designed to the metrics of common faces (the pairs fontconfig itself aliases).
bool IsMetricAlias(const std::string& face, const std::string& family) {
    struct Pair {
        const char* face;
        const char* family;
    };
    static constexpr Pair kPairs[] = {
        {"arial", "liberation sans"},        {"arial", "arimo"},
        {"helvetica", "liberation sans"},    {"helvetica", "arimo"},
        {"times new roman", "liberation serif"}, {"times new roman", "tinos"},
        {"times", "liberation serif"},       {"courier new", "liberation mono"},
        {"courier new", "cousine"},          {"courier", "liberation mono"},
        {"arial narrow", "liberation sans narrow"},
    };
    std::string f = Lower(face), g = Lower(family);
    if (f == g) return true;
    return std::any_of(std::begin(kPairs), std::end(kPairs),
                       [&](const Pair& p) { return f == p.face && g == p.family; });
}

struct PatternFree {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternFree>;

}  // namespace

std::optional<FontMatch> FindFont(const std::string& face, bool bold, bool italic) {
    static const bool initialised = FcInit() == FcTrue;
    if (!initialised) return std::nullopt;

    Pattern pattern(FcPatternCreate());
    if (!pattern) return std::nullopt;
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(face.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match) return std::nullopt;

    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
        return std::nullopt;
    }
    FontMatch found;
    found.file = reinterpret_cast<const char*>(file);
    FcChar8* family = nullptr;
    if (FcPatternGetString(match.get(), FC_FAMILY, 0, &family) == FcResultMatch && family) {
        found.family = reinterpret_cast<const char*>(family);
    }
    found.metricCompatible = IsMetricAlias(face, found.family);
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant);
    found.bold = weight >= FC_WEIGHT_DEMIBOLD;
    found.italic = slant != FC_SLANT_ROMAN;
    return found;
}

}  // namespace shell::media
