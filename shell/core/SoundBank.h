// Sounds from the applet library's resources, mixed by the shell itself. Each resource is checked
// when it is loaded and decoded when it is first played (most games never play some sounds),
// once, and shared by every Sound made from it; up to kVoices sounds play at once. The front end
// gives the mix to its platform's audio output: it tells the bank the output format when the
// output opens (late, so start-up does not wait for the sound system: sounds played before that
// start when it opens) and pulls the mix with Render, from any thread. Without an audio output
// (or in a silent run) sounds exist but play nothing; once the output has failed, LoadSound
// gives none at all.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/Resources.h"
#include "host/Services.h"
#include "shell/core/ObjectBase.h"

namespace shell {

// One sound: its resource until first played, then 16-bit mono samples at the resource's rate
// until the output format is known, then converted once to the output's rate (and spread over
// its channels when mixed).
struct SoundClip {
    std::string name;
    const uint8_t* wave = nullptr;  // the resource's bytes (a checked WAVE file) until decoded
    size_t waveSize = 0;
    std::vector<int16_t> source;  // at sourceRate; emptied once converted
    int sourceRate = 0;
    std::vector<int16_t> samples;  // at the output's rate; empty until it is known
};

class SoundBank {
public:
    enum class Mode { Device, Silent };
    static constexpr int kVoices = 16;  // enough for every sound of a busy move at once

    SoundBank(const host::ResourceDirectory* directory, Mode mode);
    ~SoundBank();
    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;

    // Device mode: the front end should open its audio output once (see above).
    bool WantsOutput() const { return mode_ == Mode::Device && available_ && rate_ == 0; }
    // The output opened with 16-bit samples at the given rate and channel count: clips are
    // converted to it, and Render gives what it plays. Once only.
    void UseFormat(int rate, int channels);
    // No audio output can be had: the game stays silent (one log line says why).
    void SetUnavailable(const std::string& why);
    // The next `frames` frames of the mix (what the output's callback runs).
    void Render(int16_t* out, int frames);

    // False when sounds cannot be had (no output): LoadSound then gives null.
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
    // Bytes of the decoded samples held (for accounting of memory).
    size_t Bytes() const;

private:
    struct Voice {
        const SoundClip* clip = nullptr;  // kept alive by clips_ for the bank's lifetime
        size_t position = 0;              // in samples of clip->samples
        uint64_t started = 0;
    };
    void Convert(SoundClip& clip) const;
    // Decodes a clip's resource (the first time it is played), on the caller's thread.
    void Decode(SoundClip& clip);

    const host::ResourceDirectory* directory_;
    Mode mode_;
    bool available_ = false;
    mutable std::mutex lock_;  // the output pulls the mix from its own thread
    int rate_ = 0;             // output format, once known
    int channels_ = 0;
    bool muted_ = false;
    bool paused_ = false;
    int volume_ = 100;
    int plays_ = 0;
    uint64_t playSerial_ = 0;
    Voice voices_[kVoices];  // guarded by lock_
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
