#include "desktop/recompute.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "common/text.h"
#include "common/translate.h"
#include "store/figures/catalogue.h"
#include "store/sqlite/database.h"
#include "store/figures/operations.h"
#include "store/postgres/pg_connection.h"
#include "store/access/jet_guard.h"
#include "store/dialect/jet_text.h"

namespace zt::desktop {

namespace {

using Reason = LeftOutCard::Reason;
namespace chr = std::chrono;

bool allDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The statistics "&Aggiorna" recomputes, and what each is computed from.
enum class Kind { Production, Cash, Invoiced, Nights };
struct Recomputable {
    std::string_view statistic;
    Kind kind;
};
constexpr Recomputable kRecomputable[] = {
    {"Produzione", Kind::Production}, {"Cassa", Kind::Cash}, {"Fatturato", Kind::Invoiced}, {"Presenze", Kind::Nights}};

std::optional<Kind> kindOf(std::string_view statistic) {
    for (const auto& r : kRecomputable)
        if (r.statistic == statistic) return r.kind;
    return std::nullopt;
}

// A guest card counts unless its `Lingua` holds "*". A card whose `Lingua` is null
// counts too (Instr of a null is null, which would leave it out).
constexpr std::string_view kNotMarked = "(Lingua Is Null Or Instr(Lingua,'*') = 0)";

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
                throw store::DbError(db.fileName(),
                                     withArgs(translate("Store", "the sum \"VT\" is not an amount (%1)"), {vt.toText()}));
            total = *c;
        }
    }
    rs.close();
    db.close();
    return total;
}

// =====================================================================================
// The per-month queries: one source query per file, month and detail, as the recompute
// was first written. The reference the one pass is checked against.
// =====================================================================================

// ---- "Produzione", per month --------------------------------------------------------------------

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
                                  sqlText(ym + "01") + " and " + std::string(kNotMarked);
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


// =====================================================================================
// The one pass: each source file read once for the year, by one grouped query (or one
// walk of the year's cards), the results spread over the details in memory. Every
// comparison that decides whether a row counts is made by the same expression as in
// the per-month queries, or, where it is made here, the way the database layer makes
// it (docs/RECOMPUTE.md).
// =====================================================================================

// A value as a number the way the layer compares a text with a number: a number is
// itself; a text with blanks around a number is that number; anything else (null, a
// text that is not a number) matches nothing.
std::optional<double> jetNumber(const store::Value& v) {
    if (v.isInteger()) return static_cast<double>(std::get<std::int64_t>(v.raw()));
    if (v.isDouble()) return std::get<double>(v.raw());
    if (!v.isText()) return std::nullopt;
    std::string t = trim(std::get<std::string>(v.raw()));
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    if (t.empty()) return std::nullopt;
    const char* first = t.data();
    const char* last = t.data() + t.size();
    long long i = 0;
    if (auto [end, ec] = std::from_chars(first, last, i); ec == std::errc() && end == last)
        return static_cast<double>(i);
    double d = 0;
    if (auto [end, ec] = std::from_chars(first, last, d, std::chars_format::general);
        ec == std::errc() && end == last && std::isfinite(d))
        return d;
    return std::nullopt;
}

// The month 1..12 whose key `mid$(Field,1,6) = YYYYMM` the value of `mid$(Field,1,6)`
// meets; 0 for none.
int monthOfKey(const store::Value& key, int year) {
    const auto n = jetNumber(key);
    if (!n) return 0;
    for (int m = 1; m <= 12; ++m)
        if (*n == static_cast<double>(year) * 100 + m) return m;
    return 0;
}

class OnePass {
public:
    OnePass(const ProgramState& state, std::string year, std::vector<LeftOutCard>& leftOut)
        : state_(state), year_(std::move(year)), yearNumber_(std::stoi(year_)), leftOut_(leftOut) {}

    // Reads the sources of the statistic for the year; `step` is called after each file
    // read and returns false to stop. Returns false when stopped.
    bool read(Kind kind, const std::vector<std::string>& details, const std::function<bool()>& step) {
        // Two entries of the same code have the same months: each code is summed once.
        std::vector<std::string> codes;
        for (const auto& c : details)
            if (totals_.try_emplace(c).second) codes.push_back(c);
        switch (kind) {
            case Kind::Production: return production(codes, step);
            case Kind::Cash: return cash(codes, step);
            case Kind::Invoiced: return invoiced(codes, step);
            case Kind::Nights: break;
        }
        return nights(step);
    }

