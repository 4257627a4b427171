#pragma once
// Qt's own texts (file dialogs, the fields' context menu, the standard buttons) in the
// user's language: Qt's translation "qtbase_<language>.qm" from Qt's translations folder
// (Debian: qt6-translations-l10n).
#include <QLocale>

namespace zt::desktop {

// Installs Qt's translation for `locale` in the running application, replacing the one
// installed before. Returns false (and Qt keeps its English texts) when the file is not
// there, as for English itself.
bool installQtTranslation(const QLocale& locale = QLocale());

}  // namespace zt::desktop
