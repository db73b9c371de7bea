// Opening SDL's audio device for the sound bank.
#include "shell/sdl/SdlAudio.h"

#include <SDL.h>
#include <dlfcn.h>

#include <cstring>

#include "shell/core/SoundBank.h"

namespace shell {

namespace {
constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kDeviceFrames = 1024;
// ALSA writes its own errors on stderr while it looks for a card, several lines for a machine
// without one. The game says in one line itself that sound is off, so ALSA is asked to keep
// quiet: when SDL chose it, its library is loaded already and takes an error handler.
void SilentAlsaError(const char*, int, const char*, int, const char*, ...) {}

void QuietAlsa() {
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver == nullptr || std::strcmp(driver, "alsa") != 0) return;
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (alsa == nullptr) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    auto setHandler = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler != nullptr) setHandler(&SilentAlsaError);
    dlclose(alsa);  // SDL keeps its own reference
}

}  // namespace

SdlAudio::~SdlAudio() { Close(); }

void SdlAudio::Close() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);  // the mixing thread has stopped when this returns
    device_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::Open() {
    if (tried_ || !bank_.WantsOutput()) return device_ != 0;
    tried_ = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        bank_.SetUnavailable(SDL_GetError());
        return false;
    }
    QuietAlsa();
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = AUDIO_S16SYS;
    want.channels = kChannels;
    want.samples = kDeviceFrames;
    want.callback = &SdlAudio::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // The device's own rate and channel count are taken as they are, so SDL need not resample
    // on every callback; the bank converts its clips to them once.
    const SDL_AudioDeviceID id =
        SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (id == 0) {
        bank_.SetUnavailable(SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    channels_ = have.channels;
    bank_.UseFormat(have.freq, have.channels);
    device_ = id;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlAudio::Callback(void* self, uint8_t* stream, int bytes) {
    auto* audio = static_cast<SdlAudio*>(self);
    const int frameBytes = static_cast<int>(sizeof(int16_t)) * audio->channels_;
    if (frameBytes <= 0) {
        std::memset(stream, 0, static_cast<size_t>(bytes));
        return;
    }
    audio->bank_.Render(reinterpret_cast<int16_t*>(stream), bytes / frameBytes);
}

}  // namespace shell
