// GIF decoding: reads the file record by record with giflib and composites every frame onto
// the logical screen, so callers only ever see whole RGBA pictures.
#include "shell/media/Gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace shell::media {
namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int wanted) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    if (wanted <= 0) return 0;
    size_t take = std::min(reader->size - reader->pos, static_cast<size_t>(wanted));
    if (take > 0) std::memcpy(buffer, reader->data + reader->pos, take);
    reader->pos += take;
    return static_cast<int>(take);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int ignored = 0;
        DGifCloseFile(gif, &ignored);
    }
};

// The graphic control block that applies to the next image only.
struct Control {
    int delayCs = 0;
    int disposal = 0;
    int transparentIndex = -1;
};

class Decoder {
public:
    Decoder(const uint8_t* data, size_t size) : reader_{data, size, 0} {}

    bool Run(GifAnimation* out, std::string* error);

private:
    bool Fail(std::string message) {
        error_ = "GIF: " + std::move(message);
        return false;
    }
    bool FailGif(const char* what) {
        std::string message = what;
        message += ": ";
        if (reader_.pos >= reader_.size) {
            message += "the file ends early (truncated)";
        } else {
            const char* text = GifErrorString(gif_->Error);
            message += text ? text : "unknown giflib error";
        }
        return Fail(std::move(message));
    }

    bool ReadExtension();
    bool ReadImage();
    bool SetUpScreen(const GifImageDesc& desc);
    void ApplyPreviousDisposal();

    MemoryReader reader_;
    std::unique_ptr<GifFileType, GifCloser> gif_;
    std::string error_;
    GifAnimation anim_;
    Control pending_;
    std::vector<uint8_t> canvas_;      // the screen as the next frame will be drawn onto
    std::vector<uint8_t> saved_;       // the screen before the previous frame, for disposal 3
    int prevLeft_ = 0, prevTop_ = 0, prevWidth_ = 0, prevHeight_ = 0, prevDisposal_ = 0;
    bool havePrevious_ = false;
};

bool Decoder::Run(GifAnimation* out, std::string* error) {
    *out = GifAnimation{};
    bool ok = [&] {
        if (reader_.data == nullptr && reader_.size != 0) return Fail("no data");
        int openError = 0;
        gif_.reset(DGifOpen(&reader_, ReadFromMemory, &openError));
        if (!gif_) {
            std::string message = "not a readable GIF: ";
            if (reader_.size < 6 || std::memcmp(reader_.data, "GIF", 3) != 0) {
                message += "no GIF signature";
            } else if (reader_.pos >= reader_.size) {
                message += "the file ends early (truncated)";
            } else {
                const char* text = GifErrorString(openError);
                message += text ? text : "unknown giflib error";
            }
            return Fail(std::move(message));
        }
        anim_.width = gif_->SWidth;
        anim_.height = gif_->SHeight;
        for (;;) {
            GifRecordType type = UNDEFINED_RECORD_TYPE;
            if (DGifGetRecordType(gif_.get(), &type) == GIF_ERROR) {
                return FailGif("reading the next block");
            }
            switch (type) {
            case IMAGE_DESC_RECORD_TYPE:
                if (!ReadImage()) return false;
                break;
            case EXTENSION_RECORD_TYPE:
                if (!ReadExtension()) return false;
                break;
            case TERMINATE_RECORD_TYPE:
                if (anim_.frames.empty()) return Fail("the file holds no image");
                return true;
            default:
                return Fail("unexpected block type");
            }
        }
    }();
    if (!ok) {
        if (error) *error = error_;
        return false;
    }
    *out = std::move(anim_);
    return true;
}

bool Decoder::ReadExtension() {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif_.get(), &code, &block) == GIF_ERROR) {
        return FailGif("reading an extension");
    }
    bool loopBlock = false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
        pending_.disposal = (block[1] >> 2) & 7;
        pending_.delayCs = block[2] | (block[3] << 8);
        pending_.transparentIndex = (block[1] & 1) ? block[4] : -1;
    } else if (code == APPLICATION_EXT_FUNC_CODE && block != nullptr && block[0] == 11) {
        loopBlock = std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 ||
                    std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0;
    }
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif_.get(), &block) == GIF_ERROR) {
            return FailGif("reading an extension");
        }
        // The loop sub-block is 1, then the count as a little-endian 16-bit number.
        if (loopBlock && block != nullptr && block[0] >= 3 && block[1] == 1) {
            anim_.loops = true;
            anim_.loopCount = block[2] | (block[3] << 8);
        }
    }
    return true;
}

