// SDL_mixer set-up and playback.
#include "shell/core/SoundBank.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "shell/core/ImageLibrary.h"
#include "shell/core/Log.h"
#include "shell/core/Trace.h"

namespace shell {

namespace {
constexpr int kChannels = 16;  // enough for every sound of a busy move at once
constexpr int kRate = 44100;
constexpr int kChunkFrames = 1024;

std::string Upper(const char* name) {
    std::string s(name != nullptr ? name : "");
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}
}  // namespace

SoundBank::SoundBank(const host::ResourceDirectory* directory, Mode mode)
    : directory_(directory), mode_(mode) {
    if (mode_ == Mode::Silent) {
        available_ = true;
        return;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        Log("no audio device (%s): the game runs silently", SDL_GetError());
        return;
    }
    if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kChunkFrames) != 0) {
        Log("no audio device (%s): the game runs silently", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    Mix_AllocateChannels(kChannels);
    opened_ = true;
    available_ = true;
}

SoundBank::~SoundBank() {
    if (!opened_) return;
    Mix_HaltChannel(-1);
    chunks_.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::shared_ptr<Mix_Chunk> SoundBank::Load(const char* name) {
    if (!available_) return nullptr;
    const std::string key = Upper(name);
    auto found = chunks_.find(key);
    if (found != chunks_.end()) return found->second;

    std::shared_ptr<Mix_Chunk> chunk;
    const host::ResourceEntry* entry = FindResource(directory_, name);
    if (entry == nullptr || entry->data == nullptr) {
        Log("sound \"%s\" is not among the game's resources", name != nullptr ? name : "");
    } else if (mode_ == Mode::Silent) {
        // A silent run needs no samples, only something to hold; the chunk is never played.
        chunk = std::shared_ptr<Mix_Chunk>(new Mix_Chunk{}, [](Mix_Chunk* c) { delete c; });
    } else {
        SDL_RWops* rw = SDL_RWFromConstMem(entry->data, static_cast<int>(entry->size));
        Mix_Chunk* raw = rw != nullptr ? Mix_LoadWAV_RW(rw, 1) : nullptr;
        if (raw == nullptr) {
            Log("sound \"%s\" cannot be read: %s", name, Mix_GetError());
        } else {
            chunk = std::shared_ptr<Mix_Chunk>(raw, [this](Mix_Chunk* c) {
                if (opened_) Mix_FreeChunk(c);
            });
        }
    }
    if (chunk) chunks_.emplace(key, chunk);
    return chunk;
}

void SoundBank::Play(const std::shared_ptr<Mix_Chunk>& chunk) {
    if (!chunk) return;
    ++plays_;
    if (mode_ == Mode::Silent || !opened_ || muted_) return;
    if (Mix_PlayChannel(-1, chunk.get(), 0) < 0) {
        // Every channel busy: the oldest sound gives way.
        const int oldest = Mix_GroupOldest(-1);
        if (oldest >= 0) {
            Mix_HaltChannel(oldest);
            Mix_PlayChannel(oldest, chunk.get(), 0);
        }
    }
}

HostSound::HostSound(ObjectSpace& space, SoundBank& bank, std::shared_ptr<Mix_Chunk> chunk,
                     std::string label)
    : HostObject(space, "Sound", std::move(label)), bank_(bank), chunk_(std::move(chunk)) {}

void HostSound::Play(int32_t flags) {
    TraceCall(this, "Play", flags);
    bank_.Play(chunk_);
}

}  // namespace shell
