// Every query text and criterion the program builds, run through the database layer
// with sample values on working folders made as any SQLite tool would make them
// (some files with declared column types, some without). Each text is put together
// by the same concatenation the program uses; each expected result is worked out by
// hand from the fixture rows written here, never from the layer itself.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/text.h"
#include "store/sqlite/database.h"
#include "store/dialect/jet_emit.h"
#include "store/dialect/jet_sql.h"
#include "store/sqlite/dialect_functions.h"
#include "store/sqlite/sqlite_internal.h"
#include "support/testdir.h"

using namespace zt::store;
using zt::sqlText;
using zt::test::TestDir;
using zt::test::queryColumn;

namespace {

const std::string kHotel = "1";  // the current hotel, as decimal text without blanks

std::string twoDigits(int month) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", month);
    return buf;
}

// Runs fn; a text the layer refuses is reported with the text and the layer's message.
void guarded(const std::string& text, const std::function<void()>& fn) {
    try {
        fn();
    } catch (const DbError& e) {
        ADD_FAILURE() << "rejected: " << text << "\n  error: " << e.what();
    }
}

// Opens the file, runs one query and checks its single sum field, as every reader does
// (open, query, read, close): a number, or null when no row matched.
void expectSum(const TestDir& dir, const std::string& file, const std::string& query, const std::string& field,
               std::optional<double> expected) {
    SCOPED_TRACE(query);
    guarded(query, [&] {
        auto db = Database::open(dir.path(), file);
        auto rs = db.openQuery(query);
        ASSERT_FALSE(rs.eof());
        const Value v = rs.field(field);
        if (!expected) {
            EXPECT_TRUE(v.isNull()) << "got " << v.toText();
        } else {
            ASSERT_TRUE(v.isNumber()) << "got \"" << v.toText() << "\"";
            EXPECT_NEAR(v.toDouble(), *expected, 1e-9);
        }
    });
}

// Visits the rows meeting the criterion by find-first and find-next with the same text.
void walk(Recordset& rs, const std::string& criterion, const std::function<void(Recordset&)>& visit) {
    rs.findFirst(criterion);
    while (!rs.noMatch()) {
        visit(rs);
        rs.findNext(criterion);
    }
}

// The values of one field over a walk, joined by ",".
std::string walkList(Recordset& rs, const std::string& criterion, const std::string& field) {
    std::string out;
    walk(rs, criterion, [&](Recordset& r) { out += (out.empty() ? "" : ",") + r.field(field).toText(); });
    return out;
}

// ---- The two figure tables ---------------------------------------------------------

// One statistic code with one detail code. Every series gets the same pattern of rows
// in Dettaglio.mdb and Zentoria.mdb, with values that tell every row apart:
//   hotel 1, the detail, March 2014 (twice in Dettaglio), November 2014, March 2013;
//   hotel 2 in March 2014 (50000); hotel 1 with the detail "ZZ" in March 2014 (20000).
struct Series {
    std::string tipo;
    std::string detail;
};

const std::vector<Series>& allSeries() {
    static const std::vector<Series> s = {
        {"Produzione", "12"},      {"ProduzioneInd", "TOTALE"}, {"Fatturato", "7"},
        {"Cassa", "CONT"},         {"Cassa", "D'A"},            {"Cassa", "AB"},
        {"Presenze", "M"},         {"Presenze", "Generale"},    {"PresenzeNaz", "IT"},
        {"PresenzeReg", "LOM"},    {"PresenzePro", "MI"},       {"PresenzeTip", "AG"},
        {"PresenzeTC", "DUS"},     {"PresenzeNucleo", "FAM"},   {"PresenzeSoggiorno", "7GG"},
        {"PresenzeEtà", "30-40"},  {"PresenzeNC", "DUS"},       {"Arrivi", "S"},
        {"Arrivi", "Singoli"},     {"ArriviNaz", "IT"},         {"ArriviReg", "LOM"},
        {"ArriviPro", "MI"},       {"ArriviTip", "AG"},         {"ArriviTC", "DUS"},
        {"ArriviNC", "MAT"},       {"Partenze", "P"},           {"Partenze", "Ditta"},
        {"PartenzeNaz", "DE"},     {"PartenzeReg", "LOM"},      {"PartenzePro", "RM"},
        {"PartenzeTip", "TO"},     {"PartenzeTC", "MAT"},       {"PartenzeNC", "DUS"},
    };
    return s;
}

double base(std::size_t series) { return 100.0 * static_cast<double>(series + 1); }

bool startsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }
bool isArrivalOrDeparture(const Series& s) { return startsWith(s.tipo, "Arrivi") || startsWith(s.tipo, "Partenze"); }

