// Font descriptions.
#include "shell/core/HostFont.h"

#include <cstdlib>
#include <cstring>

#include "shell/core/Trace.h"

namespace shell {

HostFont::HostFont(ObjectSpace& space, const char* face, int32_t size, int32_t style)
    : HostObject(space, "Font"),
      face_(face != nullptr ? std::string(face, strnlen(face, host::kFaceCapacity - 1)) : ""),
      size_(size),
      style_(style) {
    if (face_.empty()) face_ = "Arial";
}

int32_t HostFont::StepFor(int32_t size) {
    static constexpr int32_t kSteps[] = {24, 18, 14, 12, 10, 8};
    int32_t best = 0;
    for (int32_t i = 1; i < 6; ++i) {
        if (std::abs(kSteps[i] - size) < std::abs(kSteps[best] - size)) best = i;
    }
    return best;
}

void HostFont::GetInfo(char* face, int32_t* size, int32_t* step, int32_t* style) {
    TraceCall(this, "GetInfo");
    if (face != nullptr) {
        std::memcpy(face, face_.c_str(), face_.size() + 1);  // at most kFaceCapacity bytes
    }
    if (size != nullptr) *size = size_;
    if (step != nullptr) *step = StepFor(size_);
    if (style != nullptr) *style = style_;
}

}  // namespace shell
