#include "desktop/passwd.h"

#include <crypt.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "common/state.h"
#include "common/text.h"
#include "store/file_names.h"

namespace fs = std::filesystem;

namespace zt::desktop {

namespace {

// A valid first line is about 90 characters; anything far longer is not one.
constexpr std::size_t kMaxLine = 4096;

std::string damaged(const std::string& reason) {
    return "Il file Security.pwd è danneggiato (" + reason + "): accesso negato. " +
           gate_text::kReset;
}

bool isHashChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           c == '.' || c == '/';
}

// Compares two texts in a time that depends on their lengths only, not on where they
// differ.
bool equalConstantTime(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() > b.size() ? a.size() : b.size();
    unsigned diff = a.size() == b.size() ? 0u : 1u;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        diff |= static_cast<unsigned>(x ^ y);
    }
    return diff == 0;
}

// crypt_r of libxcrypt; "" when it fails (it then returns a text beginning with '*').
std::string hashWith(std::string_view password, const std::string& setting) {
    const std::string phrase(password);
    auto data = std::make_unique<crypt_data>();  // zeroed, as crypt_r wants it
    const char* out = crypt_r(phrase.c_str(), setting.c_str(), data.get());
    std::string result = out != nullptr && out[0] != '*' ? std::string(out) : std::string();
    explicit_bzero(data.get(), sizeof(crypt_data));
    return result;
}

std::string attemptsText(int left) {
    return left == 1 ? "Resta 1 tentativo." : "Restano " + std::to_string(left) + " tentativi.";
}

}  // namespace

std::string pwdText(std::string_view text, int mode) {
    switch (mode) {
        case kUnscramble: return std::string(text);
        case kDigitsOnly: {
            std::string digits;
            for (char c : text)
                if (c >= '0' && c <= '9') digits += c;
            return digits;
        }
        default: throw std::invalid_argument("password text routine: unknown mode " + std::to_string(mode));
    }
}

PwdLine splitPwdLine(std::string_view line) {
    PwdLine parts;
    int commas = 0;
    // i is the 1-based position of the scan; position 0 lies before the line.
    long i = static_cast<long>(line.size());
    while (i >= 1) {
        if (line[static_cast<std::size_t>(i - 1)] == ',') {
            --i;
            ++commas;
        }
        if (i >= 1) {
            const char c = line[static_cast<std::size_t>(i - 1)];
            if (commas == 0) parts.checkPart.insert(parts.checkPart.begin(), c);
            else parts.passwordPart.insert(parts.passwordPart.begin(), c);
        }
        --i;
    }
    return parts;
}

std::int32_t pwdCheckNumber(std::string_view hash) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char ch : hash) crc = table[(crc ^ static_cast<unsigned char>(ch)) & 0xFFu] ^ (crc >> 8);
    crc ^= 0xFFFFFFFFu;
    return static_cast<std::int32_t>(crc & 0x7FFFFFFFu);
}

bool isYescryptHash(std::string_view text) {
    if (text.substr(0, 3) != "$y$") return false;
    // parameters $ salt $ hash
    std::string_view rest = text.substr(3);
    std::array<std::string_view, 3> fields;
    for (std::size_t f = 0; f < 3; ++f) {
        const std::size_t end = f < 2 ? rest.find('$') : rest.size();
        if (end == std::string_view::npos) return false;
        fields[f] = rest.substr(0, end);
        rest = f < 2 ? rest.substr(end + 1) : std::string_view();
    }
    for (std::string_view field : fields) {
        if (field.empty()) return false;
        for (char c : field)
            if (!isHashChar(c)) return false;
    }
    return fields[2].size() == 43;
}

