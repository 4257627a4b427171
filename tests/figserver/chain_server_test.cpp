// `zentoria chain` over the figure server: each hotel's row is its grid there, the total
// the sum of the rows, and the whole table the same as over the figure files.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>

#include "app/cli.h"
#include "app/demo.h"
#include "support/chain_check.h"
#include "support/pg_server.h"
#include "support/testdir.h"

using zt::test::PgServer;
using zt::test::TestDir;

namespace {

std::string runOver(const std::string& db, const TestDir& dir, std::vector<std::string> args, int* status = nullptr) {
    if (db.empty()) ::unsetenv("ZENTORIA_FIGURES_DB");
    else ::setenv("ZENTORIA_FIGURES_DB", db.c_str(), 1);
    args.insert(args.begin(), {"--dir", dir.path().string()});
    std::istringstream in;
    std::ostringstream out, err;
    const int s = zt::app::runCommand(args, in, out, err);
    ::unsetenv("ZENTORIA_FIGURES_DB");
    if (status) *status = s;
    else EXPECT_EQ(s, 0) << err.str();
    return out.str();
}

}  // namespace

TEST(ChainOnServer, EachRowIsTheHotelsGridTheTotalTheirSumAndAllAsOverTheFiles) {
    const std::string db = PgServer::shared().createDatabase("chain_demo");
    TestDir files, served;
    using namespace std::chrono;
    const auto demo = zt::app::writeDemo(files.path(), true, year_month_day{2024y, November, 20d});
    zt::app::writeDemo(served.path(), true, year_month_day{2024y, November, 20d});
    runOver(db, served, {"figures", "init"});
    runOver(db, served, {"figures", "push"});
    std::filesystem::remove(served / "Zentoria.mdb");
    std::filesystem::remove(served / "Dettaglio.mdb");

    const zt::test::CommandRunner onServer = [&](const std::vector<std::string>& args) {
        return runOver(db, served, args);
    };
    for (const int y : demo.years) {
        const std::string year = std::to_string(y);
        for (const auto& [stat, detail] : {std::pair{"Presenze", "Generale"}, std::pair{"Produzione", "1"}}) {
            zt::test::expectChainMatchesGrids(onServer, served.path(), stat, detail, year, 2);
            EXPECT_EQ(runOver(db, served, {"chain", stat, detail, year, "--csv"}),
                      runOver("", files, {"chain", stat, detail, year, "--csv"}));
        }
    }
}
