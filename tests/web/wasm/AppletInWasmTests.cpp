// What only the WebAssembly build can get wrong: the load hook of a statically linked library,
// and resources embedded as C arrays instead of assembled from the generator's files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "applet/Globals.h"
#include "host/Applet.h"
#include "platform/Win32.h"

namespace {

std::vector<unsigned char> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

TEST(StaticallyLinkedApplet, RecordsItsModuleBeforeAnyEntryPointIsCalled) {
    EXPECT_EQ(sph::moduleHandle, &Shell_ResourceDirectory);
    EXPECT_EQ(sph::moduleHandle, platform::ThisModule());
    EXPECT_EQ(sph::theApplet, nullptr);
}

TEST(EmbeddedResources, HoldExactlyTheGeneratorsBytesEachFollowedByANul) {
    const std::string assets = SPHEROLETTE_ASSET_DIR;
    const std::string sources = FromEnvironment("SPHEROLETTE_SOURCE_DIR");
    ASSERT_FALSE(sources.empty());
    const host::ResourceDirectory& directory = Shell_ResourceDirectory;
    EXPECT_EQ(directory.version, host::kResourceDirectoryVersion);
    ASSERT_GE(directory.resourceCount, 30u);
    for (uint32_t i = 0; i < directory.resourceCount; ++i) {
        const host::ResourceEntry& entry = directory.resources[i];
        SCOPED_TRACE(entry.name);
        const std::string name = entry.name;
        const std::vector<unsigned char> file = ReadWholeFile(
            name == "HELP.QXM" ? sources + "/resources/Help.qxm" : assets + "/" + name);
        ASSERT_FALSE(file.empty());
        ASSERT_EQ(entry.size, file.size());
        EXPECT_EQ(std::memcmp(entry.data, file.data(), file.size()), 0);
        EXPECT_EQ(entry.data[entry.size], 0);
        // Found the way the applet and the shell look names up.
        EXPECT_EQ(FindResourceA(platform::ThisModule(), name.c_str(), RT_RCDATA), &entry);
    }
}

// A name below 64 KiB would be taken for a resource number; the browser's memory starts at 0.
TEST(EmbeddedResources, AreFoundByNamesHeldInStaticDataOnTheStackAndOnTheHeap) {
    static const char kStatic[] = "p-mini-bubble.gif";
    char onStack[32];
    std::strcpy(onStack, "P-Mini-Bubble.GIF");
    const std::string onHeap(std::string(40, 'x').replace(0, 40, "p-MINI-bubble.gif"));
    for (const char* name : {kStatic, static_cast<const char*>(onStack), onHeap.c_str(),
                             "p-mini-bubble.gif"}) {
        SCOPED_TRACE(name);
        EXPECT_GE(reinterpret_cast<uintptr_t>(name), 0x10000u);
        EXPECT_NE(FindResourceA(platform::ThisModule(), name, RT_RCDATA), nullptr);
    }
}

TEST(EmbeddedResources, TheStringTableNamesTheGame) {
    const host::ResourceDirectory& directory = Shell_ResourceDirectory;
    std::string name, logo;
    for (uint32_t i = 0; i < directory.stringCount; ++i) {
        if (directory.strings[i].id == host::kStringName) name = directory.strings[i].text;
        if (directory.strings[i].id == host::kStringLogoPicture) logo = directory.strings[i].text;
    }
    EXPECT_EQ(name, "Spherolette");
    EXPECT_NE(FindResourceA(platform::ThisModule(), logo.c_str(), RT_RCDATA), nullptr) << logo;
}

}  // namespace
