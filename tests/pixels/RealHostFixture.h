// The applet started on the shell's own host objects, headless and silent on a virtual clock,
// so a test can look at the pixels the game leaves on the main stage's background: real
// fonts with their anti-aliasing, real pictures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "applet/Applet.h"
#include "host/Applet.h"
#include "shell/core/Host.h"
#include "shell/core/HostCanvas.h"
#include "shell/core/HostSite.h"
#include "shell/fonts/SystemFonts.h"

namespace pixels {

class RealHostFixture : public ::testing::Test {
protected:
    void TearDown() override {
        if (host_ != nullptr) Shell_StopApplet();
    }

    // Starts the applet on a new host whose store holds `settings` as it is now.
    void Start() {
        shell::HostOptions options;
        options.fonts = shell::fonts::SystemFonts::Source();
        options.resources = &Shell_ResourceDirectory;
        options.time = time_.AsSource();
        options.sound = shell::SoundBank::Mode::Silent;
        options.seed = 7;
        options.settings = &settings;
        host_ = std::make_unique<shell::Host>(options);
        Shell_StartApplet(host_->Site());
        ASSERT_NE(sph::theApplet, nullptr);
    }

    sph::Applet* App() const { return sph::theApplet; }

    // A copy of the main stage's background as it is now.
    shell::Pixmap Background() const { return host_->MainStage().Background()->Pixels(); }

    // Pixels of the rectangle [left, right) x [top, bottom) that differ between two pictures.
    static int Differences(const shell::Pixmap& a, const shell::Pixmap& b, int left, int top,
                           int right, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) n += a.At(x, y) != b.At(x, y);
        }
        return n;
    }

    shell::MemorySettings settings;

private:
    shell::VirtualTime time_;
    std::unique_ptr<shell::Host> host_;
};

}  // namespace pixels
