#pragma once
// The statistic catalogue: the fixed list of statistics with their codes (`Tipo`) and
// kinds, the detail lists the user picks from, and the ways each operation turns a
// statistic name and a detail item into the `Tipo` and `Dettaglio` it stores or looks up.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zt::store {

enum class StatKind { Money, Count };

struct Statistic {
    std::string_view name;  // as shown in the statistic lists
    std::string_view code;  // the `Tipo` of the figure tables
    StatKind kind;
};

// The 29 statistics in list order.
const std::vector<Statistic>& statistics();
// Display names of the statistic list (29) and of the comparison list (27: without
// "ProduzioneInd" and "ProduzioneGrp").
std::vector<std::string> statisticNames();
std::vector<std::string> comparisonNames();
// The statistic with this display name; nullptr when there is none.
const Statistic* findStatistic(std::string_view name);

// The fixed detail list of "Presenze", "Arrivi" and "Partenze" (13 items): six client
// groups, four board plans, three guest counts.
const std::vector<std::string>& fixedDetails();
bool isClientGroup(std::string_view d);  // "Generale" ... "Famiglia"
bool isBoardPlan(std::string_view d);    // "Solo Pernottamento" ... "Pensione Completa"

inline constexpr std::string_view kAllItem = "<tutti>";
inline constexpr std::string_view kTotalItem = "TOTALE";

// ---------------------------------------------------------------------------------
// Detail lists
// ---------------------------------------------------------------------------------

// The items of the detail list for a display name, read from the lookup files of the
// working folder for one hotel. A statistic without a detail list gives an empty list.
// A lookup file that cannot be opened is a DbError.
std::vector<std::string> detailList(const std::filesystem::path& workDir, std::int16_t hotel,
                                    std::string_view name);

// The comparison detail list. Differs from detailList in three ways: only "Produzione",
// "Fatturato", "Cassa", "Presenze", the eight "Presenze x ..." names and "Camere
// Vendute" are handled; "Produzione" and "Camere Vendute" get no "<tutti>"; the fixed
// list of "Presenze" stops after "Pensione Completa". Any other name (the arrival and
// departure names) gives nullopt: the list is left as it was.
std::optional<std::vector<std::string>> comparisonDetailList(const std::filesystem::path& workDir,
                                                             std::int16_t hotel,
                                                             std::string_view name);

// ---------------------------------------------------------------------------------
// From statistic and detail item to `Tipo` and `Dettaglio`
// ---------------------------------------------------------------------------------
//
// Each reader and writer cuts the detail code in its own way; the functions below keep
// the variants side by side, one per operation. A function returns nullopt when the
// operation does nothing for that choice (no query, no section, nothing written).
//
//   statistic + detail d     grid         registra     aggiorna   diffAnno*    repaDiff     report
//   Produzione, Fatturato    num(d)       num(d)       num(d)     num(d)       num(d)       trim(left(d,5))
//   Cassa                    six(d)       six(d)       six(d)     six(d)       six(d)       six(d)
//   plain + board plan       1st letter   1st letter   "Generale" 1st letter   1st letter   1st letter
//   plain + client group     d            d            "Generale" d            d            d
//   plain + guest count      d            nothing      "Generale" no section   no lookup    d
//   plain + other detail     no query     nothing      "Generale" no section   no lookup    d
//   "x" and "Camere" names   six(d)       six(d)*      nothing    six(d)*      six(d)*      six(d)*
//   ProduzioneInd/Grp        no clause    nothing      nothing    no section   no lookup    "TOTALE"
//   "<tutti>"                no clause    cut as d     cut as d   no clause    cut as d     no clause
//
//   plain: "Presenze", "Arrivi", "Partenze" (aggiorna and repaDiff: "Presenze" only).
//   num(d): the numeric value of the first 5 characters, as whole decimal digits;
//   six(d): the first 6 characters trimmed at both ends. "*": only the names that
//   operation knows (see each function).

struct DetailKey {
    std::string tipo;        // `Tipo`
    std::string detail;      // `Dettaglio`; meaningful only with hasDetail
    bool hasDetail = true;   // whether the query or criterion carries a detail clause
    bool operator==(const DetailKey&) const = default;
};

// Monthly grid (sum of `Dettaglio` per month). Knows the 29 statistics and also
// "Arrivi x Nucleo", "Arrivi x Soggiorno", "Arrivi x Età" and the "Partenze"
// counterparts. "Presenze", "Arrivi", "Partenze" with a detail outside the 13 fixed
// items query nothing. "ProduzioneInd", "ProduzioneGrp" and "<tutti>" of any other
// statistic have no detail clause.
std::optional<DetailKey> gridKey(std::string_view name, std::string_view d);
// Whether the grid shows the values as money: the money statistics, and the four
// board plans of "Presenze", "Arrivi" and "Partenze".
bool gridShowsMoney(std::string_view name, std::string_view d);

// The `Tipo` the writers store in `Zentoria` for a display name; nullopt for every
// other name ("ProduzioneInd", "ProduzioneGrp", "Presenze x Nucleo" ...).
std::optional<std::string> zentoriaTipo(std::string_view name);

// "&Registra": the codes of zentoriaTipo; "Presenze", "Arrivi", "Partenze" only with a
// client group or a board plan (ten items).
std::optional<DetailKey> registraKey(std::string_view name, std::string_view d);

// "&Aggiorna": "Produzione", "Fatturato", "Cassa" and "Presenze" only; "Presenze"
// always stores the detail "Generale".
std::optional<DetailKey> aggiornaKey(std::string_view name, std::string_view d);

// Year differences: which operation the "&Ok" button runs for a statistic.
enum class YearDiffOp { DiffAnno, DiffAnno1, DiffAnno2 };
YearDiffOp yearDiffOperation(std::string_view name);
// DiffAnno (from `Dettaglio`): "Produzione", "Fatturato", "Cassa", "Presenze" with the
// ten client groups and board plans, the eight "Presenze x ..." names, "Camere Vendute".
std::optional<DetailKey> diffAnnoKey(std::string_view name, std::string_view d);
// DiffAnno1 (from `Zentoria`): "Arrivi" with the ten items, "Arrivi x Nazione",
// "Regione", "Provincia", "Tipo Cliente", "Tipo Camera", "Camere Arrivate".
std::optional<DetailKey> diffAnno1Key(std::string_view name, std::string_view d);
// DiffAnno2: the same for "Partenze".
std::optional<DetailKey> diffAnno2Key(std::string_view name, std::string_view d);

// Month comparison (from `Zentoria`): the names DiffAnno knows; arrivals and departures
// are not looked up. The criterion always carries the detail clause.
std::optional<DetailKey> repaDiffKey(std::string_view name, std::string_view d);

// Report: every display name gives a key; a name outside the report's table gives empty
// codes (so every value is 0). A detail code that begins with "<tutt" has no clause.
DetailKey reportKey(std::string_view name, std::string_view d);
// The report's client-type block: the report's table without "ProduzioneInd",
// "ProduzioneGrp" and "Presenze x Età"; the detail clause is always there.
DetailKey reportClientTypeKey(std::string_view name, std::string_view d);

}  // namespace zt::store
