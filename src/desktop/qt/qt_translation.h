#pragma once
// Qt's own texts (file dialogs, the fields' context menu, the standard buttons) in the
// user's language: Qt's translation "qtbase_<language>.qm" from Qt's translations folder
// (Debian: qt6-translations-l10n).
#include <QLocale>

namespace zt::desktop {

// Installs Qt's translation for `locale` in the running application, replacing the one
// installed before. Returns false when there is none for the locale (English itself, or
// the package missing): Qt's texts are then its own English ones.
bool installQtTranslation(const QLocale& locale = QLocale());

}  // namespace zt::desktop
