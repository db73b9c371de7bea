// The settings file.
#include "shell/settings/SettingsFile.h"

#include <memory>

#include "shell/settings/FileStorage.h"

namespace shell {

SettingsFile::SettingsFile(const std::string& path, SettingsLog log)
    : StoredSettings(std::make_unique<FileStorage>(path), std::move(log)) {}

}  // namespace shell
