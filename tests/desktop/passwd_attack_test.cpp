// The password file against a hostile colleague who can write the working folder: links
// planted for the temporary file or in place of "Security.pwd", special files, a huge
// hash cost, long passwords, and guessing by many tries.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "desktop/passwd.h"
#include "support/holds.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using namespace zt::desktop;
using zt::test::holds;
using zt::test::TestDir;

namespace {

// The gate's clock replaced by one that moves only when the gate sleeps, and that records
// every sleep; the real one is put back at the end.
struct FakeClock {
    std::vector<std::int64_t> sleeps_;
    std::int64_t now_ = 1'700'000'000;
    GateClock old_ = setGateClock({[this] { return now_; }, [this](std::int64_t s) { sleeps_.push_back(s), now_ += s; }});
    ~FakeClock() { setGateClock(old_); }
};

}  // namespace

TEST(PasswdAttack, WritingNeverFollowsAPlantedLinkAndMakesA0600File) {
    TestDir dir, elsewhere;
    // A victim file linked under every name a writer of guessable temporary names could
    // use for the next pids.
    elsewhere.write("victim", "precious\n");
    const fs::path victim = elsewhere / "victim";
    for (pid_t p = ::getpid(); p < ::getpid() + 50; ++p)
        for (const std::string prefix : {".Security.pwd.", "Security.pwd."})
            fs::create_symlink(victim, dir / (prefix + std::to_string(p) + ".tmp"));
    const mode_t old = ::umask(0);
    setPassword(dir.path(), "Segreto-1");
    ::umask(old);
    EXPECT_EQ(elsewhere.read("victim"), "precious\n");
    const fs::file_status st = fs::symlink_status(dir / kSecurityFileName);
    EXPECT_EQ(st.type(), fs::file_type::regular);
    EXPECT_EQ(st.permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(readSecurityPwd(dir.path()).state, PwdFileState::Ok);
    for (const auto& e : fs::directory_iterator(dir.path()))  // no file of the writer's is left
        EXPECT_TRUE(e.path().filename() == kSecurityFileName || fs::is_symlink(e.symlink_status())) << e.path();

    // A link in place of Security.pwd itself is replaced, not written through.
    fs::remove(dir / kSecurityFileName);
    fs::create_symlink(victim, dir / kSecurityFileName);
    EXPECT_EQ(readSecurityPwd(dir.path()).state, PwdFileState::Damaged);  // "precious" is no password line
    fs::remove(dir / kSecurityFileName);
    fs::create_symlink(victim, dir / "SECURITY.PWD");
    try { setPassword(dir.path(), "Segreto-2"); } catch (...) {}
    EXPECT_EQ(elsewhere.read("victim"), "precious\n");
}

TEST(PasswdAttack, OnlyANameThatIsNotThereMeansNoPassword) {
    TestDir dir, other;
    other.write("plain", "x");
    EXPECT_EQ(readSecurityPwd(dir.path()).state, PwdFileState::Absent);
    const auto fifo = [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); };
    const std::vector<std::pair<std::string, std::function<void(const fs::path&)>>> cases = {
        {"dangling link", [](const fs::path& p) { fs::create_symlink("/nowhere/at/all", p); }},
        {"link through a file", [&](const fs::path& p) { fs::create_symlink(other / "plain" / "x", p); }},
        {"link loop", [](const fs::path& p) { fs::create_symlink(p, p); }},
        {"FIFO", fifo},
        {"link to a FIFO", [&](const fs::path& p) { fifo(other / "fifo"), fs::create_symlink(other / "fifo", p); }},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }},
    };
    for (const auto& [what, make] : cases) {
        make(dir / kSecurityFileName);
        const SecurityPwd file = readSecurityPwd(dir.path());  // a FIFO must not block here
        EXPECT_EQ(file.state, PwdFileState::Damaged) << what;
        EXPECT_TRUE(holds(file.problem, "Security.pwd")) << what;
        AccessGate gate(makeGateRequest(file, ""));
        EXPECT_FALSE(gate.refusalAtOnce().empty()) << what;
        EXPECT_EQ(gate.submit("").outcome, GateOutcome::Refused) << what;
        std::error_code ec;
        fs::remove_all(dir / kSecurityFileName, ec), fs::remove(other / "fifo", ec);
    }
}

