// The game's strings.
#include "shell/session/AppletEntry.h"

#include "shell/core/ImageLibrary.h"

namespace shell {

std::string AppletEntry::String(uint32_t id) const {
    const char* s = FindString(resources, id);
    return s != nullptr ? s : "";
}

std::string AppletEntry::Version() const {
    const std::string text = String(host::kStringVersion);
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        size_t end = text.find('.', i);
        if (end == std::string::npos) end = text.size();
        std::string part = text.substr(i, end - i);
        while (part.size() > 1 && part[0] == '0') part.erase(0, 1);  // two digits a part
        out += (out.empty() && i == 0 ? "" : ".") + part;
        i = end + 1;
    }
    return out;
}

}  // namespace shell
