// What the help page reads and the notice it shows.
#pragma once

#include <cstdint>

namespace sph {

constexpr const char* kHelpDocumentName = "Help.qxm";
// Characters of the document's quoted text drawn at most.
constexpr int32_t kHelpTextLimit = 10000;
// Small grey line at the top right; the shell closes the help on Esc, F1 or a click.
constexpr const char* kHelpNotice = "<c333333><s4>Click or press Esc to close this page";

}  // namespace sph
