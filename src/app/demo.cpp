#include "app/demo.h"

#include "common/private_file.h"
#include "common/translate.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iomanip>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <tuple>

#include "jetwriter/jet4_writer.h"

namespace fs = std::filesystem;
namespace chr = std::chrono;

namespace zt::app {

namespace {

// =====================================================================================
// Data of the installation
// =====================================================================================
// clang-format off

struct Code {
    const char* sigla;
    const char* descr;
};

// CodiciVari.mdb, the same for both hotels.
enum Payment { Cont, Banc, Carta, Assegn, Bonif };
constexpr Code kPayments[] = {{"CONT", "Contanti"},       {"BANC", "Bancomat"},
                              {"CARTA", "Carta di credito"}, {"ASSEGN", "Assegno"},
                              {"BONIF", "Bonifico bancario"}};                      // Tipo 4
enum ClientType { Tur, Aff, Cong, Agen };
constexpr Code kClientTypes[] = {{"TUR", "Turismo"}, {"AFF", "Uomo d'affari"},
                                 {"CONG", "Congressi"}, {"AGEN", "Agenzia viaggi"}};  // Tipo 6
enum Unit { Solo, Copp, Fam, Amici, Comit };
constexpr Code kUnits[] = {{"SOLO", "Persona sola"},       {"COPP", "Coppia"},
                           {"FAM", "Famiglia con figli"},  {"AMICI", "Gruppo d'amici"},
                           {"COMIT", "Comitiva organizzata"}};                       // Tipo 9
struct StayBand {
    const char* sigla;
    const char* descr;
    int maxNights;
};
constexpr StayBand kStayBands[] = {{"1", "Una notte", 1},          {"2-3", "Da 2 a 3 notti", 3},
                                   {"4-7", "Da 4 a 7 notti", 7},    {"8-14", "Da 8 a 14 notti", 14},
                                   {"15+", "Oltre 14 notti", 9999}};                  // Tipo 10
constexpr Code kAgeBands[] = {{"0-12", "Bambini fino a 12 anni"}, {"13-17", "Ragazzi da 13 a 17 anni"},
                              {"18-30", "Da 18 a 30 anni"},       {"31-50", "Da 31 a 50 anni"},
                              {"51-65", "Da 51 a 65 anni"},       {"66+", "Oltre 65 anni"}};  // Tipo 11

// Comuni.mdb: nations (Tipo 0, with the guests' share and card language), regions
// (Tipo 1) and provinces (Tipo 2, with their region and share of the Italian guests).
struct Nation {
    const char* sigla;
    const char* descr;
    double weight;
    const char* language;
};
constexpr Nation kNations[] = {{"IT", "Italia", 56, "I"},   {"DE", "Germania", 12, "D"},
                               {"FR", "Francia", 6, "F"},   {"GB", "Regno Unito", 6, "E"},
                               {"US", "Stati Uniti", 5, "E"}, {"AT", "Austria", 4, "D"},
                               {"CH", "Svizzera", 4, "D"},  {"NL", "Paesi Bassi", 3, "E"},
                               {"ES", "Spagna", 2, "S"},    {"JP", "Giappone", 2, "E"}};
constexpr Code kRegions[] = {{"LOM", "Lombardia"}, {"LAZ", "Lazio"},  {"PIE", "Piemonte"},
                             {"EMR", "Emilia-Romagna"}, {"TOS", "Toscana"}, {"CAM", "Campania"},
                             {"VEN", "Veneto"},    {"PUG", "Puglia"}, {"SIC", "Sicilia"},
                             {"ABR", "Abruzzo"}};
struct Province {
    const char* sigla;
    const char* descr;
    int region;
    double weight;
};
constexpr Province kProvinces[] = {{"MI", "Milano", 0, 18},  {"BS", "Brescia", 0, 6},
                                   {"RM", "Roma", 1, 14},    {"TO", "Torino", 2, 9},
                                   {"BO", "Bologna", 3, 8},  {"FI", "Firenze", 4, 7},
                                   {"NA", "Napoli", 5, 8},   {"VE", "Venezia", 6, 6},
                                   {"VR", "Verona", 6, 6},   {"PD", "Padova", 6, 4},
                                   {"BA", "Bari", 7, 5},     {"PA", "Palermo", 8, 5},
                                   {"AQ", "L'Aquila", 9, 3}, {"PE", "Pescara", 9, 2}};

// TipiCamere.mdb, with beds and the price of a room and night before the season,
// the yearly rise and the hotel's own price level.
enum Room { Sing, Dus, Dopp, Trip, Quad, Suite };
struct RoomType {
    const char* sigla;
    const char* descr;
    int beds;
    double price;
};
constexpr RoomType kRooms[] = {{"SING", "Singola", 1, 65},   {"DUS", "Doppia uso singola", 2, 85},
                               {"DOPP", "Doppia", 2, 110},   {"TRIP", "Tripla", 3, 135},
                               {"QUAD", "Quadrupla", 4, 160}, {"SUITE", "Suite", 4, 230}};

// VociFattura.mdb: code, description, statistical group, invoicing group. A voice
// whose code is its own group heads that group in the detail lists.
struct Voice {
    int code;
    const char* descr;
    int statGroup;
    int invoiceGroup;
};
constexpr Voice kVoices[] = {
    {1, "Pernottamento", 1, 1},      {2, "Colazione", 2, 1},        {3, "Bar", 3, 3},
    {4, "Ristorante", 4, 4},         {5, "Mezza pensione", 1, 1},   {6, "Pensione completa", 1, 1},
    {7, "Minibar", 3, 3},            {8, "Lavanderia", 13, 13},     {9, "Garage", 13, 13},
    {10, "Centro benessere", 10, 10}, {11, "Tassa di soggiorno", 11, 11},
    {12, "Telefono", 12, 13},        {13, "Servizi vari", 13, 13}};

// Board charges per person and night, tourist tax per person and night (at most 7).
constexpr double kBreakfast = 9.0, kHalfBoard = 28.0, kFullBoard = 45.0, kTouristTax = 2.5;

// Extras a booking may run up during its stay: voice, probability, amount range.
struct Extra {
    int voice;
    double chance, low, high;
};
constexpr Extra kExtras[] = {{3, 0.55, 4, 60},   {4, 0.25, 30, 120}, {7, 0.20, 5, 25},
                             {8, 0.10, 12, 35},  {9, 0.15, 15, 60},  {10, 0.15, 40, 150},
                             {12, 0.06, 2, 12}};
// Weekly counter takings of non-guests, paid at once: voice, note, amount of a full week.
struct CounterSale {
    int voice;
    const char* note;
    double week;
};
constexpr CounterSale kCounterSales[] = {{3, "0003 bar", 650}, {4, "0004 ristorante", 1700}};
// Outside accounts (banquets, coffee breaks, day spa for local firms): voice, share, range.
struct OutsideSale {
    int voice;
    double weight, low, high;
};
constexpr OutsideSale kOutsideSales[] = {{4, 5, 350, 2400}, {3, 3, 80, 400}, {10, 2, 60, 300}};

// Kinds of booking.
enum Group { Singoli, Famiglia, Gruppo };
constexpr const char* kGroupNames[] = {"Singoli", "Famiglia", "Gruppo"};
struct Profile {
    int minPersons, maxPersons;
    unsigned rooms;  // room types it takes, one bit per Room
    int minNights, maxNights;
    Group group;
    bool company;
    const char* boards;  // board plans it chooses from
    ClientType clientType;
    Unit unit;
    std::array<double, 6> ages;  // weights of the age bands of its adults
    bool children;               // persons after the second are children
    double summerWeight, otherWeight;
};
constexpr unsigned bit(Room r) { return 1u << r; }
constexpr Profile kProfiles[] = {  // couples, families, business, friends, tour groups,
                                   // congress guests, long stays of retired couples
    {2, 2, bit(Dopp) | bit(Suite), 1, 6, Singoli, false, "CCMS", Tur, Copp,
     {0, 0, 25, 40, 25, 10}, false, 5, 4},
    {3, 4, bit(Trip) | bit(Quad) | bit(Suite), 3, 10, Famiglia, false, "MMPC", Tur, Fam,
     {0, 0, 10, 75, 15, 0}, true, 4, 1},
    {1, 1, bit(Sing) | bit(Dus), 1, 3, Singoli, true, "SCC", Aff, Solo, {0, 0, 20, 50, 30, 0}, false, 1, 4},
    {2, 3, bit(Dopp) | bit(Trip), 2, 4, Singoli, false, "CCM", Tur, Amici, {0, 5, 70, 25, 0, 0}, false, 2, 1},
    {8, 16, bit(Dopp), 2, 4, Gruppo, false, "MP", Agen, Comit, {0, 0, 5, 20, 40, 35}, false, 0.4, 0.6},
    {1, 1, bit(Dus), 2, 3, Singoli, true, "C", Cong, Solo, {0, 0, 25, 55, 20, 0}, false, 0.2, 1},
    {1, 2, bit(Dus) | bit(Dopp), 10, 21, Singoli, false, "MP", Tur, Copp,
     {0, 0, 0, 10, 40, 50}, false, 0.5, 0.2},
};
constexpr std::array<double, 6> kChildAges = {80, 20, 0, 0, 0, 0};

// The two hotels: a seaside hotel with a strong summer and a steadier town hotel.
struct HotelSetup {
    int number;
    const char* name;
    // CodiceAssistenza: no "&", so the figure files are in the working folder; hotel 2's
    // "K" only keeps accents in raw printing, and the print menu reads hotel 1's options.
    const char* options;
    int rooms;
    double priceFactor;
    std::array<double, 12> occupancy;  // target share of rooms sold, by month
    std::uint64_t seed;
};
constexpr HotelSetup kHotels[] = {
    {1, "Hotel Bellavista", "", 12, 1.0,
     {0.30, 0.35, 0.45, 0.60, 0.70, 0.85, 0.95, 0.98, 0.80, 0.55, 0.30, 0.45}, 20140301},
    {2, "Albergo San Marco", "K", 20, 1.15,
     {0.50, 0.55, 0.70, 0.80, 0.85, 0.85, 0.80, 0.75, 0.85, 0.80, 0.55, 0.65}, 19970612},
};
constexpr std::array<double, 12> kSeasonPrice = {0.85, 0.85, 0.90, 1.00, 1.05, 1.20,
                                                 1.35, 1.50, 1.15, 0.95, 0.85, 1.00};
constexpr double kYearlyRise = 0.03;  // prices rise by 3% a year

// The database files, in the order written: file, table, columns, indexed columns.
struct TableSchema {
    const char* file;
    const char* table;
    const char* columns;
    const char* index;
};
constexpr const char* kCodes = "NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT";
constexpr const char* kAccount = "Importo REAL, DataAddebito TEXT, VoceAddebito INTEGER";
constexpr const char* kCard = "DataArrivo TEXT, DataPartenza TEXT, DataPartenzaReale TEXT, Lingua TEXT";
constexpr TableSchema kSchema[] = {
    {"AnagraficaHotels.mdb", "AnagraficaHotels",
     "Numero INTEGER, RagioneSociale TEXT, CodiceAssistenza TEXT", ""},
    {"CodiciVari.mdb", "CodiciVari", kCodes, "NumeroHotel, Tipo"},
    {"Comuni.mdb", "CodiciVari", kCodes, "NumeroHotel, Tipo"},
    {"TipiCamere.mdb", "TipiCamere", "NumeroHotel INTEGER, Sigla TEXT, Descrizione TEXT", ""},
    {"VociFattura.mdb", "VociFattura",
     "NumeroHotel INTEGER, Codice INTEGER, Descrizione TEXT, GruppoStatistico INTEGER, "
     "GruppoFatturazione INTEGER", ""},
    {"Dettaglio.mdb", "Dettaglio",
     "NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, DataInserimento TEXT, Valore REAL",
     "NumeroHotel, Tipo, DataInserimento"},
    {"Zentoria.mdb", "Zentoria", "NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, AnnoMese TEXT, Valore REAL",
     "NumeroHotel, Tipo, Dettaglio, AnnoMese"},
    {"Conto_Cliente.mdb", "Conto_Cliente", kAccount, "DataAddebito"},
    {"ContoStoricoClienti.mdb", "Conto_Cliente", kAccount, "DataAddebito"},
    {"ContoEsterni.mdb", "Conto_Cliente", kAccount, "DataAddebito"},
    {"ContoEsterniStorico.mdb", "Conto_Cliente", kAccount, "DataAddebito"},
    {"Fatture.mdb", "Incassi", "Importo REAL, DataEmissione TEXT, Nota TEXT, NDocumento INTEGER, Sigla TEXT",
     "DataEmissione"},
    {"Fatture.mdb", "DatiFattura",
     "NDocumento INTEGER, Annullato TEXT, CorrPagato REAL, ZentAcc TEXT, DataEmissione TEXT",
     "DataEmissione"},
    {"Fatture.mdb", "DettaglioFattura",
     "Importo REAL, NDocumento INTEGER, DataEmissione TEXT, CodiceVoce INTEGER", "DataEmissione"},
    {"Scheda_Cliente.mdb", "Scheda_Cliente", kCard, "DataArrivo"},
    {"SchedaStoricoClienti.mdb", "Scheda_Cliente", kCard, "DataArrivo"},
    {"Stampanti.mdb", "Stampanti",
     "NumeroHotel INTEGER, Destinazione TEXT, TipoStampa INTEGER, Linea TEXT", ""},
    {"Stampanti.mdb", "SetStampa", "TipoStampa INTEGER, Compresso TEXT, Grassetto TEXT", ""},
    {"Contatori.mdb", "Contatori", "NumeroHotel INTEGER, LungPagComp INTEGER, LungPagNoComp INTEGER", ""},
};

// Printer settings: "Laser" and "PDF" print through an installed printer (code 6 of
// Compresso is 1), "Aghi" raw into the file stampa.prn of the working folder.
struct PrinterSetting {
    int tipoStampa;
    std::array<int, 12> compresso, grassetto;
};
constexpr PrinterSetting kPrinterSettings[] = {
    {1, {8, 0, 0, 0, 0, 1, 10, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 2, 88, 66, 0, 0, 0, 0}},
    {2, {27, 15, 0, 0, 0, 0, 27, 18, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 1, 88, 66, 0, 0, 0, 0}},
    {3, {8, 0, 0, 0, 0, 1, 10, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 2, 88, 66, 0, 0, 0, 0}},
};
struct Destination {
    const char* name;
    int tipoStampa;
    const char* line;
};
constexpr Destination kDestinations[] = {{"Laser", 1, "Laser"}, {"Aghi", 2, "stampa.prn"}, {"PDF", 3, "PDF"}};

// clang-format on

// =====================================================================================
// Small helpers
// =====================================================================================

// A fixed, portable random sequence (splitmix64), so the demo is the same everywhere.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    int between(int low, int high) { return low + static_cast<int>(uniform() * (high - low + 1)); }
    double amount(double low, double high) { return low + uniform() * (high - low); }
    bool chance(double p) { return uniform() < p; }
    // An index into `items`, each weighted by weight(item).
    template <class Items, class Weight>
    int pick(const Items& items, Weight weight) {
        double total = 0;
        for (const auto& it : items) total += weight(it);
        double r = uniform() * total;
        int i = 0;
        for (const auto& it : items) {
            r -= weight(it);
            if (r < 0) return i;
            ++i;
        }
        return i - 1;
    }

private:
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t state_;
};

double cents(double v) { return std::round(v * 100.0) / 100.0; }

// Days are counted as days since 1970-01-01.
int toDay(chr::year_month_day d) { return static_cast<int>(chr::sys_days{d}.time_since_epoch().count()); }
chr::year_month_day fromDay(int n) { return chr::year_month_day{chr::sys_days{chr::days{n}}}; }
int yearOf(int n) { return static_cast<int>(fromDay(n).year()); }
int monthOf(int n) { return static_cast<int>(static_cast<unsigned>(fromDay(n).month())); }
int dayOfMonth(int n) { return static_cast<int>(static_cast<unsigned>(fromDay(n).day())); }
bool isSunday(int n) { return chr::weekday{chr::sys_days{chr::days{n}}} == chr::Sunday; }
std::string dateText(int n) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", yearOf(n), monthOf(n), dayOfMonth(n));
    return buf;
}
int monthEnd(int n) {
    const auto ymd = fromDay(n);
    return toDay(chr::year_month_day{chr::year_month_day_last{ymd.year(), chr::month_day_last{ymd.month()}}});
}
// The last day of the ten-day period of day n: the 10th, the 20th or the month's last.
int periodEnd(int n) {
    const int d = dayOfMonth(n);
    if (d <= 10) return n + 10 - d;
    if (d <= 20) return n + 20 - d;
    return monthEnd(n);
}

