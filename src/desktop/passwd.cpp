#include "desktop/passwd.h"

#include <crypt.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <chrono>
#include <ctime>
#include <system_error>
#include <thread>
#include <utility>

#include "common/env.h"
#include "common/private_file.h"
#include "common/state.h"
#include "common/text.h"
#include "common/translate.h"
#include "store/file_names.h"
#include "desktop/passwd_server.h"

namespace fs = std::filesystem;

namespace zt::desktop {

namespace {

// A valid first line is about 90 characters; anything far longer is not one.
constexpr std::size_t kMaxLine = 4096;

// The gate's caption and how to reset (gate_text), marked for lupdate.
[[maybe_unused]] constexpr const char* kGateTexts[] = {
    QT_TRANSLATE_NOOP("Gate", "Direzione"),
    QT_TRANSLATE_NOOP("Gate",
                      "Per ripristinare l'accesso cancellare il file Security.pwd dalla cartella di lavoro e "
                      "impostare una nuova password con il comando \"zentoria passwd\".")};

static_assert(std::string_view(kGateTexts[0]) == gate_text::kCaption);
static_assert(std::string_view(kGateTexts[1]) == gate_text::kReset);

std::string resetText() { return translate("Gate", gate_text::kReset); }

std::string damaged(const std::string& reason) {
    return withArgs(translate("Gate", "Il file Security.pwd è danneggiato (%1): accesso negato. %2"),
                    {reason, resetText()});
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
    return left == 1 ? translate("Gate", "Resta 1 tentativo.")
                     : withArgs(translate("Gate", "Restano %1 tentativi."), {std::to_string(left)});
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

bool isYescryptCostWithinCap(std::string_view hash) {
    if (!isYescryptHash(hash)) return false;
    const std::string_view params = hash.substr(3, hash.find('$', 3) - 3);
    if (params.size() != 3) return false;  // a plain yescrypt hash: flavour, N, r
    static constexpr std::string_view kItoa64 = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const std::size_t flavour = kItoa64.find(params[0]);
    const std::size_t nLog2 = kItoa64.find(params[1]) + 1;
    const std::size_t r = kItoa64.find(params[2]) + 1;
    // One character holds 0 ... 47; a larger index begins a longer number.
    if (flavour > 47 || nLog2 > 48 || r > 48) return false;
    if (nLog2 > 30) return false;
    const std::uint64_t memory = 128ull * (std::uint64_t{1} << nLog2) * r;
    return memory <= (std::uint64_t{64} << 20);
}

SecurityPwd parseSecurityLine(std::string_view firstLine) {
    SecurityPwd file;
    file.state = PwdFileState::Damaged;
    if (firstLine.empty()) {
        file.problem = damaged(translate("Gate", "la prima riga è vuota"));
        return file;
    }
    if (firstLine.find(',') == std::string_view::npos) {
        file.problem = damaged(translate("Gate", "manca la virgola tra la password e il numero di controllo"));
        return file;
    }
    const PwdLine parts = splitPwdLine(firstLine);
    file.storedPassword = pwdText(parts.passwordPart, kUnscramble);
    std::string digits = pwdText(parts.checkPart, kDigitsOnly);
    if (digits.empty()) {
        file.problem = damaged(translate("Gate", "il numero di controllo non contiene cifre"));
        return file;
    }
    const std::size_t first = digits.find_first_not_of('0');
    digits = first == std::string::npos ? "0" : digits.substr(first);
    if (digits.size() > 10 || std::stoll(digits) > INT32_MAX) {
        file.problem = damaged(translate("Gate", "il numero di controllo è troppo grande"));
        return file;
    }
    file.storedCheck = static_cast<std::int32_t>(std::stoll(digits));
    if (file.storedPassword.empty()) {
        file.problem = damaged(translate("Gate", "manca la password prima della virgola"));
        return file;
    }
    if (pwdCheckNumber(file.storedPassword) != file.storedCheck) {
        file.problem = damaged(translate("Gate", "il numero di controllo non corrisponde alla password registrata"));
        return file;
    }
    if (!isYescryptHash(file.storedPassword)) {
        file.problem = damaged(translate("Gate", "la password registrata non è nel formato previsto"));
        return file;
    }
    if (!isYescryptCostWithinCap(file.storedPassword)) {
        file.problem = damaged(translate("Gate", "il costo di calcolo della password registrata supera il limite"));
        return file;
    }
    file.state = PwdFileState::Ok;
    return file;
}

namespace {

std::string clashProblem(const store::NameClash& clash) {
    std::string names;
    for (std::size_t i = 0; i < clash.names().size(); ++i)
        names += (i == 0                          ? std::string("\"")
                  : i + 1 == clash.names().size() ? translate("Gate", " e \"")
                                                  : std::string(", \"")) +
                 clash.names()[i] + "\"";
    return withArgs(translate("Gate",
                              "Nella cartella di lavoro ci sono più file della password con nomi che differiscono "
                              "solo per maiuscole e minuscole, %1: nessuno viene letto, accesso negato. Tenerne uno "
                              "solo (cancellare o spostare gli altri)."),
                    {names});
}

}  // namespace

fs::path securityFilePath(const fs::path& workDir) { return store::findFile(workDir, kSecurityFileName); }

namespace {

// The first line of an open password file, or the reason it is damaged.
SecurityPwd readFirstLine(int fd) {
    SecurityPwd file;
    file.state = PwdFileState::Damaged;
    std::string line;
    bool anything = false;
    bool ended = false;
    char buffer[512];
    while (!ended) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            file.problem = damaged(translate("Gate", "errore di lettura"));
            return file;
        }
        if (n == 0) break;
        anything = true;
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] == '\n') {
                ended = true;
                break;
            }
            if (line.size() >= kMaxLine) {
                file.problem = damaged(translate("Gate", "la prima riga è troppo lunga"));
                return file;
            }
            line += buffer[i];
        }
    }
    if (!anything) {
        file.problem = damaged(translate("Gate", "il file è vuoto"));
        return file;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return parseSecurityLine(line);
}

}  // namespace

