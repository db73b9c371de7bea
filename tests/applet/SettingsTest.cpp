// The stored high-score table: the score parse, the default table, placing a new score and
// the animated-bubbles option, over the test host's in-memory store.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <vector>

#include "applet/Settings.h"
#include "tests/support/TestHost.h"

namespace {

namespace settings = sph::settings;
using testhost::Call;
using testhost::TestHost;

TEST(ScoreParse, TakesTheLeadingIntegerLikeTheStandardParse) {
    EXPECT_EQ(settings::ParseLeadingInt("16000"), 16000);
    EXPECT_EQ(settings::ParseLeadingInt("  \t\n42"), 42);
    EXPECT_EQ(settings::ParseLeadingInt("+17"), 17);
    EXPECT_EQ(settings::ParseLeadingInt("-250"), -250);
    EXPECT_EQ(settings::ParseLeadingInt("2500 points"), 2500);
    EXPECT_EQ(settings::ParseLeadingInt("12,000"), 12);
    EXPECT_EQ(settings::ParseLeadingInt("abc"), 0);
    EXPECT_EQ(settings::ParseLeadingInt(""), 0);
    EXPECT_EQ(settings::ParseLeadingInt("-"), 0);
    EXPECT_EQ(settings::ParseLeadingInt("+-5"), 0);
    EXPECT_EQ(settings::ParseLeadingInt("- 5"), 0);
    EXPECT_EQ(settings::ParseLeadingInt("007"), 7);
}

TEST(ScoreParse, HoldsValuesBeyondThe32BitRangeAtItsEnds) {
    EXPECT_EQ(settings::ParseLeadingInt("2147483647"), INT32_MAX);
    EXPECT_EQ(settings::ParseLeadingInt("2147483648"), INT32_MAX);
    EXPECT_EQ(settings::ParseLeadingInt("99999999999999999999999"), INT32_MAX);
    EXPECT_EQ(settings::ParseLeadingInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(settings::ParseLeadingInt("-2147483649"), INT32_MIN);
    EXPECT_EQ(settings::ParseLeadingInt("-99999999999999999999999"), INT32_MIN);
}

// ---- Default table ---------------------------------------------------------------------

TEST(DefaultTable, IsWrittenKeyByKeyInOrderIntoAnEmptyStore) {
    TestHost host;
    settings::SeedDefaultTable(host.Store());

    std::vector<std::string> writes;
    for (const Call& call : host.CallsTo("WriteString")) writes.push_back(call.Text());
    const std::vector<std::string> expected = {
        "SettingsStore.WriteString(Score1Name,Quorvex)",
        "SettingsStore.WriteString(Score1Score,16000)",
        "SettingsStore.WriteString(Score2Name,Quorvex)",
        "SettingsStore.WriteString(Score2Score,8000)",
        "SettingsStore.WriteString(Score3Name,Quorvex)",
        "SettingsStore.WriteString(Score3Score,4000)",
        "SettingsStore.WriteString(Score4Name,Quorvex)",
        "SettingsStore.WriteString(Score4Score,2000)",
        "SettingsStore.WriteString(Score5Name,Quorvex)",
        "SettingsStore.WriteString(Score5Score,1000)",
    };
    EXPECT_EQ(writes, expected);
    ASSERT_FALSE(host.Calls().empty());
    EXPECT_EQ(host.Calls().front().Text(), "SettingsStore.ReadString(Score1Name,*)");
}

TEST(DefaultTable, IsNotWrittenWhenScore1NameExistsEvenWithOtherKeysMissing) {
    TestHost host;
    host.Settings()["Score1Name"] = "";
    settings::SeedDefaultTable(host.Store());
    EXPECT_TRUE(host.CallsTo("WriteString").empty());
    EXPECT_EQ(host.Settings().size(), 1u);
}

// ---- Placing a new score ---------------------------------------------------------------

class ScoreTable : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<std::pair<std::string, std::string>> rows = {
            {"Ada", "5000"}, {"Ben", "4000"}, {"Cy", "3000"}, {"Di", "2000"}, {"Ed", "1000"}};
        for (size_t i = 0; i < rows.size(); ++i) {
            const int rank = static_cast<int>(i) + 1;
            store()[settings::NameKey(rank).text] = rows[i].first;
            store()[settings::ScoreKey(rank).text] = rows[i].second;
        }
    }
    std::map<std::string, std::string>& store() { return host.Settings(); }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int rank = 1; rank <= settings::kRanks; ++rank) {
            names.push_back(store()[settings::NameKey(rank).text]);
        }
        return names;
    }
    // The whole closing sequence the game uses when a score is placed.
    void Place(const char* name, int32_t score) {
        const int rank = settings::FindRank(host.Store(), score);
        if (rank == 0) return;
        settings::ShiftRowsDown(host.Store(), rank);
        settings::WriteRow(host.Store(), rank, name, score);
    }

    TestHost host;
};

