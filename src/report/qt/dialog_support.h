#pragma once
// What the preview and the print menu share: paths as the dialogs show them, and the
// message box that a hook may take over.
#include <QAbstractButton>
#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>

namespace zt::report {

// A path as the dialogs show it.
inline QString pathText(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// A message box with the button "Ok" (as the program's own box writes it) over
// `parent`; with a hook, the hook instead.
inline void showMessage(const std::function<void(const QString&, const QString&, QMessageBox::Icon)>& hook,
                        QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon) {
    if (hook) {
        hook(title, text, icon);
        return;
    }
    QMessageBox dialog(icon, title, text, QMessageBox::Ok, parent);
    dialog.button(QMessageBox::Ok)->setText("Ok");
    dialog.exec();
}

}  // namespace zt::report
