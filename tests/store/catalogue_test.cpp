#include "store/figures/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "store/sqlite/database.h"
#include "support/testdir.h"

namespace zt::store {
namespace {

using Items = std::vector<std::string>;

void makeLookups(const test::TestDir& dir) {
    dir.sql("VociFattura.mdb",
            "CREATE TABLE VociFattura(NumeroHotel INTEGER, Codice INTEGER, Descrizione TEXT,"
            " GruppoStatistico INTEGER, GruppoFatturazione INTEGER);"
            "INSERT INTO VociFattura VALUES(1, 12, 'Camere', 12, 40);"
            "INSERT INTO VociFattura VALUES(1, 3, 'Bar', 12, 3);"
            "INSERT INTO VociFattura VALUES(2, 12, 'Altro albergo', 12, 12);"
            "INSERT INTO VociFattura VALUES(1, 7, 'Ristorante', 7, 7);"
            "INSERT INTO VociFattura VALUES(1, 40, 'Pensione', 12, 40);");
    dir.sql("CodiciVari.mdb",
            "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO CodiciVari VALUES(1, 4, 'AB', 'Contanti');"
            "INSERT INTO CodiciVari VALUES(2, 4, 'XX', 'Altro albergo');"
            "INSERT INTO CodiciVari VALUES(1, 4, 'CARTA1', 'Carta di credito');"
            "INSERT INTO CodiciVari VALUES(1, 6, 'C', 'Clienti diretti');"
            "INSERT INTO CodiciVari VALUES(1, 9, 'F4', 'Famiglia di 4');");
    dir.sql("Comuni.mdb",
            "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO CodiciVari VALUES(1, 0, 'IT', 'Italia');"
            "INSERT INTO CodiciVari VALUES(1, 2, 'AQ', 'L''Aquila');"
            "INSERT INTO CodiciVari VALUES(1, 0, 'DE', 'Germania');");
    dir.sql("TipiCamere.mdb",
            "CREATE TABLE TipiCamere(NumeroHotel INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO TipiCamere VALUES(1, 'DBL', 'Doppia');"
            "INSERT INTO TipiCamere VALUES(2, 'SUI', 'Suite');"
            "INSERT INTO TipiCamere VALUES(1, 'SGL', 'Singola');");
}

TEST(Catalogue, StatisticListsAndKinds) {
    const Items names = statisticNames();
    ASSERT_EQ(names.size(), 29u);
    EXPECT_EQ(names.front(), "Produzione");
    EXPECT_EQ(names[13], "Presenze x Età");
    EXPECT_EQ(names[14], "Camere Vendute");
    EXPECT_EQ(names.back(), "Camere Partite");

    const Items cmp = comparisonNames();
    ASSERT_EQ(cmp.size(), 27u);
    EXPECT_EQ(cmp[1], "Fatturato");
    EXPECT_EQ(std::count(cmp.begin(), cmp.end(), "ProduzioneGrp"), 0);

    int money = 0;
    for (const auto& s : statistics()) money += s.kind == StatKind::Money;
    EXPECT_EQ(money, 5);
    ASSERT_NE(findStatistic("Presenze x Età"), nullptr);
    EXPECT_EQ(findStatistic("Presenze x Età")->code, "PresenzeEtà");
    EXPECT_EQ(findStatistic("Camere Arrivate")->code, "ArriviNC");
    EXPECT_EQ(findStatistic("Arrivi x Nucleo"), nullptr);  // the grid reads it, no list offers it

    ASSERT_EQ(fixedDetails().size(), 13u);
    EXPECT_EQ(fixedDetails()[2], "Famiglia");
    EXPECT_EQ(fixedDetails()[9], "Pensione Completa");
    EXPECT_EQ(fixedDetails()[12], "OspitiD");

    EXPECT_EQ(zentoriaTipo("Camere Partite"), "PartenzeNC");
    EXPECT_EQ(zentoriaTipo("Cassa"), "Cassa");
    EXPECT_EQ(zentoriaTipo("Presenze x Nucleo"), std::nullopt);
    EXPECT_EQ(zentoriaTipo("ProduzioneInd"), std::nullopt);
}

TEST(Catalogue, DetailListsFromLookupFiles) {
    test::TestDir dir;
    makeLookups(dir);
    const auto& w = dir.path();

    EXPECT_EQ(detailList(w, 1, "Produzione"), (Items{"   12 Camere", "    7 Ristorante", "<tutti>"}));
    EXPECT_EQ(detailList(w, 1, "Fatturato"), (Items{"    3 Bar", "    7 Ristorante", "   40 Pensione"}));
    EXPECT_EQ(detailList(w, 1, "Cassa"), (Items{"AB     Contanti", "CARTA1 Carta di credito"}));
    EXPECT_EQ(detailList(w, 2, "Cassa"), (Items{"XX     Altro albergo"}));
    EXPECT_EQ(detailList(w, 1, "Arrivi x Nazione"), (Items{"IT     Italia", "DE     Germania"}));
    EXPECT_EQ(detailList(w, 1, "Partenze x Provincia"), (Items{"AQ     L'Aquila"}));
    EXPECT_EQ(detailList(w, 1, "Presenze x Tipo Cliente"), (Items{"C      Clienti diretti"}));
    EXPECT_EQ(detailList(w, 1, "Presenze x Nucleo"), (Items{"F4     Famiglia di 4"}));
    EXPECT_EQ(detailList(w, 1, "Arrivi x Nucleo"), (Items{"F4     Famiglia di 4"}));
    EXPECT_EQ(detailList(w, 1, "Presenze x Età"), Items{});
    EXPECT_EQ(detailList(w, 1, "Arrivi x Tipo Camera"), (Items{"DBL    Doppia", "SGL    Singola"}));
    EXPECT_EQ(detailList(w, 1, "Camere Partite"), (Items{"DBL    Doppia", "SGL    Singola", "<tutti>"}));
    EXPECT_EQ(detailList(w, 3, "Camere Vendute"), Items{"<tutti>"});
    EXPECT_EQ(detailList(w, 1, "ProduzioneInd"), Items{"TOTALE"});
    EXPECT_EQ(detailList(w, 1, "Partenze"), fixedDetails());
    EXPECT_EQ(detailList(w, 1, "Qualcosa"), Items{});

    // The comparison list: no "<tutti>", ten fixed items, arrivals and departures untouched.
    EXPECT_EQ(comparisonDetailList(w, 1, "Produzione"), (Items{"   12 Camere", "    7 Ristorante"}));
    EXPECT_EQ(comparisonDetailList(w, 1, "Camere Vendute"), (Items{"DBL    Doppia", "SGL    Singola"}));
    EXPECT_EQ(comparisonDetailList(w, 1, "Cassa")->size(), 2u);
    const auto presenze = comparisonDetailList(w, 1, "Presenze");
    ASSERT_TRUE(presenze);
    ASSERT_EQ(presenze->size(), 10u);
    EXPECT_EQ(presenze->back(), "Pensione Completa");
    EXPECT_EQ(comparisonDetailList(w, 1, "Presenze x Nucleo"), (Items{"F4     Famiglia di 4"}));
    EXPECT_EQ(comparisonDetailList(w, 1, "Arrivi"), std::nullopt);
    EXPECT_EQ(comparisonDetailList(w, 1, "Partenze x Nazione"), std::nullopt);
    EXPECT_EQ(comparisonDetailList(w, 1, "Arrivi x Nucleo"), std::nullopt);
}

TEST(Catalogue, MissingLookupFileIsAnError) {
    test::TestDir dir;
    EXPECT_THROW(detailList(dir.path(), 1, "Cassa"), DbError);
    EXPECT_THROW(comparisonDetailList(dir.path(), 1, "Produzione"), DbError);
    EXPECT_FALSE(std::filesystem::exists(dir / "CodiciVari.mdb"));
    EXPECT_NO_THROW(detailList(dir.path(), 1, "Presenze"));  // fixed list: no file read
}

// "-": the operation does nothing; "Tipo/Dettaglio"; "Tipo/*": no detail clause.
std::string show(const std::optional<DetailKey>& k) {
    if (!k) return "-";
    return k->tipo + "/" + (k->hasDetail ? k->detail : "*");
}

std::optional<DetailKey> yearDiffKey(std::string_view name, std::string_view d) {
    switch (yearDiffOperation(name)) {
        case YearDiffOp::DiffAnno1: return diffAnno1Key(name, d);
        case YearDiffOp::DiffAnno2: return diffAnno2Key(name, d);
        default: return diffAnnoKey(name, d);
    }
}

TEST(Catalogue, DetailCodesPerOperation) {
    struct Row {
        const char *name, *d, *grid, *registra, *aggiorna, *yearDiff, *repaDiff, *report, *clientType;
    };
    const Row rows[] = {
        // name, detail item: grid, registra, aggiorna, year diff, repaDiff, report, client-type block
        {"Produzione", "   12 Camere", "Produzione/12", "Produzione/12", "Produzione/12", "Produzione/12",
         "Produzione/12", "Produzione/12", "Produzione/12"},
        {"Fatturato", "00123 Voce", "Fatturato/123", "Fatturato/123", "Fatturato/123", "Fatturato/123",
         "Fatturato/123", "Fatturato/00123", "Fatturato/00123"},
        {"Produzione", " 12 -x", "Produzione/12", "Produzione/12", "Produzione/12", "Produzione/12",
         "Produzione/12", "Produzione/12 -", "Produzione/12 -"},
        {"Produzione", "<tutti>", "Produzione/*", "Produzione/0", "Produzione/0", "Produzione/*",
         "Produzione/0", "Produzione/*", "Produzione/<tutt"},
        {"ProduzioneInd", "TOTALE", "ProduzioneInd/*", "-", "-", "-", "-", "ProduzioneInd/TOTALE", "/"},
        {"Cassa", "AB     Contanti", "Cassa/AB", "Cassa/AB", "Cassa/AB", "Cassa/AB", "Cassa/AB", "Cassa/AB",
         "Cassa/AB"},
        {"Cassa", "CARTA1 Carta", "Cassa/CARTA1", "Cassa/CARTA1", "Cassa/CARTA1", "Cassa/CARTA1",
         "Cassa/CARTA1", "Cassa/CARTA1", "Cassa/CARTA1"},
        {"Cassa", " AB    x", "Cassa/AB", "Cassa/AB", "Cassa/AB", "Cassa/AB", "Cassa/AB", "Cassa/AB", "Cassa/AB"},
        {"Presenze", "Mezza Pensione", "Presenze/M", "Presenze/M", "Presenze/Generale", "Presenze/M",
         "Presenze/M", "Presenze/M", "Presenze/M"},
        {"Presenze", "Famiglia", "Presenze/Famiglia", "Presenze/Famiglia", "Presenze/Generale",
         "Presenze/Famiglia", "Presenze/Famiglia", "Presenze/Famiglia", "Presenze/Famiglia"},
        {"Presenze", "Ospiti", "Presenze/Ospiti", "-", "Presenze/Generale", "-", "-", "Presenze/Ospiti",
         "Presenze/Ospiti"},
        {"Presenze", "", "-", "-", "Presenze/Generale", "-", "-", "Presenze/", "Presenze/"},
        {"Arrivi", "Camera e Colazione", "Arrivi/C", "Arrivi/C", "-", "Arrivi/C", "-", "Arrivi/C", "Arrivi/C"},
        {"Partenze", "Singoli", "Partenze/Singoli", "Partenze/Singoli", "-", "Partenze/Singoli", "-",
         "Partenze/Singoli", "Partenze/Singoli"},
        {"Partenze x Nazione", "IT     Italia", "PartenzeNaz/IT", "PartenzeNaz/IT", "-", "PartenzeNaz/IT", "-",
         "PartenzeNaz/IT", "PartenzeNaz/IT"},
        {"Presenze x Nazione", "ÀÈÌÒÙ1 x", "PresenzeNaz/ÀÈÌÒÙ1", "PresenzeNaz/ÀÈÌÒÙ1", "-",
         "PresenzeNaz/ÀÈÌÒÙ1", "PresenzeNaz/ÀÈÌÒÙ1", "PresenzeNaz/ÀÈÌÒÙ1", "PresenzeNaz/ÀÈÌÒÙ1"},
        {"Presenze x Nucleo", "F4     Famiglia di 4", "PresenzeNucleo/F4", "-", "-", "PresenzeNucleo/F4",
         "PresenzeNucleo/F4", "PresenzeNucleo/F4", "PresenzeNucleo/F4"},
        {"Presenze x Soggiorno", "S7     Settimana", "PresenzeSoggiorno/S7", "-", "-",
         "PresenzeSoggiorno/S7", "PresenzeSoggiorno/S7", "PresenzeSoggiorno/S7", "PresenzeSoggiorno/S7"},
        {"Presenze x Età", "A18    Adulti", "PresenzeEtà/A18", "-", "-", "PresenzeEtà/A18",
         "PresenzeEtà/A18", "PresenzeEtà/A18", "/"},
        {"Camere Vendute", "<tutti>", "PresenzeNC/*", "PresenzeNC/<tutti", "-", "PresenzeNC/*",
         "PresenzeNC/<tutti", "PresenzeNC/*", "PresenzeNC/<tutti"},
        {"Camere Arrivate", "DBL    Doppia", "ArriviNC/DBL", "ArriviNC/DBL", "-", "ArriviNC/DBL", "-",
         "ArriviNC/DBL", "ArriviNC/DBL"},
        {"Arrivi x Nucleo", "F4     Famiglia", "ArriviNucleo/F4", "-", "-", "-", "-", "/", "/"},
        {"Partenze x Età", "A18    Adulti", "PartenzeEtà/A18", "-", "-", "-", "-", "/", "/"},
        {"Qualcosa", "x", "-", "-", "-", "-", "-", "/", "/"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.name) + " + [" + r.d + "]");
        EXPECT_EQ(show(gridKey(r.name, r.d)), r.grid);
        EXPECT_EQ(show(registraKey(r.name, r.d)), r.registra);
        EXPECT_EQ(show(aggiornaKey(r.name, r.d)), r.aggiorna);
        EXPECT_EQ(show(yearDiffKey(r.name, r.d)), r.yearDiff);
        EXPECT_EQ(show(repaDiffKey(r.name, r.d)), r.repaDiff);
        EXPECT_EQ(show(reportKey(r.name, r.d)), r.report);
        EXPECT_EQ(show(reportClientTypeKey(r.name, r.d)), r.clientType);
    }

    EXPECT_EQ(yearDiffOperation("Camere Vendute"), YearDiffOp::DiffAnno);
    EXPECT_EQ(yearDiffOperation("Camere Arrivate"), YearDiffOp::DiffAnno1);
    EXPECT_EQ(yearDiffOperation("Partenze x Tipo Camera"), YearDiffOp::DiffAnno2);
    EXPECT_EQ(yearDiffOperation("Partenze x Nucleo"), YearDiffOp::DiffAnno);

    EXPECT_TRUE(gridShowsMoney("Cassa", "AB"));
    EXPECT_TRUE(gridShowsMoney("Arrivi", "Mezza Pensione"));
    EXPECT_FALSE(gridShowsMoney("Arrivi", "Generale"));
    EXPECT_FALSE(gridShowsMoney("Camere Vendute", "DBL"));
}

}  // namespace
}  // namespace zt::store
