// The commands and the window over the figure server: the same output as over the figure
// files, several writers at once, a server that goes away. (The figure operations
// themselves run over both back ends in Figures.*, tests/store/figures_test.cpp.)
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include <QLineEdit>
#include <QSettings>

#include "app/demo.h"
#include "common/state.h"
#include "desktop/qt/zent_desk_top.h"
#include "store/db_error.h"
#include "store/figures/operations.h"
#include "support/pg_server.h"
#include "support/run_program.h"
#include "support/testdir.h"
#include "window/window_support.h"

using zt::test::PgServer;
using zt::test::queryColumn;
using zt::test::TestDir;
namespace fs = std::filesystem;

namespace {

using Outcome = zt::test::Run;

// Runs the command line in `dir`, with the figure server setting `db` ("": unset).
Outcome run(const std::string& db, const TestDir& dir, std::vector<std::string> args) {
    args.insert(args.begin(), {"--dir", dir.path().string()});
    return zt::test::runCliWithServer(db, args);
}

// The demo on a fixed day, twice: `files` keeps its figure files; `served` pushes them to
// the server `name` and loses them, so every figure it shows comes from the server.
struct DemoPair {
    TestDir files, served;
    std::string db;
    std::string year, previous;

    explicit DemoPair(const std::string& name) {
        db = PgServer::shared().createDatabase(name);
        using namespace std::chrono;
        const auto demo = zt::app::writeDemo(files.path(), true, year_month_day{2024y, November, 20d});
        zt::app::writeDemo(served.path(), true, year_month_day{2024y, November, 20d});
        year = std::to_string(demo.years.back());
        previous = std::to_string(demo.years.back() - 1);
        EXPECT_EQ(run(db, served, {"figures", "init"}).status, 0);
        const Outcome push = run(db, served, {"figures", "push"});
        EXPECT_EQ(push.status, 0) << push.err;
        fs::remove(served / "Zentoria.mdb");
        fs::remove(served / "Dettaglio.mdb");
    }

    // Runs the command over both and expects the same outcome; returns it.
    Outcome both(const std::vector<std::string>& args) {
        const Outcome overFiles = run("", files, args);
        const Outcome overServer = run(db, served, args);
        EXPECT_EQ(overFiles.status, 0) << overFiles;
        EXPECT_EQ(overServer, overFiles);
        return overServer;
    }
};

// Every row of `Zentoria` in one order, as the file and as the server hold it.
std::string fileSummary(const TestDir& dir) {
    return queryColumn(dir / "Zentoria.mdb", "SELECT NumeroHotel || ',' || Tipo || ',' || Dettaglio || ',' || "
                                             "AnnoMese || ',' || printf('%.4f', Valore) FROM Zentoria ORDER BY "
                                             "NumeroHotel, Tipo, Dettaglio, AnnoMese");
}
std::string serverSummary(const std::string& name) {
    return PgServer::shared().query(name, "SELECT \"NumeroHotel\" || ',' || \"Tipo\" || ',' || \"Dettaglio\" || ',' || "
                                          "\"AnnoMese\" || ',' || round(\"Valore\", 4) FROM \"Zentoria\" ORDER BY "
                                          "\"NumeroHotel\", \"Tipo\" COLLATE \"C\", \"Dettaglio\" COLLATE \"C\", "
                                          "\"AnnoMese\" COLLATE \"C\"");
}

TEST(FiguresOnServer, EveryCommandGivesTheSameOutputAsOverTheFiles) {
    DemoPair demo("ops_demo");
    const std::string y = demo.year;
    for (const auto& [stat, detail] : std::vector<std::pair<std::string, std::string>>{
             {"Produzione", "1"}, {"Presenze", "Generale"}, {"Presenze x Nazione", "IT"}, {"Cassa", "CONT"},
             {"Fatturato", "1"}}) {
        const Outcome grid = demo.both({"grid", "--hotel", "1", "--year", y, "--stat", stat, "--detail", detail});
        demo.both({"diff", "--hotel", "2", "--year", y, "--with", demo.previous, "--stat", stat, "--detail", detail});
        if (stat == "Produzione") {
            EXPECT_GT(grid.out.size(), 24u) << grid;  // not twelve zeros
        }
    }
    demo.both({"ratio", "--hotel", "1", "--year", y, "--stat", "Cassa", "--detail", "CONT", "--with-stat", "Presenze",
               "--with-detail", "Generale"});

    // The report file, byte for byte; also the client-type blocks, which sum every hotel.
    for (const std::string detail : {"Generale", ""}) {
        const std::string stat = detail.empty() ? "Presenze x Tipo Cliente" : "Presenze";
        const std::vector<std::string> args = {"report", "--hotel", "1", "--year", y, "--stat", stat, "--detail", detail};
        const Outcome a = run("", demo.files, args), b = run(demo.db, demo.served, args);
        ASSERT_EQ(a.status, 0) << a;
        ASSERT_EQ(b.status, 0) << b;
        const auto name = [](const Outcome& o) { return fs::path(o.out.substr(0, o.out.find('\n'))).filename(); };
        EXPECT_EQ(demo.served.read(name(b).string()), demo.files.read(name(a).string())) << stat;
    }

    // Writing: "&Registra" and "&Aggiorna" leave the same rows on the server as in the file.
    demo.both({"register", "--hotel", "2", "--year", "1999", "--stat", "Cassa", "--detail", "CONT", "--values",
               "1,234.50;2;;;;;;;;;;0.1", "--yes"});
    demo.both({"register", "--hotel", "2", "--year", y, "--stat", "Presenze", "--detail", "Generale", "--values",
               "5;6;7;8;9;10;11;12;13;14;15;16", "--yes"});
    demo.both({"grid", "--hotel", "2", "--year", "1999", "--stat", "Cassa", "--detail", "CONT"});
    for (const std::string stat : {"Cassa", "Fatturato", "Produzione", "Presenze"})
        demo.both({"recompute", "--hotel", "1", "--year", y, "--stat", stat, "--yes"});
    demo.both({"ratio", "--hotel", "2", "--year", y, "--stat", "Presenze", "--detail", "Generale", "--with-stat",
               "Cassa", "--with-detail", "CONT"});
    EXPECT_EQ(serverSummary("ops_demo"), fileSummary(demo.files));

    // The server holds the tables whatever "&" and DIRSH say.
    const std::vector<std::string> grid = {"grid", "--hotel", "1", "--year", y, "--stat", "Cassa", "--detail", "CONT"};
    const Outcome before = run(demo.db, demo.served, grid);
    demo.served.sql("AnagraficaHotels.mdb", "UPDATE AnagraficaHotels SET CodiceAssistenza = '&'");
    ::unsetenv("DIRSH");
    EXPECT_EQ(run(demo.db, demo.served, grid), before);
    const Outcome files = run("", demo.served, grid);
    EXPECT_TRUE(failedSaying(files, 1, "DIRSH"));

    // The server named in the settings file instead of the environment.
    TestDir config;
    fs::create_directories(config / "Zentoria");
    config.write("Zentoria/zentoria.conf", "[General]\nfiguresDb=" + demo.db + "\n");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(config.path().string()));
    EXPECT_EQ(run("", demo.served, grid), before);
    ::unsetenv("ZENTORIA_FIGURES_DB");
    // The environment wins over the file.
    EXPECT_EQ(run("host=/nonexistent-zt dbname=x", demo.served, grid).status, 1);
    config.write("Zentoria/zentoria.conf", "");
}

