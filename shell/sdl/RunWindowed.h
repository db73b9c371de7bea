// A run in a window with sound: the SDL front end around the shell core.
#pragma once

#include "shell/session/AppletEntry.h"
#include "shell/session/Options.h"

namespace shell {

// The exit code of the run.
int RunWindowed(const Options& options, const AppletEntry& applet);

}  // namespace shell
