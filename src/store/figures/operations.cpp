#include "store/figures/operations.h"

#include <algorithm>
#include <stdexcept>

#include "common/text.h"

namespace zt::store {

namespace {

std::string hotelAndTipo(const ProgramState& state, std::string_view tipo) {
    return store::hotelAndTipo(state.hotelNumber, tipo);
}

std::string detailClause(const DetailKey& key) {
    return key.hasDetail ? " and Dettaglio = " + sqlText(key.detail) : std::string();
}

}  // namespace

std::string monthKey(std::string_view year, int month) {
    if (month < 1 || month > 12)
        throw std::out_of_range("month " + std::to_string(month) + " is not between 1 and 12");
    return std::string(year) + (month < 10 ? "0" : "") + std::to_string(month);
}

void writeMonth(const ProgramState& state, std::string_view tipo, std::string_view detail,
                std::string_view year, int month, const Value& valore) {
    const std::string annoMese = monthKey(year, month);  // a month outside 1..12 opens nothing
    figureStore(state)->writeMonths(state.hotelNumber, tipo, detail, {{annoMese, valore}}, {});
}

void writeYear(const ProgramState& state, std::string_view tipo, std::string_view detail,
               std::string_view year, const std::array<Value, 12>& valori,
               const std::function<void(int month)>& beforeMonth) {
    std::vector<MonthValue> months;
    for (int m = 1; m <= 12; ++m) months.push_back({monthKey(year, m), valori[static_cast<std::size_t>(m - 1)]});
    std::function<void(std::size_t)> before;
    if (beforeMonth) before = [&](std::size_t i) { beforeMonth(static_cast<int>(i) + 1); };
    figureStore(state)->writeMonths(state.hotelNumber, tipo, detail, months, before);
}

std::optional<double> readMonth(const ProgramState& state, std::string_view tipo,
                                std::string_view detail, std::string_view year, int month) {
    const std::string annoMese = monthKey(year, month);
    const auto rows = figureStore(state)->rows(
        kSummaryTable.table, kSummaryTable.periodField,
        hotelAndTipo(state, tipo) + " and AnnoMese = " + sqlText(annoMese) + " and Dettaglio = " + sqlText(detail),
        /*firstOnly=*/true);
    if (rows.empty()) return std::nullopt;
    return rows.front().valore.toDouble();
}

std::vector<FigureRow> readSummaryYear(const ProgramState& state, const DetailKey& key,
                                       std::string_view year) {
    return figureStore(state)->rows(
        kSummaryTable.table, kSummaryTable.periodField,
        hotelAndTipo(state, key.tipo) + " and Left$(AnnoMese,4) = " + sqlText(year) + detailClause(key), false);
}

std::vector<FigureRow> readDetailYear(const ProgramState& state, const DetailKey& key,
                                      std::string_view year) {
    return figureStore(state)->rows(
        kDetailTable.table, kDetailTable.periodField,
        hotelAndTipo(state, key.tipo) + " and Left$(DataInserimento,4) = " + sqlText(year) + detailClause(key),
        false);
}

namespace {

// The sum of `Dettaglio` over the dates whose first `length` characters are `period`: a
// month ("201403", 6) or a year ("2014", 4).
std::optional<double> sumDetail(const ProgramState& state, const DetailKey& key, int length,
                                const std::string& period) {
    return figureStore(state)->sum("Select Sum(Valore) as VD From Dettaglio Where " + hotelAndTipo(state, key.tipo) +
                                   " and Left$(DataInserimento," + std::to_string(length) + ") = " + sqlText(period) +
                                   detailClause(key));
}

}  // namespace

std::optional<double> sumMonth(const ProgramState& state, const DetailKey& key,
                               std::string_view year, int month) {
    return sumDetail(state, key, 6, monthKey(year, month));
}

std::optional<double> sumYear(const ProgramState& state, const DetailKey& key, std::string_view year) {
    return sumDetail(state, key, 4, std::string(year));
}

std::map<std::int64_t, std::map<std::string, MonthSums>> sumMonthsByHotel(const ProgramState& state,
                                                                           const DetailKey& key,
                                                                           const std::vector<std::int64_t>& hotels,
                                                                           const std::vector<std::string>& years) {
    std::map<std::int64_t, std::map<std::string, MonthSums>> out;
    if (years.empty() || hotels.empty()) return out;
    // The hotels by number and the dates as one range from the first year to the one after
    // the last (dates are digits, so the range holds exactly the dates beginning with one
    // of the years between), so the index of the sums serves each hotel.
    for (const auto& y : years)
        if (y.size() != 4 || !std::all_of(y.begin(), y.end(), ::isdigit) || y == "9999")
            throw std::invalid_argument("year \"" + y + "\" is not four digits below 9999");
    const auto [first, last] = std::minmax_element(years.begin(), years.end());
    const std::string after = std::to_string(std::stoi(*last) + 1);
    std::string hotelList;
    for (const auto h : hotels) hotelList += (hotelList.empty() ? "" : ", ") + std::to_string(h);
    const auto rows = figureStore(state)->groupedSums(
        "Select NumeroHotel, Left$(DataInserimento,6) as Mese, Sum(Valore) as VD From Dettaglio Where NumeroHotel In (" +
        hotelList + ") and Tipo = " + sqlText(key.tipo) + " and DataInserimento >= " + sqlText(*first) +
        " and DataInserimento < " + sqlText(after) + detailClause(key) + " Group By NumeroHotel, Left$(DataInserimento,6)");
    for (const auto& row : rows) {
        if (row.size() < 3 || row[0].isNull() || row[1].isNull() || row[2].isNull()) continue;
        const std::string period = row[1].toText();
        if (period.size() != 6) continue;
        const std::string year = period.substr(0, 4);
        if (std::find(years.begin(), years.end(), year) == years.end()) continue;
        const int month = (period[4] - '0') * 10 + (period[5] - '0');
        if (period[4] < '0' || period[4] > '9' || period[5] < '0' || period[5] > '9' || month < 1 || month > 12)
            continue;
        auto& slot = out[row[0].toInteger()][year][static_cast<std::size_t>(month - 1)];
        slot = slot.value_or(0.0) + row[2].toDouble();
    }
    return out;
}

std::optional<double> sumClientTypeYearAllHotels(const ProgramState& state, std::string_view year,
                                                 std::string_view clientType) {
    return figureStore(state)->sum("Select Sum(Valore) as Ris From Dettaglio Where Left(DataInserimento,4) = " +
                                   sqlText(year) + " and Tipo = " + sqlText("PresenzeTip") + " and Dettaglio = " +
                                   sqlText(clientType) + ";");
}

}  // namespace zt::store