class FigureQueries : public ::testing::Test {
protected:
    void SetUp() override {
        std::string det =
            "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, DataInserimento TEXT, Valore REAL);"
            "CREATE INDEX ix_data ON Dettaglio(DataInserimento);";
        std::string zen =
            "CREATE TABLE Zentoria(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, AnnoMese TEXT, Valore REAL);";
        auto row = [](int hotel, const std::string& tipo, const std::string& d, const std::string& date, double v) {
            return "(" + std::to_string(hotel) + "," + sqlText(tipo) + "," + sqlText(d) + "," + sqlText(date) + "," +
                   std::to_string(v) + ")";
        };
        std::string detRows, zenRows;
        for (std::size_t i = 0; i < allSeries().size(); ++i) {
            const auto& [tipo, d] = allSeries()[i];
            const double b = base(i);
            for (const auto& r : {row(1, tipo, d, "20140305", b + 1), row(1, tipo, d, "20140328", b + 2),
                                  row(1, tipo, d, "20141102", b + 4), row(1, tipo, d, "20130310", b + 8),
                                  row(2, tipo, d, "20140310", 50000), row(1, tipo, "ZZ", "20140310", 20000)})
                detRows += (detRows.empty() ? "" : ",") + r;
            for (const auto& r : {row(1, tipo, d, "201403", b + 1), row(1, tipo, d, "201411", b + 4),
                                  row(1, tipo, d, "201303", b + 8), row(2, tipo, d, "201403", 50000),
                                  row(1, tipo, "ZZ", "201403", 20000)})
                zenRows += (zenRows.empty() ? "" : ",") + r;
        }
        dir.sql("Dettaglio.mdb", det + "INSERT INTO Dettaglio VALUES" + detRows + ";");
        dir.sql("Zentoria.mdb", zen + "INSERT INTO Zentoria VALUES" + zenRows + ";");
    }

    TestDir dir;
};

}  // namespace

TEST_F(FigureQueries, MonthAndYearSumsOfDettaglio) {
    for (std::size_t i = 0; i < allSeries().size(); ++i) {
        const auto& [tipo, d] = allSeries()[i];
        const double b = base(i);
        SCOPED_TRACE(tipo + "/" + d);
        // The grid and the report: one query per month, the month always two digits.
        for (int k = 1; k <= 12; ++k) {
            const std::string q = "Select Sum(Valore) as VD From Dettaglio Where NumeroHotel = " + kHotel +
                                  " and Tipo = " + sqlText(tipo) + " and Left$(DataInserimento,6) = " +
                                  sqlText("2014" + twoDigits(k)) + " and Dettaglio = " + sqlText(d);
            std::optional<double> want;
            if (k == 3) want = 2 * b + 3;
            if (k == 11) want = b + 4;
            expectSum(dir, "Dettaglio.mdb", q, "VD", want);
        }
        // A year: the rows whose date begins with it.
        for (const auto& [year, want] : std::vector<std::pair<std::string, std::optional<double>>>{
                 {"2014", 3 * b + 7}, {"2013", b + 8}, {"2015", std::nullopt}}) {
            expectSum(dir, "Dettaglio.mdb",
                      "Select Sum(Valore) as VD From Dettaglio Where NumeroHotel = " + kHotel + " and Tipo = " +
                          sqlText(tipo) + " and Left$(DataInserimento,4) = " + sqlText(year) +
                          " and Dettaglio = " + sqlText(d),
                      "VD", want);
        }
    }

    // Without a detail clause ("ProduzioneInd", "ProduzioneGrp", "<tutti>"): every
    // detail of the statistic in the month, the "ZZ" row included.
    ASSERT_EQ(allSeries()[0].tipo, "Produzione");
    ASSERT_EQ(allSeries()[1].tipo, "ProduzioneInd");
    const double bProd = base(0), bInd = base(1);
    for (const auto& [tipo, want] : std::vector<std::pair<std::string, std::optional<double>>>{
             {"ProduzioneInd", 2 * bInd + 3 + 20000}, {"Produzione", 2 * bProd + 3 + 20000}, {"ProduzioneGrp", std::nullopt}}) {
        expectSum(dir, "Dettaglio.mdb",
                  "Select Sum(Valore) as VD From Dettaglio Where NumeroHotel = " + kHotel + " and Tipo = " +
                      sqlText(tipo) + " and Left$(DataInserimento,6) = " + sqlText("201403"),
                  "VD", want);
    }

    // The client-type batch's year sum: without "$", no hotel restriction, a final ";".
    const double bAg = base(11);  // PresenzeTip / AG
    ASSERT_EQ(allSeries()[11].tipo, "PresenzeTip");
    for (const auto& [code, want] : std::vector<std::pair<std::string, std::optional<double>>>{
             {"AG", 3 * bAg + 7 + 50000}, {"CR", std::nullopt}, {"ZZ", 20000.0}}) {
        expectSum(dir, "Dettaglio.mdb",
                  "Select Sum(Valore) as Ris From Dettaglio Where Left(DataInserimento,4) = " + sqlText("2014") +
                      " and Tipo = 'PresenzeTip' and Dettaglio = " + sqlText(code) + ";",
                  "Ris", want);
    }
}

