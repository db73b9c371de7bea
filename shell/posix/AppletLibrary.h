// The game library, loaded with dlopen: its two entry points and its resource directory.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Applet.h"
#include "host/Resources.h"
#include "shell/session/AppletEntry.h"

namespace shell {

class AppletLibrary {
public:
    // Loads `path`; null with a message in *error when the file cannot be loaded or lacks an
    // entry point or the resource directory.
    static std::unique_ptr<AppletLibrary> Open(const std::string& path, std::string* error);
    // Tries each candidate in order; the errors of all of them when none loads.
    static std::unique_ptr<AppletLibrary> OpenFirst(const std::vector<std::string>& candidates,
                                                    std::string* error);
    ~AppletLibrary();
    AppletLibrary(const AppletLibrary&) = delete;
    AppletLibrary& operator=(const AppletLibrary&) = delete;

    // The entry points and resources, for the session.
    AppletEntry Entry() const { return {start_, stop_, resources_}; }
    const host::ResourceDirectory* Resources() const { return resources_; }
    const std::string& Path() const { return path_; }
    // A string of the library's string table, or "" (id 3 is the version).
    std::string String(uint32_t id) const;

private:
    AppletLibrary() = default;
    void* handle_ = nullptr;
    ShellStartAppletFn start_ = nullptr;
    ShellStopAppletFn stop_ = nullptr;
    const host::ResourceDirectory* resources_ = nullptr;
    std::string path_;
};

// The folder holding the running executable.
std::string ExecutableDirectory();
// Where to look for the library, relative to the executable's folder: beside it, the build
// tree's lib/, then the install layouts lib/spherolette/ and lib/<multiarch>/spherolette/.
std::vector<std::string> LibraryCandidates(const std::string& executableDirectory);

}  // namespace shell