// One value of a table row.
struct Cell {
    enum Kind { Int, Real, Text } kind;
    long long i = 0;
    double r = 0;
    std::string t;
    Cell(int v) : kind(Int), i(v) {}
    Cell(long long v) : kind(Int), i(v) {}
    Cell(double v) : kind(Real), r(v) {}
    Cell(const char* v) : kind(Text), t(v) {}
    Cell(std::string v) : kind(Text), t(std::move(v)) {}
};
using Row = std::vector<Cell>;

// =====================================================================================
// Figures: the entries of Dettaglio, summed by hotel, statistic, detail and the day
// that closes their ten-day period (today for the period still running)
// =====================================================================================

class Figures {
public:
    explicit Figures(int today) : today_(today) {}
    void add(int hotel, const std::string& tipo, const std::string& detail, int day, double value) {
        entries_[{hotel, tipo, detail, std::min(periodEnd(day), today_)}] += value;
    }
    std::vector<Row> dettaglioRows() const {
        std::vector<Row> rows;
        for (const auto& [k, v] : entries_)
            rows.push_back(
                {std::get<0>(k), std::get<1>(k), std::get<2>(k), dateText(std::get<3>(k)), cents(v)});
        return rows;
    }
    // Monthly totals for Zentoria: every statistic but ProduzioneInd and ProduzioneGrp,
    // which the summary writers never produce.
    std::vector<Row> zentoriaRows() const {
        std::map<std::tuple<int, std::string, std::string, std::string>, double> months;
        for (const auto& [k, v] : entries_) {
            const auto& tipo = std::get<1>(k);
            if (tipo == "ProduzioneInd" || tipo == "ProduzioneGrp") continue;
            months[{std::get<0>(k), tipo, std::get<2>(k), dateText(std::get<3>(k)).substr(0, 6)}] += cents(v);
        }
        std::vector<Row> rows;
        for (const auto& [k, v] : months)
            rows.push_back({std::get<0>(k), std::get<1>(k), std::get<2>(k), std::get<3>(k), cents(v)});
        return rows;
    }

private:
    int today_;
    std::map<std::tuple<int, std::string, std::string, int>, double> entries_;
};

