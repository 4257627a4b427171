// The password file against a hostile colleague who can write the working folder: links
// planted for the temporary file or in place of "Security.pwd", special files, a huge
// hash cost, long passwords, and guessing by many tries.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "desktop/passwd.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using namespace zt::desktop;
using zt::test::TestDir;

namespace {

std::string fileText(const fs::path& p) {
    std::string out;
    if (FILE* f = std::fopen(p.c_str(), "rb")) {
        char buf[256];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) out.append(buf, n);
        std::fclose(f);
    }
    return out;
}

// The gate's clock replaced by one that moves only when the gate sleeps, and that records
// every sleep; the real one is put back at the end.
class FakeClock {
public:
    FakeClock() {
        old_ = setGateClock({[this] { return now_; }, [this](std::int64_t s) {
                                 sleeps_.push_back(s);
                                 now_ += s;
                             }});
    }
    ~FakeClock() { setGateClock(old_); }
    std::vector<std::int64_t> sleeps_;
    std::int64_t now_ = 1'700'000'000;

private:
    GateClock old_;
};

}  // namespace

TEST(PasswdAttack, WritingNeverFollowsAPlantedLinkAndMakesA0600File) {
    TestDir dir, elsewhere;
    // A victim file the attacker wants overwritten, linked under every name a writer of
    // guessable temporary names could use for the next pids.
    elsewhere.write("victim", "precious\n");
    const fs::path victim = elsewhere / "victim";
    const pid_t pid = ::getpid();
    for (pid_t p = pid; p < pid + 50; ++p) {
        fs::create_symlink(victim, dir / (".Security.pwd." + std::to_string(p) + ".tmp"));
        fs::create_symlink(victim, dir / ("Security.pwd." + std::to_string(p) + ".tmp"));
    }
    const mode_t old = ::umask(0);
    setPassword(dir.path(), "Segreto-1");
    ::umask(old);
    EXPECT_EQ(fileText(victim), "precious\n");
    struct stat st {};
    ASSERT_EQ(::lstat((dir / kSecurityFileName).c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(readSecurityPwd(dir.path()).state, PwdFileState::Ok);
    // No file of the writer's is left beside it (only the planted links).
    for (const auto& e : fs::directory_iterator(dir.path()))
        EXPECT_TRUE(e.path().filename() == kSecurityFileName || fs::is_symlink(e.symlink_status()))
            << e.path();

    // A link in place of Security.pwd itself is replaced, not written through.
    fs::remove(dir / kSecurityFileName);
    fs::create_symlink(victim, dir / kSecurityFileName);
    EXPECT_EQ(readSecurityPwd(dir.path()).state, PwdFileState::Damaged);  // "precious" is no password line
    fs::remove(dir / kSecurityFileName);
    fs::create_symlink(victim, dir / "SECURITY.PWD");
    try {
        setPassword(dir.path(), "Segreto-2");
    } catch (...) {
    }
    EXPECT_EQ(fileText(victim), "precious\n");
}

TEST(PasswdAttack, OnlyANameThatIsNotThereMeansNoPassword) {
    TestDir dir, other;
    other.write("plain", "x");
    EXPECT_EQ(readSecurityPwd(dir.path()).state, PwdFileState::Absent);

    struct Case {
        std::string what;
        std::function<void(const fs::path&)> make;
    };
    const std::vector<Case> cases = {
        {"dangling link", [](const fs::path& p) { fs::create_symlink("/nowhere/at/all", p); }},
        {"link through a file", [&](const fs::path& p) { fs::create_symlink(other / "plain" / "x", p); }},
        {"link loop", [](const fs::path& p) { fs::create_symlink(p, p); }},
        {"FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"link to a FIFO", [&](const fs::path& p) {
             ASSERT_EQ(::mkfifo((other / "fifo").c_str(), 0600), 0);
             fs::create_symlink(other / "fifo", p);
         }},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }},
    };
    for (const Case& c : cases) {
        const fs::path p = dir / kSecurityFileName;
        c.make(p);
        const SecurityPwd file = readSecurityPwd(dir.path());  // a FIFO must not block here
        EXPECT_EQ(file.state, PwdFileState::Damaged) << c.what;
        EXPECT_NE(file.problem.find("Security.pwd"), std::string::npos) << c.what << ": " << file.problem;
        AccessGate gate(makeGateRequest(file, ""));
        EXPECT_FALSE(gate.refusalAtOnce().empty()) << c.what;
        EXPECT_EQ(gate.submit("").outcome, GateOutcome::Refused) << c.what;
        std::error_code ec;
        fs::remove_all(p, ec);
        fs::remove(other / "fifo", ec);
    }
}

