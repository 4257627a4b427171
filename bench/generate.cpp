// zentoria_bench_generate: writes a large installation, a hotel chain's working folder,
// for the benchmark program.
//
//   zentoria_bench_generate FOLDER [--hotels N] [--years N] [--last-year Y]
//                                  [--account-rows N] [--receipts N] [--cards N]
//                                  [--history-years N] [--wide] [--access] [--force]
//
// Defaults: 20 hotels, 10 years of `Dettaglio` ending with 2024 (about 2 million rows),
// four account files of 250,000 rows each, `Incassi` of 100,000 receipts, 100,000 guest
// cards. The operational files (accounts, invoices, guest cards) are hotel 1's, with every
// row in the last year: the year the benchmark recomputes. With --history-years N their
// rows are spread over the N years that end with the last one, as a hotel's files hold
// them after N years; with --wide their tables carry the other fields a hotel's
// programs fill (descriptions, rooms, account numbers, operators, guests' names), so that
// their rows are as wide as a real installation's (bench/access.sh writes such an
// installation as Access files).
//
// The table layouts are the demo installation's: the demo is written into a scratch
// folder first and every table is created with the statement the demo created it with.
// The lookup rows (codes, places, room types, printers, counters) are the demo's first
// hotel's, repeated for every hotel. Indexes:
//   - the demo's, on every file: Dettaglio(NumeroHotel, Tipo, DataInserimento),
//     Zentoria(NumeroHotel, Tipo, Dettaglio, AnnoMese), CodiciVari(NumeroHotel, Tipo),
//     the dates of the accounts, invoices and guest cards;
//   - and, as the installation was first measured with them, composite indexes on the
//     operational files (the recompute needs none; bench/README.md's variants drop them):
//     Conto_Cliente(VoceAddebito, DataAddebito, Importo), Incassi(DataEmissione, Nota,
//     Importo), Incassi(Sigla, DataEmissione), DettaglioFattura(CodiceVoce, DataEmissione),
//     Scheda_Cliente(DataPartenza) and, for the history cards, (DataPartenzaReale).
//
// Each file is written with one transaction and prepared inserts, the indexes made after
// the rows. The whole folder is written as FOLDER.partial and renamed when complete, so
// an interrupted run never leaves a folder that looks finished; "bench-data.txt" in the
// folder says what it holds.
//
// With --access every database file but the summary Zentoria.mdb is then rewritten as an
// Access (Jet 4) file (zt::app::rewriteAsAccess: the demo's Access field types, no
// indexes), as `zentoria demo --access` writes the demo.
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/demo.h"

namespace fs = std::filesystem;
namespace chr = std::chrono;

namespace {

struct Options {
    fs::path folder;
    int hotels = 20;
    int years = 10;
    int lastYear = 2024;
    long accountRows = 250000;
    long receipts = 100000;
    long cards = 100000;
    int historyYears = 1;
    bool wide = false;
    bool force = false;
    bool access = false;
};

constexpr int kVoices = 100;       // voices per hotel: 50 statistical groups of two
constexpr int kVoiceGroups = 50;   // the "Produzione" detail list
constexpr int kInvoiceGroups = 10; // the "Fatturato" detail list

// A fixed random sequence (splitmix64), so the installation is the same every time.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int between(int low, int high) { return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1)); }
    double cents(double low, double high) {
        const double v = low + static_cast<double>(next() >> 11) * 0x1.0p-53 * (high - low);
        return static_cast<double>(static_cast<long long>(v * 100.0 + 0.5)) / 100.0;
    }
    bool chance(int percent) { return between(1, 100) <= percent; }

private:
    std::uint64_t state_;
};

std::string dateText(chr::sys_days d) {
    const chr::year_month_day ymd{d};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02u%02u", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()));
    return buf;
}

chr::sys_days firstDay(int year) { return chr::sys_days{chr::year{year} / chr::January / 1}; }
int daysIn(int year) { return static_cast<int>((firstDay(year + 1) - firstDay(year)).count()); }

