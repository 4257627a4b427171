#pragma once
// `zentoria` without a command: the window on the working folder, or, where there is
// no display, the grid of one statistic printed instead.
#include <filesystem>
#include <iosfwd>
#include <optional>

#include "app/work_folder.h"

namespace zt::app {

// Whether a window can be shown: a Qt platform is chosen, or an X11 or Wayland display
// is there.
bool displayAvailable();

// The folder dialog and the message box of the first start (app/work_folder.h), as
// Qt dialogs: the dialog `FolderDialog` with the buttons "Scegli" and "Annulla", the
// message in `MsgBox_Form`. Needs a QApplication.
FolderPrompts folderDialogs();

// Opens the main window on the working folder (windowFolder: --dir, the current folder,
// the remembered one, or the user's choice) and runs it until it closes; returns the
// exit status (0 when the user gave up choosing a folder).
int openWindow(const std::optional<std::filesystem::path>& dirOption);

}  // namespace zt::app
