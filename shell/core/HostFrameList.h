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
    // The name the picture was asked for by (before any substitute); empty when none.
    const std::string& AskedName() const { return asked_; }
    void SetAskedName(std::string name) { asked_ = std::move(name); }
    // Shows another picture with the same frames and timing: frames already handed out get
    // its pixels. Refused (false) when the frame count differs.
    bool Repicture(std::shared_ptr<const DecodedImage> image);
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
    std::string asked_;
    std::vector<HostCanvas*> canvases_;  // made on first use
    bool looping_;
};

}  // namespace shell
