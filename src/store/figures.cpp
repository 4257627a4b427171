#include "store/figures.h"

#include <stdexcept>

#include "common/text.h"
#include "store/database.h"

namespace zt::store {

namespace {

constexpr std::string_view kSummaryTable = "Zentoria";
constexpr std::string_view kDetailTable = "Dettaglio";

// "NumeroHotel = n and Tipo = 'tipo'": how every criterion on the figure tables begins.
std::string hotelAndTipo(std::int64_t hotel, std::string_view tipo) {
    return "NumeroHotel = " + std::to_string(hotel) + " and Tipo = " + sqlText(tipo);
}
std::string hotelAndTipo(const ProgramState& state, std::string_view tipo) {
    return hotelAndTipo(state.hotelNumber, tipo);
}

std::string detailClause(const DetailKey& key) {
    return key.hasDetail ? " and Dettaglio = " + sqlText(key.detail) : std::string();
}

// The figure files: each operation opens the file it needs, works and closes it.
class FileFigureStore : public FigureStore {
public:
    explicit FileFigureStore(const ProgramState& state) : state_(state) {}

    std::vector<FigureRow> rows(std::string_view table, std::string_view periodField, const std::string& criterion,
                                bool firstOnly) override {
        std::vector<FigureRow> rows;
        Database db = open(table == kSummaryTable ? state_.summaryDbPath : state_.detailDbPath);
        Recordset rs = db.openTable(table);
        rs.findFirst(criterion);
        while (!rs.noMatch()) {
            rows.push_back({rs.field(periodField).toText(), rs.field("Valore")});
            if (firstOnly) break;
            rs.findNext(criterion);
        }
        rs.close();
        db.close();
        return rows;
    }

    std::optional<double> sum(const std::string& jetQuery) override {
        Database db = open(state_.detailDbPath);
        Recordset rs = db.openQuery(jetQuery);
        std::optional<double> result;
        if (!rs.eof()) {
            const Value v = rs.field(rs.fieldNames().at(0));
            if (!v.isNull()) result = v.toDouble();
        }
        rs.close();
        db.close();
        return result;
    }

    // Finds each month's row in the open `Zentoria` dynaset, adds it when there is none,
    // and sets its five fields; one transaction.
    void writeMonths(std::int64_t hotel, std::string_view tipo, std::string_view detail,
                     const std::vector<MonthValue>& months,
                     const std::function<void(std::size_t index)>& beforeMonth) override {
        Database db = open(state_.summaryDbPath);
        db.transaction([&] {
            Recordset rs = db.openTable(kSummaryTable);
            for (std::size_t i = 0; i < months.size(); ++i) {
                if (beforeMonth) beforeMonth(i);
                const auto& month = months[i];
                rs.findFirst(hotelAndTipo(hotel, tipo) + " and Dettaglio = " + sqlText(detail) +
                             " and AnnoMese = " + sqlText(month.annoMese));
                if (rs.noMatch())
                    rs.addNew();
                else
                    rs.edit();
                rs.setField("NumeroHotel", Value(hotel));
                rs.setField("Tipo", Value(std::string(tipo)));
                rs.setField("Dettaglio", Value(std::string(detail)));
                rs.setField("AnnoMese", Value(month.annoMese));
                rs.setField("Valore", month.valore);
                rs.update();
            }
            rs.close();
        });
        db.close();
    }

private:
    Database open(const std::string& dbPath) { return Database::open(state_.workDir, dbPath); }
    const ProgramState& state_;
};

}  // namespace

std::unique_ptr<FigureStore> fileFigureStore(const ProgramState& state) {
    return std::make_unique<FileFigureStore>(state);
}

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
        kSummaryTable, "AnnoMese",
        hotelAndTipo(state, tipo) + " and AnnoMese = " + sqlText(annoMese) + " and Dettaglio = " + sqlText(detail),
        /*firstOnly=*/true);
    if (rows.empty()) return std::nullopt;
    return rows.front().valore.toDouble();
}

std::vector<FigureRow> readSummaryYear(const ProgramState& state, const DetailKey& key,
                                       std::string_view year) {
    return figureStore(state)->rows(
        kSummaryTable, "AnnoMese",
        hotelAndTipo(state, key.tipo) + " and Left$(AnnoMese,4) = " + sqlText(year) + detailClause(key), false);
}

std::vector<FigureRow> readDetailYear(const ProgramState& state, const DetailKey& key,
                                      std::string_view year) {
    return figureStore(state)->rows(
        kDetailTable, "DataInserimento",
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

std::optional<double> sumClientTypeYearAllHotels(const ProgramState& state, std::string_view year,
                                                 std::string_view clientType) {
    return figureStore(state)->sum("Select Sum(Valore) as Ris From Dettaglio Where Left(DataInserimento,4) = " +
                                   sqlText(year) + " and Tipo = " + sqlText("PresenzeTip") + " and Dettaglio = " +
                                   sqlText(clientType) + ";");
}

}  // namespace zt::store
