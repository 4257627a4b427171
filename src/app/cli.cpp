#include "app/cli.h"
#include "common/translate.h"

#include "app/console_ui.h"
#include "app/convert_cmd.h"
#include "app/demo.h"
#include "app/figures_cmd.h"
#include "app/passwd_cmd.h"
#include "app/report_cmd.h"
#include "app/selection.h"
#include "app/window_main.h"
#include "app/work_folder.h"
#include "common/numfmt.h"
#include "common/state.h"
#include "common/text.h"
#include "desktop/chain.h"
#include "desktop/desk_logic.h"
#include "report/csv_export.h"
#include "report/report_file.h"
#include "web/web_server.h"

#include <chrono>
#include <exception>
#include <filesystem>
#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <ostream>

#ifndef ZENTORIA_VERSION
#define ZENTORIA_VERSION "0"
#endif

namespace fs = std::filesystem;

namespace zt::app {

namespace {

// The usage text, marked for lupdate (translated where it is printed).
constexpr const char* kUsage = QT_TRANSLATE_NOOP("Cli",
    "Usage: zentoria [--dir FOLDER] [COMMAND [ARGS]]\n"
    "\n"
    "Shows a hotel's monthly and annual figures. FOLDER is the working folder that\n"
    "holds the hotel's database files. Without --dir a command works on the current\n"
    "folder when it holds the hotel registry (AnagraficaHotels.mdb); the window then\n"
    "tries the folder last chosen in its folder dialog and else asks for one.\n"
    "\n"
    "Commands:\n"
    "  (none)                  open the window on the working folder\n"
    "  grid --hotel N --year Y --stat NAME --detail ITEM\n"
    "                          print the twelve month values the window's grid shows\n"
    "  diff --hotel N --year A --with B --stat NAME --detail ITEM\n"
    "                          the year differences (\"&Ok\"): the chart title, then\n"
    "                          twelve lines \"set1<TAB>set2\"\n"
    "  ratio --hotel N --year Y --stat A --detail DA --with-stat B --with-detail DB\n"
    "                          the month comparison (\"&Conferma\"): the title, then\n"
    "                          twelve values\n"
    "  register --hotel N --year Y --stat NAME --detail ITEM --values \"v1;...;v12\" [--yes]\n"
    "                          types the twelve values and presses \"&Registra\"\n"
    "  report --hotel N --year Y --stat NAME --detail ITEM\n"
    "                          writes the report file (\"&Stampa\") and prints its path;\n"
    "                          \"Presenze x Tipo Cliente\" with --detail \"\" writes one\n"
    "                          block per client type\n"
    "  chain STATISTICA DETTAGLIO ANNO [--csv]\n"
    "                          every hotel's twelve months, year total and change\n"
    "                          against the year before in %, and the chain's total\n"
    "                          (tab-separated text, or CSV with SeparatoreXLS.txt's\n"
    "                          separator)\n"
    "  serve [--listen ADDR:PORT] [--tls-cert FILE --tls-key FILE] [--timeout S]\n"
    "                          a read-only web server of the grid, chain and report\n"
    "                          pages (default 127.0.0.1:8080; docs/WEB.md)\n"
    "  print [--destination NAME] [--compressed] [--landscape] [--duplex] [--pdf FILE]\n"
    "                          prints the report file as the print menu does\n"
    "  export-csv              writes the report as CSV and prints the file's path\n"
    "  recompute --hotel N --year Y --stat NAME [--yes]\n"
    "                          recomputes the year from the operational files\n"
    "                          (\"&Aggiorna\"): \"Produzione\", \"Cassa\", \"Fatturato\" or\n"
    "                          \"Presenze\"; prints each detail's code and twelve values\n"
    "  convert SOURCE TARGET   copy every table of an Access (.mdb) file into a new\n"
    "                          SQLite file (refuses an existing TARGET)\n"
    "  passwd [--clear]        set, change or clear the management password\n"
    "  figures init            create the figure tables and the management password's\n"
    "                          table on the server named by ZENTORIA_FIGURES_DB\n"
    "                          (docs/FIGURES_SERVER.md)\n"
    "  figures init --grants [READ_ROLE WRITE_ROLE]\n"
    "                          print the GRANT statements of a read-only and a\n"
    "                          read-write role for the workstations\n"
    "  figures push [--hotel N]\n"
    "                          copy the figure files into that server\n"
    "  figures pull [--hotel N]\n"
    "                          write the server's figures back into the files\n"
    "  demo FOLDER [--force] [--access]\n"
    "                          write a demo working folder (refuses a non-empty\n"
    "                          folder unless --force); --access writes its\n"
    "                          databases as Access files\n"
    "  --help                  show this text\n"
    "  --version               show the program's version\n"
    "\n"
    "Commands that read figures ask for the management password when one is set:\n"
    "on the terminal, or from the environment variable ZENTORIA_PASSWORD.\n");

// What a command gets: the working folder and its own arguments.
struct Invocation {
    fs::path workDir;
    std::vector<std::string> args;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int cmdDemo(const Invocation& inv);
int cmdGrid(const Invocation& inv);
int cmdShowWithoutDisplay(const Invocation& inv);
int cmdDiff(const Invocation& inv);
int cmdRatio(const Invocation& inv);
int cmdRegister(const Invocation& inv);
int cmdReport(const Invocation& inv);
int cmdRecompute(const Invocation& inv);
int cmdChain(const Invocation& inv);
int cmdServe(const Invocation& inv);

const std::map<std::string, std::function<int(const Invocation&)>>& commands() {
    static const std::map<std::string, std::function<int(const Invocation&)>> table = {
        {"demo", cmdDemo},
        {"grid", cmdGrid},
        {"diff", cmdDiff},
        {"ratio", cmdRatio},
        {"register", cmdRegister},
        {"report", cmdReport},
        {"recompute", cmdRecompute},
        {"chain", cmdChain},
        {"serve", cmdServe},
        {"print", [](const Invocation& inv) { return cmdPrint(inv.workDir, inv.args, inv.out, inv.err); }},
        {"export-csv", [](const Invocation& inv) { return cmdExportCsv(inv.workDir, inv.args, inv.out, inv.err); }},
        {"convert", [](const Invocation& inv) { return cmdConvert(inv.args, inv.out, inv.err); }},
        {"passwd", [](const Invocation& inv) { return cmdPasswd(inv.workDir, inv.args, inv.in, inv.out, inv.err); }},
        {"figures", [](const Invocation& inv) { return cmdFigures(inv.workDir, inv.args, inv.in, inv.out, inv.err); }},
    };
    return table;
}

}  // namespace

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return runCommand(args, std::cin, out, err);
}

int runCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    std::optional<fs::path> dirOption;
    std::size_t i = 0;
    try {
        applyFiguresDbSetting();
        while (i < args.size() && args[i].rfind("--", 0) == 0) {
            const std::string& opt = args[i];
            if (opt == "--help" || opt == "-h") {
                out << translate("Cli", kUsage);
                return kExitOk;
            }
            if (opt == "--version") {
                out << "zentoria " << ZENTORIA_VERSION << "\n";
                return kExitOk;
            }
            if (opt == "--dir") {
                if (i + 1 >= args.size()) throw UsageError(translate("Cli", "--dir needs a folder"));
                dirOption = fs::path(args[i + 1]);
                i += 2;
                continue;
            }
            throw UsageError(withArgs(translate("Cli", "unknown option %1"), {opt}));
        }
        if (i >= args.size()) {
            if (displayAvailable()) return openWindow(dirOption);
            Invocation inv{commandFolder(dirOption, fs::current_path()), {}, in, out, err};
            return cmdShowWithoutDisplay(inv);
        }
        const auto it = commands().find(args[i]);
        if (it == commands().end()) throw UsageError(withArgs(translate("Cli", "unknown command \"%1\""), {args[i]}));
        // The commands that make or copy files name their own, and "figures" works on the
        // server alone but for its copies; the others work on the working folder, which a
        // command never asks for.
        const bool copies = i + 1 < args.size() && (args[i + 1] == "push" || args[i + 1] == "pull");
        const bool ownFolder = args[i] == "demo" || args[i] == "convert" || (args[i] == "figures" && !copies);
        const fs::path workDir = ownFolder ? dirOption.value_or(".") : commandFolder(dirOption, fs::current_path());
        Invocation inv{workDir, std::vector<std::string>(args.begin() + static_cast<long>(i) + 1, args.end()), in, out,
                       err};
        return it->second(inv);
    } catch (const UsageError& e) {
        err << "zentoria: " << e.what() << "\n" << translate("Cli", "Try 'zentoria --help'.") << "\n";
        return kExitUsage;
    } catch (const ChoiceError& e) {
        err << "zentoria: " << e.what() << "\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        err << "zentoria: " << e.what() << "\n";
        return kExitFailed;
    }
}

