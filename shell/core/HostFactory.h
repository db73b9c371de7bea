// The factory: makes every object the applet asks for.
#pragma once

#include "host/Services.h"
#include "shell/core/EventHub.h"
#include "shell/core/FontCache.h"
#include "shell/core/HostAnimation.h"
#include "shell/core/ImageLibrary.h"
#include "shell/core/ObjectBase.h"
#include "shell/core/SoundBank.h"
#include "shell/core/TimerQueue.h"

namespace shell {

class HostSprite;

struct FactoryParts {
    FontCache& fonts;
    ImageLibrary& images;
    Animator& animator;
    TimerQueue& timers;
    EventHub& events;
    SoundBank& sounds;
};

class HostFactory : public HostObject<host::Factory> {
public:
    HostFactory(ObjectSpace& space, const FactoryParts& parts);

    // A hidden sprite of a named picture, with one internal reference (the shell's own use).
    HostSprite* MakeImageSprite(const char* name);

    host::Sprite* CreateSprite(host::Animation* animation, int32_t mode) override;
    host::Sprite* LoadImage(const char* name, int32_t flags) override;
    host::Timer* CreateTimer(void* context, int32_t ms, host::Callback callback) override;
    host::Sound* LoadSound(const char* name, int32_t flags) override;
    host::Subscription* Subscribe(host::Object* source, int32_t code, void* context,
                                  host::Callback callback) override;
    host::Font* CreateFont(const char* face, int32_t size, int32_t style) override;
    host::Canvas* CreateCanvas(int32_t width, int32_t height, int32_t flags) override;
    host::Animation* CreateAnimation(host::FrameList* frames) override;
    host::Button* CreateButton(host::Stage* stage, void* context, int32_t x, int32_t y,
                               int32_t width, int32_t height, host::Canvas* picture,
                               int32_t flags, int32_t id, host::Callback callback) override;

private:
    HostSprite* SpriteOver(std::shared_ptr<const DecodedImage> image, const char* kind,
                           const std::string& label);

    FactoryParts parts_;
};

// Canvases larger than this on a side are cut to it (a bad size must not exhaust memory).
constexpr int32_t kMaxCanvasSide = 4096;

}  // namespace shell