TEST_F(FigureQueries, YearWalksOverDettaglioAndZentoria) {
    for (std::size_t i = 0; i < allSeries().size(); ++i) {
        const Series& s = allSeries()[i];
        const double b = base(i);
        SCOPED_TRACE(s.tipo + "/" + s.detail);
        if (!isArrivalOrDeparture(s)) {
            // Year differences over Dettaglio: every matching row added to its month.
            auto crit = [&](const std::string& year) {
                return "NumeroHotel = " + kHotel + " and Tipo = " + sqlText(s.tipo) +
                       " and Left$(DataInserimento,4) = " + sqlText(year) + " and Dettaglio = " + sqlText(s.detail);
            };
            for (const auto& [year, want] : std::vector<std::pair<std::string, std::map<int, double>>>{
                     {"2014", {{3, 2 * b + 3}, {11, b + 4}}}, {"2013", {{3, b + 8}}}, {"2012", {}}}) {
                guarded(crit(year), [&] {
                    auto db = Database::open(dir.path(), "Dettaglio.mdb");
                    auto rs = db.openTable("Dettaglio");
                    std::map<int, double> points;
                    walk(rs, crit(year), [&](Recordset& r) {
                        points[std::stoi(r.field("DataInserimento").toText().substr(4, 2))] += r.field("Valore").toDouble();
                    });
                    EXPECT_EQ(points, want) << crit(year);
                });
            }
        } else {
            // Year differences of arrivals and departures over Zentoria: each row in
            // table order.
            auto crit = [&](const std::string& year) {
                return "NumeroHotel = " + kHotel + " and Tipo = " + sqlText(s.tipo) + " and Left$(AnnoMese,4) = " +
                       sqlText(year) + " and Dettaglio = " + sqlText(s.detail);
            };
            for (const auto& [year, want] : std::vector<std::pair<std::string, std::vector<std::pair<int, double>>>>{
                     {"2014", {{3, b + 1}, {11, b + 4}}}, {"2013", {{3, b + 8}}}, {"2015", {}}}) {
                guarded(crit(year), [&] {
                    auto db = Database::open(dir.path(), "Zentoria.mdb");
                    auto rs = db.openTable("Zentoria");
                    std::vector<std::pair<int, double>> seen;
                    walk(rs, crit(year), [&](Recordset& r) {
                        seen.emplace_back(std::stoi(r.field("AnnoMese").toText().substr(4, 2)), r.field("Valore").toDouble());
                    });
                    EXPECT_EQ(seen, want) << crit(year);
                });
            }
        }
    }
}

TEST_F(FigureQueries, MonthLookupsAndTheWriteCriterionOfZentoria) {
    auto db = Database::open(dir.path(), "Zentoria.mdb");
    auto rs = db.openTable("Zentoria");
    for (std::size_t i = 0; i < allSeries().size(); ++i) {
        const Series& s = allSeries()[i];
        const double b = base(i);
        SCOPED_TRACE(s.tipo + "/" + s.detail);
        // The month comparison's look-up: hotel, statistic, month key, detail.
        for (const auto& [month, want] : std::vector<std::pair<int, std::optional<double>>>{
                 {3, b + 1}, {11, b + 4}, {2, std::nullopt}}) {
            const std::string crit = "NumeroHotel = " + kHotel + " and Tipo = " + sqlText(s.tipo) +
                                     " and AnnoMese = " + sqlText("2014" + twoDigits(month)) +
                                     " and Dettaglio = " + sqlText(s.detail);
            guarded(crit, [&] {
                rs.findFirst(crit);
                ASSERT_EQ(rs.noMatch(), !want) << crit;
                if (want) {
                    EXPECT_DOUBLE_EQ(rs.field("Valore").toDouble(), *want) << crit;
                }
            });
        }
        // The writer's search: the four identifying fields, the month last.
        const std::string crit = "NumeroHotel = " + kHotel + " and Tipo = " + sqlText(s.tipo) +
                                 " and Dettaglio = " + sqlText(s.detail) + " and AnnoMese = " + sqlText("2013" + twoDigits(3));
        guarded(crit, [&] {
            rs.findFirst(crit);
            ASSERT_FALSE(rs.noMatch()) << crit;
            EXPECT_DOUBLE_EQ(rs.field("Valore").toDouble(), b + 8);
        });
    }

    // A cash code kept with its filling blanks ("AB    ") is another key than "AB".
    const auto cashCrit = [&](const std::string& code) {
        return "NumeroHotel = " + kHotel + " and Tipo = 'Cassa' and Dettaglio = " + sqlText(code) +
               " and AnnoMese = " + sqlText("201403");
    };
    rs.findFirst(cashCrit("AB    "));
    EXPECT_TRUE(rs.noMatch());
    rs.findFirst(cashCrit("AB"));
    EXPECT_FALSE(rs.noMatch());

    // The write itself: edit the found row, add a row for a key that is not there.
    rs.findFirst(cashCrit("D'A"));
    ASSERT_FALSE(rs.noMatch());
    rs.edit();
    rs.setField("Valore", 12.5);
    rs.update();
    rs.findFirst(cashCrit("AB    "));
    ASSERT_TRUE(rs.noMatch());
    rs.addNew();
    rs.setField("NumeroHotel", 1);
    rs.setField("Tipo", "Cassa");
    rs.setField("Dettaglio", "AB    ");
    rs.setField("AnnoMese", "201403");
    rs.setField("Valore", 7.25);
    rs.update();
    rs.close();
    db.close();
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb",
                          "SELECT Dettaglio||'='||Valore FROM Zentoria WHERE NumeroHotel=1 AND Tipo='Cassa' "
                          "AND AnnoMese='201403' ORDER BY rowid"),
              "CONT=401.0|ZZ=20000.0|D'A=12.5|ZZ=20000.0|AB=601.0|ZZ=20000.0|AB    =7.25");
}

// ---- Lookup lists, the hotel registry, printer settings ------------------------------

