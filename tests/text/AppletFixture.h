// A started applet on the recording host, for the text button and the help page, which are
// operations of the applet.
#pragma once

#include <gtest/gtest.h>

#include "applet/Applet.h"
#include "host/Applet.h"
#include "tests/support/TestHost.h"

namespace text_test {

class AppletTest : public ::testing::Test {
protected:
    void SetUp() override {
        Shell_StartApplet(host.Site());
        ASSERT_NE(sph::theApplet, nullptr);
        host.ClearCalls();
    }

    void TearDown() override {
        Shell_StopApplet();
        EXPECT_TRUE(host.GetLedger().Clean()) << host.GetLedger().Report();
        EXPECT_TRUE(host.GetLedger().UsedAfterRelease().empty()) << host.GetLedger().Report();
    }

    sph::Applet* App() const { return sph::theApplet; }

    testhost::TestHost host;
};

}  // namespace text_test
