// Swapping the pictures behind live frame lists.
#include "shell/core/LiveFrames.h"

#include "shell/core/HostFrameList.h"
#include "shell/core/ImageLibrary.h"

namespace shell {

int RepictureLiveFrames(ObjectSpace& space, ImageLibrary& images) {
    int changed = 0;
    space.ForEachLive<HostFrameList>([&](HostFrameList& frames) {
        if (frames.AskedName().empty()) return;
        if (frames.Repicture(images.Load(frames.AskedName().c_str()))) ++changed;
    });
    return changed;
}

}  // namespace shell
