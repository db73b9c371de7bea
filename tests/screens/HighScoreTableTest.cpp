// The top-five panel as the title screen draws it from the store.
#include <ostream>
#include <string>
#include <vector>

#include "ScreensFixture.h"

namespace screens_test {
namespace {

constexpr int kRowY[] = {40, 57, 74, 91, 108};
// Runs are drawn 4 px right of their markup position.
constexpr int kNameX = 334;
constexpr int kScoreX = 439;

// Right edges of the strips blanked behind the names, in drawing order.
std::vector<int> StripRights(testhost::TestHost& host) {
    std::vector<int> rights;
    for (const testhost::Call& c : host.CallsTo("FillRect")) {
        // The panel itself spans 330..530 from y 40 to 140; rows are 17 high.
        if (c.args.at(0) == "330" && std::stoi(c.args.at(3)) - std::stoi(c.args.at(1)) == 17) {
            rights.push_back(std::stoi(c.args.at(2)));
        }
    }
    return rights;
}

using HighScoreTable = ScreensTest;

TEST_F(HighScoreTable, FreshStoreIsSeededInOrderAndShowsTheDefaultRows) {
    Start();

    const std::vector<std::string> expected = {
        "Score1Name=Quorvex", "Score1Score=16000", "Score2Name=Quorvex", "Score2Score=8000",
        "Score3Name=Quorvex", "Score3Score=4000",  "Score4Name=Quorvex", "Score4Score=2000",
        "Score5Name=Quorvex", "Score5Score=1000",
    };
    EXPECT_EQ(Writes(), expected);

    const char* scores[] = {"16,000", "8,000", "4,000", "2,000", "1,000"};
    for (int r = 0; r < 5; ++r) {
        const testhost::DrawnText* name = TextAt(kNameX, kRowY[r]);
        ASSERT_NE(name, nullptr) << "rank " << r + 1;
        EXPECT_EQ(name->text, "Quorvex");
        EXPECT_EQ(name->fontSize, 12);
        EXPECT_EQ(name->fontStyle & host::kStyleBold, host::kStyleBold);
        EXPECT_EQ(TextAtOrNone(kScoreX, kRowY[r]), scores[r]) << "rank " << r + 1;
    }
    EXPECT_EQ(TextAtOrNone(324, 18), "Top Players");
    int leaders = 0;
    for (const testhost::DrawnText& t : Texts()) {
        if (t.text.rfind(". . .", 0) == 0 && t.x == kNameX) ++leaders;
    }
    EXPECT_EQ(leaders, 5);

    // Each strip is 8 px wider than the measured name.
    const int nameWidth = testhost::TestHost::TextWidth(12, host::kStyleBold, 7);
    EXPECT_EQ(StripRights(host), std::vector<int>(5, 338 + nameWidth));
}

TEST_F(HighScoreTable, AStoreWithTheFirstNameGetsNoDefaults) {
    host.Settings()["Score1Name"] = "Ann";
    Start();

    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(TextAtOrNone(kNameX, 40), "Ann");
    // Missing keys show as an empty name and a score of 0, never as stale buffer contents.
    EXPECT_EQ(TextAtOrNone(kScoreX, 40), "0");
    EXPECT_EQ(TextAtOrNone(kScoreX, 108), "0");
    EXPECT_EQ(StripRights(host).at(1), 338);  // an empty name still blanks 8 px
}

struct ScoreCase {
    const char* stored;
    const char* shown;
};

void PrintTo(const ScoreCase& c, std::ostream* os) {
    *os << '"' << c.stored << "\" -> \"" << c.shown << '"';
}

class ScoreFormat : public ScreensTest, public ::testing::WithParamInterface<ScoreCase> {};

TEST_P(ScoreFormat, ShowsTheStoredScoreWithSeparators) {
    host.Settings()["Score1Name"] = "Ann";
    host.Settings()["Score1Score"] = GetParam().stored;
    Start();
    EXPECT_EQ(TextAtOrNone(kScoreX, 40), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Scores, ScoreFormat,
    ::testing::Values(ScoreCase{"0", "0"}, ScoreCase{"999", "999"}, ScoreCase{"1000", "1,000"},
                      ScoreCase{"16000", "16,000"}, ScoreCase{"1000000", "1,000,000"},
                      ScoreCase{"1234567", "1,234,567"}, ScoreCase{"1234567890", "1234,567,890"},
                      ScoreCase{"-5000", "-5000"}, ScoreCase{"-1000000", "-1000000"},
                      // Values the applet never writes.
                      ScoreCase{"abc", "0"}, ScoreCase{"12abc", "12"},
                      ScoreCase{"2147483648", "2147,483,647"},
                      ScoreCase{"-99999999999", "-2147483648"}));

// The test host's bold 12 px characters are all 7 px wide, so the name column (97 px from the
// strip's 8 px margin to the score column at 435) holds 13 of them.
TEST_F(HighScoreTable, LongNamesAreDrawnCutToTheNameColumnAndStayWholeInTheStore) {
    const std::string ae(300, '\xC6');  // the widest Latin-1 capital, cut to 255 by the store
    const std::vector<std::string> stored = {std::string(20, 'W'), "Maximilian Wolfgang", ae,
                                             "ABCDEFGHIJKLM", "ABCDEFGHIJKLMN"};
    const std::vector<std::string> shown = {"WWWWWWWWWW...", "Maximilian...",
                                            std::string(10, '\xC6') + "...", "ABCDEFGHIJKLM",
                                            "ABCDEFGHIJ..."};
    for (int r = 0; r < 5; ++r) {
        host.Settings()["Score" + std::to_string(r + 1) + "Name"] = stored[r];
        host.Settings()["Score" + std::to_string(r + 1) + "Score"] = "1234567";
    }
    Start();

    const std::vector<int> strips = StripRights(host);
    ASSERT_EQ(strips.size(), 5u);
    for (int r = 0; r < 5; ++r) {
        const testhost::DrawnText* name = TextAt(kNameX, kRowY[r]);
        ASSERT_NE(name, nullptr) << "rank " << r + 1;
        EXPECT_EQ(name->text, shown[r]) << "rank " << r + 1;
        // The strip is measured on what is drawn, and neither reaches the score column.
        const int drawnWidth = testhost::TestHost::TextWidth(12, 1, name->text.size());
        EXPECT_EQ(strips[r], 338 + drawnWidth) << "rank " << r + 1;
        EXPECT_LE(strips[r], 435);
        EXPECT_LT(kNameX + drawnWidth, kScoreX);
        EXPECT_EQ(TextAtOrNone(kScoreX, kRowY[r]), "1,234,567");
    }
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(host.Settings()["Score1Name"], stored[0]);
    EXPECT_EQ(host.Settings()["Score3Name"], ae);
}

TEST_F(HighScoreTable, ANameThatFitsIsMeasuredOnceAndDrawnAsStored) {
    host.Settings()["Score1Name"] = "ABCDEFGHIJKLM";
    Start();
    int measured = 0;
    for (const testhost::Call& c : host.CallsTo("MeasureText")) {
        EXPECT_EQ(c.args.at(1).find("..."), std::string::npos) << c.args.at(1);
        measured += c.args.at(1) == "ABCDEFGHIJKLM";
    }
    EXPECT_EQ(measured, 1);
    EXPECT_EQ(TextAtOrNone(kNameX, 40), "ABCDEFGHIJKLM");
    EXPECT_EQ(StripRights(host).at(0), 338 + testhost::TestHost::TextWidth(12, 1, 13));
}

TEST_F(HighScoreTable, ANameIsDrawnAsMarkupButMeasuredRaw) {
    host.Settings()["Score1Name"] = "<i>Al";
    host.Settings()["Score1Score"] = "7";
    Start();

    const testhost::DrawnText* name = TextAt(kNameX, 40);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text, "Al");
    EXPECT_EQ(name->fontStyle & host::kStyleItalic, host::kStyleItalic);
    EXPECT_EQ(StripRights(host).at(0), 338 + testhost::TestHost::TextWidth(12, 1, 5));
}

TEST_F(HighScoreTable, PercentSignsAndUnclosedTagsInANameAreHarmless) {
    host.Settings()["Score1Name"] = "%s%n%d";
    host.Settings()["Score2Name"] = "Bob<c00";
    Start();
    EXPECT_EQ(TextAtOrNone(kNameX, 40), "%s%n%d");
    EXPECT_EQ(TextAtOrNone(kNameX, 57), "Bob");
}

}  // namespace
}  // namespace screens_test
