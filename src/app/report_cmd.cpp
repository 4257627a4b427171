#include "app/report_cmd.h"
#include "common/translate.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "app/cli.h"
#include "app/passwd_cmd.h"
#include "report/csv_export.h"
#include "report/print_menu_logic.h"
#include "report/qt/print_output.h"
#include "report/report_file.h"

namespace zt::app {

namespace {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct PrintArgs {
    std::optional<std::string> destination;
    std::optional<std::filesystem::path> pdf;
    report::PrintOptions options;
};

PrintArgs parsePrintArgs(const std::vector<std::string>& args) {
    PrintArgs p;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError(withArgs(translate("Cli", "%1 needs a value"), {a}));
            return args[++i];
        };
        if (a == "--destination") p.destination = value();
        else if (a == "--pdf") p.pdf = std::filesystem::path(value());
        else if (a == "--compressed") p.options.compressed = true;
        else if (a == "--landscape") p.options.landscape = true;
        else if (a == "--duplex") p.options.duplex = true;
        else if (a.rfind("--", 0) == 0)
            throw UsageError(withArgs(translate("Cli", "unknown option %1 for %2"), {a, "print"}));
        else throw UsageError(withArgs(translate("Cli", "unexpected argument \"%1\" for %2"), {a, "print"}));
    }
    return p;
}

// Runs a command body with the exit statuses of the command line.
template <class Body>
int guarded(std::ostream& err, const char* usage, Body&& body) {
    try {
        return body();
    } catch (const UsageError& e) {
        err << "zentoria: " << e.what() << "\n" << withArgs(translate("Cli", "Usage: %1"), {translate("Cli", usage)}) << "\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        err << "zentoria: " << e.what() << "\n";
        return kExitFailed;
    }
}

constexpr const char* kPrintUsage = QT_TRANSLATE_NOOP(
    "Cli", "zentoria print [--destination NAME] [--compressed] [--landscape] [--duplex] [--pdf FILE]");
constexpr const char* kCsvUsage = "zentoria export-csv";

}  // namespace

int cmdPrint(const std::filesystem::path& workDir, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
    return guarded(err, kPrintUsage, [&] {
        const PrintArgs p = parsePrintArgs(args);
        report::PrintMenuLogic logic(workDir, 1);
        // The option string is read before the password is asked, as the gate needs it.
        const std::string hotelOptions = report::readPrintOptions(workDir);
        if (!checkPasswordForCommand(workDir, hotelOptions, err)) return kExitFailed;

        const auto file = report::reportFilePath(workDir);
        if (!std::filesystem::exists(file)) {
            err << "zentoria: " << withArgs(translate("Cli", "there is no report file to print (%1)."), {file.string()})
                << "\n";
            return kExitFailed;
        }
        logic.load();
        if (logic.archiveError())
            err << "zentoria: " << withArgs(translate("Cli", "warning: no archive copy: %1"), {*logic.archiveError()})
                << "\n";
        if (!logic.activate())
            throw std::runtime_error(
                translate("Cli", "no print destination in Stampanti.mdb (records with NumeroHotel = 1)"));
        const auto& list = logic.destinations();
        std::string destination = list.front();
        if (p.destination) {
            if (std::find(list.begin(), list.end(), *p.destination) == list.end()) {
                std::string names;
                for (const auto& d : list) names += (names.empty() ? "\"" : ", \"") + d + "\"";
                throw std::runtime_error(
                    withArgs(translate("Cli", "no print destination \"%1\"; there are: %2"), {*p.destination, names}));
            }
            destination = *p.destination;
        }

        report::PrintRequest request;
        request.workDir = workDir;
        request.setup = logic.setup(destination);
        request.options = p.options;
        request.hotelOptions = logic.hotelOptions();
        request.archivePath = logic.archivePath();
        request.forcePdf = p.pdf;
        std::vector<std::string> installed;
        if (p.pdf || request.setup.throughPrinter()) installed = report::installedPrinters();

        const auto outcome = report::printReport(request, installed);
        if (!outcome.printed) {
            err << "zentoria: " << withArgs(translate("Cli", "there is no report file to print (%1)."), {file.string()})
                << "\n";
            return kExitFailed;
        }
        out << (outcome.route == report::PrintRoute::DefaultPrinter ? translate("Cli", "(default printer)")
                                                                    : outcome.target)
            << "\n";
        return kExitOk;
    });
}

int cmdExportCsv(const std::filesystem::path& workDir, const std::vector<std::string>& args, std::ostream& out,
                 std::ostream& err) {
    return guarded(err, kCsvUsage, [&] {
        if (!args.empty()) throw UsageError(translate("Cli", "export-csv takes no arguments"));
        if (!checkPasswordForCommand(workDir, report::readPrintOptions(workDir), err)) return kExitFailed;
        out << report::exportCsv(workDir).string() << "\n";
        return kExitOk;
    });
}

}  // namespace zt::app
