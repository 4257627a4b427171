#include "support/run_program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

::testing::AssertionResult succeededSaying(const Run& r, const std::string& text) {
    if (r.status == 0 && r.out.find(text) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected status 0 and \"" << text << "\" on standard output; " << r;
}

std::string programPath() {
    const char* bin = std::getenv("ZENTORIA_BIN");
    if (!bin) throw std::runtime_error("ZENTORIA_BIN is not set");
    return bin;
}

Run runProgram(const std::string& args, const std::string& env) {
    return runShell(env + " '" + programPath() + "' " + args);
}

Run runShell(const std::string& command) { return runCommand("sh", {"-c", command}); }

Run runCommand(const std::string& program, const std::vector<std::string>& args) {
    TestDir io;
    const std::string out = (io / "out").string(), err = (io / "err").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (in < 0 || o < 0 || e < 0) ::_exit(126);
        ::dup2(in, 0);
        ::dup2(o, 1);
        ::dup2(e, 2);
        ::execvp(program.c_str(), argv.data());
        ::_exit(127);
    }
    Run r;
    if (pid < 0) return r;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (std::filesystem::exists(io / "out")) r.out = io.read("out");
    if (std::filesystem::exists(io / "err")) r.err = io.read("err");
    return r;
}

}  // namespace zt::test