    Currency month(const std::string& code, int m) const {
        const auto it = totals_.find(code);
        return it == totals_.end() ? Currency() : it->second[static_cast<std::size_t>(m - 1)];
    }

private:
    using Months = std::array<double, 12>;

    const ProgramState& state_;
    std::string year_;
    int yearNumber_;
    std::vector<LeftOutCard>& leftOut_;
    std::map<std::string, std::array<Currency, 12>> totals_;

    // The condition that keeps a source's rows to the year's: a range over the date
    // field, which a date index serves. Every row whose month key is one of the year's
    // meets it; a year written with a leading zero compares as a number and keeps all.
    std::string yearCondition(std::string_view field) const {
        if (year_[0] == '0') return "";
        return " Where mid$(" + std::string(field) + ",1,4) = " + year_;
    }
    std::string andYear(std::string_view field) const {
        const std::string c = yearCondition(field);
        return c.empty() ? " Where " : c + " and ";
    }

    // One grouped query on one file; `row` receives each group's row.
    void grouped(std::string_view file, const std::string& query, const std::function<void(store::Recordset&)>& row) {
        auto db = store::Database::open(state_.workDir, file);
        auto rs = db.openQuery(query);
        for (; !rs.eof(); rs.moveNext()) row(rs);
        rs.close();
        db.close();
    }

    static double sumOf(const store::Value& v) { return v.isNull() ? 0.0 : v.toDouble(); }

    // A month's sum of one file as the per-month query gives it, as an amount.
    static Currency amount(std::string_view file, double sum) {
        if (sum == 0) return {};
        const auto c = Currency::fromDouble(sum);
        if (!c)
            throw store::DbError(std::string(file), withArgs(translate("Store", "the sum \"VT\" is not an amount (%1)"),
                                                             {std::to_string(sum)}));
        return *c;
    }

    void add(const std::string& code, std::string_view file, const Months& sums, int sign = 1) {
        auto& t = totals_[code];
        for (std::size_t i = 0; i < 12; ++i) t[i] += amount(file, sums[i]) * sign;
    }

    // The details' codes as the numbers the queries compare them as.
    static std::vector<std::optional<double>> numbers(const std::vector<std::string>& codes) {
        std::vector<std::optional<double>> out;
        for (const auto& c : codes) out.push_back(jetNumber(store::Value(c)));
        return out;
    }

    // ---- "Produzione" ----------------------------------------------------------------

    bool production(const std::vector<std::string>& codes, const std::function<bool()>& step) {
        // The voices of each group: `VoceAddebito In (Select Codice From VociFattura
        // Where GruppoStatistico = G)` compares numbers.
        const auto groups = numbers(codes);
        std::map<double, std::vector<std::size_t>> detailsOfVoice;
        {
            std::vector<std::set<double>> voices(codes.size());
            grouped("VociFattura.mdb", "Select Codice, GruppoStatistico From VociFattura", [&](store::Recordset& rs) {
                const auto code = jetNumber(rs.field("Codice"));
                const auto group = jetNumber(rs.field("GruppoStatistico"));
                if (!code || !group) return;
                for (std::size_t d = 0; d < codes.size(); ++d)
                    if (groups[d] && *groups[d] == *group) voices[d].insert(*code);
            });
            for (std::size_t d = 0; d < codes.size(); ++d)
                for (double v : voices[d]) detailsOfVoice[v].push_back(d);
        }
        if (!step()) return false;

        // Each file's sums by month and voice, spread over the groups the voice is in.
        auto spread = [&](std::string_view file, const std::string& query) {
            std::vector<Months> sums(codes.size(), Months{});
            grouped(file, query, [&](store::Recordset& rs) {
                const int m = monthOfKey(rs.field("M"), yearNumber_);
                const auto voice = jetNumber(rs.field("V"));
                if (!m || !voice) return;
                const auto it = detailsOfVoice.find(*voice);
                if (it == detailsOfVoice.end()) return;
                const double vt = sumOf(rs.field("VT"));
                for (std::size_t d : it->second) sums[d][static_cast<std::size_t>(m - 1)] += vt;
            });
            for (std::size_t d = 0; d < codes.size(); ++d) add(codes[d], file, sums[d]);
        };
        for (std::string_view file : kAccountFiles) {
            spread(file, "Select mid$(DataAddebito,1,6) as M, VoceAddebito as V, Sum(Importo) as VT From Conto_Cliente" +
                             yearCondition("DataAddebito") + " Group By mid$(DataAddebito,1,6), VoceAddebito");
            if (!step()) return false;
        }
        // The receipts whose note begins with a voice of the group.
        spread("Fatture.mdb", "Select mid$(DataEmissione,1,6) as M, Val(Left$(Nota,4)) as V, Sum(Importo) as VT "
                              "From Incassi" +
                                  yearCondition("DataEmissione") +
                                  " Group By mid$(DataEmissione,1,6), Val(Left$(Nota,4))");
        return step();
    }

