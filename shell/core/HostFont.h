// A font as the applet sees it: a face, a pixel size and style bits. Making one is cheap; the
// file is opened (once) by the FontCache when text is first measured or drawn with it.
#pragma once

#include <string>

#include "host/Drawing.h"
#include "shell/core/ObjectBase.h"

namespace shell {

class HostFont : public HostObject<host::Font> {
public:
    HostFont(ObjectSpace& space, const char* face, int32_t size, int32_t style);

    const std::string& Face() const { return face_; }
    int32_t Size() const { return size_; }
    int32_t Style() const { return style_; }
    // Index into 24, 18, 14, 12, 10, 8 of the size nearest this font's (ties to the larger).
    static int32_t StepFor(int32_t size);

    void GetInfo(char* face, int32_t* size, int32_t* step, int32_t* style) override;

private:
    std::string face_;
    int32_t size_;
    int32_t style_;
};

}  // namespace shell