// The window's twelve month fields after choosing hotel, statistic and detail.
std::vector<std::string> windowGrid(zt::desktop::ZentDeskTop& w, int statistic, int detail) {
    zt::test::choose(w.findChild<QComboBox*>("Combo1_0"), statistic);
    zt::test::choose(w.findChild<QComboBox*>("Combo1_1"), detail);
    std::vector<std::string> fields;
    for (int m = 1; m <= 12; ++m)
        fields.push_back(w.findChild<QLineEdit*>(QStringLiteral("Text1_%1").arg(m))->text().toStdString());
    return fields;
}

TEST(FiguresOnServer, TheWindowShowsTheSameFiguresAndStaysUpWhenTheServerGoesAway) {
    DemoPair demo("ops_window");
    zt::test::qtApp();
    auto open = [&](const TestDir& dir, zt::ProgramState& state, zt::test::FakeUi& ui) {
        state.workDir = dir.path();
        auto w = std::make_unique<zt::desktop::ZentDeskTop>(state, zt::Separators{",", "."}, &ui);
        EXPECT_TRUE(w->start(std::stoi(demo.year)));
        w->show();
        return w;
    };
    zt::ProgramState fileState, serverState;
    zt::test::FakeUi fileUi, serverUi;
    auto overFiles = open(demo.files, fileState, fileUi);
    ::setenv("ZENTORIA_FIGURES_DB", demo.db.c_str(), 1);
    auto overServer = open(demo.served, serverState, serverUi);
    std::string shown;
    for (int statistic : {0, 1, 2})
        for (int detail : {0, 1}) {
            const auto fields = windowGrid(*overServer, statistic, detail);
            EXPECT_EQ(fields, windowGrid(*overFiles, statistic, detail)) << statistic << " " << detail;
            for (const auto& f : fields) shown += f;
        }
    EXPECT_NE(shown.find_first_of("123456789"), std::string::npos) << shown;  // figures, not only zeros
    EXPECT_TRUE(serverUi.messages.empty()) << serverUi.messages.front();

    PgServer::shared().stop();
    windowGrid(*overServer, 0, 0);
    PgServer::shared().start();
    ::unsetenv("ZENTORIA_FIGURES_DB");
    ASSERT_FALSE(serverUi.messages.empty());
    EXPECT_NE(serverUi.messages.back().find("PostgreSQL server socket"), std::string::npos) << serverUi.messages.back();
    EXPECT_TRUE(overServer->isVisible());
}

