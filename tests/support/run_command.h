#pragma once
// Runs another program (mdbtools' commands, the built zentoria) with its arguments as
// given, no shell in between, and keeps what it printed.
#include <string>
#include <vector>

namespace zt::test {

struct CommandRun {
    int status = -1;  // the exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

// `program` is looked up in PATH. Standard input is /dev/null.
CommandRun runCommand(const std::string& program, const std::vector<std::string>& args);

}  // namespace zt::test
