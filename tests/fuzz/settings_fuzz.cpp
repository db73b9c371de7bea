// Fuzzes the settings file parser: any bytes either parse or are refused with a reason, and
// whatever parses serialises back to text that parses to the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/settings/SettingsFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    shell::SettingsMap values;
    std::string error;
    if (!shell::ParseSettings(text, &values, &error)) {
        if (error.empty() || !values.empty()) std::abort();  // a refusal says why, keeps nothing
        return 0;
    }
    shell::SettingsMap again;
    const std::string written = shell::SerializeSettings(values);
    if (!shell::ParseSettings(written, &again, &error) || again != values) std::abort();
    return 0;
}
