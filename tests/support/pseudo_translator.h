#pragma once
// A translator that wraps every text in « »: installed over the program's translation, a
// text shown unwrapped is a literal that escaped translation.
#include <QString>
#include <QTranslator>

namespace zt::test {

struct Wrapping : QTranslator {
    QString translate(const char*, const char* source, const char*, int) const override {
        return source && *source ? QStringLiteral("«%1»").arg(QString::fromUtf8(source)) : QString();
    }
    bool isEmpty() const override { return false; }
};

}  // namespace zt::test
