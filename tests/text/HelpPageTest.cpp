// The help page as the player asks for it: the document drawn on the help stage under the
// one-line notice, whichever source the document came from.
#include <string>
#include <vector>

#include "HelpDocumentFixture.h"
#include "tests/support/AppletFixture.h"

namespace text_test {
namespace {

class HelpPage : public testhost::AppletFixture {
protected:
    void SetUp() override {
        Start();
        host.ClearCalls();
    }

    const std::vector<testhost::DrawnText>& Texts() { return host.TextsOn(host.HelpCanvas()); }

    // Requests the page and gives the texts drawn, the notice last.
    std::vector<testhost::DrawnText> Request() {
        host.ClearDrawnTexts(host.HelpCanvas());
        host.ClearCalls();
        host.RequestHelp();
        return Texts();
    }

    static void ExpectNotice(const testhost::DrawnText& t) {
        EXPECT_FALSE(t.text.empty());
        EXPECT_EQ(t.x, 289);
        EXPECT_EQ(t.y, 0);
        EXPECT_EQ(t.fontSize, 10);
        EXPECT_EQ(t.r, 51);
        EXPECT_EQ(t.g, 51);
        EXPECT_EQ(t.b, 51);
    }

    HelpDocuments documents;
};

TEST_F(HelpPage, DocumentIsDrawnBelowTheNoticeOnAFreshlyClearedPage) {
    documents.UseResource("HELP \"<S3><c000000><B>   Spherolette</B><BR>   Line two\" end");
    const auto texts = Request();

    const auto cleared = host.CallsTo("Clear");
    ASSERT_EQ(cleared.size(), 1u);
    EXPECT_EQ(cleared[0].objectId, host.IdOf(host.HelpCanvas()));
    EXPECT_EQ(cleared[0].args, (std::vector<std::string>{"255", "153", "0"}));
    for (const testhost::Call& c : host.CallsTo("DrawText")) {
        EXPECT_EQ(c.objectId, host.IdOf(host.HelpCanvas()));
    }

    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "   Spherolette");
    EXPECT_EQ(texts[0].x, 4);
    EXPECT_EQ(texts[0].y, 10);
    EXPECT_EQ(texts[0].fontStyle, host::kStyleBold);
    EXPECT_EQ(texts[1].text, "   Line two");
    EXPECT_EQ(texts[1].y, 25);
    EXPECT_EQ(texts[1].fontSize, 12);
    ExpectNotice(texts[2]);
}

TEST_F(HelpPage, WithoutAnyDocumentOnlyTheNoticeShows) {
    const auto texts = Request();
    EXPECT_EQ(host.CallsTo("Clear").size(), 1u);
    ASSERT_EQ(texts.size(), 1u);
    ExpectNotice(texts[0]);
}

TEST_F(HelpPage, ADocumentOfTwoQuotesShowsOnlyTheNotice) {
    documents.UseResource("\"\"");
    const auto texts = Request();
    ASSERT_EQ(texts.size(), 1u);
    ExpectNotice(texts[0]);
}

TEST_F(HelpPage, LineEndsBecomeBlanksAndOnlyTagsBreakLines) {
    documents.UseResource("\"one\r\ntwo\nthree\rfour<BR>five\"");
    const auto texts = Request();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "one  two three four");
    EXPECT_EQ(texts[1].text, "five");
    EXPECT_EQ(texts[1].y, 25);
}

TEST_F(HelpPage, TenThousandCharactersAreDrawnAndNoMore) {
    documents.UseResource("\"" + std::string(10000, 'x') + "\"");
    EXPECT_EQ(Request().at(0).text.size(), 10000u);

    // One more: cut at 10000, so the closing tag after it never applies.
    documents.UseResource("\"" + std::string(10001, 'x') + "<BR>y\"");
    const auto texts = Request();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, std::string(10000, 'x'));
    ExpectNotice(texts[1]);
}

TEST_F(HelpPage, TheFileInTheCurrentDirectoryServesOnlyWithoutAResource) {
    documents.WriteFile("\"<S3>from the file\"");
    EXPECT_EQ(Request().at(0).text, "from the file");

    documents.UseResource("\"<S3>from the library\"");
    EXPECT_EQ(Request().at(0).text, "from the library");
}

TEST_F(HelpPage, TwoRequestsInARowDrawTheSamePage) {
    documents.UseResource("\"<S3><c000000><B>   Title</B><BR>   Plain <C000cc>blue<P>end\"");
    const auto first = Request();
    const auto second = Request();
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].text, second[i].text);
        EXPECT_EQ(first[i].x, second[i].x);
        EXPECT_EQ(first[i].y, second[i].y);
        EXPECT_EQ(first[i].fontSize, second[i].fontSize);
        EXPECT_EQ(first[i].fontStyle, second[i].fontStyle);
        EXPECT_EQ(first[i].b, second[i].b);
    }
    EXPECT_EQ(host.CallsTo("Clear").size(), 1u);
}

}  // namespace
}  // namespace text_test
