// `zentoria chain` over the figure server: each hotel's row is its grid there, the total
// the sum of the rows, and the whole table the same as over the figure files.
#include <gtest/gtest.h>

#include <chrono>

#include "app/demo.h"
#include "support/chain_check.h"
#include "support/pg_server.h"
#include "support/testdir.h"

using zt::test::runnerOver;

TEST(ChainOnServer, EachRowIsTheHotelsGridTheTotalTheirSumAndAllAsOverTheFiles) {
    const std::string db = zt::test::PgServer::shared().createDatabase("chain_demo");
    zt::test::TestDir files, served;
    using namespace std::chrono;
    const auto demo = zt::app::writeDemo(files.path(), true, year_month_day{2024y, November, 20d});
    zt::app::writeDemo(served.path(), true, year_month_day{2024y, November, 20d});
    const zt::test::CommandRunner onServer = runnerOver(served.path(), db), onFiles = runnerOver(files.path());
    onServer({"figures", "init"});
    onServer({"figures", "push"});
    for (const char* figures : {"Zentoria.mdb", "Dettaglio.mdb"}) std::filesystem::remove(served / figures);
    for (const int y : demo.years)
        for (const auto& [stat, detail] : {std::pair{"Presenze", "Generale"}, std::pair{"Produzione", "1"}}) {
            zt::test::expectChainMatchesGrids(onServer, served.path(), stat, detail, std::to_string(y), 2);
            EXPECT_EQ(onServer({"chain", stat, detail, std::to_string(y), "--csv"}),
                      onFiles({"chain", stat, detail, std::to_string(y), "--csv"}));
        }
}
