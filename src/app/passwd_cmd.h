#pragma once
// The management password on the command line: `zentoria passwd`, and the check that
// the commands reading figures make before they read anything. The rules of the gate
// are those of desktop/passwd.h (docs/ACCESS_GATE.md).
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "desktop/passwd.h"

namespace zt::app {

// The environment variable a script gives the management password in.
inline constexpr const char* kPasswordVariable = "ZENTORIA_PASSWORD";

// Asks for one password with the prompt; nullopt when there is no one to ask or the
// input ended.
using PasswordPrompt = std::function<std::optional<std::string>(const std::string& prompt)>;

// Reads one password from the controlling terminal (/dev/tty) without echo, writing
// the prompt there. nullopt when the process has no terminal or the input ends.
std::optional<std::string> readPasswordFromTerminal(const std::string& prompt);

// Whether `in` is the process's standard input and that is a terminal.
bool isTerminalInput(const std::istream& in);

// Reads one password: from the terminal without echo when `in` is a terminal (the
// prompt goes to `err`), otherwise one line of `in` with its line end (LF or CR LF)
// removed and no prompt. nullopt at the end of the input.
std::optional<std::string> readPassword(const std::string& prompt, std::istream& in,
                                        std::ostream& err);

// `zentoria passwd [--clear]`: sets, changes or clears the password of the working
// folder. When one is set the current one is asked first (one attempt). The new one is
// read twice without echo from a terminal, once (one line) from other input; an empty
// new password or --clear clears it, which removes "Security.pwd". A damaged file is
// not touched: the message says to delete it first. Never throws; returns 0 done,
// 1 refused or failed (message on err), 2 for a wrong argument.
int cmdPasswd(const std::filesystem::path& workDir, const std::vector<std::string>& args,
              std::istream& in, std::ostream& out, std::ostream& err);

// For the commands that read figures: whether they may go on. No password set: yes.
// A password set: it is taken from ZENTORIA_PASSWORD when that is set (one attempt),
// otherwise asked through `terminal` with the gate's attempts; no password given or a
// wrong one: no. A damaged file, or option "P" of `hotelOptions` with no password
// set: no. Every refusal writes its reason on err. Never throws.
bool checkPasswordForCommand(const std::filesystem::path& workDir, const std::string& hotelOptions,
                             std::ostream& err, const PasswordPrompt& terminal);
// The same for a password already read (the folder's file, where a command must check
// that one and not the figure server's).
bool checkPasswordOf(const desktop::SecurityPwd& file, const std::string& hotelOptions, std::ostream& err,
                     const PasswordPrompt& terminal);
// The same, asking on the controlling terminal (readPasswordFromTerminal).
bool checkPasswordForCommand(const std::filesystem::path& workDir, const std::string& hotelOptions,
                             std::ostream& err);

}  // namespace zt::app
