// Decoding, conversion and mixing of the game's sounds on SDL's own audio.
#include "shell/core/SoundBank.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "shell/core/ImageLibrary.h"
#include "shell/core/Log.h"
#include "shell/core/Trace.h"

namespace shell {

namespace {
constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kDeviceFrames = 1024;

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

SoundBank::~SoundBank() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);  // the mixing thread has stopped when this returns
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundBank::Lock() const {
    if (device_ != 0) SDL_LockAudioDevice(device_);
}

void SoundBank::Unlock() const {
    if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

bool SoundBank::OpenDevice() {
    if (mode_ != Mode::Device || triedDevice_) return device_ != 0;
    triedDevice_ = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        Log("no audio device (%s): the game runs silently", SDL_GetError());
    } else {
        SDL_AudioSpec want{};
        want.freq = kRate;
        want.format = AUDIO_S16SYS;
        want.channels = kChannels;
        want.samples = kDeviceFrames;
        want.callback = &SoundBank::Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // The device's own rate and channel count are taken as they are, so SDL need not
        // resample on every callback; the clips are converted to them once.
        const SDL_AudioDeviceID id = SDL_OpenAudioDevice(
            nullptr, 0, &want, &have,
            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
        if (id == 0) {
            Log("no audio device (%s): the game runs silently", SDL_GetError());
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        } else {
            UseFormat(have.freq, have.channels);
            device_ = id;
            SDL_PauseAudioDevice(device_, 0);
            return true;
        }
    }
    available_ = false;
    for (Voice& v : voices_) v = Voice{};
    return false;
}

void SoundBank::UseFormat(int rate, int channels) {
    if (rate_ != 0 || rate <= 0 || channels <= 0) return;
    rate_ = rate;
    channels_ = channels;
    for (auto& [key, clip] : clips_) Convert(*clip);
}

// Clips are kept mono at the output rate and spread over every output channel when mixed: the
// game's sounds are all mono, and this halves what stereo samples would take.
void SoundBank::Convert(SoundClip& clip) const {
    if (rate_ == 0 || clip.source.empty()) return;
    SDL_AudioStream* stream = SDL_NewAudioStream(clip.sourceFormat,
                                                 static_cast<Uint8>(clip.sourceChannels),
                                                 clip.sourceRate, AUDIO_S16SYS, 1, rate_);
    if (stream == nullptr) {
        Log("sound \"%s\" cannot be converted: %s", clip.name.c_str(), SDL_GetError());
        return;
    }
    if (SDL_AudioStreamPut(stream, clip.source.data(), static_cast<int>(clip.source.size())) ==
            0 &&
        SDL_AudioStreamFlush(stream) == 0) {
        const int bytes = SDL_AudioStreamAvailable(stream);
        clip.samples.resize(static_cast<size_t>(bytes) / sizeof(int16_t));
        const int got = SDL_AudioStreamGet(stream, clip.samples.data(),
                                           static_cast<int>(clip.samples.size() * sizeof(int16_t)));
        clip.samples.resize(got > 0 ? static_cast<size_t>(got) / sizeof(int16_t) : 0);
    } else {
        Log("sound \"%s\" cannot be converted: %s", clip.name.c_str(), SDL_GetError());
    }
    SDL_FreeAudioStream(stream);
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
    } else if (entry->size > static_cast<uint32_t>(INT32_MAX)) {
        Log("sound \"%s\" cannot be read: too large", name);
    } else {
        SDL_RWops* rw = SDL_RWFromConstMem(entry->data, static_cast<int>(entry->size));
        SDL_AudioSpec format{};
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        if (rw == nullptr || SDL_LoadWAV_RW(rw, 1, &format, &buffer, &length) == nullptr) {
            Log("sound \"%s\" cannot be read: %s", name, SDL_GetError());
        } else {
            clip = std::make_shared<SoundClip>();
            clip->name = key;
            clip->source.assign(buffer, buffer + length);
            clip->sourceFormat = format.format;
            clip->sourceChannels = format.channels;
            clip->sourceRate = format.freq;
            SDL_FreeWAV(buffer);
            Convert(*clip);
        }
    }
    if (clip) clips_.emplace(key, clip);
    return clip;
}

void SoundBank::Play(const std::shared_ptr<SoundClip>& clip) {
    if (!clip) return;
    ++plays_;
    if (mode_ == Mode::Silent || !available_ || muted_ || paused_) return;
    // Voices only point at clips this bank holds, so the mixer never outlives its samples.
    auto held = clips_.find(clip->name);
    if (held == clips_.end() || held->second != clip) return;
    Lock();
    Voice* slot = &voices_[0];
    for (Voice& v : voices_) {
        if (v.clip == nullptr) {
            slot = &v;
            break;
        }
        if (v.started < slot->started) slot = &v;  // every voice busy: the oldest gives way
    }
    *slot = Voice{clip.get(), 0, ++playSerial_};
    Unlock();
}

void SoundBank::Render(int16_t* out, int frames) {
    if (out == nullptr || frames <= 0) return;
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

void SoundBank::Callback(void* self, uint8_t* stream, int bytes) {
    auto* bank = static_cast<SoundBank*>(self);
    const int frameBytes = static_cast<int>(sizeof(int16_t)) * bank->channels_;
    if (frameBytes <= 0) {
        std::memset(stream, 0, static_cast<size_t>(bytes));
        return;
    }
    // SDL holds the device lock while it calls this.
    bank->Render(reinterpret_cast<int16_t*>(stream), bytes / frameBytes);
}

int SoundBank::VoicesPlaying() const {
    Lock();
    int n = 0;
    for (const Voice& v : voices_) n += v.clip != nullptr ? 1 : 0;
    Unlock();
    return n;
}

void SoundBank::SetMuted(bool muted) {
    Lock();
    muted_ = muted;
    if (muted_) {
        for (Voice& v : voices_) v = Voice{};
    }
    Unlock();
}

void SoundBank::SetPaused(bool paused) {
    Lock();
    paused_ = paused;
    Unlock();
}

void SoundBank::SetVolume(int percent) {
    Lock();
    volume_ = std::clamp(percent, 0, 100);
    Unlock();
}

HostSound::HostSound(ObjectSpace& space, SoundBank& bank, std::shared_ptr<SoundClip> clip,
                     std::string label)
    : HostObject(space, "Sound", std::move(label)), bank_(bank), clip_(std::move(clip)) {}

void HostSound::Play(int32_t flags) {
    TraceCall(this, "Play", flags);
    bank_.Play(clip_);
}

}  // namespace shell
