// Sounds from the applet library's resources, mixed by the shell itself on SDL's audio device.
// Each resource is decoded once and shared by every Sound made from it; up to kVoices sounds
// play at once. The device is opened late (OpenDevice, after the first frame is on screen) so
// start-up does not wait for the sound system: sounds played before that start when it opens.
// Without an audio device (or in a silent run) sounds exist but play nothing; once opening the
// device has failed, LoadSound gives none at all.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/Resources.h"
#include "host/Services.h"
#include "shell/core/ObjectBase.h"

namespace shell {

// One decoded sound: the samples as the resource holds them until the output format is known,
// then converted once to that format (16-bit signed, native byte order, interleaved).
struct SoundClip {
    std::string name;
    std::vector<uint8_t> source;  // the resource's PCM samples, in sourceFormat
    uint16_t sourceFormat = 0;    // an SDL_AudioFormat
    int sourceChannels = 0;
    int sourceRate = 0;
    std::vector<int16_t> samples;  // in the output format; empty until it is known
};

class SoundBank {
public:
    enum class Mode { Device, Silent };
    static constexpr int kVoices = 16;  // enough for every sound of a busy move at once

    SoundBank(const host::ResourceDirectory* directory, Mode mode);
    ~SoundBank();
    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;

    // Opens the audio device (Device mode only; once). False, with one log line, when there is
    // none: the game then stays silent.
    bool OpenDevice();
    bool DeviceOpen() const { return device_ != 0; }
    // Mixes without a device into 16-bit samples at the given rate and channel count: Render
    // then gives what the device would play. For recordings and tests.
    void UseFormat(int rate, int channels);
    // The next `frames` frames of the mix (what the device callback runs).
    void Render(int16_t* out, int frames);

    // False when sounds cannot be had (no device): LoadSound then gives null.
    bool Available() const { return available_; }
    // The decoded sound for a resource name (ignoring case); null when missing or unreadable.
    std::shared_ptr<SoundClip> Load(const char* name);
    // Starts a sound from its beginning; with every voice busy the oldest sound gives way.
    void Play(const std::shared_ptr<SoundClip>& clip);
    // Muted: sounds playing fall silent and new ones are not started.
    void SetMuted(bool muted);
    bool Muted() const { return muted_; }
    // Paused: sounds playing stop where they are and continue on resuming; none start.
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }
    // Loudness of every sound, 0 to 100 per cent.
    void SetVolume(int percent);
    int Volume() const { return volume_; }
    int PlayCount() const { return plays_; }
    // Sounds currently sounding (or waiting for the device).
    int VoicesPlaying() const;

private:
    struct Voice {
        const SoundClip* clip = nullptr;  // kept alive by clips_ for the bank's lifetime
        size_t position = 0;              // in samples of clip->samples
        uint64_t started = 0;
    };
    void Convert(SoundClip& clip) const;
    void Lock() const;
    void Unlock() const;
    static void Callback(void* self, uint8_t* stream, int bytes);

    const host::ResourceDirectory* directory_;
    Mode mode_;
    bool available_ = false;
    bool triedDevice_ = false;
    uint32_t device_ = 0;  // an SDL_AudioDeviceID
    int rate_ = 0;         // output format, once known
    int channels_ = 0;
    bool muted_ = false;
    bool paused_ = false;
    int volume_ = 100;
    int plays_ = 0;
    uint64_t playSerial_ = 0;
    Voice voices_[kVoices];  // guarded by the device lock while the device is open
    std::map<std::string, std::shared_ptr<SoundClip>> clips_;  // upper-case name
};

class HostSound : public HostObject<host::Sound> {
public:
    HostSound(ObjectSpace& space, SoundBank& bank, std::shared_ptr<SoundClip> clip,
              std::string label);
    void Play(int32_t flags) override;

protected:
    void OnDisposed() override { clip_.reset(); }

private:
    SoundBank& bank_;
    std::shared_ptr<SoundClip> clip_;
};

}  // namespace shell
