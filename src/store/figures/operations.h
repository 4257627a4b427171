#pragma once
// The two figure tables: `Zentoria` (the monthly summary this program writes, keyed by
// `AnnoMese`) and `Dettaglio` (written by the operational programs, dated by
// `DataInserimento`; only read here). Every operation asks the figure store
// (figure_store.h) for the tables: the figure files, each opened for the operation and
// closed again, or the figure server while ZENTORIA_FIGURES_DB is set, over one kept
// connection. The operations are the same Jet SQL for both.
//
// The database locations and the hotel number come from the program state
// (workDir, summaryDbPath, detailDbPath, hotelNumber).
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/state.h"
#include "store/figures/catalogue.h"
#include "store/figures/figure_store.h"
#include "store/value.h"

namespace zt::store {

// The month key: the year text as typed followed by the month as two digits
// ("2014", 3 -> "201403"). A month outside 1..12 is std::out_of_range.
std::string monthKey(std::string_view year, int month);

// Writes one month into `Zentoria`: finds the row of the hotel, `Tipo`, `Dettaglio` and
// month, adds it when there is none, sets NumeroHotel, Tipo, Dettaglio, AnnoMese and
// Valore, and saves it. The summary database is opened and closed once per call. On the
// server one statement adds or replaces the row by the table's unique key.
// Pass the value as a double ("&Registra") or as a Currency ("&Aggiorna").
void writeMonth(const ProgramState& state, std::string_view tipo, std::string_view detail,
                std::string_view year, int month, const Value& valore);

// Writes the twelve months of one detail into `Zentoria` as writeMonth does, in one
// open of the summary file and one transaction: all twelve or, on a failure, none. On
// the server, a reader sees the detail's months before or after, never half of them,
// and two writers of the same months at once leave one row each, of one of the writes.
// `beforeMonth` (may be empty) is called before each month's row is written.
void writeYear(const ProgramState& state, std::string_view tipo, std::string_view detail,
               std::string_view year, const std::array<Value, 12>& valori,
               const std::function<void(int month)>& beforeMonth = {});

// `Valore` of the `Zentoria` row of one month; nullopt when there is no such row.
std::optional<double> readMonth(const ProgramState& state, std::string_view tipo,
                                std::string_view detail, std::string_view year, int month);

// The `Zentoria` rows of the hotel, statistic and detail whose `AnnoMese` begins with
// the year, in table order. Without a detail clause, the rows of every detail.
std::vector<FigureRow> readSummaryYear(const ProgramState& state, const DetailKey& key,
                                       std::string_view year);
// The same from `Dettaglio`, by the first four characters of `DataInserimento`.
std::vector<FigureRow> readDetailYear(const ProgramState& state, const DetailKey& key,
                                      std::string_view year);

// Sum of `Valore` of `Dettaglio` for the hotel, statistic and month (and detail, when
// the key has one); nullopt when no row matches.
std::optional<double> sumMonth(const ProgramState& state, const DetailKey& key,
                               std::string_view year, int month);
// The same for a whole year.
std::optional<double> sumYear(const ProgramState& state, const DetailKey& key, std::string_view year);

// The monthly sums of `Dettaglio` of the hotels for a statistic (and detail, when the key
// has one) in each of `years` (four digits, below 9999), in one grouped query:
// hotel -> year -> twelve months, each month nullopt where no row matches (as sumMonth
// gives it for that hotel). Only the months 01-12 of the years asked for count.
using MonthSums = std::array<std::optional<double>, 12>;
std::map<std::int64_t, std::map<std::string, MonthSums>> sumMonthsByHotel(const ProgramState& state,
                                                                           const DetailKey& key,
                                                                           const std::vector<std::int64_t>& hotels,
                                                                           const std::vector<std::string>& years);

// Sum of the guest nights of one client type in a year over the rows of every hotel,
// as the client-type print batch counts them; nullopt when no row matches.
std::optional<double> sumClientTypeYearAllHotels(const ProgramState& state, std::string_view year,
                                                 std::string_view clientType);

}  // namespace zt::store
