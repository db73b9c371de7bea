// An empty resource directory, used until the generated assets are built.
#include "host/Applet.h"

extern "C" __attribute__((visibility("default"))) const host::ResourceDirectory
    Shell_ResourceDirectory = {host::kResourceDirectoryVersion, 0, nullptr, 0, nullptr};