// Rows of the operational files.
struct Ledger {
    std::vector<Row> guestAccounts, guestHistory, outsideAccounts, outsideHistory;
    std::vector<Row> payments, invoices, invoiceLines;
    std::vector<Row> cards, cardHistory;
};

// =====================================================================================
// The simulation of one hotel
// =====================================================================================

const Voice& voice(int code) {
    for (const auto& v : kVoices)
        if (v.code == code) return v;
    throw std::logic_error("unknown voice");
}

struct Stay {
    const Profile* profile;
    int arrival, departure, plannedDeparture;
    int persons, rooms;
    Room room;
    int nation, province;  // province -1 for a foreign guest
    char board;
    std::vector<int> ages;  // age band of each guest
};

class HotelSimulation {
public:
    HotelSimulation(const HotelSetup& setup, int first, int today, Figures& figures)
        : setup_(setup), first_(first), today_(today), figures_(figures), rng_(setup.seed),
          occupied_(static_cast<std::size_t>(today - first + 60), 0) {}

    Ledger ledger;

    // Day by day from the first day to today. Every random draw of a day is made on
    // that day, whatever today is, so the data of past days do not depend on it.
    void run() {
        for (int d = first_; d <= today_; ++d) {
            // Booking requests: the rooms to fill over a booking's average of about four
            // room nights, a little more since a full house turns some away.
            const int m = monthOf(d) - 1;
            const double expected = setup_.rooms * setup_.occupancy[static_cast<std::size_t>(m)] * 0.27;
            const int attempts = static_cast<int>(expected + rng_.uniform());
            for (int i = 0; i < attempts; ++i) tryBooking(d);
            if (isSunday(d))
                for (const auto& sale : kCounterSales) counterSale(d, sale);
            if (rng_.chance(0.22)) outsideSale(d);
        }
    }

private:
    // The hotel's price level in the year of the day, and with the season on top.
    double yearLevel(int day) const {
        return setup_.priceFactor * std::pow(1.0 + kYearlyRise, yearOf(day) - yearOf(first_));
    }
    double priceLevel(int day) const {
        return yearLevel(day) * kSeasonPrice[static_cast<std::size_t>(monthOf(day) - 1)];
    }

