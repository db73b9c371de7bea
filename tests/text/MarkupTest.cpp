// The markup renderer on the recording host: where runs land, what the tags do to the canvas,
// and that nothing it makes outlives the call.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "applet/Globals.h"
#include "tests/support/TestHost.h"
#include "text/Markup.h"

namespace {

using testhost::DrawnText;
using testhost::TestHost;

class Markup : public ::testing::Test {
protected:
    void SetUp() override {
        sph::factory = host.GetFactory();
        canvas = host.GetFactory()->CreateCanvas(530, 420, 0);
        host.ClearCalls();
    }

    void TearDown() override {
        canvas->Release();
        sph::factory = nullptr;
        // Every font the renderer made was given back; the canvas keeps only its own.
        EXPECT_TRUE(host.GetLedger().Clean()) << host.GetLedger().Report();
    }

    void StartFont(int size, int style) {
        host::Font* font = host.GetFactory()->CreateFont("Arial", size, style);
        canvas->SetFont(font);
        font->Release();
        host.ClearCalls();
    }

    void Draw(const char* text, int x = 0, int y = 0) { sph::DrawMarkup(canvas, text, x, y); }

    const std::vector<DrawnText>& Texts() { return host.TextsOn(canvas); }

    // "size,style" of every font made since the last ClearCalls.
    std::vector<std::string> FontsMade() {
        std::vector<std::string> made;
        for (const testhost::Call& c : host.CallsTo("CreateFont")) {
            EXPECT_EQ(c.args.at(0), "Arial");
            made.push_back(c.args.at(1) + "," + c.args.at(2));
        }
        return made;
    }

    std::vector<std::string> ColoursSet() {
        std::vector<std::string> set;
        for (const testhost::Call& c : host.CallsTo("SetTextColor")) {
            set.push_back(c.args.at(0) + "," + c.args.at(1) + "," + c.args.at(2));
        }
        return set;
    }

    TestHost host;
    host::Canvas* canvas = nullptr;
};

TEST_F(Markup, PlainTextIsOneRunFourPixelsRightOfTheGivenPoint) {
    StartFont(14, host::kStyleItalic);
    canvas->SetTextColor(1, 2, 3);
    Draw("12,345", 400, 235);

    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].text, "12,345");
    EXPECT_EQ(Texts()[0].x, 404);
    EXPECT_EQ(Texts()[0].y, 235);
    EXPECT_EQ(Texts()[0].fontSize, 14);
    EXPECT_EQ(Texts()[0].fontStyle, host::kStyleItalic);
    EXPECT_EQ(Texts()[0].r, 1);
    EXPECT_TRUE(FontsMade().empty());
}

TEST_F(Markup, EmptyTextDrawsNothingButBalancesItsFontReference) {
    Draw("");
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(host.CallsTo("GetFont").size(), 1u);
    EXPECT_TRUE(host.CallsTo("MeasureText").empty());
    EXPECT_TRUE(FontsMade().empty());
}

TEST_F(Markup, RunsFollowOneAnotherAndKeepEverySpace) {
    // Default font: 12 px, 6 px a character.
    Draw("<P><B>   How<I> <i>x", 10, 0);
    ASSERT_EQ(Texts().size(), 3u);
    EXPECT_EQ(Texts()[0].text, "   How");
    EXPECT_EQ(Texts()[0].x, 4);  // the break put the pen at 0, not at the given x
    EXPECT_EQ(Texts()[0].y, 30);
    // Bold 12 px: 7 px a character; the space between two tags is a run of its own.
    EXPECT_EQ(Texts()[1].text, " ");
    EXPECT_EQ(Texts()[1].x, 4 + 6 * 7);
    EXPECT_EQ(Texts()[2].text, "x");
    EXPECT_EQ(Texts()[2].x, 4 + 7 * 7);
}

TEST_F(Markup, CentredRunsUseTheCanvasWidthAndStillMoveThePen) {
    StartFont(12, 0);
    // Bold 12 px is 7 px a character: "Quorvex" is 49 wide, (530 - 49) / 2 = 240.
    Draw("<S3><c><b><c000000>Quorvex</b></c>tail", 285, 40);
    ASSERT_EQ(Texts().size(), 2u);
    EXPECT_EQ(Texts()[0].x, 240);
    EXPECT_EQ(Texts()[0].y, 40);
    // Centring is off again; the pen moved on by the centred run's width from 285.
    EXPECT_EQ(Texts()[1].x, 285 + 49 + 4);

    // Centring never outlasts a call.
    host.ClearDrawnTexts(canvas);
    Draw("<c>", 0, 0);
    Draw("ab", 100, 0);
    EXPECT_EQ(Texts().at(0).x, 104);
}

