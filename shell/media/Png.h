// PNG writing and reading for screenshots and picture checks (libpng's simplified API).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace shell::media {

// Encodes width x height RGBA pixels (R, G, B, A bytes, rows top-down, no padding) as a PNG
// into *out. False with a message in *error (may be null) on bad arguments or an encoder error.
bool EncodePng(int width, int height, const uint8_t* rgba, std::vector<uint8_t>* out,
               std::string* error);

// Encodes like EncodePng and writes the file at `path` (replacing it).
bool WritePng(const std::string& path, int width, int height, const uint8_t* rgba,
              std::string* error);

// Decodes a PNG held in memory to RGBA (any PNG colour type is converted).
bool DecodePng(const uint8_t* data, size_t size, int* width, int* height,
               std::vector<uint8_t>* rgba, std::string* error);

// Reads and decodes the PNG file at `path` to RGBA.
bool ReadPng(const std::string& path, int* width, int* height, std::vector<uint8_t>* rgba,
             std::string* error);

}  // namespace shell::media
