// Measures and draws the game's texts through the shell's FontCache, so the same source built
// against two revisions of the shell shows how their text engines differ. It uses only the
// FontCache calls that stay the same (Measure and Draw) over the system's fonts.
//   text-sheet measure LIST TABLE   LIST: "size<TAB>style<TAB>text" lines; TABLE gets
//                                   "size<TAB>style<TAB>width<TAB>height<TAB>text"
//   text-sheet draw OUT.png TITLE   the sample sheet, one row per sample
// Texts are Latin-1 with bytes outside printable ASCII (and the backslash) written \xNN.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "shell/core/FontCache.h"
#include "shell/media/Png.h"
#include "shell/fonts/SystemFonts.h"

namespace {

std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x') {
            out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

int Measure(const char* listPath, const char* tablePath) {
    shell::FontCache fonts{shell::fonts::SystemFonts::Source()()};
    std::ifstream in(listPath);
    std::ofstream out(tablePath);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const size_t a = line.find('\t'), b = line.find('\t', a + 1);
        if (a == std::string::npos || b == std::string::npos) continue;
        const int size = std::stoi(line.substr(0, a));
        const int style = std::stoi(line.substr(a + 1, b - a - 1));
        const std::string text = line.substr(b + 1);
        int32_t w = 0, h = 0;
        fonts.Measure("Arial", size, style, Unescape(text), &w, &h);
        out << size << '\t' << style << '\t' << w << '\t' << h << '\t' << text << '\n';
    }
    return out ? 0 : 1;
}

struct Sample {
    const char* text;
    uint32_t ink, paper;
};

// Texts as the game shows them: black on the help page's orange and on the teal stage, white
// on the dialogs' dark title bar, plus the pairs kerning must close up and Latin-1 letters.
const Sample kSamples[] = {
    {"Select Difficulty: Very Easy", 0xFF000000u, 0xFF339999u},
    {"AV To Wa Ty LT P. 16,000", 0xFF000000u, 0xFFFFFFFFu},
    {"The board by lining up", 0xFF000000u, 0xFFFF9900u},
    {"Zo\xEB \xC5ngstr\xF6m \xE9\xDF \xA9\xBD", 0xFFFFFFFFu, 0xFF003333u},
};
const int kSizes[] = {10, 12, 14, 18, 24};

int Draw(const char* outPath, const char* title) {
    shell::FontCache fonts{shell::fonts::SystemFonts::Source()()};
    constexpr int kWidth = 420, kLabel = 46;
    int height = 30;
    for (int size : kSizes) height += 2 * static_cast<int>(std::size(kSamples)) * (size + size / 2 + 2);
    shell::Pixmap sheet(kWidth, height, 0xFFFFFFFFu);
    fonts.Draw(sheet, "Arial", 18, 1, title, 6, 4, 0, 0, 0);
    int y = 30;
    for (int size : kSizes) {
        for (int style : {0, 1}) {
            const int row = size + size / 2 + 2;
            for (const Sample& s : kSamples) {
                sheet.Fill({kLabel, y, kWidth - kLabel, row}, s.paper);
                const std::string label = std::to_string(size) + (style != 0 ? " bold" : "");
                fonts.Draw(sheet, "Arial", 10, 0, label, 4, y + (row - 12) / 2, 96, 96, 96);
                fonts.Draw(sheet, "Arial", size, style, s.text, kLabel + 4, y + 1,
                           static_cast<uint8_t>(s.ink >> 16), static_cast<uint8_t>(s.ink >> 8),
                           static_cast<uint8_t>(s.ink));
                y += row;
            }
        }
    }
    std::string error;
    const std::vector<uint8_t> rgba = sheet.ToRgba();
    if (!shell::media::WritePng(outPath, sheet.Width(), sheet.Height(), rgba.data(), &error)) {
        std::fprintf(stderr, "text-sheet: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "measure" && argc == 4) return Measure(argv[2], argv[3]);
    if (mode == "draw" && argc == 4) return Draw(argv[2], argv[3]);
    std::fprintf(stderr, "usage: text-sheet measure LIST TABLE | draw OUT.png TITLE\n");
    return 2;
}
