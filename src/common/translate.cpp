#include "common/translate.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <algorithm>
#include <memory>
#include <vector>

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
    // With an application object, through every translator installed there (the program's,
    // Qt's, any other a caller installs), the last installed first; the program's own is
    // installed there too when it was chosen before the application existed.
    if (QCoreApplication::instance()) {
        if (t.translator && !t.installed) t.installed = QCoreApplication::installTranslator(t.translator.get());
        return QCoreApplication::translate(context, source).toStdString();
    }
    QString text;
    if (t.translator) text = t.translator->translate(context, source);
    if (text.isEmpty()) return source;
    return text.toStdString();
}

// In one pass, as Qt's multi-argument arg(): the lowest placeholder number takes the first
// argument, the next the second ...; an argument's own "%1" or "%2" (a path, a server's
// message) stays as it is. A placeholder without an argument stays too.
std::string withArgs(const std::string& text, std::initializer_list<std::string> args) {
    auto placeholder = [&](std::size_t i, std::size_t& length) {
        if (text[i] != '%' || i + 1 >= text.size() || text[i + 1] < '1' || text[i + 1] > '9') return 0;
        int n = text[i + 1] - '0';
        length = 2;
        if (i + 2 < text.size() && text[i + 2] >= '0' && text[i + 2] <= '9') {
            n = n * 10 + (text[i + 2] - '0');
            length = 3;
        }
        return n;
    };
    std::vector<int> numbers;
    for (std::size_t i = 0, length = 0; i < text.size(); ++i)
        if (const int n = placeholder(i, length)) numbers.push_back(n);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    const std::vector<std::string> values(args);
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        const int n = placeholder(i, length);
        const auto rank = static_cast<std::size_t>(std::find(numbers.begin(), numbers.end(), n) - numbers.begin());
        if (n && rank < values.size()) {
            out += values[rank];
            i += length;
        } else {
            out += text[i++];
        }
    }
    return out;
}

}  // namespace zt