// A password too long for the hash is refused saying why; a cost above the cap is a damaged file.
TEST(PasswdAttack, APasswordsLengthAndTheHashsCostAreCapped) {
    TestDir dir;
    const std::string longest(kMaxPasswordBytes, 'a');
    setPassword(dir.path(), longest);
    EXPECT_TRUE(verifyPassword(longest, readSecurityPwd(dir.path()).storedPassword));
    try {
        setPassword(dir.path(), std::string(600, 'a'));
        ADD_FAILURE() << "a 600-byte password was taken";
    } catch (const std::invalid_argument& e) {
        for (const char* part : {"600 bytes", "511"}) EXPECT_TRUE(holds(e.what(), part));
    }
    EXPECT_TRUE(verifyPassword(longest, readSecurityPwd(dir.path()).storedPassword));

    setPassword(dir.path(), "Segreto-1");
    const std::string line = dir.read(kSecurityFileName);
    ASSERT_EQ(line.substr(0, 7), "$y$j9T$");  // the default cost: 16 MiB
    EXPECT_TRUE(isYescryptCostWithinCap(line.substr(0, line.find(','))));
    // N raised to 2^18 (each check would take seconds), and a parameter field longer than a
    // plain hash's; both with a matching check number.
    for (const std::string params : {"jFT", "jCT", "j9Tu"}) {
        const std::string hash = line.substr(0, line.find(',')).replace(3, 3, params);
        dir.write(kSecurityFileName, hash + "," + std::to_string(pwdCheckNumber(hash)) + "\r\n");
        const SecurityPwd file = readSecurityPwd(dir.path());
        EXPECT_EQ(file.state, PwdFileState::Damaged) << params;
        EXPECT_TRUE(holds(file.problem, "supera il limite"));
        EXPECT_FALSE(verifyPassword("Segreto-1", hash)) << params;
        GateRequest handed;  // the same values handed to the gate by another road
        handed.storedPassword = hash;
        handed.storedCheck = pwdCheckNumber(hash);
        handed.fileState = PwdFileState::Ok;
        EXPECT_FALSE(AccessGate(handed).refusalAtOnce().empty()) << params;
    }
}

TEST(PasswdAttack, WrongPasswordsInARowWaitLongerAcrossProcesses) {
    TestDir dir;
    setPassword(dir.path(), "Giusta-1");
    FakeClock clock;
    // Each gate stands for one start of the program (the count lives in the folder).
    auto tryOnce = [&](const std::string& typed) {
        const GateResult r = AccessGate(makeGateRequest(readSecurityPwd(dir.path()), "^")).submit(typed);
        return std::pair{r.outcome, r.waited};
    };
    for (const std::int64_t wait : {0, 0, 0, 1, 2, 4, 8, 16, 30})
        EXPECT_EQ(tryOnce("sbagliata"), std::pair(GateOutcome::Refused, wait));
    EXPECT_EQ(clock.sleeps_, (std::vector<std::int64_t>{1, 2, 4, 8, 16, 30}));
    clock.now_ += 10;  // time passing outside the gate counts: 20 s are left to wait
    EXPECT_EQ(tryOnce("Giusta-1"), std::pair(GateOutcome::Granted, std::int64_t{20}));
    // The right password resets the count.
    EXPECT_EQ(tryOnce("sbagliata").second, 0);
    EXPECT_EQ(tryOnce("Giusta-1").first, GateOutcome::Granted);

    // A link planted in place of the count file is never followed: the gate refuses.
    TestDir other;
    other.write("victim", "precious\n");
    fs::remove(dir / kTriesFileName);
    fs::create_symlink(other / "victim", dir / kTriesFileName);
    EXPECT_EQ(tryOnce("Giusta-1").first, GateOutcome::Refused);
    EXPECT_EQ(other.read("victim"), "precious\n");
}
