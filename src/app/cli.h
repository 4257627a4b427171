#pragma once
// The command line: `zentoria [--dir FOLDER] [COMMAND [ARGS]]`.
#include <iosfwd>
#include <string>
#include <vector>

namespace zt::app {

// Exit statuses: 0 done, 1 the operation failed (the message is on standard error),
// 2 the command line itself is wrong.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs one command line; never throws. Answers are read from `in`, output goes to
// `out`, messages to `err`.
int runCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
// The same, reading answers from standard input.
int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// main(): the process's arguments, standard output and standard error.
int runCommandLine(int argc, char** argv);

}  // namespace zt::app
