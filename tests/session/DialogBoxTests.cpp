// The dialog box drawn in the game's look: its keys, the name prompt's field and its buttons.
#include <gtest/gtest.h>

#include "shell/core/FontCache.h"
#include "shell/session/DialogBox.h"
#include "shell/session/DrawnDialogs.h"
#include "shell/session/TextField.h"
#include "shell/fonts/SystemFonts.h"

namespace {

class Box : public ::testing::Test {
protected:
    shell::FontCache fonts{shell::fonts::SystemFonts::Source()()};
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

TEST_F(Box, TheProposedNameIsSelectedSoTypingReplacesIt) {
    shell::DialogBox box = shell::DialogBox::Prompt(fonts, "New high score", "Your name:", "Name", 20);
    for (char c : std::string("Zo\xEB")) box.Typed(static_cast<uint8_t>(c));
    EXPECT_EQ(box.Field(), "Zo\xEB");
    box.Press(shell::DialogBox::Key::Enter);
    EXPECT_EQ(box.Chosen(), 0);
}

TEST_F(Box, ThePromptHasOnlyOkWhichWaitsForANameAndEscapePutsTheProposalBack) {
    shell::DialogBox box = shell::DialogBox::Prompt(fonts, "New high score", "Your name:", "Ann", 20);
    box.Layout(shell::DrawnDialogs::Area());
    box.Press(shell::DialogBox::Key::Backspace);  // the selection goes
    EXPECT_EQ(box.Field(), "");
    EXPECT_FALSE(box.Available(0));
    box.Press(shell::DialogBox::Key::Enter);
    box.Typed(' ');
    box.Press(shell::DialogBox::Key::Enter);  // blanks are no name either
    EXPECT_FALSE(box.Done());
    box.Press(shell::DialogBox::Key::Escape);
    EXPECT_EQ(box.Field(), "Ann");
    EXPECT_FALSE(box.Done());  // Escape is no way out
    box.Press(shell::DialogBox::Key::Enter);
    EXPECT_EQ(box.Chosen(), 0);

    // Closing takes the field as it stands, and the proposal for a blank one.
    shell::DialogBox typed = shell::DialogBox::Prompt(fonts, "t", "Your name:", "Ann", 20);
    typed.Typed('B');
    typed.Close();
    EXPECT_EQ(typed.Chosen(), 0);
    EXPECT_EQ(typed.Field(), "B");
    shell::DialogBox blank = shell::DialogBox::Prompt(fonts, "t", "Your name:", "Ann", 20);
    blank.Press(shell::DialogBox::Key::Delete);
    blank.Close();
    EXPECT_EQ(blank.Field(), "Ann");
}

TEST(NameField, CaretKeysEditWhereTheCaretIs) {
    shell::TextField field("Maria", 20);
    field.End();
    field.Left();
    field.Left();
    field.Type('n');  // "Marnia"
    field.Home();
    field.Delete();   // "arnia"
    field.Type('K');  // "Karnia"
    field.Right();
    field.Backspace();  // "Krnia"
    EXPECT_EQ(field.Text(), "Krnia");
    EXPECT_EQ(field.Caret(), 1);
    field.SelectAll();
    field.Type('X');
    EXPECT_EQ(field.Text(), "X");
    field.Left();  // at the start, with nothing to the left: stays
    field.Left();
    field.Backspace();
    EXPECT_EQ(field.Text(), "X");
}

TEST(NameField, TheLimitHoldsForTypingAndPastingAndShows) {
    shell::TextField field("", 5);
    for (char c : std::string("Annie!!")) field.Type(static_cast<uint8_t>(c));
    EXPECT_EQ(field.Text(), "Annie");
    EXPECT_TRUE(field.Full());
    field.Home();
    field.Delete();
    field.Delete();
    field.Paste("Jo\tsephine");  // cut to the room left
    EXPECT_EQ(field.Text(), "Jonie");
    field.SelectAll();
    field.Paste("Jo\tsephine");  // a tab reads as a blank
    EXPECT_EQ(field.Text(), "Jo se");
    field.SelectAll();
    field.Paste("0123456789");
    EXPECT_EQ(field.Text(), "01234");
    // A proposal longer than the limit, or with characters a name cannot hold, is cleaned.
    shell::TextField proposed("A<\x01" "BCDEFG", 4);
    EXPECT_EQ(proposed.Text(), "ABCD");
}

TEST(NameField, TheTagCharacterIsRefusedWithANote) {
    shell::TextField field("", 20);
    for (char c : std::string("Zo\xEB <3")) field.Type(static_cast<uint8_t>(c));
    EXPECT_EQ(field.Text(), "Zo\xEB 3");
    field.Type('<');
    EXPECT_TRUE(field.Refused());
    field.Type('x');
    EXPECT_FALSE(field.Refused());
    field.Paste("<c>y");
    EXPECT_TRUE(field.Refused());
    EXPECT_EQ(field.Text(), "Zo\xEB 3xc>y");
}

TEST_F(Box, DialogsLeaveThePanelsBesideTheBoardAndAQuestionLeavesTheBoardItself) {
    // The name prompt is too tall for the band above the board: it goes over the board.
    shell::DialogBox prompt = shell::DialogBox::Prompt(
        fonts, "New high score", "Congratulations, you made the top five! Please enter your name:",
        "Someone With A Long Name", 20);
    shell::DrawnDialogs::Place(prompt);
    const shell::Rect board = shell::DrawnDialogs::Area();
    EXPECT_EQ(board.Intersect(prompt.Bounds()), prompt.Bounds());
    // The question at the end of a game fits above the board, which shows whole beneath it.
    shell::DialogBox question(fonts, "Game Over", "Sorry, no more moves left.\nTry Again?", {"Yes", "No"});
    shell::DrawnDialogs::Place(question);
    EXPECT_EQ(shell::DrawnDialogs::Above().Intersect(question.Bounds()), question.Bounds());
    for (shell::DialogBox* box : {&prompt, &question}) {
        shell::Pixmap stage(530, 420, shell::Argb(1, 1, 1));
        box->Paint(stage);
        for (int y = 0; y < 420; ++y) {
            for (int x = board.Right() + 4; x < 530; ++x) {
                ASSERT_EQ(stage.At(x, y), shell::Argb(1, 1, 1));
            }
        }
    }
}

TEST_F(Box, ClickNeedsPressAndReleaseOnTheSameButtonAndDrawsInsideTheStage) {
    shell::DialogBox box(fonts, "Spherolette", "Quit the game in progress?", {"Yes", "No"});
    box.Layout({0, 0, 530, 420});
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
