#include "common/translate.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace zt {

namespace {

struct Translation {
    std::unique_ptr<QTranslator> translator;
    bool chosen = false;
    bool installed = false;
};

Translation& current() {
    static Translation t;
    return t;
}

// Texts of Qt's own classes that Qt's Italian translation (qt6-translations-l10n) lacks:
// the type column of the folder dialog. Marked here so that lupdate keeps them in the
// program's file; Qt looks them up through the translator installed in the application.
[[maybe_unused]] constexpr const char* kQtTexts[] = {
    QT_TRANSLATE_NOOP("QAbstractFileIconProvider", "Folder"),
    QT_TRANSLATE_NOOP("QAbstractFileIconProvider", "File"),
    QT_TRANSLATE_NOOP("QAbstractFileIconProvider", "Drive"),
    QT_TRANSLATE_NOOP("QAbstractFileIconProvider", "%1 File"),
    QT_TRANSLATE_NOOP("QAbstractFileIconProvider", "Alias"),
    QT_TRANSLATE_NOOP("QAbstractFileIconProvider", "Shortcut"),
};

}  // namespace

bool useTranslation(const QLocale& locale) {
    Translation& t = current();
    if (t.installed && QCoreApplication::instance()) QCoreApplication::removeTranslator(t.translator.get());
    t.installed = false;
    t.translator.reset();
    t.chosen = true;
    if (locale.language() != QLocale::Italian) return false;
    auto next = std::make_unique<QTranslator>();
    if (!next->load(QStringLiteral(":/i18n/zentoria_it.qm"))) return false;
    t.translator = std::move(next);
    if (QCoreApplication::instance()) t.installed = QCoreApplication::installTranslator(t.translator.get());
    return true;
}

bool useTranslation() { return useTranslation(QLocale::system()); }

std::string translate(const char* context, const char* source) {
    Translation& t = current();
    if (!t.chosen) useTranslation();
    QString text;
    if (t.translator) text = t.translator->translate(context, source);
    if (text.isEmpty()) return source;
    return text.toStdString();
}

std::string withArgs(const std::string& text, std::initializer_list<std::string> args) {
    QString out = QString::fromStdString(text);
    for (const auto& a : args) out = out.arg(QString::fromStdString(a));
    return out.toStdString();
}

}  // namespace zt
