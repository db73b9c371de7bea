// Small pieces of the core: typed UTF-8 becomes Latin-1, and changed areas merge.
#include <gtest/gtest.h>

#include "shell/core/Latin1.h"
#include "shell/core/Rect.h"

namespace {

TEST(TypedText, Utf8BecomesLatin1AndTheRestIsDropped) {
    EXPECT_EQ(shell::Utf8ToLatin1("credits"), "credits");
    EXPECT_EQ(shell::Utf8ToLatin1("caf\xC3\xA9"), "caf\xE9");          // é
    EXPECT_EQ(shell::Utf8ToLatin1("\xE2\x82\xAC!"), "!");              // € has no Latin-1 code
    EXPECT_EQ(shell::Utf8ToLatin1("\xF0\x9F\x98\x80x"), "x");          // emoji
    EXPECT_EQ(shell::Utf8ToLatin1("a\xC3"), "a");                      // cut short
    EXPECT_EQ(shell::Utf8ToLatin1("\x80\xBF" "b"), "b");               // stray continuations
    EXPECT_EQ(shell::Utf8ToLatin1("\xC1\x81" "c"), "c");               // overlong 'A'
    EXPECT_EQ(shell::Utf8ToLatin1(std::string("\0d", 2)), "d");        // NUL is no character
}

TEST(DirtyAreas, TouchingRectanglesMergeAndTheListStaysShort) {
    shell::DirtyRegion region;
    region.Add({0, 0, 10, 10});
    region.Add({10, 0, 5, 10});  // touches: one rectangle
    ASSERT_EQ(region.Rects().size(), 1u);
    EXPECT_EQ(region.Rects()[0], (shell::Rect{0, 0, 15, 10}));
    region.Add({100, 100, 2, 2});
    EXPECT_EQ(region.Rects().size(), 2u);
    region.Add({0, 0, 0, 5});  // empty: ignored
    EXPECT_EQ(region.Rects().size(), 2u);
    for (int i = 0; i < 20; ++i) {
        region.Add({200 + 10 * i, 300, 2, 2});
        EXPECT_LE(region.Rects().size(), 8u);
    }
    EXPECT_EQ(region.Bounds(), (shell::Rect{0, 0, 392, 302}));  // nothing lost
}

}  // namespace
