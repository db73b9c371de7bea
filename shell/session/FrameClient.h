// Something the loop runs once a frame, after the input and before the second timer update:
// the count-in, notices, a replay's pacing, the player bot.
#pragma once

#include <cstdint>

namespace shell {

class FrameClient {
public:
    virtual ~FrameClient() = default;
    virtual void Frame() = 0;
    // Real milliseconds until Frame has something to do; -1 for nothing.
    virtual int64_t NextWake() const { return -1; }
};

}  // namespace shell