    void tryBooking(int day) {
        const bool summer = monthOf(day) >= 6 && monthOf(day) <= 9;
        const bool weekend = isSunday(day) || isSunday(day + 1);
        const Profile& p = kProfiles[rng_.pick(kProfiles, [&](const Profile& q) {
            return (summer ? q.summerWeight : q.otherWeight) * (q.company && weekend ? 0.2 : 1.0);
        })];
        Stay s{&p, day, 0, 0, rng_.between(p.minPersons, p.maxPersons), 1, Sing, 0, -1, 'S', {}};
        if (p.group == Gruppo) s.rooms = (s.persons + 1) / 2;
        const int nights = rng_.between(p.minNights, p.maxNights);
        s.plannedDeparture = day + nights;
        const bool leavesEarly = nights >= 2 && rng_.chance(0.05);
        s.departure = leavesEarly ? s.plannedDeparture - 1 : s.plannedDeparture;
        const int bedsPerRoom = (s.persons + s.rooms - 1) / s.rooms;
        s.room = static_cast<Room>(rng_.pick(kRooms, [&](const RoomType& r) {
            return (p.rooms & bit(static_cast<Room>(&r - kRooms))) && r.beds >= bedsPerRoom ? 1.0 : 0.0;
        }));
        s.nation = rng_.pick(kNations, [](const Nation& n) { return n.weight; });
        const int province = rng_.pick(kProvinces, [](const Province& q) { return q.weight; });
        if (std::string(kNations[s.nation].sigla) == "IT") s.province = province;
        s.board = p.boards[rng_.between(0, static_cast<int>(std::char_traits<char>::length(p.boards)) - 1)];
        for (int i = 0; i < s.persons; ++i)
            s.ages.push_back(
                rng_.pick(p.children && i >= 2 ? kChildAges : p.ages, [](double w) { return w; }));

        // The house is full when any night lacks the rooms.
        for (int n = day; n < s.plannedDeparture; ++n)
            if (occupied_[static_cast<std::size_t>(n - first_)] + s.rooms > setup_.rooms) return;
        for (int n = day; n < s.plannedDeparture; ++n)
            occupied_[static_cast<std::size_t>(n - first_)] += s.rooms;
        record(s);
    }