SecurityPwd readSecurityPwd(const fs::path& workDir) {
    if (const auto conninfo = figuresServerSetting()) return readServerPwd(*conninfo);
    return readSecurityFile(workDir);
}

std::string passwordPlace(const fs::path& workDir) {
    if (const auto conninfo = figuresServerSetting()) return serverPasswordPlace(*conninfo);
    return securityFilePath(workDir).string();
}

SecurityPwd readSecurityFile(const fs::path& workDir) {
    fs::path path;
    try {
        path = securityFilePath(workDir);
    } catch (const store::NameClash& clash) {
        SecurityPwd file;
        file.state = PwdFileState::Damaged;
        file.problem = clashProblem(clash);
        file.folder = workDir;
        return file;
    }
    SecurityPwd file;
    file.folder = workDir;
    // Only a name that is not there at all means "no password": a link that leads
    // nowhere, or through a file, is there, and cannot be read as a password file.
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0) {
        const int error = errno;
        if (error == ENOENT) return file;
        file.state = PwdFileState::Damaged;
        file.problem = withArgs(translate("Gate", "Il file Security.pwd non può essere letto (%1): accesso negato. %2"),
                                {systemErrorText(error), resetText()});
        return file;
    }
    file.state = PwdFileState::Damaged;
    // O_NONBLOCK: a FIFO or a device in its place is looked at, never waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (S_ISLNK(link.st_mode) && (error == ENOENT || error == ENOTDIR || error == ELOOP)) {
            file.problem = damaged(translate("Gate", "è un collegamento che non porta a nessun file"));
            return file;
        }
        file.problem = withArgs(translate("Gate", "Il file Security.pwd non può essere aperto (%1): accesso negato. %2"),
                                {systemErrorText(error), resetText()});
        return file;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        file.problem = damaged(translate("Gate", "non è un file di testo"));
        return file;
    }
    SecurityPwd read = readFirstLine(fd);
    ::close(fd);
    read.folder = workDir;
    return read;
}