TEST(DialectQueries, LookupListsRegistryAndPrinterSettings) {
    TestDir dir;
    dir.sql("AnagraficaHotels.mdb",
            "CREATE TABLE AnagraficaHotels(Numero INTEGER, RagioneSociale TEXT, CodiceAssistenza TEXT);"
            "INSERT INTO AnagraficaHotels VALUES(0,'Modello',''),(1,'Hotel Uno','&K'),(-1,'Prova',''),"
            "(12,'Hotel Dodici','U'),(123,'Hotel Centoventitre','^P');");
    dir.sql("VociFattura.mdb",
            "CREATE TABLE VociFattura(NumeroHotel INTEGER, Codice INTEGER, Descrizione TEXT, GruppoStatistico INTEGER,"
            " GruppoFatturazione INTEGER);"
            "INSERT INTO VociFattura VALUES(1,12,'Pernottamento',12,12),(1,13,'Colazione',12,13),(1,3,'Bar',3,99),"
            "(1,7,'Ristorante',99,7),(2,12,'Altro hotel',12,12),(1,15,'Minibar',3,15);");
    dir.sql("CodiciVari.mdb",
            "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO CodiciVari VALUES(1,4,'CONT','Contanti'),(1,6,'TO','Tour operator'),(1,4,'BANC','Bancomat'),"
            "(2,4,'XX','Altro hotel'),(1,6,'AG','Agenzia'),(1,9,'FAM','Famiglia'),(1,10,'7GG','Settimana'),"
            "(1,11,'30-40','Da 30 a 40'),(2,6,'BB','Altro hotel'),(1,6,'CR','Cral'),(1,4,'D''A','D''Annunzio'),"
            "(1,60,'NO','Tipo 60');");
    // As a CSV import leaves a file: no declared types, every value text.
    dir.sql("Comuni.mdb",
            "CREATE TABLE CodiciVari(NumeroHotel, Tipo, Sigla, Descrizione);"
            "INSERT INTO CodiciVari VALUES('1','0','IT','Italia'),('1','2','MI','Milano'),('1','1','LOM','Lombardia'),"
            "('2','0','FR','Francia'),('1','0','DE','Germania'),('1','2','RM','Roma'),('1','20','XX','Tipo 20');");
    dir.sql("TipiCamere.mdb",
            "CREATE TABLE TipiCamere(NumeroHotel INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO TipiCamere VALUES(1,'DUS','Doppia uso singola'),(2,'SGL','Singola'),(1,'MAT','Matrimoniale');");
    dir.sql("Stampanti.mdb",
            "CREATE TABLE Stampanti(NumeroHotel, Destinazione, TipoStampa, Linea);"
            "CREATE TABLE SetStampa(TipoStampa, Compresso, Grassetto);"
            "INSERT INTO Stampanti VALUES('1','LASER','2','lp0'),('2','ALTRO','1','LPT2'),('1','PDF Creator','3','pdf'),"
            "('1','L''Ufficio','12','LPT1');"
            "INSERT INTO SetStampa VALUES('12','C12','G12'),('2','C2','G2'),('3','C3','G3');");
    dir.sql("Contatori.mdb",
            "CREATE TABLE Contatori(NumeroHotel INTEGER, LungPagComp INTEGER, LungPagNoComp INTEGER);"
            "INSERT INTO Contatori VALUES(2,80,60),(1,90,66);");

    // Start-up: the hotel list, then the chosen hotel's option string.
    guarded("hotel registry", [&] {
        auto db = Database::open(dir.path(), "AnagraficaHotels.mdb");
        auto rs = db.openTable("AnagraficaHotels");
        EXPECT_EQ(walkList(rs, "Numero > 0", "Numero"), "1,12,123");
        for (const auto& [hotel, want] : std::vector<std::pair<int, std::optional<std::string>>>{
                 {12, "U"}, {1, "&K"}, {7, std::nullopt}}) {
            rs.findFirst("Numero = " + std::to_string(hotel));
            EXPECT_EQ(rs.noMatch(), !want) << hotel;
            if (want) {
                EXPECT_EQ(rs.field("CodiceAssistenza").toText(), *want);
            }
        }
    });

    // The detail lists: each source walked with "NumeroHotel = 1" and its own tail.
    struct ListCase {
        std::string file, table, criterion, field, want;
    };
    const std::string h = "NumeroHotel = " + kHotel;
    const std::vector<ListCase> lists = {
        {"VociFattura", "VociFattura", h + " and Codice = GruppoStatistico", "Codice", "12,3"},
        {"VociFattura", "VociFattura", h + " and Codice = GruppoFatturazione", "Codice", "12,13,7,15"},
        {"CodiciVari.mdb", "CodiciVari", h + " and Tipo = 4", "Sigla", "CONT,BANC,D'A"},
        {"CodiciVari.mdb", "CodiciVari", h + " and Tipo = 6", "Sigla", "TO,AG,CR"},
        {"CodiciVari.mdb", "CodiciVari", h + " and Tipo = 9", "Sigla", "FAM"},
        {"CodiciVari.mdb", "CodiciVari", h + " and Tipo = 10", "Sigla", "7GG"},
        {"CodiciVari.mdb", "CodiciVari", h + " and Tipo = 11", "Sigla", "30-40"},
        {"Comuni.mdb", "CodiciVari", h + " and Tipo = 0", "Sigla", "IT,DE"},
        {"Comuni.mdb", "CodiciVari", h + " and Tipo = 1", "Sigla", "LOM"},
        {"Comuni.mdb", "CodiciVari", h + " and Tipo = 2", "Sigla", "MI,RM"},
        {"TipiCamere.mdb", "TipiCamere", h, "Sigla", "DUS,MAT"},
        // The printer settings.
        {"AnagraficaHotels.mdb", "AnagraficaHotels", "Numero = 1", "CodiceAssistenza", "&K"},
        {"Stampanti.mdb", "Stampanti", "NumeroHotel = 1", "Destinazione", "LASER,PDF Creator,L'Ufficio"},
        {"Stampanti.mdb", "Stampanti", "Destinazione = " + sqlText("L'Ufficio"), "TipoStampa", "12"},
        {"Stampanti.mdb", "Stampanti", "Destinazione = " + sqlText("LASER"), "Linea", "lp0"},
        {"Stampanti.mdb", "SetStampa", "TipoStampa = " + std::to_string(2), "Compresso", "C2"},
        {"Stampanti.mdb", "SetStampa", "TipoStampa = " + std::to_string(12), "Grassetto", "G12"},
        {"Stampanti.mdb", "SetStampa", "TipoStampa = " + std::to_string(7), "Grassetto", ""},
        {"Contatori.mdb", "Contatori", h, "LungPagComp", "90"},
    };
    for (const auto& c : lists) {
        SCOPED_TRACE(c.file + " " + c.criterion);
        guarded(c.criterion, [&] {
            auto db = Database::open(dir.path(), c.file);
            auto rs = db.openTable(c.table);
            EXPECT_EQ(walkList(rs, c.criterion, c.field), c.want);
        });
    }

    // The client types of the print batch: a query in Sigla order, walked with "Tipo = 6".
    const std::string q = "Select * From CodiciVari Where Tipo = 6 Order by Sigla;";
    guarded(q, [&] {
        auto db = Database::open(dir.path(), "CodiciVari.mdb");
        auto rs = db.openQuery(q);
        EXPECT_EQ(rs.recordCount(), 4);
        EXPECT_EQ(walkList(rs, "Tipo = 6", "Sigla"), "AG,BB,CR,TO");
        EXPECT_EQ(rs.fieldNames(), (std::vector<std::string>{"NumeroHotel", "Tipo", "Sigla", "Descrizione"}));
    });
}

