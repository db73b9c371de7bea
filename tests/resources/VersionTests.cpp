// The version is written once, in the project() line: the string table's version text is made
// from it, and the packaging files a packager reads as they are must name the same version.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "Embedded.h"
#include "ProjectVersion.h"
#include "host/Resources.h"

namespace {

using resources_test::GameVersionText;
using resources_test::ProjectVersion;

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(SPHEROLETTE_SOURCE_DIR) + "/" + relative);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Version, StringTableCarriesTheProjectVersion) {
    const host::ResourceDirectory& dir = *platform::ThisModule();
    const char* text = nullptr;
    for (uint32_t i = 0; i < dir.stringCount; ++i) {
        if (dir.strings[i].id == host::kStringVersion) text = dir.strings[i].text;
    }
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text, GameVersionText(ProjectVersion()));
}

// The metainfo lists its releases newest first; the newest is this version.
TEST(Version, MetainfoNewestReleaseIsTheProjectVersion) {
    const std::string xml = ReadSource("packaging/net.spherolette.Spherolette.metainfo.xml");
    const std::string tag = "<release version=\"";
    const size_t at = xml.find(tag);
    ASSERT_NE(at, std::string::npos) << "no release in the metainfo";
    const size_t start = at + tag.size();
    EXPECT_EQ(xml.substr(start, xml.find('"', start) - start), ProjectVersion());
}

TEST(Version, ManPageHeaderNamesTheProjectVersion) {
    const std::string page = ReadSource("packaging/spherolette.6");
    const std::string header = page.substr(0, page.find('\n'));
    ASSERT_EQ(header.rfind(".TH SPHEROLETTE 6 ", 0), 0u) << header;
    EXPECT_NE(header.find("\"Spherolette " + ProjectVersion() + "\""), std::string::npos)
        << header;
}

}  // namespace
