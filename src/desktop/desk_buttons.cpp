// The command buttons Tasto(0..5) of the main window.
#include <stdexcept>

#include "common/numfmt.h"
#include "common/text.h"
#include "desktop/desk_logic.h"
#include "report/report_text.h"
#include "store/figures/catalogue.h"
#include "store/figures/operations.h"
#include "store/figures/summary_move.h"

namespace zt::desktop {

namespace {
constexpr int kConfirmStyle = msgbox::kYesNo | msgbox::kQuestion | msgbox::kDefaultButton2;  // 292
}

void DeskLogic::tastoClick(int index) {
    guarded([&] {
        // Every button but "&Esci" works on the figure files: without their folder it
        // stops here, before asking, reading or writing anything.
        if (index == 0 || (index >= 2 && index <= 5)) state_.requireFigurePaths();
        switch (index) {
            case 0: stampa(); break;
            case 1: unloaded = true; break;
            case 2: registra(); break;
            case 3:
                if (confirmed()) aggiorna();
                break;
            case 4: RepaDiff(); break;
            case 5:
                switch (store::yearDiffOperation(combo1[0].text)) {
                    case store::YearDiffOp::DiffAnno1: DiffAnno1(); break;
                    case store::YearDiffOp::DiffAnno2: DiffAnno2(); break;
                    case store::YearDiffOp::DiffAnno: DiffAnno(); break;
                }
                break;
            default: break;
        }
    });
    changed();
}

// "&Stampa": the report of the chosen statistic and detail, or, for "Presenze x Tipo
// Cliente" with no detail, one block per client type; then the print menu.
void DeskLogic::stampa() {
    const std::string& statistic = combo1[0].text;
    const std::string& detail = combo1[1].text;
    report::ReportSettings settings;
    settings.separators = sep_;
    struct Busy {
        UiPort& ui;
        explicit Busy(UiPort& u) : ui(u) { ui.busy(true); }
        ~Busy() { ui.busy(false); }
    };
    {
        Busy busy(ui_);
        if (!trim(detail).empty() || statistic != "Presenze x Tipo Cliente") {
            report::ScriviReport(state_, text1[0], statistic, detail, settings);
        } else {
            report::ScriviReportTipiCliente(state_, text1[0], statistic, settings, [&](const std::string& text) {
                caption = text;
                changed();
            });
        }
    }
    changed();
    ui_.printMenu();
}

// The monthly summary file must be an SQLite file to be written: an Access file is
// moved to SQLite after asking (the question warns about old workstations). A refusal
// is an error: nothing is written.
void DeskLogic::summaryWritable() {
    store::moveSummaryToSqlite(state_.workDir, state_.summaryDbPath, [&](const std::string& question) {
        return ui_.msgBox(question, kConfirmStyle, "Zentoria") == msgbox::kAnswerYes;
    });
}

// "&Aggiorna": the months of the chosen year recomputed from the operational files,
// detail by detail, a detail's months shown in its fields once they are written. The user
// can stop while the files are read or after the current detail; the details written stay
// written, complete.
void DeskLogic::aggiorna() {
    const std::string statistic = combo1[0].text;
    if (!Recompute::handles(statistic)) return;
    if (const auto problem = Recompute::yearProblem(text1[0])) throw std::runtime_error(*problem);
    summaryWritable();
    const bool money = statistic != "Presenze";
    bool stop = false;
    int shownDetail = 0;  // the detail whose months the grid shows
    // The grid and the chart show one detail at a time: when a detail starts, its twelve
    // fields and points are emptied and the chart is titled with it, so a month not yet
    // computed shows nothing rather than the previous detail's figure. The months fill
    // the fields as they are written; the chart draws them when the detail is done.
    auto startDetail = [&](const RecomputeProgress& p) {
        shownDetail = p.detailIndex;
        combo1[1].select(p.listIndex);
        emptyGrid();
    };
    RecomputeCallbacks callbacks;
    callbacks.onProgress = [&](const RecomputeProgress& p) {
        if (p.detailIndex != shownDetail) startDetail(p);
        changed();
        const std::string text = "Dettaglio " + std::to_string(p.detailIndex) + " di " + std::to_string(p.detailCount) +
                                 ": " + trim(p.detailItem) + "\nMese: " +
                                 state_.monthNames[static_cast<std::size_t>(p.month - 1)];
        ui_.progressCount((p.detailIndex - 1) * 12 + p.month - 1, p.detailCount * 12);
        stop = !ui_.progress(text);
    };
    callbacks.onMonthWritten = [&](const std::string&, int month, Currency value) {
        const double v = value.toDouble();
        text1[static_cast<std::size_t>(month)] = money ? formatMoney(v, sep_) : formatPlain(v, sep_);
        graph1.setThisPoint(month);
        graph1.setGraphData(v);
        if (month == 12) graph1.redraw();
        changed();
    };
    callbacks.shouldCancel = [&] { return stop; };
    // The end, however it comes: the list still names the detail the grid shows (chosen
    // when it started; after a failure inside it, with its months empty), the chart
    // draws it.
    auto finish = [&] {
        ui_.progressDone();
        if (shownDetail > 0) graph1.redraw();
        changed();
    };
    try {
        lastRecompute_ = Recompute().run(state_, statistic, combo1[1].items, text1[0], callbacks);
    } catch (const RecomputeError& e) {
        lastRecompute_ = e.partial();
        finish();
        throw;
    }
    finish();
    const std::string message = recomputeMessage(*lastRecompute_);
    if (!message.empty()) ui_.msgBox(message, msgbox::kOkOnly | msgbox::kInformation, "Zentoria");
}

bool DeskLogic::confirmed() { return ui_.msgBox("Sei sicuro?", kConfirmStyle, "Zentoria") == msgbox::kAnswerYes; }

// "&Registra": the twelve month fields into `Zentoria`. Every field is read first, in
// the format the grid writes it; a field that is not a number is reported before the
// question "Sei sicuro?" and nothing is written. The twelve are written together.
void DeskLogic::registra() {
    std::array<double, 12> values{};
    for (int m = 1; m <= 12; ++m) {
        const auto v = parseNumber(text1[static_cast<std::size_t>(m)], sep_);
        if (!v)
            throw std::runtime_error("Il valore di " + state_.monthNames[static_cast<std::size_t>(m - 1)] + " (\"" +
                                     text1[static_cast<std::size_t>(m)] +
                                     "\") non è un numero: non è stato registrato nessun mese.");
        values[static_cast<std::size_t>(m - 1)] = *v;
    }
    if (!confirmed()) return;
    const std::string& statistic = combo1[0].text;
    const auto key = store::registraKey(statistic, combo1[1].text);
    if (!key) return;
    summaryWritable();
    // The twelve months in one transaction: all of them, or on a failure none.
    std::array<store::Value, 12> months;
    for (std::size_t i = 0; i < 12; ++i) months[i] = store::Value(values[i]);
    store::writeYear(state_, key->tipo, key->detail, text1[0], months);
}

}  // namespace zt::desktop
