// The first line of "Security.pwd": splitPwdLine and parseSecurityLine, and the gate
// built from what they read. What must hold for any line:
//  - nothing throws; the line is either Ok or Damaged with a message saying how to reset;
//  - Ok only for a yescrypt-shaped hash whose check number matches;
//  - the check part is the text after the last comma (the whole line without one) and
//    the password part keeps only characters of the line;
//  - the gate never opens for a damaged line, before anything is typed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "desktop/passwd.h"

using namespace zt::desktop;

namespace {

[[noreturn]] void broken(const char* what, std::string_view line) {
    std::fprintf(stderr, "passwd_line_fuzz: %s: %.*s\n", what, static_cast<int>(line.size()), line.data());
    std::abort();
}

void checkLine(std::string_view line) {
    const PwdLine parts = splitPwdLine(line);
    const auto comma = line.rfind(',');
    const std::string_view after = comma == std::string_view::npos ? line : line.substr(comma + 1);
    if (parts.checkPart != after) broken("check part is not the text after the last comma", line);
    if (parts.passwordPart.size() + parts.checkPart.size() > line.size()) broken("parts longer than the line", line);
    if (comma != std::string_view::npos && line.find(",,") == std::string_view::npos) {
        std::string before;
        for (char c : line.substr(0, comma))
            if (c != ',') before += c;
        if (parts.passwordPart != before) broken("password part is not the text before the last comma", line);
    }

    const SecurityPwd file = parseSecurityLine(line);
    switch (file.state) {
        case PwdFileState::Absent: broken("a present line read as no file", line);
        case PwdFileState::Ok:
            if (!isYescryptCostWithinCap(file.storedPassword) || pwdCheckNumber(file.storedPassword) != file.storedCheck)
                broken("accepted a line that is not a hash with its check number", line);
            break;
        case PwdFileState::Damaged:
            if (file.problem.find(gate_text::kReset) == std::string::npos) broken("damaged without the reset text", line);
            if (file.storedCheck < 0) broken("negative check number", line);
            break;
    }

    for (const char* options : {"", "P", "^"}) {
        AccessGate gate(makeGateRequest(file, options));
        if (file.state == PwdFileState::Damaged && gate.refusalAtOnce().empty())
            broken("the gate asks for a password on a damaged file", line);
        if (file.state == PwdFileState::Damaged) {
            // Whatever is typed (no hashing happens for a refused file) the gate stays shut.
            const GateResult r = gate.submit(line);
            if (r.outcome == GateOutcome::Granted || gate.accessFlag() == "S") broken("damaged file opened the gate", line);
        }
    }
}

}  // namespace

// The gate's reading of the file: the bytes as "Security.pwd" in a folder on a memory
// file system read as the first line would be.
void checkFile(std::string_view bytes) {
    static const std::filesystem::path dir = [] {
        char name[] = "/dev/shm/zt_passwd_fuzz_XXXXXX";
        char fallback[] = "/tmp/zt_passwd_fuzz_XXXXXX";
        const char* made = mkdtemp(name);
        if (!made) made = mkdtemp(fallback);
        if (!made) broken("mkdtemp", "");
        return std::filesystem::path(made);
    }();
    {
        std::ofstream out(dir / kSecurityFileName, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const SecurityPwd file = readSecurityFile(dir);
    std::string_view first = bytes.substr(0, bytes.find('\n'));
    if (!first.empty() && first.back() == '\r' && first.size() <= 4096) first.remove_suffix(1);
    if (bytes.empty() || first.size() > 4096) {
        if (file.state != PwdFileState::Damaged) broken("an empty or overlong file read as a password", bytes);
        return;
    }
    const SecurityPwd line = parseSecurityLine(first);
    if (file.state != line.state || file.storedPassword != line.storedPassword || file.storedCheck != line.storedCheck)
        broken("the file reads otherwise than its first line", bytes);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    checkLine(line);
    checkFile(line);
    // A hash-shaped password part with its own check number is read back as it is.
    if (!line.empty() && line.find(',') == std::string_view::npos) {
        const std::string made = std::string(line) + "," + std::to_string(pwdCheckNumber(line));
        const SecurityPwd file = parseSecurityLine(made);
        if (isYescryptCostWithinCap(line) != (file.state == PwdFileState::Ok)) broken("hash with its check number", made);
        if (file.state == PwdFileState::Ok && file.storedPassword != line) broken("stored password differs", made);
    }
    return 0;
}
