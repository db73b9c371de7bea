// fontconfig through dlopen. Its header gives the types and constants; the functions come from
// the library found at run time, so the program does not link it.
#include "shell/fonts/Fontconfig.h"

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace shell::fonts {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The functions used, looked up by name; `ready` only when all were found and FcInit worked.
struct Library {
    bool ready = false;
    decltype(&FcPatternCreate) patternCreate = nullptr;
    decltype(&FcPatternDestroy) patternDestroy = nullptr;
    decltype(&FcPatternAddString) addString = nullptr;
    decltype(&FcPatternAddInteger) addInteger = nullptr;
    decltype(&FcPatternAddBool) addBool = nullptr;
    decltype(&FcConfigSubstitute) configSubstitute = nullptr;
    decltype(&FcDefaultSubstitute) defaultSubstitute = nullptr;
    decltype(&FcFontMatch) fontMatch = nullptr;
    decltype(&FcPatternGetString) getString = nullptr;
    decltype(&FcPatternGetInteger) getInteger = nullptr;
};

template <class F>
bool Bind(void* handle, const char* name, F* f) {
    *f = reinterpret_cast<F>(dlsym(handle, name));
    return *f != nullptr;
}

// Opened once and kept: fontconfig holds its configuration for the life of the process.
const Library& Fontconfig() {
    static const Library library = [] {
        Library l;
        void* handle = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) return l;
        decltype(&FcInit) init = nullptr;
        const bool bound =
            Bind(handle, "FcInit", &init) && Bind(handle, "FcPatternCreate", &l.patternCreate) &&
            Bind(handle, "FcPatternDestroy", &l.patternDestroy) &&
            Bind(handle, "FcPatternAddString", &l.addString) &&
            Bind(handle, "FcPatternAddInteger", &l.addInteger) &&
            Bind(handle, "FcPatternAddBool", &l.addBool) &&
            Bind(handle, "FcConfigSubstitute", &l.configSubstitute) &&
            Bind(handle, "FcDefaultSubstitute", &l.defaultSubstitute) &&
            Bind(handle, "FcFontMatch", &l.fontMatch) &&
            Bind(handle, "FcPatternGetString", &l.getString) &&
            Bind(handle, "FcPatternGetInteger", &l.getInteger);
        l.ready = bound && init() == FcTrue;
        return l;
    }();
    return library;
}

}  // namespace

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
    const std::string f = Lower(face), g = Lower(family);
    if (f == g) return true;
    return std::any_of(std::begin(kPairs), std::end(kPairs),
                       [&](const Pair& p) { return f == p.face && g == p.family; });
}

std::optional<FontMatch> FindWithFontconfig(const std::string& face, bool bold, bool italic) {
    const Library& fc = Fontconfig();
    if (!fc.ready) return std::nullopt;
    auto destroy = [&fc](FcPattern* p) { fc.patternDestroy(p); };
    std::unique_ptr<FcPattern, decltype(destroy)> pattern(fc.patternCreate(), destroy);
    if (!pattern) return std::nullopt;
    fc.addString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    fc.addInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    fc.addInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    fc.addBool(pattern.get(), FC_SCALABLE, FcTrue);
    fc.configSubstitute(nullptr, pattern.get(), FcMatchPattern);
    fc.defaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, decltype(destroy)> match(fc.fontMatch(nullptr, pattern.get(), &result),
                                                        destroy);
    if (!match) return std::nullopt;
    FcChar8* file = nullptr;
    if (fc.getString(match.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
        return std::nullopt;
    }
    FontMatch found;
    found.file = reinterpret_cast<const char*>(file);
    FcChar8* family = nullptr;
    if (fc.getString(match.get(), FC_FAMILY, 0, &family) == FcResultMatch && family != nullptr) {
        found.family = reinterpret_cast<const char*>(family);
    }
    found.metricCompatible = IsMetricAlias(face, found.family);
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    fc.getInteger(match.get(), FC_WEIGHT, 0, &weight);
    fc.getInteger(match.get(), FC_SLANT, 0, &slant);
    found.bold = weight >= FC_WEIGHT_DEMIBOLD;
    found.italic = slant != FC_SLANT_ROMAN;
    return found;
}

}  // namespace shell::fonts