int runCommandLine(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return runCommand(args, std::cout, std::cerr);
}

namespace {

// Options of the form --name VALUE and flags of the form --name.
class Options {
public:
    Options(const std::vector<std::string>& args, std::initializer_list<std::string> valued,
            std::initializer_list<std::string> flags = {}) {
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& a = args[i];
            if (a.rfind("--", 0) != 0) throw UsageError(withArgs(translate("Cli", "unexpected argument \"%1\""), {a}));
            const std::string name = a.substr(2);
            if (std::find(flags.begin(), flags.end(), name) != flags.end()) {
                flags_.push_back(name);
            } else if (std::find(valued.begin(), valued.end(), name) != valued.end()) {
                if (i + 1 >= args.size()) throw UsageError(withArgs(translate("Cli", "%1 needs a value"), {a}));
                values_[name] = args[++i];
            } else {
                throw UsageError(withArgs(translate("Cli", "unknown option %1"), {a}));
            }
        }
    }
    const std::string& required(const std::string& name) const {
        const auto it = values_.find(name);
        if (it == values_.end()) throw UsageError(withArgs(translate("Cli", "--%1 is required"), {name}));
        return it->second;
    }
    int requiredInt(const std::string& name) const {
        const std::string& v = required(name);
        try {
            std::size_t used = 0;
            const int n = std::stoi(v, &used);
            if (used == v.size()) return n;
        } catch (const std::exception&) {
        }
        throw UsageError(withArgs(translate("Cli", "--%1 takes a whole number, not \"%2\""), {name, v}));
    }
    bool has(const std::string& name) const { return values_.count(name) > 0; }
    bool flag(const std::string& name) const {
        return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
    }

private:
    std::map<std::string, std::string> values_;
    std::vector<std::string> flags_;
};

