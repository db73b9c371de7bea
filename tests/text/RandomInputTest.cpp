// Arbitrary bytes thrown at the markup renderer and the document reader, many thousands of
// times from a fixed seed. Run under AddressSanitizer, any read or write beyond the input or
// the output buffer stops the test; the checking host also catches texts measured outside
// the input and fonts not given back.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "BoundsCheckingHost.h"
#include "applet/Globals.h"
#include "text/Markup.h"
#include "text/TextResourceReader.h"

namespace {

constexpr char kMarkupAlphabet[] = "<<<>>>//bBrRsScCpPiIuU+-0123456789aAfF \r\n\"";

// Bytes mostly from `alphabet`, sometimes anything at all.
std::unique_ptr<char[]> RandomBytes(std::mt19937& random, size_t length, const char* alphabet) {
    auto bytes = std::make_unique<char[]>(length + 1);
    const size_t letters = std::strlen(alphabet);
    for (size_t i = 0; i < length; ++i) {
        if (random() % 8 == 0) {
            bytes[i] = static_cast<char>(random() % 255 + 1);
        } else {
            bytes[i] = alphabet[random() % letters];
        }
    }
    bytes[length] = '\0';
    return bytes;
}

TEST(RandomInput, MarkupOfArbitraryBytesStaysInsideItsText) {
    std::mt19937 random(20240611);
    const int32_t steps[] = {0, 1, 2, 3, 4, 5, -1, 6, 100, INT_MIN, INT_MAX};
    for (int round = 0; round < 20000; ++round) {
        checking::Host h;
        h.factory.reportedStep = steps[random() % std::size(steps)];
        sph::factory = &h.factory;

        const size_t length = random() % (round < 19000 ? 200 : 5000);
        const auto text = RandomBytes(random, length, kMarkupAlphabet);
        h.canvas.Expect(text.get(), length);
        sph::DrawMarkup(&h.canvas, text.get(), static_cast<int>(random() % 530),
                        static_cast<int>(random() % 420));

        ASSERT_EQ(h.counters.outOfRange, 0) << text.get();
        ASSERT_EQ(h.counters.overReleased, 0) << text.get();
        ASSERT_TRUE(h.factory.FontsBalanced(h.canvas)) << text.get();
    }
    sph::factory = nullptr;
}

TEST(RandomInput, QuotedStringOfArbitraryBytesStaysInsideBothBuffers) {
    std::mt19937 random(8675309);
    const HMODULE previous = sph::moduleHandle;
    for (int round = 0; round < 20000; ++round) {
        const size_t length = random() % 300;
        // Exactly sized, so a read past the document's last byte is caught.
        const auto document = RandomBytes(random, length, "\"\"\"ab\r\n<>");
        const host::ResourceEntry entry{"HELP.QXM", 10, 1033,
                                        reinterpret_cast<const unsigned char*>(document.get()),
                                        static_cast<uint32_t>(length)};
        const host::ResourceDirectory directory{1, 1, &entry, 0, nullptr};
        sph::moduleHandle = &directory;

        const auto limit = static_cast<int32_t>(random() % (length + 3));
        auto buffer = std::make_unique<char[]>(static_cast<size_t>(limit) + 1);
        sph::TextResourceReader reader("Help.qxm");
        ASSERT_EQ(reader.ReadQuotedString(buffer.get(), limit), 0);

        // What the text must be: after the first quote, up to the next one or the limit.
        std::string expected;
        const std::string bytes(document.get(), length);
        const size_t open = bytes.find('"');
        if (open != std::string::npos) {
            const size_t close = bytes.find('"', open + 1);
            const size_t end = close == std::string::npos ? length : close;
            expected = bytes.substr(open + 1, std::min(end - open - 1, static_cast<size_t>(limit)));
        }
        ASSERT_EQ(std::string(buffer.get(), std::strlen(buffer.get())),
                  expected.substr(0, expected.find('\0')));
    }
    sph::moduleHandle = previous;
}

}  // namespace
