#pragma once
// One offscreen QApplication for the print tests, and the pages of a PDF file.
#include <QApplication>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace zt::test {

inline QApplication& printApp() {
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_print";
        static char* argv[] = {name, nullptr};
        auto* a = new QApplication(argc, argv);  // lives until the program ends
        QApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}

// The page objects of a PDF file: "/Type /Page" not followed by "s" (which would be the
// page tree "/Type /Pages").
inline int pdfPageCount(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    if (text.rfind("%PDF-", 0) != 0) return -1;
    static const std::regex page(R"(/Type\s*/Page(?![A-Za-z]))");
    return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), page), std::sregex_iterator()));
}

}  // namespace zt::test