// ---- Recompute from the operational files -------------------------------------------

namespace {

void makeVociFattura(const TestDir& dir) {
    // Statistical group 12: voices 12 and 13 (the one of hotel 2 too: the sub-query
    // does not restrict the hotel); group 3: voices 3 and 15.
    dir.sql("VociFattura.mdb",
            "CREATE TABLE VociFattura(NumeroHotel INTEGER, Codice INTEGER, Descrizione TEXT, GruppoStatistico INTEGER,"
            " GruppoFatturazione INTEGER);"
            "INSERT INTO VociFattura VALUES(1,12,'Pernottamento',12,12),(1,13,'Colazione',12,13),(1,3,'Bar',3,99),"
            "(1,7,'Ristorante',99,7),(2,14,'Altro hotel',12,14),(1,15,'Minibar',3,15);");
}

}  // namespace

TEST(DialectQueries, RecomputeSumsOverAccountsAndInvoices) {
    TestDir dir;
    makeVociFattura(dir);
    const std::string accounts = "CREATE TABLE Conto_Cliente(Importo REAL, DataAddebito TEXT, VoceAddebito INTEGER);";
    dir.sql("Conto_Cliente.mdb", accounts +
                                     "CREATE INDEX ix_addebito ON Conto_Cliente(DataAddebito);"
                                     "INSERT INTO Conto_Cliente VALUES(10.5,'20140305',12),(2.25,'20140331',13),"
                                     "(400,'20140401',12),(800,'20130315',12),(16,'20140310',3),(32,'20140320',7),"
                                     "(64,'20140312',14);");
    dir.sql("ContoStoricoClienti.mdb", accounts +
                                           "INSERT INTO Conto_Cliente VALUES(100,'20140301',12),(1000,'20140228',13),"
                                           "(0.5,'20140315',15);");
    dir.sql("ContoEsterni.mdb", accounts + "INSERT INTO Conto_Cliente VALUES(7,'20140302',13),(9,'20140302',99);");
    // Imported without declared types: amounts, dates and voices all text.
    dir.sql("ContoEsterniStorico.mdb",
            "CREATE TABLE Conto_Cliente(Importo, DataAddebito, VoceAddebito);"
            "INSERT INTO Conto_Cliente VALUES('3.5','20140303','12'),('1','20140403','12'),('2','20140303','3'),"
            "('4096','2014-03-03','12');");
    dir.sql("Fatture.mdb",
            "CREATE TABLE Incassi(Importo REAL, DataEmissione TEXT, Nota TEXT, NDocumento INTEGER, Sigla TEXT);"
            "CREATE TABLE DatiFattura(NDocumento INTEGER, Annullato TEXT, CorrPagato REAL, ZentAcc TEXT,"
            " DataEmissione TEXT);"
            "CREATE TABLE DettaglioFattura(Importo REAL, NDocumento INTEGER, DataEmissione TEXT, CodiceVoce INTEGER);"
            // Invoices: 1 paid; 2 paid, kind N; 3 cancelled; 4 unpaid, kind A; 5 of
            // February; 6 paid, kind N; 7 unpaid.
            "INSERT INTO DatiFattura VALUES(1,'N',100,'F','20140302'),(2,'N',50,'N','20140315'),"
            "(3,'S',10,'F','20140320'),(4,'N',0,'A','20140310'),(5,'N',30,'F','20140228'),"
            "(6,'N',5,'N','20140312'),(7,'N',0,'F','20140325');"
            "INSERT INTO Incassi VALUES(5,'20140302','0012 acconto',1,'CONT'),(7,'20140315','1 2 caparra',2,'BANC'),"
            "(11,'20140320','0013',3,'CONT'),(13,'20140401','0012',1,'CONT'),(17,'20140310','abcd',4,'CONT'),"
            "(19,'20140311','0003',5,'CONT'),(23,'20140312','',6,'CONT'),(29,'20140312','15x',6,'D''A');"
            "INSERT INTO DettaglioFattura VALUES(100,1,'20140302',12),(40,2,'20140315',12),(8,3,'20140320',12),"
            "(16,4,'20140310',12),(32,7,'20140325',12),(64,1,'20140302',7),(3,6,'20140312',12),"
            "(128,1,'20140402',12);");

    // "Produzione": four account files, then the takings whose note begins with a voice.
    const std::vector<std::pair<std::string, std::string>> accountQueries = {
        {"Conto_Cliente.mdb", "Select Sum(Importo) as VT From Conto_Cliente In 'Conto_Cliente.mdb' Where mid$(DataAddebito,1,6) = "},
        {"ContoStoricoClienti.mdb", "Select Sum(Importo) as VT From Conto_Cliente In 'ContoStoricoClienti.mdb' Where mid$(DataAddebito,1,6) = "},
        {"ContoEsterni.mdb", "Select Sum(Importo) as VT From Conto_Cliente In 'ContoEsterni.mdb' Where mid$(DataAddebito,1,6) = "},
        {"ContoEsterniStorico.mdb", "Select Sum(Importo) as VT From Conto_Cliente In 'ContoEsterniStorico.mdb' Where mid$(DataAddebito,1,6) = "},
    };
    // By hand, per file, for (group, month): the rows of that month whose voice is in the group.
    const std::map<std::pair<int, int>, std::vector<std::optional<double>>> accountWant = {
        {{12, 3}, {10.5 + 2.25 + 64, 100, 7, 3.5}},
        {{3, 3}, {16, 0.5, std::nullopt, 2}},
        {{12, 4}, {400, std::nullopt, std::nullopt, 1}},
        {{12, 2}, {std::nullopt, 1000, std::nullopt, std::nullopt}},
    };
    const std::map<std::pair<int, int>, std::optional<double>> takingsWant = {
        {{12, 3}, 5 + 7 + 11},  // "0012", "1 2 " (blanks skipped), "0013"
        {{3, 3}, 19 + 29},      // "0003" and "15x" (voice 15 of group 3)
        {{12, 4}, 13},
        {{12, 2}, std::nullopt},
    };
    for (const auto& [key, want] : accountWant) {
        const auto [group, month] = key;
        const std::string ym = "2014" + twoDigits(month);
        const std::string v =
            "Select Codice From VociFattura in 'VociFattura.mdb' Where GruppoStatistico = " + std::to_string(group);
        for (std::size_t f = 0; f < accountQueries.size(); ++f)
            expectSum(dir, accountQueries[f].first, accountQueries[f].second + ym + " and VoceAddebito In (" + v + ")",
                      "VT", want[f]);
        expectSum(dir, "Fatture.mdb",
                  "Select Sum(Importo) as VT From Incassi In 'Fatture.mdb' Where mid$(DataEmissione,1,6) = " + ym +
                      " and Val(Left$(Nota,4)) In (" + v + ")",
                  "VT", takingsWant.at(key));
    }

    // "Cassa": takings of paid, not cancelled invoices of the month, by payment code.
    const std::vector<std::tuple<std::string, int, std::optional<double>>> cash = {
        {"CONT", 3, 5 + 23},  // invoice 3 cancelled, 4 unpaid, 5 of February
        {"BANC", 3, 7},
        {"D'A", 3, 29},
        {"CONT", 2, std::nullopt},
        {"CONT", 4, std::nullopt},  // invoice 1 is of March
    };
    for (const auto& [s, month, want] : cash) {
        const std::string ym = "2014" + twoDigits(month);
        const std::string d =
            "(Select NDocumento From DatiFattura In 'Fatture.mdb' Where Annullato <> 'S' and CorrPagato > 0 and "
            "mid$(DataEmissione,1,6) = " + ym + ")";
        expectSum(dir, "Fatture.mdb",
                  "Select Sum(Importo) as VT From Incassi In 'Fatture.mdb' Where NDocumento In (" + d +
                      ") and mid$(DataEmissione,1,6) = " + ym + " and Sigla = " + sqlText(s),
                  "VT", want);
    }

    // "Fatturato": kind A left out by the first pass; kind N taken off twice by the second.
    struct InvoicePass {
        int voice;
        std::optional<double> first, second;
    };
    const std::vector<InvoicePass> passes = {
        {12, 100 + 40 + 32 + 3, 40 + 3},  // invoices 1, 2, 7, 6; then 2 and 6
        {7, 64, std::nullopt},
        {99, std::nullopt, std::nullopt},
    };
    for (const auto& p : passes) {
        const std::string ym = "201403";
        const std::string d1 =
            "(Select NDocumento From DatiFattura In 'Fatture.mdb' Where Annullato <> 'S' and ZentAcc <> 'A' and "
            "mid$(DataEmissione,1,6) = " + ym + ")";
        const std::string d2 =
            "(Select NDocumento From DatiFattura In 'Fatture.mdb' Where Annullato <> 'S' and ZentAcc = 'N' and "
            "mid$(DataEmissione,1,6) = " + ym + ")";
        for (const auto& [d, want] : {std::pair{d1, p.first}, std::pair{d2, p.second}}) {
            expectSum(dir, "Fatture.mdb",
                      "Select Sum(Importo) as VT From DettaglioFattura In 'Fatture.mdb' Where NDocumento In " + d +
                          " and mid$(DataEmissione,1,6) = " + ym + " and CodiceVoce = " + std::to_string(p.voice),
                      "VT", want);
        }
    }
}

