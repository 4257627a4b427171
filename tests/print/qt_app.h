#pragma once
// One offscreen QApplication for the print tests (xcb when QT_QPA_PLATFORM asks for it),
// and the pages of a PDF file.
#include <QApplication>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zt::test {

inline QApplication& printApp() {
    static QApplication* app = [] {
        // Offscreen, unless a test entry asks for a real X display (xcb, under Xvfb).
        if (qgetenv("QT_QPA_PLATFORM") != "xcb") qputenv("QT_QPA_PLATFORM", "offscreen");
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

// The words of a PDF file as pdftotext -bbox (poppler-utils) finds them: page (from 1),
// top of the word's box in points from the top of the page, text.
struct PdfWord { int page; double yMin; std::string text; };
inline std::vector<PdfWord> pdfWords(const std::string& file) {
    if (std::system(("pdftotext -bbox '" + file + "' '" + file + ".html'").c_str()) != 0)
        throw std::runtime_error("pdftotext (poppler-utils, scripts/setup.sh) cannot read " + file);
    static const std::regex word(R"re(<word xMin="[^"]*" yMin="([^"]*)"[^>]*>([^<]*)</word>)re");
    std::ifstream in(file + ".html");
    std::vector<PdfWord> words;
    int page = 0;
    for (std::string line; std::getline(in, line);) {
        page += line.find("<page ") != std::string::npos;
        if (std::smatch m; std::regex_search(line, m, word)) words.push_back({page, std::stod(m[1]), m[2]});
    }
    return words;
}

}  // namespace zt::test
