// Dialog answers through the frame, the dialog box's keyboard and mouse behaviour, and the
// ledger's reports of objects kept or released twice.
#include <gtest/gtest.h>

#include <cstring>

#include "shell/app/DialogBox.h"
#include "shell/core/Log.h"
#include "tests/shell/ShellTestUtil.h"

namespace {

TEST(FrameDialogs, MessageBoxAnswersFollowTheButtonsAsked) {
    shell_test::TestHost host;
    host::ShellFrame& frame = host->Frame();
    EXPECT_EQ(frame.MessageBox("t", "Play again?", host::kMessageBoxAskYesNo), host::kAnswerNo);
    host.dialogs.QueueAnswer(1);
    EXPECT_EQ(frame.MessageBox("t", "Play again?", host::kMessageBoxAskYesNo), host::kAnswerYes);
    host.dialogs.QueueAnswer(2);
    EXPECT_EQ(frame.MessageBox("t", "?", host::kMessageBoxAskYesNo), host::kAnswerNo);
    EXPECT_EQ(frame.MessageBox("t", "Game over", host::kMessageBoxInform), 1);
    EXPECT_EQ(frame.MessageBox("t", "Game over", host::kMessageBoxInformAlt), 1);
    EXPECT_EQ(frame.MessageBox(nullptr, nullptr, 0), 1);
    EXPECT_EQ(host.dialogs.Asked(), 6);
}

TEST(FrameDialogs, InputBoxCopiesAtMostLimitAndLeavesOutAloneOnCancel) {
    shell_test::TestHost host;
    host::ShellFrame& frame = host->Frame();
    char out[32];
    std::strcpy(out, "unchanged");
    EXPECT_EQ(frame.InputBox("t", "Name?", "Anon", out, 20, 1), 2);
    EXPECT_STREQ(out, "unchanged");

    host.dialogs.QueueText("A very long name indeed, longer than twenty");
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(frame.InputBox("t", "Name?", "Anon", out, 20, 1), 1);
    EXPECT_EQ(std::strlen(out), 20u);
    EXPECT_EQ(out[21], 'x');  // nothing written past the NUL

    host.dialogs.QueueText("");
    EXPECT_EQ(frame.InputBox("t", "Name?", "Anon", out, 20, 1), 1);
    EXPECT_STREQ(out, "");
    host.dialogs.QueueText("abc");
    EXPECT_EQ(frame.InputBox("t", "Name?", "Anon", out, 0, 1), 1);  // no room: empty
    EXPECT_STREQ(out, "");
}

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

TEST(Ledger, DoubleReleaseIsReportedNotACrash) {
    std::string log;
    shell::SetLogSink(&log);
    shell_test::TestHost host;
    host::Canvas* canvas = host->Factory().CreateCanvas(4, 4, 0);
    host::Font* font = host->Factory().CreateFont("Arial", 10, 0);
    canvas->SetFont(font);
    font->Release();
    canvas->Release();
    canvas->Release();  // once too often: caught by the canvas's record
    font->Release();    // and the font
    host->Frame().Release();  // the applet must never release site objects
    shell::Ledger& ledger = host->GetLedger();
    EXPECT_FALSE(ledger.Clean());
    EXPECT_TRUE(ledger.Live().empty());
    ASSERT_EQ(ledger.OverReleased().size(), 3u);
    const std::string report = ledger.Report();
    EXPECT_NE(report.find("released too often: Canvas#"), std::string::npos) << report;
    EXPECT_NE(report.find("site object released: ShellFrame#"), std::string::npos) << report;
    EXPECT_NE(log.find("with no reference left"), std::string::npos);
    shell::SetLogSink(nullptr);
}

TEST(Ledger, KeptObjectsAreListedWithTheirPictureName) {
    shell_test::TestHost host;
    host::Sprite* sprite = host->Factory().LoadImage("p-some-picture.gif", 0);
    host::Animation* animation = nullptr;
    sprite->GetAnimation(&animation);
    sprite->Release();
    // The animation lives on while held, and is what the ledger names.
    const std::string report = host->GetLedger().Report();
    EXPECT_NE(report.find("(p-some-picture.gif), 1 reference"), std::string::npos) << report;
    EXPECT_NE(report.find("kept: Animation#"), std::string::npos) << report;
    EXPECT_EQ(report.find("Sprite#"), std::string::npos) << report;
    animation->Release();
    EXPECT_TRUE(host->GetLedger().Clean());
}

}  // namespace
