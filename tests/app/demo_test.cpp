#include "app/demo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <set>
#include <sstream>

#include "common/text.h"
#include "store/figures/catalogue.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
namespace chr = std::chrono;
using zt::app::writeDemo;
using zt::test::queryColumn;
using zt::test::TestDir;

namespace {

constexpr chr::year_month_day kToday = chr::year{2025} / chr::March / 15;

std::set<std::string> split(const std::string& joined) {
    std::set<std::string> out;
    std::istringstream in(joined);
    for (std::string item; std::getline(in, item, '|');) out.insert(item);
    return out;
}

double number(const std::string& text) { return text == "NULL" ? 0.0 : std::stod(text); }

// File -> table -> columns with their declared types, as every reader names them.
// clang-format off
const std::map<std::string, std::map<std::string, std::string>> kSchema = {
    {"AnagraficaHotels.mdb",
     {{"AnagraficaHotels", "Numero INTEGER|RagioneSociale TEXT|CodiceAssistenza TEXT"}}},
    {"CodiciVari.mdb", {{"CodiciVari", "NumeroHotel INTEGER|Tipo INTEGER|Sigla TEXT|Descrizione TEXT"}}},
    {"Comuni.mdb", {{"CodiciVari", "NumeroHotel INTEGER|Tipo INTEGER|Sigla TEXT|Descrizione TEXT"}}},
    {"TipiCamere.mdb", {{"TipiCamere", "NumeroHotel INTEGER|Sigla TEXT|Descrizione TEXT"}}},
    {"VociFattura.mdb",
     {{"VociFattura", "NumeroHotel INTEGER|Codice INTEGER|Descrizione TEXT|GruppoStatistico INTEGER|"
                      "GruppoFatturazione INTEGER"}}},
    {"Dettaglio.mdb",
     {{"Dettaglio", "NumeroHotel INTEGER|Tipo TEXT|Dettaglio TEXT|DataInserimento TEXT|Valore REAL"}}},
    {"Zentoria.mdb",
     {{"Zentoria", "NumeroHotel INTEGER|Tipo TEXT|Dettaglio TEXT|AnnoMese TEXT|Valore REAL"}}},
    {"Conto_Cliente.mdb", {{"Conto_Cliente", "Importo REAL|DataAddebito TEXT|VoceAddebito INTEGER"}}},
    {"ContoStoricoClienti.mdb", {{"Conto_Cliente", "Importo REAL|DataAddebito TEXT|VoceAddebito INTEGER"}}},
    {"ContoEsterni.mdb", {{"Conto_Cliente", "Importo REAL|DataAddebito TEXT|VoceAddebito INTEGER"}}},
    {"ContoEsterniStorico.mdb", {{"Conto_Cliente", "Importo REAL|DataAddebito TEXT|VoceAddebito INTEGER"}}},
    {"Fatture.mdb",
     {{"Incassi", "Importo REAL|DataEmissione TEXT|Nota TEXT|NDocumento INTEGER|Sigla TEXT"},
      {"DatiFattura", "NDocumento INTEGER|Annullato TEXT|CorrPagato REAL|ZentAcc TEXT|DataEmissione TEXT"},
      {"DettaglioFattura", "Importo REAL|NDocumento INTEGER|DataEmissione TEXT|CodiceVoce INTEGER"}}},
    {"Scheda_Cliente.mdb",
     {{"Scheda_Cliente", "DataArrivo TEXT|DataPartenza TEXT|DataPartenzaReale TEXT|Lingua TEXT"}}},
    {"SchedaStoricoClienti.mdb",
     {{"Scheda_Cliente", "DataArrivo TEXT|DataPartenza TEXT|DataPartenzaReale TEXT|Lingua TEXT"}}},
    {"Stampanti.mdb",
     {{"Stampanti", "NumeroHotel INTEGER|Destinazione TEXT|TipoStampa INTEGER|Linea TEXT"},
      {"SetStampa", "TipoStampa INTEGER|Compresso TEXT|Grassetto TEXT"}}},
    {"Contatori.mdb", {{"Contatori", "NumeroHotel INTEGER|LungPagComp INTEGER|LungPagNoComp INTEGER"}}},
};
// clang-format on

}  // namespace

