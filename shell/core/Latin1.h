// Typed text reaches the applet as Latin-1 characters.
#pragma once

#include <string>

namespace shell {

// Decodes UTF-8 and keeps the characters Latin-1 can hold (U+0001 to U+00FF); others and
// malformed bytes are dropped.
std::string Utf8ToLatin1(const std::string& utf8);

}  // namespace shell
