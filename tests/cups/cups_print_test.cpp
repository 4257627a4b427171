// Printing through a real print queue: a CUPS server of the tests' own (private_cups.sh)
// whose queue "Laser" is a cups-pdf printer writing PDF files into a private folder. The
// demo folder's report goes there through `zentoria print --destination Laser` and
// through the print menu's "Virtuale" list; the written PDF's pages and first line are
// read back with pdfinfo and pdftotext.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>

#include "print/qt_app.h"
#include "report/print_menu_logic.h"
#include "report/qt/menu_stampa.h"
#include "report/report_file.h"
#include "support/run_program.h"
#include "support/testdir.h"

namespace fs = std::filesystem;

namespace zt::report {
namespace {

constexpr const char* kQueue = "Laser";

using test::runShell;  // a shell command and its output and exit status

// Text without the white space (line ends included) around it.
std::string stripped(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

std::string program() {
    const char* bin = std::getenv("ZENTORIA_BIN");
    return bin ? bin : "";
}

// The server, started once for the program's tests and stopped at their end, whatever
// their outcome.
class PrivateCups {
public:
    static PrivateCups& instance() {
        static PrivateCups server;
        return server;
    }
    bool started() const { return !socket_.empty(); }
    const std::string& error() const { return error_; }
    fs::path pdfFolder() const { return dir_.path() / "cups" / "pdf"; }
    // The end of the server's log, for a job that wrote nothing.
    std::string logTail() const {
        return runShell("tail -n 30 " + quoted(dir_.path() / "cups" / "log" / "error_log")).out;
    }
    void stop() {
        if (!started()) return;
        runShell("bash " + quoted(script()) + " stop " + quoted(dir_.path() / "cups") + " 2>&1");
        socket_.clear();
    }
    ~PrivateCups() { stop(); }

private:
    PrivateCups() {
        for (const char* tool : {"pdfinfo", "pdftotext"})
            if (runShell(std::string("command -v ") + tool + " >/dev/null").status != 0)
                error_ += std::string(tool) + " is missing (bash scripts/setup.sh installs poppler-utils). ";
        if (!error_.empty()) return;
        // Reachable by cupsd's filters, which run as the user lp.
        fs::permissions(dir_.path(), fs::perms::others_exec | fs::perms::group_exec, fs::perm_options::add);
        const auto r = runShell("bash " + quoted(script()) + " start " + quoted(dir_.path() / "cups") + " " + kQueue +
                            " 2>&1");
        const std::string last = stripped(r.out.substr(r.out.find_last_of('\n', r.out.size() - 2) + 1));
        if (r.status != 0 || last.empty() || last.front() != '/') {
            error_ = "the private CUPS server did not start:\n" + r.out;
            runShell("bash " + quoted(script()) + " stop " + quoted(dir_.path() / "cups") + " 2>&1");
            return;
        }
        socket_ = last;
        setenv("CUPS_SERVER", socket_.c_str(), 1);
    }
    static fs::path script() { return fs::path(ZT_SOURCE_DIR) / "tests" / "cups" / "private_cups.sh"; }

    test::TestDir dir_;
    std::string socket_;
    std::string error_;
};

// A PDF the queue wrote: its pages and the first line of its text.
struct WrittenPdf {
    fs::path file;
    int pages = 0;
    std::string firstLine;
};

class CupsPrintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        test::printApp();
        PrivateCups::instance();
    }
    static void TearDownTestSuite() { PrivateCups::instance().stop(); }

    void SetUp() override {
        ASSERT_TRUE(PrivateCups::instance().started()) << PrivateCups::instance().error();
        ASSERT_FALSE(program().empty()) << "ZENTORIA_BIN is not set";
        unsetenv("ZENTORIA_PASSWORD");
        for (const auto& e : fs::directory_iterator(PrivateCups::instance().pdfFolder())) before_.insert(e.path());
        demo_ = dir_.path() / "demo";
        ASSERT_EQ(runShell(program() + " demo " + quoted(demo_) + " >/dev/null 2>&1").status, 0);
    }

    // Writes the report of the demo's hotel 1 for 2025.
    void writeReport(const std::string& stat, const std::string& detail) {
        const auto r = runShell(program() + " --dir " + quoted(demo_) + " report --hotel 1 --year 2025 --stat '" + stat +
                            "' --detail '" + detail + "' 2>&1");
        ASSERT_EQ(r.status, 0) << r.out;
    }

