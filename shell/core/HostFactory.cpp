// Object creation.
#include "shell/core/HostFactory.h"

#include <algorithm>

#include "shell/core/HostFont.h"
#include "shell/core/HostSprite.h"
#include "shell/core/HostStage.h"
#include "shell/core/Log.h"
#include "shell/core/Trace.h"

namespace shell {

namespace {
int32_t Side(int32_t v) { return std::clamp(v, 0, kMaxCanvasSide); }
}  // namespace

HostFactory::HostFactory(ObjectSpace& space, const FactoryParts& parts)
    : HostObject(space, "Factory", {}, /*siteOwned=*/true), parts_(parts) {}

HostSprite* HostFactory::SpriteOver(std::shared_ptr<const DecodedImage> image, const char* kind,
                                    const std::string& label) {
    ObjectSpace& space = Space();
    HostFrameList* frames = space.Make<HostFrameList>(parts_.fonts, std::move(image));
    HostAnimation* animation = space.Make<HostAnimation>(parts_.animator, frames, 0);
    frames->Drop();  // the animation holds it
    return space.Make<HostSprite>(animation, kind, label);
}

HostSprite* HostFactory::MakeImageSprite(const char* name) {
    HostSprite* sprite = SpriteOver(parts_.images.Load(name), "Sprite", name != nullptr ? name : "");
    // Remembered so the picture can be swapped for its substitute while in use.
    if (name != nullptr) sprite->Animation()->Frames()->SetAskedName(name);
    return sprite;
}

host::Sprite* HostFactory::LoadImage(const char* name, int32_t flags) {
    TraceCall(this, "LoadImage", name, flags);
    return Give(MakeImageSprite(name));
}

host::Sprite* HostFactory::CreateSprite(host::Animation* animation, int32_t mode) {
    TraceCall(this, "CreateSprite", animation, mode);
    HostAnimation* source = As<HostAnimation>(animation);
    if (source == nullptr || source->Frames() == nullptr) {
        Log("CreateSprite was given no usable animation; showing a placeholder");
        return Give(SpriteOver(ImageLibrary::Placeholder("no animation"), "Sprite", ""));
    }
    // The sprite gets its own animation over the same frames, at the same frame.
    HostAnimation* own =
        Space().Make<HostAnimation>(parts_.animator, source->Frames(), source->CurrentFrame());
    return Give(Space().Make<HostSprite>(own, "Sprite", source->Frames()->PictureName()));
}

host::Timer* HostFactory::CreateTimer(void* context, int32_t ms, host::Callback callback) {
    TraceCall(this, "CreateTimer", context, ms, callback);
    return Give(Space().Make<HostTimer>(parts_.timers, context, ms, callback));
}

host::Sound* HostFactory::LoadSound(const char* name, int32_t flags) {
    TraceCall(this, "LoadSound", name, flags);
    if (!parts_.sounds.Available()) return nullptr;
    std::shared_ptr<SoundClip> clip = parts_.sounds.Load(name);
    if (!clip) return nullptr;
    return Give(Space().Make<HostSound>(parts_.sounds, std::move(clip), name));
}

host::Subscription* HostFactory::Subscribe(host::Object* source, int32_t code, void* context,
                                           host::Callback callback) {
    TraceCall(this, "Subscribe", source, code, context, callback);
    const ObjectBase* from = As<ObjectBase>(source);
    if (from == nullptr) Log("Subscribe to event %d of no known object: it never fires", code);
    auto* s = Space().Make<HostSubscription>(from, code, context, callback);
    if (from != nullptr) parts_.events.Add(s);
    return Give(s);
}

host::Font* HostFactory::CreateFont(const char* face, int32_t size, int32_t style) {
    TraceCall(this, "CreateFont", face, size, style);
    return Give(Space().Make<HostFont>(face, size, style));
}

host::Canvas* HostFactory::CreateCanvas(int32_t width, int32_t height, int32_t flags) {
    TraceCall(this, "CreateCanvas", width, height, flags);
    return Give(Space().Make<HostCanvas>(parts_.fonts,
                                         std::make_shared<Pixmap>(Side(width), Side(height))));
}

host::Animation* HostFactory::CreateAnimation(host::FrameList* frames) {
    TraceCall(this, "CreateAnimation", frames);
    HostFrameList* list = As<HostFrameList>(frames);
    if (list == nullptr || list->Disposed()) {
        Log("CreateAnimation was given no usable frame list; using a placeholder");
        list = Space().Make<HostFrameList>(parts_.fonts, ImageLibrary::Placeholder("no frames"));
        HostAnimation* a = Space().Make<HostAnimation>(parts_.animator, list, 0);
        list->Drop();
        return Give(a);
    }
    return Give(Space().Make<HostAnimation>(parts_.animator, list, 0));
}

host::Button* HostFactory::CreateButton(host::Stage* stage, void* context, int32_t x, int32_t y,
                                        int32_t width, int32_t height, host::Canvas* picture,
                                        int32_t flags, int32_t id, host::Callback callback) {
    TraceCall(this, "CreateButton", stage, context, x, y, width, height, picture, flags, id,
              callback);
    const int32_t w = Side(width), h = Side(height);
    // Keep copies of the two looks: the applet releases its picture right after.
    auto image = std::make_shared<DecodedImage>();
    image->name = "button " + std::to_string(id);
    HostCanvas* source = As<HostCanvas>(picture);
    const Pixmap empty;
    const Pixmap& from = source != nullptr ? source->Pixels() : empty;
    for (int half = 0; half < 2; ++half) {
        auto look = std::make_shared<Pixmap>(w, h);
        look->CopyFrom(from, half * w, 0, look->Bounds());
        image->frames.push_back(std::move(look));
        image->delaysMs.push_back(100);
    }
    HostSprite* button = SpriteOver(std::move(image), "Button", "button " + std::to_string(id));
    button->MakeButton({context, id, callback});
    button->Place(x, y);
    if (HostStage* s = As<HostStage>(stage)) {
        s->Add(button);
    } else {
        Log("CreateButton was given no stage: button %d is not shown", id);
    }
    return Give(button);
}

}  // namespace shell