int currentYear() {
    const auto now = std::chrono::system_clock::now();
    const std::chrono::year_month_day ymd{std::chrono::floor<std::chrono::days>(now)};
    return static_cast<int>(ymd.year());
}

// The window's logic started as the window starts it (with the access gate), on the
// program's one state, reset for this command.
struct Session {
    ConsoleUi ui;
    desktop::DeskLogic logic;
    Session(const Invocation& inv, bool assumeYes)
        : ui(inv.in, inv.err, assumeYes), logic(resetState(inv.workDir), ui, localeSeparators()) {
        logic.load(currentYear());
        logic.activate();
    }
    // False once access was refused or an error was shown; also when the figure files'
    // folder is unknown ("&" without DIRSH) and no figure server is set: start-up has
    // said so, and every command of a session works on the figure tables, so it stops
    // there with that one message.
    bool ok() { return !logic.unloaded && !ui.errorShown() && logic.state().figuresReachable(); }

    // Presses Tasto(index), whose handler asks before it acts; true when its question
    // was answered yes.
    bool pressAsking(int index) {
        bool answeredYes = false;
        ui.setOnAnswer([&](int answer) { answeredYes = answer == desktop::msgbox::kAnswerYes; });
        logic.tastoClick(index);
        ui.setOnAnswer(nullptr);
        return answeredYes;
    }

    static ProgramState& resetState(const fs::path& workDir) {
        ProgramState& state = programState();
        state = ProgramState{};
        state.workDir = workDir;
        return state;
    }
};

// Chart values as scripts read them: "." as decimal point, no grouping.
std::string plain(double v) { return formatPlain(v, Separators{".", ""}); }

// Selects hotel, year and statistic in turn, as a user picks them, each option read
// when its choice is made; returns the statistic's name.
const std::string& selectStatistic(Session& s, const Options& opt, const std::string& yearOption) {
    chooseHotel(s.logic, opt.requiredInt("hotel"));
    s.logic.text1[0] = opt.required(yearOption);
    const std::string& stat = opt.required("stat");
    chooseStatistic(s.logic, 0, stat);
    return stat;
}

// Selects hotel, year, statistic and detail as the grid command does (which loads the
// grid for the year). The four options are all checked before anything is chosen.
void selectAsGrid(Session& s, const Options& opt, const std::string& yearOption) {
    opt.requiredInt("hotel");
    opt.required(yearOption);
    opt.required("stat");
    const std::string& detail = opt.required("detail");
    chooseDetail(s.logic, 1, selectStatistic(s, opt, yearOption), detail);
}