SecurityPwd loadSecurityPwd(ProgramState& state) {
    SecurityPwd file = readSecurityPwd(state.workDir);
    state.storedPassword = file.storedPassword;
    state.storedCheck = file.storedCheck;
    return file;
}

std::string passwordLine(std::string_view password) {
    if (password.find('\0') != std::string_view::npos)
        throw std::invalid_argument(translate("Passwd", "a password cannot contain a NUL character"));
    if (password.size() > kMaxPasswordBytes)
        throw std::invalid_argument(
            withArgs(translate("Passwd", "the password is %1 bytes long; the hash takes at most %2: choose a shorter one"),
                     {std::to_string(password.size()), std::to_string(kMaxPasswordBytes)}));
    std::array<char, CRYPT_GENSALT_OUTPUT_SIZE> salt{};
    if (crypt_gensalt_rn("$y$", 0, nullptr, 0, salt.data(), static_cast<int>(salt.size())) == nullptr)
        throw std::runtime_error(withArgs(translate("Passwd", "cannot make a salt for the password: %1"),
                                          {systemErrorText(errno)}));
    const std::string hash = hashWith(password, salt.data());
    if (!isYescryptHash(hash)) throw std::runtime_error(translate("Passwd", "cannot hash the password with yescrypt"));
    return hash + "," + std::to_string(pwdCheckNumber(hash));
}

void setPassword(const fs::path& workDir, std::string_view password) {
    if (password.find('\0') != std::string_view::npos)
        throw std::invalid_argument(translate("Passwd", "a password cannot contain a NUL character"));
    if (password.empty()) {
        clearPassword(workDir);
        return;
    }
    const std::string line = passwordLine(password) + "\r\n";
    if (const auto conninfo = figuresServerSetting()) {
        setServerPassword(*conninfo, line.substr(0, line.size() - 2));
        return;
    }
    const fs::path target = securityFilePath(workDir);
    try {
        writeFileWhole(target, line, 0600);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(withArgs(translate("Passwd", "cannot write %1: %2"), {target.string(), e.what()}));
    }
}

void clearPassword(const fs::path& workDir) {
    if (const auto conninfo = figuresServerSetting()) {
        setServerPassword(*conninfo, std::nullopt);
        return;
    }
    const fs::path target = securityFilePath(workDir);
    std::error_code ec;
    fs::remove(target, ec);
    if (ec)
        throw std::runtime_error(withArgs(translate("Passwd", "cannot remove %1: %2"), {target.string(), systemErrorText(ec)}));
}

bool verifyPassword(std::string_view typed, std::string_view storedHash) {
    if (!isYescryptCostWithinCap(storedHash)) return false;
    if (typed.size() > kMaxPasswordBytes || typed.find('\0') != std::string_view::npos) return false;
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
    r.triesFolder = file.server.empty() ? file.folder : fs::path();
    r.triesServer = file.server;
    return r;
}

GateRequest makeGateRequest(const ProgramState& state, const SecurityPwd& file) {
    GateRequest r = makeGateRequest(file, state.hotelOptions);
    r.storedPassword = state.storedPassword;
    r.storedCheck = state.storedCheck;
    r.referencePassword = state.referencePassword;
    return r;
}

// ---- wrong passwords in a row ---------------------------------------------------------

std::int64_t tryWaitSeconds(int wrongInARow) {
    if (wrongInARow < kFreeTries) return 0;
    const int doublings = wrongInARow - kFreeTries;
    if (doublings >= 5) return kMaxTryWaitSeconds;
    return std::min<std::int64_t>(std::int64_t{1} << doublings, kMaxTryWaitSeconds);
}

