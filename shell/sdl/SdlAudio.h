// The sound card through SDL: opened once, late (after the first frame), it pulls the sound
// bank's mix on SDL's audio thread. Closing it stops the thread before the bank goes.
#pragma once

#include <cstdint>

namespace shell {

class SoundBank;

class SdlAudio {
public:
    explicit SdlAudio(SoundBank& bank) : bank_(bank) {}
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Opens the device when the bank wants one (once). False, with one log line, when there is
    // none: the game then stays silent.
    bool Open();
    bool IsOpen() const { return device_ != 0; }
    void Close();

private:
    static void Callback(void* self, uint8_t* stream, int bytes);

    SoundBank& bank_;
    uint32_t device_ = 0;  // an SDL_AudioDeviceID
    int channels_ = 0;
    bool tried_ = false;
};

}  // namespace shell
