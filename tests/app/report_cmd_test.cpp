// zentoria print and zentoria export-csv: raw output, PDF output with its pages, the
// destination by name, the archive copy, and the failures with their exit statuses.
#include "app/report_cmd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "report/print_fixture.h"
#include "support/run_program.h"
#include "support/testdir.h"

namespace zt::app {
namespace {

using namespace zt::report::expect;

int pdfPages(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    static const std::regex page(R"(/Type\s*/Page(?![A-Za-z]))");
    return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), page), std::sregex_iterator()));
}

class ReportCmdTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("ZENTORIA_PASSWORD");
        folder.counters(1, 12, 10);
        folder.destination("Matrice", 2, "out.prn");
        folder.destination("Laser", 5, "HP_non_installata");
        folder.setStampa(2, {27, 15, 0, 0, 0, 0, 27, 18, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 66, 12, 0, 0, 0, 0});
        folder.setStampa(5, {8, 0, 0, 0, 0, 1, 10, 0, 0, 0, 0, 0}, {});
        folder.report(numberedLines(25));
    }
    void TearDown() override { clearWorkstation(); }

    test::Run print(std::vector<std::string> args) {
        return test::capture([&](std::ostream& out, std::ostream& err) { return cmdPrint(dir.path(), args, out, err); });
    }
    test::Run exportCsv(std::vector<std::string> args) {
        return test::capture([&](std::ostream& out, std::ostream& err) { return cmdExportCsv(dir.path(), args, out, err); });
    }

    test::TestDir dir;
    PrintFolder folder{dir, "U"};
};

TEST_F(ReportCmdTest, PrintWritesTheFirstDestinationRawAndArchivesTheReport) {
    const auto r = print({});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, (dir / "out.prn").string() + "\n");
    // "U": 3 pages of 12 lines each after the set-up bytes.
    const std::string bytes = dir.read("out.prn");
    ASSERT_EQ(bytes.substr(0, 5), std::string("\x1B\x12\0\0\0", 5));
    EXPECT_EQ(splitCrLf(bytes.substr(5)).size() - 1, 36u);
    EXPECT_EQ(bytes.find('\f'), std::string::npos);
    // The archive copy lies in doc/ as fd + 12 digits + .doc.
    int copies = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir / "doc")) {
        EXPECT_TRUE(std::regex_match(e.path().filename().string(), std::regex(R"(fd\d{12}\.doc)")))
            << e.path();
        ++copies;
    }
    EXPECT_EQ(copies, 1);

}

TEST_F(ReportCmdTest, PrintIntoAPdfFile) {
    const auto pdf = dir / "stampa.pdf";
    auto r = print({"--destination", "Laser", "--pdf", pdf.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, pdf.string() + "\n");
    EXPECT_EQ(pdfPages(pdf), 3);  // 10 lines a page
    r = print({"--destination", "Laser", "--pdf", pdf.string(), "--compressed", "--landscape", "--duplex"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(pdfPages(pdf), 3);  // 12 lines a page

    // A destination through a printer whose device names a PDF printer that is not
    // installed: the PDF beside the archive copy.
    folder.destination("Stampa PDF", 5, "Stampante PDF");
    r = print({"--destination", "Stampa PDF"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(std::regex_match(r.out, std::regex(R"(.*/doc/fd\d{12}\.pdf\n)"))) << r.out;
    EXPECT_EQ(pdfPages(r.out.substr(0, r.out.size() - 1)), 3);
}

TEST_F(ReportCmdTest, FailuresAndTheCsvExport) {
    auto r = print({"--destination", "Nessuna"});
    EXPECT_TRUE(failedSaying(r, 1, "\"Matrice\", \"Laser\""));
    r = print({"--colour"});
    EXPECT_EQ(r.status, 2);
    r = print({"--pdf"});
    EXPECT_EQ(r.status, 2);

    // A password set and none given: nothing printed.
    setenv("ZENTORIA_PASSWORD", "sbagliata", 1);
    dir.write("Security.pwd", "damaged\r\n");
    r = print({});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.prn"));
    std::filesystem::remove(dir / "Security.pwd");
    unsetenv("ZENTORIA_PASSWORD");

    r = exportCsv({});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, (dir / "fd.csv").string() + "\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "fd.csv"));
    EXPECT_EQ(exportCsv({"x"}).status, 2);

    std::filesystem::remove(dir / "fd");
    r = print({});
    EXPECT_TRUE(failedSaying(r, 1, "no report file"));
    r = exportCsv({});
    EXPECT_TRUE(failedSaying(r, 1, "fd"));
}

}  // namespace
}  // namespace zt::app
