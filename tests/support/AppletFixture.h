// The one fixture every applet test builds on: an applet started on the recording test host,
// stopped at the end of the case, and the host's ledger checked then for leaks, double
// releases and calls on objects the applet had already given back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "applet/Applet.h"
#include "host/Applet.h"
#include "tests/support/TestHost.h"

namespace testhost {

class AppletFixture : public ::testing::Test {
protected:
    void TearDown() override {
        if (started_) Stop();
    }

    void Start() {
        ASSERT_FALSE(started_) << "the applet is already started";
        Shell_StartApplet(host.Site());
        started_ = true;
        ASSERT_NE(sph::theApplet, nullptr);
    }

    // Stops the applet and checks that it gave back everything, once, and called nothing it
    // had already released.
    void Stop() {
        Shell_StopApplet();
        started_ = false;
        ExpectLedgerClean();
    }

    void ExpectLedgerClean() {
        EXPECT_TRUE(host.GetLedger().Clean()) << host.GetLedger().Report();
        EXPECT_TRUE(host.GetLedger().UsedAfterRelease().empty()) << host.GetLedger().Report();
    }

    bool Started() const { return started_; }
    sph::Applet* App() const { return sph::theApplet; }

    // Labels (resource names) of the sounds played since the calls were last cleared.
    std::vector<std::string> SoundsPlayed() {
        std::vector<std::string> names;
        for (const Call& call : host.CallsTo("Play")) {
            const auto& entries = host.GetLedger().Entries();
            const auto entry = entries.find(call.objectId);
            names.push_back(entry != entries.end() ? entry->second.label : std::string());
        }
        return names;
    }

    // Writes to the store since the calls were last cleared, as "key=value".
    std::vector<std::string> Writes() {
        std::vector<std::string> out;
        for (const Call& c : host.CallsTo("WriteString")) {
            out.push_back(c.args.at(0) + "=" + c.args.at(1));
        }
        return out;
    }

    TestHost host;

private:
    bool started_ = false;
};

}  // namespace testhost
