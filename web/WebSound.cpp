// The sound bank's mix for the page's worklet: opened on the player's first click or key (as
// browsers require), at the audio context's own rate, in stereo.
#include "web/WebSound.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "shell/core/SoundBank.h"

namespace shell {

namespace {
constexpr int kChannels = 2;
constexpr int kMostFrames = 8192;  // a block the worklet asks for is far smaller
SoundBank* bank = nullptr;
std::vector<int16_t> block;
}  // namespace

void UseWebSound(SoundBank* b) { bank = b; }

}  // namespace shell

extern "C" {

// Whether the game wants sound and has none yet (the page then opens it).
EMSCRIPTEN_KEEPALIVE int WebSoundWanted() {
    return shell::bank != nullptr && shell::bank->WantsOutput() ? 1 : 0;
}

// The page has no sound to offer: the game stays silent.
EMSCRIPTEN_KEEPALIVE void WebSoundUnavailable() {
    if (shell::bank != nullptr && shell::bank->WantsOutput()) {
        shell::bank->SetUnavailable("this browser has no AudioWorklet");
    }
}

// The page's output plays `rate` frames a second, in stereo.
EMSCRIPTEN_KEEPALIVE void WebSoundFormat(int rate) {
    if (shell::bank != nullptr && shell::bank->WantsOutput() && rate > 0) {
        shell::bank->UseFormat(rate, shell::kChannels);
    }
}

// The next `frames` frames of the mix, interleaved 16-bit stereo; silence without a bank.
EMSCRIPTEN_KEEPALIVE const int16_t* WebSoundRender(int frames) {
    frames = std::clamp(frames, 0, shell::kMostFrames);
    shell::block.assign(static_cast<size_t>(frames) * shell::kChannels, 0);
    if (shell::bank != nullptr && frames > 0) shell::bank->Render(shell::block.data(), frames);
    return shell::block.data();
}

}  // extern "C"
