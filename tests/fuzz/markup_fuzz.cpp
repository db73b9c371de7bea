// Fuzzes the markup renderer: any bytes, drawn on a canvas that checks every text it is given
// lies inside the input and that every font made is given back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "applet/Globals.h"
#include "tests/text/BoundsCheckingHost.h"
#include "text/Markup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte picks the size step the host's fonts report, sane or not.
    static constexpr int32_t kSteps[] = {0, 1, 2, 3, 4, 5, -1, 6, INT32_MIN, INT32_MAX};
    checking::Host h;
    if (size > 0) {
        h.factory.reportedStep = kSteps[data[0] % (sizeof kSteps / sizeof kSteps[0])];
        ++data;
        --size;
    }
    // An exactly sized, zero-terminated copy: a read past its end is caught.
    auto text = std::make_unique<char[]>(size + 1);
    if (size > 0) std::memcpy(text.get(), data, size);
    text[size] = '\0';
    h.canvas.Expect(text.get(), std::strlen(text.get()));

    sph::factory = &h.factory;
    sph::DrawMarkup(&h.canvas, text.get(), 0, 10);
    sph::factory = nullptr;

    if (h.counters.outOfRange != 0 || h.counters.overReleased != 0 ||
        !h.factory.FontsBalanced(h.canvas)) {
        std::abort();
    }
    return 0;
}