    // The report's first line with text as printed (accents folded, box drawn), and its
    // pages.
    std::string reportFirstLine() const {
        const auto report = ReportFile::read(reportFilePath(demo_));
        for (const auto& line : report.lines()) {
            const std::string text = stripped(decodeReportLine(foldAccents(line)));
            if (!text.empty() && !isFormFeedLine(line)) return text;
        }
        return "";
    }
    int reportPages() const {
        const auto setup = readPrintSetup(demo_, kQueue, 1);
        return static_cast<int>(paginate(ReportFile::read(reportFilePath(demo_)).lines(), setup.pageLength(false)).size());
    }

    // Waits for the queue to finish the job (it was queued before the print returned)
    // and returns the new PDF file it wrote; none when the job failed.
    WrittenPdf waitForPdf() const {
        WrittenPdf pdf;
        const auto folder = PrivateCups::instance().pdfFolder();
        while (!stripped(runShell("lpstat -o " + std::string(kQueue) + " 2>/dev/null").out).empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        for (const auto& e : fs::directory_iterator(folder))
            if (e.path().extension() == ".pdf" && !before_.count(e.path())) pdf.file = e.path();
        if (pdf.file.empty()) return pdf;
        const auto info = runShell("pdfinfo " + quoted(pdf.file) + " | sed -n 's/^Pages: *//p'");
        pdf.pages = std::atoi(info.out.c_str());
        // The first line with text, wherever the page puts it.
        const auto text = runShell("pdftotext -layout " + quoted(pdf.file) + " - 2>/dev/null | awk 'NF { print; exit }'");
        pdf.firstLine = stripped(text.out);
        return pdf;
    }

    test::TestDir dir_;
    fs::path demo_;
    std::set<fs::path> before_;
};

TEST_F(CupsPrintTest, PrintCommandSendsTheReportToTheQueue) {
    writeReport("Presenze", "Generale");
    const auto r = runShell(program() + " --dir " + quoted(demo_) + " print --destination " + kQueue + " 2>&1");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find(kQueue), std::string::npos) << r.out;

    const WrittenPdf pdf = waitForPdf();
    ASSERT_FALSE(pdf.file.empty()) << "the queue wrote no PDF file into " << PrivateCups::instance().pdfFolder() << ":\n"
                                   << PrivateCups::instance().logTail();
    EXPECT_EQ(pdf.pages, reportPages());
    EXPECT_EQ(pdf.firstLine, reportFirstLine());
    EXPECT_NE(pdf.firstLine, "");
}

TEST_F(CupsPrintTest, PrintMenuListsTheQueueAmongVirtualPrintersAndPrintsThere) {
    // One block per client type, each ending with a form feed: several pages.
    writeReport("Presenze x Tipo Cliente", "");
    ProgramState state;
    state.workDir = demo_;
    state.hotelNumber = 1;
    MenuStampa::Hooks hooks;
    QStringList messages;
    hooks.message = [&](const QString& title, const QString& text, QMessageBox::Icon) { messages << title + ": " + text; };
    hooks.open = [](const fs::path&) { return true; };
    MenuStampa menu(state, nullptr, hooks);
    menu.show();
    QCoreApplication::processEvents();

    const int queue = menu.combo2()->findText(kQueue);
    ASSERT_GE(queue, 0) << "the queue is not among the installed printers";
    // "PDF" would write a file of its own; the printer chosen in "Virtuale" replaces it.
    menu.combo1()->setCurrentIndex(menu.combo1()->findText("PDF"));
    menu.combo2()->setCurrentIndex(queue);
    QTest::mouseClick(menu.tst(3), Qt::LeftButton);
    ASSERT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
    ASSERT_TRUE(menu.lastPrint() && menu.lastPrint()->printed);
    EXPECT_EQ(menu.lastPrint()->route, PrintRoute::Printer);
    EXPECT_EQ(menu.lastPrint()->target, kQueue);

    const WrittenPdf pdf = waitForPdf();
    ASSERT_FALSE(pdf.file.empty()) << "the queue wrote no PDF file into " << PrivateCups::instance().pdfFolder() << ":\n"
                                   << PrivateCups::instance().logTail();
    EXPECT_GT(reportPages(), 1);
    EXPECT_EQ(pdf.pages, menu.lastPrint()->pages);
    EXPECT_EQ(pdf.pages, reportPages());
    EXPECT_EQ(pdf.firstLine, reportFirstLine());
    menu.close();
}

}  // namespace
}  // namespace zt::report
