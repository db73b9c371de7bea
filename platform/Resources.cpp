// Resource lookup over a module's embedded resource directory.
#include <strings.h>

#include "host/Applet.h"
#include "platform/Win32.h"

namespace {

bool IsIntegerResource(LPCSTR name) {
    return reinterpret_cast<uintptr_t>(name) < 0x10000u;
}

}  // namespace

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    if (module == nullptr || name == nullptr || IsIntegerResource(name)) return nullptr;
    if (!IsIntegerResource(type)) return nullptr;
    const auto wantedType = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(type));
    for (uint32_t i = 0; i < module->resourceCount; ++i) {
        const host::ResourceEntry& entry = module->resources[i];
        if (entry.type == wantedType && entry.name != nullptr &&
            strcasecmp(entry.name, name) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    return resource;
}

const void* LockResource(HGLOBAL loaded) {
    return loaded == nullptr ? nullptr : loaded->data;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource == nullptr ? 0 : resource->size;
}

namespace platform {

HMODULE ThisModule() {
    return &Shell_ResourceDirectory;
}

}  // namespace platform