TEST(DialectQueries, GuestCardQueriesOfTheNightCount) {
    TestDir dir;
    dir.sql("Scheda_Cliente.mdb",
            "CREATE TABLE Scheda_Cliente(DataArrivo TEXT, DataPartenza TEXT, DataPartenzaReale TEXT, Lingua TEXT);"
            "INSERT INTO Scheda_Cliente VALUES"
            "('20140228','20140305','','I'),"    // spans the first of the month
            "('20140310','20140312','','D'),"
            "('20140330','20140402','','GB'),"   // runs into April
            "('20140401','20140405','','I'),"    // arrives after the month
            "('20140220','20140301','','I'),"    // leaves on the first: no night in March
            "('20140315','20140320','','I*'),"   // marked with an asterisk
            "('20140301','20140331','',''),"
            "('20140201','20140501','','*F');");
    // The history file as a CSV import leaves it: no declared types.
    dir.sql("SchedaStoricoClienti.mdb",
            "CREATE TABLE Scheda_Cliente(DataArrivo, DataPartenza, DataPartenzaReale, Lingua);"
            "INSERT INTO Scheda_Cliente VALUES"
            "('20140225','20140310','20140302','I'),"
            "('20140225','20140310','20140301','I'),"  // planned after the first, real on it
            "('20140331','20140401','20140402','F'),"
            "('20140320','20140322','20140322','E*'),"
            "('20140401','20140403','20140403','I');");

    struct Pass {
        std::string file, departure, from, want;
    };
    const std::vector<Pass> passes = {
        {"Scheda_Cliente.mdb", "DataPartenza", "Scheda_Cliente In 'Scheda_Cliente.mdb'",
         "20140228-20140305,20140310-20140312,20140330-20140402,20140301-20140331"},
        {"SchedaStoricoClienti.mdb", "DataPartenzaReale", "Scheda_Cliente In 'SchedaStoricoClienti.mdb'",
         "20140225-20140302,20140331-20140402"},
    };
    for (const auto& p : passes) {
        const std::string ym = "2014" + twoDigits(3);
        const std::string q = "Select DataArrivo," + p.departure + " From " + p.from + " Where DataArrivo <= " +
                              sqlText(ym + "31") + " and " + p.departure + " > " + sqlText(ym + "01") +
                              " and Instr(Lingua,'*') = 0";
        SCOPED_TRACE(q);
        guarded(q, [&] {
            auto db = Database::open(dir.path(), p.file);
            auto rs = db.openQuery(q);
            EXPECT_EQ(rs.fieldNames(), (std::vector<std::string>{"DataArrivo", p.departure}));
            std::string seen;
            walk(rs, "DataArrivo > ''", [&](Recordset& r) {
                seen += (seen.empty() ? "" : ",") + r.field("DataArrivo").toText() + "-" + r.field(p.departure).toText();
            });
            EXPECT_EQ(seen, p.want);
        });
    }
}

