// The help document: its size, quoting and line ends, the lines it opens and closes with, and
// that every line fits the help stage.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Embedded.h"

namespace {

std::string HelpDocument() {
    const std::vector<uint8_t> bytes = resources_test::Embedded("Help.qxm");
    return std::string(bytes.begin(), bytes.end());
}

// The document's lines, without their CR LF ends.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// What a line shows: the text outside the tags.
std::string Visible(const std::string& line) {
    std::string out;
    bool inTag = false;
    for (char c : line) {
        if (c == '<') inTag = true;
        else if (c == '>') inTag = false;
        else if (!inTag) out += c;
    }
    return out;
}

TEST(HelpDocument, Is1656BytesOfQuotedTextInCrLfLines) {
    const std::string doc = HelpDocument();
    EXPECT_EQ(doc.size(), 1656u);
    EXPECT_EQ(std::count(doc.begin(), doc.end(), '"'), 2);
    ASSERT_GE(doc.size(), 2u);
    EXPECT_EQ(doc.substr(doc.size() - 2), "\r\n");
    for (size_t i = 0; i < doc.size(); ++i) {
        if (doc[i] == '\n') {
            EXPECT_TRUE(i > 0 && doc[i - 1] == '\r') << "bare LF at " << i;
        }
        if (doc[i] == '\r') {
            EXPECT_TRUE(i + 1 < doc.size() && doc[i + 1] == '\n') << "bare CR at " << i;
        }
        EXPECT_TRUE(doc[i] == '\r' || doc[i] == '\n' || (doc[i] >= 32 && doc[i] < 127))
            << "unexpected byte " << int(static_cast<unsigned char>(doc[i])) << " at " << i;
    }
}

TEST(HelpDocument, OpensWithTheTitleAndClosesWithTheQuestion) {
    const std::string doc = HelpDocument();
    const size_t open = doc.find('"'), close = doc.find('"', open + 1);
    ASSERT_NE(close, std::string::npos);
    const std::string quoted = doc.substr(open + 1, close - open - 1);
    const std::vector<std::string> lines = Lines(quoted + "\r\n");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front(), "<S3><c000000><B>   Spherolette</B>");
    EXPECT_EQ(lines.back(),
              "<BR><S2><c000000><B>  How long can you <C000cc>Keep Up<c000000> With the Bubbles?</B>");
    EXPECT_NE(quoted.find("\r\n<P><B>   How does it work?</B>\r\n"), std::string::npos);
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_TRUE(lines[i].rfind("<BR>   ", 0) == 0 || lines[i].rfind("<P><B>   ", 0) == 0);
    }
}

TEST(HelpDocument, EveryLineFitsTheHelpStage) {
    // The stage is 530 x 420; text is 12-pixel type (about 7 pixels a character at most)
    // drawn from y = 10, a line break moving down 15 pixels and a paragraph break 30.
    const std::string doc = HelpDocument();
    int y = 10;
    for (const std::string& line : Lines(doc)) {
        SCOPED_TRACE(line);
        EXPECT_LE(4 + 7 * int(Visible(line).size()), 530);
        for (size_t at = 0; (at = line.find('<', at)) != std::string::npos; ++at) {
            if (line.compare(at, 4, "<BR>") == 0) y += 15;
            if (line.compare(at, 3, "<P>") == 0) y += 30;
        }
    }
    EXPECT_LE(y + 14, 420);
}

}  // namespace
