#include "app/passwd_cmd.h"
#include "common/translate.h"

#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <exception>
#include <iostream>
#include <istream>
#include <ostream>

#include "common/env.h"
#include "desktop/passwd.h"

namespace fs = std::filesystem;
using zt::desktop::AccessGate;
using zt::desktop::GateOutcome;
using zt::desktop::PwdFileState;
using zt::desktop::SecurityPwd;

namespace zt::app {

namespace {

// The terminal settings to restore when a signal ends the program while echo is off.
termios gSavedTermios;
volatile sig_atomic_t gSavedFd = -1;

extern "C" void restoreTerminalAndReraise(int sig) {
    if (gSavedFd >= 0) tcsetattr(gSavedFd, TCSANOW, &gSavedTermios);
    signal(sig, SIG_DFL);
    raise(sig);
}

// Echo off on a terminal for the life of the object; restored on leaving, and on
// SIGINT, SIGTERM, SIGHUP and SIGQUIT.
class EchoOff {
public:
    explicit EchoOff(int fd) : fd_(fd) {
        if (tcgetattr(fd, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        gSavedTermios = saved_;
        gSavedFd = fd;
        struct sigaction sa {};
        sa.sa_handler = restoreTerminalAndReraise;
        sigemptyset(&sa.sa_mask);
        for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &sa, &oldActions_[i]);
        installed_ = true;
        active_ = tcsetattr(fd, TCSANOW, &quiet) == 0;
    }
    ~EchoOff() {
        if (!installed_) return;
        if (active_) tcsetattr(fd_, TCSANOW, &saved_);
        gSavedFd = -1;
        for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &oldActions_[i], nullptr);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    static constexpr std::array<int, 4> kSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
    int fd_;
    termios saved_{};
    bool installed_ = false;
    bool active_ = false;
    std::array<struct sigaction, 4> oldActions_{};
};

// One line from a file descriptor without echo; nullopt at the end of the input.
std::optional<std::string> readSecretLine(int fd) {
    EchoOff quiet(fd);
    std::string line;
    bool any = false;
    for (;;) {
        char c;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        any = true;
        if (c == '\n') break;
        line += c;
    }
    if (!any) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

constexpr const char* kPasswdUsage = "Usage: zentoria passwd [--clear]\n";

}  // namespace

std::optional<std::string> readPasswordFromTerminal(const std::string& prompt) {
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    writeAll(fd, prompt);
    std::optional<std::string> line = readSecretLine(fd);
    ::close(fd);
    return line;
}

bool isTerminalInput(const std::istream& in) {
    return &in == &std::cin && ::isatty(STDIN_FILENO) == 1;
}

std::optional<std::string> readPassword(const std::string& prompt, std::istream& in,
                                        std::ostream& err) {
    if (isTerminalInput(in)) {
        err << prompt << std::flush;
        return readSecretLine(STDIN_FILENO);
    }
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

int cmdPasswd(const fs::path& workDir, const std::vector<std::string>& args, std::istream& in,
              std::ostream& out, std::ostream& err) {
    bool clear = false;
    for (const std::string& a : args) {
        if (a == "--clear") {
            clear = true;
        } else {
            err << "zentoria passwd: " << withArgs(translate("Passwd", "unknown argument \"%1\""), {a}) << "\n"
                << kPasswdUsage;
            return 2;
        }
    }
    try {
        const SecurityPwd file = desktop::readSecurityPwd(workDir);
        if (file.state == PwdFileState::Damaged) {
            err << "zentoria passwd: " << file.problem << "\n";
            return 1;
        }
        if (file.state == PwdFileState::Ok) {
            const std::optional<std::string> current =
                readPassword(translate("Passwd", "Current password: "), in, err);
            if (!current) {
                err << "zentoria passwd: " << translate("Passwd", "the current password is needed; nothing changed") << "\n";
                return 1;
            }
            // Through the gate, so that the wrong passwords in a row count here too.
            AccessGate gate(desktop::makeGateRequest(file, "^"));
            if (gate.submit(*current).outcome != GateOutcome::Granted) {
                err << "zentoria passwd: " << translate("Passwd", "wrong password; nothing changed") << "\n";
                return 1;
            }
        }
        std::string next;
        if (!clear) {
            const bool terminal = isTerminalInput(in);
            const std::optional<std::string> first =
                readPassword(terminal ? translate("Passwd", "New password (empty: none): ")
                                                  : translate("Passwd", "New password: "),
                                         in, err);
            if (!first) {
                err << "zentoria passwd: " << translate("Passwd", "no new password given; nothing changed") << "\n";
                return 1;
            }
            if (terminal) {
                const std::optional<std::string> again =
                    readPassword(translate("Passwd", "New password again: "), in, err);
                if (!again || *again != *first) {
                    err << "zentoria passwd: " << translate("Passwd", "the two passwords differ; nothing changed") << "\n";
                    return 1;
                }
            }
            next = *first;
        }
        if (next.empty()) {
            if (file.state == PwdFileState::Absent) {
                out << translate("Passwd", "No password is set.") << "\n";
            } else if (!file.server.empty()) {
                desktop::clearPassword(workDir);
                out << withArgs(translate("Passwd", "Password cleared on %1."), {desktop::passwordPlace(workDir)}) << "\n";
            } else {
                const std::string removed = desktop::securityFilePath(workDir).filename().string();
                desktop::clearPassword(workDir);
                out << withArgs(translate("Passwd", "Password cleared: %1 removed."), {removed}) << "\n";
            }
        } else {
            desktop::setPassword(workDir, next);
            out << withArgs(file.server.empty() ? translate("Passwd", "Password set in %1.")
                                                : translate("Passwd", "Password set on %1."),
                            {desktop::passwordPlace(workDir)})
                << "\n";
        }
        return 0;
    } catch (const std::exception& e) {
        err << "zentoria passwd: " << e.what() << "\n";
        return 1;
    }
}

bool checkPasswordForCommand(const fs::path& workDir, const std::string& hotelOptions,
                             std::ostream& err, const PasswordPrompt& terminal) {
    try {
        return checkPasswordOf(desktop::readSecurityPwd(workDir), hotelOptions, err, terminal);
    } catch (const std::exception& e) {
        err << "zentoria: " << e.what() << "\n";
        return false;
    }
}

bool checkPasswordOf(const desktop::SecurityPwd& file, const std::string& hotelOptions, std::ostream& err,
                     const PasswordPrompt& terminal) {
    try {
        AccessGate gate(desktop::makeGateRequest(file, hotelOptions));
        if (!gate.refusalAtOnce().empty()) {
            err << "zentoria: " << gate.refusalAtOnce() << "\n";
            return false;
        }
        if (gate.request().storedPassword.empty()) return true;  // no password set
        if (const std::optional<std::string> given = envValue(kPasswordVariable)) {
            if (gate.submit(*given).outcome == GateOutcome::Granted) return true;
            err << "zentoria: " << kPasswordVariable << ": Password errata. Accesso negato.\n";
            return false;
        }
        while (!gate.finished()) {
            const std::optional<std::string> typed =
                terminal ? terminal("Password di Direzione: ") : std::nullopt;
            if (!typed) {
                err << "zentoria: "
                    << withArgs(translate("Passwd", "a management password is set: type it on the terminal or "
                                                    "give it in %1"),
                                {kPasswordVariable})
                    << "\n";
                return false;
            }
            const desktop::GateResult result = gate.submit(*typed);
            if (result.outcome == GateOutcome::Granted) return true;
            err << "zentoria: " << result.message << "\n";
        }
        return false;
    } catch (const std::exception& e) {
        err << "zentoria: " << e.what() << "\n";
        return false;
    }
}

bool checkPasswordForCommand(const fs::path& workDir, const std::string& hotelOptions,
                             std::ostream& err) {
    return checkPasswordForCommand(workDir, hotelOptions, err, readPasswordFromTerminal);
}

}  // namespace zt::app
