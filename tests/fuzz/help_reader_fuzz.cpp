// Fuzzes the help document's way to the page: any bytes as the library's "HELP.QXM", read
// with a limit picked by the input, line ends made blanks, and drawn as markup on a checking
// canvas.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "applet/Globals.h"
#include "tests/text/BoundsCheckingHost.h"
#include "text/Markup.h"
#include "text/TextResourceReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first two bytes pick the limit, up to the page's own 10000.
    int32_t limit = 10000;
    if (size >= 2) {
        limit = static_cast<int32_t>((data[0] | (data[1] << 8)) % 10001);
        data += 2;
        size -= 2;
    }
    // An exactly sized copy, so a read past the document's last byte is caught.
    auto document = std::make_unique<unsigned char[]>(size > 0 ? size : 1);
    if (size > 0) std::memcpy(document.get(), data, size);
    const host::ResourceEntry entry{"HELP.QXM", 10, 1033, document.get(),
                                    static_cast<uint32_t>(size)};
    const host::ResourceDirectory directory{1, 1, &entry, 0, nullptr};
    const HMODULE previous = sph::moduleHandle;
    sph::moduleHandle = &directory;

    auto text = std::make_unique<char[]>(static_cast<size_t>(limit) + 1);
    int result = 1;
    {
        sph::TextResourceReader reader("Help.qxm");
        result = reader.ReadQuotedString(text.get(), limit);
    }
    sph::moduleHandle = previous;
    if (result != 0) std::abort();  // the resource is there: the reader must find it

    const size_t length = std::strlen(text.get());
    if (length > static_cast<size_t>(limit) || std::memchr(text.get(), '"', length) != nullptr) {
        std::abort();
    }
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\r' || text[i] == '\n') text[i] = ' ';
    }

    checking::Host h;
    h.canvas.Expect(text.get(), length);
    sph::factory = &h.factory;
    sph::DrawMarkup(&h.canvas, text.get(), 0, 10);
    sph::factory = nullptr;
    if (h.counters.outOfRange != 0 || h.counters.overReleased != 0 ||
        !h.factory.FontsBalanced(h.canvas)) {
        std::abort();
    }
    return 0;
}
