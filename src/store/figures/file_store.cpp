// The figure tables in the figure files (`Zentoria.mdb`, `Dettaglio.mdb`, SQLite or
// Access, in the working folder or DIRSH): the back end of figure_store.h over the
// database layer. Each operation opens the file it needs, works and closes it.
#include "common/text.h"
#include "store/figure_tables.h"
#include "store/figures/figure_store.h"
#include "store/sqlite/database.h"

namespace zt::store {

namespace {

// The figure files: each operation opens the file it needs, works and closes it.
class FileFigureStore : public FigureStore {
public:
    explicit FileFigureStore(const ProgramState& state) : state_(state) {}

    std::vector<FigureRow> rows(std::string_view table, std::string_view periodField, const std::string& criterion,
                                bool firstOnly) override {
        std::vector<FigureRow> rows;
        Database db = open(table == kSummaryTable.table ? state_.summaryDbPath : state_.detailDbPath);
        Recordset rs = db.openTable(table);
        rs.findFirst(criterion);
        while (!rs.noMatch()) {
            rows.push_back({rs.field(periodField).toText(), rs.field(field::kValore)});
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

    std::vector<std::vector<Value>> groupedSums(const std::string& jetQuery) override {
        Database db = open(state_.detailDbPath);
        Recordset rs = db.openQuery(jetQuery);
        const auto names = rs.fieldNames();
        std::vector<std::vector<Value>> rows;
        for (; !rs.eof(); rs.moveNext()) {
            std::vector<Value> row;
            for (const auto& n : names) row.push_back(rs.field(n));
            rows.push_back(std::move(row));
        }
        rs.close();
        db.close();
        return rows;
    }

    // Finds each month's row in the open `Zentoria` dynaset, adds it when there is none,
    // and sets its five fields; one transaction.
    void writeMonths(std::int64_t hotel, std::string_view tipo, std::string_view detail,
                     const std::vector<MonthValue>& months,
                     const std::function<void(std::size_t index)>& beforeMonth) override {
        Database db = open(state_.summaryDbPath);
        db.transaction([&] {
            Recordset rs = db.openTable(kSummaryTable.table);
            for (std::size_t i = 0; i < months.size(); ++i) {
                if (beforeMonth) beforeMonth(i);
                const auto& month = months[i];
                rs.findFirst(hotelAndTipo(hotel, tipo) + " and Dettaglio = " + sqlText(detail) +
                             " and AnnoMese = " + sqlText(month.annoMese));
                if (rs.noMatch())
                    rs.addNew();
                else
                    rs.edit();
                rs.setField(field::kHotel, Value(hotel));
                rs.setField(field::kTipo, Value(std::string(tipo)));
                rs.setField(field::kDettaglio, Value(std::string(detail)));
                rs.setField(field::kAnnoMese, Value(month.annoMese));
                rs.setField(field::kValore, month.valore);
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

}  // namespace zt::store
