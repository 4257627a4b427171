#include "desktop/recompute.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <set>
#include <tuple>

#include "common/text.h"
#include "store/catalogue.h"
#include "store/database.h"
#include "store/figures.h"

namespace zt::desktop {

namespace {

using Reason = LeftOutCard::Reason;
namespace chr = std::chrono;

bool allDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// One source query: the file is opened, the query run, the file closed. `VT` of the
// single row, nothing for a null sum.
Currency sumOf(const ProgramState& state, std::string_view file, const std::string& query) {
    auto db = store::Database::open(state.workDir, file);
    auto rs = db.openQuery(query);
    Currency total;
    if (!rs.eof()) {
        const store::Value vt = rs.field("VT");
        if (!vt.isNull()) {
            auto c = vt.toCurrency();
            if (!c)
                throw store::DbError(db.fileName(), "the sum \"VT\" is not an amount (" + vt.toText() + ")");
            total = *c;
        }
    }
    rs.close();
    db.close();
    return total;
}

// ---- "Produzione" --------------------------------------------------------------------

constexpr std::string_view kAccountFiles[] = {"Conto_Cliente.mdb", "ContoStoricoClienti.mdb", "ContoEsterni.mdb",
                                              "ContoEsterniStorico.mdb"};

Currency production(const ProgramState& state, const std::string& ym, const std::string& group) {
    // The month key and the group are bare numbers here: the year was checked to be four
    // digits and the group is the whole number cut from the entry.
    const std::string voices = "Select Codice From VociFattura in 'VociFattura.mdb' Where GruppoStatistico = " + group;
    Currency t;
    for (std::string_view file : kAccountFiles) {
        t += sumOf(state, file,
                   "Select Sum(Importo) as VT From Conto_Cliente In '" + std::string(file) +
                       "' Where mid$(DataAddebito,1,6) = " + ym + " and VoceAddebito In (" + voices + ")");
    }
    t += sumOf(state, "Fatture.mdb",
               "Select Sum(Importo) as VT From Incassi In 'Fatture.mdb' Where mid$(DataEmissione,1,6) = " + ym +
                   " and Val(Left$(Nota,4)) In (" + voices + ")");
    return t;
}

// ---- "Cassa" -------------------------------------------------------------------------

Currency cash(const ProgramState& state, const std::string& ym, const std::string& paymentType) {
    const std::string invoices =
        "(Select NDocumento From DatiFattura In 'Fatture.mdb' Where Annullato <> 'S' and CorrPagato > 0 and "
        "mid$(DataEmissione,1,6) = " + ym + ")";
    return sumOf(state, "Fatture.mdb",
                 "Select Sum(Importo) as VT From Incassi In 'Fatture.mdb' Where NDocumento In (" + invoices +
                     ") and mid$(DataEmissione,1,6) = " + ym + " and Sigla = " + sqlText(paymentType));
}

// ---- "Fatturato" ---------------------------------------------------------------------

// The voice is the whole number cut from the entry and goes in bare, as the month key.
Currency invoiced(const ProgramState& state, const std::string& ym, const std::string& voice) {
    auto pass = [&](const std::string& invoicesHead) {
        const std::string invoices = invoicesHead + ym + ")";
        return sumOf(state, "Fatture.mdb",
                     "Select Sum(Importo) as VT From DettaglioFattura In 'Fatture.mdb' Where NDocumento In " +
                         invoices + " and mid$(DataEmissione,1,6) = " + ym + " and CodiceVoce = " + voice);
    };
    // Every invoice but kind "A", then kind "N" taken off twice: "N" counts negatively.
    Currency t = pass("(Select NDocumento From DatiFattura In 'Fatture.mdb' Where Annullato <> 'S' and "
                      "ZentAcc <> 'A' and mid$(DataEmissione,1,6) = ");
    t -= pass("(Select NDocumento From DatiFattura In 'Fatture.mdb' Where Annullato <> 'S' and "
              "ZentAcc = 'N' and mid$(DataEmissione,1,6) = ") * 2;
    return t;
}

// ---- "Presenze" ----------------------------------------------------------------------

// An eight-digit text year, month, day that is a real calendar date.
std::optional<chr::sys_days> cardDate(const std::string& text) {
    if (text.size() != 8 || !allDigits(text)) return std::nullopt;
    const chr::year_month_day d{chr::year{std::stoi(text.substr(0, 4))},
                                chr::month{static_cast<unsigned>(std::stoi(text.substr(4, 2)))},
                                chr::day{static_cast<unsigned>(std::stoi(text.substr(6, 2)))}};
    if (!d.ok()) return std::nullopt;
    return chr::sys_days{d};
}

struct NightCount {
    const ProgramState& state;
    std::vector<LeftOutCard>& leftOut;
    std::set<std::tuple<std::string, std::string, std::string>> seen{};

