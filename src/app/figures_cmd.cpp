#include "app/figures_cmd.h"

#include "desktop/passwd.h"

#include <charconv>
#include <chrono>
#include <exception>
#include <optional>
#include <ostream>

#include "app/cli.h"
#include "app/console_ui.h"
#include "app/passwd_cmd.h"
#include "common/translate.h"
#include "common/numfmt.h"
#include "common/state.h"
#include "desktop/desk_logic.h"
#include "store/postgres/server_admin.h"
#include "store/postgres/pg_connection.h"

namespace zt::app {

namespace {

constexpr const char* kFiguresUsage = QT_TRANSLATE_NOOP(
    "Cli", "zentoria figures init [--grants [READ_ROLE WRITE_ROLE]] | push [--hotel N] | pull [--hotel N]");

struct FiguresUsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::optional<std::int64_t> hotelOption(const std::vector<std::string>& args) {
    std::optional<std::int64_t> hotel;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] != "--hotel") throw FiguresUsageError(
                withArgs(translate("Cli", "unknown argument \"%1\" for figures %2"), {args[i], args[0]}));
        if (hotel) throw FiguresUsageError(translate("Cli", "--hotel is given twice"));
        if (i + 1 >= args.size()) throw FiguresUsageError(translate("Cli", "--hotel needs a number"));
        const std::string& v = args[++i];
        std::int64_t n = 0;
        const auto res = std::from_chars(v.data(), v.data() + v.size(), n);
        if (v.empty() || res.ec != std::errc() || res.ptr != v.data() + v.size())
            throw FiguresUsageError(withArgs(translate("Cli", "--%1 takes a whole number, not \"%2\""), {"hotel", v}));
        hotel = n;
    }
    return hotel;
}

store::PgConnection connectToSetting() {
    const auto setting = figuresServerSetting();
    if (!setting)
        throw std::runtime_error(withArgs(translate("Cli", "%1 is not set: it names the figure database, as a libpq "
                                                           "connection string (\"host=... dbname=...\") or URI "
                                                           "(\"postgresql://...\"); set it, then run the command again"),
                                          {kFiguresDbVariable}));
    return store::PgConnection::open(*setting);
}

std::string hotelText(const store::HotelCopy& c) {
    return c.hotel ? withArgs(translate("Cli", "hotel %1"), {std::to_string(*c.hotel)})
                   : translate("Cli", "no hotel number");
}

// The hotels copied, on `out`; the hotels refused, with why, on `err`. Whether every
// hotel was copied.
bool printCopies(const std::vector<store::HotelCopy>& copies, std::ostream& out, std::ostream& err) {
    bool all = true;
    for (const auto& c : copies) {
        if (!c.refused.empty()) {
            err << "zentoria: "
                << withArgs(translate("Cli", "%1, %2: not copied, the server keeps its rows as they were: %3"),
                            {c.table, hotelText(c), c.refused})
                << "\n";
            all = false;
            continue;
        }
        out << withArgs(c.rows == 1 ? translate("Cli", "%1, %2: %3 row, sum of Valore %4")
                                    : translate("Cli", "%1, %2: %3 rows, sum of Valore %4"),
                        {c.table, hotelText(c), std::to_string(c.rows), c.sum.empty() ? "null" : c.sum})
            << "\n";
    }
    return all;
}

int currentYear() {
    const std::chrono::year_month_day ymd{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
    return static_cast<int>(ymd.year());
}

}  // namespace

int cmdFigures(const std::filesystem::path& workDir, const std::vector<std::string>& args, std::istream& in,
               std::ostream& out, std::ostream& err) {
    try {
        if (args.empty())
            throw FiguresUsageError(withArgs(translate("Cli", "figures needs what to do: %1"), {translate("Cli", kFiguresUsage)}));
        const std::string& what = args[0];
        if (what == "init") {
            if (args.size() > 1 && args[1] != "--grants")
                throw FiguresUsageError(
                    translate("Cli", "figures init takes no arguments but --grants [READ_ROLE WRITE_ROLE]"));
            if (args.size() > 1) {
                if (args.size() != 2 && args.size() != 4)
                    throw FiguresUsageError(translate("Cli", "figures init --grants takes no role names or two"));
                out << store::grantStatements(args.size() == 4 ? args[2] : "zentoria_lettura",
                                              args.size() == 4 ? args[3] : "zentoria_scrittura");
                return kExitOk;
            }
            store::PgConnection c = connectToSetting();
            for (const auto& step : store::initFiguresSchema(c))
                out << withArgs(step.created ? translate("Cli", "%1: created") : translate("Cli", "%1: already there"),
                                {step.table})
                    << "\n";
            out << withArgs(translate("Cli", "figure tables ready on PostgreSQL server %1"), {c.server()}) << "\n";
            return kExitOk;
        }
        if (what != "push" && what != "pull")
            throw FiguresUsageError(
                withArgs(translate("Cli", "unknown figures command \"%1\": %2"), {what, translate("Cli", kFiguresUsage)}));
        const auto hotel = hotelOption(args);
        const store::ServerLongWork longWork;  // copies get the long statement limit
        store::PgConnection c = connectToSetting();
        // A server with no password yet: the folder's own password guards the push, which
        // then moves it to the server.
        std::optional<desktop::SecurityPwd> folderPassword;
        if (what == "push" && !store::serverPasswordLine(c)) {
            folderPassword = desktop::readSecurityFile(workDir);
            if (folderPassword->state != desktop::PwdFileState::Absent &&
                !checkPasswordOf(*folderPassword, "", err, readPasswordFromTerminal))
                return kExitFailed;
        }
        // Start as the window does: the registry, the access gate, where the figure files lie.
        ConsoleUi ui(in, err, false);
        ProgramState& state = programState();
        state = ProgramState{};
        state.workDir = workDir;
        desktop::DeskLogic logic(state, ui, localeSeparators());
        logic.load(currentYear());
        logic.activate();
        if (logic.unloaded || ui.errorShown()) return kExitFailed;
        state.requireFigureFiles();  // the copies read or write the files themselves
        if (what == "push") {
            // The management password moves to the server when the server has none.
            if (folderPassword && !store::serverPasswordLine(c)) {
                const desktop::SecurityPwd& file = *folderPassword;
                if (file.state == desktop::PwdFileState::Ok) {
                    store::setServerPasswordLine(c, file.storedPassword + "," + std::to_string(file.storedCheck));
                    out << withArgs(translate("Cli", "the management password of %1 is now the server's: every "
                                                     "workstation is asked for it"),
                                    {desktop::securityFilePath(workDir).filename().string()})
                        << "\n";
                }
            }
            const bool all =
                printCopies(store::pushFigures(c, workDir, state.summaryDbPath, state.detailDbPath, hotel), out, err);
            out << withArgs(all ? translate("Cli", "copied into PostgreSQL server %1")
                                : translate("Cli", "the hotels above copied into PostgreSQL server %1"),
                            {c.server()})
                << "\n";
            return all ? kExitOk : kExitFailed;
        } else {
            printCopies(store::pullFigures(c, workDir, state.summaryDbPath, state.detailDbPath, hotel), out, err);
            out << withArgs(translate("Cli", "written into the figure files from PostgreSQL server %1"), {c.server()})
                << "\n";
        }
        return kExitOk;
    } catch (const FiguresUsageError& e) {
        err << "zentoria: " << e.what() << "\n" << translate("Cli", "Try 'zentoria --help'.") << "\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        err << "zentoria: " << e.what() << "\n";
        return kExitFailed;
    }
}

}  // namespace zt::app