// zentoria diff --hotel N --year A --with B --stat NAME --detail ITEM
int cmdDiff(const Invocation& inv) {
    const Options opt(inv.args, {"hotel", "year", "with", "stat", "detail"});
    const std::string& with = opt.required("with");
    Session s(inv, false);
    if (!s.ok()) return kExitFailed;
    selectAsGrid(s, opt, "year");
    s.logic.text1[13] = with;
    s.logic.tastoClick(5);
    if (!s.ok()) return kExitFailed;
    const auto& chart = s.logic.graph1;
    inv.out << chart.title() << "\n";
    for (int k = 1; k <= 12; ++k) inv.out << plain(chart.value(1, k)) << "\t" << plain(chart.value(2, k)) << "\n";
    return kExitOk;
}

// zentoria ratio --hotel N --year Y --stat A --detail DA --with-stat B --with-detail DB
int cmdRatio(const Invocation& inv) {
    const Options opt(inv.args, {"hotel", "year", "stat", "detail", "with-stat", "with-detail"});
    const std::string& withStat = opt.required("with-stat");
    const std::string& withDetail = opt.required("with-detail");
    Session s(inv, false);
    if (!s.ok()) return kExitFailed;
    selectAsGrid(s, opt, "year");
    chooseStatistic(s.logic, 4, withStat);
    chooseDetail(s.logic, 5, withStat, withDetail);
    s.logic.tastoClick(4);
    if (!s.ok()) return kExitFailed;
    inv.out << s.logic.graph1.title() << "\n";
    for (int k = 1; k <= 12; ++k) inv.out << plain(s.logic.graph1.value(1, k)) << "\n";
    return kExitOk;
}

