// The comparisons drawn in the chart: two years side by side (DiffAnno, DiffAnno1,
// DiffAnno2) and the month-by-month ratio of two statistics (RepaDiff).
#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "common/translate.h"
#include "desktop/desk_logic.h"
#include "store/figures/catalogue.h"
#include "store/figures/operations.h"

namespace zt::desktop {

namespace {

// The chart point of a row's period: characters 5-6 are the month.
int monthPoint(const store::FigureRow& row, const char* field) {
    const double month = val(mid(row.period, 5, 2));
    if (month < 1 || month > 12 || month != std::floor(month))
        throw std::runtime_error(withArgs(
            translate("DeskLogic", "Un record ha %1 = \"%2\": il mese non è tra 01 e 12. Confronto interrotto."),
            {field, row.period}));
    return static_cast<int>(month);
}

using YearReader = std::vector<store::FigureRow> (*)(const ProgramState&, const store::DetailKey&, std::string_view);
// How the rows of one month meet the month's point: Add adds every row to the point;
// Replace lets each row replace it (the last row of the month wins); SumReplace puts the
// sum of the month's rows in place of what the point showed.
enum class Merge { Add, Replace, SumReplace };

// The two compared years onto the chart, the first as set 1 and the second as set 2:
// each row read goes to the point of its month, as `merge` says.
void plotYears(Chart& chart, const ProgramState& state, const store::DetailKey& key,
               const std::array<std::string, 2>& years, YearReader read, const char* periodField, Merge merge) {
    for (int set = 1; set <= 2; ++set) {
        std::array<bool, 13> seen{};
        for (const auto& row : read(state, key, years[static_cast<std::size_t>(set - 1)])) {
            const int month = monthPoint(row, periodField);
            chart.setThisSet(set);
            chart.setThisPoint(month);
            const double value = row.valore.toDouble();
            const bool add = merge == Merge::Add || (merge == Merge::SumReplace && seen[static_cast<std::size_t>(month)]);
            chart.setGraphData(add ? chart.graphData() + value : value);
            seen[static_cast<std::size_t>(month)] = true;
        }
    }
}

}  // namespace

bool DeskLogic::diffOpening() {
    if (!(val(text1[13]) > 0)) return false;
    graph1.setTitle(withArgs(translate("DeskLogic", "Diff. %1-%2 (%3-%4)"),
                             {text1[0], text1[13], combo1[0].text, combo1[1].text}));
    graph1.setNumSets(2);
    graph1.setThisSet(2);
    graph1.setLegendText(1, text1[0]);
    graph1.setLegendText(2, text1[13]);
    return true;
}

void DeskLogic::DiffAnno() {
    if (!diffOpening()) return;
    const auto key = store::diffAnnoKey(combo1[0].text, combo1[1].text);
    if (!key) return;
    for (int i = 1; i <= 12; ++i) {
        graph1.setThisPoint(i);
        graph1.setThisSet(1);
        graph1.setGraphData(0);
        graph1.setThisSet(2);
        graph1.setGraphData(0);
    }
    plotYears(graph1, state_, *key, {text1[0], text1[13]}, store::readDetailYear, "DataInserimento", Merge::Add);
    graph1.redraw();
}

void DeskLogic::DiffAnno1() { diffFromSummary(true); }
void DeskLogic::DiffAnno2() { diffFromSummary(false); }

// DiffAnno1 / DiffAnno2: each record's value replaces the point's; set 1 keeps what it
// showed for months without records. With "<tutti>" (no detail clause) a month has a
// record per detail: their sum replaces the point's value.
void DeskLogic::diffFromSummary(bool arrivals) {
    if (!diffOpening()) return;
    const auto key = arrivals ? store::diffAnno1Key(combo1[0].text, combo1[1].text)
                              : store::diffAnno2Key(combo1[0].text, combo1[1].text);
    if (!key) return;
    for (int i = 1; i <= 12; ++i) {
        graph1.setThisPoint(i);
        graph1.setGraphData(0);  // set 2, current since the opening
    }
    plotYears(graph1, state_, *key, {text1[0], text1[13]}, store::readSummaryYear, "AnnoMese",
              key->hasDetail ? Merge::Replace : Merge::SumReplace);
    graph1.redraw();
}

void DeskLogic::RepaDiff() {
    graph1.setTitle(withArgs(translate("DeskLogic", "Conf. (%1-%2)-(%3-%4)"),
                             {combo1[0].text, combo1[1].text, combo1[4].text, combo1[5].text}));
    graph1.setNumSets(1);
    graph1.setThisSet(1);
    for (int i = 1; i <= 12; ++i) {
        graph1.setThisPoint(i);
        graph1.setGraphData(0);
    }
    const auto keyA = store::repaDiffKey(combo1[0].text, combo1[1].text);
    const auto keyB = store::repaDiffKey(combo1[4].text, combo1[5].text);
    double a = 0;
    std::int64_t b = 0;
    for (int m = 1; m <= 12; ++m) {
        // A side that is looked up and finds no record counts 0 for that month; a side
        // that is not looked up keeps its previous value.
        if (keyA) a = store::readMonth(state_, keyA->tipo, keyA->detail, text1[0], m).value_or(0.0);
        if (keyB) {
            const double raw = store::readMonth(state_, keyB->tipo, keyB->detail, text1[0], m).value_or(0.0);
            b = static_cast<std::int64_t>(std::nearbyint(std::clamp(raw, -2147483648.0, 2147483647.0)));
        }
        graph1.setThisPoint(m);
        graph1.setGraphData(a / static_cast<double>(b == 0 ? 1 : b));
    }
    graph1.redraw();
}

}  // namespace zt::desktop
