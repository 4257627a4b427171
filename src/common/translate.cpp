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

std::string translate(const char* context, const char* source, std::initializer_list<std::string> args) {
    Translation& t = current();
    if (!t.chosen) useTranslation();
    QString text;
    if (t.translator) text = t.translator->translate(context, source);
    if (text.isEmpty()) text = QString::fromUtf8(source);
    for (const auto& a : args) text = text.arg(QString::fromStdString(a));
    return text.toStdString();
}

}  // namespace zt