SecurityPwd parseSecurityLine(std::string_view firstLine) {
    SecurityPwd file;
    file.state = PwdFileState::Damaged;
    if (firstLine.empty()) {
        file.problem = damaged("la prima riga è vuota");
        return file;
    }
    if (firstLine.find(',') == std::string_view::npos) {
        file.problem = damaged("manca la virgola tra la password e il numero di controllo");
        return file;
    }
    const PwdLine parts = splitPwdLine(firstLine);
    file.storedPassword = pwdText(parts.passwordPart, kUnscramble);
    std::string digits = pwdText(parts.checkPart, kDigitsOnly);
    if (digits.empty()) {
        file.problem = damaged("il numero di controllo non contiene cifre");
        return file;
    }
    const std::size_t first = digits.find_first_not_of('0');
    digits = first == std::string::npos ? "0" : digits.substr(first);
    if (digits.size() > 10 || std::stoll(digits) > INT32_MAX) {
        file.problem = damaged("il numero di controllo è troppo grande");
        return file;
    }
    file.storedCheck = static_cast<std::int32_t>(std::stoll(digits));
    if (file.storedPassword.empty()) {
        file.problem = damaged("manca la password prima della virgola");
        return file;
    }
    if (pwdCheckNumber(file.storedPassword) != file.storedCheck) {
        file.problem = damaged("il numero di controllo non corrisponde alla password registrata");
        return file;
    }
    if (!isYescryptHash(file.storedPassword)) {
        file.problem = damaged("la password registrata non è nel formato previsto");
        return file;
    }
    file.state = PwdFileState::Ok;
    return file;
}

namespace {

std::string clashProblem(const store::NameClash& clash) {
    std::string names;
    for (std::size_t i = 0; i < clash.names().size(); ++i)
        names += (i == 0 ? "\"" : i + 1 == clash.names().size() ? " e \"" : ", \"") + clash.names()[i] + "\"";
    return "Nella cartella di lavoro ci sono più file della password con nomi che differiscono solo per maiuscole "
           "e minuscole, " + names + ": nessuno viene letto, accesso negato. Tenerne uno solo (cancellare o spostare "
           "gli altri).";
}

}  // namespace

fs::path securityFilePath(const fs::path& workDir) { return store::findFile(workDir, kSecurityFileName); }

SecurityPwd readSecurityPwd(const fs::path& workDir) {
    fs::path path;
    try {
        path = securityFilePath(workDir);
    } catch (const store::NameClash& clash) {
        SecurityPwd file;
        file.state = PwdFileState::Damaged;
        file.problem = clashProblem(clash);
        return file;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return {};
    SecurityPwd file;
    file.state = PwdFileState::Damaged;
    if (ec) {
        file.problem = "Il file Security.pwd non può essere letto (" + ec.message() +
                       "): accesso negato. " + gate_text::kReset;
        return file;
    }
    if (status.type() != fs::file_type::regular) {
        file.problem = damaged("non è un file di testo");
        return file;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        file.problem = "Il file Security.pwd non può essere aperto (" +
                       std::error_code(errno, std::generic_category()).message() +
                       "): accesso negato. " + gate_text::kReset;
        return file;
    }
    std::string line;
    bool anything = false;
    for (char c; in.get(c);) {
        anything = true;
        if (c == '\n') break;
        if (line.size() >= kMaxLine) {
            file.problem = damaged("la prima riga è troppo lunga");
            return file;
        }
        line += c;
    }
    if (in.bad()) {
        file.problem = damaged("errore di lettura");
        return file;
    }
    if (!anything) {
        file.problem = damaged("il file è vuoto");
        return file;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return parseSecurityLine(line);
}

SecurityPwd loadSecurityPwd(ProgramState& state) {
    SecurityPwd file = readSecurityPwd(state.workDir);
    state.storedPassword = file.storedPassword;
    state.storedCheck = file.storedCheck;
    return file;
}

void setPassword(const fs::path& workDir, std::string_view password) {
    if (password.find('\0') != std::string_view::npos)
        throw std::invalid_argument("a password cannot contain a NUL character");
    if (password.empty()) {
        clearPassword(workDir);
        return;
    }
    std::array<char, CRYPT_GENSALT_OUTPUT_SIZE> salt{};
    if (crypt_gensalt_rn("$y$", 0, nullptr, 0, salt.data(), static_cast<int>(salt.size())) == nullptr)
        throw std::runtime_error("cannot make a salt for the password: " +
                                 std::error_code(errno, std::generic_category()).message());
    const std::string hash = hashWith(password, salt.data());
    if (!isYescryptHash(hash)) throw std::runtime_error("cannot hash the password with yescrypt");
    const std::string line = hash + "," + std::to_string(pwdCheckNumber(hash)) + "\r\n";

    const fs::path target = securityFilePath(workDir);
    const fs::path temp =
        workDir / (std::string(".") + kSecurityFileName + "." + std::to_string(::getpid()) + ".tmp");
    auto fail = [&](const std::string& what) {
        const std::string why = std::error_code(errno, std::generic_category()).message();
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw std::runtime_error("cannot write " + target.string() + ": " + what + ": " + why);
    };
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) fail("cannot create " + temp.filename().string());
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            fail("write");
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        ::close(fd);
        fail("fsync");
    }
    if (::close(fd) != 0) fail("close");
    if (::rename(temp.c_str(), target.c_str()) != 0) fail("rename");
}

