// The system's fonts on a desktop: a face is looked up in the answers remembered from earlier
// runs, and only when they do not hold it (or the fonts or fontconfig's configuration changed)
// in fontconfig, whose answers are then remembered. Font files are mapped, not read whole.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "shell/fonts/FontSource.h"

namespace shell::fonts {

class SystemFonts : public FontSource {
public:
    // `memoryFile`: where answers are remembered between runs (empty: nothing is remembered).
    explicit SystemFonts(std::string memoryFile);

    std::optional<FontMatch> Find(const std::string& face, bool bold, bool italic) override;
    std::shared_ptr<const FontBytes> Open(const FontMatch& match, std::string* error) override;
    // Writes the remembered answers if fontconfig gave new ones.
    void Save() override;

    // A host's font source over the system's fonts (HostOptions::fonts), remembering its
    // answers in `memoryFile` (empty: nothing is remembered).
    static std::function<std::unique_ptr<FontSource>()> Source(std::string memoryFile = {});
    // Where a desktop remembers its font lookups between runs (empty: not remembered).
    // Loading fontconfig's configuration costs more than everything else at start-up, so a
    // run whose fonts and configuration are unchanged takes the files from there.
    static std::string DefaultMemoryFile();

    // The first line of the memory file: the state of fontconfig's configuration.
    static std::string ConfigurationStamp();
    // Size and modification time of a file, as the memory file records them.
    static std::string FileStamp(const std::string& path);

private:
    void Load();

    std::string memoryFile_;
    bool loaded_ = false, changed_ = false;
    std::map<std::tuple<std::string, bool, bool>, FontMatch> remembered_;
};

}  // namespace shell::fonts
