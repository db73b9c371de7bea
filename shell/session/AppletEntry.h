// A game as the shell runs it: its two entry points and the resources it carries, whether the
// library was loaded at run time or linked into the program.
#pragma once

#include <cstdint>
#include <string>

#include "host/Applet.h"
#include "host/Resources.h"

namespace shell {

struct AppletEntry {
    ShellStartAppletFn start = nullptr;
    ShellStopAppletFn stop = nullptr;
    const host::ResourceDirectory* resources = nullptr;

    // A string of the string table, or "" (id 3 is the version).
    std::string String(uint32_t id) const;
    // The game's version as people write it: "00.01.01.13" in the string table reads
    // "0.1.1.13"; "" when the table has none.
    std::string Version() const;
};

}  // namespace shell
