// zentoria_bench: times the window's operations on a large installation written by
// zentoria_bench_generate, in one run:
//   - the grid load: the twelve months of one statistic and detail (DeskLogic::chooseItem
//     on the detail list, as a click on a detail does), and its floor: the same twelve
//     sums run straight through SQLite's C API (open, prepare, step, close per month);
//   - the year differences ("&Ok", DiffAnno) and the month comparison ("&Conferma",
//     RepaDiff);
//   - the report (ScriviReport) and its floor: the same 24 month sums through SQLite;
//   - the recompute ("&Aggiorna") of "Produzione", "Fatturato", "Cassa" and "Presenze",
//     on the installation as written and on two variants of it (the account and invoice
//     files with only their date indexes, and with no index at all), each with its floor:
//     every source file read once through SQLite's C API, one grouped query per file;
//   - with --per-month, the same recomputes through the per-month queries (one
//     repetition: they take minutes on the variants);
//   - with --jet FILE, the image of that Access file made with and without its indexes;
//   - with --server, the figure tables of a chain on a PostgreSQL server the benchmark
//     starts for itself (tests/support/pg_server.h): the installation's figure files
//     pushed ("figures push"), its `Dettaglio` copied to 100 hotels, then the grid load
//     and the report over the server, each against its floor, the same sums through
//     libpq on one connection.
//
//   zentoria_bench --data FOLDER [--results FILE] [--per-month] [--jet FILE.mdb] [--server]
//                  [Google Benchmark options]
//
// The operations run on a copy of the folder's `Zentoria.mdb` (the recompute writes it)
// in FOLDER.run, whose other files are links to FOLDER's. The window's questions are
// answered yes and the access gate is granted; a message box reporting a failure stops
// the benchmark with that message. --results writes the medians as a Markdown table.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/text.h"
#include "desktop/desk_logic.h"
#include "desktop/passwd.h"
#include "report/report_text.h"
#include "store/figures/catalogue.h"
#include "desktop/chain.h"
#include "store/postgres/server_admin.h"
#include "store/dialect/jet_emit.h"
#include "store/access/jet_file.h"
#include "store/sqlite/jet_image.h"
#include "store/postgres/pg_connection.h"
#include "support/pg_server.h"

namespace fs = std::filesystem;
using namespace zt;
using namespace zt::desktop;

namespace {

// ---- the installation and the window -------------------------------------------------

class BenchUi : public UiPort {
public:
    std::string failure;  // the last message box that reported a failure
    int msgBox(const std::string& prompt, int style, const std::string&) override {
        const int icon = style & 0x70;
        if (icon == msgbox::kCritical || icon == msgbox::kExclamation) failure = prompt;
        return (style & 7) == msgbox::kYesNo || (style & 7) == msgbox::kYesNoCancel ? msgbox::kAnswerYes
                                                                                    : msgbox::kAnswerOk;
    }
    std::string accessGate(const GateRequest&) override { return "S"; }
};

// The installation's variants: the files as written ("" ), the account and invoice
// files with only their date indexes ("dates"), and with no index ("none").
const std::vector<std::string> kVariants = {"", "dates", "none"};
const std::vector<std::string> kIndexedFiles = {"Conto_Cliente.mdb", "ContoStoricoClienti.mdb", "ContoEsterni.mdb",
                                                "ContoEsterniStorico.mdb", "Fatture.mdb"};

struct Installation {
    fs::path data;  // as generated
    fs::path run;   // the working folder of the run
    std::map<std::string, fs::path> runs;  // the working folder of each variant
    std::string year;
    std::string previousYear;
    int hotels = 0;
};

Installation g_inst;

std::string readYear(const fs::path& data) {
    std::ifstream in(data / "bench-data.txt");
    std::string key, value;
    while (in >> key >> value)
        if (key == "benchmark-year") return value;
    throw std::runtime_error((data / "bench-data.txt").string() +
                             " is missing or names no benchmark year: write the folder with zentoria_bench_generate");
}

// FOLDER.run: links to every file of FOLDER, and a copy of Zentoria.mdb.
fs::path prepareRunFolder(const fs::path& data) {
    const fs::path run = data.string() + ".run";
    fs::remove_all(run);
    fs::create_directories(run);
    for (const auto& entry : fs::directory_iterator(data)) {
        if (!entry.is_regular_file()) continue;
        const fs::path target = run / entry.path().filename();
        if (entry.path().filename() == "Zentoria.mdb") fs::copy_file(entry.path(), target);
        else fs::create_symlink(fs::absolute(entry.path()), target);
    }
    return run;
}

// Runs SQL on a file; a failure is an exception naming it.
void execSql(const fs::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    char* err = nullptr;
    if (rc != SQLITE_OK || sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string why = err ? err : sqlite3_errmsg(db);
        sqlite3_free(err);
        sqlite3_close(db);
        throw std::runtime_error(file.string() + ": " + why);
    }
    sqlite3_close(db);
}

// The names of a file's indexes (not those SQLite makes for a constraint).
std::vector<std::string> indexNames(const fs::path& file) {
    sqlite3* db = nullptr;
    std::vector<std::string> out;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL", -1, &st,
                               nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW) out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

// FOLDER/variant-NAME: copies of the account and invoice files with only the indexes the
// variant keeps, made once and kept with the installation.
fs::path prepareVariant(const fs::path& data, const std::string& name) {
    const fs::path folder = data / ("variant-" + name);
    if (fs::exists(folder / "done")) return folder;
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& file : kIndexedFiles) {
        fs::copy_file(data / file, folder / file);
        std::string drop;
        for (const auto& ix : indexNames(folder / file)) {
            // The date indexes are the demo's own: ix_ followed by the table's name.
            const bool dateIndex = ix == "ix_Conto_Cliente" || ix == "ix_Incassi" || ix == "ix_DatiFattura" ||
                                   ix == "ix_DettaglioFattura";
            if (name == "none" || !dateIndex) drop += "DROP INDEX \"" + ix + "\";";
        }
        execSql(folder / file, drop + "VACUUM;");
    }
    std::ofstream(folder / "done") << "indexes: " << name << "\n";
    return folder;
}

