// How a host finds the named resources and the string table that the applet library carries.
// The library exports one `ResourceDirectory` under the name kResourceDirectorySymbol.
#pragma once

#include <cstdint>

namespace host {

constexpr uint32_t kResourceTypeRawData = 10;   // every named resource has this type
constexpr uint16_t kResourceLanguage = 1033;   // and this language
constexpr uint32_t kResourceDirectoryVersion = 1;

// One named resource. Names are stored upper-case; hosts look them up ignoring case.
struct ResourceEntry {
    const char* name;
    uint32_t type;
    uint16_t language;
    const unsigned char* data;
    uint32_t size;
};

// One string of the string table.
struct StringEntry {
    uint32_t id;
    uint16_t language;
    const char* text;
};

struct ResourceDirectory {
    uint32_t version;  // kResourceDirectoryVersion
    uint32_t resourceCount;
    const ResourceEntry* resources;
    uint32_t stringCount;
    const StringEntry* strings;
};

// String-table ids.
enum StringId : uint32_t {
    kStringVersion = 3,
    kStringName = 4,
    kStringGuid = 5,
    kStringLogoPicture = 6,
    kStringGenre = 7,
    kStringClass = 8,
    kStringTagline = 9,
    kStringLanguage = 1000,
};

}  // namespace host

#define SHELL_RESOURCE_DIRECTORY_SYMBOL "Shell_ResourceDirectory"
