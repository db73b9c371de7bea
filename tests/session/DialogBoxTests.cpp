// The dialog box drawn in the game's look: its keys, its field and its buttons.
#include <gtest/gtest.h>

#include "shell/core/FontCache.h"
#include "shell/session/DialogBox.h"

namespace {

class Box : public ::testing::Test {
protected:
    shell::FontCache fonts;
};

TEST_F(Box, QuestionAnswersWithEnterEscapeArrowsAndInitials) {
    shell::DialogBox enter(fonts, "t", "Quit?", {"Yes", "No"});
    enter.Press(shell::DialogBox::Key::Enter);
    EXPECT_EQ(enter.Chosen(), 0);
    shell::DialogBox escape(fonts, "t", "Quit?", {"Yes", "No"});
    escape.Press(shell::DialogBox::Key::Escape);
    EXPECT_EQ(escape.Chosen(), 1);
    shell::DialogBox arrows(fonts, "t", "Quit?", {"Yes", "No"});
    arrows.Press(shell::DialogBox::Key::Right);
    arrows.Press(shell::DialogBox::Key::Enter);
    EXPECT_EQ(arrows.Chosen(), 1);
    shell::DialogBox initial(fonts, "t", "Quit?", {"Yes", "No"});
    initial.Typed('n');
    EXPECT_EQ(initial.Chosen(), 1);
}

TEST_F(Box, FieldTakesTypingUpToItsLimitAndBackspace) {
    shell::DialogBox box(fonts, "New high score", "Your name:", {"OK", "Cancel"}, true, "Ann", 5);
    for (char c : std::string("ie!!")) box.Typed(static_cast<uint8_t>(c));
    EXPECT_EQ(box.Field(), "Annie");
    box.Typed(1);  // control characters are not text
    box.Press(shell::DialogBox::Key::Backspace);
    box.Typed(0xE9);  // Latin-1 e acute
    EXPECT_EQ(box.Field(), "Anni\xE9");
    EXPECT_FALSE(box.Done());
    box.Press(shell::DialogBox::Key::Enter);
    EXPECT_EQ(box.Chosen(), 0);
}

TEST_F(Box, ClickNeedsPressAndReleaseOnTheSameButtonAndDrawsInsideTheStage) {
    shell::DialogBox box(fonts, "Spherolette", "Quit the game in progress?", {"Yes", "No"});
    box.Layout(530, 420);
    const shell::Rect b = box.Bounds();
    EXPECT_GE(b.x, 0);
    EXPECT_LE(b.Right(), 530);
    shell::Pixmap stage(530, 420, shell::Argb(1, 1, 1));
    box.Paint(stage);
    EXPECT_EQ(stage.At(b.x + b.w / 2, b.y + b.h / 2 + 2), shell::Argb(51, 153, 153));  // teal panel
    EXPECT_EQ(stage.At(b.x, b.y), shell::Argb(0, 51, 51));                           // dark frame
    // Find the buttons by scanning the bottom row of the box for their frames.
    const int y = b.Bottom() - 20;
    int firstButtonX = -1;
    for (int x = b.x + 4; x < b.Right(); ++x) {
        if (stage.At(x, y) == shell::Argb(0, 51, 51)) {
            firstButtonX = x + 5;
            break;
        }
    }
    ASSERT_GT(firstButtonX, 0);
    box.PointerDown(firstButtonX, y);
    box.PointerUp(b.x - 50, y);  // released off the button
    EXPECT_FALSE(box.Done());
    box.PointerDown(firstButtonX, y);
    box.PointerUp(firstButtonX, y);
    EXPECT_EQ(box.Chosen(), 0);
}

}  // namespace