// FOLDER.run-NAME: as FOLDER.run, with the variant's copies of the account and invoice
// files.
fs::path prepareVariantRunFolder(const fs::path& data, const std::string& name) {
    const fs::path variant = prepareVariant(data, name);
    const fs::path run = data.string() + ".run-" + name;
    fs::remove_all(run);
    fs::create_directories(run);
    for (const auto& entry : fs::directory_iterator(data)) {
        if (!entry.is_regular_file()) continue;
        const std::string file = entry.path().filename().string();
        const fs::path target = run / file;
        if (file == "Zentoria.mdb") fs::copy_file(entry.path(), target);
        else if (std::find(kIndexedFiles.begin(), kIndexedFiles.end(), file) != kIndexedFiles.end())
            fs::create_symlink(fs::absolute(variant / file), target);
        else fs::create_symlink(fs::absolute(entry.path()), target);
    }
    return run;
}

// A window started on the run folder as the program starts it: hotel 1, this year's
// field set to the benchmark year.
struct Window {
    ProgramState state;
    BenchUi ui;
    DeskLogic logic;

    explicit Window(const fs::path& folder = g_inst.run) : logic(state, ui, Separators{",", "."}) {
        state.workDir = folder;
        logic.load(std::stoi(g_inst.year));
        check("start-up");
        if (logic.unloaded) throw std::runtime_error("the window closed at start-up");
    }

    void check(const std::string& what) {
        if (!ui.failure.empty()) {
            const std::string message = what + ": " + ui.failure;
            ui.failure.clear();
            throw std::runtime_error(message);
        }
    }

    // Chooses a statistic by name (its detail list is filled, no detail is chosen).
    void statistic(const std::string& name) {
        const int i = logic.combo1[0].find(name);
        if (i < 0) throw std::runtime_error("no statistic \"" + name + "\"");
        logic.chooseItem(0, i);
        check("choosing " + name);
    }
};

// Runs the body of a benchmark; an error stops the benchmark with its message.
template <class Fn>
void guardedRun(benchmark::State& st, Fn&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        st.SkipWithError(e.what());
    }
}

// ---- the floor: the same sums straight through SQLite --------------------------------

// One month sum of `Dettaglio` as the grid and the report run it: open the file,
// prepare, step, read, close.
double directMonthSum(const fs::path& file, const std::string& tipo, const std::string& detail,
                      const std::string& annoMese, int hotel) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + file.string());
    }
    const std::string next = annoMese.substr(0, 5) + static_cast<char>(annoMese.back() + 1);
    const std::string sql = "SELECT Sum(Valore) AS VD FROM Dettaglio WHERE NumeroHotel = " + std::to_string(hotel) +
                            " AND Tipo = " + sqlText(tipo) + " AND DataInserimento >= " + sqlText(annoMese) +
                            " AND DataInserimento < " + sqlText(next) + " AND Dettaglio = " + sqlText(detail);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        const std::string why = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error("cannot prepare: " + why);
    }
    double v = 0;
    if (sqlite3_step(st) == SQLITE_ROW) v = sqlite3_column_double(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return v;
}

// The month key: year and two-digit month (the last digit moves to the next month's).
std::string monthKey(const std::string& year, int m) { return year + (m < 10 ? "0" : "") + std::to_string(m); }

// ---- the benchmarks -------------------------------------------------------------------

constexpr const char* kProduction = "Produzione";

// "Produzione", first voice group: the grid sums `Dettaglio` of hotel 1 month by month,
// over the files or, with the server set, over the server.
void timeGridLoad(benchmark::State& st) {
    Window w;
    w.statistic(kProduction);
    for (auto _ : st) {
        w.logic.chooseItem(1, 0);
        w.check("grid load");
    }
    if (w.logic.text1[1].empty() || w.logic.text1[1] == "0") throw std::runtime_error("the grid shows no figure");
}

void GridLoad(benchmark::State& st) {
    guardedRun(st, [&] { timeGridLoad(st); });
}

void GridLoadFloor(benchmark::State& st) {
    guardedRun(st, [&] {
        const fs::path file = g_inst.run / "Dettaglio.mdb";
        double sum = 0;
        for (auto _ : st)
            for (int m = 1; m <= 12; ++m) sum += directMonthSum(file, kProduction, "1", monthKey(g_inst.year, m), 1);
        benchmark::DoNotOptimize(sum);
    });
}

