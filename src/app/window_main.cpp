#include "app/window_main.h"

#include <QApplication>

#include "common/env.h"
#include "common/numfmt.h"
#include "common/state.h"
#include "desktop/qt/qt_translation.h"
#include "desktop/qt/zent_desk_top.h"

namespace zt::app {

bool displayAvailable() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const auto v = envValue(name);
        if (v && !v->empty()) return true;
    }
    return false;
}

int openWindow(const std::filesystem::path& workDir) {
    static int argc = 1;
    static char name[] = "zentoria";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zentoria");
    desktop::installQtTranslation();
    ProgramState& state = programState();
    state.workDir = workDir;
    desktop::ZentDeskTop window(state, localeSeparators());
    if (!window.start()) return 1;
    window.show();
    return QApplication::exec();
}

}  // namespace zt::app