    void record(const Stay& s) {
        const Profile& p = *s.profile;
        const bool inHouse = s.departure > today_;
        const int nights = s.departure - s.arrival;

        // Guest nights by ten-day period up to today, arrivals, departures.
        countStay("Arrivi", s, s.arrival, 1);
        if (!inHouse) countStay("Partenze", s, s.departure, 1);
        for (int n = s.arrival; n < s.departure && n <= today_;) {
            const int end = std::min({s.departure, periodEnd(n) + 1, today_ + 1});
            countStay("Presenze", s, n, end - n);
            if (n == s.arrival || dayOfMonth(n) == 1) countGuests("Presenze", s, n);
            n = end;
        }

        // One registration card per guest; now and then a card voided with "*".
        const std::string language = kNations[s.nation].language;
        auto& cards = inHouse ? ledger.cards : ledger.cardHistory;
        const std::string realDeparture = inHouse ? "" : dateText(s.departure);
        for (int i = 0; i < s.persons; ++i)
            cards.push_back({dateText(s.arrival), dateText(s.plannedDeparture), realDeparture, language});
        if (rng_.chance(0.02))
            cards.push_back(
                {dateText(s.arrival), dateText(s.plannedDeparture), realDeparture, language + "*"});

        // Charges: the room and board on arrival, extras on a day of the stay.
        std::map<int, double> bill;
        auto& account = inHouse ? ledger.guestAccounts : ledger.guestHistory;
        auto post = [&](int code, int day, double amount) {
            charge(code, day, amount, p.group == Gruppo, account, &bill);
        };
        const double level = priceLevel(s.arrival);
        const double lodging = cents(kRooms[s.room].price * level * s.rooms * nights);
        post(1, s.arrival, lodging);
        const double guestNights = static_cast<double>(s.persons * nights) * yearLevel(s.arrival);
        if (s.board == 'C') post(2, s.arrival, kBreakfast * guestNights);
        if (s.board == 'M') post(5, s.arrival, kHalfBoard * guestNights);
        if (s.board == 'P') post(6, s.arrival, kFullBoard * guestNights);
        post(11, s.arrival, kTouristTax * s.persons * std::min(nights, 7));
        for (const auto& e : kExtras) {
            const bool taken = rng_.chance(e.chance);
            const int day = s.arrival + rng_.between(0, nights - 1);
            const double amount = rng_.amount(e.low, e.high) * s.rooms;
            if (taken && day <= today_) post(e.voice, day, amount);
        }

        // The draws for the invoices are made whether or not the guests have left yet.
        const bool cancelled = rng_.chance(0.02);
        const bool creditNote = rng_.chance(0.04);
        const int creditDay = s.departure + rng_.between(2, 15);
        const Payment payment = choosePayment(p);
        const bool split = rng_.chance(0.15);
        const double splitShare = rng_.amount(0.5, 0.8);

        double deposit = 0;
        if (p.group == Gruppo) {  // groups pay a deposit on arrival, invoiced apart
            deposit = cents(lodging * 0.3);
            const int doc = invoice(s.arrival, "A", {{1, deposit}}, deposit);
            pay(s.arrival, doc, Bonif, deposit, "Acconto gruppo");
        }
        if (inHouse) return;
        double total = 0;
        for (auto& [code, amount] : bill) total += (amount = cents(amount));
        if (cancelled) invoice(s.departure, "F", bill, 0, true);  // cancelled and issued again
        const double due = cents(total - deposit);
        const int doc = invoice(s.departure, "F", bill, due);
        if (split && payment != Cont) {
            const double first = cents(due * splitShare);
            pay(s.departure, doc, payment, first, "Saldo soggiorno");
            pay(s.departure, doc, Cont, cents(due - first), "Saldo soggiorno");
        } else {
            pay(s.departure, doc, payment, due, "Saldo soggiorno");
        }
        if (creditNote && creditDay <= today_) invoice(creditDay, "N", {{1, cents(lodging * 0.1)}}, 0);
    }

    Payment choosePayment(const Profile& p) {
        if (p.group == Gruppo) return Bonif;
        if (p.company) return rng_.chance(0.6) ? Bonif : Carta;
        constexpr std::array<double, 5> weights = {20, 25, 45, 5, 5};
        return static_cast<Payment>(rng_.pick(weights, [](double w) { return w; }));
    }

    // The statistics of one stay for one event: a run of nights, an arrival, a departure.
    void countStay(const std::string& family, const Stay& s, int day, int nights) {
        const Profile& p = *s.profile;
        const double guests = static_cast<double>(nights * s.persons);
        auto add = [&](const std::string& tipo, const std::string& detail, double value) {
            figures_.add(setup_.number, tipo, detail, day, value);
        };
        add(family, "Generale", guests);
        add(family, kGroupNames[p.group], guests);
        add(family, p.company ? "Ditta" : "Privato", guests);
        add(family, std::string(1, s.board), guests);
        add(family + "Naz", kNations[s.nation].sigla, guests);
        if (s.province >= 0) {
            add(family + "Reg", kRegions[kProvinces[s.province].region].sigla, guests);
            add(family + "Pro", kProvinces[s.province].sigla, guests);
        }
        add(family + "Tip", kClientTypes[p.clientType].sigla, guests);
        add(family + "TC", kRooms[s.room].sigla, guests);
        add(family + "NC", kRooms[s.room].sigla, static_cast<double>(nights * s.rooms));
        if (family != "Presenze") {
            countGuests(family, s, day);
            return;
        }
        add("PresenzeNucleo", kUnits[p.unit].sigla, guests);
        const int length = s.departure - s.arrival;
        for (const auto& band : kStayBands)
            if (length <= band.maxNights) {
                add("PresenzeSoggiorno", band.sigla, guests);
                break;
            }
        for (int age : s.ages) add("PresenzeEtà", kAgeBands[age].sigla, nights);
    }

    // Heads: "Ospiti" and the private ("OspitiP") or company ("OspitiD") share.
    void countGuests(const std::string& family, const Stay& s, int day) {
        figures_.add(setup_.number, family, "Ospiti", day, s.persons);
        figures_.add(setup_.number, family, s.profile->company ? "OspitiD" : "OspitiP", day, s.persons);
    }

    void production(int code, int day, double amount, bool group) {
        figures_.add(setup_.number, "Produzione", std::to_string(voice(code).statGroup), day, amount);
        figures_.add(setup_.number, group ? "ProduzioneGrp" : "ProduzioneInd", "TOTALE", day, amount);
    }

    void charge(int code, int day, double amount, bool group, std::vector<Row>& account,
                std::map<int, double>* bill) {
        amount = cents(amount);
        account.push_back({amount, dateText(day), code});
        production(code, day, amount, group);
        if (bill) (*bill)[voice(code).invoiceGroup] += amount;
    }

    // An invoice with its lines by invoicing group; returns its number. Cancelled
    // invoices and deposits ("A") do not count as invoiced; credit notes ("N") count
    // negatively.
    int invoice(int day, const std::string& kind, const std::map<int, double>& lines, double paid,
                bool cancelled = false) {
        const int doc = ++lastDocument_;
        ledger.invoices.push_back({doc, cancelled ? "S" : "N", paid, kind, dateText(day)});
        for (const auto& [group, amount] : lines) {
            ledger.invoiceLines.push_back({amount, doc, dateText(day), group});
            if (!cancelled && kind != "A")
                figures_.add(setup_.number, "Fatturato", std::to_string(group), day,
                             kind == "N" ? -amount : amount);
        }
        return doc;
    }

