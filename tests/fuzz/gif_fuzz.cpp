// Fuzzes the GIF decoder: any bytes decode or are refused with a reason; every decoded frame
// covers the whole logical screen.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/media/Gif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    shell::media::GifAnimation animation;
    std::string error;
    if (!shell::media::DecodeGif(data, size, &animation, &error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (animation.frames.empty()) std::abort();
    const size_t bytes = static_cast<size_t>(animation.width) * animation.height * 4;
    for (const auto& frame : animation.frames) {
        if (frame.rgba.size() != bytes) std::abort();
    }
    return 0;
}
