#include "common/translate.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <algorithm>
#include <cstring>
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

// The system's reasons for a failed operation that a user meets, as the C library words
// them in English (strerrordesc_np): the sources of their translations.
[[maybe_unused]] constexpr const char* kSystemTexts[] = {
    QT_TRANSLATE_NOOP("System", "No such file or directory"),
    QT_TRANSLATE_NOOP("System", "Permission denied"),
    QT_TRANSLATE_NOOP("System", "Operation not permitted"),
    QT_TRANSLATE_NOOP("System", "Read-only file system"),
    QT_TRANSLATE_NOOP("System", "No space left on device"),
    QT_TRANSLATE_NOOP("System", "Disk quota exceeded"),
    QT_TRANSLATE_NOOP("System", "Is a directory"),
    QT_TRANSLATE_NOOP("System", "Not a directory"),
    QT_TRANSLATE_NOOP("System", "Directory not empty"),
    QT_TRANSLATE_NOOP("System", "File exists"),
    QT_TRANSLATE_NOOP("System", "Too many levels of symbolic links"),
    QT_TRANSLATE_NOOP("System", "File name too long"),
    QT_TRANSLATE_NOOP("System", "File too large"),
    QT_TRANSLATE_NOOP("System", "Device or resource busy"),
    QT_TRANSLATE_NOOP("System", "Text file busy"),
    QT_TRANSLATE_NOOP("System", "Input/output error"),
    QT_TRANSLATE_NOOP("System", "Too many open files"),
    QT_TRANSLATE_NOOP("System", "Invalid cross-device link"),
    QT_TRANSLATE_NOOP("System", "Cannot allocate memory"),
    QT_TRANSLATE_NOOP("System", "Resource temporarily unavailable"),
    QT_TRANSLATE_NOOP("System", "Invalid argument"),
    QT_TRANSLATE_NOOP("System", "No such device or address"),
    QT_TRANSLATE_NOOP("System", "Stale file handle"),
    QT_TRANSLATE_NOOP("System", "Connection refused"),
    QT_TRANSLATE_NOOP("System", "Connection timed out"),
    QT_TRANSLATE_NOOP("System", "No route to host"),
};

}  // namespace

std::string systemErrorText(int error) {
    if (const char* english = ::strerrordesc_np(error)) return translate("System", english);
    return std::error_code(error, std::generic_category()).message();
}

std::string systemErrorText(const std::error_code& code) {
    if (code.category() == std::generic_category() || code.category() == std::system_category())
        return systemErrorText(code.value());
    return code.message();
}

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
