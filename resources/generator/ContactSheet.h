// A contact sheet of every picture as encoded: each frame decoded back from its GIF,
// composited as a player would see it, on both board tiles where bubbles are concerned.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Canvas.h"

namespace assetgen {

// Decodes a GIF the generator wrote into whole frames (disposal 1 and 2 applied).
std::vector<Image> DecodeFrames(const std::vector<uint8_t>& gif);

// Lays out every picture (by stored name -> GIF bytes), scaled `zoom` times, and writes a PNG.
void WriteContactSheet(const std::string& path, const std::map<std::string, std::vector<uint8_t>>& gifs,
                       const std::string& fontPath, int zoom);

}  // namespace assetgen
