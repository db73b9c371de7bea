// Test helper: a resource's bytes, found the way the applet and the shell find them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Win32.h"

namespace resources_test {

// The bytes of the named resource, or an empty vector when the library has none by that name.
inline std::vector<uint8_t> Embedded(const std::string& name) {
    const HRSRC found = FindResourceA(platform::ThisModule(), name.c_str(), RT_RCDATA);
    if (found == nullptr) return {};
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(platform::ThisModule(), found)));
    return std::vector<uint8_t>(data, data + SizeofResource(platform::ThisModule(), found));
}

}  // namespace resources_test
