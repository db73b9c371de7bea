// A Host on a virtual clock over resources the tests make, for tests of the shell's objects.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Resources.h"
#include "shell/core/Host.h"
#include "tests/media/GifTestUtil.h"
#include "shell/fonts/SystemFonts.h"

namespace shell_test {

// Resources held for the life of a test.
class Resources {
public:
    void Add(const std::string& name, std::vector<uint8_t> bytes) {
        names_.push_back(std::make_unique<std::string>(name));
        data_.push_back(std::make_unique<std::vector<uint8_t>>(std::move(bytes)));
        entries_.push_back({names_.back()->c_str(), host::kResourceTypeRawData,
                            host::kResourceLanguage, data_.back()->data(),
                            static_cast<uint32_t>(data_.back()->size())});
        directory_ = {host::kResourceDirectoryVersion, static_cast<uint32_t>(entries_.size()),
                      entries_.data(), 0, nullptr};
    }
    const host::ResourceDirectory* Directory() const { return &directory_; }

private:
    std::vector<std::unique_ptr<std::string>> names_;
    std::vector<std::unique_ptr<std::vector<uint8_t>>> data_;
    std::vector<host::ResourceEntry> entries_;
    host::ResourceDirectory directory_{host::kResourceDirectoryVersion, 0, nullptr, 0, nullptr};
};

// A GIF of `frames` frames of w x h; frame i is colour index i + 1 (palette: 0 transparent
// black, then red, green, blue, white, ...), each showing for `delayCs`.
inline std::vector<uint8_t> ColourFrames(int w, int h, int frames, int delayCs, bool loops) {
    gif_test::GifRecipe recipe;
    recipe.width = w;
    recipe.height = h;
    recipe.globalMap = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255},
                      {255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
    for (int i = 0; i < frames; ++i) {
        gif_test::FrameRecipe f = gif_test::Solid(0, 0, w, h, static_cast<uint8_t>(1 + i % 7));
        f.delayCs = delayCs;
        f.transparent = 0;
        recipe.frames.push_back(f);
    }
    recipe.loopCount = loops ? 0 : -1;
    return gif_test::BuildGif(recipe);
}

struct HostHarness {
    explicit HostHarness(const Resources* resources = nullptr) {
        shell::HostOptions options;
        options.fonts = shell::fonts::SystemFonts::Source();
        options.resources = resources != nullptr ? resources->Directory() : nullptr;
        options.time = time.AsSource();
        options.seed = 1;
        options.dialogs = &dialogs;
        host = std::make_unique<shell::Host>(options);
    }
    // Moves the applet's clock `ms` ahead, firing everything due on the way.
    void Advance(int64_t ms) {
        shell::AppletClock& clock = host->Clock();
        const int64_t target = clock.Now() + ms;
        for (int64_t due = host->NextDue(); due >= 0 && due <= target; due = host->NextDue()) {
            time.now += std::max<int64_t>(0, due - clock.Now());
            host->Update();
        }
        time.now += target - clock.Now();
        host->Update();
    }
    shell::Host& operator*() { return *host; }
    shell::Host* operator->() { return host.get(); }

    shell::VirtualTime time;
    shell::ScriptedDialogs dialogs;
    std::unique_ptr<shell::Host> host;
};

}  // namespace shell_test