TEST_F(Markup, CentringTruncatesTowardZeroWhenTheRunIsWiderThanTheCanvas) {
    host::Canvas* narrow = host.GetFactory()->CreateCanvas(11, 10, 0);
    sph::DrawMarkup(narrow, "<c>abc", 0, 0);   // 18 wide: (11 - 18) / 2 = -3, not -4
    sph::DrawMarkup(narrow, "<c>abcd", 0, 0);  // 24 wide: -6, not -7
    ASSERT_EQ(host.TextsOn(narrow).size(), 2u);
    EXPECT_EQ(host.TextsOn(narrow)[0].x, -3);
    EXPECT_EQ(host.TextsOn(narrow)[1].x, -6);
    narrow->Release();
}

TEST_F(Markup, LineAndParagraphBreaksInEitherCaseAndOpenOrClosed) {
    Draw("a<BR>b<Br>c<bR>d<br>e</BR>f<P>g</p>h", 285, 100);
    const int expectedY[] = {100, 115, 130, 145, 160, 175, 205, 235};
    ASSERT_EQ(Texts().size(), 8u);
    EXPECT_EQ(Texts()[0].x, 289);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(Texts()[i].y, expectedY[i]) << i;
        if (i > 0) {
            EXPECT_EQ(Texts()[i].x, 4) << i;
        }
    }
    EXPECT_TRUE(FontsMade().empty());
}

TEST_F(Markup, StyleTagsRecreateTheFontFromTheOneInForce) {
    StartFont(18, 0);
    Draw("<B><I><U></I></B></U><Bx></Bold>");
    const std::vector<std::string> expected = {"18,1", "18,3", "18,7", "18,5",
                                               "18,4", "18,0", "18,1", "18,0"};
    EXPECT_EQ(FontsMade(), expected);

    // Clearing a bit that is not set still makes a new font.
    host.ClearCalls();
    Draw("</B>");
    EXPECT_EQ(FontsMade(), std::vector<std::string>{"18,0"});
}

TEST_F(Markup, SizeTagsFollowTheTableAndStopAtItsEnds) {
    StartFont(14, host::kStyleBold);
    Draw("<S0><s1></S2><S3><s4><S5>");
    EXPECT_EQ(FontsMade(),
              (std::vector<std::string>{"24,1", "18,1", "14,1", "12,1", "10,1", "8,1"}));

    host.ClearCalls();
    Draw("<S-><s-><S1><S+><S+>");  // 8 stays 8; 18 gives 24, and 24 stays 24
    EXPECT_EQ(FontsMade(), (std::vector<std::string>{"8,1", "8,1", "18,1", "24,1", "24,1"}));

    host.ClearCalls();
    Draw("<S2><S+><S-><S->");
    EXPECT_EQ(FontsMade(), (std::vector<std::string>{"14,1", "18,1", "14,1", "12,1"}));

    // Size tags with anything else after the S change nothing.
    host.ClearCalls();
    Draw("<S><S6><Sx><S/>");
    EXPECT_TRUE(FontsMade().empty());
}

TEST_F(Markup, ColourTagsReadSixHexDigitsAndLastBeyondTheCall) {
    // Short colours leave out leading zeros: "000cc" is 0000cc, "12" is 000012.
    Draw("<C000cc><c333333></cFf8000><c12><cZZ1234><c1234567>");
    EXPECT_EQ(ColoursSet(), (std::vector<std::string>{"0,0,204", "51,51,51", "255,128,0",
                                                      "0,0,18", "0,18,52", "18,52,86"}));
    // Font and colour stay on the canvas for a later call; a plain text uses them.
    Draw("<S2><C00ff00>");
    Draw("later", 0, 0);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].fontSize, 14);
    EXPECT_EQ(Texts()[0].g, 255);
}

TEST_F(Markup, UnknownAndEmptyTagsDoNothing) {
    Draw("<Q><><//></><x1>a", 0, 0);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].x, 4);
    EXPECT_TRUE(FontsMade().empty());
    EXPECT_TRUE(ColoursSet().empty());
}

TEST_F(Markup, TextBeyondTheContractStaysBounded) {
    // A "<" never closed makes a tag of the rest of the text.
    Draw("ab<c00ff00 never closed", 0, 0);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].text, "ab");
    EXPECT_EQ(ColoursSet(), std::vector<std::string>{"0,255,0"});

    // Only the first 2000 tokens count: 3000 here, 1000 of them runs.
    std::string many;
    for (int i = 0; i < 1500; ++i) many += "a<p>";
    host.ClearDrawnTexts(canvas);
    Draw(many.c_str(), 0, 0);
    EXPECT_EQ(Texts().size(), 1000u);
    EXPECT_EQ(Texts().back().y, 999 * 30);
}

TEST(HexDigitValue, DigitsOfEitherCaseAndZeroForEverythingElse) {
    for (int c = -128; c < 128; ++c) {
        int expected = 0;
        if (c >= '0' && c <= '9') expected = c - '0';
        if (c >= 'a' && c <= 'f') expected = c - 'a' + 10;
        if (c >= 'A' && c <= 'F') expected = c - 'A' + 10;
        EXPECT_EQ(sph::HexDigitValue(static_cast<char>(c)), expected) << c;
    }
}

}  // namespace