void clearPassword(const fs::path& workDir) {
    const fs::path target = securityFilePath(workDir);
    std::error_code ec;
    fs::remove(target, ec);
    if (ec) throw std::runtime_error("cannot remove " + target.string() + ": " + ec.message());
}

bool verifyPassword(std::string_view typed, std::string_view storedHash) {
    if (!isYescryptHash(storedHash)) return false;
    const std::string computed = hashWith(typed, std::string(storedHash));
    return !computed.empty() && equalConstantTime(computed, storedHash);
}

GateRequest makeGateRequest(const SecurityPwd& file, std::string hotelOptions) {
    GateRequest r;
    r.storedPassword = file.storedPassword;
    r.storedCheck = file.storedCheck;
    r.hotelOptions = std::move(hotelOptions);
    r.fileState = file.state;
    r.problem = file.problem;
    return r;
}

GateRequest makeGateRequest(const ProgramState& state, const SecurityPwd& file) {
    GateRequest r = makeGateRequest(file, state.hotelOptions);
    r.storedPassword = state.storedPassword;
    r.storedCheck = state.storedCheck;
    r.referencePassword = state.referencePassword;
    return r;
}

AccessGate::AccessGate(GateRequest request)
    : request_(std::move(request)),
      attemptsLeft_(contains(request_.hotelOptions, "^") ? 1 : kAttempts) {
    const bool passwordSet = !request_.storedPassword.empty();
    if (request_.fileState == PwdFileState::Damaged) {
        refusal_ = !request_.problem.empty() ? request_.problem : damaged("contenuto non valido");
    } else if (passwordSet || request_.fileState == PwdFileState::Ok) {
        // The gate checks the values it is given itself: a stored password that is not
        // a hash, or whose check number does not match, never lets anyone in.
        if (!isYescryptHash(request_.storedPassword))
            refusal_ = damaged("la password registrata non è nel formato previsto");
        else if (pwdCheckNumber(request_.storedPassword) != request_.storedCheck)
            refusal_ = damaged("il numero di controllo non corrisponde alla password registrata");
    } else if (contains(request_.hotelOptions, "P")) {
        refusal_ =
            "Per questo hotel è obbligatoria una password di Direzione, ma nessuna password è "
            "impostata: accesso negato. Impostarla con il comando \"zentoria passwd\".";
    }
}

std::string AccessGate::hint() const {
    if (!refusal_.empty()) return refusal_;
    if (request_.storedPassword.empty()) return "Nessuna password impostata: premere Invio.";
    return "";
}

void AccessGate::cancel() {
    if (!finished()) flag_ = "N";
}

GateResult AccessGate::submit(std::string_view typed) {
    if (finished()) {
        return flag_ == "S" ? GateResult{GateOutcome::Granted, ""}
                            : GateResult{GateOutcome::Refused, "Accesso negato."};
    }
    if (!refusal_.empty()) {
        flag_ = "N";
        return {GateOutcome::Refused, refusal_};
    }
    const bool passwordSet = !request_.storedPassword.empty();
    const bool right = passwordSet ? verifyPassword(typed, request_.storedPassword) : typed.empty();
    if (right) {
        flag_ = "S";
        return {GateOutcome::Granted, ""};
    }
    --attemptsLeft_;
    const std::string what = passwordSet ? "Password errata."
                                         : "Nessuna password è impostata: premere Invio con il campo vuoto.";
    if (attemptsLeft_ <= 0) {
        flag_ = "N";
        return {GateOutcome::Refused, what + " Accesso negato."};
    }
    return {GateOutcome::Wrong, what + " " + attemptsText(attemptsLeft_)};
}

}  // namespace zt::desktop
