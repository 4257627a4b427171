// The command buttons Tasto(0..5) of the main window.
#include <stdexcept>

#include "common/numfmt.h"
#include "common/text.h"
#include "common/translate.h"
#include "desktop/desk_logic.h"
#include "report/report_text.h"
#include "store/figures/catalogue.h"
#include "store/figures/operations.h"
#include "store/figures/summary_move.h"

namespace zt::desktop {

namespace {
constexpr int kConfirmStyle = msgbox::kYesNo | msgbox::kQuestion | msgbox::kDefaultButton2;  // 292
std::string messageTitle() { return translate("DeskLogic", "Zentoria"); }
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
                if (!Recompute::handles(combo1[0].text)) {
                    refuse(withArgs(translate("DeskLogic",
                                              "La statistica \"%1\" non può essere ricalcolata: \"Aggiorna\" "
                                              "ricalcola solo \"Produzione\", \"Fatturato\", \"Cassa\" e "
                                              "\"Presenze\". Nessun mese è stato scritto."),
                                    {combo1[0].text}));
                } else if (const auto problem = Recompute::yearProblem(text1[0])) {
                    refuse(withArgs(translate("DeskLogic", "%1 Nessun mese è stato ricalcolato."), {*problem}));
                } else if (confirmed()) {
                    aggiorna();
                }
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
    settings.file = reportFile;
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

// The monthly summary file must be an SQLite file to be written: an Access file holding
// the summary table is moved to SQLite after asking (the question warns about old
// workstations); one without the table is refused before asking. A refusal is an error:
// nothing is written.
void DeskLogic::summaryWritable() {
    store::moveSummaryToSqlite(
        state_.workDir, state_.summaryDbPath,
        [&](const std::string& question) {
            return ui_.msgBox(question, kConfirmStyle, messageTitle()) == msgbox::kAnswerYes;
        },
        state_.summaryTable.empty() ? std::string_view("Zentoria") : std::string_view(state_.summaryTable));
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
        const std::string text = withArgs(translate("DeskLogic", "Dettaglio %1 di %2: %3\nMese: %4"),
                                          {std::to_string(p.detailIndex), std::to_string(p.detailCount),
                                           trim(p.detailItem), monthText(p.month)});
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
    if (!message.empty()) ui_.msgBox(message, msgbox::kOkOnly | msgbox::kInformation, messageTitle());
}

bool DeskLogic::confirmed() {
    return ui_.msgBox(translate("DeskLogic", "Sei sicuro?"), kConfirmStyle, messageTitle()) == msgbox::kAnswerYes;
}

void DeskLogic::refuse(const std::string& message) {
    ui_.msgBox(message, msgbox::kOkOnly | msgbox::kExclamation, messageTitle());
}

namespace {

// "Marzo", "Marzo–Dicembre", "Gennaio, Marzo–Dicembre": the months marked, runs of two or
// more joined by a dash.
std::string monthRuns(const std::array<bool, 12>& marked, const std::array<std::string, 12>& names) {
    std::string out;
    for (int m = 0; m < 12;) {
        if (!marked[static_cast<std::size_t>(m)]) {
            ++m;
            continue;
        }
        int end = m;
        while (end + 1 < 12 && marked[static_cast<std::size_t>(end + 1)]) ++end;
        if (!out.empty()) out += ", ";
        out += names[static_cast<std::size_t>(m)];
        if (end > m) out += "\u2013" + names[static_cast<std::size_t>(end)];
        m = end + 1;
    }
    return out;
}

std::array<std::string, 12> shownMonths() {
    std::array<std::string, 12> names;
    for (int m = 1; m <= 12; ++m) names[static_cast<std::size_t>(m - 1)] = monthText(m);
    return names;
}

std::string describe(const GridTarget& t) {
    return withArgs(translate("DeskLogic", "albergo %1, %2 \u2013 %3, anno %4"),
                    {t.hotel, t.statistic, trim(t.detail), t.year});
}

}  // namespace

std::optional<std::string> DeskLogic::registraProblem() const {
    const std::string& statistic = combo1[0].text;
    const std::string& detail = combo1[1].text;
    if (!store::zentoriaTipo(statistic))
        return withArgs(translate("DeskLogic",
                                  "La statistica \"%1\" non può essere registrata: il riepilogo mensile non tiene i "
                                  "suoi valori. Nessun mese è stato registrato; per registrare scegliere un'altra "
                                  "statistica."),
                        {statistic});
    if (trim(detail).empty())
        return withArgs(translate("DeskLogic",
                                  "Nessun dettaglio scelto per \"%1\": i mesi si registrano per un dettaglio alla "
                                  "volta. Scegliere un dettaglio, poi premere di nuovo \"Registra\"."),
                        {statistic});
    if (detail == store::kAllItem)
        return withArgs(translate("DeskLogic",
                                  "\"%1\" somma tutti i dettagli di \"%2\" e non può essere registrato. Scegliere "
                                  "un dettaglio, poi premere di nuovo \"Registra\"."),
                        {std::string(store::kAllItem), statistic});
    if (!store::registraKey(statistic, detail))
        return withArgs(translate("DeskLogic",
                                  "Il dettaglio \"%1\" di \"%2\" non può essere registrato. Scegliere un gruppo "
                                  "di clienti (da \"Generale\" a \"Famiglia\") o un trattamento (da \"Solo "
                                  "Pernottamento\" a \"Pensione Completa\")."),
                        {trim(detail), statistic});
    if (auto problem = Recompute::yearProblem(text1[0]))
        return withArgs(translate("DeskLogic", "%1 Nessun mese è stato registrato."), {*problem});
    return std::nullopt;
}

std::string DeskLogic::registraQuestion(const std::array<bool, 12>& empty, int& style) const {
    const GridTarget target = currentTarget();
    std::string q = translate("DeskLogic", "Sei sicuro? Saranno registrati i 12 mesi di:") + "\n\n";
    const bool other = loadedFor_ && !(*loadedFor_ == target);
    const std::string none = translate("DeskLogic", "(nessuno)");
    auto line = [&](const std::string& label, const std::string& now, const std::string& loaded) {
        q += withArgs(translate("DeskLogic", "%1: %2"), {label, now.empty() ? none : now});
        if (other && trim(now) != trim(loaded))
            q += withArgs(translate("DeskLogic", "   \u2190 ATTENZIONE: i mesi mostrati sono di %1"),
                          {trim(loaded).empty() ? none : trim(loaded)});
        q += "\n";
    };
    const GridTarget loaded = loadedFor_.value_or(target);
    line(translate("DeskLogic", "Albergo"), target.hotel, loaded.hotel);
    line(translate("DeskLogic", "Statistica"), target.statistic, loaded.statistic);
    line(translate("DeskLogic", "Dettaglio"), trim(target.detail), loaded.detail);
    line(translate("DeskLogic", "Anno"), target.year, loaded.year);
    if (other) {
        q += "\n" +
             withArgs(translate("DeskLogic",
                                "I valori nei campi dei mesi sono stati caricati per %1, non per %2. Rispondendo Si, "
                                "le cifre registrate per questa scelta saranno sostituite da quelle mostrate. Per "
                                "vederle prima, rispondere No e scegliere di nuovo il dettaglio."),
                      {describe(*loadedFor_), describe(target)}) +
             "\n";
    }
    const std::string runs = monthRuns(empty, shownMonths());
    if (!runs.empty()) {
        int count = 0;
        for (bool e : empty) count += e ? 1 : 0;
        q += "\n" +
             withArgs(count == 1 ? translate("DeskLogic", "%1 vuoto: sarà registrato come 0.")
                                 : translate("DeskLogic", "%1 vuoti: saranno registrati come 0."),
                      {runs}) +
             "\n";
    }
    style = other ? (msgbox::kYesNo | msgbox::kExclamation | msgbox::kDefaultButton2) : kConfirmStyle;
    if (!q.empty() && q.back() == '\n') q.pop_back();
    return q;
}

// "&Registra": the twelve month fields into `Zentoria`. A choice it cannot write (a
// statistic the summary does not keep, no detail, "<tutti>", a year that is not four
// digits) is told before anything is asked. Every field is read first, in the format the
// grid writes it; a field that is not a number is reported before the question and
// nothing is written. The question names what is written, the empty months, and warns
// when the fields were loaded for another choice (then "No" is preselected: it always
// is). The twelve are written together; the window's caption then says so.
void DeskLogic::registra() {
    if (auto problem = registraProblem()) {
        refuse(*problem);
        return;
    }
    std::array<double, 12> values{};
    std::array<bool, 12> empty{};
    for (int m = 1; m <= 12; ++m) {
        const std::string& text = text1[static_cast<std::size_t>(m)];
        const auto v = parseNumber(text, sep_);
        if (!v)
            throw std::runtime_error(withArgs(translate("DeskLogic",
                                                        "Il valore di %1 (\"%2\") non è un numero: non è stato "
                                                        "registrato nessun mese. Correggere il campo, poi premere "
                                                        "di nuovo \"Registra\"."),
                                              {monthText(m), text}));
        values[static_cast<std::size_t>(m - 1)] = *v;
        empty[static_cast<std::size_t>(m - 1)] = trim(text).empty();
    }
    int style = kConfirmStyle;
    const std::string question = registraQuestion(empty, style);
    if (ui_.msgBox(question, style, messageTitle()) != msgbox::kAnswerYes) return;
    const GridTarget target = currentTarget();
    const auto key = store::registraKey(target.statistic, target.detail);
    if (!key) return;
    summaryWritable();
    // The twelve months in one transaction: all of them, or on a failure none.
    std::array<store::Value, 12> months;
    for (std::size_t i = 0; i < 12; ++i) months[i] = store::Value(values[i]);
    store::writeYear(state_, key->tipo, key->detail, target.year, months);
    caption = withArgs(translate("DeskLogic", "Registrati 12 mesi: %1"), {describe(target)});
}

}  // namespace zt::desktop
