#include "store/figures.h"

#include <stdexcept>

#include "common/text.h"
#include "store/database.h"

namespace zt::store {

namespace {

constexpr std::string_view kSummaryTable = "Zentoria";
constexpr std::string_view kDetailTable = "Dettaglio";

// "NumeroHotel = n and Tipo = 'tipo'": how every criterion on the figure tables begins.
std::string hotelAndTipo(const ProgramState& state, std::string_view tipo) {
    return "NumeroHotel = " + std::to_string(state.hotelNumber) + " and Tipo = " + sqlText(tipo);
}

std::string detailClause(const DetailKey& key) {
    return key.hasDetail ? " and Dettaglio = " + sqlText(key.detail) : std::string();
}

// Opens a figure file; nothing is opened when the figure paths could not be set.
Database openFigureFile(const ProgramState& state, const std::string& dbPath) {
    state.requireFigurePaths();
    return Database::open(state.workDir, dbPath);
}

// Runs an aggregate query and reads its single result field; nullopt for a null sum.
std::optional<double> querySum(const ProgramState& state, const std::string& query,
                               std::string_view field) {
    Database db = openFigureFile(state, state.detailDbPath);
    Recordset rs = db.openQuery(query);
    std::optional<double> result;
    if (!rs.eof()) {
        const Value v = rs.field(field);
        if (!v.isNull()) result = v.toDouble();
    }
    rs.close();
    db.close();
    return result;
}

// Walks the rows of a figure table that meet the criterion, in table order.
std::vector<FigureRow> readRows(const ProgramState& state, const std::string& dbPath,
                                std::string_view table, std::string_view periodField,
                                const std::string& criterion) {
    std::vector<FigureRow> rows;
    Database db = openFigureFile(state, dbPath);
    Recordset rs = db.openTable(table);
    rs.findFirst(criterion);
    while (!rs.noMatch()) {
        rows.push_back({rs.field(periodField).toText(), rs.field("Valore")});
        rs.findNext(criterion);
    }
    rs.close();
    db.close();
    return rows;
}

}  // namespace

std::string monthKey(std::string_view year, int month) {
    if (month < 1 || month > 12)
        throw std::out_of_range("month " + std::to_string(month) + " is not between 1 and 12");
    return std::string(year) + (month < 10 ? "0" : "") + std::to_string(month);
}

namespace {

// Finds the row of the month in the open `Zentoria` dynaset, adds it when there is none,
// and sets its five fields.
void putMonth(Recordset& rs, const ProgramState& state, std::string_view tipo, std::string_view detail,
              std::string_view year, int month, const Value& valore) {
    const std::string annoMese = monthKey(year, month);
    rs.findFirst(hotelAndTipo(state, tipo) +
                 " and Dettaglio = " + sqlText(detail) + " and AnnoMese = " + sqlText(annoMese));
    if (rs.noMatch())
        rs.addNew();
    else
        rs.edit();
    rs.setField("NumeroHotel", Value(static_cast<int>(state.hotelNumber)));
    rs.setField("Tipo", Value(std::string(tipo)));
    rs.setField("Dettaglio", Value(std::string(detail)));
    rs.setField("AnnoMese", Value(annoMese));
    rs.setField("Valore", valore);
    rs.update();
}

}  // namespace

void writeMonth(const ProgramState& state, std::string_view tipo, std::string_view detail,
                std::string_view year, int month, const Value& valore) {
    monthKey(year, month);  // a month outside 1..12 opens nothing
    Database db = openFigureFile(state, state.summaryDbPath);
    Recordset rs = db.openTable(kSummaryTable);
    putMonth(rs, state, tipo, detail, year, month, valore);
    rs.close();
    db.close();
}

void writeYear(const ProgramState& state, std::string_view tipo, std::string_view detail,
               std::string_view year, const std::array<Value, 12>& valori,
               const std::function<void(int month)>& beforeMonth) {
    Database db = openFigureFile(state, state.summaryDbPath);
    db.transaction([&] {
        Recordset rs = db.openTable(kSummaryTable);
        for (int m = 1; m <= 12; ++m) {
            if (beforeMonth) beforeMonth(m);
            putMonth(rs, state, tipo, detail, year, m, valori[static_cast<std::size_t>(m - 1)]);
        }
        rs.close();
    });
    db.close();
}

std::optional<double> readMonth(const ProgramState& state, std::string_view tipo,
                                std::string_view detail, std::string_view year, int month) {
    const std::string annoMese = monthKey(year, month);
    Database db = openFigureFile(state, state.summaryDbPath);
    Recordset rs = db.openTable(kSummaryTable);
    rs.findFirst(hotelAndTipo(state, tipo) +
                 " and AnnoMese = " + sqlText(annoMese) + " and Dettaglio = " + sqlText(detail));
    std::optional<double> result;
    if (!rs.noMatch()) result = rs.field("Valore").toDouble();
    rs.close();
    db.close();
    return result;
}

std::vector<FigureRow> readSummaryYear(const ProgramState& state, const DetailKey& key,
                                       std::string_view year) {
    return readRows(state, state.summaryDbPath, kSummaryTable, "AnnoMese",
                    hotelAndTipo(state, key.tipo) +
                        " and Left$(AnnoMese,4) = " + sqlText(year) + detailClause(key));
}

std::vector<FigureRow> readDetailYear(const ProgramState& state, const DetailKey& key,
                                      std::string_view year) {
    return readRows(state, state.detailDbPath, kDetailTable, "DataInserimento",
                    hotelAndTipo(state, key.tipo) +
                        " and Left$(DataInserimento,4) = " + sqlText(year) + detailClause(key));
}

namespace {

// The sum of `Dettaglio` over the dates whose first `length` characters are `period`: a
// month ("201403", 6) or a year ("2014", 4).
std::optional<double> sumDetail(const ProgramState& state, const DetailKey& key, int length,
                                const std::string& period) {
    return querySum(state,
                    "Select Sum(Valore) as VD From Dettaglio Where " + hotelAndTipo(state, key.tipo) +
                        " and Left$(DataInserimento," + std::to_string(length) + ") = " + sqlText(period) +
                        detailClause(key),
                    "VD");
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
    return querySum(state,
                    "Select Sum(Valore) as Ris From Dettaglio Where Left(DataInserimento,4) = " +
                        sqlText(year) + " and Tipo = " + sqlText("PresenzeTip") + " and Dettaglio = " +
                        sqlText(clientType) + ";",
                    "Ris");
}

}  // namespace zt::store
