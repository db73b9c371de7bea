// The top-five table in real fonts: however wide a stored name, what is drawn of it stays in
// the name column, so the leader and the score beside it look exactly as beside a short name.
#include <string>
#include <vector>

#include "screens/TitleScreen.h"
#include "tests/pixels/RealHostFixture.h"

namespace pixels {
namespace {

constexpr int kRowY[] = {40, 57, 74, 91, 108};
constexpr int kRowHeight = 17;
constexpr int kScoreColumn = 435;  // where the score column starts
constexpr int kNameLeft = 334;     // runs are drawn 4 px in from their markup position

void StoreNames(shell::MemorySettings& store, const std::string& name) {
    for (int rank = 1; rank <= 5; ++rank) {
        store.values["Score" + std::to_string(rank) + "Name"] = name;
        store.values["Score" + std::to_string(rank) + "Score"] = std::to_string(1000 * rank);
    }
}

bool DarkPixelIn(const shell::Pixmap& p, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const uint32_t c = p.At(x, y);
            if (((c >> 16) & 0xff) + ((c >> 8) & 0xff) + (c & 0xff) < 3 * 60) return true;
        }
    }
    return false;
}

TEST_F(RealHostFixture, TheWidestNamesStayInTheNameColumn) {
    StoreNames(settings, "A");
    Start();
    auto* title = dynamic_cast<sph::TitleScreen*>(App()->currentScreen);
    ASSERT_NE(title, nullptr);
    const shell::Pixmap shortNames = Background();

    // Wide Latin-1 letters and signs, as typed and as long as the store keeps them.
    const std::vector<std::string> names = {
        std::string(20, 'W'), "Maximilian Wolfgang", std::string(255, '\xC6'),
        std::string(40, '@'), std::string(40, 'M'),  std::string(40, '%'),
        std::string(40, '\xBE'), std::string(40, 'm'), std::string(12, 'W') + " " + "Wolfgang",
    };
    for (const std::string& name : names) {
        StoreNames(settings, name);
        title->DrawHighScores();
        const shell::Pixmap drawn = Background();
        for (int y : kRowY) {
            EXPECT_EQ(Differences(drawn, shortNames, kScoreColumn, y, 530, y + kRowHeight), 0)
                << "row " << y << " of " << name.substr(0, 20) << " reaches the score column";
            EXPECT_TRUE(DarkPixelIn(drawn, kNameLeft, y, kScoreColumn, y + kRowHeight))
                << "row " << y << " of " << name.substr(0, 20) << " shows no name";
        }
    }
    // The store keeps every name whole.
    EXPECT_EQ(settings.values["Score1Name"], names.back());
}

}  // namespace
}  // namespace pixels
