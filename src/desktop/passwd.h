#pragma once
// The management password: the file "Security.pwd" in the working folder, and the
// access gate `PasswdSecurity` as plain C++ (the Qt dialog and the command line both
// drive `AccessGate`). The rules are described in docs/ACCESS_GATE.md.
//
// "Security.pwd" holds one line, "HASH,CHECK" followed by CR LF:
//   HASH   the password as a yescrypt hash ("$y$..."), salted and slow, the form of
//          /etc/shadow; the password itself is never stored;
//   CHECK  CRC-32 of the bytes of HASH with its top bit cleared (0 ... 2147483647),
//          as decimal digits; it catches a damaged or hand-edited line.
// No file: no password is set. A file that cannot be read as such a line is damaged,
// and the gate refuses access until it is deleted and a password is set again.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace zt {
struct ProgramState;
}

namespace zt::desktop {

inline constexpr const char* kSecurityFileName = "Security.pwd";

// ---- the shared text routines of the password file --------------------------------

// The two modes of the password text routine: 0 turns the password part of the file
// into the stored password (the identity: the part is the hash itself, which needs no
// unscrambling); 1 keeps the digits 0-9 of a text and drops every other character.
inline constexpr int kUnscramble = 0;
inline constexpr int kDigitsOnly = 1;
// Throws std::invalid_argument for another mode.
std::string pwdText(std::string_view text, int mode);

// The first line of the file cut into its two parts. The line is scanned from its last
// character down to its first with a count of commas met: a comma at the scan position
// moves the scan back one more position and raises the count; the character the scan
// then stands on goes in front of the check part while the count is 0, in front of the
// password part otherwise. So the check part is the text after the last comma and the
// password part the text before it without the commas the scan stepped over; of two
// adjacent commas the left one is kept. "ab,12" gives "ab" and "12"; "a,b,12" gives "ab"
// and "12"; "ab,,12" gives "ab," and "12"; ",12" gives "" and "12" (the scan steps off
// the start of the line, where there is nothing to take); "123" gives "" and "123".
struct PwdLine {
    std::string passwordPart;
    std::string checkPart;
};
PwdLine splitPwdLine(std::string_view line);

// The check number of a hash text: CRC-32 (the polynomial of zip and PNG) of its bytes
// with the top bit cleared, so that it fits a 32-bit signed integer.
std::int32_t pwdCheckNumber(std::string_view hash);

// Whether a text has the shape of a yescrypt hash: "$y$", parameters, "$", salt, "$"
// and 43 characters of the hash, all from "./0-9A-Za-z".
bool isYescryptHash(std::string_view text);

// Whether the cost written in a yescrypt hash's parameters is within what the gate
// computes: the parameters must be the three characters of a plain yescrypt hash
// (flavour, N, r) and the memory 128·N·r at most 64 MiB (the default cost takes 16 MiB,
// about 40 ms). A file with a higher cost would make every check take seconds: it is
// damaged.
bool isYescryptCostWithinCap(std::string_view hash);

// The longest password the hash takes, in bytes (libxcrypt takes at most 511).
inline constexpr std::size_t kMaxPasswordBytes = 511;

// ---- reading the file ---------------------------------------------------------------

enum class PwdFileState { Absent, Ok, Damaged };

struct SecurityPwd {
    PwdFileState state = PwdFileState::Absent;
    std::string storedPassword;    // the unscrambled password part as read; "" when absent
    std::int32_t storedCheck = 0;  // the check number as read; 0 when absent or unreadable
    std::string problem;           // when damaged: the message for the user, with the
                                   // reason and how to reset the file
    std::filesystem::path folder;  // the working folder it was read from (where the
                                   // count of wrong passwords is kept); "" for none
    std::string server;            // the figure server's connection string when the
                                   // password was read from there (and the count is kept there)
};

// The password file of the folder: "Security.pwd" found whatever the case of its name on
// disk ("SECURITY.PWD" is the password file too, and is the one written); the program's
// spelling when there is none. Several names differing only in case: store::NameClash.
std::filesystem::path securityFilePath(const std::filesystem::path& workDir);

// Reads the first line of a present file (without its line end) as the password file.
SecurityPwd parseSecurityLine(std::string_view firstLine);
// Reads "Security.pwd" (securityFilePath) from the folder. Never throws for the file's
// contents: a file that cannot be opened or read, or whose first line is not a password
// line, comes back as damaged with the reason; so do names differing only in case.
// While a figure server holds the figures (ZENTORIA_FIGURES_DB), the password is the
// server's (table "Direzione", store/postgres/server_admin.h) and the folder's file is
// not read; a server that cannot be asked refuses (damaged, with the reason).
SecurityPwd readSecurityPwd(const std::filesystem::path& workDir);
// The folder's file alone, whatever the figure server.
SecurityPwd readSecurityFile(const std::filesystem::path& workDir);
// The line "HASH,CHECK" (without its line end) for a password; the checks of setPassword.
std::string passwordLine(std::string_view password);
// Where the password is kept, for messages: the file's path or "PostgreSQL server NAME".
std::string passwordPlace(const std::filesystem::path& workDir);
// Start-up: reads the file of the state's working folder and sets the state's stored
// password and check number from it; returns what was found.
SecurityPwd loadSecurityPwd(ProgramState& state);

// ---- writing the file ---------------------------------------------------------------

// Sets the password: writes "HASH,CHECK" CR LF to a new file of a name nobody can guess,
// created exclusively with mode 0600 (common/private_file.h), and renames it over
// "Security.pwd", so the file is always whole and a link planted in the folder is never
// followed. An empty password clears it. Throws std::runtime_error (naming the file)
// when it cannot be written, std::invalid_argument for a password with a NUL character
// or longer than kMaxPasswordBytes (the message says so). While a figure server holds the
// figures, the password is written there instead (and removed from there by
// clearPassword).
void setPassword(const std::filesystem::path& workDir, std::string_view password);
// Removes "Security.pwd"; no error when there is none.
void clearPassword(const std::filesystem::path& workDir);

// Whether `typed` is the password of the hash, comparing the hash of the typed text
// with the stored one in constant time. False for a stored text that is not a hash.
bool verifyPassword(std::string_view typed, std::string_view storedHash);

// ---- the access gate ----------------------------------------------------------------

// What the gate `PasswdSecurity` is shown with.
struct GateRequest {
    std::string storedPassword;      // the stored hash; "" when none is set
    std::int32_t storedCheck = 0;    // the check number of the file
    std::string referencePassword;   // "" at start-up; never opens the gate by itself
    std::string hotelOptions;        // the hotel option string ("^", "P" matter here)
    PwdFileState fileState = PwdFileState::Absent;
    std::string problem;             // why the file is damaged
    std::filesystem::path triesFolder;  // where the count of wrong passwords in a row is
                                        // kept (kTriesFileName); "" keeps none
    std::string triesServer;            // or the figure server that keeps it
};

// ---- wrong passwords in a row ---------------------------------------------------------

// The file beside "Security.pwd" that counts the wrong passwords typed in a row, by every
// process of every workstation: "COUNT TIME" CR LF (TIME: seconds since 1970 of the last
// wrong one). Created with O_NOFOLLOW and mode 0600, locked (flock) while a password is
// checked, so attempts in parallel are checked one after the other.
inline constexpr const char* kTriesFileName = "Security.try";
// After kFreeTries wrong passwords in a row each further try waits 1 s, then 2, 4, ...
// up to kMaxTryWaitSeconds after the last wrong one; the right password resets the count.
inline constexpr int kFreeTries = 3;
inline constexpr std::int64_t kMaxTryWaitSeconds = 30;
std::int64_t tryWaitSeconds(int wrongInARow);

// The clock and the sleep of the gate's waits; a test replaces them (and puts the
// returned ones back) so that nothing sleeps for real.
struct GateClock {
    std::function<std::int64_t()> now;              // seconds since 1970
    std::function<void(std::int64_t seconds)> sleep;
};
GateClock setGateClock(GateClock clock);

// The request of the start-up: the state's stored values and option string, and what
// reading the file found.
GateRequest makeGateRequest(const ProgramState& state, const SecurityPwd& file);
GateRequest makeGateRequest(const SecurityPwd& file, std::string hotelOptions);

enum class GateOutcome {
    Granted,  // access flag "S"; the gate closes
    Wrong,    // wrong password, attempts are left; the gate stays open
    Refused,  // access flag "N"; the gate closes
};

struct GateResult {
    GateOutcome outcome;
    std::string message;  // for Wrong and Refused; "" for Granted
    std::int64_t waited = 0;  // seconds waited before the password was checked
};

// The rules of the gate, one instance per showing.
//  - No password set (no file): Enter on the empty field grants access; typed text is
//    a wrong attempt. With option "P" a password is required: no file refuses at once.
//  - A damaged file refuses at once, saying how to reset it.
//  - A password set: the typed text must match; kAttempts wrong attempts refuse
//    access, only one with option "^".
class AccessGate {
public:
    static constexpr int kAttempts = 3;

    explicit AccessGate(GateRequest request);

    // The refusal decided before anything is typed (damaged file, "P" with no
    // password set): the message, or "" when the gate asks for a password.
    const std::string& refusalAtOnce() const { return refusal_; }
    // A line to show in the gate before typing ("" when there is none to show).
    std::string hint() const;

    // Enter with `typed` in the field.
    GateResult submit(std::string_view typed);

    bool finished() const { return !flag_.empty(); }
    // "S" granted, "N" refused, "" while the gate is open.
    const std::string& accessFlag() const { return flag_; }
    int attemptsLeft() const { return attemptsLeft_; }
    const GateRequest& request() const { return request_; }
    // Closing the gate without Enter (Esc, the close button): refused.
    void cancel();

private:
    GateRequest request_;
    std::string refusal_;
    std::string flag_;
    int attemptsLeft_;
};

// The program's texts of the gate.
namespace gate_text {
inline constexpr const char* kCaption = "Direzione";
// How to reset a password that is lost or a file that is damaged.
inline constexpr const char* kReset =
    "Per ripristinare l'accesso cancellare il file Security.pwd dalla cartella di "
    "lavoro e impostare una nuova password con il comando \"zentoria passwd\".";
}  // namespace gate_text

}  // namespace zt::desktop
