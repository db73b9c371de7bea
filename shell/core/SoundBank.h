// Sounds from the applet library's resources through SDL_mixer. Each resource is decoded once
// and shared by every Sound made from it; several sounds play at once on separate channels.
// Without an audio device (or in a silent run) sounds exist but play nothing, or, when the
// device failed to open, LoadSound gives none at all.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "host/Resources.h"
#include "host/Services.h"
#include "shell/core/ObjectBase.h"

struct Mix_Chunk;

namespace shell {

class SoundBank {
public:
    enum class Mode { Device, Silent };
    SoundBank(const host::ResourceDirectory* directory, Mode mode);
    ~SoundBank();
    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;

    // False when sounds cannot be had (no device): LoadSound then gives null.
    bool Available() const { return available_; }
    // The decoded sound for a resource name (ignoring case); null when missing or unreadable.
    std::shared_ptr<Mix_Chunk> Load(const char* name);
    void Play(const std::shared_ptr<Mix_Chunk>& chunk);
    // Stops or resumes every sound (a later pause or mute uses this).
    void SetMuted(bool muted) { muted_ = muted; }
    bool Muted() const { return muted_; }
    int PlayCount() const { return plays_; }

private:
    const host::ResourceDirectory* directory_;
    Mode mode_;
    bool available_ = false;
    bool opened_ = false;
    bool muted_ = false;
    int plays_ = 0;
    std::map<std::string, std::shared_ptr<Mix_Chunk>> chunks_;  // upper-case name
};

class HostSound : public HostObject<host::Sound> {
public:
    HostSound(ObjectSpace& space, SoundBank& bank, std::shared_ptr<Mix_Chunk> chunk,
              std::string label);
    void Play(int32_t flags) override;

protected:
    void OnDisposed() override { chunk_.reset(); }

private:
    SoundBank& bank_;
    std::shared_ptr<Mix_Chunk> chunk_;
};

}  // namespace shell
