// The game's sounds, synthesised: short tones with envelopes, mixed and levelled.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

constexpr int kSampleRate = 11025;

struct Sound {
    std::string name;            // stored resource name
    int bitsPerSample = 8;
    std::vector<float> samples;  // -1..1, no offset, starting and ending at silence
};

std::vector<Sound> MakeSounds();

}  // namespace assetgen
