// The sound bank's mix for the page's worklet: opened on the player's first click or key (as
// browsers require), at the audio context's own rate, in stereo, and rendered block by block
// as the worklet asks.
#include "web/WebSound.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "shell/core/SoundBank.h"
#include "web/WebImports.h"

namespace shell {

namespace {
constexpr int kChannels = 2;
constexpr int kMostFrames = 8192;  // a block the worklet asks for is far smaller
SoundBank* bank = nullptr;
std::vector<int16_t> block;
}  // namespace

void UseWebSound(SoundBank* b) {
    bank = b;
    web_sound_wanted(bank != nullptr && bank->WantsOutput() ? 1 : 0);
}

void WebSoundFormat(int rate) {
    if (bank == nullptr || !bank->WantsOutput()) return;
    if (rate <= 0) {
        bank->SetUnavailable("this browser has no AudioWorklet");
        return;
    }
    bank->UseFormat(rate, kChannels);
}

void WebSoundBlock(int frames) {
    frames = std::clamp(frames, 0, kMostFrames);
    block.assign(static_cast<size_t>(frames) * kChannels, 0);
    if (bank != nullptr && frames > 0) bank->Render(block.data(), frames);
    web_sound_post(block.data(), frames);
}

}  // namespace shell
