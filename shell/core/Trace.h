// Formatting of traced host calls: "Canvas#7.FillRect(0, 0, 10, 10)".
#pragma once

#include <cstdint>
#include <string>

#include "host/Object.h"
#include "shell/core/Log.h"
#include "shell/core/ObjectBase.h"

namespace shell {

inline std::string TraceArg(int32_t v) { return std::to_string(v); }
inline std::string TraceArg(uint32_t v) { return std::to_string(v); }
inline std::string TraceArg(uint8_t v) { return std::to_string(v); }
inline std::string TraceArg(const char* s) {
    return s == nullptr ? "null" : "\"" + std::string(s) + "\"";
}
inline std::string TraceArg(const host::Object* o) {
    if (o == nullptr) return "null";
    const ObjectBase* b = dynamic_cast<const ObjectBase*>(o);
    return b != nullptr ? b->Name() : "foreign";
}
inline std::string TraceArg(host::Callback) { return "callback"; }
inline std::string TraceArg(const void* p) { return p == nullptr ? "null" : "ptr"; }

template <class... Args>
void TraceCall(const ObjectBase* self, const char* op, const Args&... args) {
    if (!TraceEnabled()) return;
    std::string line = self->Name() + "." + op + "(";
    bool first = true;
    ((line += (first ? "" : ", ") + TraceArg(args), first = false), ...);
    line += ")";
    TraceLine(line);
}

}  // namespace shell
