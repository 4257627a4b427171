#pragma once
// While a PseudoTranslation lives, every text goes through a translator that wraps it in
// « », installed over the program's own translation: a text shown unwrapped is a literal
// that escaped translation. Shared by the tests of the window and of the web pages.
#include <QCoreApplication>
#include <QString>
#include <QTranslator>

#include "common/translate.h"

namespace zt::test {

struct PseudoTranslation {
    struct Wrapping : QTranslator {
        QString translate(const char*, const char* source, const char*, int) const override {
            return source && *source ? QStringLiteral("«%1»").arg(QString::fromUtf8(source)) : QString();
        }
        bool isEmpty() const override { return false; }
    } wrap;

    PseudoTranslation() {
        if (!QCoreApplication::instance()) {  // a test program with widgets makes its application first
            static int argc = 1;
            static char name[] = "test_app";
            static char* argv[] = {name, nullptr};
            new QCoreApplication(argc, argv);
        }
        (void)zt::translate("Months", "Gennaio");  // the program's own translation is chosen first
        QCoreApplication::installTranslator(&wrap);
    }
    ~PseudoTranslation() { QCoreApplication::removeTranslator(&wrap); }
    PseudoTranslation(const PseudoTranslation&) = delete;
    PseudoTranslation& operator=(const PseudoTranslation&) = delete;
};

}  // namespace zt::test
