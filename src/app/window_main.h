#pragma once
// `zentoria` without a command: the window on the working folder, or, where there is
// no display, the grid of one statistic printed instead.
#include <filesystem>
#include <iosfwd>

namespace zt::app {

// Whether a window can be shown: a Qt platform is chosen, or an X11 or Wayland display
// is there.
bool displayAvailable();

// Opens the main window on the working folder and runs it until it closes; returns the
// exit status.
int openWindow(const std::filesystem::path& workDir);

}  // namespace zt::app
