// The frames of a picture: shared decoded frames, per-frame delays and the looping choice.
#pragma once

#include <memory>
#include <vector>

#include "host/Drawing.h"
#include "shell/core/HostCanvas.h"
#include "shell/core/ImageLibrary.h"
#include "shell/core/ObjectBase.h"

namespace shell {

class HostFrameList : public HostObject<host::FrameList> {
public:
    HostFrameList(ObjectSpace& space, FontCache& fonts, std::shared_ptr<const DecodedImage> image);

    const std::string& PictureName() const { return image_->name; }
    int Count() const { return static_cast<int>(canvases_.size()); }
    int DelayMs(int index) const;
    bool Looping() const { return looping_; }
    // The canvas of a frame (index clamped); this list keeps it.
    HostCanvas* Frame(int index);

    void GetFrame(int32_t index, host::Canvas** frame) override;
    void SetLooping(int32_t looping) override;

protected:
    void OnDisposed() override;

private:
    FontCache& fonts_;
    std::shared_ptr<const DecodedImage> image_;
    std::vector<HostCanvas*> canvases_;  // made on first use
    bool looping_;
};

}  // namespace shell
