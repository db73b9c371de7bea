// The directory through which a host finds the library's named resources and string table.
// The resources' bytes are assembled in from the build tree (ResourceBlobs.S); their list
// comes from the asset generator.
#include "host/Applet.h"

#define SPH_RESOURCE(name, symbol, size) extern "C" const unsigned char symbol[];
#include "ResourceList.inc"
#undef SPH_RESOURCE

namespace {

const host::ResourceEntry kResources[] = {
#define SPH_RESOURCE(name, symbol, size) \
    {name, host::kResourceTypeRawData, host::kResourceLanguage, symbol, size},
#include "ResourceList.inc"
#undef SPH_RESOURCE
};

const host::StringEntry kStrings[] = {
    // Made from the project's version at configure time.
    {host::kStringVersion, host::kResourceLanguage, SPHEROLETTE_VERSION_TEXT},
    {host::kStringName, host::kResourceLanguage, "Spherolette"},
    {host::kStringGuid, host::kResourceLanguage, "{5A1D0C2E-7B34-4E19-9F06-3C8B2D71A4E5}"},
    {host::kStringLogoPicture, host::kResourceLanguage, "p-img-GameLogo.gif"},
    {host::kStringGenre, host::kResourceLanguage, "Puzzle"},
    {host::kStringClass, host::kResourceLanguage, "Sweat"},
    {host::kStringTagline, host::kResourceLanguage, "Quorvex's Spherolette: Tiny Bubbles, Big Fun!"},
    {host::kStringLanguage, host::kResourceLanguage, "LANG_ENGLISH"},
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const host::ResourceDirectory
    Shell_ResourceDirectory = {host::kResourceDirectoryVersion,
                               sizeof kResources / sizeof kResources[0], kResources,
                               sizeof kStrings / sizeof kStrings[0], kStrings};
