#pragma once
// One offscreen QApplication for the print tests, and the pages of a PDF file.
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

// A word of a PDF file where pdftotext (poppler-utils) finds it: its page (from 1) and
// the top of its box in points from the top of the page.
struct PdfWord {
    int page;
    double yMin;
    std::string text;
};

inline std::vector<PdfWord> pdfWords(const std::string& file) {
    const std::string html = file + ".bbox.html";
    const std::string cmd = "pdftotext -bbox '" + file + "' '" + html + "' 2>/dev/null";
    if (std::system(cmd.c_str()) != 0)
        throw std::runtime_error("pdftotext (poppler-utils, installed by scripts/setup.sh) could not read " + file);
    std::ifstream in(html);
    std::vector<PdfWord> words;
    static const std::regex word(R"re(<word xMin="[^"]*" yMin="([^"]*)"[^>]*>([^<]*)</word>)re");
    int page = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.find("<page ") != std::string::npos) ++page;
        std::smatch m;
        if (std::regex_search(line, m, word)) words.push_back({page, std::stod(m[1]), m[2]});
    }
    return words;
}

}  // namespace zt::test