// "&Ok" with the year before in the comparison field: DiffAnno reads both years' rows.
void YearDifferences(benchmark::State& st) {
    guardedRun(st, [&] {
        Window w;
        w.statistic(kProduction);
        w.logic.chooseItem(1, 0);
        w.logic.text1[13] = g_inst.previousYear;
        for (auto _ : st) {
            w.logic.tastoClick(5);
            w.check("year differences");
        }
    });
}

// "&Conferma": "Produzione" of the first voice group over "Presenze"-"Generale", month
// by month from `Zentoria`.
void MonthComparison(benchmark::State& st) {
    guardedRun(st, [&] {
        Window w;
        w.statistic(kProduction);
        w.logic.chooseItem(1, 0);
        w.logic.chooseItem(4, w.logic.combo1[4].find("Presenze"));
        w.logic.combo1[5].select(w.logic.combo1[5].find("Generale"));
        w.check("choosing the comparison");
        for (auto _ : st) {
            w.logic.tastoClick(4);
            w.check("month comparison");
        }
    });
}

report::ReportSettings reportSettings() {
    report::ReportSettings settings;
    settings.separators = Separators{",", "."};
    settings.clock = [] { return report::Stamp{2025, 1, 15, 9, 30}; };
    return settings;
}

// The report of "Produzione", first voice group: 24 month sums and the file written.
void Report(benchmark::State& st) {
    guardedRun(st, [&] {
        Window w;
        w.statistic(kProduction);
        const auto settings = reportSettings();
        const std::string detail = w.logic.combo1[1].items.at(0);
        for (auto _ : st) report::ScriviReport(w.state, g_inst.year, kProduction, detail, settings);
    });
}

// The report's bytes written as the report writer writes them (the file replaced with
// one write). On ext4 replacing a file's contents starts its write-back on close, which
// costs more than the report's 24 sums, so the report floor writes the same file too.
std::string g_reportBytes;

