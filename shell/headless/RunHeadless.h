// A run without a window or sound card, on a virtual clock: a script's commands, a replay, the
// player bot, screenshots.
#pragma once

#include "shell/session/AppletEntry.h"
#include "shell/session/Options.h"

namespace shell {

// The exit code of the run.
int RunHeadless(const Options& options, const AppletEntry& applet);

}  // namespace shell
