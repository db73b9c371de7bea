// The settings kept in a file on a desktop: StoredSettings over a FileStorage at a path.
#pragma once

#include <string>

#include "shell/settings/StoredSettings.h"

namespace shell {

class SettingsFile : public StoredSettings {
public:
    // Opens the store at `path`; a missing file is an empty store. `log` receives one line per
    // problem (may be empty). Temporary files left by writers killed more than ten minutes ago
    // are removed.
    explicit SettingsFile(const std::string& path, SettingsLog log = {});
    const std::string& Path() const { return Name(); }
};

}  // namespace shell