bool Decoder::SetUpScreen(const GifImageDesc& desc) {
    if (anim_.width <= 0) anim_.width = desc.Left + desc.Width;
    if (anim_.height <= 0) anim_.height = desc.Top + desc.Height;
    if (anim_.width <= 0 || anim_.height <= 0) {
        return Fail("the logical screen and the first image have no size");
    }
    size_t bytes = static_cast<size_t>(anim_.width) * static_cast<size_t>(anim_.height) * 4;
    if (bytes > kMaxGifDecodedBytes) return Fail("the logical screen is too large");
    canvas_.assign(bytes, 0);
    return true;
}

void Decoder::ApplyPreviousDisposal() {
    if (!havePrevious_) return;
    if (prevDisposal_ == 2) {
        int x0 = std::max(prevLeft_, 0), x1 = std::min(prevLeft_ + prevWidth_, anim_.width);
        int y0 = std::max(prevTop_, 0), y1 = std::min(prevTop_ + prevHeight_, anim_.height);
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                std::memset(&canvas_[(static_cast<size_t>(y) * anim_.width + x) * 4], 0, 4);
            }
        }
    } else if (prevDisposal_ == 3) {
        // Only the previous frame's rectangle changed since the copy was taken.
        canvas_ = saved_;
    }
}

bool Decoder::ReadImage() {
    if (DGifGetImageDesc(gif_.get()) == GIF_ERROR) return FailGif("reading an image header");
    const GifImageDesc desc = gif_->Image;
    Control control = pending_;
    pending_ = Control{};

    if (canvas_.empty() && !SetUpScreen(desc)) return false;
    size_t frameBytes = canvas_.size();
    if ((anim_.frames.size() + 1) * frameBytes > kMaxGifDecodedBytes) {
        return Fail("the decoded frames would take more than " +
                    std::to_string(kMaxGifDecodedBytes >> 20) + " MiB");
    }

    ApplyPreviousDisposal();
    if (control.disposal == 3) saved_ = canvas_;

    if (desc.Width <= 0 || desc.Height <= 0) {
        // Nothing to draw, but the (empty) image data still has to be read past.
        int codeSize = 0;
        GifByteType* block = nullptr;
        if (DGifGetCode(gif_.get(), &codeSize, &block) == GIF_ERROR) {
            return FailGif("reading image data");
        }
        while (block != nullptr) {
            if (DGifGetCodeNext(gif_.get(), &block) == GIF_ERROR) {
                return FailGif("reading image data");
            }
        }
    } else {
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif_->SColorMap;
        std::vector<GifPixelType> line(static_cast<size_t>(desc.Width));
        auto drawRow = [&](int row) {
            int y = desc.Top + row;
            if (y < 0 || y >= anim_.height) return;
            for (int col = 0; col < desc.Width; ++col) {
                int x = desc.Left + col;
                if (x < 0 || x >= anim_.width) continue;
                int index = line[static_cast<size_t>(col)];
                if (index == control.transparentIndex) continue;
                uint8_t* px = &canvas_[(static_cast<size_t>(y) * anim_.width + x) * 4];
                if (map == nullptr) {
                    px[0] = px[1] = px[2] = static_cast<uint8_t>(index);
                } else if (index < map->ColorCount && map->Colors != nullptr) {
                    px[0] = map->Colors[index].Red;
                    px[1] = map->Colors[index].Green;
                    px[2] = map->Colors[index].Blue;
                } else {
                    px[0] = px[1] = px[2] = 0;
                }
                px[3] = 255;
            }
        };
        auto readRow = [&](int row) {
            if (DGifGetLine(gif_.get(), line.data(), desc.Width) == GIF_ERROR) {
                return FailGif("reading image data");
            }
            drawRow(row);
            return true;
        };
        if (desc.Interlace) {
            static constexpr int kStart[4] = {0, 4, 2, 1};
            static constexpr int kStep[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass) {
                for (int row = kStart[pass]; row < desc.Height; row += kStep[pass]) {
                    if (!readRow(row)) return false;
                }
            }
        } else {
            for (int row = 0; row < desc.Height; ++row) {
                if (!readRow(row)) return false;
            }
        }
    }

    GifFrame frame;
    frame.rgba = canvas_;
    frame.delayCs = control.delayCs;
    frame.disposal = control.disposal;
    for (size_t i = 3; i < frame.rgba.size(); i += 4) {
        if (frame.rgba[i] != 255) {
            frame.hasTransparency = true;
            break;
        }
    }
    anim_.frames.push_back(std::move(frame));

    havePrevious_ = true;
    prevLeft_ = desc.Left;
    prevTop_ = desc.Top;
    prevWidth_ = desc.Width;
    prevHeight_ = desc.Height;
    prevDisposal_ = control.disposal;
    return true;
}

}  // namespace

bool DecodeGif(const uint8_t* data, size_t size, GifAnimation* out, std::string* error) {
    GifAnimation ignored;
    Decoder decoder(data, size);
    return decoder.Run(out ? out : &ignored, error);
}

}  // namespace shell::media