    // ---- the invoices ----------------------------------------------------------------

    // `NDocumento In (Select NDocumento From DatiFattura Where <c> and
    // mid$(DataEmissione,1,6) = YYYYMM) and mid$(DataEmissione,1,6) = YYYYMM` for every
    // month at once: the row's month key and invoice number among the invoices' of the
    // same month.
    std::string invoiceOfItsMonth(const std::string& invoiceCondition) const {
        return "NDocumento Is Not Null and mid$(DataEmissione,1,6) & '|' & NDocumento In (Select "
               "mid$(DataEmissione,1,6) & '|' & NDocumento From DatiFattura Where " +
               invoiceCondition + (year_[0] == '0' ? "" : " and mid$(DataEmissione,1,4) = " + year_) + ")";
    }

    // ---- "Cassa" ---------------------------------------------------------------------

    bool cash(const std::vector<std::string>& codes, const std::function<bool()>& step) {
        // `Sigla = 'S'` compares as Jet compares texts, without regard to case: a code
        // takes the receipts of every spelling of it.
        std::map<std::string, std::vector<std::string>> byFolded;
        for (const auto& c : codes) byFolded[store::jet::foldText(c)].push_back(c);
        std::map<std::string, Months> sums;
        grouped("Fatture.mdb",
                "Select mid$(DataEmissione,1,6) as M, Sigla as S, Sum(Importo) as VT From Incassi" +
                    andYear("DataEmissione") + invoiceOfItsMonth("Annullato <> 'S' and CorrPagato > 0") +
                    " Group By mid$(DataEmissione,1,6), Sigla",
                [&](store::Recordset& rs) {
                    const int m = monthOfKey(rs.field("M"), yearNumber_);
                    const store::Value sigla = rs.field("S");
                    if (!m || !sigla.isText()) return;
                    const auto it = byFolded.find(store::jet::foldText(sigla.toText()));
                    if (it == byFolded.end()) return;
                    const auto vt = sumOf(rs.field("VT"));
                    for (const auto& code : it->second) sums[code][static_cast<std::size_t>(m - 1)] += vt;
                });
        for (const auto& c : codes) add(c, "Fatture.mdb", sums[c]);
        return step();
    }

    // ---- "Fatturato" -----------------------------------------------------------------

    bool invoiced(const std::vector<std::string>& codes, const std::function<bool()>& step) {
        const auto voices = numbers(codes);
        std::vector<Months> all(codes.size(), Months{}), kindN(codes.size(), Months{});
        // Every invoice but kind "A"; among them, the lines of kind "N" summed apart.
        grouped("Fatture.mdb",
                "Select mid$(DataEmissione,1,6) as M, CodiceVoce as V, Sum(Importo) as VT, Sum(IIf(" +
                    invoiceOfItsMonth("Annullato <> 'S' and ZentAcc = 'N'") +
                    ", Importo, 0)) as VN From DettaglioFattura" + andYear("DataEmissione") +
                    invoiceOfItsMonth("Annullato <> 'S' and ZentAcc <> 'A'") +
                    " Group By mid$(DataEmissione,1,6), CodiceVoce",
                [&](store::Recordset& rs) {
                    const int m = monthOfKey(rs.field("M"), yearNumber_);
                    const auto voice = jetNumber(rs.field("V"));  // `CodiceVoce = G`
                    if (!m || !voice) return;
                    for (std::size_t d = 0; d < codes.size(); ++d) {
                        if (!voices[d] || *voices[d] != *voice) continue;
                        all[d][static_cast<std::size_t>(m - 1)] += sumOf(rs.field("VT"));
                        kindN[d][static_cast<std::size_t>(m - 1)] += sumOf(rs.field("VN"));
                    }
                });
        for (std::size_t d = 0; d < codes.size(); ++d) {
            add(codes[d], "Fatture.mdb", all[d]);
            add(codes[d], "Fatture.mdb", kindN[d], -2);  // kind "N" counts negatively
        }
        return step();
    }