namespace {

GateClock systemClock() {
    return {[] { return static_cast<std::int64_t>(std::time(nullptr)); },
            [](std::int64_t seconds) {
                if (seconds > 0) std::this_thread::sleep_for(std::chrono::seconds(seconds));
            }};
}

GateClock& currentClock() {
    static GateClock clock = systemClock();
    return clock;
}

// The count file of a folder, open and locked for as long as the object lives. A folder
// the program may not write keeps no count (the process's own attempts still hold);
// anything else that is not a plain file of ours refuses.
class TriesFile {
public:
    explicit TriesFile(const fs::path& folder) {
        if (folder.empty()) return;
        const fs::path path = folder / kTriesFileName;
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            const int error = errno;
            if (error == EACCES || error == EROFS || error == EPERM) return;  // no count kept
            problem_ = withArgs(translate("Gate", "il file %1 non può essere aperto (%2)"),
                                {kTriesFileName, systemErrorText(error)});
            return;
        }
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
            problem_ = withArgs(translate("Gate", "il file %1 non è un file normale"), {kTriesFileName});
            return;
        }
        // Another process checking a password holds the lock for at most its wait (30 s)
        // and one hash: a minute without it means something is wrong there.
        for (int i = 0; ::flock(fd_, LOCK_EX | LOCK_NB) != 0; ++i) {
            if (errno != EWOULDBLOCK && errno != EINTR) break;
            if (i >= 600) {
                problem_ = translate("Gate", "un altro tentativo è in corso da più di un minuto");
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        char buffer[64] = {};
        const ssize_t n = ::pread(fd_, buffer, sizeof buffer - 1, 0);
        if (n > 0) {
            long long count = 0, last = 0;
            if (std::sscanf(buffer, "%lld %lld", &count, &last) == 2 && count >= 0) {
                count_ = static_cast<int>(std::min<long long>(count, 1000000));
                last_ = last;
            } else {
                count_ = 1000000;  // a count that cannot be read counts as many
                last_ = 0;
            }
        }
    }
    ~TriesFile() {
        if (fd_ >= 0) ::close(fd_);  // drops the lock
    }
    TriesFile(const TriesFile&) = delete;
    TriesFile& operator=(const TriesFile&) = delete;

    const std::string& problem() const { return problem_; }
    bool kept() const { return fd_ >= 0 && problem_.empty(); }
    int count() const { return count_; }
    std::int64_t last() const { return last_; }
    void record(int count, std::int64_t last) {
        if (!kept()) return;
        const std::string text = std::to_string(count) + " " + std::to_string(last) + "\r\n";
        if (::ftruncate(fd_, 0) == 0 && ::pwrite(fd_, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size()))
            ::fsync(fd_);
    }

private:
    int fd_ = -1;
    std::string problem_;
    int count_ = 0;
    std::int64_t last_ = 0;
};

}  // namespace

GateClock setGateClock(GateClock clock) {
    GateClock old = currentClock();
    currentClock() = std::move(clock);
    return old;
}

AccessGate::AccessGate(GateRequest request)
    : request_(std::move(request)),
      attemptsLeft_(contains(request_.hotelOptions, "^") ? 1 : kAttempts) {
    const bool passwordSet = !request_.storedPassword.empty();
    if (request_.fileState == PwdFileState::Damaged) {
        refusal_ = !request_.problem.empty() ? request_.problem : damaged(translate("Gate", "contenuto non valido"));
    } else if (passwordSet || request_.fileState == PwdFileState::Ok) {
        // The gate checks the values it is given itself: a stored password that is not
        // a hash, or whose check number does not match, never lets anyone in.
        if (!isYescryptHash(request_.storedPassword))
            refusal_ = damaged(translate("Gate", "la password registrata non è nel formato previsto"));
        else if (pwdCheckNumber(request_.storedPassword) != request_.storedCheck)
            refusal_ = damaged(translate("Gate", "il numero di controllo non corrisponde alla password registrata"));
        else if (!isYescryptCostWithinCap(request_.storedPassword))
            refusal_ = damaged(translate("Gate", "il costo di calcolo della password registrata supera il limite"));
    } else if (contains(request_.hotelOptions, "P")) {
        refusal_ = translate("Gate",
                             "Per questo hotel è obbligatoria una password di Direzione, ma nessuna password è "
                             "impostata: accesso negato. Impostarla con il comando \"zentoria passwd\".");
    }
}

