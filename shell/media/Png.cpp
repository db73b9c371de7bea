// PNG encoding and decoding through libpng's simplified in-memory API; files are read and
// written whole.
#include "shell/media/Png.h"

#include <png.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace shell::media {
namespace {

bool Fail(std::string* error, std::string message) {
    if (error) *error = "PNG: " + std::move(message);
    return false;
}

// Pictures larger than this on a side are refused rather than allocated.
constexpr int kMaxSide = 1 << 15;

}  // namespace

bool EncodePng(int width, int height, const uint8_t* rgba, std::vector<uint8_t>* out,
               std::string* error) {
    if (out == nullptr || rgba == nullptr) return Fail(error, "no pixels or no output");
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        return Fail(error, "bad size " + std::to_string(width) + "x" + std::to_string(height));
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba, 0, nullptr)) {
        std::string message = image.message;
        png_image_free(&image);
        return Fail(error, "encoding failed: " + message);
    }
    out->resize(size);
    if (!png_image_write_to_memory(&image, out->data(), &size, 0, rgba, 0, nullptr)) {
        std::string message = image.message;
        png_image_free(&image);
        out->clear();
        return Fail(error, "encoding failed: " + message);
    }
    out->resize(size);
    return true;
}

bool WritePng(const std::string& path, int width, int height, const uint8_t* rgba,
              std::string* error) {
    std::vector<uint8_t> bytes;
    if (!EncodePng(width, height, rgba, &bytes, error)) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return Fail(error, "cannot create " + path);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = (std::fclose(file) == 0) && ok;
    if (!ok) return Fail(error, "cannot write " + path);
    return true;
}

bool DecodePng(const uint8_t* data, size_t size, int* width, int* height,
               std::vector<uint8_t>* rgba, std::string* error) {
    if (data == nullptr || width == nullptr || height == nullptr || rgba == nullptr) {
        return Fail(error, "no data or no output");
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) {
        std::string message = image.message;
        png_image_free(&image);
        return Fail(error, "not a readable PNG: " + message);
    }
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide ||
        image.height > kMaxSide) {
        png_image_free(&image);
        return Fail(error, "picture too large or empty");
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        std::string message = image.message;
        png_image_free(&image);
        return Fail(error, "decoding failed: " + message);
    }
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    *rgba = std::move(pixels);
    return true;
}

bool ReadPng(const std::string& path, int* width, int* height, std::vector<uint8_t>* rgba,
             std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return Fail(error, "cannot open " + path);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    if (file.bad()) return Fail(error, "cannot read " + path);
    return DecodePng(bytes.data(), bytes.size(), width, height, rgba, error);
}

}  // namespace shell::media
