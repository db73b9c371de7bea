// Dialog answers through the frame, and the ledger's reports of objects kept or released twice.
#include <gtest/gtest.h>

#include <cstring>

#include "shell/core/Log.h"
#include "tests/core/HostHarness.h"

namespace {

TEST(FrameDialogs, MessageBoxAnswersFollowTheButtonsAsked) {
    shell_test::HostHarness host;
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
    shell_test::HostHarness host;
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

TEST(Ledger, DoubleReleaseIsReportedNotACrash) {
    std::string log;
    shell::SetLogSink(&log);
    shell_test::HostHarness host;
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
    shell_test::HostHarness host;
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
