#include "app/window_main.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QIcon>

#include "common/translate.h"
#include "common/env.h"
#include "common/numfmt.h"
#include "common/state.h"
#include "desktop/qt/msgbox_form.h"
#include "desktop/qt/qt_translation.h"
#include "desktop/qt/zent_desk_top.h"
#include "desktop/ui_port.h"

namespace zt::app {

bool displayAvailable() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const auto v = envValue(name);
        if (v && !v->empty()) return true;
    }
    return false;
}

FolderPrompts folderDialogs() {
    FolderPrompts prompts;
    prompts.ask = [](const std::filesystem::path& start) -> std::optional<std::filesystem::path> {
        QFileDialog dialog(nullptr, QString("Zentoria: scegliere la cartella di lavoro (con %1)").arg(kRegistryFile),
                           QString::fromStdString(start.string()));
        dialog.setObjectName("FolderDialog");
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setLabelText(QFileDialog::LookIn, "Cerca in:");
        dialog.setLabelText(QFileDialog::FileName, "Cartella:");
        dialog.setLabelText(QFileDialog::FileType, "Tipo:");
        dialog.setNameFilter("Cartelle (*)");
        dialog.setLabelText(QFileDialog::Accept, "Scegli");
        dialog.setLabelText(QFileDialog::Reject, "Annulla");
        // The folder as accepted (the selection may change while the dialog closes).
        QString chosen;
        QObject::connect(&dialog, &QFileDialog::filesSelected, [&](const QStringList& files) {
            if (!files.isEmpty()) chosen = files.front();
        });
        if (dialog.exec() != QDialog::Accepted || chosen.isEmpty()) return std::nullopt;
        return std::filesystem::path(chosen.toStdString());
    };
    prompts.tell = [](const std::string& text) {
        desktop::MsgBox_Form::ask(nullptr, text, desktop::msgbox::kOkOnly | desktop::msgbox::kExclamation,
                                  "Zentoria");
    };
    return prompts;
}

int openWindow(const std::optional<std::filesystem::path>& dirOption) {
    static int argc = 1;
    static char name[] = "zentoria";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zentoria");
    desktop::installQtTranslation();
    useTranslation();  // the program's own, and Qt texts Qt's translation lacks ("Folder")
    QApplication::setDesktopFileName("zentoria");
    QApplication::setWindowIcon(QIcon::fromTheme("zentoria"));
    // Started from a menu, the current folder may be gone: the home folder stands for it.
    std::error_code ec;
    std::filesystem::path current = std::filesystem::current_path(ec);
    if (ec) current = QDir::homePath().toStdString();
    const auto folder = windowFolder(dirOption, current, folderDialogs());
    if (!folder) return 0;
    ProgramState& state = programState();
    state.workDir = *folder;
    desktop::ZentDeskTop window(state, localeSeparators());
    if (!window.start()) return 1;
    window.show();
    return QApplication::exec();
}

}  // namespace zt::app