    void pay(int day, int doc, Payment how, double amount, const std::string& note) {
        ledger.payments.push_back({amount, dateText(day), note, doc, kPayments[how].sigla});
        figures_.add(setup_.number, "Cassa", kPayments[how].sigla, day, amount);
    }

    // A week of bar or restaurant takings from non-guests: a receipt paid in cash and by
    // card, the payments carrying the voice in their note.
    void counterSale(int day, const CounterSale& sale) {
        const double season = 0.5 + setup_.occupancy[static_cast<std::size_t>(monthOf(day) - 1)];
        const double amount = cents(sale.week * season * rng_.amount(0.8, 1.2) * yearLevel(day));
        const int doc = invoice(day, "F", {{voice(sale.voice).invoiceGroup, amount}}, amount);
        const double cash = cents(amount * 0.6);
        pay(day, doc, Cont, cash, sale.note);
        pay(day, doc, Carta, cents(amount - cash), sale.note);
        production(sale.voice, day, amount, false);
    }

    // A charge to a local firm's account. The accounts are invoiced and paid on the
    // last day of the month; until then they are open.
    void outsideSale(int day) {
        const auto& sale =
            kOutsideSales[rng_.pick(kOutsideSales, [](const OutsideSale& o) { return o.weight; })];
        const double amount = cents(rng_.amount(sale.low, sale.high));
        const bool byTransfer = rng_.chance(0.7);
        const int billed = monthEnd(day);
        const bool open = billed > today_;
        charge(sale.voice, day, amount, false, open ? ledger.outsideAccounts : ledger.outsideHistory,
               nullptr);
        if (open) return;
        const int doc = invoice(billed, "F", {{voice(sale.voice).invoiceGroup, amount}}, amount);
        pay(billed, doc, byTransfer ? Bonif : Carta, amount, "Saldo conto esterno");
    }

    const HotelSetup& setup_;
    int first_, today_;
    Figures& figures_;
    Rng rng_;
    std::vector<int> occupied_;  // rooms taken, by night from the first day
    int lastDocument_ = 0;
};

// =====================================================================================
// Writing the files
// =====================================================================================

// (file, table) -> the rows to write.
using Rows = std::map<std::pair<std::string, std::string>, std::vector<Row>>;

class SqliteFile {
public:
    explicit SqliteFile(const fs::path& path) : path_(path) {
        // The file exists already (made exclusively under a name nobody can guess): a link
        // put in its place is not followed.
        if (sqlite3_open_v2(path.string().c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW,
                            nullptr) != SQLITE_OK)
            fail(translate("Cli", "cannot create %1: %2"));
    }
    ~SqliteFile() { sqlite3_close(db_); }
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    void exec(const std::string& sql) {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(translate("Cli", "cannot write %1: %2"));
    }
    void insert(const std::string& table, const std::vector<Row>& rows) {
        if (rows.empty()) return;
        std::string sql = "INSERT INTO " + table + " VALUES (?";
        for (std::size_t i = 1; i < rows.front().size(); ++i) sql += ",?";
        sql += ")";
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
            fail(translate("Cli", "cannot write %1: %2"));
        std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> st(raw, sqlite3_finalize);
        for (const Row& row : rows) {
            for (int i = 0; i < static_cast<int>(row.size()); ++i) {
                const Cell& c = row[static_cast<std::size_t>(i)];
                if (c.kind == Cell::Int)
                    sqlite3_bind_int64(raw, i + 1, c.i);
                else if (c.kind == Cell::Real)
                    sqlite3_bind_double(raw, i + 1, c.r);
                else
                    sqlite3_bind_text(raw, i + 1, c.t.c_str(), static_cast<int>(c.t.size()), SQLITE_STATIC);
            }
            if (sqlite3_step(raw) != SQLITE_DONE) fail(translate("Cli", "cannot write %1: %2"));
            sqlite3_reset(raw);
        }
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error(
            withArgs(what, {path_.string(), db_ ? sqlite3_errmsg(db_) : translate("Cli", "out of memory")}));
    }
    fs::path path_;
    sqlite3* db_ = nullptr;
};

// The fields of a table as "Name TYPE, Name TYPE" lists them.
std::vector<std::pair<std::string, std::string>> fieldsOf(const std::string& columns) {
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream in(columns);
    for (std::string item; std::getline(in, item, ',');) {
        std::istringstream words(item);
        std::string name, type;
        words >> name >> type;
        out.emplace_back(name, type);
    }
    return out;
}

// The Access type of a demo field: amounts are Currency, small codes Byte or Integer,
// other numbers Long, texts Text. Dates stay texts "YYYYMMDD", as the hotel's files hold
// them and the program reads them (mid$(DataAddebito,1,6) is the month).
zt::jetwrite::Jet4Column accessColumn(const std::string& name, const std::string& type) {
    using zt::jetwrite::Jet4Type;
    if (type == "REAL") return {name, Jet4Type::Currency};
    if (type == "TEXT") return {name, Jet4Type::Text};
    if (name == "NumeroHotel" || name == "Numero" || name == "TipoStampa") return {name, Jet4Type::Byte};
    if (name == "Tipo" || name == "Codice" || name == "GruppoStatistico" || name == "GruppoFatturazione")
        return {name, Jet4Type::Integer};
    return {name, Jet4Type::Long};
}

// Writes the tables [begin, end) of one database file as an Access file at `path`.
void writeAccessFile(const fs::path& path, const TableSchema* begin, const TableSchema* end,
                     const std::map<std::pair<std::string, std::string>, std::vector<Row>>& rows) {
    zt::jetwrite::Jet4Writer out(path);
    for (const TableSchema* t = begin; t != end; ++t) {
        std::vector<zt::jetwrite::Jet4Column> columns;
        for (const auto& [name, type] : fieldsOf(t->columns)) columns.push_back(accessColumn(name, type));
        out.beginTable(t->table, columns);
        const auto found = rows.find({t->file, t->table});
        if (found == rows.end()) continue;
        zt::jetwrite::Jet4Row values;
        for (const Row& row : found->second) {
            values.clear();
            for (const Cell& c : row) {
                if (c.kind == Cell::Int) values.emplace_back(static_cast<std::int64_t>(c.i));
                else if (c.kind == Cell::Real) values.emplace_back(c.r);
                else values.emplace_back(c.t);
            }
            out.addRow(values);
        }
    }
    out.finish();
}

