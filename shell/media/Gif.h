// GIF decoding for the shell: turns a GIF87a/89a held in memory into whole RGBA frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace shell::media {

// One frame as it appears on the logical screen after compositing.
struct GifFrame {
    std::vector<uint8_t> rgba;    // width * height * 4 bytes: R, G, B, A per pixel, rows top-down
    int delayCs = 0;              // how long the frame shows, in hundredths of a second
    int disposal = 0;             // what happens to this frame's rectangle after its delay:
                                  // 0/1 keep, 2 clear to transparent, 3 restore what was before
    bool hasTransparency = false; // the composited frame holds at least one non-opaque pixel
};

struct GifAnimation {
    int width = 0, height = 0;     // the logical screen
    std::vector<GifFrame> frames;  // never empty after a successful decode
    bool loops = false;            // the file carries a loop block (NETSCAPE2.0 / ANIMEXTS1.0)
    int loopCount = 0;             // the count stored in that block; 0 means for ever
};

// Decodes a GIF87a/89a from memory with giflib. Every frame is returned composited on the
// logical screen, which starts fully transparent (the background colour index is ignored, as
// browsers do), with the previous frame's disposal applied, transparency, per-frame delays and
// the loop block. Interlaced frames, local and global colour maps are handled; a frame with no
// colour map at all is drawn as a grey ramp (index = grey level); an index beyond its colour
// map is opaque black; a zero-size frame adds a frame with nothing new drawn; parts of a frame
// outside the screen are clipped. A logical screen of zero width or height takes the extent
// of the first frame.
// Returns false with a clear message in *error (which may be null) for a malformed or
// truncated file, a file with no image, or one whose decoded frames would exceed
// kMaxGifDecodedBytes; *out is then left empty.
bool DecodeGif(const uint8_t* data, size_t size, GifAnimation* out, std::string* error);

// The most memory all decoded frames of one file may take together.
constexpr size_t kMaxGifDecodedBytes = size_t{256} << 20;

}  // namespace shell::media