    // ---- "Presenze" ------------------------------------------------------------------

    bool nights(const std::function<bool()>& step) {
        struct Pass {
            std::string_view file, departure;
        };
        constexpr Pass kPasses[] = {{"Scheda_Cliente.mdb", "DataPartenza"},
                                    {"SchedaStoricoClienti.mdb", "DataPartenzaReale"}};
        std::array<long, 12> count{};
        std::array<chr::sys_days, 13> firsts;
        for (int m = 1; m <= 13; ++m)
            firsts[static_cast<std::size_t>(m - 1)] =
                chr::sys_days{chr::year{yearNumber_ + (m - 1) / 12} / chr::month{static_cast<unsigned>((m - 1) % 12 + 1)} /
                              chr::day{1}};
        std::array<std::string, 12> lastDay, firstDay;
        for (int m = 1; m <= 12; ++m) {
            const std::string ym = store::monthKey(year_, m);
            lastDay[static_cast<std::size_t>(m - 1)] = ym + "31";
            firstDay[static_cast<std::size_t>(m - 1)] = ym + "01";
        }
        std::vector<LeftOutCard> refused;
        for (const auto& pass : kPasses) {
            const std::string file(pass.file), dep(pass.departure);
            // The cards of any month of the year (arrived by the last month's 31st, gone
            // after the first month's 1st), counted by arrival and departure: cards of
            // the same dates count the same nights.
            const std::string query = "Select DataArrivo," + dep + ", Count(*) as N From Scheda_Cliente Where "
                                      "DataArrivo <= " + sqlText(lastDay[11]) + " and " + dep + " > " +
                                      sqlText(firstDay[0]) + " and DataArrivo > '' and " + std::string(kNotMarked) +
                                      " Group By DataArrivo," + dep;
            grouped(file, query, [&](store::Recordset& rs) {
                const store::Value av = rs.field("DataArrivo");
                const store::Value pv = rs.field(dep);
                if (!av.isText() || !pv.isText()) return;  // a number is never between two texts
                const std::string& arrival = std::get<std::string>(av.raw());
                const std::string& departure = std::get<std::string>(pv.raw());
                const long cards = rs.field("N").toInteger();
                const auto a = cardDate(arrival);
                const auto p = cardDate(departure);
                for (int m = 1; m <= 12; ++m) {
                    const auto i = static_cast<std::size_t>(m - 1);
                    // The month's query: `DataArrivo <= 'YYYYMM31' and departure > 'YYYYMM01'`.
                    if (!(arrival <= lastDay[i] && departure > firstDay[i])) continue;
                    if (!a || !p || *p < *a) {
                        // Reported once, with the first month whose query returns it.
                        refused.push_back({file, arrival, departure,
                                           (!a || !p) ? Reason::InvalidDate : Reason::DepartureBeforeArrival, m});
                        break;
                    }
                    const auto from = std::max(*a, firsts[i]);
                    const auto to = std::min(*p, firsts[i + 1]);
                    if (to > from) count[i] += (to - from).count() * cards;
                }
            });
            if (!step()) return false;
        }
        // In the order the per-month walks meet them: by month, then file.
        std::stable_sort(refused.begin(), refused.end(),
                         [](const LeftOutCard& x, const LeftOutCard& y) { return x.firstMonth < y.firstMonth; });
        leftOut_.insert(leftOut_.end(), refused.begin(), refused.end());
        auto& t = totals_["Generale"];
        for (std::size_t i = 0; i < 12; ++i) t[i] = Currency::fromTenThousandths(count[i] * 10000);
        return true;
    }
};

