// The game's strings.
#include "shell/session/AppletEntry.h"

#include "shell/core/ImageLibrary.h"

namespace shell {

std::string AppletEntry::String(uint32_t id) const {
    const char* s = FindString(resources, id);
    return s != nullptr ? s : "";
}

}  // namespace shell
