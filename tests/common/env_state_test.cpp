#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>

#include "common/env.h"
#include "common/state.h"

using namespace zt;

namespace {
// Sets or unsets an environment variable for one test and puts it back afterwards.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const char* value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        if (value) setenv(name_.c_str(), value, 1);
        else unsetenv(name_.c_str());
    }
    ~ScopedEnv() {
        if (old_) setenv(name_.c_str(), old_->c_str(), 1);
        else unsetenv(name_.c_str());
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};
}  // namespace

TEST(Env, LooksUpWithAndWithoutCase) {
    ScopedEnv mixed("ZtTestPcLocal", "07");
    EXPECT_EQ(envValue("ZtTestPcLocal"), "07");
    EXPECT_EQ(envValue("ZTTESTPCLOCAL"), std::nullopt);
    EXPECT_EQ(envValueNoCase("ZTTESTPCLOCAL"), "07");
    EXPECT_EQ(envValueNoCase("zttestpclocal"), "07");
    EXPECT_EQ(envValueNoCase("ZtTestPcLoca"), std::nullopt);
    EXPECT_EQ(envValueNoCase(""), std::nullopt);

    ScopedEnv exact("ZTTESTPCLOCAL", "12");
    EXPECT_EQ(envValueNoCase("ZTTESTPCLOCAL"), "12");
    EXPECT_EQ(envValueNoCase("ZtTestPcLocal"), "07");

    ScopedEnv empty("ZtTestEmpty", "");
    EXPECT_EQ(envValueNoCase("ZTTESTEMPTY"), "");
}

TEST(State, MonthsAndDatabasePaths) {
    ProgramState& state = programState();
    EXPECT_EQ(&state, &programState());
    EXPECT_EQ(state.hotelNumber, 0);

    ProgramState s;
    s.setMonths();
    EXPECT_EQ(s.monthNames[0], "Gennaio");
    EXPECT_EQ(s.monthNames[11], "Dicembre");
    EXPECT_EQ(s.monthLengths[1], 28);
    int days = 0;
    for (auto n : s.monthLengths) days += n;
    EXPECT_EQ(days, 365);

    ScopedEnv dirsh("DIRSH", "/srv/hotel");
    s.hotelOptions = "KU";
    s.setDatabasePaths();
    EXPECT_EQ(s.summaryDbPath, "Zentoria.mdb");
    EXPECT_EQ(s.detailDbPath, "Dettaglio.mdb");
    EXPECT_EQ(s.summaryTable, "Zentoria");
    EXPECT_EQ(s.detailTable, "Dettaglio");

    s.hotelOptions = "K&U";
    s.setDatabasePaths();
    EXPECT_EQ(s.summaryDbPath, "/srv/hotel\\Zentoria.mdb");
    EXPECT_EQ(s.detailDbPath, "/srv/hotel\\Dettaglio.mdb");

    {
        ScopedEnv empty("DIRSH", "");
        ProgramState t;
        t.hotelOptions = "&";
        try {
            t.setDatabasePaths();
            FAIL() << "no error for an empty DIRSH";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("DIRSH"), std::string::npos);
        }
        EXPECT_EQ(t.summaryDbPath, "");  // nothing half-set
    }
    ScopedEnv unset("DIRSH", nullptr);
    EXPECT_THROW(s.setDatabasePaths(), std::runtime_error);
    ScopedEnv lower("Dirsh", "D:\\Dati");
    s.setDatabasePaths();
    EXPECT_EQ(s.detailDbPath, "D:\\Dati\\Dettaglio.mdb");
}
