#include "app/cli.h"

#include "app/demo.h"

#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <ostream>

#ifndef ZENTORIA_VERSION
#define ZENTORIA_VERSION "0"
#endif

namespace fs = std::filesystem;

namespace zt::app {

namespace {

constexpr const char* kUsage =
    "Usage: zentoria [--dir FOLDER] [COMMAND [ARGS]]\n"
    "\n"
    "Shows a hotel's monthly and annual figures. FOLDER is the working folder that\n"
    "holds the hotel's database files (default: the current folder).\n"
    "\n"
    "Commands:\n"
    "  demo FOLDER [--force]   write a demo working folder (refuses a non-empty\n"
    "                          folder unless --force)\n"
    "  --help                  show this text\n"
    "  --version               show the program's version\n";

// What a command gets: the working folder and its own arguments.
struct Invocation {
    fs::path workDir;
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int cmdDemo(const Invocation& inv);

const std::map<std::string, std::function<int(const Invocation&)>>& commands() {
    static const std::map<std::string, std::function<int(const Invocation&)>> table = {
        {"demo", cmdDemo},
    };
    return table;
}

}  // namespace

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    fs::path workDir = ".";
    std::size_t i = 0;
    try {
        while (i < args.size() && args[i].rfind("--", 0) == 0) {
            const std::string& opt = args[i];
            if (opt == "--help" || opt == "-h") {
                out << kUsage;
                return kExitOk;
            }
            if (opt == "--version") {
                out << "zentoria " << ZENTORIA_VERSION << "\n";
                return kExitOk;
            }
            if (opt == "--dir") {
                if (i + 1 >= args.size()) throw UsageError("--dir needs a folder");
                workDir = args[i + 1];
                i += 2;
                continue;
            }
            throw UsageError("unknown option " + opt);
        }
        if (i >= args.size()) {
            out << kUsage;
            return kExitOk;
        }
        const auto it = commands().find(args[i]);
        if (it == commands().end()) throw UsageError("unknown command \"" + args[i] + "\"");
        Invocation inv{workDir, std::vector<std::string>(args.begin() + static_cast<long>(i) + 1, args.end()), out, err};
        return it->second(inv);
    } catch (const UsageError& e) {
        err << "zentoria: " << e.what() << "\n" << "Try 'zentoria --help'.\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        err << "zentoria: " << e.what() << "\n";
        return kExitFailed;
    }
}

int runCommandLine(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return runCommand(args, std::cout, std::cerr);
}

namespace {

// zentoria demo FOLDER [--force]: the folder is named by the argument, not by --dir.
int cmdDemo(const Invocation& inv) {
    std::optional<fs::path> folder;
    bool force = false;
    for (const auto& a : inv.args) {
        if (a == "--force") force = true;
        else if (a.rfind("--", 0) == 0) throw UsageError("unknown option " + a + " for demo");
        else if (!folder) folder = a;
        else throw UsageError("demo takes one folder");
    }
    if (!folder) throw UsageError("demo needs a folder: zentoria demo FOLDER [--force]");
    const DemoSummary summary = writeDemo(*folder, force);
    inv.out << formatDemoSummary(summary);
    return kExitOk;
}

}  // namespace

}  // namespace zt::app
