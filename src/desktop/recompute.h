#pragma once
// The recompute behind "&Aggiorna": the monthly figures of "Produzione", "Cassa",
// "Fatturato" and "Presenze" rebuilt for one year from the hotel's operational files in
// the working folder (accounts, invoices, guest cards) and written detail by detail into
// `Zentoria`. Plain C++: the window and the command line drive it through callbacks that
// show each month as soon as it is written, show progress and ask whether to stop.
//
// What it does, in order:
//   - a statistic other than the four: nothing is read or written;
//   - a year that is not four digits: refused with a RecomputeError before anything is
//     read or written (the year goes into the queries as a bare number);
//   - "Produzione", "Cassa", "Fatturato": every detail entry except "<tutti>", wherever
//     it stands in the list, for months 1 to 12; "Presenze": the twelve months once,
//     written under the detail "Generale".
// Each source file is read once for the year (one grouped query, or one walk of the
// year's guest cards) and the sums spread over the details in memory; the twelve months
// of a detail are written in one transaction (store::writeYear). A failure or a cancel
// leaves every detail already written in place, complete, and nothing of the next.
// The per-month queries the recompute was first written with (one query per source
// file, month and detail) are kept as Path::PerMonthQueries: the reference the tests
// check the one pass against, and the benchmarks measure.
#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/currency.h"
#include "common/state.h"

namespace zt::desktop {

// Where the recompute stands, reported before each month.
struct RecomputeProgress {
    int detailIndex = 0;     // 1 .. detailCount: the detail being recomputed
    int detailCount = 0;     // how many details this run recomputes
    int listIndex = 0;       // the detail's index in the detail list (the entry to show)
    std::string detailItem;  // the detail list's entry
    int month = 0;           // 1 .. 12
};

struct RecomputeCallbacks {
    // A month has been written: the caller shows the value in month field `month`.
    std::function<void(const std::string& detailItem, int month, Currency value)> onMonthWritten;
    // Before each month is written, and while the sources are read (then on the first
    // month of the first detail, after each file).
    std::function<void(const RecomputeProgress&)> onProgress;
    // Asked after each source file read and after each detail written; true stops the
    // run there (the details written so far stay written, complete).
    std::function<bool()> shouldCancel;
};

// A guest card the night count left out.
struct LeftOutCard {
    enum class Reason { DepartureBeforeArrival, InvalidDate };
    std::string file;       // "Scheda_Cliente.mdb" or "SchedaStoricoClienti.mdb"
    std::string arrival;    // the card's texts as read
    std::string departure;
    Reason reason = Reason::InvalidDate;
    int firstMonth = 0;     // the first month of the run whose query returned the card
};

struct RecomputedDetail {
    std::string item;             // the detail list's entry
    int listIndex = 0;            // its index in the detail list
    std::string code;             // the `Dettaglio` written
    std::vector<Currency> months; // the twelve values written, from January on
};

struct RecomputeResult {
    enum class Status {
        NotRecomputable,  // a statistic other than the four: nothing read or written
        Finished,
        Cancelled,        // stopped by shouldCancel after the last detail in `details`
    };
    Status status = Status::NotRecomputable;
    std::string statistic;
    std::string year;
    int detailCount = 0;  // how many details the run was to recompute
    std::vector<RecomputedDetail> details;
    // The entry the detail list is left on: the last detail processed, entry 0 for
    // "Presenze"; nullopt when the list was not touched.
    std::optional<int> listIndex;
    // "Presenze": the cards that counted no nights, each once per file and dates.
    std::vector<LeftOutCard> leftOut;

    int leftOutCount(LeftOutCard::Reason reason) const;
};

// The run stopped on an error (a missing source file, a rejected query, a failed write)
// or refused to start (a year that is not four digits). The message names the cause and,
// when something was written, where the run stopped; partial() holds what was written.
class RecomputeError : public std::runtime_error {
public:
    RecomputeError(const std::string& message, RecomputeResult partial);
    const RecomputeResult& partial() const { return partial_; }

private:
    RecomputeResult partial_;
};

class Recompute {
public:
    enum class Path {
        OnePass,          // what "&Aggiorna" runs
        PerMonthQueries,  // the reference: one query per source file, month and detail
    };
    explicit Recompute(Path path = Path::OnePass) : path_(path) {}

    // Whether "&Aggiorna" recomputes this statistic ("Produzione", "Cassa", "Fatturato",
    // "Presenze").
    static bool handles(std::string_view statistic);
    // Why a year text cannot be used; nullopt for four digits.
    static std::optional<std::string> yearProblem(std::string_view yearText);

    // Runs the recompute for the statistic over the detail list's entries and the year
    // typed in the year field. The hotel, the working folder and the summary file come
    // from the state. Throws RecomputeError as described above.
    RecomputeResult run(const ProgramState& state, std::string_view statistic,
                        const std::vector<std::string>& detailEntries, std::string_view yearText,
                        const RecomputeCallbacks& callbacks = {}) const;

private:
    Path path_;
};

// What the user is told at the end: done, or where the run stopped, and for
// "Presenze" how many cards were left out and why. Empty for NotRecomputable.
std::string recomputeMessage(const RecomputeResult& result);

}  // namespace zt::desktop
