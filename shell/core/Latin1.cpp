// UTF-8 to Latin-1.
#include "shell/core/Latin1.h"

namespace shell {

std::string Utf8ToLatin1(const std::string& utf8) {
    std::string out;
    size_t i = 0;
    while (i < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        unsigned code = 0;
        if (c < 0x80) {
            code = c;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            code = c & 0x07;
        } else {
            ++i;  // a stray continuation or invalid byte
            continue;
        }
        bool valid = true;
        for (int k = 1; valid && k <= extra; ++k) {
            if (i + k >= utf8.size()) {
                valid = false;
                break;
            }
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            ++i;
            continue;
        }
        i += extra + 1;
        // Overlong forms of ASCII are not characters of their own.
        if (code == 0 || code > 0xFF || (extra == 1 && code < 0x80)) continue;
        out.push_back(static_cast<char>(code));
    }
    return out;
}

}  // namespace shell
