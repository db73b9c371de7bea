// The spherolette program: the command line, the game library, then the window or the
// headless run.
#include <cstdio>
#include <memory>
#include <string>

#include "shell/core/Log.h"
#include "shell/headless/RunHeadless.h"
#include "shell/posix/AppletLibrary.h"
#include "shell/posix/StartTime.h"
#include "shell/sdl/RunWindowed.h"
#include "shell/session/Options.h"
#include "shell/session/Run.h"

int main(int argc, char** argv) {
    using namespace shell;
    MarkMainStart();
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "spherolette: %s\n", error.c_str());
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(UsageText().c_str(), stdout);
        return kExitOk;
    }
    SetTraceEnabled(options.trace);
    StartupStep("main");

    std::unique_ptr<AppletLibrary> library =
        options.library.empty()
            ? AppletLibrary::OpenFirst(LibraryCandidates(ExecutableDirectory()), &error)
            : AppletLibrary::Open(options.library, &error);
    if (!library) {
        std::fprintf(stderr, "spherolette: %s\n", error.c_str());
        return kExitNoLibrary;
    }
    if (options.version) {
        // The version is written once, in the build, and carried by the game library.
        const std::string version = library->Entry().Version();
        std::printf("Spherolette %s\n", version.empty() ? "?" : version.c_str());
        return kExitOk;
    }
    const AppletEntry applet = library->Entry();
    return options.headless ? RunHeadless(options, applet) : RunWindowed(options, applet);
}
