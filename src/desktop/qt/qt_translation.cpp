#include "desktop/qt/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace zt::desktop {

bool installQtTranslation(const QLocale& locale) {
    static QTranslator* installed = nullptr;
    auto next = std::make_unique<QTranslator>();
    const bool found = next->load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (!found) return false;
    installed = next.release();
    QCoreApplication::installTranslator(installed);
    return true;
}

}  // namespace zt::desktop
