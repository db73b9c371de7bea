// The game library a benchmark plays: the one given with --library, else the one built beside
// it (GAME_LIBRARY), else the first the installed program would find.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "shell/posix/AppletLibrary.h"

namespace bench {

inline std::string BuiltGameLibrary() {
#ifdef GAME_LIBRARY
    return GAME_LIBRARY;
#else
    return {};
#endif
}

// Opens `path` (empty: where the program would look); on failure says why as `program` and
// gives null.
inline std::unique_ptr<shell::AppletLibrary> OpenGameLibrary(const std::string& path,
                                                             const char* program) {
    std::string error;
    std::unique_ptr<shell::AppletLibrary> library =
        path.empty() ? shell::AppletLibrary::OpenFirst(
                           shell::LibraryCandidates(shell::ExecutableDirectory()), &error)
                     : shell::AppletLibrary::Open(path, &error);
    if (!library) std::fprintf(stderr, "%s: %s\n", program, error.c_str());
    return library;
}

}  // namespace bench
