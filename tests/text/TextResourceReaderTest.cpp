// The document reader: where it finds the document, how much of a file it takes, and what the
// quoted text is for documents of every shape.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "HelpDocumentFixture.h"
#include "text/TextResourceReader.h"

namespace text_test {
namespace {

// The quoted text of the document `name`, or "<none>" when there is no document.
std::string Quoted(const char* name = "Help.qxm", int32_t limit = 10000) {
    std::vector<char> buffer(static_cast<size_t>(limit) + 1, '#');
    sph::TextResourceReader reader(name);
    if (reader.ReadQuotedString(buffer.data(), limit) != 0) return "<none>";
    EXPECT_NE(std::memchr(buffer.data(), '\0', buffer.size()), nullptr);
    return buffer.data();
}

TEST(TextResourceReader, NextCharServesEachByteOnceThenReportsTheEnd) {
    HelpDocuments documents;
    documents.UseResource("ab");
    sph::TextResourceReader reader("Help.qxm");
    bool valid = false;
    EXPECT_EQ(reader.NextChar(valid), 'a');
    EXPECT_TRUE(valid);
    EXPECT_EQ(reader.NextChar(valid), 'b');
    EXPECT_TRUE(valid);
    reader.NextChar(valid);
    EXPECT_FALSE(valid);
    reader.NextChar(valid);
    EXPECT_FALSE(valid);
}

TEST(TextResourceReader, QuotedTextOfDocumentsOfEveryShape) {
    HelpDocuments documents;
    const struct {
        std::string document;
        std::string quoted;
    } cases[] = {
        {"junk before \"the text\" and after", "the text"},
        {"\"\"", ""},
        {"no quotes at all", ""},
        {"", ""},
        {"head \"never closed\r\n<BR>tail", "never closed\r\n<BR>tail"},
        {"\"first\" \"second\"", "first"},
        {std::string("\"a\0b\"", 5), std::string("a")},  // a NUL inside ends the C string
    };
    for (const auto& c : cases) {
        documents.UseResource(c.document);
        EXPECT_EQ(Quoted(), c.quoted) << c.document;
    }
}

TEST(TextResourceReader, TextIsCutAtTheLimit) {
    HelpDocuments documents;
    documents.UseResource("\"" + std::string(10000, 'a') + "\"");
    EXPECT_EQ(Quoted().size(), 10000u);
    documents.UseResource("\"" + std::string(10001, 'a') + "\"");
    EXPECT_EQ(Quoted().size(), 10000u);
    EXPECT_EQ(Quoted("Help.qxm", 3), "aaa");
    EXPECT_EQ(Quoted("Help.qxm", 0), "");
}

TEST(TextResourceReader, WithoutADocumentTheBufferIsLeftAlone) {
    HelpDocuments documents;  // no resource, no file
    char buffer[8] = "keepme";
    sph::TextResourceReader reader("Help.qxm");
    EXPECT_EQ(reader.ReadQuotedString(buffer, 7), 1);
    EXPECT_STREQ(buffer, "keepme");
    bool valid = true;
    reader.NextChar(valid);
    EXPECT_FALSE(valid);
}

TEST(TextResourceReader, ResourceNamesIgnoreCase) {
    HelpDocuments documents;
    documents.UseResource("\"found\"");
    EXPECT_EQ(Quoted("help.QXM"), "found");
}

TEST(TextResourceReader, FileServesOnlyWhenTheModuleHasNoResourceOfThatName) {
    HelpDocuments documents;
    documents.WriteFile("\"from the file\"");
    EXPECT_EQ(Quoted(), "from the file");

    documents.UseResource("\"from the library\"");
    EXPECT_EQ(Quoted(), "from the library");

    // Found but not loadable: no document at all, the file is not tried.
    const std::string help = "\"from the library\"";
    documents.UseResources(&help, false);
    EXPECT_EQ(Quoted(), "<none>");
}

TEST(TextResourceReader, FilesOfOddSizesAreReadSafely) {
    HelpDocuments documents;
    documents.WriteFile("");
    EXPECT_EQ(Quoted(), "");

    // Only the first 64 KiB of a big file are taken.
    documents.WriteFile("\"" + std::string(200000, 'a'));
    EXPECT_EQ(Quoted("Help.qxm", 300000).size(),
              static_cast<size_t>(sph::kMaxDocumentFileBytes - 1));

    // Something that is not a regular file is no document.
    std::filesystem::create_directory("Folder.qxm");
    EXPECT_EQ(Quoted("Folder.qxm"), "<none>");
}

}  // namespace
}  // namespace text_test
