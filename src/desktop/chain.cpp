#include "desktop/chain.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "common/text.h"
#include "common/translate.h"
#include "report/report_text.h"
#include "store/figures/catalogue.h"
#include "store/figures/operations.h"
#include "store/sqlite/database.h"

namespace zt::desktop {

namespace {

constexpr const char* kRegistry = "AnagraficaHotels.mdb";

std::int64_t hotelNumber(const std::string& item) { return static_cast<std::int64_t>(std::trunc(val(left(item, 3)))); }

bool fourDigits(const std::string& y) {
    return y.size() == 4 && std::all_of(y.begin(), y.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void addInto(std::optional<double>& sum, const std::optional<double>& v) {
    if (v) sum = sum.value_or(0.0) + *v;
}

}  // namespace

std::vector<std::string> registryHotels(const std::filesystem::path& workDir) {
    std::vector<std::string> hotels;
    auto db = store::Database::open(workDir, kRegistry);
    auto rs = db.openTable("AnagraficaHotels");
    const std::string criterion = "Numero > 0";
    rs.findFirst(criterion);
    while (!rs.noMatch()) {
        hotels.push_back(padLeft(trim(rs.field("Numero").toText()), 3) + " " + rs.field("RagioneSociale").toText());
        rs.findNext(criterion);
    }
    rs.close();
    db.close();
    return hotels;
}

std::string chainDetailItem(const ProgramState& state, const std::string& statistic, const std::string& detail) {
    const auto names = store::statisticNames();
    if (std::find(names.begin(), names.end(), statistic) == names.end())
        throw ChainChoiceError(withArgs(translate("Chain", "Statistica sconosciuta: \"%1\"."), {statistic}));
    for (const auto& hotel : registryHotels(state.workDir)) {
        const auto items =
            store::detailList(state.workDir, static_cast<std::int16_t>(hotelNumber(hotel)), statistic);
        for (const auto& item : items)
            if (item == detail) return item;
        for (const auto& item : items) {
            const auto key = store::gridKey(statistic, item);
            if (key && key->hasDetail && key->detail == detail) return item;
        }
    }
    throw ChainChoiceError(
        withArgs(translate("Chain", "Dettaglio sconosciuto per \"%1\": \"%2\"."), {statistic, detail}));
}

ChainTable chainTable(const ProgramState& state, const std::string& statistic, const std::string& detailItem,
                      const std::string& year) {
    if (!fourDigits(year) || year < "1001" || year == "9999")
        throw ChainChoiceError(
            withArgs(translate("Chain", "Anno non valido: \"%1\" (quattro cifre, da 1001 a 9998)."), {year}));
    ChainTable t;
    t.statistic = statistic;
    t.detail = detailItem;
    t.year = year;
    t.money = store::gridShowsMoney(statistic, detailItem);
    const std::string previous = report::previousYearText(year);

    const auto hotels = registryHotels(state.workDir);
    std::vector<std::int64_t> numbers;
    for (const auto& item : hotels) numbers.push_back(hotelNumber(item));
    std::map<std::int64_t, std::map<std::string, store::MonthSums>> sums;
    if (const auto key = store::gridKey(statistic, detailItem)) {
        state.requireFigurePaths();
        sums = store::sumMonthsByHotel(state, *key, numbers, {year, previous});
    }
    std::array<double, 12> chainNow{}, chainBefore{};
    t.totalRow.name = translate("Chain", "Totale catena");
    for (const auto& item : hotels) {
        ChainRow row;
        row.hotel = hotelNumber(item);
        row.name = item;
        std::array<double, 12> now{}, before{};
        if (auto h = sums.find(row.hotel); h != sums.end()) {
            if (auto y = h->second.find(year); y != h->second.end()) row.months = y->second;
            if (auto p = h->second.find(previous); p != h->second.end())
                for (std::size_t m = 0; m < 12; ++m) before[m] = p->second[m].value_or(0.0);
        }
        for (std::size_t m = 0; m < 12; ++m) {
            now[m] = row.months[m].value_or(0.0);
            row.total += now[m];
            row.previousTotal += before[m];
            addInto(t.totalRow.months[m], row.months[m]);
            chainNow[m] += now[m];
            chainBefore[m] += before[m];
        }
        row.increase = report::yearIncrease(now, before);
        t.totalRow.total += row.total;
        t.totalRow.previousTotal += row.previousTotal;
        t.rows.push_back(std::move(row));
    }
    t.totalRow.increase = report::yearIncrease(chainNow, chainBefore);
    return t;
}

std::string chainAmount(const ChainTable& t, double v, const Separators& sep) {
    return t.money ? formatMoney(v, sep) : formatPlain(v, sep);
}

std::string chainCell(const ChainTable& t, const std::optional<double>& v, const Separators& sep) {
    return v ? chainAmount(t, *v, sep) : std::string("0");
}

std::string chainPercent(float increase) { return formatPercent(increase); }

std::vector<std::string> chainHeadings(const ChainTable& t) {
    std::vector<std::string> h{translate("Chain", "Albergo")};
    for (int m = 1; m <= 12; ++m) h.push_back(monthText(m));
    h.push_back(translate("Chain", "Totale"));
    h.push_back(withArgs(translate("Chain", "% su %1"), {report::previousYearText(t.year)}));
    return h;
}

std::vector<std::string> chainCells(const ChainTable& t, const ChainRow& row, const Separators& sep) {
    std::vector<std::string> c{row.name};
    for (const auto& m : row.months) c.push_back(chainCell(t, m, sep));
    c.push_back(chainAmount(t, row.total, sep));
    c.push_back(chainPercent(row.increase));
    return c;
}

namespace {

std::string joined(const std::vector<std::string>& cells, const std::string& between,
                   const std::function<std::string(const std::string&)>& cell) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) line += (i ? between : std::string()) + cell(cells[i]);
    return line;
}

std::string csvCell(const std::string& c, const std::string& fieldSeparator) {
    const bool quote = c.find_first_of(fieldSeparator + "\"\r\n") != std::string::npos;
    if (!quote) return c;
    std::string q = "\"";
    for (char ch : c) q += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return q + "\"";
}

}  // namespace

std::string chainText(const ChainTable& t, const Separators& sep) {
    const auto same = [](const std::string& c) { return c; };
    std::string out = joined(chainHeadings(t), "\t", same) + "\n";
    for (const auto& row : t.rows) out += joined(chainCells(t, row, sep), "\t", same) + "\n";
    out += joined(chainCells(t, t.totalRow, sep), "\t", same) + "\n";
    return out;
}

std::string chainCsv(const ChainTable& t, const std::string& fieldSeparator, const Separators& sep) {
    const auto cell = [&](const std::string& c) { return csvCell(c, fieldSeparator); };
    std::string out = joined(chainHeadings(t), fieldSeparator, cell) + "\r\n";
    for (const auto& row : t.rows) out += joined(chainCells(t, row, sep), fieldSeparator, cell) + "\r\n";
    out += joined(chainCells(t, t.totalRow, sep), fieldSeparator, cell) + "\r\n";
    return out;
}

}  // namespace zt::desktop