// The fields a hotel's programs fill besides those the recompute reads (--wide), each
// given its value by an SQL expression over the row's number.
struct WideField {
    const char* name;
    const char* type;
    const char* value;
};
constexpr WideField kAccountFields[] = {
    {"Descrizione", "TEXT", "'Addebito ' || rtrim(substr('Bar       RistoranteMinibar   Telefono  Lavanderia', 1 + 10 * (rowid % 5), 10)) || ' n. ' || (rowid % 997)"},
    {"Camera", "TEXT", "printf('%03d', 101 + rowid % 250)"},
    {"NumeroConto", "INTEGER", "rowid / 7"},
    {"Quantita", "INTEGER", "1 + rowid % 3"},
    {"Operatore", "TEXT", "'Operatore ricevimento ' || (1 + rowid % 12)"}};
constexpr WideField kReceiptFields[] = {
    {"Descrizione", "TEXT", "'Incasso soggiorno camera ' || printf('%03d', 101 + rowid % 250)"},
    {"Operatore", "TEXT", "'Operatore ricevimento ' || (1 + rowid % 12)"}};
constexpr WideField kInvoiceLineFields[] = {
    {"Descrizione", "TEXT", "'Pernottamento e prima colazione, camera ' || printf('%03d', 101 + rowid % 250)"},
    {"Quantita", "INTEGER", "1 + rowid % 7"},
    {"Aliquota", "INTEGER", "10"}};
constexpr WideField kInvoiceFields[] = {
    {"Intestatario", "TEXT", "'Cliente ' || (rowid % 50021) || ' S.r.l.'"},
    {"Indirizzo", "TEXT", "'Via Roma ' || (1 + rowid % 200) || ', 00100 Roma'"}};
constexpr WideField kCardFields[] = {
    {"Cognome", "TEXT", "'Cognome' || (rowid % 40009)"},
    {"Nome", "TEXT", "'Nome' || (rowid % 997)"},
    {"Nazione", "TEXT", "substr('ITDEFRGBESUS', 1 + 2 * (rowid % 6), 2)"},
    {"Documento", "TEXT", "'CA' || printf('%07d', rowid)"}};

// ---- one SQLite file ------------------------------------------------------------------