TEST(PasswdAttack, AHashCostAboveTheCapIsADamagedFile) {
    TestDir dir;
    setPassword(dir.path(), "Segreto-1");
    const std::string line = fileText(dir / kSecurityFileName);
    ASSERT_EQ(line.substr(0, 7), "$y$j9T$");  // the default cost: 16 MiB
    EXPECT_TRUE(isYescryptCostWithinCap(line.substr(0, line.find(','))));
    // The same hash with N raised to 2^18 (each check would take seconds), and with a
    // parameter field longer than a plain hash's; both carry a matching check number.
    for (const std::string params : {"jFT", "jCT", "j9Tu"}) {
        std::string hash = line.substr(0, line.find(','));
        hash.replace(3, 3, params);
        dir.write(kSecurityFileName, hash + "," + std::to_string(pwdCheckNumber(hash)) + "\r\n");
        const SecurityPwd file = readSecurityPwd(dir.path());
        EXPECT_EQ(file.state, PwdFileState::Damaged) << params;
        EXPECT_NE(file.problem.find("supera il limite"), std::string::npos) << file.problem;
        EXPECT_FALSE(verifyPassword("Segreto-1", hash)) << params;
        GateRequest handed;  // the same values handed to the gate by another road
        handed.storedPassword = hash;
        handed.storedCheck = pwdCheckNumber(hash);
        handed.fileState = PwdFileState::Ok;
        EXPECT_FALSE(AccessGate(handed).refusalAtOnce().empty()) << params;
    }
}

TEST(PasswdAttack, APasswordTooLongForTheHashSaysWhy) {
    TestDir dir;
    setPassword(dir.path(), std::string(kMaxPasswordBytes, 'a'));
    EXPECT_TRUE(verifyPassword(std::string(kMaxPasswordBytes, 'a'), readSecurityPwd(dir.path()).storedPassword));
    try {
        setPassword(dir.path(), std::string(600, 'a'));
        FAIL() << "a 600-byte password was taken";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("600 bytes"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("511"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(verifyPassword(std::string(kMaxPasswordBytes, 'a'), readSecurityPwd(dir.path()).storedPassword));
}

TEST(PasswdAttack, WrongPasswordsInARowWaitLongerAcrossProcesses) {
    TestDir dir;
    setPassword(dir.path(), "Giusta-1");
    FakeClock clock;
    // Each gate stands for one start of the program (the count lives in the folder).
    auto tryOnce = [&](const std::string& typed) {
        AccessGate gate(makeGateRequest(readSecurityPwd(dir.path()), "^"));
        return gate.submit(typed);
    };
    std::vector<std::int64_t> waits;
    for (int i = 0; i < 9; ++i) {
        const GateResult r = tryOnce("sbagliata");
        EXPECT_EQ(r.outcome, GateOutcome::Refused);
        waits.push_back(r.waited);
    }
    EXPECT_EQ(waits, (std::vector<std::int64_t>{0, 0, 0, 1, 2, 4, 8, 16, 30}));
    EXPECT_EQ(clock.sleeps_, (std::vector<std::int64_t>{1, 2, 4, 8, 16, 30}));
    // Time passing outside the gate counts: after 10 s only 20 are left to wait.
    clock.now_ += 10;
    const GateResult right = tryOnce("Giusta-1");
    EXPECT_EQ(right.outcome, GateOutcome::Granted);
    EXPECT_EQ(right.waited, 20);
    // The right password resets the count.
    EXPECT_EQ(tryOnce("sbagliata").waited, 0);
    EXPECT_EQ(tryOnce("Giusta-1").outcome, GateOutcome::Granted);

    // A link planted in place of the count file is never followed: the gate refuses.
    TestDir other;
    other.write("victim", "precious\n");
    fs::remove(dir / kTriesFileName);
    fs::create_symlink(other / "victim", dir / kTriesFileName);
    EXPECT_EQ(tryOnce("Giusta-1").outcome, GateOutcome::Refused);
    EXPECT_EQ(other.read("victim"), "precious\n");
}
