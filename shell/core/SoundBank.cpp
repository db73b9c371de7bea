// Decoding, conversion and mixing of the game's sounds.
#include "shell/core/SoundBank.h"

#include <algorithm>
#include <cstring>

#include "shell/core/ImageLibrary.h"
#include "shell/core/Log.h"
#include "shell/core/Trace.h"
#include "shell/core/Wave.h"

namespace shell {

namespace {
std::string Upper(const char* name) {
    std::string s(name != nullptr ? name : "");
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}
}  // namespace

SoundBank::SoundBank(const host::ResourceDirectory* directory, Mode mode)
    : directory_(directory), mode_(mode), available_(true) {}

SoundBank::~SoundBank() = default;

void SoundBank::UseFormat(int rate, int channels) {
    std::lock_guard<std::mutex> hold(lock_);
    if (rate_ != 0 || rate <= 0 || channels <= 0) return;
    rate_ = rate;
    channels_ = channels;
    for (auto& [key, clip] : clips_) Convert(*clip);
}

void SoundBank::SetUnavailable(const std::string& why) {
    Log("sound is off: no audio device (%s)", why.c_str());
    std::lock_guard<std::mutex> hold(lock_);
    available_ = false;
    for (Voice& v : voices_) v = Voice{};
}

// Clips are kept mono at the output rate and spread over every output channel when mixed: the
// game's sounds are all mono, and this halves what stereo samples would take.
void SoundBank::Convert(SoundClip& clip) const {
    if (rate_ == 0 || clip.source.empty()) return;
    clip.samples = Resample(clip.source, clip.sourceRate, rate_);
    clip.source.clear();
    clip.source.shrink_to_fit();
}

std::shared_ptr<SoundClip> SoundBank::Load(const char* name) {
    if (!available_) return nullptr;
    const std::string key = Upper(name);
    auto found = clips_.find(key);
    if (found != clips_.end()) return found->second;

    std::shared_ptr<SoundClip> clip;
    const host::ResourceEntry* entry = FindResource(directory_, name);
    if (entry == nullptr || entry->data == nullptr) {
        Log("sound \"%s\" is not among the game's resources", name != nullptr ? name : "");
    } else if (mode_ == Mode::Silent) {
        // A silent run needs no samples, only something to hold; the clip is never played.
        clip = std::make_shared<SoundClip>();
        clip->name = key;
    } else {
        // Only the format is read now: a sound that cannot be read is still refused here, once,
        // and the samples of one never played take no memory.
        WaveFormat format;
        std::string error;
        if (!ReadWaveFormat(entry->data, entry->size, &format, &error)) {
            Log("sound \"%s\" cannot be read: %s", name, error.c_str());
        } else {
            clip = std::make_shared<SoundClip>();
            clip->name = key;
            clip->wave = entry->data;
            clip->waveSize = entry->size;
        }
    }
    if (clip) clips_.emplace(key, clip);
    return clip;
}

// The samples are made in the same steps as when every sound was decoded at start-up, so a
// sound first played late sounds exactly the same. Clips are loaded, decoded and converted on
// the game's thread only; the mixer only reads clips a voice points at, which are decoded.
void SoundBank::Decode(SoundClip& clip) {
    if (clip.wave == nullptr) return;
    WaveSound wave;
    std::string error;
    const bool decoded = DecodeWave(clip.wave, clip.waveSize, &wave, &error);
    clip.wave = nullptr;
    clip.waveSize = 0;
    if (!decoded) return;  // cannot happen: Load checked the format DecodeWave reads
    std::lock_guard<std::mutex> hold(lock_);
    clip.source = std::move(wave.samples);
    clip.sourceRate = wave.rate;
    Convert(clip);
}

void SoundBank::Play(const std::shared_ptr<SoundClip>& clip) {
    if (!clip) return;
    ++plays_;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (mode_ == Mode::Silent || !available_ || muted_ || paused_) return;
        // Voices only point at clips this bank holds, so the mixer never outlives its samples.
        auto held = clips_.find(clip->name);
        if (held == clips_.end() || held->second != clip) return;
    }
    Decode(*clip);
    std::lock_guard<std::mutex> hold(lock_);
    if (!available_ || muted_ || paused_) return;
    Voice* slot = &voices_[0];
    for (Voice& v : voices_) {
        if (v.clip == nullptr) {
            slot = &v;
            break;
        }
        if (v.started < slot->started) slot = &v;  // every voice busy: the oldest gives way
    }
    *slot = Voice{clip.get(), 0, ++playSerial_};
}

void SoundBank::Render(int16_t* out, int frames) {
    if (out == nullptr || frames <= 0) return;
    std::lock_guard<std::mutex> hold(lock_);
    const int channels = channels_ > 0 ? channels_ : 1;
    std::memset(out, 0, static_cast<size_t>(frames) * static_cast<size_t>(channels) * 2);
    if (paused_ || rate_ == 0) return;
    const int32_t gain = volume_;  // per cent
    for (Voice& v : voices_) {
        if (v.clip == nullptr) continue;
        const std::vector<int16_t>& s = v.clip->samples;
        const size_t n = std::min(static_cast<size_t>(frames), s.size() - std::min(v.position, s.size()));
        int16_t* o = out;
        for (size_t i = 0; i < n; ++i) {
            const int32_t sample = s[v.position + i] * gain / 100;
            for (int c = 0; c < channels; ++c, ++o) {
                *o = static_cast<int16_t>(std::clamp<int32_t>(*o + sample, INT16_MIN, INT16_MAX));
            }
        }
        v.position += n;
        if (v.position >= s.size()) v = Voice{};
    }
}

int SoundBank::VoicesPlaying() const {
    std::lock_guard<std::mutex> hold(lock_);
    int n = 0;
    for (const Voice& v : voices_) n += v.clip != nullptr ? 1 : 0;
    return n;
}

size_t SoundBank::Bytes() const {
    std::lock_guard<std::mutex> hold(lock_);
    size_t bytes = 0;
    for (const auto& [key, clip] : clips_) bytes += (clip->source.size() + clip->samples.size()) * 2;
    return bytes;
}

void SoundBank::SetMuted(bool muted) {
    std::lock_guard<std::mutex> hold(lock_);
    muted_ = muted;
    if (muted_) {
        for (Voice& v : voices_) v = Voice{};
    }
}

void SoundBank::SetPaused(bool paused) {
    std::lock_guard<std::mutex> hold(lock_);
    paused_ = paused;
}

void SoundBank::SetVolume(int percent) {
    std::lock_guard<std::mutex> hold(lock_);
    volume_ = std::clamp(percent, 0, 100);
}

HostSound::HostSound(ObjectSpace& space, SoundBank& bank, std::shared_ptr<SoundClip> clip,
                     std::string label)
    : HostObject(space, "Sound", std::move(label)), bank_(bank), clip_(std::move(clip)) {}

void HostSound::Play(int32_t flags) {
    TraceCall(this, "Play", flags);
    bank_.Play(clip_);
}

}  // namespace shell