class Stmt {
public:
    Stmt(sqlite3* db, const std::string& sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st_, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot prepare \"" + sql + "\": " + sqlite3_errmsg(db));
    }
    ~Stmt() { sqlite3_finalize(st_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    Stmt& bind(int i, long long v) { sqlite3_bind_int64(st_, i, v); return *this; }
    Stmt& bind(int i, int v) { sqlite3_bind_int64(st_, i, v); return *this; }
    Stmt& bind(int i, double v) { sqlite3_bind_double(st_, i, v); return *this; }
    Stmt& bind(int i, const std::string& v) {
        sqlite3_bind_text(st_, i, v.c_str(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // Runs an insert.
    void run() {
        if (sqlite3_step(st_) != SQLITE_DONE) throw std::runtime_error(std::string("cannot insert: ") + sqlite3_errmsg(db_));
        sqlite3_reset(st_);
    }
    // Steps a query; false at its end.
    bool row() {
        const int rc = sqlite3_step(st_);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) throw std::runtime_error(std::string("cannot read: ") + sqlite3_errmsg(db_));
        return false;
    }
    std::string text(int i) const {
        const auto* t = sqlite3_column_text(st_, i);
        return t ? reinterpret_cast<const char*>(t) : "";
    }

private:
    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
};

class Db {
public:
    explicit Db(const fs::path& path, bool create = true) : path_(path) {
        const int flags = create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
        if (sqlite3_open_v2(path.string().c_str(), &db_, flags, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path.string() + ": " + sqlite3_errmsg(db_));
    }
    ~Db() { sqlite3_close(db_); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    void exec(const std::string& sql) {
        char* err = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            const std::string why = err ? err : "unknown error";
            sqlite3_free(err);
            throw std::runtime_error(path_.string() + ": " + why + " (" + sql + ")");
        }
    }
    sqlite3* get() const { return db_; }
    // Fast bulk writing: the file is new and written once, so neither a journal nor
    // syncs are needed until the end.
    void beginBulk() { exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN"); }
    void commit() { exec("COMMIT"); }

private:
    fs::path path_;
    sqlite3* db_ = nullptr;
};

// ---- what the demo gives --------------------------------------------------------------

// The CREATE statements of a demo file: tables and indexes, in creation order.
struct Layout {
    std::vector<std::pair<std::string, std::string>> tables;  // name, CREATE TABLE
    std::vector<std::string> indexes;                           // CREATE INDEX
};

class Demo {
public:
    explicit Demo(fs::path folder) : folder_(std::move(folder)) {
        zt::app::writeDemo(folder_, false, chr::year{2024} / chr::December / 31);
    }

    fs::path file(const std::string& name) const { return folder_ / name; }

    Layout layout(const std::string& file) const {
        Db db(folder_ / file, false);
        Layout l;
        Stmt st(db.get(), "SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY rowid");
        while (st.row()) {
            if (st.text(0) == "table") l.tables.emplace_back(st.text(1), st.text(2));
            else if (st.text(0) == "index") l.indexes.push_back(st.text(2));
        }
        if (l.tables.empty()) throw std::runtime_error("the demo's " + file + " has no table");
        return l;
    }

    // The (Tipo, Dettaglio) pairs hotel 1 has figures for, in code order.
    std::vector<std::pair<std::string, std::string>> detailKeys() const {
        Db db(folder_ / "Dettaglio.mdb", false);
        Stmt st(db.get(), "SELECT DISTINCT Tipo, Dettaglio FROM Dettaglio WHERE NumeroHotel = 1 ORDER BY 1, 2");
        std::vector<std::pair<std::string, std::string>> keys;
        while (st.row()) keys.emplace_back(st.text(0), st.text(1));
        return keys;
    }

private:
    fs::path folder_;
};

// A new file with the demo's tables of `file` (the indexes come later, after the rows).
void createTables(Db& db, const Layout& layout) {
    for (const auto& [name, sql] : layout.tables) db.exec(sql);
}
void createIndexes(Db& db, const Layout& layout, const std::vector<std::string>& extra = {}) {
    for (const auto& sql : layout.indexes) db.exec(sql);
    for (const auto& sql : extra) db.exec(sql);
}

// ---- the installation -----------------------------------------------------------------

class Generator {
public:
    Generator(const Options& o, const fs::path& out, const Demo& demo) : o_(o), out_(out), demo_(demo) {}

    // The first day of the operational files' history, and its length in days.
    chr::sys_days historyStart() const { return firstDay(o_.lastYear - o_.historyYears + 1); }
    long historyDays() const { return static_cast<long>((firstDay(o_.lastYear + 1) - historyStart()).count()); }

    // With --wide, the table's other fields, filled after its rows.
    template <std::size_t N>
    void widen(Db& db, const std::string& table, const WideField (&fields)[N]) {
        if (!o_.wide) return;
        std::string set;
        for (const auto& f : fields) {
            db.exec("ALTER TABLE " + table + " ADD COLUMN " + f.name + " " + f.type);
            set += std::string(set.empty() ? "" : ", ") + f.name + " = " + f.value;
        }
        db.exec("UPDATE " + table + " SET " + set);
    }

    void run() {
        registry();
        for (const char* f : {"CodiciVari.mdb", "Comuni.mdb", "TipiCamere.mdb", "Stampanti.mdb", "Contatori.mdb"})
            lookupFile(f);
        voices();
        figures();
        for (const char* f : {"Conto_Cliente.mdb", "ContoStoricoClienti.mdb", "ContoEsterni.mdb", "ContoEsterniStorico.mdb"})
            accounts(f);
        invoices();
        cards("Scheda_Cliente.mdb", false);
        cards("SchedaStoricoClienti.mdb", true);
        for (const char* f : {"SeparatoreXLS.txt", "FontStp.txt"}) fs::copy_file(demo_.file(f), out_ / f);
    }

    const std::vector<std::pair<std::string, long>>& written() const { return written_; }

private:
    const Options& o_;
    fs::path out_;
    const Demo& demo_;
    std::vector<std::pair<std::string, long>> written_;  // "file table", rows

    int firstYear() const { return o_.lastYear - o_.years + 1; }

    void note(const std::string& file, const std::string& table, long rows) {
        written_.emplace_back(file + " " + table, rows);
        std::cerr << "  " << file << " " << table << ": " << rows << " rows\n";
    }

    void registry() {
        const std::string file = "AnagraficaHotels.mdb";
        const Layout layout = demo_.layout(file);
        Db db(out_ / file);
        db.beginBulk();
        createTables(db, layout);
        Stmt ins(db.get(), "INSERT INTO AnagraficaHotels (Numero, RagioneSociale, CodiceAssistenza) VALUES (?, ?, '')");
        static const char* kPlaces[] = {"Bellavista", "San Marco", "Miramare", "Belvedere", "Dolomiti",
                                        "Laguna", "Le Terme", "Stazione", "Duomo", "Castello"};
        for (int h = 1; h <= o_.hotels; ++h) {
            std::string name = h % 2 ? "Hotel " : "Albergo ";
            name += kPlaces[(h - 1) % 10];
            if (h > 10) name.append(1, ' ').append(std::to_string((h - 1) / 10 + 1));
            ins.bind(1, h).bind(2, name).run();
        }
        createIndexes(db, layout);
        db.commit();
        note(file, "AnagraficaHotels", o_.hotels);
    }

    // The demo's rows of hotel 1 for every hotel; a table without NumeroHotel as it is.
    void lookupFile(const std::string& file) {
        const Layout layout = demo_.layout(file);
        Db db(out_ / file);
        db.exec("ATTACH DATABASE '" + demo_.file(file).string() + "' AS demo");
        db.beginBulk();
        createTables(db, layout);
        for (const auto& [table, sql] : layout.tables) {
            std::vector<std::string> columns;
            {
                Stmt st(db.get(), "SELECT name FROM pragma_table_info('" + table + "', 'demo')");
                while (st.row()) columns.push_back(st.text(0));
            }
            std::string names, values;
            bool perHotel = false;
            for (const auto& c : columns) {
                names += (names.empty() ? "" : ", ") + c;
                values += (values.empty() ? "" : ", ") + (c == "NumeroHotel" ? std::string("?1") : c);
                perHotel |= c == "NumeroHotel";
            }
            const std::string copy = "INSERT INTO main." + table + " (" + names + ") SELECT " + values + " FROM demo." +
                                     table + (perHotel ? " WHERE NumeroHotel = 1" : "") + " ORDER BY rowid";
            Stmt ins(db.get(), copy);
            for (int h = 1; h <= (perHotel ? o_.hotels : 1); ++h) ins.bind(1, h).run();
            Stmt count(db.get(), "SELECT count(*) FROM main." + table);
            count.row();
            note(file, table, std::stol(count.text(0)));
        }
        createIndexes(db, layout);
        db.commit();
    }

    // 100 voices a hotel: codes 1-50 head the statistical groups, 51-100 belong to group
    // code - 50; every fifth code from 1 heads an invoicing group (10 groups).
    void voices() {
        const std::string file = "VociFattura.mdb";
        const Layout layout = demo_.layout(file);
        Db db(out_ / file);
        db.beginBulk();
        createTables(db, layout);
        Stmt ins(db.get(),
                 "INSERT INTO VociFattura (NumeroHotel, Codice, Descrizione, GruppoStatistico, GruppoFatturazione) "
                 "VALUES (?, ?, ?, ?, ?)");
        for (int h = 1; h <= o_.hotels; ++h)
            for (int c = 1; c <= kVoices; ++c) {
                const int group = c <= kVoiceGroups ? c : c - kVoiceGroups;
                const int invoiceGroup = (group - 1) / 5 * 5 + 1;
                ins.bind(1, h).bind(2, c).bind(3, "Reparto " + std::to_string(group) + (c > kVoiceGroups ? " extra" : ""))
                    .bind(4, group).bind(5, invoiceGroup).run();
            }
        createIndexes(db, layout);
        db.commit();
        note(file, "VociFattura", static_cast<long>(o_.hotels) * kVoices);
    }

    // Dettaglio: for every hotel, month and ten-day period, one row for each statistic
    // and detail the demo's hotel has, with "Produzione" over the 50 voice groups and
    // "Fatturato" over the 10 invoicing groups. Rows in date order, as the operational
    // programs append them. Zentoria: the month totals of the same (without ProduzioneInd
    // and ProduzioneGrp, which the summary writers never produce).
    void figures() {
        std::vector<std::pair<std::string, std::string>> keys;
        for (auto& k : demo_.detailKeys())
            if (k.first != "Produzione" && k.first != "Fatturato") keys.push_back(std::move(k));
        for (int g = 1; g <= kVoiceGroups; ++g) keys.emplace_back("Produzione", std::to_string(g));
        for (int g = 0; g < kInvoiceGroups; ++g) keys.emplace_back("Fatturato", std::to_string(g * 5 + 1));
        auto money = [](const std::string& tipo) {
            return tipo == "Produzione" || tipo == "ProduzioneInd" || tipo == "ProduzioneGrp" || tipo == "Fatturato" ||
                   tipo == "Cassa";
        };

        const Layout detailLayout = demo_.layout("Dettaglio.mdb");
        const Layout summaryLayout = demo_.layout("Zentoria.mdb");
        Db detail(out_ / "Dettaglio.mdb");
        Db summary(out_ / "Zentoria.mdb");
        detail.beginBulk();
        summary.beginBulk();
        createTables(detail, detailLayout);
        createTables(summary, summaryLayout);
        Stmt insDetail(detail.get(),
                       "INSERT INTO Dettaglio (NumeroHotel, Tipo, Dettaglio, DataInserimento, Valore) VALUES (?, ?, ?, ?, ?)");
        Stmt insSummary(summary.get(),
                        "INSERT INTO Zentoria (NumeroHotel, Tipo, Dettaglio, AnnoMese, Valore) VALUES (?, ?, ?, ?, ?)");
        Rng rng(20150101);
        long detailRows = 0, summaryRows = 0;
        std::vector<double> total(keys.size());
        for (int y = firstYear(); y <= o_.lastYear; ++y) {
            for (unsigned m = 1; m <= 12; ++m) {
                const chr::year_month_day_last last{chr::year{y} / chr::month{m} / chr::last};
                const std::string ym = dateText(chr::sys_days{last}).substr(0, 6);
                const std::string periods[] = {ym + "10", ym + "20", dateText(chr::sys_days{last})};
                for (int h = 1; h <= o_.hotels; ++h) {
                    std::fill(total.begin(), total.end(), 0.0);
                    for (const auto& period : periods) {
                        for (std::size_t k = 0; k < keys.size(); ++k) {
                            const auto& [tipo, d] = keys[k];
                            const double v = money(tipo) ? rng.cents(50, 9000) : rng.between(0, 250);
                            total[k] += v;
                            insDetail.bind(1, h).bind(2, tipo).bind(3, d).bind(4, period).bind(5, v).run();
                            ++detailRows;
                        }
                    }
                    for (std::size_t k = 0; k < keys.size(); ++k) {
                        const auto& [tipo, d] = keys[k];
                        if (tipo == "ProduzioneInd" || tipo == "ProduzioneGrp") continue;
                        const double v = static_cast<double>(static_cast<long long>(total[k] * 100.0 + 0.5)) / 100.0;
                        insSummary.bind(1, h).bind(2, tipo).bind(3, d).bind(4, ym).bind(5, v).run();
                        ++summaryRows;
                    }
                }
            }
        }
        createIndexes(detail, detailLayout);
        createIndexes(summary, summaryLayout);
        detail.commit();
        summary.commit();
        note("Dettaglio.mdb", "Dettaglio", detailRows);
        note("Zentoria.mdb", "Zentoria", summaryRows);
    }

    // Charges spread evenly over the days of the last year, in date order, on any of the
    // 100 voices.
    void accounts(const std::string& file) {
        const Layout layout = demo_.layout(file);
        Db db(out_ / file);
        db.beginBulk();
        createTables(db, layout);
        Stmt ins(db.get(), "INSERT INTO Conto_Cliente (Importo, DataAddebito, VoceAddebito) VALUES (?, ?, ?)");
        Rng rng(std::hash<std::string>{}(file));
        const long days = historyDays();
        for (long i = 0; i < o_.accountRows; ++i) {
            const auto day = historyStart() + chr::days{i * days / o_.accountRows};
            ins.bind(1, rng.cents(2, 400)).bind(2, dateText(day)).bind(3, rng.between(1, kVoices)).run();
        }
        widen(db, "Conto_Cliente", kAccountFields);
        createIndexes(db, layout, {"CREATE INDEX ix_voce ON Conto_Cliente (VoceAddebito, DataAddebito, Importo)"});
        db.commit();
        note(file, "Conto_Cliente", o_.accountRows);
    }

    // Fatture.mdb over the last year: one invoice for every two receipts, three lines an
    // invoice; receipts name a voice in their note one time in three.
    void invoices() {
        const std::string file = "Fatture.mdb";
        const Layout layout = demo_.layout(file);
        Db db(out_ / file);
        db.beginBulk();
        createTables(db, layout);
        Stmt receipt(db.get(), "INSERT INTO Incassi (Importo, DataEmissione, Nota, NDocumento, Sigla) VALUES (?, ?, ?, ?, ?)");
        Stmt head(db.get(),
                  "INSERT INTO DatiFattura (NDocumento, Annullato, CorrPagato, ZentAcc, DataEmissione) VALUES (?, ?, ?, ?, ?)");
        Stmt line(db.get(), "INSERT INTO DettaglioFattura (Importo, NDocumento, DataEmissione, CodiceVoce) VALUES (?, ?, ?, ?)");
        static const char* kPayments[] = {"CONT", "BANC", "CARTA", "ASSEGN", "BONIF"};
        Rng rng(20241231);
        const long documents = std::max(1L, o_.receipts / 2);
        const long days = historyDays();
        long lines = 0;
        for (long doc = 1; doc <= documents; ++doc) {
            const std::string date = dateText(historyStart() + chr::days{(doc - 1) * days / documents});
            const int kind = rng.between(1, 100);
            const std::string zentAcc = kind <= 5 ? "A" : kind <= 9 ? "N" : "F";
            const bool cancelled = rng.chance(2);
            double amount = 0;
            for (int l = 0; l < 3; ++l) {
                const double a = rng.cents(20, 600);
                amount += a;
                line.bind(1, a).bind(2, static_cast<long long>(doc)).bind(3, date)
                    .bind(4, rng.between(0, kInvoiceGroups - 1) * 5 + 1).run();
                ++lines;
            }
            head.bind(1, static_cast<long long>(doc)).bind(2, cancelled ? "S" : "N")
                .bind(3, zentAcc == "F" ? amount : 0.0).bind(4, zentAcc).bind(5, date).run();
            for (int r = 0; r < 2 && (doc - 1) * 2 + r < o_.receipts; ++r) {
                char note[32];
                if (rng.chance(33)) std::snprintf(note, sizeof note, "%04d reparto", rng.between(1, kVoices));
                else std::snprintf(note, sizeof note, "Saldo soggiorno");
                receipt.bind(1, rng.cents(10, 900)).bind(2, date).bind(3, std::string(note))
                    .bind(4, static_cast<long long>(doc)).bind(5, std::string(kPayments[rng.between(0, 4)])).run();
            }
        }
        widen(db, "Incassi", kReceiptFields);
        widen(db, "DatiFattura", kInvoiceFields);
        widen(db, "DettaglioFattura", kInvoiceLineFields);
        createIndexes(db, layout,
                      {"CREATE INDEX ix_incassi_nota ON Incassi (DataEmissione, Nota, Importo)",
                       "CREATE INDEX ix_incassi_sigla ON Incassi (Sigla, DataEmissione)",
                       "CREATE INDEX ix_dettaglio_voce ON DettaglioFattura (CodiceVoce, DataEmissione)"});
        db.commit();
        note(file, "Incassi", o_.receipts);
        note(file, "DatiFattura", documents);
        note(file, "DettaglioFattura", lines);
    }

    // Guest cards: the history holds the cards of the guests who left during the last
    // year (3% of the cards are still in the house at its end and lie in the current
    // file, with no real departure); 2% are voided with "*" in Lingua.
    void cards(const std::string& file, bool history) {
        const Layout layout = demo_.layout(file);
        Db db(out_ / file);
        db.beginBulk();
        createTables(db, layout);
        Stmt ins(db.get(),
                 "INSERT INTO Scheda_Cliente (DataArrivo, DataPartenza, DataPartenzaReale, Lingua) VALUES (?, ?, ?, ?)");
        static const char* kLanguages[] = {"I", "I", "I", "D", "E", "F", "S"};
        Rng rng(history ? 1999 : 2000);
        const long inHouse = o_.cards * 3 / 100;
        const long count = history ? o_.cards - inHouse : inHouse;
        const int days = daysIn(o_.lastYear);
        const long historyDays = this->historyDays();
        for (long i = 0; i < count; ++i) {
            const int nights = rng.between(1, 14);
            const auto arrival = history ? historyStart() + chr::days{i * (historyDays - 14) / count}
                                         : firstDay(o_.lastYear) + chr::days{days - 14 + rng.between(0, 13)};
            const auto departure = arrival + chr::days{nights};
            std::string language = kLanguages[rng.between(0, 6)];
            if (rng.chance(2)) language += "*";
            ins.bind(1, dateText(arrival)).bind(2, dateText(departure)).bind(3, history ? dateText(departure) : std::string())
                .bind(4, language).run();
        }
        widen(db, "Scheda_Cliente", kCardFields);
        createIndexes(db, layout,
                      {history ? "CREATE INDEX ix_partenza ON Scheda_Cliente (DataPartenzaReale)"
                               : "CREATE INDEX ix_partenza ON Scheda_Cliente (DataPartenza)"});
        db.commit();
        note(file, "Scheda_Cliente", count);
    }
};

[[noreturn]] void usage(const std::string& problem) {
    std::cerr << problem << "\n"
              << "usage: zentoria_bench_generate FOLDER [--hotels N] [--years N] [--last-year Y] [--account-rows N]\n"
                 "                               [--receipts N] [--cards N] [--history-years N] [--wide] [--access]\n"
                 "                               [--force]\n";
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto number = [&](long low) {
            if (i + 1 >= argc) usage(a + " needs a number");
            char* end = nullptr;
            const long v = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || v < low) usage(a + " needs a number of at least " + std::to_string(low));
            return v;
        };
        if (a == "--hotels") o.hotels = static_cast<int>(number(1));
        else if (a == "--years") o.years = static_cast<int>(number(1));
        else if (a == "--last-year") o.lastYear = static_cast<int>(number(1000));
        else if (a == "--account-rows") o.accountRows = number(1);
        else if (a == "--receipts") o.receipts = number(2);
        else if (a == "--cards") o.cards = number(100);
        else if (a == "--history-years") o.historyYears = static_cast<int>(number(1));
        else if (a == "--wide") o.wide = true;
        else if (a == "--force") o.force = true;
        else if (a == "--access") o.access = true;
        else if (!a.empty() && a[0] == '-') usage("unknown option " + a);
        else if (o.folder.empty()) o.folder = a;
        else usage("one folder only");
    }
    if (o.folder.empty()) usage("name the folder to write");
    if (o.lastYear > 9999 || o.lastYear - o.years + 1 < 1000) usage("the years must have four digits");
    if (o.hotels > 999) usage("at most 999 hotels");
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    try {
        std::error_code ec;
        if (fs::exists(o.folder, ec)) {
            if (!o.force) throw std::runtime_error(o.folder.string() + " exists; --force writes it again");
            fs::remove_all(o.folder);
        }
        const fs::path partial = o.folder.string() + ".partial";
        fs::remove_all(partial, ec);
        fs::create_directories(partial);
        const auto started = chr::steady_clock::now();
        std::vector<std::pair<std::string, long>> written;
        {
            const Demo demo(partial / "demo-layouts");
            Generator g(o, partial, demo);
            g.run();
            written = g.written();
        }
        fs::remove_all(partial / "demo-layouts");
        if (o.access)
            for (const auto& e : fs::directory_iterator(partial))
                if (e.path().extension() == ".mdb" && e.path().filename() != "Zentoria.mdb") {
                    std::cerr << "writing " << e.path().filename().string() << " as an Access file\n";
                    zt::app::rewriteAsAccess(e.path());
                }

        std::ofstream info(partial / "bench-data.txt");
        info << "files " << (o.access ? "access" : "sqlite") << "\nhotels " << o.hotels << "\nyears " << (o.lastYear - o.years + 1) << "-" << o.lastYear
             << "\nbenchmark-year " << o.lastYear << "\n";
        for (const auto& [what, rows] : written) info << "rows " << what << " " << rows << "\n";
        info.close();
        if (!info) throw std::runtime_error("cannot write " + (partial / "bench-data.txt").string());
        fs::rename(partial, o.folder);
        const double seconds = chr::duration<double>(chr::steady_clock::now() - started).count();
        std::cerr << "installation written to " << o.folder.string() << " in " << seconds << " s\n";
    } catch (const std::exception& e) {
        std::cerr << "zentoria_bench_generate: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
