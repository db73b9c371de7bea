// Frame lists over decoded pictures.
#include "shell/core/HostFrameList.h"

#include <algorithm>

#include "shell/core/Trace.h"

namespace shell {

HostFrameList::HostFrameList(ObjectSpace& space, FontCache& fonts,
                             std::shared_ptr<const DecodedImage> image)
    : HostObject(space, "FrameList", image ? image->name : std::string()),
      fonts_(fonts),
      image_(image ? std::move(image) : ImageLibrary::Placeholder("")),
      canvases_(image_->frames.size(), nullptr),
      looping_(image_->loops) {}

void HostFrameList::OnDisposed() {
    for (HostCanvas*& c : canvases_) {
        if (c != nullptr) c->Drop();
        c = nullptr;
    }
}

bool HostFrameList::Repicture(std::shared_ptr<const DecodedImage> image) {
    if (!image || image->frames == image_->frames) return false;
    if (image->frames.size() != image_->frames.size()) return false;
    // The timing stays this list's own, so animations change nothing but their look.
    auto swapped = std::make_shared<DecodedImage>(*image);
    swapped->delaysMs = image_->delaysMs;
    swapped->loops = image_->loops;
    image_ = std::move(swapped);
    for (size_t i = 0; i < canvases_.size(); ++i) {
        if (canvases_[i] != nullptr) canvases_[i]->ReplacePixels(image_->frames[i]);
    }
    return true;
}

int HostFrameList::DelayMs(int index) const {
    if (image_->delaysMs.empty()) return 100;
    return image_->delaysMs[static_cast<size_t>(std::clamp(index, 0, Count() - 1))];
}

HostCanvas* HostFrameList::Frame(int index) {
    if (canvases_.empty() || Disposed()) return nullptr;
    const auto i = static_cast<size_t>(std::clamp(index, 0, Count() - 1));
    if (canvases_[i] == nullptr) {
        canvases_[i] = Space().Make<HostCanvas>(fonts_, image_->frames[i], image_->name);
    }
    return canvases_[i];
}

void HostFrameList::GetFrame(int32_t index, host::Canvas** frame) {
    TraceCall(this, "GetFrame", index);
    if (frame == nullptr) return;
    HostCanvas* c = Frame(index);
    if (c == nullptr) {
        // A released list still answers with a blank picture rather than nothing.
        c = Space().Make<HostCanvas>(fonts_, std::make_shared<Pixmap>(1, 1));
        *frame = Give(c);
        return;
    }
    c->HandOut();
    *frame = c;
}

void HostFrameList::SetLooping(int32_t looping) {
    TraceCall(this, "SetLooping", looping);
    looping_ = looping != 0;
}

}  // namespace shell