TEST_F(ScoreTable, AScoreEqualToAStoredOneRanksAboveIt) {
    EXPECT_EQ(settings::FindRank(host.Store(), 5000), 1);
    EXPECT_EQ(settings::FindRank(host.Store(), 9999), 1);
    EXPECT_EQ(settings::FindRank(host.Store(), 3000), 3);
    EXPECT_EQ(settings::FindRank(host.Store(), 2999), 4);
    EXPECT_EQ(settings::FindRank(host.Store(), 1000), 5);
    EXPECT_EQ(settings::FindRank(host.Store(), 999), 0);
}

TEST_F(ScoreTable, PlacingAtRankOneMovesEveryRowDownAndDropsTheLast) {
    Place("Zed", 5000);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Zed", "Ada", "Ben", "Cy", "Di"}));
    EXPECT_EQ(store()["Score1Score"], "5000");
    EXPECT_EQ(store()["Score2Score"], "5000");
    EXPECT_EQ(store()["Score5Score"], "2000");
}

TEST_F(ScoreTable, PlacingAtRankThreeMovesOnlyTheRowsBelow) {
    host.ClearCalls();
    Place("Zed", 3000);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Ada", "Ben", "Zed", "Cy", "Di"}));
    EXPECT_EQ(store()["Score4Score"], "3000");
    EXPECT_EQ(store()["Score5Score"], "2000");
    // Lowest row first, so nothing is overwritten before it was copied.
    const std::vector<Call> writes = host.CallsTo("WriteString");
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[0].Text(), "SettingsStore.WriteString(Score5Name,Di)");
}

TEST_F(ScoreTable, PlacingAtRankFiveReplacesItAndOneLessChangesNothing) {
    const std::map<std::string, std::string> before = store();
    Place("Zed", 999);
    EXPECT_EQ(store(), before);

    host.ClearCalls();
    Place("Zed", 1000);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Ada", "Ben", "Cy", "Di", "Zed"}));
    EXPECT_EQ(host.CallsTo("WriteString").size(), 2u);  // only the new row
}

TEST_F(ScoreTable, ScoresAreWrittenAsPlainDecimalAndCopiedAsStored) {
    store()["Score2Score"] = " 4000 pts";  // edited by other means: copied, not re-formatted
    Place("Zed", 2500);
    EXPECT_EQ(store()["Score4Score"], "2500");
    EXPECT_EQ(store()["Score2Score"], " 4000 pts");
    EXPECT_EQ(settings::FindRank(host.Store(), 4000), 2);
    Place("Neg", -5);
    EXPECT_EQ(settings::FindRank(host.Store(), -6), 0);
    Place("Low", INT32_MIN);
    EXPECT_EQ(settings::FindRank(host.Store(), INT32_MIN), 0);
}

TEST_F(ScoreTable, LongStoredTextIsCutByTheStoreNotOverrunningTheReader) {
    store()["Score4Name"] = std::string(1000, 'n');
    Place("Zed", 2500);
    EXPECT_EQ(store()["Score5Name"], std::string(255, 'n'));
}

// ---- Animated bubbles ------------------------------------------------------------------

TEST(AnimatedBubblesOption, IsOnExactlyWhenAbsentOrTheValueStartsWithOne) {
    const std::vector<std::pair<const char*, bool>> cases = {
        {"1", true}, {"0", false}, {"10", true}, {"", false}, {" 1", false}, {"yes", false}};
    for (const auto& [value, on] : cases) {
        TestHost host;
        host.Settings()[settings::kUseAnimatedBubbles] = value;
        EXPECT_EQ(settings::ReadAnimatedBubbles(host.Store()), on) << "'" << value << "'";
    }
    TestHost host;
    EXPECT_TRUE(settings::ReadAnimatedBubbles(host.Store()));
}

}  // namespace
