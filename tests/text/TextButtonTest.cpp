// Text buttons: the two-look picture, the button's size and place, and its clicks.
#include <string>
#include <vector>

#include "tests/support/AppletFixture.h"

namespace text_test {
namespace {

struct Clicked {
    void* context = nullptr;
    int32_t value = -1;
    int count = 0;
};
Clicked clicked;

int OnClick(const host::Event* event) {
    clicked.context = event->context;
    clicked.value = event->value;
    ++clicked.count;
    return 0;
}

class TextButton : public testhost::AppletFixture {
protected:
    void SetUp() override {
        Start();
        host.ClearCalls();
    }

    void TearDown() override {
        if (button != nullptr) {
            host.MainStage()->RemoveSprite(button);
            button->Release();
        }
        AppletFixture::TearDown();
    }

    host::Button* button = nullptr;
};

TEST_F(TextButton, PictureHoldsBothLooksSideBySideAndTheButtonIsOneOfThem) {
    int context = 0;
    button = App()->CreateTextButton("Very Easy", 95, 250, 0, 18, &context, OnClick);

    // Bold 18 px on the test host: 10 px a character, 22 px high. W = 90 + 4.
    const auto canvases = host.CallsTo("CreateCanvas");
    ASSERT_EQ(canvases.size(), 1u);
    EXPECT_EQ(canvases[0].args, (std::vector<std::string>{"188", "22", "0"}));

    const auto info = host.Info(button);
    EXPECT_TRUE(info.isButton);
    EXPECT_EQ(info.x, 95);
    EXPECT_EQ(info.y, 250);
    EXPECT_EQ(info.width, 94);
    EXPECT_EQ(info.height, 22);
    EXPECT_EQ(host.SpritesOn(host.MainStage()).back(), button);  // already on the stage

    // The label is measured bold (not underlined) on the stage's canvas, whose font stays.
    const auto measured = host.CallsTo("MeasureText");
    ASSERT_GE(measured.size(), 1u);
    EXPECT_EQ(measured[0].objectId, host.IdOf(host.MainCanvas()));
    EXPECT_EQ(measured[0].args.at(1), "Very Easy");
    for (const testhost::Call& c : host.CallsTo("SetFont")) {
        EXPECT_NE(c.objectId, host.IdOf(host.MainCanvas()));
    }

    // Black on the left at 4, yellow on the right at W + 4, both bold and underlined; the
    // picture's font ends plain again.
    const auto created = host.CallsTo("CreateButton");
    ASSERT_EQ(created.size(), 1u);
    const std::string picture = created[0].args.at(6);
    std::vector<std::string> drawn;
    for (const testhost::Call& c : host.CallsTo("DrawText")) {
        EXPECT_EQ("Canvas#" + std::to_string(c.objectId), picture);
        drawn.push_back(c.args.at(0) + "@" + c.args.at(2) + "," + c.args.at(3));
    }
    EXPECT_EQ(drawn, (std::vector<std::string>{"Very Easy@4,0", "Very Easy@98,0"}));
    std::vector<std::string> fonts;
    for (const testhost::Call& c : host.CallsTo("CreateFont")) {
        fonts.push_back(c.args.at(0) + "," + c.args.at(1) + "," + c.args.at(2));
    }
    EXPECT_EQ(fonts, (std::vector<std::string>{"Arial,18,1", "Arial,18,1", "Arial,18,5",
                                               "Arial,18,4", "Arial,18,0"}));
    std::vector<std::string> colours;
    for (const testhost::Call& c : host.CallsTo("SetTextColor")) {
        colours.push_back(c.args.at(0) + "," + c.args.at(1) + "," + c.args.at(2));
    }
    EXPECT_EQ(colours, (std::vector<std::string>{"0,0,0", "255,255,0"}));
    const auto cleared = host.CallsTo("Clear");
    ASSERT_EQ(cleared.size(), 1u);
    EXPECT_EQ(cleared[0].args, (std::vector<std::string>{"51", "153", "153"}));
}

TEST_F(TextButton, ClickDeliversTheContextAndTheId) {
    int context = 0;
    clicked = {};
    button = App()->CreateTextButton("Medium", 105, 294, 2, 18, &context, OnClick);
    host.Click(button);
    EXPECT_EQ(clicked.count, 1);
    EXPECT_EQ(clicked.context, &context);
    EXPECT_EQ(clicked.value, 2);
}

TEST_F(TextButton, EmptyLabelGivesAFourPixelButtonWithNoText) {
    button = App()->CreateTextButton("", 0, 0, 9, 18, nullptr, OnClick);
    EXPECT_EQ(host.CallsTo("CreateCanvas").at(0).args,
              (std::vector<std::string>{"8", "22", "0"}));
    EXPECT_EQ(host.Info(button).width, 4);
    EXPECT_TRUE(host.CallsTo("DrawText").empty());
}

}  // namespace
}  // namespace text_test
