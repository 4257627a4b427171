#include "desktop/passwd.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "common/state.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using namespace zt::desktop;
using zt::test::TestDir;

namespace {

// Sets a password in the folder and returns the hash and check number the file holds.
std::pair<std::string, std::string> storedParts(const TestDir& dir, const std::string& password) {
    setPassword(dir.path(), password);
    const std::string text = dir.read(kSecurityFileName);
    const std::size_t comma = text.find(',');
    const std::size_t end = text.find("\r\n");
    return {text.substr(0, comma), text.substr(comma + 1, end - comma - 1)};
}

GateRequest requestFor(const TestDir& dir, const std::string& options = "") {
    return makeGateRequest(readSecurityPwd(dir.path()), options);
}

}  // namespace

TEST(PasswdFile, SplitsTheFirstLineFromItsEnd) {
    struct Case {
        std::string line, password, check;
    };
    const std::vector<Case> cases = {
        {"ab,12", "ab", "12"},      // one comma
        {"a,b,12", "ab", "12"},     // two commas apart: both dropped
        {"ab,,12", "ab,", "12"},    // adjacent commas: the left one is kept
        {",12", "", "12"},          // leading comma: the scan steps off the line
        {"123", "", "123"},         // no comma: everything is the check part
        {"ab,", "ab", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const PwdLine parts = splitPwdLine(c.line);
        EXPECT_EQ(parts.passwordPart, c.password) << c.line;
        EXPECT_EQ(parts.checkPart, c.check) << c.line;
    }
    EXPECT_EQ(pwdText("a1 b2-3x", kDigitsOnly), "123");
    EXPECT_EQ(pwdText("$y$abc", kUnscramble), "$y$abc");
}

TEST(PasswdFile, SettingWritesAHashLineAndNeverThePassword) {
    TestDir dir;
    setPassword(dir.path(), "Segreto-2024");
    const std::string text = dir.read(kSecurityFileName);
    EXPECT_TRUE(std::regex_match(text, std::regex(R"(\$y\$[./0-9A-Za-z]+\$[./0-9A-Za-z]+\$[./0-9A-Za-z]{43},[0-9]+\r\n)")))
        << text;
    EXPECT_EQ(text.find("Segreto"), std::string::npos);
    // The check number is CRC-32 of the hash with the top bit cleared, in decimal.
    const std::string hash = text.substr(0, text.find(','));
    EXPECT_EQ(pwdCheckNumber("123456789"), 0x4BF43926);
    EXPECT_EQ(text.substr(text.find(',') + 1), std::to_string(pwdCheckNumber(hash)) + "\r\n");

    const SecurityPwd file = readSecurityPwd(dir.path());
    ASSERT_EQ(file.state, PwdFileState::Ok) << file.problem;
    EXPECT_EQ(file.storedPassword, hash);
    EXPECT_TRUE(verifyPassword("Segreto-2024", file.storedPassword));
    EXPECT_FALSE(verifyPassword("segreto-2024", file.storedPassword));
    EXPECT_FALSE(verifyPassword("", file.storedPassword));

    // The same password again gets a new salt; nothing but the file is left behind.
    setPassword(dir.path(), "Segreto-2024");
    EXPECT_NE(dir.read(kSecurityFileName), text);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    // Start-up puts the values into the program state and hands them to the gate.
    zt::ProgramState state;
    state.workDir = dir.path();
    state.hotelOptions = "^";
    const SecurityPwd loaded = loadSecurityPwd(state);
    EXPECT_EQ(state.storedPassword, loaded.storedPassword);
    EXPECT_EQ(state.storedCheck, pwdCheckNumber(loaded.storedPassword));
    AccessGate gate(makeGateRequest(state, loaded));
    EXPECT_EQ(gate.attemptsLeft(), 1);
    EXPECT_EQ(gate.submit("Segreto-2024").outcome, GateOutcome::Granted);

    // An empty password, or clearing, removes the file.
    setPassword(dir.path(), "");
    EXPECT_FALSE(fs::exists(dir / kSecurityFileName));
    setPassword(dir.path(), "x");
    clearPassword(dir.path());
    EXPECT_FALSE(fs::exists(dir / kSecurityFileName));
    EXPECT_NO_THROW(clearPassword(dir.path()));
}

TEST(PasswdFile, LinesThatStillReadAsAPasswordLine) {
    TestDir dir;
    const auto [hash, check] = storedParts(dir, "alfa");
    const std::string half = hash.substr(0, 20);
    const std::string rest = hash.substr(20);
    const std::vector<std::string> contents = {
        hash + "," + check + "\r\n",
        hash + "," + check + "\n",
        hash + "," + check,                           // no line end
        hash + "," + check + "\r\nsecond line,1\r\n",  // only the first line counts
        half + "," + rest + "," + check + "\r\n",      // a comma in the hash is stepped over
        hash + ", " + check + " \r\n",                 // only the digits of the check part count
        hash + ",000" + check + "\r\n",
    };
    for (const std::string& content : contents) {
        dir.write(kSecurityFileName, content);
        const SecurityPwd file = readSecurityPwd(dir.path());
        EXPECT_EQ(file.state, PwdFileState::Ok) << content << file.problem;
        EXPECT_EQ(file.storedPassword, hash) << content;
        EXPECT_EQ(AccessGate(requestFor(dir)).submit("alfa").outcome, GateOutcome::Granted) << content;
    }
}

TEST(PasswdFile, DamagedFilesRefuseAccessAndSayHowToReset) {
    TestDir dir;
    const auto [hash, check] = storedParts(dir, "alfa");
    std::string edited = hash;
    edited[edited.size() - 5] = edited[edited.size() - 5] == 'A' ? 'B' : 'A';
    std::string editedCheck = check;
    editedCheck.back() = editedCheck.back() == '0' ? '1' : static_cast<char>(editedCheck.back() - 1);
    const std::string plain = "alfa";
    struct Case {
        std::string content, reason;
    };
    const std::vector<Case> cases = {
        {"", "vuoto"},
        {"\r\n", "vuota"},
        {hash + check + "\r\n", "virgola"},                 // no comma
        {"," + check + "\r\n", "manca la password"},         // leading comma
        {hash + ",abc\r\n", "cifre"},                        // no digits in the check part
        {hash + ",\r\n", "cifre"},
        {hash + ",99999999999\r\n", "troppo grande"},
        {hash + ",2147483648\r\n", "troppo grande"},
        {edited + "," + check + "\r\n", "non corrisponde"},  // hand-edited hash
        {hash + "," + editedCheck + "\r\n", "non corrisponde"},  // hand-edited check number
        {hash + ",," + check + "\r\n", "non corrisponde"},   // a comma kept in the hash
        {plain + "," + std::to_string(pwdCheckNumber(plain)) + "\r\n", "formato"},
        {std::string(5000, 'x') + ",1\r\n", "troppo lunga"},
    };
    for (const Case& c : cases) {
        dir.write(kSecurityFileName, c.content);
        const SecurityPwd file = readSecurityPwd(dir.path());
        EXPECT_EQ(file.state, PwdFileState::Damaged) << c.content;
        EXPECT_NE(file.problem.find(c.reason), std::string::npos) << c.content << " -> " << file.problem;
        EXPECT_NE(file.problem.find("Security.pwd"), std::string::npos);
        EXPECT_NE(file.problem.find("zentoria passwd"), std::string::npos);

        // The gate refuses before anything is typed, and the right password does not help.
        AccessGate gate(requestFor(dir));
        EXPECT_EQ(gate.refusalAtOnce(), file.problem);
        const GateResult result = gate.submit("alfa");
        EXPECT_EQ(result.outcome, GateOutcome::Refused) << c.content;
        EXPECT_EQ(result.message, file.problem);
        EXPECT_EQ(gate.accessFlag(), "N");
    }

    // A folder in the file's place is no password file either.
    fs::remove(dir / kSecurityFileName);
    fs::create_directory(dir / kSecurityFileName);
    EXPECT_EQ(readSecurityPwd(dir.path()).state, PwdFileState::Damaged);
    EXPECT_EQ(AccessGate(requestFor(dir)).submit("").outcome, GateOutcome::Refused);
}

TEST(AccessGate, WrongPasswordsAreBoundedAndTheRightOneOpens) {
    TestDir dir;
    setPassword(dir.path(), "Bravo 7");

    AccessGate gate(requestFor(dir));
    EXPECT_EQ(gate.refusalAtOnce(), "");
    EXPECT_EQ(gate.hint(), "");
    GateResult r = gate.submit("bravo 7");
    EXPECT_EQ(r.outcome, GateOutcome::Wrong);
    EXPECT_NE(r.message.find("Password errata"), std::string::npos);
    EXPECT_NE(r.message.find("2 tentativi"), std::string::npos);
    r = gate.submit("");
    EXPECT_EQ(r.outcome, GateOutcome::Wrong);
    EXPECT_NE(r.message.find("1 tentativo"), std::string::npos);
    EXPECT_EQ(gate.accessFlag(), "");
    EXPECT_EQ(gate.submit("Bravo 7").outcome, GateOutcome::Granted);
    EXPECT_EQ(gate.accessFlag(), "S");

    AccessGate locked(requestFor(dir));
    for (int i = 0; i < AccessGate::kAttempts - 1; ++i)
        EXPECT_EQ(locked.submit("x").outcome, GateOutcome::Wrong);
    r = locked.submit("x");
    EXPECT_EQ(r.outcome, GateOutcome::Refused);
    EXPECT_NE(r.message.find("Accesso negato"), std::string::npos);
    EXPECT_EQ(locked.accessFlag(), "N");
    EXPECT_EQ(locked.submit("Bravo 7").outcome, GateOutcome::Refused);  // too late
    EXPECT_EQ(locked.accessFlag(), "N");

    // "^": one attempt only.
    AccessGate strict(requestFor(dir, "K^"));
    EXPECT_EQ(strict.submit("x").outcome, GateOutcome::Refused);
    EXPECT_EQ(strict.accessFlag(), "N");
    EXPECT_EQ(AccessGate(requestFor(dir, "^")).submit("Bravo 7").outcome, GateOutcome::Granted);

    // "P" with a password set: the password is asked as usual.
    EXPECT_EQ(AccessGate(requestFor(dir, "P")).submit("Bravo 7").outcome, GateOutcome::Granted);

    // Closing the gate without Enter refuses.
    AccessGate closed(requestFor(dir));
    closed.cancel();
    EXPECT_EQ(closed.accessFlag(), "N");
}

TEST(AccessGate, ChecksTheValuesItIsGivenItself) {
    TestDir dir;
    const auto [hash, check] = storedParts(dir, "alfa");
    GateRequest request;
    request.fileState = PwdFileState::Ok;
    request.storedPassword = hash;
    request.storedCheck = std::stoi(check) ^ 1;  // does not match the hash
    AccessGate gate(request);
    EXPECT_NE(gate.refusalAtOnce(), "");
    EXPECT_EQ(gate.submit("alfa").outcome, GateOutcome::Refused);

    request.storedCheck = std::stoi(check);
    request.storedPassword = "alfa";  // not a hash: the typed text alone never matches
    EXPECT_EQ(AccessGate(request).submit("alfa").outcome, GateOutcome::Refused);
    EXPECT_FALSE(verifyPassword("alfa", "alfa"));
    EXPECT_FALSE(verifyPassword("*0", "*0"));
}

TEST(AccessGate, NoPasswordFile) {
    TestDir dir;
    // Enter on the empty field opens; typed text does not, and a reference password
    // never opens anything by itself.
    GateRequest request = requestFor(dir);
    request.referencePassword = "abc";
    AccessGate gate(request);
    EXPECT_NE(gate.hint(), "");
    const GateResult r = gate.submit("abc");
    EXPECT_EQ(r.outcome, GateOutcome::Wrong);
    EXPECT_NE(r.message.find("Nessuna password"), std::string::npos);
    EXPECT_EQ(gate.submit("").outcome, GateOutcome::Granted);
    EXPECT_EQ(gate.accessFlag(), "S");

    EXPECT_EQ(AccessGate(requestFor(dir, "^")).submit("").outcome, GateOutcome::Granted);

    // "P": this hotel must have a password, so without one access is refused at once.
    AccessGate mandatory(requestFor(dir, "&P"));
    EXPECT_NE(mandatory.refusalAtOnce().find("zentoria passwd"), std::string::npos);
    EXPECT_EQ(mandatory.submit("").outcome, GateOutcome::Refused);
    EXPECT_EQ(mandatory.accessFlag(), "N");
}