TEST(Demo, WritesEveryFileWithTheTablesAndColumnsTheReadersUse) {
    TestDir dir;
    const fs::path folder = dir / "nuova";  // a folder that does not exist yet
    const auto summary = writeDemo(folder, false, kToday);

    std::set<std::string> expectedFiles{"SeparatoreXLS.txt", "FontStp.txt"};
    for (const auto& [file, tables] : kSchema) expectedFiles.insert(file);
    std::set<std::string> written;
    for (const auto& [file, rows] : summary.filesAndRows) written.insert(file);
    EXPECT_EQ(written, expectedFiles);
    std::set<std::string> inFolder;
    for (const auto& entry : fs::directory_iterator(folder))
        inFolder.insert(entry.path().filename().string());
    EXPECT_EQ(inFolder, expectedFiles);  // nothing else, no temporary file left

    for (const auto& [file, tables] : kSchema) {
        std::string names;  // the map keeps them sorted by name
        for (const auto& [table, columns] : tables) names += (names.empty() ? "" : "|") + table;
        EXPECT_EQ(
            queryColumn(folder / file, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"),
            names)
            << file;
        for (const auto& [table, columns] : tables)
            EXPECT_EQ(queryColumn(folder / file, "SELECT name || ' ' || type FROM pragma_table_info(" +
                                                     zt::sqlText(table) + ")"),
                      columns)
                << file << " " << table;
    }
    for (const auto& t : summary.tables) {
        if (t.table.empty()) continue;
        EXPECT_EQ(queryColumn(folder / t.file, "SELECT count(*) FROM " + t.table), std::to_string(t.rows))
            << t.file;
    }

    EXPECT_EQ(dir.read("nuova/SeparatoreXLS.txt"), ";\r\n");
    EXPECT_EQ(dir.read("nuova/FontStp.txt"), "Courier New\r\n");
    // The figure files lie in the working folder: no hotel carries the "&" option.
    EXPECT_EQ(queryColumn(folder / "AnagraficaHotels.mdb",
                          "SELECT Numero || ' ' || RagioneSociale || ' [' || CodiceAssistenza || ']' "
                          "FROM AnagraficaHotels ORDER BY Numero"),
              "1 Hotel Bellavista []|2 Albergo San Marco [K]");
    EXPECT_EQ(
        queryColumn(folder / "Stampanti.mdb", "SELECT length(Compresso) || length(Grassetto) FROM SetStampa"),
        "3636|3636|3636");

    EXPECT_EQ(summary.years, (std::vector<int>{2023, 2024, 2025}));
    EXPECT_EQ(summary.lastDate, "20250315");
    const std::string text = zt::app::formatDemoSummary(summary);
    for (const char* part : {"Hotel Bellavista", "Albergo San Marco", "2023, 2024, 2025", "15/03/2025",
                             "Dettaglio.mdb", "DettaglioFattura", "FontStp.txt"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}

TEST(Demo, DettaglioHoldsEveryStatisticWithTheDetailCodesOfTheLookups) {
    TestDir dir;
    writeDemo(dir.path(), false, kToday);
    const fs::path detail = dir / "Dettaglio.mdb";

    // Every statistic of the catalogue, for both hotels, in each of the three years.
    const auto present = split(queryColumn(
        detail,
        "SELECT DISTINCT NumeroHotel || ' ' || substr(DataInserimento, 1, 4) || ' ' || Tipo FROM Dettaglio"));
    std::set<std::string> expected;
    for (const auto& stat : zt::store::statistics())
        for (const char* hotelYear : {"1 2023", "1 2024", "1 2025", "2 2023", "2 2024", "2 2025"})
            expected.insert(std::string(hotelYear) + " " + std::string(stat.code));
    EXPECT_EQ(present, expected);
    EXPECT_EQ(expected.size(), 2u * 3u * 29u);
    EXPECT_EQ(queryColumn(detail,
                          "SELECT min(DataInserimento) || ' ' || max(DataInserimento) || ' ' || "
                          "max(length(DataInserimento)) FROM Dettaglio"),
              "20230110 20250315 8");
    // Several entries a month, so the readers' sums matter.
    EXPECT_EQ(queryColumn(detail,
                          "SELECT count(*) FROM Dettaglio WHERE NumeroHotel = 1 AND Tipo = 'Presenze' "
                          "AND Dettaglio = 'Generale' AND DataInserimento LIKE '202402%'"),
              "3");

    // The detail codes are those the detail lists of the lookup files give.
    auto codes = [&](int hotel, const std::string& tipo) {
        return split(queryColumn(detail, "SELECT DISTINCT Dettaglio FROM Dettaglio WHERE NumeroHotel = " +
                                             std::to_string(hotel) + " AND Tipo = " + zt::sqlText(tipo)));
    };
    auto siglas = [&](int hotel, const std::string& file, const std::string& table, const std::string& tipo) {
        return split(queryColumn(dir / file, "SELECT DISTINCT trim(substr(Sigla, 1, 6)) FROM " + table +
                                                 " WHERE NumeroHotel = " + std::to_string(hotel) +
                                                 (tipo.empty() ? "" : " AND Tipo = " + tipo)));
    };
    const std::set<std::string> fixedItems{"Generale", "Singoli", "Famiglia", "Gruppo", "Privato",
                                           "Ditta",    "S",       "C",        "M",      "P",
                                           "Ospiti",   "OspitiP", "OspitiD"};
    for (int h : {1, 2}) {
        SCOPED_TRACE(h);
        const std::string n = std::to_string(h);
        EXPECT_EQ(codes(h, "Cassa"), siglas(h, "CodiciVari.mdb", "CodiciVari", "4"));
        EXPECT_TRUE(codes(h, "Cassa").count("ASSEGN"));  // six characters, kept whole
        EXPECT_EQ(
            codes(h, "Produzione"),
            split(queryColumn(dir / "VociFattura.mdb", "SELECT Codice FROM VociFattura WHERE NumeroHotel = " +
                                                           n + " AND Codice = GruppoStatistico")));
        EXPECT_EQ(
            codes(h, "Fatturato"),
            split(queryColumn(dir / "VociFattura.mdb", "SELECT Codice FROM VociFattura WHERE NumeroHotel = " +
                                                           n + " AND Codice = GruppoFatturazione")));
        EXPECT_EQ(codes(h, "ProduzioneInd"), std::set<std::string>{"TOTALE"});
        EXPECT_EQ(codes(h, "ProduzioneGrp"), std::set<std::string>{"TOTALE"});
        for (const char* family : {"Presenze", "Arrivi", "Partenze"}) {
            const std::string f = family;
            EXPECT_EQ(codes(h, f), fixedItems) << f;
            EXPECT_EQ(codes(h, f + "Naz"), siglas(h, "Comuni.mdb", "CodiciVari", "0")) << f;
            EXPECT_EQ(codes(h, f + "Reg"), siglas(h, "Comuni.mdb", "CodiciVari", "1")) << f;
            EXPECT_EQ(codes(h, f + "Pro"), siglas(h, "Comuni.mdb", "CodiciVari", "2")) << f;
            EXPECT_EQ(codes(h, f + "Tip"), siglas(h, "CodiciVari.mdb", "CodiciVari", "6")) << f;
            EXPECT_EQ(codes(h, f + "TC"), siglas(h, "TipiCamere.mdb", "TipiCamere", "")) << f;
            EXPECT_EQ(codes(h, f + "NC"), siglas(h, "TipiCamere.mdb", "TipiCamere", "")) << f;
        }
        EXPECT_EQ(codes(h, "PresenzeNucleo"), siglas(h, "CodiciVari.mdb", "CodiciVari", "9"));
        EXPECT_EQ(codes(h, "PresenzeSoggiorno"), siglas(h, "CodiciVari.mdb", "CodiciVari", "10"));
        EXPECT_EQ(codes(h, "PresenzeEtà"), siglas(h, "CodiciVari.mdb", "CodiciVari", "11"));
    }
    EXPECT_EQ(
        queryColumn(dir / "Comuni.mdb", "SELECT DISTINCT Descrizione FROM CodiciVari WHERE Sigla = 'AQ'"),
        "L'Aquila");

    // The breakdowns add up to their totals, month by month.
    auto monthly = [&](const std::string& where) {
        return queryColumn(detail,
                           "SELECT NumeroHotel || substr(DataInserimento, 1, 6) || ':' || "
                           "printf('%.2f', sum(Valore)) FROM Dettaglio WHERE " +
                               where + " GROUP BY NumeroHotel, substr(DataInserimento, 1, 6) ORDER BY 1");
    };
    for (const char* family : {"Presenze", "Arrivi", "Partenze"}) {
        const std::string f = family;
        const std::string total = monthly("Tipo = '" + f + "' AND Dettaglio = 'Generale'");
        EXPECT_EQ(monthly("Tipo = '" + f + "' AND Dettaglio IN ('Singoli', 'Famiglia', 'Gruppo')"), total)
            << f;
        EXPECT_EQ(monthly("Tipo = '" + f + "' AND Dettaglio IN ('Privato', 'Ditta')"), total) << f;
        EXPECT_EQ(monthly("Tipo = '" + f + "' AND Dettaglio IN ('S', 'C', 'M', 'P')"), total) << f;
        EXPECT_EQ(monthly("Tipo = '" + f + "Naz'"), total) << f;
        EXPECT_EQ(monthly("Tipo = '" + f + "Tip'"), total) << f;
        EXPECT_EQ(monthly("Tipo = '" + f + "TC'"), total) << f;
        EXPECT_EQ(monthly("Tipo = '" + f + "Reg'"), monthly("Tipo = '" + f + "Naz' AND Dettaglio = 'IT'"))
            << f;
        EXPECT_EQ(monthly("Tipo = '" + f + "Pro'"), monthly("Tipo = '" + f + "Naz' AND Dettaglio = 'IT'"))
            << f;
        EXPECT_EQ(monthly("Tipo = '" + f + "' AND Dettaglio IN ('OspitiP', 'OspitiD')"),
                  monthly("Tipo = '" + f + "' AND Dettaglio = 'Ospiti'"))
            << f;
    }
    const std::string nights = monthly("Tipo = 'Presenze' AND Dettaglio = 'Generale'");
    EXPECT_EQ(monthly("Tipo = 'PresenzeEtà'"), nights);
    EXPECT_EQ(monthly("Tipo = 'PresenzeNucleo'"), nights);
    EXPECT_EQ(monthly("Tipo = 'PresenzeSoggiorno'"), nights);
    EXPECT_EQ(monthly("Tipo IN ('ProduzioneInd', 'ProduzioneGrp')"), monthly("Tipo = 'Produzione'"));

    // Zentoria holds the monthly totals, under the codes the month comparison looks up.
    const fs::path summary = dir / "Zentoria.mdb";
    EXPECT_EQ(
        queryColumn(summary,
                    "SELECT NumeroHotel || Tipo || AnnoMese || Dettaglio || ':' || "
                    "printf('%.2f', Valore) FROM Zentoria "
                    "WHERE Tipo IN ('Cassa', 'Arrivi', 'PartenzeNaz') ORDER BY 1"),
        queryColumn(detail,
                    "SELECT NumeroHotel || Tipo || substr(DataInserimento, 1, 6) || Dettaglio || ':' || "
                    "printf('%.2f', sum(Valore)) FROM Dettaglio "
                    "WHERE Tipo IN ('Cassa', 'Arrivi', 'PartenzeNaz') "
                    "GROUP BY NumeroHotel, Tipo, substr(DataInserimento, 1, 6), Dettaglio ORDER BY 1"));
    EXPECT_EQ(queryColumn(summary,
                          "SELECT count(*) FROM Zentoria WHERE Tipo LIKE 'ProduzioneInd%' OR "
                          "Tipo = 'ProduzioneGrp' OR length(AnnoMese) <> 6"),
              "0");
    EXPECT_EQ(queryColumn(summary,
                          "SELECT count(*) FROM (SELECT 1 FROM Zentoria "
                          "GROUP BY NumeroHotel, Tipo, Dettaglio, AnnoMese HAVING count(*) > 1)"),
              "0");
}

// The operational files hold hotel 1's business, so what a recompute reads from them
// gives the monthly figures of Dettaglio.
TEST(Demo, OperationalFilesGiveTheFiguresOfHotelOne) {
    TestDir dir;
    writeDemo(dir.path(), false, kToday);
    const std::string month = "202407";
    auto detailSum = [&](const std::string& tipo, const std::string& code) {
        return number(queryColumn(dir / "Dettaglio.mdb",
                                  "SELECT sum(Valore) FROM Dettaglio WHERE NumeroHotel = 1 AND Tipo = " +
                                      zt::sqlText(tipo) + " AND Dettaglio = " + zt::sqlText(code) +
                                      " AND substr(DataInserimento, 1, 6) = " + zt::sqlText(month)));
    };
    auto sum = [&](const std::string& file, const std::string& query) {
        return number(queryColumn(dir / file, query));
    };
    const std::string inMonth = "substr(DataEmissione, 1, 6) = " + zt::sqlText(month);

    // Production of the bar group (Bar and Minibar): the four account files and the
    // counter takings whose note begins with the voice.
    double bar = 0;
    for (const char* file :
         {"Conto_Cliente.mdb", "ContoStoricoClienti.mdb", "ContoEsterni.mdb", "ContoEsterniStorico.mdb"})
        bar += sum(file, "SELECT sum(Importo) FROM Conto_Cliente WHERE substr(DataAddebito, 1, 6) = " +
                             zt::sqlText(month) + " AND VoceAddebito IN (3, 7)");
    bar += sum("Fatture.mdb", "SELECT sum(Importo) FROM Incassi WHERE " + inMonth +
                                  " AND CAST(substr(Nota, 1, 4) AS INTEGER) IN (3, 7)");
    EXPECT_GT(bar, 1000.0);
    EXPECT_NEAR(bar, detailSum("Produzione", "3"), 0.005);

    // Cash by payment type: payments of the month's paid, not cancelled invoices.
    const std::string paid =
        "NDocumento IN (SELECT NDocumento FROM DatiFattura WHERE Annullato <> 'S' AND "
        "CorrPagato > 0 AND " +
        inMonth + ")";
    for (const char* sigla : {"CONT", "CARTA", "BONIF"})
        EXPECT_NEAR(sum("Fatture.mdb", "SELECT sum(Importo) FROM Incassi WHERE " + paid + " AND " + inMonth +
                                           " AND Sigla = " + zt::sqlText(sigla)),
                    detailSum("Cassa", sigla), 0.005)
            << sigla;

    // Invoiced revenue of the lodging group: deposits left out, credit notes negative.
    auto lines = [&](const std::string& kinds) {
        return sum("Fatture.mdb",
                   "SELECT sum(Importo) FROM DettaglioFattura WHERE NDocumento IN (SELECT NDocumento "
                   "FROM DatiFattura WHERE Annullato <> 'S' AND " +
                       kinds + " AND " + inMonth + ") AND " + inMonth + " AND CodiceVoce = 1");
    };
    EXPECT_NEAR(lines("ZentAcc <> 'A'") - 2 * lines("ZentAcc = 'N'"), detailSum("Fatturato", "1"), 0.005);
    EXPECT_EQ(
        queryColumn(dir / "Fatture.mdb", "SELECT DISTINCT ZentAcc || Annullato FROM DatiFattura ORDER BY 1"),
        "AN|FN|FS|NN");

    // Guest nights: the history cards without "*", clamped to the month.
    const auto cards = split(queryColumn(
        dir / "SchedaStoricoClienti.mdb",
        "SELECT rowid || ' ' || DataArrivo || ' ' || DataPartenzaReale FROM Scheda_Cliente WHERE "
        "DataArrivo <= '20240731' AND DataPartenzaReale > '20240701' AND instr(Lingua, '*') = 0"));
    auto day = [](const std::string& ymd) {
        return chr::sys_days{chr::year{std::stoi(ymd.substr(0, 4))} / std::stoi(ymd.substr(4, 2)) /
                             std::stoi(ymd.substr(6, 2))};
    };
    long nights = 0;
    for (const auto& card : cards) {
        std::istringstream in(card);
        std::string id, arrival, departure;
        in >> id >> arrival >> departure;
        nights +=
            (std::min(day(departure), day("20240801")) - std::max(day(arrival), day("20240701"))).count();
    }
    EXPECT_GT(nights, 500);
    EXPECT_EQ(nights, static_cast<long>(detailSum("Presenze", "Generale")));
    EXPECT_NE(queryColumn(dir / "SchedaStoricoClienti.mdb",
                          "SELECT count(*) FROM Scheda_Cliente WHERE instr(Lingua, '*') > 0"),
              "0");
    // The guests in the house today are on the current cards and accounts.
    EXPECT_EQ(queryColumn(dir / "Scheda_Cliente.mdb",
                          "SELECT count(*) FROM Scheda_Cliente WHERE DataArrivo > '20250315' OR "
                          "DataPartenza <= '20250315' OR DataPartenzaReale <> ''"),
              "0");
    EXPECT_NE(queryColumn(dir / "Scheda_Cliente.mdb", "SELECT count(*) FROM Scheda_Cliente"), "0");
}

TEST(Demo, RefusesAFolderInUseUnlessForcedAndThenReplacesOnlyItsOwnFiles) {
    TestDir dir;
    writeDemo(dir.path(), false, kToday);  // an empty folder is fine
    dir.write("Appunti.txt", "da tenere");
    dir.sql("Dettaglio.mdb", "CREATE TABLE Vecchia (x); INSERT INTO Vecchia VALUES (1);");
    try {
        writeDemo(dir.path(), false, kToday);
        FAIL() << "a folder in use was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(dir.path().string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(queryColumn(dir / "Dettaglio.mdb", "SELECT count(*) FROM Vecchia"), "1");  // untouched

    writeDemo(dir.path(), true, kToday);
    EXPECT_EQ(dir.read("Appunti.txt"), "da tenere");
    EXPECT_EQ(queryColumn(dir / "Dettaglio.mdb", "SELECT name FROM sqlite_master WHERE type = 'table'"),
              "Dettaglio");

    dir.write("file", "x");
    EXPECT_THROW(writeDemo(dir / "file", true, kToday), std::runtime_error);
}

TEST(Demo, IsTheSameForTheSameDateAndKeepsThePastAsDaysGoBy) {
    TestDir a, b, later;
    writeDemo(a.path(), false, kToday);
    writeDemo(b.path(), false, kToday);
    writeDemo(later.path(), false, chr::year{2025} / chr::June / 30);
    auto digest = [](const TestDir& d, const std::string& where) {
        return queryColumn(d / "Dettaglio.mdb",
                           "SELECT count(*) || ' ' || printf('%.2f', sum(Valore)) || ' ' || "
                           "printf('%.2f', sum(Valore * length(Tipo || Dettaglio))) "
                           "FROM Dettaglio WHERE " +
                               where);
    };
    EXPECT_EQ(digest(a, "1"), digest(b, "1"));
    EXPECT_EQ(queryColumn(a / "Fatture.mdb", "SELECT count(*) || ' ' || sum(Importo) FROM Incassi"),
              queryColumn(b / "Fatture.mdb", "SELECT count(*) || ' ' || sum(Importo) FROM Incassi"));
    // Ten-day periods closed before the earlier date hold the same figures later on.
    EXPECT_EQ(digest(a, "DataInserimento <= '20250310'"), digest(later, "DataInserimento <= '20250310'"));
    EXPECT_NE(digest(a, "1"), digest(later, "1"));
}