void writeReportBytes(const fs::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(g_reportBytes.data(), static_cast<std::streamsize>(g_reportBytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

// Writes the report once, before the benchmarks, and keeps its bytes.
void readReportBytes() {
    Window w;
    w.statistic(kProduction);
    const fs::path file = report::ScriviReport(w.state, g_inst.year, kProduction, w.logic.combo1[1].items.at(0),
                                               reportSettings());
    std::ifstream in(file, std::ios::binary);
    g_reportBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (g_reportBytes.empty()) throw std::runtime_error("the report file " + file.string() + " is empty");
}

void ReportFileWrite(benchmark::State& st) {
    guardedRun(st, [&] {
        for (auto _ : st) writeReportBytes(g_inst.run / "fd.floor");
    });
}

void ReportFloor(benchmark::State& st) {
    guardedRun(st, [&] {
        const fs::path file = g_inst.run / "Dettaglio.mdb";
        double sum = 0;
        for (auto _ : st) {
            for (int m = 1; m <= 12; ++m) {
                sum += directMonthSum(file, kProduction, "1", monthKey(g_inst.year, m), 1);
                sum += directMonthSum(file, kProduction, "1", monthKey(g_inst.previousYear, m), 1);
            }
            writeReportBytes(g_inst.run / "fd.floor");
        }
        benchmark::DoNotOptimize(sum);
    });
}

// ---- the chain on the figure server --------------------------------------------------

constexpr int kChainHotels = 100;

struct Chain {
    std::unique_ptr<zt::test::PgServer> server;
    std::string conninfo;
    PGconn* floor = nullptr;  // the floor's own connection
    std::string loaded;       // what was loaded, and how long it took, for RESULTS.md
};
Chain g_chain;

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Starts the server, creates the figure tables, pushes the installation's figure files
// as `figures push` does, and copies its `Dettaglio` hotel by hotel up to 100 hotels.
void loadChain() {
    using clock = std::chrono::steady_clock;
    g_chain.server = std::make_unique<zt::test::PgServer>();
    g_chain.conninfo = g_chain.server->createDatabase("chain");
    auto c = store::PgConnection::open(g_chain.conninfo);
    // Pushing and copying millions of rows: the statements get the long limit, as
    // `figures push` gives them.
    const store::ServerLongWork longWork;
    store::initFiguresSchema(c);
    auto t0 = clock::now();
    long long pushed = 0;
    for (const auto& copy : store::pushFigures(c, g_inst.run, "Zentoria.mdb", "Dettaglio.mdb", std::nullopt))
        pushed += copy.rows;
    const double pushSeconds = secondsSince(t0);
    const int hotels = std::stoi(c.exec("SELECT max(\"NumeroHotel\") FROM \"Dettaglio\"").text(0, 0));
    t0 = clock::now();
    c.exec("DROP INDEX \"Dettaglio_somme\"");
    c.exec("INSERT INTO \"Dettaglio\" SELECT d.\"NumeroHotel\" + k * $1, d.\"Tipo\", d.\"Dettaglio\", "
           "d.\"DataInserimento\", d.\"Valore\" FROM \"Dettaglio\" d, generate_series(1, $2) AS k "
           "WHERE d.\"NumeroHotel\" BETWEEN 1 AND $1",
           {store::PgParam(hotels), store::PgParam((kChainHotels + hotels - 1) / hotels - 1)});
    store::initFiguresSchema(c);  // the index of the sums again
    c.exec("VACUUM ANALYZE \"Dettaglio\"");
    c.exec("VACUUM ANALYZE \"Zentoria\"");
    const double copySeconds = secondsSince(t0);
    const std::string rows = c.exec("SELECT count(*) FROM \"Dettaglio\"").text(0, 0);
    const std::string chainHotels = c.exec("SELECT count(DISTINCT \"NumeroHotel\") FROM \"Dettaglio\"").text(0, 0);
    const std::string size = c.exec("SELECT pg_size_pretty(pg_database_size(current_database()))").text(0, 0);
    std::ostringstream text;
    text.setf(std::ios::fixed);
    text.precision(1);
    text << "Figure server: PostgreSQL started by the benchmark (tests/support/pg_server.h, Unix socket). `figures "
            "push` of the installation's two figure files: " << pushed << " rows in " << pushSeconds
         << " s; `Dettaglio` then copied to " << chainHotels << " hotels (" << rows
         << " rows) with its index rebuilt and VACUUM ANALYZE in " << copySeconds << " s; database " << size << ".";
    g_chain.loaded = text.str();
    g_chain.floor = PQconnectdb(g_chain.conninfo.c_str());
    if (PQstatus(g_chain.floor) != CONNECTION_OK) throw std::runtime_error("the floor cannot connect to the server");
    // The same sum as the grid's: statistic and detail without regard to case, compared
    // folded as the server's index of the sums holds them.
    const std::string sql = "SELECT sum(\"Valore\") FROM \"Dettaglio\" WHERE \"NumeroHotel\" = $1 AND " +
                            store::jet::pgFoldSql("\"Tipo\"") + " = " + store::jet::pgFoldSql("$2::text") +
                            " AND \"DataInserimento\" >= $3 AND \"DataInserimento\" < $4 AND " +
                            store::jet::pgFoldSql("\"Dettaglio\"") + " = " + store::jet::pgFoldSql("$5::text");
    PGresult* r = PQprepare(g_chain.floor, "month_sum", sql.c_str(), 5, nullptr);
    const bool prepared = PQresultStatus(r) == PGRES_COMMAND_OK;
    PQclear(r);
    if (!prepared) throw std::runtime_error("the floor cannot prepare its statement");
}

// The figure operations of a benchmark go to the server while this lives.
struct OnServer {
    OnServer() {
        if (g_chain.conninfo.empty()) throw std::runtime_error("no server: run with --server");
        ::setenv(kFiguresDbVariable, g_chain.conninfo.c_str(), 1);
    }
    ~OnServer() { ::unsetenv(kFiguresDbVariable); }
};

// One month sum of `Dettaglio` straight through libpq: the statement prepared once on a
// kept connection, executed with its values bound.
double serverMonthSum(const std::string& tipo, const std::string& detail, const std::string& annoMese, int hotel) {
    const std::string next = annoMese.substr(0, 5) + static_cast<char>(annoMese.back() + 1);
    const std::string h = std::to_string(hotel);
    const char* values[] = {h.c_str(), tipo.c_str(), annoMese.c_str(), next.c_str(), detail.c_str()};
    PGresult* r = PQexecPrepared(g_chain.floor, "month_sum", 5, values, nullptr, nullptr, 0);
    if (PQresultStatus(r) != PGRES_TUPLES_OK) {
        const std::string why = PQresultErrorMessage(r);
        PQclear(r);
        throw std::runtime_error("the floor's sum failed: " + why);
    }
    const double v = PQgetisnull(r, 0, 0) ? 0 : std::strtod(PQgetvalue(r, 0, 0), nullptr);
    PQclear(r);
    return v;
}

void ServerGridLoad(benchmark::State& st) {
    guardedRun(st, [&] {
        OnServer on;
        timeGridLoad(st);
    });
}

void ServerGridLoadFloor(benchmark::State& st) {
    guardedRun(st, [&] {
        double sum = 0;
        for (auto _ : st)
            for (int m = 1; m <= 12; ++m) sum += serverMonthSum(kProduction, "1", monthKey(g_inst.year, m), 1);
        benchmark::DoNotOptimize(sum);
    });
}

void ServerReport(benchmark::State& st) {
    guardedRun(st, [&] {
        OnServer on;
        Window w;
        w.statistic(kProduction);
        const auto settings = reportSettings();
        const std::string detail = w.logic.combo1[1].items.at(0);
        for (auto _ : st) report::ScriviReport(w.state, g_inst.year, kProduction, detail, settings);
    });
}

void ServerReportFloor(benchmark::State& st) {
    guardedRun(st, [&] {
        double sum = 0;
        for (auto _ : st) {
            for (int m = 1; m <= 12; ++m) {
                sum += serverMonthSum(kProduction, "1", monthKey(g_inst.year, m), 1);
                sum += serverMonthSum(kProduction, "1", monthKey(g_inst.previousYear, m), 1);
            }
            writeReportBytes(g_inst.run / "fd.floor");
        }
        benchmark::DoNotOptimize(sum);
    });
}

// The chain table of every hotel over the figure server (desktop/chain.h, the page
// /chain without HTTP): the registry of the run folder lists the chain's 100 hotels.
void listChainHotels() {
    sqlite3* db = nullptr;
    const std::string path = (g_inst.run / "AnagraficaHotels.mdb").string();
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot open " + path);
    const std::string sql = "WITH RECURSIVE n(value) AS (SELECT 1 UNION ALL SELECT value + 1 FROM n WHERE value < " +
                            std::to_string(kChainHotels) + ") INSERT INTO AnagraficaHotels (Numero, RagioneSociale, "
                            "CodiceAssistenza) SELECT value, 'Albergo ' || value, '' FROM n WHERE value NOT IN "
                            "(SELECT Numero FROM AnagraficaHotels)";
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string why = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("the chain's hotels: " + why);
}

void ServerChain(benchmark::State& st) {
    guardedRun(st, [&] {
        OnServer on;
        listChainHotels();
        Window w;
        const std::string detail = desktop::chainDetailItem(w.state, kProduction, "1");
        for (auto _ : st) {
            const auto t = desktop::chainTable(w.state, kProduction, detail, g_inst.year);
            if (t.rows.size() < static_cast<std::size_t>(kChainHotels)) throw std::runtime_error("the chain is short");
            benchmark::DoNotOptimize(t.totalRow.total);
        }
    });
}

// Its floor: the same grouped query (hotels, one range of dates, codes folded) through
// libpq, prepared once on a kept connection.
void ServerChainFloor(benchmark::State& st) {
    guardedRun(st, [&] {
        const std::string sql = "SELECT \"NumeroHotel\", substr(\"DataInserimento\", 1, 6), sum(\"Valore\") FROM "
                                "\"Dettaglio\" WHERE \"NumeroHotel\" = ANY (SELECT generate_series(1, $1::integer)) AND " +
                                store::jet::pgFoldSql("\"Tipo\"") + " = " + store::jet::pgFoldSql("$2::text") +
                                " AND \"DataInserimento\" >= $3 AND \"DataInserimento\" < $4 AND " +
                                store::jet::pgFoldSql("\"Dettaglio\"") + " = " + store::jet::pgFoldSql("$5::text") +
                                " GROUP BY 1, 2";
        PGresult* p = PQprepare(g_chain.floor, "chain_sums", sql.c_str(), 5, nullptr);
        PQclear(p);
        const std::string n = std::to_string(kChainHotels), after = std::to_string(std::stoi(g_inst.year) + 1);
        const char* values[] = {n.c_str(), kProduction, g_inst.previousYear.c_str(), after.c_str(), "1"};
        for (auto _ : st) {
            PGresult* r = PQexecPrepared(g_chain.floor, "chain_sums", 5, values, nullptr, nullptr, 0);
            if (PQresultStatus(r) != PGRES_TUPLES_OK) {
                const std::string why = PQresultErrorMessage(r);
                PQclear(r);
                throw std::runtime_error("the floor's chain failed: " + why);
            }
            double sum = 0;
            for (int i = 0; i < PQntuples(r); ++i) sum += std::strtod(PQgetvalue(r, i, 2), nullptr);
            benchmark::DoNotOptimize(sum);
            PQclear(r);
        }
    });
}

// "&Aggiorna" for the year, confirmed: every detail of the statistic, twelve months each,
// on the installation or one of its variants.
void RecomputeStatistic(benchmark::State& st, const std::string& statistic, const std::string& variant) {
    guardedRun(st, [&] {
        Window w(g_inst.runs.at(variant));
        w.statistic(statistic);
        for (auto _ : st) {
            w.logic.tastoClick(3);
            w.check("recompute of " + statistic);
            const auto& r = w.logic.lastRecompute();
            if (!r || r->status != RecomputeResult::Status::Finished)
                throw std::runtime_error("the recompute of " + statistic + " did not finish");
            st.counters["details"] = static_cast<double>(r->detailCount);
        }
    });
}

// The same through the per-month queries: one query per source file, month and detail.
void RecomputePerMonth(benchmark::State& st, const std::string& statistic, const std::string& variant) {
    guardedRun(st, [&] {
        Window w(g_inst.runs.at(variant));
        w.statistic(statistic);
        for (auto _ : st) {
            const auto r = Recompute(Recompute::Path::PerMonthQueries)
                               .run(w.state, statistic, w.logic.combo1[1].items, g_inst.year);
            if (r.status != RecomputeResult::Status::Finished)
                throw std::runtime_error("the recompute of " + statistic + " did not finish");
        }
    });
}

// The recompute's floor: each source file read once, one grouped query per file, through
// SQLite's C API: the file opened, the statement prepared, every row stepped and its
// values read, the file closed.
double readOnce(const fs::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + file.string());
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        const std::string why = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(file.string() + ": cannot prepare: " + why);
    }
    double acc = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            acc += sqlite3_column_type(st, c) == SQLITE_TEXT ? static_cast<double>(sqlite3_column_bytes(st, c))
                                                              : sqlite3_column_double(st, c);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return acc;
}

void RecomputeFloor(benchmark::State& st, const std::string& statistic, const std::string& variant) {
    guardedRun(st, [&] {
        const fs::path dir = g_inst.runs.at(variant);
        const std::string y = sqlText(g_inst.year);
        const std::string next = sqlText(std::to_string(std::stoi(g_inst.year) + 1));
        auto ofYear = [&](const std::string& field) { return field + " >= " + y + " AND " + field + " < " + next; };
        // The invoices of a row's month, as (month key, number) pairs.
        auto invoices = [&](const std::string& condition) {
            return "(substr(DataEmissione, 1, 6), NDocumento) IN (SELECT substr(DataEmissione, 1, 6), NDocumento FROM "
                   "DatiFattura WHERE " + condition + " AND " + ofYear("DataEmissione") + ")";
        };
        double acc = 0;
        for (auto _ : st) {
            if (statistic == "Produzione") {
                acc += readOnce(dir / "VociFattura.mdb", "SELECT Codice, GruppoStatistico FROM VociFattura");
                for (const char* f : {"Conto_Cliente.mdb", "ContoStoricoClienti.mdb", "ContoEsterni.mdb",
                                      "ContoEsterniStorico.mdb"})
                    acc += readOnce(dir / f, "SELECT substr(DataAddebito, 1, 6), VoceAddebito, sum(Importo) FROM "
                                             "Conto_Cliente WHERE " + ofYear("DataAddebito") + " GROUP BY 1, 2");
                acc += readOnce(dir / "Fatture.mdb",
                                "SELECT substr(DataEmissione, 1, 6), CAST(substr(Nota, 1, 4) AS INTEGER), sum(Importo) "
                                "FROM Incassi WHERE " + ofYear("DataEmissione") + " GROUP BY 1, 2");
            } else if (statistic == "Cassa") {
                acc += readOnce(dir / "Fatture.mdb",
                                "SELECT substr(DataEmissione, 1, 6), Sigla, sum(Importo) FROM Incassi WHERE " +
                                    ofYear("DataEmissione") + " AND " +
                                    invoices("Annullato <> 'S' AND CorrPagato > 0") + " GROUP BY 1, 2");
            } else if (statistic == "Fatturato") {
                acc += readOnce(dir / "Fatture.mdb",
                                "SELECT substr(DataEmissione, 1, 6), CodiceVoce, sum(Importo), sum(CASE WHEN " +
                                    invoices("Annullato <> 'S' AND ZentAcc = 'N'") +
                                    " THEN Importo ELSE 0 END) FROM DettaglioFattura WHERE " + ofYear("DataEmissione") +
                                    " AND " + invoices("Annullato <> 'S' AND ZentAcc <> 'A'") + " GROUP BY 1, 2");
            } else {
                for (const auto& [f, dep] : {std::pair{"Scheda_Cliente.mdb", "DataPartenza"},
                                             std::pair{"SchedaStoricoClienti.mdb", "DataPartenzaReale"}})
                    acc += readOnce(dir / f, std::string("SELECT DataArrivo, ") + dep + ", count(*) FROM Scheda_Cliente "
                                             "WHERE DataArrivo <= " + sqlText(g_inst.year + "1231") + " AND " + dep +
                                             " > " + sqlText(g_inst.year + "0101") +
                                             " AND (Lingua IS NULL OR instr(Lingua, '*') = 0) GROUP BY 1, 2");
            }
        }
        benchmark::DoNotOptimize(acc);
    });
}

// The image of an Access file made in this process, with and without its indexes.
fs::path g_jet;

void AccessImage(benchmark::State& st, bool withIndexes) {
    guardedRun(st, [&] {
        for (auto _ : st) {
            sqlite3* db = nullptr;
            sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            try {
                auto jet = store::JetFile::open(g_jet);
                store::copyJetToSqlite(jet, db, withIndexes);
                sqlite3_int64 size = 0;
                sqlite3_free(sqlite3_serialize(db, "main", &size, 0));
                st.counters["image_KB"] = static_cast<double>(size) / 1024;
            } catch (...) {
                sqlite3_close(db);
                throw;
            }
            sqlite3_close(db);
        }
    });
}

// ---- results --------------------------------------------------------------------------

// Keeps the median of each benchmark while the console shows everything.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    struct Median {
        double ms = 0;
        double cpuMs = 0;  // the process's CPU time, for the same repetitions
        std::string error;
    };
    std::map<std::string, Median> medians;
    std::vector<std::string> order;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            const std::string name = r.run_name.function_name;
            if (r.error_occurred) {
                remember(name).error = r.error_message;
            } else if (r.run_type == Run::RT_Iteration && r.repetitions <= 1) {  // a single run: itself
                remember(name).ms = r.GetAdjustedRealTime() * toMs(r.time_unit);
                remember(name).cpuMs = r.GetAdjustedCPUTime() * toMs(r.time_unit);
            } else if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
                remember(name).ms = r.GetAdjustedRealTime() * toMs(r.time_unit);
                remember(name).cpuMs = r.GetAdjustedCPUTime() * toMs(r.time_unit);
            }
        }
    }