// zentoria register --hotel N --year Y --stat NAME --detail ITEM --values "v1;...;v12" [--yes]
int cmdRegister(const Invocation& inv) {
    const Options opt(inv.args, {"hotel", "year", "stat", "detail", "values"}, {"yes"});
    std::vector<std::string> values;
    std::string rest = opt.required("values");
    for (std::size_t at; (at = rest.find(';')) != std::string::npos; rest.erase(0, at + 1)) values.push_back(rest.substr(0, at));
    values.push_back(rest);
    if (values.size() != 12)
        throw UsageError(withArgs(translate("Cli", "--values takes twelve values separated by \";\", not %1"),
                                   {std::to_string(values.size())}));
    Session s(inv, opt.flag("yes"));
    if (!s.ok()) return kExitFailed;
    selectAsGrid(s, opt, "year");
    for (int k = 1; k <= 12; ++k) s.logic.text1[static_cast<std::size_t>(k)] = values[static_cast<std::size_t>(k - 1)];
    const bool answeredYes = s.pressAsking(2);
    if (!s.ok()) return kExitFailed;
    if (!answeredYes) {
        inv.err << "zentoria: " << translate("Cli", "nothing registered.") << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

// zentoria report --hotel N --year Y --stat NAME --detail ITEM
int cmdReport(const Invocation& inv) {
    const Options opt(inv.args, {"hotel", "year", "stat", "detail"});
    const std::string& detail = opt.required("detail");
    Session s(inv, false);
    if (!s.ok()) return kExitFailed;
    const std::string& stat = selectStatistic(s, opt, "year");
    if (!trim(detail).empty()) chooseDetail(s.logic, 1, stat, detail);
    s.logic.tastoClick(0);
    if (!s.ok()) return kExitFailed;
    inv.out << std::filesystem::absolute(report::reportFilePath(inv.workDir)).lexically_normal().string() << "\n";
    return kExitOk;
}

// zentoria recompute --hotel N --year Y --stat NAME [--yes]
int cmdRecompute(const Invocation& inv) {
    const Options opt(inv.args, {"hotel", "year", "stat"}, {"yes"});
    Session s(inv, opt.flag("yes"));
    if (!s.ok()) return kExitFailed;
    selectStatistic(s, opt, "year");
    if (!s.pressAsking(3)) {
        inv.err << "zentoria: " << translate("Cli", "nothing recomputed.") << "\n";
        return kExitFailed;
    }
    if (const auto& result = s.logic.lastRecompute()) {
        for (const auto& detail : result->details) {
            inv.out << detail.code;
            for (const auto& v : detail.months) inv.out << "\t" << v.toString();
            inv.out << "\n";
        }
    }
    return s.ok() ? kExitOk : kExitFailed;
}

// zentoria grid --hotel N --year Y --stat NAME --detail ITEM
int cmdGrid(const Invocation& inv) {
    const Options opt(inv.args, {"hotel", "year", "stat", "detail"});
    Session s(inv, false);
    if (!s.ok()) return kExitFailed;
    selectAsGrid(s, opt, "year");
    if (!s.ok()) return kExitFailed;
    for (int k = 1; k <= 12; ++k) inv.out << s.logic.text1[static_cast<std::size_t>(k)] << "\n";
    return kExitOk;
}

// zentoria chain STATISTICA DETTAGLIO ANNO [--csv]
int cmdChain(const Invocation& inv) {
    std::vector<std::string> positional;
    bool csv = false;
    for (const auto& a : inv.args) {
        if (a == "--csv") csv = true;
        else if (a.rfind("--", 0) == 0)
            throw UsageError(withArgs(translate("Cli", "unknown option %1 for %2"), {a, "chain"}));
        else positional.push_back(a);
    }
    if (positional.size() != 3) throw UsageError(translate("Cli", "chain takes STATISTICA DETTAGLIO ANNO [--csv]"));
    Session s(inv, false);
    if (!s.ok()) return kExitFailed;
    const ProgramState& state = s.logic.state();
    try {
        const std::string detail = desktop::chainDetailItem(state, positional[0], positional[1]);
        const auto table = desktop::chainTable(state, positional[0], detail, positional[2]);
        inv.out << (csv ? desktop::chainCsv(table, report::csvSeparator(inv.workDir), localeSeparators())
                        : desktop::chainText(table, localeSeparators()));
    } catch (const desktop::ChainChoiceError& e) {
        throw ChoiceError(e.what());
    }
    return kExitOk;
}

// zentoria serve [--listen ADDR:PORT] [--tls-cert FILE --tls-key FILE] [--timeout SECONDS]
int cmdServe(const Invocation& inv) {
    const Options opt(inv.args, {"listen", "tls-cert", "tls-key", "timeout"});
    web::ServeOptions o;
    o.workDir = inv.workDir;
    try {
        if (opt.has("listen")) web::parseListen(opt.required("listen"), o);
    } catch (const std::invalid_argument& e) {
        throw UsageError(e.what());
    }
    if (opt.has("tls-cert")) o.tlsCert = opt.required("tls-cert");
    if (opt.has("tls-key")) o.tlsKey = opt.required("tls-key");
    if (opt.has("timeout")) {
        o.timeoutSeconds = opt.requiredInt("timeout");
        if (o.timeoutSeconds < 1 || o.timeoutSeconds > 3600)
            throw UsageError(translate("Cli", "--timeout takes 1 to 3600 seconds"));
    }
    return web::serve(o, inv.out, inv.err);
}

// No display for the window: the grid of guest nights of the first hotel for this
// year, so the program still shows its main job.
int cmdShowWithoutDisplay(const Invocation& inv) {
    inv.err << "zentoria: "
            << translate("Cli", "no display available (DISPLAY is not set): showing the grid instead of the window.")
            << "\n";
    Session s(inv, false);
    if (!s.ok()) return kExitFailed;
    auto& logic = s.logic;
    if (logic.combo1[2].items.empty()) return kExitFailed;
    const std::string stat = "Presenze";
    chooseStatistic(logic, 0, stat);
    chooseDetail(logic, 1, stat, "Generale");
    if (!s.ok()) return kExitFailed;
    inv.out << "Hotel " << trim(logic.combo1[2].text) << "\n"
            << stat << " - " << logic.combo1[1].text << " - " << logic.text1[0] << "\n";
    for (int k = 1; k <= 12; ++k)
        inv.out << padRight(monthText(k), 10) << " "
                << padLeft(logic.text1[static_cast<std::size_t>(k)], 12) << "\n";
    return kExitOk;
}

// zentoria demo FOLDER [--force] [--access]: the folder is named by the argument, not by --dir.
int cmdDemo(const Invocation& inv) {
    std::optional<fs::path> folder;
    bool force = false;
    DemoFiles files = DemoFiles::Sqlite;
    for (const auto& a : inv.args) {
        if (a == "--force") force = true;
        else if (a == "--access") files = DemoFiles::Access;
        else if (a.rfind("--", 0) == 0)
            throw UsageError(withArgs(translate("Cli", "unknown option %1 for %2"), {a, "demo"}));
        else if (!folder) folder = a;
        else throw UsageError(translate("Cli", "demo takes one folder"));
    }
    if (!folder) throw UsageError(translate("Cli", "demo needs a folder: zentoria demo FOLDER [--force] [--access]"));
    const DemoSummary summary = writeDemo(*folder, force, files);
    inv.out << formatDemoSummary(summary);
    return kExitOk;
}

}  // namespace

}  // namespace zt::app