class Installer {
public:
    Installer(DemoSummary& summary, DemoFiles files) : summary_(summary), files_(files) {}

    // Writes the tables [begin, end) of one database file under a temporary name, then
    // puts the file in place.
    void database(const TableSchema* begin, const TableSchema* end, const Rows& rows) {
        const std::string file = begin->file;
        const fs::path target = summary_.folder / file;
        PrivateFile made(summary_.folder, "." + file + ".", 0644);
        made.closeDescriptor();
        const fs::path temp = made.path();
        std::error_code ec;
        long total = 0;
        // The summary file, which the program writes, stays SQLite (demo.h, DemoFiles).
        const bool access = files_ == DemoFiles::Access && file != "Zentoria.mdb";
        try {
            if (access) {
                // The Jet 4 writer makes its file itself, exclusively (a link planted under
                // the name in the meantime makes it fail, never write elsewhere).
                fs::remove(temp);
                writeAccessFile(temp, begin, end, rows);
                for (const TableSchema* t = begin; t != end; ++t) {
                    const auto found = rows.find({file, t->table});
                    const long n = found == rows.end() ? 0 : static_cast<long>(found->second.size());
                    summary_.tables.push_back({file, t->table, n});
                    total += n;
                }
            } else {
                SqliteFile db(temp);
                db.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
                for (const TableSchema* t = begin; t != end; ++t) {
                    const std::string table = t->table;
                    const auto found = rows.find({file, table});
                    const std::vector<Row> none;
                    const auto& data = found == rows.end() ? none : found->second;
                    db.exec("CREATE TABLE " + table + " (" + t->columns + ")");
                    db.insert(table, data);
                    if (*t->index) db.exec("CREATE INDEX ix_" + table + " ON " + table + " (" + t->index + ")");
                    summary_.tables.push_back({file, table, static_cast<long>(data.size())});
                    total += static_cast<long>(data.size());
                }
                db.exec("COMMIT");
            }
        } catch (...) {
            fs::remove(temp, ec);
            throw;
        }
        // A journal left by an earlier file of this name belongs to that file.
        for (const char* suffix : {"-journal", "-wal", "-shm"})
            fs::remove(summary_.folder / (file + suffix), ec);
        made.commit(target);
        summary_.filesAndRows.emplace_back(file, total);
    }

    // A one-line text file, line ending CR LF.
    void text(const std::string& file, const std::string& line) {
        const fs::path target = summary_.folder / file;
        writeFileWhole(target, line + "\r\n", 0644);
        summary_.tables.push_back({file, "", 1});
        summary_.filesAndRows.emplace_back(file, 1);
    }

private:
    DemoSummary& summary_;
    DemoFiles files_;
};

template <class T, std::size_t N>
void addCodes(std::vector<Row>& rows, int tipo, const T (&items)[N]) {
    for (const auto& h : kHotels)
        for (const auto& it : items) rows.push_back({h.number, tipo, it.sigla, it.descr});
}

// Twelve three-digit printer codes as one text.
std::string printerCodes(const std::array<int, 12>& codes) {
    std::string s;
    char buf[8];
    for (int c : codes) {
        std::snprintf(buf, sizeof buf, "%03d", c % 1000);
        s += buf;
    }
    return s;
}

void prepareFolder(const fs::path& folder, bool force) {
    std::error_code ec;
    if (fs::exists(folder, ec)) {
        if (!fs::is_directory(folder, ec))
            throw std::runtime_error(withArgs(
                translate("Cli", "cannot write the demo into %1: it is not a folder; name a new or empty folder"),
                {folder.string()}));
        if (!force && !fs::is_empty(folder, ec))
            throw std::runtime_error(withArgs(translate("Cli", "the folder %1 is not empty; the demo is written only "
                                                               "into a new or empty folder (--force writes it anyway, "
                                                               "replacing only the demo's own files)"),
                                              {folder.string()}));
    } else if (!fs::create_directories(folder, ec) || ec) {
        throw std::runtime_error(
            withArgs(translate("Cli", "cannot create the folder %1: %2"), {folder.string(), systemErrorText(ec)}));
    }
}

}  // namespace