std::string AccessGate::hint() const {
    if (!refusal_.empty()) return refusal_;
    if (request_.storedPassword.empty()) return translate("Gate", "Nessuna password impostata: premere Invio.");
    return "";
}

void AccessGate::cancel() {
    if (!finished()) flag_ = "N";
}

GateResult AccessGate::submit(std::string_view typed) {
    if (finished()) {
        return flag_ == "S" ? GateResult{GateOutcome::Granted, ""}
                            : GateResult{GateOutcome::Refused, translate("Gate", "Accesso negato.")};
    }
    if (!refusal_.empty()) {
        flag_ = "N";
        return {GateOutcome::Refused, refusal_};
    }
    const bool passwordSet = !request_.storedPassword.empty();
    std::int64_t waited = 0;
    bool right = false;
    if (passwordSet && !request_.triesServer.empty()) {
        // The count lives on the server beside the figures; its row is locked while the
        // password is checked, so parallel tries from any workstation go one by one.
        try {
            right = checkOnServer(request_.triesServer, [&](int count, std::int64_t last) {
                const GateClock clock = currentClock();
                const std::int64_t due = last + tryWaitSeconds(count);
                waited = std::min<std::int64_t>(due - clock.now(), kMaxTryWaitSeconds);
                if (waited > 0) clock.sleep(waited);
                else waited = 0;
                const bool ok = verifyPassword(typed, request_.storedPassword);
                return std::pair<bool, std::int64_t>(ok, clock.now());
            });
        } catch (const std::exception& e) {
            flag_ = "N";
            return {GateOutcome::Refused,
                    withArgs(translate("Gate", "Il conteggio dei tentativi sul server non può essere aggiornato "
                                               "(%1): accesso negato."),
                             {e.what()}),
                    0};
        }
    } else if (passwordSet) {
        TriesFile tries(request_.triesFolder);
        if (!tries.problem().empty()) {
            flag_ = "N";
            return {GateOutcome::Refused,
                    withArgs(translate("Gate", "Il conteggio dei tentativi non può essere letto (%1): accesso negato."),
                             {tries.problem()}),
                    0};
        }
        const GateClock clock = currentClock();
        if (tries.kept()) {
            const std::int64_t due = tries.last() + tryWaitSeconds(tries.count());
            const std::int64_t now = clock.now();
            waited = std::min<std::int64_t>(due - now, kMaxTryWaitSeconds);
            if (waited > 0) clock.sleep(waited);
            else waited = 0;
        }
        right = verifyPassword(typed, request_.storedPassword);
        if (right) tries.record(0, 0);
        else tries.record(tries.count() + 1, clock.now());
    } else {
        right = typed.empty();
    }
    if (right) {
        flag_ = "S";
        return {GateOutcome::Granted, "", waited};
    }
    --attemptsLeft_;
    const std::string what =
        passwordSet ? translate("Gate", "Password errata.")
                    : translate("Gate", "Nessuna password è impostata: premere Invio con il campo vuoto.");
    if (attemptsLeft_ <= 0) {
        flag_ = "N";
        return {GateOutcome::Refused, what + " " + translate("Gate", "Accesso negato."), waited};
    }
    return {GateOutcome::Wrong, what + " " + attemptsText(attemptsLeft_), waited};
}

}  // namespace zt::desktop
