// The floor the web host is measured against: a page with one canvas that shows one full
// frame of the stage's background, drawn from WebAssembly memory in the page's frame callback,
// built with the same emscripten flags as the host. It marks 'first-full-frame' as the host does.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kWidth = 530;
constexpr int kHeight = 420;

// clang-format off
EM_JS(void, PresentWholeFrame, (const uint8_t* pixels, int width, int height), {
  const canvas = document.getElementById('stage');
  const image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4),
                              width, height);
  canvas.getContext('2d').putImageData(image, 0, 0);
  performance.mark('first-full-frame');
});
// clang-format on

std::vector<uint8_t> frame;

EM_BOOL DrawFirstFrame(double, void*) {
    frame.assign(size_t{kWidth} * kHeight * 4, 0);
    for (size_t i = 0; i < frame.size(); i += 4) {
        frame[i] = 51;
        frame[i + 1] = 153;
        frame[i + 2] = 153;
        frame[i + 3] = 255;
    }
    PresentWholeFrame(frame.data(), kWidth, kHeight);
    return EM_FALSE;  // one frame is all it shows
}

}  // namespace

int main() {
    emscripten_request_animation_frame(DrawFirstFrame, nullptr);
    return 0;
}