    // A card that spans several months is returned by each month's query: it is
    // reported once per file and dates.
    void leaveOut(std::string_view file, const std::string& arrival, const std::string& departure, Reason reason,
                  int month) {
        if (!seen.emplace(std::string(file), arrival, departure).second) return;
        leftOut.push_back({std::string(file), arrival, departure, reason, month});
    }

    // The nights of one file's cards in the month: for each card, the days between the
    // later of its arrival and the first of the month and the earlier of its departure
    // and the first of the next month, on calendar dates.
    long pass(std::string_view file, std::string_view departureField, const std::string& ym, int year, int month) {
        const chr::sys_days first{chr::year{year} / chr::month{static_cast<unsigned>(month)} / chr::day{1}};
        const chr::sys_days next{chr::year_month_day{first} + chr::months{1}};
        const std::string dep(departureField);
        const std::string query = "Select DataArrivo," + dep + " From Scheda_Cliente In '" + std::string(file) +
                                  "' Where DataArrivo <= " + sqlText(ym + "31") + " and " + dep + " > " +
                                  sqlText(ym + "01") + " and Instr(Lingua,'*') = 0";
        auto db = store::Database::open(state.workDir, file);
        auto rs = db.openQuery(query);
        long nights = 0;
        const std::string_view criterion = "DataArrivo > ''";
        rs.findFirst(criterion);
        while (!rs.noMatch()) {
            const std::string arrival = rs.field("DataArrivo").toText();
            const std::string departure = rs.field(dep).toText();
            const auto a = cardDate(arrival);
            const auto p = cardDate(departure);
            if (!a || !p) {
                leaveOut(file, arrival, departure, Reason::InvalidDate, month);
            } else if (*p < *a) {
                leaveOut(file, arrival, departure, Reason::DepartureBeforeArrival, month);
            } else {
                const auto from = std::max(*a, first);
                const auto to = std::min(*p, next);
                if (to > from) nights += (to - from).count();
            }
            rs.findNext(criterion);
        }
        rs.close();
        db.close();
        return nights;
    }
};

const char* monthName(int m) { return (m >= 1 && m <= 12) ? kMonthNames[static_cast<std::size_t>(m - 1)] : "?"; }

std::string runTitle(const RecomputeResult& r) {
    return "Aggiornamento di \"" + r.statistic + "\" per il " + r.year;
}

// The last month written, as the messages name it; empty when nothing was written.
std::string lastWritten(const RecomputeResult& r) {
    for (auto it = r.details.rbegin(); it != r.details.rend(); ++it) {
        if (it->months.empty()) continue;
        return std::string(monthName(static_cast<int>(it->months.size()))) + " di \"" + trim(it->item) + "\"";
    }
    return "";
}

}  // namespace

int RecomputeResult::leftOutCount(LeftOutCard::Reason reason) const {
    return static_cast<int>(
        std::count_if(leftOut.begin(), leftOut.end(), [&](const LeftOutCard& c) { return c.reason == reason; }));
}

RecomputeError::RecomputeError(const std::string& message, RecomputeResult partial)
    : std::runtime_error(message), partial_(std::move(partial)) {}

bool Recompute::handles(std::string_view statistic) {
    return statistic == "Produzione" || statistic == "Cassa" || statistic == "Fatturato" || statistic == "Presenze";
}

std::optional<std::string> Recompute::yearProblem(std::string_view yearText) {
    if (yearText.size() == 4 && allDigits(yearText)) return std::nullopt;
    return "Anno non valido: \"" + std::string(yearText) + "\". Scrivere l'anno con quattro cifre.";
}

RecomputeResult Recompute::run(const ProgramState& state, std::string_view statistic,
                               const std::vector<std::string>& detailEntries, std::string_view yearText,
                               const RecomputeCallbacks& callbacks) const {
    RecomputeResult result;
    result.statistic = std::string(statistic);
    result.year = std::string(yearText);
    if (!handles(statistic)) return result;
    if (auto problem = yearProblem(yearText)) throw RecomputeError(*problem, result);

    const std::string year(yearText);
    const int yearNumber = std::stoi(year);
    const bool nights = statistic == "Presenze";

    // The details to recompute: "Presenze" once, on entry 0; the others every entry but
    // "<tutti>".
    struct Work {
        int listIndex;
        std::string item;
    };
    std::vector<Work> work;
    if (nights) {
        work.push_back({0, detailEntries.empty() ? std::string("Generale") : detailEntries.front()});
        if (!detailEntries.empty()) result.listIndex = 0;
    } else {
        for (std::size_t i = 0; i < detailEntries.size(); ++i)
            if (detailEntries[i] != store::kAllItem) work.push_back({static_cast<int>(i), detailEntries[i]});
    }

    NightCount nightCount{state, result.leftOut};
    RecomputeProgress progress;
    progress.detailCount = result.detailCount = static_cast<int>(work.size());
    try {
        for (std::size_t w = 0; w < work.size(); ++w) {
            const auto& [listIndex, item] = work[w];
            const auto key = store::aggiornaKey(statistic, item);  // every name here has one
            if (!nights) result.listIndex = listIndex;
            result.details.push_back({item, listIndex, key->detail, {}});
            progress.detailIndex = static_cast<int>(w) + 1;
            progress.listIndex = listIndex;
            progress.detailItem = item;

            for (int m = 1; m <= 12; ++m) {
                progress.month = m;
                if (callbacks.onProgress) callbacks.onProgress(progress);
                const std::string ym = store::monthKey(year, m);
                Currency t;
                if (statistic == "Produzione")
                    t = production(state, ym, key->detail);
                else if (statistic == "Cassa")
                    t = cash(state, ym, key->detail);
                else if (statistic == "Fatturato")
                    t = invoiced(state, ym, key->detail);
                else
                    t = Currency::fromTenThousandths(
                        (nightCount.pass("Scheda_Cliente.mdb", "DataPartenza", ym, yearNumber, m) +
                         nightCount.pass("SchedaStoricoClienti.mdb", "DataPartenzaReale", ym, yearNumber, m)) *
                        10000);

                store::writeMonth(state, key->tipo, key->detail, year, m, store::Value(t));
                result.details.back().months.push_back(t);
                if (callbacks.onMonthWritten) callbacks.onMonthWritten(item, m, t);

                const bool last = w + 1 == work.size() && m == 12;
                if (!last && callbacks.shouldCancel && callbacks.shouldCancel()) {
                    result.status = RecomputeResult::Status::Cancelled;
                    return result;
                }
            }
        }
    } catch (const std::exception& e) {
        const std::string where = lastWritten(result);
        std::string message = runTitle(result) + " interrotto a " + monthName(progress.month) + " di \"" +
                              trim(progress.detailItem) + "\": " + e.what() + "\n";
        message += where.empty() ? "Nessun mese registrato."
                                 : "I mesi già aggiornati restano registrati (ultimo: " + where + ").";
        throw RecomputeError(message, std::move(result));
    }
    result.status = RecomputeResult::Status::Finished;
    return result;
}

std::string recomputeMessage(const RecomputeResult& r) {
    std::string text;
    switch (r.status) {
        case RecomputeResult::Status::NotRecomputable:
            return "";
        case RecomputeResult::Status::Finished:
            text = runTitle(r) + " completato.";
            break;
        case RecomputeResult::Status::Cancelled:
            text = runTitle(r) + " interrotto dopo " + lastWritten(r) + " (dettaglio " +
                   std::to_string(r.details.size()) + " di " + std::to_string(r.detailCount) +
                   "). I mesi già aggiornati restano registrati.";
            break;
    }
    if (!r.leftOut.empty()) {
        text += "\nSchede escluse dal conteggio: " + std::to_string(r.leftOut.size()) + " (" +
                std::to_string(r.leftOutCount(Reason::DepartureBeforeArrival)) +
                " con partenza precedente all'arrivo, " + std::to_string(r.leftOutCount(Reason::InvalidDate)) +
                " con date non valide).";
    }
    return text;
}

}  // namespace zt::desktop
