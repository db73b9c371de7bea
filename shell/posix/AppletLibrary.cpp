// Library loading.
#include "shell/posix/AppletLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "shell/core/ImageLibrary.h"

#ifndef SHELL_BUILD_LIBRARY_DIR
#define SHELL_BUILD_LIBRARY_DIR "../lib"
#endif
#ifndef SHELL_INSTALL_LIBRARY_DIR
#define SHELL_INSTALL_LIBRARY_DIR "../lib/spherolette"
#endif

namespace shell {

namespace {
constexpr const char* kLibraryFile = "libspherolette.so";
}

std::unique_ptr<AppletLibrary> AppletLibrary::Open(const std::string& path, std::string* error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        *error = "cannot load the game library " + path + ": " + (why != nullptr ? why : "?");
        return nullptr;
    }
    std::unique_ptr<AppletLibrary> library(new AppletLibrary());
    library->handle_ = handle;
    library->path_ = path;
    library->start_ = reinterpret_cast<ShellStartAppletFn>(dlsym(handle, kShellStartAppletSymbol));
    library->stop_ = reinterpret_cast<ShellStopAppletFn>(dlsym(handle, kShellStopAppletSymbol));
    library->resources_ = static_cast<const host::ResourceDirectory*>(
        dlsym(handle, SHELL_RESOURCE_DIRECTORY_SYMBOL));
    std::string missing;
    if (library->start_ == nullptr) missing += std::string(" ") + kShellStartAppletSymbol;
    if (library->stop_ == nullptr) missing += std::string(" ") + kShellStopAppletSymbol;
    if (library->resources_ == nullptr) missing += " " SHELL_RESOURCE_DIRECTORY_SYMBOL;
    if (!missing.empty()) {
        *error = path + " is not a game library: it lacks" + missing;
        return nullptr;  // the destructor closes the handle
    }
    if (library->resources_->version != host::kResourceDirectoryVersion) {
        *error = path + " carries resources of an unknown version " +
                 std::to_string(library->resources_->version);
        return nullptr;
    }
    return library;
}

std::unique_ptr<AppletLibrary> AppletLibrary::OpenFirst(const std::vector<std::string>& candidates,
                                                        std::string* error) {
    std::string errors;
    for (const std::string& path : candidates) {
        if (access(path.c_str(), F_OK) != 0) {
            errors += "\n  " + path + ": not found";
            continue;
        }
        std::string why;
        if (auto library = Open(path, &why)) return library;
        errors += "\n  " + why;
    }
    *error = "cannot find the game library " + std::string(kLibraryFile) + "; tried:" + errors;
    return nullptr;
}

AppletLibrary::~AppletLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
}

std::string AppletLibrary::String(uint32_t id) const {
    const char* s = FindString(resources_, id);
    return s != nullptr ? s : "";
}

std::string ExecutableDirectory() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    path[n] = '\0';
    std::string s(path);
    const size_t slash = s.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : s.substr(0, slash));
}

std::vector<std::string> LibraryCandidates(const std::string& dir) {
    std::vector<std::string> out = {
        dir + "/" + kLibraryFile,
        dir + "/" SHELL_BUILD_LIBRARY_DIR "/" + kLibraryFile,
        dir + "/" SHELL_INSTALL_LIBRARY_DIR "/" + kLibraryFile,
        dir + "/../lib/spherolette/" + kLibraryFile,
    };
#ifdef SHELL_MULTIARCH
    out.push_back(dir + "/../lib/" SHELL_MULTIARCH "/spherolette/" + kLibraryFile);
#endif
    // Without duplicates, in order.
    std::vector<std::string> unique;
    for (const std::string& p : out) {
        bool seen = false;
        for (const std::string& q : unique) seen = seen || q == p;
        if (!seen) unique.push_back(p);
    }
    return unique;
}

}  // namespace shell