DemoSummary writeDemo(const fs::path& folder, bool force, chr::year_month_day today, DemoFiles files) {
    if (!today.ok()) throw std::runtime_error(translate("Cli", "the demo needs a valid date for today"));
    prepareFolder(folder, force);
    DemoSummary summary;
    summary.folder = folder;
    summary.files = files;
    const int year = static_cast<int>(today.year());
    summary.years = {year - 2, year - 1, year};
    summary.lastDate = dateText(toDay(today));

    // Simulate both hotels; the operational files hold hotel 1's bookings.
    const int first = toDay(chr::year{year - 2} / chr::January / 1);
    Figures figures(toDay(today));
    Ledger ledger;
    for (const auto& h : kHotels) {
        HotelSimulation sim(h, first, toDay(today), figures);
        sim.run();
        if (h.number == 1) ledger = std::move(sim.ledger);
        summary.hotels.emplace_back(h.number, h.name);
    }

    Rows rows;
    for (const auto& h : kHotels) {
        rows[{"AnagraficaHotels.mdb", "AnagraficaHotels"}].push_back({h.number, h.name, h.options});
        for (const auto& r : kRooms)
            rows[{"TipiCamere.mdb", "TipiCamere"}].push_back({h.number, r.sigla, r.descr});
        for (const auto& v : kVoices)
            rows[{"VociFattura.mdb", "VociFattura"}].push_back(
                {h.number, v.code, v.descr, v.statGroup, v.invoiceGroup});
        for (const auto& d : kDestinations)
            rows[{"Stampanti.mdb", "Stampanti"}].push_back({h.number, d.name, d.tipoStampa, d.line});
        rows[{"Contatori.mdb", "Contatori"}].push_back({h.number, 80, 60});
    }
    auto& codes = rows[{"CodiciVari.mdb", "CodiciVari"}];
    addCodes(codes, 4, kPayments);
    addCodes(codes, 6, kClientTypes);
    addCodes(codes, 9, kUnits);
    addCodes(codes, 10, kStayBands);
    addCodes(codes, 11, kAgeBands);
    auto& places = rows[{"Comuni.mdb", "CodiciVari"}];
    addCodes(places, 0, kNations);
    addCodes(places, 1, kRegions);
    addCodes(places, 2, kProvinces);
    for (const auto& p : kPrinterSettings)
        rows[{"Stampanti.mdb", "SetStampa"}].push_back(
            {p.tipoStampa, printerCodes(p.compresso), printerCodes(p.grassetto)});
    rows[{"Dettaglio.mdb", "Dettaglio"}] = figures.dettaglioRows();
    rows[{"Zentoria.mdb", "Zentoria"}] = figures.zentoriaRows();
    rows[{"Conto_Cliente.mdb", "Conto_Cliente"}] = std::move(ledger.guestAccounts);
    rows[{"ContoStoricoClienti.mdb", "Conto_Cliente"}] = std::move(ledger.guestHistory);
    rows[{"ContoEsterni.mdb", "Conto_Cliente"}] = std::move(ledger.outsideAccounts);
    rows[{"ContoEsterniStorico.mdb", "Conto_Cliente"}] = std::move(ledger.outsideHistory);
    rows[{"Fatture.mdb", "Incassi"}] = std::move(ledger.payments);
    rows[{"Fatture.mdb", "DatiFattura"}] = std::move(ledger.invoices);
    rows[{"Fatture.mdb", "DettaglioFattura"}] = std::move(ledger.invoiceLines);
    rows[{"Scheda_Cliente.mdb", "Scheda_Cliente"}] = std::move(ledger.cards);
    rows[{"SchedaStoricoClienti.mdb", "Scheda_Cliente"}] = std::move(ledger.cardHistory);

    Installer out(summary, files);
    const TableSchema* const last = std::end(kSchema);
    for (const TableSchema* t = std::begin(kSchema); t != last;) {
        const TableSchema* next = t + 1;
        while (next != last && std::string_view(next->file) == t->file) ++next;
        out.database(t, next, rows);
        t = next;
    }
    out.text("SeparatoreXLS.txt", ";");
    out.text("FontStp.txt", "Courier New");
    return summary;
}

DemoSummary writeDemo(const fs::path& folder, bool force, DemoFiles files) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return writeDemo(folder, force,
                     chr::year{local.tm_year + 1900} / chr::month{static_cast<unsigned>(local.tm_mon + 1)} /
                         chr::day{static_cast<unsigned>(local.tm_mday)},
                     files);
}

void rewriteAsAccess(const fs::path& file) {
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(file.string().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(raw);
        throw std::runtime_error(withArgs(translate("Cli", "cannot open %1"), {file.string()}));
    }
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, sqlite3_close);
    auto query = [&](const std::string& sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            sqlite3_finalize(st);
            throw std::runtime_error(
                withArgs(translate("Cli", "cannot read %1: %2"), {file.string(), sqlite3_errmsg(db.get())}));
        }
        return std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>(st, sqlite3_finalize);
    };
    std::vector<std::string> tables;
    for (auto st = query("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid");
         sqlite3_step(st.get()) == SQLITE_ROW;)
        tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    const fs::path temp = file.string() + ".access-new";
    std::error_code ec;
    fs::remove(temp, ec);
    try {
        zt::jetwrite::Jet4Writer out(temp);
        for (const auto& table : tables) {
            std::vector<zt::jetwrite::Jet4Column> columns;
            for (auto st = query("SELECT name, type FROM pragma_table_info('" + table + "')");
                 sqlite3_step(st.get()) == SQLITE_ROW;)
                columns.push_back(accessColumn(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)),
                                               reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1))));
            out.beginTable(table, columns);
            zt::jetwrite::Jet4Row row(columns.size());
            for (auto st = query("SELECT * FROM \"" + table + "\" ORDER BY rowid"); sqlite3_step(st.get()) == SQLITE_ROW;) {
                for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
                    auto& v = row[static_cast<std::size_t>(i)];
                    switch (sqlite3_column_type(st.get(), i)) {
                        case SQLITE_INTEGER: v = static_cast<std::int64_t>(sqlite3_column_int64(st.get(), i)); break;
                        case SQLITE_FLOAT: v = sqlite3_column_double(st.get(), i); break;
                        case SQLITE_NULL: v = std::monostate{}; break;
                        default: v = std::string(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), i)));
                    }
                }
                out.addRow(row);
            }
        }
        out.finish();
        db.reset();
        fs::rename(temp, file);
    } catch (...) {
        fs::remove(temp, ec);
        throw;
    }
}

std::string formatDemoSummary(const DemoSummary& s) {
    std::ostringstream out;
    out << withArgs(translate("Cli", "Demo installation in %1"), {s.folder.string()}) << "\n";
    if (s.files == DemoFiles::Access)
        out << translate("Cli", "Files: Access (Jet 4), the summary Zentoria.mdb SQLite") << "\n";
    out << translate("Cli", "Hotels:");
    for (std::size_t i = 0; i < s.hotels.size(); ++i)
        out << (i ? ", " : " ") << s.hotels[i].first << " " << s.hotels[i].second;
    out << "\n" << translate("Cli", "Years:");
    for (std::size_t i = 0; i < s.years.size(); ++i) out << (i ? ", " : " ") << s.years[i];
    if (s.lastDate.size() == 8)
        out << " "
            << withArgs(translate("Cli", "(data up to %1)"),
                        {s.lastDate.substr(6, 2) + "/" + s.lastDate.substr(4, 2) + "/" + s.lastDate.substr(0, 4)});
    out << "\n\n"
        << std::left << std::setw(26) << translate("Cli", "File") << std::setw(20) << translate("Cli", "Table")
        << std::right << std::setw(8) << translate("Cli", "Rows")
        << "\n";
    long total = 0;
    for (const auto& t : s.tables) {
        out << std::left << std::setw(26) << t.file << std::setw(20)
            << (t.table.empty() ? translate("Cli", "(text)") : t.table)
            << std::right << std::setw(8) << t.rows << "\n";
        total += t.rows;
    }
    out << withArgs(translate("Cli", "Total: %1 rows in %2 files"),
                    {std::to_string(total), std::to_string(s.filesAndRows.size())})
        << "\n";
    return out.str();
}

}  // namespace zt::app
