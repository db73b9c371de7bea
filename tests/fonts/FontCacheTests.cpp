// The host's font cache over a font source: what preloading reads at once and what waits until
// text in that style is first drawn.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "host/Object.h"
#include "shell/core/FontCache.h"
#include "shell/fonts/MemoryFonts.h"
#include "tests/fonts/FontFiles.h"

namespace {

using Style = std::tuple<bool, bool>;  // bold, italic

// Liberation Sans with a file of its own for every style (the italic ones hold the upright
// bytes), noting what is looked up and what is read.
class CountingSource : public shell::fonts::FontSource {
public:
    CountingSource(std::set<Style>* found, std::set<Style>* opened) : found_(found), opened_(opened) {
        for (const bool italic : {false, true}) {
            fonts_.Add("Arial", false, italic, fonts_test::ReadFile(fonts_test::kRegular));
            fonts_.Add("Arial", true, italic, fonts_test::ReadFile(fonts_test::kBold));
        }
    }
    std::optional<shell::fonts::FontMatch> Find(const std::string& face, bool bold,
                                                bool italic) override {
        found_->insert({bold, italic});
        auto match = fonts_.Find(face, bold, italic);
        if (match) asked_[match->file] = {bold, italic};
        return match;
    }
    std::shared_ptr<const shell::fonts::FontBytes> Open(const shell::fonts::FontMatch& match,
                                                        std::string* error) override {
        opened_->insert(asked_[match.file]);
        return fonts_.Open(match, error);
    }

private:
    shell::fonts::MemoryFonts fonts_;
    std::map<std::string, Style> asked_;
    std::set<Style>* found_;
    std::set<Style>* opened_;
};

TEST(FontCache, PreloadingLooksUpEveryStyleButReadsItalicsOnlyWhenDrawn) {
    if (fonts_test::ReadFile(fonts_test::kBold).empty()) GTEST_SKIP() << "fonts-liberation2 is not installed";
    std::set<Style> found, opened;
    shell::FontCache cache(std::make_unique<CountingSource>(&found, &opened));
    cache.Preload("Arial");
    EXPECT_EQ(found, (std::set<Style>{{false, false}, {true, false}, {false, true}, {true, true}}));
    EXPECT_EQ(opened, (std::set<Style>{{false, false}, {true, false}}));

    shell::Pixmap target(80, 20, 0xFFFFFFFFu);
    EXPECT_FALSE(cache.Draw(target, "Arial", 12, host::kStyleItalic, "Help", 0, 0, 0, 0, 0).Empty());
    EXPECT_TRUE(cache.Available("Arial", 12, host::kStyleBold | host::kStyleItalic));
    EXPECT_EQ(opened.size(), 4u);
}

}  // namespace
