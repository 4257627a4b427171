#pragma once
// A command as a script sees it: exit status, standard output and error. The in-process
// runs are inline, so that a test program that does not link the command line need not.
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/cli.h"

namespace zt::test {

struct Run {
    int status = -1;
    std::string out;
    std::string err;
    bool operator==(const Run&) const = default;
};
// "status N", then both outputs: for the message of a failed check.
std::ostream& operator<<(std::ostream& os, const Run& r);
// For EXPECT_TRUE: the run ended with `status` and its standard error holds `text`.
::testing::AssertionResult failedSaying(const Run& r, int status, const std::string& text);
// For EXPECT_TRUE: the run ended with status 0 and its standard output holds `text`.
::testing::AssertionResult succeededSaying(const Run& r, const std::string& text);

// A function that writes on `out` and `err` and returns an exit status.
inline Run capture(const std::function<int(std::ostream& out, std::ostream& err)>& command) {
    std::ostringstream out, err;
    const int status = command(out, err);
    return {status, out.str(), err.str()};
}

// The command line in this process, reading its answers from `input`.
inline Run runCli(const std::vector<std::string>& args, const std::string& input = "") {
    std::istringstream in(input);
    return capture([&](std::ostream& out, std::ostream& err) { return app::runCommand(args, in, out, err); });
}
// The same with the figure server setting ZENTORIA_FIGURES_DB set to `figuresDb` ("":
// unset) for the call, and unset after it.
inline Run runCliWithServer(const std::string& figuresDb, const std::vector<std::string>& args) {
    if (figuresDb.empty())
        ::unsetenv("ZENTORIA_FIGURES_DB");
    else
        ::setenv("ZENTORIA_FIGURES_DB", figuresDb.c_str(), 1);
    Run r = runCli(args);
    ::unsetenv("ZENTORIA_FIGURES_DB");
    return r;
}

// `args` after "--dir DIR".
inline std::vector<std::string> inDir(const std::filesystem::path& dir, std::vector<std::string> args) {
    args.insert(args.begin(), {"--dir", dir.string()});
    return args;
}

// A shell command as a process of its own (runCommand of "sh -c").
Run runShell(const std::string& command);
// A program looked up in PATH (mdbtools' commands, the built zentoria), its arguments as
// given with no shell in between, standard input /dev/null; status -1 when it did not
// exit normally.
Run runCommand(const std::string& program, const std::vector<std::string>& args);
// The built program (ZENTORIA_BIN; std::runtime_error when unset) with the given
// arguments, already shell-quoted, after the environment assignments `env` ("A=1 B=").
Run runProgram(const std::string& args, const std::string& env = "");
std::string programPath();

}  // namespace zt::test
