#pragma once
// The program's texts in the user's language, through Qt's translation system: the
// sources are marked with translate(context, text) (read by lupdate), the Italian
// translation is translations/zentoria_it.ts, compiled by lrelease into the program
// (resource ":/i18n/zentoria_it.qm"). Works with or without a Qt application object, so
// the command line and the store use it as the window does; with one, a text is looked up
// through every translator installed in the application (QCoreApplication::translate).
// The window's own texts have their Italian text as source: without a translation they
// read as they always did.
#include <initializer_list>
#include <string>
#include <system_error>

// Marks a text for lupdate where it is defined apart from its translate() call; the
// text itself (Qt's own macro, defined the same way).
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

class QLocale;  // no Qt header here: the store includes this file, and Qt defines "emit"

namespace zt {

// `source` in the language of the translation in use; `source` itself when there is no
// translation for it.
std::string translate(const char* context, const char* source);
// `text` with "%1", "%2" ... replaced by `args` in order (Qt's QString::arg).
std::string withArgs(const std::string& text, std::initializer_list<std::string> args);

// Why a file or system operation failed (an errno value), in the user's language: the
// usual reasons through the translation (context "System"), any other as the system
// words it. For a std::error_code of the system's own categories the same; for another
// category its own message.
std::string systemErrorText(int error);
std::string systemErrorText(const std::error_code& code);

// Chooses the translation for `locale` (the user's locale by default): Italian for an
// Italian locale, none (the English sources) for any other. Returns whether one is in use.
// With a Qt application object, also installs it there, for tr() in the Qt classes and
// Qt's own texts this program translates (the file dialog's "Folder").
bool useTranslation(const QLocale& locale);
bool useTranslation();  // the user's locale

}  // namespace zt