// ---- Index use of the prefix criteria ------------------------------------------------

namespace {

// The tables of the plan check, as the layer would learn them from the files.
class FixedSchema : public jet::SchemaSource {
public:
    jet::TableInfo table(const std::string& name, const std::optional<std::string>&) override {
        for (const auto& t : tables)
            if (zt::equalsNoCase(t.name, name)) return t;
        throw jet::ResolveError("table \"" + name + "\" not found");
    }
    std::vector<jet::TableInfo> tables = {
        {"main", "Dettaglio",
         {{"NumeroHotel", jet::Type::Number}, {"Tipo", jet::Type::Text}, {"Dettaglio", jet::Type::Text},
          {"DataInserimento", jet::Type::Text}, {"Valore", jet::Type::Number}}},
        {"main", "Conto_Cliente",
         {{"Importo", jet::Type::Number}, {"DataAddebito", jet::Type::Text}, {"VoceAddebito", jet::Type::Number}}},
        {"voci", "VociFattura",
         {{"NumeroHotel", jet::Type::Number}, {"Codice", jet::Type::Number}, {"Descrizione", jet::Type::Text},
          {"GruppoStatistico", jet::Type::Number}, {"GruppoFatturazione", jet::Type::Number}}},
    };
};

// The plan SQLite makes for a statement, its lines joined by " / ".
std::string planOf(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &st, nullptr) != SQLITE_OK)
        return std::string("cannot prepare: ") + sqlite3_errmsg(db) + " in " + sql;
    std::string out;
    while (sqlite3_step(st) == SQLITE_ROW)
        out += (out.empty() ? "" : " / ") + std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
    sqlite3_finalize(st);
    return out;
}

}  // namespace

