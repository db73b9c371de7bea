// Every resource the applet asks for is found by its name in any case, and the string table
// holds exactly the texts the shell reads.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>

#include "Embedded.h"
#include "ProjectVersion.h"
#include "host/Resources.h"

namespace {

using resources_test::Embedded;

// Every name as the applet writes it, in the case it uses.
const char* const kAskedFor[] = {
    "p-img-Bubble0.gif", "p-img-Bubble1.gif", "p-img-Bubble2.gif", "p-img-Bubble3.gif",
    "p-img-Bubble4.gif", "p-img-Bubble5.gif", "p-img-Bubble6.gif", "p-img-Bubble7.gif",
    "p-img-Bubble8.gif", "p-img-Bubble9.gif", "P-IMG-BUBBLEBG",    "p-mini-bubble.gif",
    "p-mini-sampler.gif", "CheckBox.gif",     "p-img-logo-big",    "p-NewGame.wav",
    "p-LevelWin.wav",    "p-BubbleDisappear.wav", "p-DropBubble.wav", "p-FreeMove.wav",
    "p-FadeIn.wav",      "p-GameOver.wav",   "p-HighScore.wav",   "p-LevelLose.wav",
    "Help.qxm",
};

std::string Upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(ResourceLookup, EveryNameTheAppletAsksForIsFoundInAnyCase) {
    for (const char* name : kAskedFor) {
        SCOPED_TRACE(name);
        const HRSRC asked = FindResourceA(platform::ThisModule(), name, RT_RCDATA);
        ASSERT_NE(asked, nullptr);
        EXPECT_GT(SizeofResource(platform::ThisModule(), asked), 0u);
        EXPECT_EQ(FindResourceA(platform::ThisModule(), Upper(name).c_str(), RT_RCDATA), asked);
        EXPECT_EQ(FindResourceA(platform::ThisModule(), Lower(name).c_str(), RT_RCDATA), asked);
    }
    const HRSRC mixed = FindResourceA(platform::ThisModule(), "p-img-Bubble3.gif", RT_RCDATA);
    EXPECT_EQ(mixed, FindResourceA(platform::ThisModule(), "P-IMG-BUBBLE3.GIF", RT_RCDATA));
    EXPECT_EQ(Embedded("p-img-Bubble3.gif"), Embedded("P-IMG-BUBBLE3.GIF"));
}

TEST(ResourceLookup, NamesAreStoredUpperCaseAsRawDataInUsEnglishAndOnce) {
    const host::ResourceDirectory& dir = *platform::ThisModule();
    ASSERT_EQ(dir.version, host::kResourceDirectoryVersion);
    std::map<std::string, int> seen;
    for (uint32_t i = 0; i < dir.resourceCount; ++i) {
        const host::ResourceEntry& e = dir.resources[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(std::string(e.name), Upper(e.name));
        EXPECT_EQ(e.type, 10u);
        EXPECT_EQ(e.language, 1033);
        EXPECT_EQ(++seen[e.name], 1) << "stored twice";
    }
    // The applet's 25 names, the game logo for the shell and the eight bubbles with symbols.
    EXPECT_EQ(dir.resourceCount, 25u + 1u + 8u);
}

TEST(ResourceLookup, UnknownNamesAndOtherTypesFindNothing) {
    EXPECT_EQ(FindResourceA(platform::ThisModule(), "p-img-Bubble10.gif", RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceA(platform::ThisModule(), "p-img-Bubble0", RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceA(platform::ThisModule(), "Help.qxm", MAKEINTRESOURCEA(6)), nullptr);
}

TEST(StringTable, HoldsExactlyTheShellsTexts) {
    const std::map<uint32_t, std::string> expected = {
        {3, resources_test::GameVersionText(resources_test::ProjectVersion())},
        {4, "Spherolette"},
        {5, "{5A1D0C2E-7B34-4E19-9F06-3C8B2D71A4E5}"},
        {6, "p-img-GameLogo.gif"},
        {7, "Puzzle"},
        {8, "Sweat"},
        {9, "Quorvex's Spherolette: Tiny Bubbles, Big Fun!"},
        {1000, "LANG_ENGLISH"},
    };
    const host::ResourceDirectory& dir = *platform::ThisModule();
    std::map<uint32_t, std::string> actual;
    for (uint32_t i = 0; i < dir.stringCount; ++i) {
        EXPECT_EQ(dir.strings[i].language, 1033);
        EXPECT_TRUE(actual.emplace(dir.strings[i].id, dir.strings[i].text).second)
            << "id " << dir.strings[i].id << " twice";
    }
    EXPECT_EQ(actual, expected);
}

TEST(StringTable, TheGameLogoIsReachedThroughString6) {
    const host::ResourceDirectory& dir = *platform::ThisModule();
    const char* logoName = nullptr;
    for (uint32_t i = 0; i < dir.stringCount; ++i)
        if (dir.strings[i].id == host::kStringLogoPicture) logoName = dir.strings[i].text;
    ASSERT_NE(logoName, nullptr);
    const HRSRC viaString = FindResourceA(platform::ThisModule(), logoName, RT_RCDATA);
    ASSERT_NE(viaString, nullptr);
    EXPECT_STREQ(viaString->name, "P-IMG-GAMELOGO.GIF");
}

}  // namespace
