#include "store/figures/catalogue.h"

#include <algorithm>
#include <span>
#include <utility>

#include "common/text.h"
#include "store/sqlite/database.h"
#include "store/value.h"

namespace zt::store {

namespace {

using namespace std::string_view_literals;

bool oneOf(std::string_view s, std::initializer_list<std::string_view> list) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

// A code table: display name -> `Tipo`.
using CodeEntry = std::pair<std::string_view, std::string_view>;
using CodeTable = std::span<const CodeEntry>;

std::optional<std::string> lookup(CodeTable table, std::string_view name) {
    for (const auto& [n, code] : table)
        if (n == name) return std::string(code);
    return std::nullopt;
}

// ---- detail cuts ------------------------------------------------------------------

// The numeric value of the first five characters, written as a whole number in
// decimal digits ("   12 Camere" -> "12", "00123" -> "123").
std::string voiceNumber(std::string_view d) {
    return std::to_string(Value(val(left(d, 5))).toInteger());
}

// The first six characters, trimmed at both ends ("AB     Contanti" -> "AB").
std::string firstSix(std::string_view d) { return trim(left(d, 6)); }

std::string firstChar(std::string_view d) { return left(d, 1); }

bool isAll(std::string_view d) { return d == kAllItem; }

bool isPlainFamily(std::string_view name) { return oneOf(name, {"Presenze", "Arrivi", "Partenze"}); }

// "Presenze", "Arrivi", "Partenze" with one of the ten client groups and board plans:
// the board plan's first letter or the client group as it is.
std::optional<std::string> tenItemCode(std::string_view d) {
    if (isBoardPlan(d)) return firstChar(d);
    if (isClientGroup(d)) return std::string(d);
    return std::nullopt;
}

// ---- the group statistics' codes --------------------------------------------------

// A statistic broken down by a list ("Presenze x Nazione") or counting rooms ("Camere
// Vendute"): its code, in the statistic list, begins with its family's name
// ("PresenzeNaz", "PresenzeNC").
bool isGroup(std::string_view name) { return name.find(" x ") != std::string_view::npos || name.starts_with("Camere "); }

// The code of a group statistic of the list whose code begins with `family` (any family
// when empty).
std::optional<std::string> groupCode(std::string_view name, std::string_view family = {}) {
    if (!isGroup(name)) return std::nullopt;
    const Statistic* s = findStatistic(name);
    if (!s || !s->code.starts_with(family)) return std::nullopt;
    return std::string(s->code);
}

// The group statistics the writers of `Zentoria` do not know.
bool notWritten(std::string_view name) {
    return oneOf(name, {"Presenze x Nucleo", "Presenze x Soggiorno", "Presenze x Età"});
}

// The grid also reads these, which no list offers.
constexpr CodeEntry kGridOnly[] = {
    {"Arrivi x Nucleo", "ArriviNucleo"},       {"Arrivi x Soggiorno", "ArriviSoggiorno"},
    {"Arrivi x Età", "ArriviEtà"},             {"Partenze x Nucleo", "PartenzeNucleo"},
    {"Partenze x Soggiorno", "PartenzeSoggiorno"}, {"Partenze x Età", "PartenzeEtà"},
};

// ---- detail list sources ----------------------------------------------------------

enum class ItemForm { Code, Sigla };

struct Lookup {
    std::string_view file;   // as the program names it
    std::string_view table;
    std::string_view extra;  // criterion after "NumeroHotel = " n
    ItemForm form;
};

constexpr Lookup kVociStatistiche{"VociFattura", "VociFattura", " and Codice = GruppoStatistico",
                                   ItemForm::Code};
constexpr Lookup kVociFatturazione{"VociFattura", "VociFattura",
                                   " and Codice = GruppoFatturazione", ItemForm::Code};
constexpr Lookup kPagamenti{"CodiciVari.mdb", "CodiciVari", " and Tipo = 4", ItemForm::Sigla};
constexpr Lookup kNazioni{"Comuni.mdb", "CodiciVari", " and Tipo = 0", ItemForm::Sigla};
constexpr Lookup kRegioni{"Comuni.mdb", "CodiciVari", " and Tipo = 1", ItemForm::Sigla};
constexpr Lookup kProvince{"Comuni.mdb", "CodiciVari", " and Tipo = 2", ItemForm::Sigla};
constexpr Lookup kTipiCliente{"CodiciVari.mdb", "CodiciVari", " and Tipo = 6", ItemForm::Sigla};
constexpr Lookup kNuclei{"CodiciVari.mdb", "CodiciVari", " and Tipo = 9", ItemForm::Sigla};
constexpr Lookup kSoggiorni{"CodiciVari.mdb", "CodiciVari", " and Tipo = 10", ItemForm::Sigla};
constexpr Lookup kEta{"CodiciVari.mdb", "CodiciVari", " and Tipo = 11", ItemForm::Sigla};
constexpr Lookup kTipiCamere{"TipiCamere.mdb", "TipiCamere", "", ItemForm::Sigla};

std::vector<std::string> readLookup(const std::filesystem::path& workDir, std::int16_t hotel,
                                    const Lookup& src) {
    std::vector<std::string> items;
    Database db = Database::open(workDir, src.file);
    Recordset rs = db.openTable(src.table);
    const std::string criterion = "NumeroHotel = " + std::to_string(hotel) + std::string(src.extra);
    rs.findFirst(criterion);
    while (!rs.noMatch()) {
        if (src.form == ItemForm::Code)
            items.push_back(padLeft(rs.field("Codice").toText(), 5) + " " +
                            rs.field("Descrizione").toText());
        else
            items.push_back(padRight(rs.field("Sigla").toText(), 6) + " " +
                            rs.field("Descrizione").toText());
        rs.findNext(criterion);
    }
    rs.close();
    db.close();
    return items;
}

std::vector<std::string> withAll(std::vector<std::string> items) {
    items.emplace_back(kAllItem);
    return items;
}

// The lookup behind a name of the "x" families, when it reads one.
// gridNames: the arrival and departure names of Nucleo, Soggiorno and Età, which only
// the grid reads, get the lists of their "Presenze" counterparts.
const Lookup* groupLookup(std::string_view name, bool gridNames) {
    struct Entry {
        std::string_view suffix;
        const Lookup* src;
        bool presenzeOnly;  // Nucleo, Soggiorno, Età: "Presenze" in the lists
    };
    static const Entry entries[] = {
        {" x Nazione", &kNazioni, false},     {" x Regione", &kRegioni, false},
        {" x Provincia", &kProvince, false},  {" x Tipo Cliente", &kTipiCliente, false},
        {" x Nucleo", &kNuclei, true},        {" x Soggiorno", &kSoggiorni, true},
        {" x Età", &kEta, true},              {" x Tipo Camera", &kTipiCamere, false},
    };
    for (const auto& family : {"Presenze"sv, "Arrivi"sv, "Partenze"sv}) {
        for (const auto& e : entries) {
            if (name != std::string(family) + std::string(e.suffix)) continue;
            if (e.presenzeOnly && family != "Presenze" && !gridNames) return nullptr;
            return e.src;
        }
    }
    return nullptr;
}

const std::vector<std::string> kFixed = {
    "Generale",           "Singoli",            "Famiglia",       "Gruppo",
    "Privato",            "Ditta",              "Solo Pernottamento", "Camera e Colazione",
    "Mezza Pensione",     "Pensione Completa",  "Ospiti",         "OspitiP",
    "OspitiD"};

}  // namespace

// ---- the catalogue ------------------------------------------------------------------

const std::vector<Statistic>& statistics() {
    static const std::vector<Statistic> list = {
        {"Produzione", "Produzione", StatKind::Money},
        {"ProduzioneInd", "ProduzioneInd", StatKind::Money},
        {"ProduzioneGrp", "ProduzioneGrp", StatKind::Money},
        {"Fatturato", "Fatturato", StatKind::Money},
        {"Cassa", "Cassa", StatKind::Money},
        {"Presenze", "Presenze", StatKind::Count},
        {"Presenze x Nazione", "PresenzeNaz", StatKind::Count},
        {"Presenze x Regione", "PresenzeReg", StatKind::Count},
        {"Presenze x Provincia", "PresenzePro", StatKind::Count},
        {"Presenze x Tipo Cliente", "PresenzeTip", StatKind::Count},
        {"Presenze x Tipo Camera", "PresenzeTC", StatKind::Count},
        {"Presenze x Nucleo", "PresenzeNucleo", StatKind::Count},
        {"Presenze x Soggiorno", "PresenzeSoggiorno", StatKind::Count},
        {"Presenze x Età", "PresenzeEtà", StatKind::Count},
        {"Camere Vendute", "PresenzeNC", StatKind::Count},
        {"Arrivi", "Arrivi", StatKind::Count},
        {"Arrivi x Nazione", "ArriviNaz", StatKind::Count},
        {"Arrivi x Regione", "ArriviReg", StatKind::Count},
        {"Arrivi x Provincia", "ArriviPro", StatKind::Count},
        {"Arrivi x Tipo Cliente", "ArriviTip", StatKind::Count},
        {"Arrivi x Tipo Camera", "ArriviTC", StatKind::Count},
        {"Camere Arrivate", "ArriviNC", StatKind::Count},
        {"Partenze", "Partenze", StatKind::Count},
        {"Partenze x Nazione", "PartenzeNaz", StatKind::Count},
        {"Partenze x Regione", "PartenzeReg", StatKind::Count},
        {"Partenze x Provincia", "PartenzePro", StatKind::Count},
        {"Partenze x Tipo Cliente", "PartenzeTip", StatKind::Count},
        {"Partenze x Tipo Camera", "PartenzeTC", StatKind::Count},
        {"Camere Partite", "PartenzeNC", StatKind::Count},
    };
    return list;
}

std::vector<std::string> statisticNames() {
    std::vector<std::string> names;
    for (const auto& s : statistics()) names.emplace_back(s.name);
    return names;
}

std::vector<std::string> comparisonNames() {
    std::vector<std::string> names;
    for (const auto& s : statistics())
        if (s.name != "ProduzioneInd" && s.name != "ProduzioneGrp") names.emplace_back(s.name);
    return names;
}

const Statistic* findStatistic(std::string_view name) {
    for (const auto& s : statistics())
        if (s.name == name) return &s;
    return nullptr;
}

const std::vector<std::string>& fixedDetails() { return kFixed; }

bool isClientGroup(std::string_view d) {
    return oneOf(d, {"Generale", "Singoli", "Privato", "Ditta", "Gruppo", "Famiglia"});
}

bool isBoardPlan(std::string_view d) {
    return oneOf(d, {"Solo Pernottamento", "Camera e Colazione", "Mezza Pensione", "Pensione Completa"});
}

// ---- detail lists -------------------------------------------------------------------

std::vector<std::string> detailList(const std::filesystem::path& workDir, std::int16_t hotel,
                                    std::string_view name) {
    if (name == "Produzione") return withAll(readLookup(workDir, hotel, kVociStatistiche));
    if (name == "ProduzioneInd" || name == "ProduzioneGrp") return {std::string(kTotalItem)};
    if (name == "Fatturato") return readLookup(workDir, hotel, kVociFatturazione);
    if (name == "Cassa") return readLookup(workDir, hotel, kPagamenti);
    if (isPlainFamily(name)) return kFixed;
    if (oneOf(name, {"Camere Vendute", "Camere Arrivate", "Camere Partite"}))
        return withAll(readLookup(workDir, hotel, kTipiCamere));
    if (const Lookup* src = groupLookup(name, true)) return readLookup(workDir, hotel, *src);
    return {};
}

std::optional<std::vector<std::string>> comparisonDetailList(const std::filesystem::path& workDir,
                                                             std::int16_t hotel,
                                                             std::string_view name) {
    if (name == "Produzione") return readLookup(workDir, hotel, kVociStatistiche);
    if (name == "Fatturato") return readLookup(workDir, hotel, kVociFatturazione);
    if (name == "Cassa") return readLookup(workDir, hotel, kPagamenti);
    if (name == "Presenze") return std::vector<std::string>(kFixed.begin(), kFixed.begin() + 10);
    if (name == "Camere Vendute") return readLookup(workDir, hotel, kTipiCamere);
    if (name.starts_with("Presenze x "))
        if (const Lookup* src = groupLookup(name, false)) return readLookup(workDir, hotel, *src);
    return std::nullopt;
}

// ---- derivations, one per operation ---------------------------------------------------

std::optional<DetailKey> gridKey(std::string_view name, std::string_view d) {
    std::string tipo;
    if (const Statistic* s = findStatistic(name))
        tipo = s->code;
    else if (auto extra = lookup(kGridOnly, name))
        tipo = *extra;
    else
        return std::nullopt;

    if (isPlainFamily(name)) {
        if (isBoardPlan(d)) return DetailKey{tipo, firstChar(d)};
        if (std::find(kFixed.begin(), kFixed.end(), d) != kFixed.end()) return DetailKey{tipo, trim(d)};
        return std::nullopt;
    }
    if (name == "ProduzioneInd" || name == "ProduzioneGrp" || isAll(d)) return DetailKey{tipo, "", false};
    if (name == "Produzione" || name == "Fatturato") return DetailKey{tipo, voiceNumber(d)};
    return DetailKey{tipo, firstSix(d)};  // "Cassa", the "x" and "Camere" statistics
}

bool gridShowsMoney(std::string_view name, std::string_view d) {
    const Statistic* s = findStatistic(name);
    if (s && s->kind == StatKind::Money) return true;
    return isPlainFamily(name) && isBoardPlan(d);
}

std::optional<std::string> zentoriaTipo(std::string_view name) {
    if (oneOf(name, {"Produzione", "Fatturato", "Cassa", "Presenze", "Arrivi", "Partenze"}))
        return std::string(name);
    if (notWritten(name)) return std::nullopt;
    return groupCode(name);
}

std::optional<DetailKey> registraKey(std::string_view name, std::string_view d) {
    auto tipo = zentoriaTipo(name);
    if (!tipo) return std::nullopt;
    if (isPlainFamily(name)) {
        auto code = tenItemCode(d);
        if (!code) return std::nullopt;
        return DetailKey{*tipo, *code};
    }
    if (name == "Produzione" || name == "Fatturato") return DetailKey{*tipo, voiceNumber(d)};
    // "Cassa" cut to the code the readers look up, like the "x" and "Camere" names.
    return DetailKey{*tipo, firstSix(d)};
}

std::optional<DetailKey> aggiornaKey(std::string_view name, std::string_view d) {
    if (name == "Produzione" || name == "Fatturato") return DetailKey{std::string(name), voiceNumber(d)};
    if (name == "Cassa") return DetailKey{"Cassa", firstSix(d)};
    if (name == "Presenze") return DetailKey{"Presenze", "Generale"};
    return std::nullopt;
}

YearDiffOp yearDiffOperation(std::string_view name) {
    if (name == "Arrivi" || groupCode(name, "Arrivi")) return YearDiffOp::DiffAnno1;
    if (name == "Partenze" || groupCode(name, "Partenze")) return YearDiffOp::DiffAnno2;
    return YearDiffOp::DiffAnno;
}

namespace {

// The sections shared by the year differences and the month comparison: a plain family
// name with its ten items, or a group statistic of that family.
std::optional<DetailKey> sectionKey(std::string_view plain, std::string_view name,
                                    std::string_view d, bool allOmitsClause) {
    if (name == plain) {
        auto code = tenItemCode(d);
        if (!code) return std::nullopt;
        return DetailKey{std::string(plain), *code};
    }
    auto tipo = groupCode(name, plain);
    if (!tipo) return std::nullopt;
    if (allOmitsClause && isAll(d)) return DetailKey{*tipo, "", false};
    return DetailKey{*tipo, firstSix(d)};
}

std::optional<DetailKey> moneySectionKey(std::string_view name, std::string_view d, bool allOmitsClause) {
    if (name != "Produzione" && name != "Fatturato" && name != "Cassa") return std::nullopt;
    if (allOmitsClause && isAll(d)) return DetailKey{std::string(name), "", false};
    return DetailKey{std::string(name), name == "Cassa" ? firstSix(d) : voiceNumber(d)};
}

}  // namespace

std::optional<DetailKey> diffAnnoKey(std::string_view name, std::string_view d) {
    if (auto k = moneySectionKey(name, d, true)) return k;
    return sectionKey("Presenze", name, d, true);
}

std::optional<DetailKey> diffAnno1Key(std::string_view name, std::string_view d) {
    return sectionKey("Arrivi", name, d, true);
}

std::optional<DetailKey> diffAnno2Key(std::string_view name, std::string_view d) {
    return sectionKey("Partenze", name, d, true);
}

std::optional<DetailKey> repaDiffKey(std::string_view name, std::string_view d) {
    if (auto k = moneySectionKey(name, d, false)) return k;
    return sectionKey("Presenze", name, d, false);
}

namespace {

// The report's table; the client-type block leaves some names out.
DetailKey reportTable(std::string_view name, std::string_view d, bool clientTypeBlock) {
    if (name == "Produzione" || name == "Fatturato") return {std::string(name), trim(left(d, 5))};
    if (name == "ProduzioneInd" || name == "ProduzioneGrp") {
        if (clientTypeBlock) return {"", ""};
        return {std::string(name), std::string(kTotalItem)};
    }
    if (name == "Cassa") return {"Cassa", firstSix(d)};
    if (isPlainFamily(name)) return {std::string(name), isBoardPlan(d) ? firstChar(d) : std::string(d)};
    if (clientTypeBlock && name == "Presenze x Età") return {"", ""};
    if (auto tipo = groupCode(name)) return {*tipo, firstSix(d)};
    return {"", ""};
}

}  // namespace

DetailKey reportKey(std::string_view name, std::string_view d) {
    DetailKey k = reportTable(name, d, false);
    if (k.detail.starts_with("<tutt")) {
        k.detail.clear();
        k.hasDetail = false;
    }
    return k;
}

DetailKey reportClientTypeKey(std::string_view name, std::string_view d) {
    return reportTable(name, d, true);
}

}  // namespace zt::store