TEST(DialectQueries, PrefixCriteriaAreServedByTheFieldsIndex) {
    TestDir dir;
    dir.sql("Dettaglio.mdb",
            "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, DataInserimento TEXT, Valore REAL);"
            "CREATE INDEX ix_data ON Dettaglio(DataInserimento);"
            "CREATE TABLE Conto_Cliente(Importo REAL, DataAddebito TEXT, VoceAddebito INTEGER);"
            "CREATE INDEX ix_addebito ON Conto_Cliente(DataAddebito);");
    makeVociFattura(dir);

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2((dir / "Dettaglio.mdb").string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    std::shared_ptr<sqlite3> guard(db, sqlite3_close);
    ASSERT_EQ(sqlite3_exec(db, ("ATTACH DATABASE '" + (dir / "VociFattura.mdb").string() + "' AS voci").c_str(),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    // The layer's own functions, so that any statement it emits can be planned.
    registerDialectFunctions(db);

    FixedSchema schema;
    const auto& dettaglio = schema.tables[0];
    // A find over the table: the criterion applied to the rows taken in table order.
    auto findPlan = [&](const std::string& criterion) {
        auto tree = jet::parseCondition(criterion);
        const auto where = jet::emitTableCondition(*tree, dettaglio, "r", schema);
        return planOf(db, "SELECT r.rowid, r.* FROM \"main\".\"Dettaglio\" AS r WHERE " + where + " ORDER BY r.rowid");
    };
    auto queryPlan = [&](const std::string& text) {
        auto tree = jet::parseQuery(text);
        return planOf(db, jet::emitQuery(*tree, schema).sql);
    };

    // Without the rewrite the planner scans: the check below tells the two apart.
    const auto plain = planOf(db, "SELECT * FROM Dettaglio WHERE substr(DataInserimento,1,6) = '201403'");
    EXPECT_EQ(plain.find("ix_data"), std::string::npos) << plain;

    const std::vector<std::string> finds = {
        "Left$(DataInserimento,6) = " + sqlText("201403"),
        "NumeroHotel = " + kHotel + " and Tipo = 'PresenzeNaz' and Left$(DataInserimento,4) = " + sqlText("2014") +
            " and Dettaglio = " + sqlText("IT"),
    };
    for (const auto& c : finds) {
        const auto plan = findPlan(c);
        EXPECT_NE(plan.find("USING INDEX ix_data"), std::string::npos) << c << "\n  plan: " << plan;
    }
    const std::vector<std::string> queries = {
        "Select Sum(Valore) as VD From Dettaglio Where NumeroHotel = " + kHotel + " and Tipo = 'PresenzeNaz' and "
        "Left$(DataInserimento,6) = " + sqlText("201403") + " and Dettaglio = " + sqlText("IT"),
        "Select Sum(Valore) as Ris From Dettaglio Where Left(DataInserimento,4) = " + sqlText("2014") +
            " and Tipo = 'PresenzeTip' and Dettaglio = " + sqlText("AG") + ";",
    };
    for (const auto& q : queries) {
        const auto plan = queryPlan(q);
        EXPECT_NE(plan.find("USING INDEX ix_data"), std::string::npos) << q << "\n  plan: " << plan;
    }
    // The month key written as a number against a text field.
    const std::string production =
        "Select Sum(Importo) as VT From Conto_Cliente In 'Conto_Cliente.mdb' Where mid$(DataAddebito,1,6) = 201403"
        " and VoceAddebito In (Select Codice From VociFattura in 'VociFattura.mdb' Where GruppoStatistico = 12)";
    const auto plan = queryPlan(production);
    EXPECT_NE(plan.find("USING INDEX ix_addebito"), std::string::npos) << production << "\n  plan: " << plan;
}

// ---- A long find-next walk -----------------------------------------------------------

namespace {

// Statements started and rows returned on every connection opened while counting.
int gStatements = 0;
long gRows = 0;

int countEvent(unsigned type, void*, void*, void*) {
    if (type == SQLITE_TRACE_STMT) ++gStatements;
    if (type == SQLITE_TRACE_ROW) ++gRows;
    return 0;
}

int traceConnection(sqlite3* db, const char**, const sqlite3_api_routines*) {
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT | SQLITE_TRACE_ROW, countEvent, nullptr);
    return SQLITE_OK;
}

}  // namespace

TEST(DialectQueries, FindNextWalksTwentyThousandRowsOnceInTableOrder) {
    TestDir dir;
    // 30000 cards; every third has no arrival date. The arrival dates fall as the rows
    // go on, and are indexed, so an index order would differ from the table order.
    dir.sql("Scheda_Cliente.mdb",
            "CREATE TABLE Scheda_Cliente(Id INTEGER, DataArrivo TEXT, DataPartenza TEXT, Lingua TEXT);"
            "CREATE INDEX ix_arrivo ON Scheda_Cliente(DataArrivo);"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30000) "
            "INSERT INTO Scheda_Cliente SELECT i, CASE WHEN i % 3 = 0 THEN '' ELSE printf('%08d', 40000000 - i) END,"
            " '20140331', 'I' FROM n;");
    std::vector<long> want;
    for (long i = 1; i <= 30000; ++i)
        if (i % 3 != 0) want.push_back(i);
    ASSERT_EQ(want.size(), 20000u);

    const auto traceEntry = reinterpret_cast<void (*)(void)>(traceConnection);
    ASSERT_EQ(sqlite3_auto_extension(traceEntry), SQLITE_OK);
    struct Cancel {
        void (*entry)(void);
        ~Cancel() { sqlite3_cancel_auto_extension(entry); }
    } cancel{traceEntry};

    auto db = Database::open(dir.path(), "Scheda_Cliente.mdb");
    const std::string criterion = "DataArrivo > ''";
    auto check = [&](Recordset rs, const char* what) {
        SCOPED_TRACE(what);
        std::vector<long> seen;
        seen.reserve(want.size());
        gStatements = 0;
        gRows = 0;
        walk(rs, criterion, [&](Recordset& r) { seen.push_back(static_cast<long>(r.field("Id").toInteger())); });
        ASSERT_EQ(seen.size(), want.size());
        const auto [a, b] = std::mismatch(seen.begin(), seen.end(), want.begin());
        EXPECT_TRUE(a == seen.end()) << "row " << (a - seen.begin()) << " is Id " << *a << ", expected " << *b;
        // One read carried on from row to row, not one per find (a read started
        // again for each find-next would count 20000 statements).
        EXPECT_GE(gStatements, 1) << "the walk was not observed";
        EXPECT_LE(gStatements, 3) << "statements started during the walk";
        EXPECT_LE(gRows, 20003) << "rows read during the walk";
    };
    check(db.openTable("Scheda_Cliente"), "table dynaset");
    check(db.openQuery("Select Id, DataArrivo From Scheda_Cliente Where Lingua = 'I'"), "query dynaset");
}