private:
    Median& remember(const std::string& name) {
        if (!medians.count(name)) order.push_back(name);
        return medians[name];
    }
    static double toMs(benchmark::TimeUnit u) {
        switch (u) {
            case benchmark::kNanosecond: return 1e-6;
            case benchmark::kMicrosecond: return 1e-3;
            case benchmark::kMillisecond: return 1.0;
            case benchmark::kSecond: return 1e3;
        }
        return 1.0;
    }
};

struct Row {
    std::string name;
    std::string what;
    std::string floor;  // the floor's benchmark, if any
    std::string target;
    double maxMs = 0;      // 0: none
    double maxRatio = 0;   // 0: none
};

std::string fixed(double v, int decimals) {
    std::ostringstream s;
    s.setf(std::ios::fixed);
    s.precision(decimals);
    s << v;
    return s.str();
}

std::string timeText(double ms) { return ms >= 1000 ? fixed(ms / 1000, 2) + " s" : fixed(ms, ms < 10 ? 2 : 1) + " ms"; }

long peakKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

std::string recomputeName(const std::string& kind, const std::string& statistic, const std::string& variant) {
    return kind + "/" + statistic + (variant.empty() ? "" : "/" + variant);
}

void writeResults(const fs::path& file, const MedianReporter& rep) {
    const std::vector<Row> rows = {
        {"GridLoad", "grid load: twelve months of \"Produzione\", voice group 1 (chooseItem on the detail)",
         "GridLoadFloor", "<= 1.5 x floor, < 20 ms", 20, 1.5},
        {"GridLoadFloor", "grid load floor: the 12 month sums through the SQLite C API", "", "", 0, 0},
        {"YearDifferences", "year differences (DiffAnno), " + g_inst.year + " and " + g_inst.previousYear, "", "", 0, 0},
        {"MonthComparison", "month comparison (RepaDiff), \"Produzione\" 1 over \"Presenze\" Generale", "", "", 0, 0},
        {"Report", "report (ScriviReport), \"Produzione\" 1", "ReportFloor", "<= 1.5 x floor", 0, 1.5},
        {"ReportFloor", "report floor: the 24 month sums through the SQLite C API, and the same file written", "", "", 0, 0},
        {"ReportFileWrite", "the report file alone: its 20 lines written as the report writes them", "", "", 0, 0},
        {"AccessImage/indexes", "image of the Access file " + g_jet.filename().string() + ", with its indexes",
         "AccessImage/noindexes", "", 0, 0},
        {"AccessImage/noindexes", "image of the same file without indexes", "", "", 0, 0},
        {"ServerGridLoad", "grid load over the figure server, chain of 100 hotels (same twelve months)",
         "ServerGridLoadFloor", "<= 2 x floor, < 20 ms", 20, 2},
        {"ServerGridLoadFloor", "its floor: the 12 month sums (codes folded, as the index holds them) through libpq, "
                                "one statement prepared on a kept connection",
         "", "", 0, 0},
        {"ServerReport", "report over the figure server (same report)", "ServerReportFloor", "<= 2 x floor", 0, 2},
        {"ServerReportFloor", "its floor: the 24 month sums through libpq, and the same file written", "", "", 0, 0},
        {"ServerChain", "chain table over the figure server, 100 hotels, \"Produzione\" 1, two years (desktop/chain.h)",
         "ServerChainFloor", "< 100 ms", 100, 0},
        {"ServerChainFloor", "its floor: the one grouped query through libpq, prepared on a kept connection", "", "", 0, 0},
    };
    std::vector<Row> all = rows;
    const std::map<std::string, std::string> what = {
        {"Produzione", "a year of \"Produzione\", 50 voice groups"},
        {"Fatturato", "a year of \"Fatturato\", 10 invoicing groups"},
        {"Cassa", "a year of \"Cassa\", 5 payment types"},
        {"Presenze", "a year of \"Presenze\""}};
    const std::map<std::string, std::string> variantText = {
        {"", "installation as written"}, {"dates", "date indexes only"}, {"none", "no index"}};
    for (const auto& variant : kVariants) {
        for (const char* statistic : {"Produzione", "Fatturato", "Cassa", "Presenze"}) {
            const std::string name = recomputeName("Recompute", statistic, variant);
            const std::string floor = recomputeName("RecomputeFloor", statistic, variant);
            const bool production = std::string(statistic) == "Produzione";
            all.push_back({name, "recompute of " + what.at(statistic) + " (" + variantText.at(variant) + ")", floor,
                           production ? "<= 2 x floor, < 1.5 s" : "<= 2 x floor", production ? 1500.0 : 0, 2});
            all.push_back({floor, "floor: each file read once, one grouped query per file (SQLite C API)", "", "", 0, 0});
            all.push_back({recomputeName("RecomputePerMonth", statistic, variant),
                           "the same through the per-month queries (" + std::string(statistic) + ", " +
                               variantText.at(variant) + ", one run)",
                           "", "", 0, 0});
        }
    }
    std::ofstream out(file);
    out << "| operation | median | CPU | ratio to floor | target | met |\n|---|---:|---:|---:|---|---|\n";
    for (const auto& row : all) {
        const auto it = rep.medians.find(row.name);
        if (it == rep.medians.end()) continue;  // filtered out
        out << "| " << row.what << " | ";
        if (!it->second.error.empty()) {
            out << "failed: " << it->second.error << " | | | " << row.target << " | no |\n";
            continue;
        }
        const double ms = it->second.ms;
        out << timeText(ms) << " | " << timeText(it->second.cpuMs) << " | ";
        std::optional<double> ratio;
        if (!row.floor.empty()) {
            const auto f = rep.medians.find(row.floor);
            if (f != rep.medians.end() && f->second.error.empty() && f->second.ms > 0) ratio = ms / f->second.ms;
        }
        out << (ratio ? fixed(*ratio, 2) + " x" : "") << " | " << row.target << " | ";
        bool met = true;
        if (row.maxMs > 0) met &= ms < row.maxMs;
        if (row.maxRatio > 0) met &= ratio && *ratio <= row.maxRatio;
        out << (row.target.empty() ? "" : met ? "yes" : "**no**") << " |\n";
    }
    if (!g_chain.loaded.empty()) out << "\n" << g_chain.loaded << "\n";
    out << "\nPeak resident memory of the benchmark process (getrusage): " << (peakKb() + 512) / 1024 << " MB\n";
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

int main(int argc, char** argv) {
    // Our own options out, Google Benchmark's left in.
    fs::path results;
    bool perMonth = false;
    bool server = false;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--data" || a == "--results") && i + 1 < argc) (a == "--data" ? g_inst.data : results) = argv[++i];
        else if (a == "--jet" && i + 1 < argc) g_jet = argv[++i];
        else if (a == "--per-month") perMonth = true;
        else if (a == "--server") server = true;
        else rest.push_back(argv[i]);
    }
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    if (g_inst.data.empty()) {
        std::cerr << "usage: zentoria_bench --data FOLDER [--results FILE] [benchmark options]\n";
        return 2;
    }
    try {
        g_inst.year = readYear(g_inst.data);
        g_inst.previousYear = std::to_string(std::stoi(g_inst.year) - 1);
        g_inst.run = prepareRunFolder(g_inst.data);
        g_inst.runs[""] = g_inst.run;
        for (const auto& variant : kVariants)
            if (!variant.empty()) g_inst.runs[variant] = prepareVariantRunFolder(g_inst.data, variant);
        readReportBytes();
        if (server) {
            std::cerr << "zentoria_bench: loading the chain into a figure server of its own\n";
            loadChain();
            std::cerr << g_chain.loaded << "\n";
        }
    } catch (const std::exception& e) {
        std::cerr << "zentoria_bench: " << e.what() << "\n";
        return 1;
    }

    auto quick = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(20)->MinTime(0.2)->ReportAggregatesOnly(true);
    };
    quick(benchmark::RegisterBenchmark("GridLoad", GridLoad));
    quick(benchmark::RegisterBenchmark("GridLoadFloor", GridLoadFloor));
    quick(benchmark::RegisterBenchmark("YearDifferences", YearDifferences));
    quick(benchmark::RegisterBenchmark("MonthComparison", MonthComparison));
    quick(benchmark::RegisterBenchmark("Report", Report));
    quick(benchmark::RegisterBenchmark("ReportFloor", ReportFloor));
    quick(benchmark::RegisterBenchmark("ReportFileWrite", ReportFileWrite));
    for (const auto& variant : kVariants) {
        for (const std::string statistic : {"Produzione", "Fatturato", "Cassa", "Presenze"}) {
            auto slow = [](benchmark::internal::Benchmark* b, int repetitions) {
                b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(repetitions)
                    ->ReportAggregatesOnly(true);
            };
            slow(benchmark::RegisterBenchmark(recomputeName("Recompute", statistic, variant).c_str(),
                                              [=](benchmark::State& st) { RecomputeStatistic(st, statistic, variant); }),
                 3);
            slow(benchmark::RegisterBenchmark(recomputeName("RecomputeFloor", statistic, variant).c_str(),
                                              [=](benchmark::State& st) { RecomputeFloor(st, statistic, variant); }),
                 3);
            if (perMonth)
                slow(benchmark::RegisterBenchmark(recomputeName("RecomputePerMonth", statistic, variant).c_str(),
                                                  [=](benchmark::State& st) { RecomputePerMonth(st, statistic, variant); }),
                     1);
        }
    }
    if (server) {
        quick(benchmark::RegisterBenchmark("ServerGridLoad", ServerGridLoad));
        quick(benchmark::RegisterBenchmark("ServerGridLoadFloor", ServerGridLoadFloor));
        quick(benchmark::RegisterBenchmark("ServerReport", ServerReport));
        quick(benchmark::RegisterBenchmark("ServerReportFloor", ServerReportFloor));
        quick(benchmark::RegisterBenchmark("ServerChain", ServerChain));
        quick(benchmark::RegisterBenchmark("ServerChainFloor", ServerChainFloor));
    }
    if (!g_jet.empty()) {
        quick(benchmark::RegisterBenchmark("AccessImage/indexes", [](benchmark::State& st) { AccessImage(st, true); }));
        quick(benchmark::RegisterBenchmark("AccessImage/noindexes", [](benchmark::State& st) { AccessImage(st, false); }));
    }

    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::cerr << "peak resident memory: " << (peakKb() + 512) / 1024 << " MB\n";
    if (g_chain.floor) PQfinish(g_chain.floor);
    if (!results.empty()) {
        try {
            writeResults(results, reporter);
        } catch (const std::exception& e) {
            std::cerr << "zentoria_bench: " << e.what() << "\n";
            return 1;
        }
    }
    return 0;
}
