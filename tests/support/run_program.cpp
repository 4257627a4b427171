#include "support/run_program.h"

#include <sys/wait.h>

#include <cstdlib>
#include <ostream>
#include <stdexcept>

#include "support/testdir.h"

namespace zt::test {

std::ostream& operator<<(std::ostream& os, const Run& r) {
    return os << "status " << r.status << "\nout:\n" << r.out << "err:\n" << r.err;
}

::testing::AssertionResult failedSaying(const Run& r, int status, const std::string& text) {
    if (r.status == status && r.err.find(text) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected status " << status << " and \"" << text << "\" on standard error; "
                                         << r;
}

Run runShell(const std::string& command) {
    TestDir io;
    const int raw = std::system(("( " + command + " ) </dev/null >'" + (io / "out").string() + "' 2>'" +
                                 (io / "err").string() + "'")
                                    .c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, io.read("out"), io.read("err")};
}

std::string programPath() {
    const char* bin = std::getenv("ZENTORIA_BIN");
    if (!bin) throw std::runtime_error("ZENTORIA_BIN is not set");
    return bin;
}

Run runProgram(const std::string& args, const std::string& env) {
    return runShell(env + " '" + programPath() + "' " + args);
}

}  // namespace zt::test
