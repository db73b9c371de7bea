// The two entry points an applet library exports, and the resource directory it carries.
#pragma once

#include "host/Resources.h"
#include "host/Services.h"

extern "C" {
// Starts the applet on `site`; returns the result of the applet's ShellFrame::SetTitle.
int Shell_StartApplet(host::AppletSite* site);
// Stops the applet and releases everything it holds; returns 0.
int Shell_StopApplet();
// The library's named resources and string table.
extern const host::ResourceDirectory Shell_ResourceDirectory;
}

// For hosts that load the library with dlopen.
using ShellStartAppletFn = int (*)(host::AppletSite*);
using ShellStopAppletFn = int (*)();
constexpr const char* kShellStartAppletSymbol = "Shell_StartApplet";
constexpr const char* kShellStopAppletSymbol = "Shell_StopApplet";