TEST(FiguresOnServer, TwoProcessesRegisteringTheSameMonthsLeaveOneRowOfOneWholeWriteEach) {
    DemoPair demo("ops_concurrent");
    const std::string bin = zt::test::programPath();
    // Two workstations press "&Registra" twelve times each on the same hotel, statistic,
    // detail and year; each press writes one value into all twelve months.
    std::string script = "export ZENTORIA_FIGURES_DB='" + demo.db + "'\n";
    for (const int workstation : {1, 2}) {
        script += "(for i in 1 2 3 4 5 6 7 8 9 10 11 12; do v=" + std::to_string(workstation) +
                  "00$i; '" + bin + "' --dir '" + demo.served.path().string() +
                  "' register --hotel 1 --year 2030 --stat Cassa --detail CONT --yes --values "
                  "\"$v;$v;$v;$v;$v;$v;$v;$v;$v;$v;$v;$v\" >/dev/null 2>>'" + (demo.served / "errors").string() +
                  "' || echo failed >>'" + (demo.served / "errors").string() + "'; done) &\n";
    }
    script += "wait\n";
    demo.served.write("race.sh", script);
    ASSERT_EQ(std::system(("sh '" + (demo.served / "race.sh").string() + "'").c_str()), 0);
    EXPECT_EQ(demo.served.read("errors"), "");

    PgServer& server = PgServer::shared();
    EXPECT_EQ(server.query("ops_concurrent", "SELECT count(*), count(DISTINCT \"AnnoMese\") FROM \"Zentoria\" WHERE "
                                             "\"AnnoMese\" LIKE '2030%'"),
              "12,12");
    // One press's value in every month: the last whole write.
    const std::string values = server.query(
        "ops_concurrent", "SELECT DISTINCT \"Valore\" FROM \"Zentoria\" WHERE \"AnnoMese\" LIKE '2030%'");
    EXPECT_EQ(values.find('|'), std::string::npos) << values;
    EXPECT_TRUE(values.rfind("100", 0) == 0 || values.rfind("200", 0) == 0) << values;
}

TEST(FiguresOnServer, AServerThatGoesAwayIsNamedWithoutThePasswordAndNothingHalfWrittenRemains) {
    DemoPair demo("ops_loss");
    PgServer& server = PgServer::shared();
    const std::string db = demo.db + " password=S3cret-Pw";
    const std::vector<std::string> grid = {"grid", "--hotel", "1", "--year", demo.year, "--stat", "Cassa", "--detail",
                                           "CONT"};
    const Outcome before = run(db, demo.served, grid);
    ASSERT_EQ(before.status, 0) << before;

    // Stopped between two operations of one program: the next one says so and names the
    // server; started again, the next operation connects anew.
    zt::ProgramState state;
    state.workDir = demo.served.path();
    state.hotelNumber = 1;
    ::setenv("ZENTORIA_FIGURES_DB", db.c_str(), 1);
    const auto sum = zt::store::sumYear(state, zt::store::DetailKey{"Cassa", "CONT", true}, demo.year);
    EXPECT_TRUE(sum.has_value());
    // Restarted while the program stood idle: the next operation connects again, unseen.
    server.stop();
    server.start();
    EXPECT_EQ(zt::store::sumYear(state, zt::store::DetailKey{"Cassa", "CONT", true}, demo.year), sum);
    server.stop();
    try {
        zt::store::sumYear(state, zt::store::DetailKey{"Cassa", "CONT", true}, demo.year);
        ADD_FAILURE() << "no error with the server stopped";
    } catch (const zt::store::DbError& e) {
        EXPECT_NE(std::string(e.what()).find("PostgreSQL server socket " + server.socketDir().string() + "/ops_loss"),
                  std::string::npos)
            << e.what();
        EXPECT_EQ(std::string(e.what()).find("S3cret"), std::string::npos) << e.what();
    }
    const Outcome stopped = run(db, demo.served, {"register", "--hotel", "1", "--year", "2031", "--stat", "Cassa",
                                                  "--detail", "CONT", "--values", "1;2;3;4;5;6;7;8;9;10;11;12", "--yes"});
    EXPECT_TRUE(failedSaying(stopped, 1, "PostgreSQL server socket"));
    EXPECT_EQ(stopped.err.find("S3cret"), std::string::npos) << stopped;
    server.start();

    // Gone in the middle of a detail's twelve months: none of them is kept.
    ::setenv("ZENTORIA_FIGURES_DB", db.c_str(), 1);
    std::array<zt::store::Value, 12> values;
    values.fill(zt::store::Value(9.5));
    EXPECT_THROW(zt::store::writeYear(state, "Cassa", "CONT", "2032", values,
                                      [&](int month) {
                                          if (month == 7) server.stop();
                                      }),
                 zt::store::DbError);
    server.start();
    ::unsetenv("ZENTORIA_FIGURES_DB");
    EXPECT_EQ(server.query("ops_loss", "SELECT count(*) FROM \"Zentoria\" WHERE \"AnnoMese\" LIKE '203%'"), "0");
    EXPECT_EQ(run(db, demo.served, grid), before);
}

}  // namespace