std::string monthName(int m) { return monthText(m); }

std::string runTitle(const RecomputeResult& r) {
    return withArgs(translate("Recompute", "Aggiornamento di \"%1\" per il %2"), {r.statistic, r.year});
}

// The last month written, as the messages name it; empty when nothing was written.
std::string lastWritten(const RecomputeResult& r) {
    for (auto it = r.details.rbegin(); it != r.details.rend(); ++it) {
        if (it->months.empty()) continue;
        return withArgs(translate("Recompute", "%1 di \"%2\""),
                        {monthName(static_cast<int>(it->months.size())), trim(it->item)});
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

bool Recompute::handles(std::string_view statistic) { return kindOf(statistic).has_value(); }

std::optional<std::string> Recompute::yearProblem(std::string_view yearText) {
    if (yearText.size() == 4 && allDigits(yearText)) return std::nullopt;
    return withArgs(translate("Recompute", "Anno non valido: \"%1\". Scrivere l'anno con quattro cifre."),
                    {std::string(yearText)});
}

namespace {

// A detail to recompute: its entry in the detail list and its key in `Zentoria`.
struct Work {
    int listIndex;
    std::string item;
    store::DetailKey key;
};

// The details to recompute: "Presenze" once, on entry 0; the others every entry but
// "<tutti>".
std::vector<Work> workList(Kind kind, std::string_view statistic, const std::vector<std::string>& detailEntries) {
    std::vector<Work> work;
    if (kind == Kind::Nights) {
        const std::string item = detailEntries.empty() ? std::string("Generale") : detailEntries.front();
        work.push_back({0, item, *store::aggiornaKey(statistic, item)});
        return work;
    }
    for (std::size_t i = 0; i < detailEntries.size(); ++i)
        if (detailEntries[i] != store::kAllItem)
            work.push_back({static_cast<int>(i), detailEntries[i], *store::aggiornaKey(statistic, detailEntries[i])});
    return work;
}

// One month of one detail by the per-month queries (the reference path).
Currency referenceMonth(Kind kind, const ProgramState& state, NightCount& nightCount, const std::string& year,
                        int month, const std::string& code) {
    const std::string ym = store::monthKey(year, month);
    switch (kind) {
        case Kind::Production: return production(state, ym, code);
        case Kind::Cash: return cash(state, ym, code);
        case Kind::Invoiced: return invoiced(state, ym, code);
        case Kind::Nights: break;
    }
    const int yearNumber = std::stoi(year);
    return Currency::fromTenThousandths((nightCount.pass("Scheda_Cliente.mdb", "DataPartenza", ym, yearNumber, month) +
                                         nightCount.pass("SchedaStoricoClienti.mdb", "DataPartenzaReale", ym,
                                                         yearNumber, month)) *
                                        10000);
}

// What the user is told when a run stops on an error: where, why, and what stays written.
std::string interruptedMessage(const RecomputeResult& result, const RecomputeProgress& progress,
                               const std::exception& e) {
    const std::string where = lastWritten(result);
    std::string message = withArgs(translate("Recompute", "%1 interrotto a %2 di \"%3\": %4"),
                                   {runTitle(result), monthName(progress.month), trim(progress.detailItem), e.what()}) +
                          "\n";
    message += where.empty() ? translate("Recompute", "Nessun mese registrato.")
                             : withArgs(translate("Recompute",
                                                  "I dettagli già aggiornati restano registrati, completi (ultimo: %1)."),
                                        {where});
    return message;
}

}  // namespace

RecomputeResult Recompute::run(const ProgramState& state, std::string_view statistic,
                               const std::vector<std::string>& detailEntries, std::string_view yearText,
                               const RecomputeCallbacks& callbacks) const {
    // On the figure server, a recompute's statements get the long limit.
    const store::ServerLongWork longWork;
    RecomputeResult result;
    result.statistic = std::string(statistic);
    result.year = std::string(yearText);
    const auto kind = kindOf(statistic);
    if (!kind) return result;
    if (auto problem = yearProblem(yearText)) throw RecomputeError(*problem, result);

    const std::string year(yearText);
    const std::vector<Work> work = workList(*kind, statistic, detailEntries);
    if (*kind == Kind::Nights && !detailEntries.empty()) result.listIndex = 0;

    NightCount nightCount{state, result.leftOut};
    OnePass onePass(state, year, result.leftOut);
    RecomputeProgress progress;
    progress.detailCount = result.detailCount = static_cast<int>(work.size());
    auto at = [&](std::size_t w, int month) {
        progress.detailIndex = static_cast<int>(w) + 1;
        progress.listIndex = work[w].listIndex;
        progress.detailItem = work[w].item;
        progress.month = month;
        if (callbacks.onProgress) callbacks.onProgress(progress);
    };
    auto cancelled = [&] { return callbacks.shouldCancel && callbacks.shouldCancel(); };
    // The one pass reads every source once, before the first detail; progress stays on
    // the first month of the first detail and the user can stop after each file. The
    // first reading of a large Access file takes seconds: it is asked too.
    auto readOnePass = [&] {
        std::vector<std::string> codes;
        for (const auto& w : work) codes.push_back(w.key.detail);
        auto stop = [&] {
            at(0, 1);
            return cancelled();
        };
        at(0, 1);
        try {
            store::JetReadInterrupt interrupt(stop);
            return onePass.read(*kind, codes, [&] { return !stop(); });
        } catch (const store::JetReadStopped&) {
            return false;
        }
    };
    auto stopped = [&] {
        result.status = RecomputeResult::Status::Cancelled;
        return result;
    };
    try {
        if (!work.empty() && path_ == Path::OnePass && !readOnePass()) return stopped();
        for (std::size_t w = 0; w < work.size(); ++w) {
            const Work& detail = work[w];
            std::array<Currency, 12> months{};
            for (int m = 1; m <= 12; ++m) {
                auto& month = months[static_cast<std::size_t>(m - 1)];
                if (path_ == Path::OnePass) {
                    month = onePass.month(detail.key.detail, m);
                } else {
                    at(w, m);
                    month = referenceMonth(*kind, state, nightCount, year, m, detail.key.detail);
                }
            }
            // The twelve months of the detail in one transaction: all of them or none.
            std::array<store::Value, 12> values;
            for (std::size_t i = 0; i < 12; ++i) values[i] = store::Value(months[i]);
            store::writeYear(state, detail.key.tipo, detail.key.detail, year, values, [&](int m) { at(w, m); });
            if (*kind != Kind::Nights) result.listIndex = detail.listIndex;
            result.details.push_back({detail.item, detail.listIndex, detail.key.detail,
                                      std::vector<Currency>(months.begin(), months.end())});
            for (int m = 1; m <= 12; ++m)
                if (callbacks.onMonthWritten) callbacks.onMonthWritten(detail.item, m, months[static_cast<std::size_t>(m - 1)]);
            if (w + 1 < work.size() && cancelled()) return stopped();
        }
    } catch (const std::exception& e) {
        std::string message = interruptedMessage(result, progress, e);
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
            text = withArgs(translate("Recompute", "%1 completato."), {runTitle(r)});
            break;
        case RecomputeResult::Status::Cancelled:
            if (r.details.empty()) {
                text = withArgs(translate("Recompute", "%1 interrotto prima di registrare alcun mese."), {runTitle(r)});
                break;
            }
            text = withArgs(translate("Recompute",
                                      "%1 interrotto dopo %2 (dettaglio %3 di %4). I dettagli già aggiornati "
                                      "restano registrati, completi."),
                            {runTitle(r), lastWritten(r), std::to_string(r.details.size()),
                             std::to_string(r.detailCount)});
            break;
    }
    if (!r.leftOut.empty()) {
        text += "\n" + withArgs(translate("Recompute",
                                          "Schede escluse dal conteggio: %1 (%2 con partenza precedente all'arrivo, "
                                          "%3 con date non valide)."),
                                {std::to_string(r.leftOut.size()),
                                 std::to_string(r.leftOutCount(Reason::DepartureBeforeArrival)),
                                 std::to_string(r.leftOutCount(Reason::InvalidDate))});
    }
    return text;
}

}  // namespace zt::desktop
