#pragma once
// Where the two figure tables live: the figure files (`Zentoria.mdb`, `Dettaglio.mdb`,
// SQLite or Access, in the working folder or DIRSH) or the figure server
// (PostgreSQL, named by ZENTORIA_FIGURES_DB). The figure operations (operations.h) speak
// to this one seam in Jet SQL; each back end writes that SQL for its engine (the
// emitter's dialects, jet_emit.h) and runs it over its own connection, so the operations,
// the window and the commands do not know which one they talk to.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/state.h"
#include "store/figure_tables.h"
#include "store/value.h"

namespace zt::store {

// A row of a figure table as the year readers see it: its period (`AnnoMese` or
// `DataInserimento`) and its `Valore`.
struct FigureRow {
    std::string period;
    Value valore;
};

// One month of `Zentoria` to write: its `AnnoMese` and `Valore`.
struct MonthValue {
    std::string annoMese;
    Value valore;
};

class FigureStore {
public:
    virtual ~FigureStore() = default;

    // The period field and `Valore` of the rows of `table` ("Zentoria" or "Dettaglio")
    // meeting the Jet criterion, in table order; only the first when `firstOnly`.
    virtual std::vector<FigureRow> rows(std::string_view table, std::string_view periodField,
                                        const std::string& criterion, bool firstOnly) = 0;
    // The first field of the one row of a Jet query of sums over `Dettaglio`; nullopt
    // when it is null or there is no row.
    virtual std::optional<double> sum(const std::string& jetQuery) = 0;
    // The rows of a Jet query of grouped sums over `Dettaglio` (Select ... Group By ...),
    // each row's fields in the query's order, rows in no particular order.
    virtual std::vector<std::vector<Value>> groupedSums(const std::string& jetQuery) = 0;
    // Writes the months of one hotel, statistic and detail into `Zentoria`, each row
    // added or replaced as a whole, all in one transaction: every month or, on a
    // failure, none. `beforeMonth` (may be empty) is called before each month's row.
    virtual void writeMonths(std::int64_t hotel, std::string_view tipo, std::string_view detail,
                             const std::vector<MonthValue>& months,
                             const std::function<void(std::size_t index)>& beforeMonth) = 0;
};

// The figure tables as the program state and the setting place them: on the server
// while ZENTORIA_FIGURES_DB is set, otherwise in the figure files (after
// requireFigurePaths()).
std::unique_ptr<FigureStore> figureStore(const ProgramState& state);
// Each back end on its own.
std::unique_ptr<FigureStore> fileFigureStore(const ProgramState& state);
std::unique_ptr<FigureStore> serverFigureStore(const std::string& conninfo);

}  // namespace zt::store
