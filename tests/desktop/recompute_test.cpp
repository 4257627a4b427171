// The recompute behind "&Aggiorna", run against small operational files made as any
// SQLite tool would make them; every total below is worked out by hand from the rows
// of the fixture, and checked in the rows written to Zentoria.mdb.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "desktop/recompute.h"
#include "store/figures/catalogue.h"
#include "support/testdir.h"

using namespace zt;
using namespace zt::desktop;
using zt::test::queryColumn;
using zt::test::TestDir;

namespace {

constexpr std::int16_t kHotel = 3;

ProgramState stateFor(const TestDir& dir) {
    ProgramState st;
    st.workDir = dir.path();
    st.summaryDbPath = "Zentoria.mdb";
    st.summaryTable = "Zentoria";
    st.hotelNumber = kHotel;
    return st;
}

void makeSummary(const TestDir& dir) {
    dir.sql("Zentoria.mdb",
            "CREATE TABLE Zentoria(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, AnnoMese TEXT, Valore REAL);"
            // Another hotel's row of the same key stays as it is.
            "INSERT INTO Zentoria VALUES(1,'Produzione','12','201403',777);");
}

// The twelve months of one detail as written: "201401=0.00|201402=…".
std::string written(const TestDir& dir, const std::string& tipo, const std::string& detail) {
    return queryColumn(dir / "Zentoria.mdb",
                       "SELECT printf('%s=%.2f', AnnoMese, Valore) FROM Zentoria WHERE NumeroHotel = 3 AND Tipo = '" +
                           tipo + "' AND Dettaglio = '" + detail + "' ORDER BY AnnoMese");
}

// What `written` should read for a year whose months hold these values.
std::string year(const std::string& y, const std::array<double, 12>& v) {
    std::string out;
    for (int m = 0; m < 12; ++m) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%s%s%02d=%.2f", m ? "|" : "", y.c_str(), m + 1, v[static_cast<std::size_t>(m)]);
        out += buf;
    }
    return out;
}

std::string rowCount(const TestDir& dir) {
    return queryColumn(dir / "Zentoria.mdb", "SELECT count(*) FROM Zentoria WHERE NumeroHotel = 3");
}

// Statistical group 12: voices 12 and 13; group 3: voices 3 and 15; voice 7 is in group 99.
void voices(const TestDir& dir) {
    dir.sql("VociFattura.mdb",
            "CREATE TABLE VociFattura(NumeroHotel INTEGER, Codice INTEGER, Descrizione TEXT, GruppoStatistico INTEGER,"
            " GruppoFatturazione INTEGER);"
            "INSERT INTO VociFattura VALUES(3,12,'Pernottamento',12,12),(3,13,'Colazione',12,13),(3,3,'Bar',3,3),"
            "(3,15,'Minibar',3,3),(3,7,'Ristorante',99,7);");
}

void accounts(const TestDir& dir) {
    const std::string table =
        "CREATE TABLE Conto_Cliente(Importo REAL, DataAddebito TEXT, VoceAddebito INTEGER);"
        "CREATE INDEX ix_addebito ON Conto_Cliente(DataAddebito);";
    dir.sql("Conto_Cliente.mdb", table +
                                     "INSERT INTO Conto_Cliente VALUES(10.5,'20140305',12),(2.25,'20140331',13),"
                                     "(4,'20140401',12),(8,'20140305',7),(1,'20130305',12),(0.5,'20140310',15);");
    dir.sql("ContoStoricoClienti.mdb",
            table + "INSERT INTO Conto_Cliente VALUES(100,'20140301',12),(1000,'20140228',13);");
    dir.sql("ContoEsterni.mdb", table + "INSERT INTO Conto_Cliente VALUES(7,'20140302',13),(9,'20140302',3);");
    dir.sql("ContoEsterniStorico.mdb", table + "INSERT INTO Conto_Cliente VALUES(0.25,'20141231',12);");
}

void invoices(const TestDir& dir, const std::string& rows) {
    dir.sql("Fatture.mdb",
            "CREATE TABLE Incassi(Importo REAL, DataEmissione TEXT, Nota TEXT, NDocumento INTEGER, Sigla TEXT);"
            "CREATE TABLE DatiFattura(NDocumento INTEGER, Annullato TEXT, CorrPagato REAL, ZentAcc TEXT,"
            " DataEmissione TEXT);"
            "CREATE TABLE DettaglioFattura(Importo REAL, NDocumento INTEGER, DataEmissione TEXT, CodiceVoce INTEGER);" +
                rows);
}

const std::vector<std::string> kProductionList = {"   12 Pernottamento", "    3 Bar", "<tutti>"};

}  // namespace

TEST(Recompute, ProductionSumsTheFourAccountFilesAndNotesByVoiceGroup) {
    TestDir dir;
    makeSummary(dir);
    voices(dir);
    accounts(dir);
    // Notes whose first four characters read as a voice of the group: "0012", "12", "13ab"
    // and "1 2" (the blank is skipped: 12).
    invoices(dir, "INSERT INTO Incassi VALUES(5,'20140302','0012 acconto',1,'CONT'),(6,'20140310','0003 bar',2,'CONT'),"
                  "(50,'20140311','0099',3,'CONT'),(3,'20140320','12',4,'CONT'),(1.5,'20140415','13ab',5,'CONT'),"
                  "(2,'20140415','1 2',6,'CONT');");

    std::vector<std::string> shown;
    std::vector<RecomputeProgress> progress;
    RecomputeCallbacks cb;
    cb.onMonthWritten = [&](const std::string& item, int m, Currency v) {
        shown.push_back(item.substr(0, 5) + "/" + std::to_string(m) + "=" + v.toString());
    };
    cb.onProgress = [&](const RecomputeProgress& p) { progress.push_back(p); };
    const auto r = Recompute().run(stateFor(dir), "Produzione", kProductionList, "2014", cb);

    // Group 12 (voices 12, 13): February 1000 (history); March 10.5 + 2.25 + 100 + 7
    // from the accounts and 5 + 3 from the notes; April 4 + 1.5 + 2; December 0.25.
    EXPECT_EQ(written(dir, "Produzione", "12"),
              year("2014", {0, 1000, 10.5 + 2.25 + 100 + 7 + 5 + 3, 4 + 1.5 + 2, 0, 0, 0, 0, 0, 0, 0, 0.25}));
    // Group 3 (voices 3, 15): March 0.5 + 9 and the note "0003" 6. The first entry of the
    // list is recomputed, "<tutti>" is not.
    EXPECT_EQ(written(dir, "Produzione", "3"), year("2014", {0, 0, 0.5 + 9 + 6, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rowCount(dir), "24");
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb", "SELECT Valore FROM Zentoria WHERE NumeroHotel = 1"), "777.0");

    EXPECT_EQ(r.status, RecomputeResult::Status::Finished);
    EXPECT_EQ(r.listIndex, 1);  // left on the last entry processed
    ASSERT_EQ(r.details.size(), 2u);
    EXPECT_EQ(r.details[0].code, "12");
    EXPECT_EQ(r.details[1].code, "3");
    EXPECT_EQ(r.details[1].listIndex, 1);
    ASSERT_EQ(r.details[0].months.size(), 12u);
    EXPECT_EQ(r.details[0].months[2].toString(), "127.75");

    // Each month shown as it is written, detail by detail; progress before each month.
    ASSERT_EQ(shown.size(), 24u);
    EXPECT_EQ(shown[1], "   12/2=1000");
    EXPECT_EQ(shown[14], "    3/3=15.5");
    // Progress while the six files are read (on the first month of the first detail),
    // then before each month written.
    ASSERT_EQ(progress.size(), 7u + 24u);
    EXPECT_EQ(progress[6].detailIndex, 1);
    EXPECT_EQ(progress[6].month, 1);
    EXPECT_EQ(progress[7 + 13].detailIndex, 2);
    EXPECT_EQ(progress[7 + 13].detailCount, 2);
    EXPECT_EQ(progress[7 + 13].month, 2);
    EXPECT_EQ(progress[7 + 13].detailItem, "    3 Bar");
    EXPECT_EQ(recomputeMessage(r), "Aggiornamento di \"Produzione\" per il 2014 completato.");
}

TEST(Recompute, CashLeavesOutCancelledAndUnpaidInvoicesAndKeepsSixCharacterCodes) {
    TestDir dir;
    makeSummary(dir);
    invoices(dir,
             "INSERT INTO DatiFattura VALUES(1,'N',100,'F','20140305'),(2,'S',50,'F','20140306'),"
             "(3,'N',0,'F','20140307'),(4,'N',20,'F','20140410'),(6,'N',30,'F','20140228');"
             "INSERT INTO Incassi VALUES(40,'20140305','',1,'CONT'),(15,'20140306','',1,'BANCOM'),"
             "(50,'20140306','',2,'CONT'),"    // cancelled invoice
             "(9,'20140307','',3,'CONT'),"      // nothing paid
             "(20,'20140410','',4,'CONT'),"
             "(30,'20140301','',6,'CONT'),"     // invoice of another month
             "(1.5,'20140305','',1,'BANCO');");  // another code, five characters
    const std::vector<std::string> list = {"CONT   Contanti", "BANCOM Bancomat", "AB     Assegni"};
    const auto r = Recompute().run(stateFor(dir), "Cassa", list, "2014");

    EXPECT_EQ(written(dir, "Cassa", "CONT"), year("2014", {0, 0, 40, 20, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(written(dir, "Cassa", "BANCOM"), year("2014", {0, 0, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(written(dir, "Cassa", "AB"), year("2014", {}));
    EXPECT_EQ(rowCount(dir), "36");
    EXPECT_EQ(r.listIndex, 2);
}

TEST(Recompute, InvoicedLeavesOutKindAAndCountsKindNNegatively) {
    TestDir dir;
    makeSummary(dir);
    invoices(dir,
             "INSERT INTO DatiFattura VALUES(1,'N',0,'F','20140305'),(2,'N',0,'A','20140306'),"
             "(3,'N',0,'N','20140307'),(4,'S',0,'F','20140308'),(5,'N',0,'N','20140502');"
             "INSERT INTO DettaglioFattura VALUES(100,1,'20140305',12),(40,2,'20140306',12),(8,3,'20140307',12),"
             "(70,4,'20140308',12),(5,1,'20140305',13),(25,5,'20140502',12);");
    const auto r = Recompute().run(stateFor(dir), "Fatturato", {"   12 Pernottamento", "00013 Colazione"}, "2014");

    // March: 100 counts, kind "A" (40) and the cancelled invoice (70) do not, kind "N"
    // (8) counts against; May holds only kind "N".
    EXPECT_EQ(written(dir, "Fatturato", "12"), year("2014", {0, 0, 100 - 8, 0, -25, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(written(dir, "Fatturato", "13"), year("2014", {0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(r.details.at(0).months.at(4).toString(), "-25");
}

TEST(Recompute, GuestNightsCountCalendarDaysOfCurrentAndHistoryCards) {
    TestDir dir;
    makeSummary(dir);
    dir.sql("Scheda_Cliente.mdb",
            "CREATE TABLE Scheda_Cliente(DataArrivo TEXT, DataPartenza TEXT, DataPartenzaReale TEXT, Lingua TEXT);"
            "CREATE INDEX ix_arrivo ON Scheda_Cliente(DataArrivo);"
            "INSERT INTO Scheda_Cliente VALUES"
            "('20150130','20150202','','I'),"   // 30th of a 31-day month to the 2nd: 2 + 1
            "('20150125','20150305','','I'),"   // 7 in January, all 28 of February, 4 in March
            "('20150310','20150312','','I*'),"  // marked: never counted
            "('20150320','20150315','','I'),"   // departure before arrival
            "('20150231','20150305','','I'),"   // not a date
            "('20160201','20160229','','I'),"   // leaves on 29 February: 28 nights
            "('20160120','20160310','','GB');"); // 12 in January, all 29 of February, 9 in March
    dir.sql("SchedaStoricoClienti.mdb",
            "CREATE TABLE Scheda_Cliente(DataArrivo TEXT, DataPartenza TEXT, DataPartenzaReale TEXT, Lingua TEXT);"
            "INSERT INTO Scheda_Cliente VALUES"
            "('20150301','20150310','20150308','D'),"  // the real departure counts: 7
            "('20151230','20160103','20160102','F'),"  // 2 in December, 1 in the next January
            "('20150401','20150405','20150403','*E'),"
            "('20150501','20150510','20150503',NULL);");  // no language: a guest, 2
    const auto& list = store::fixedDetails();

    auto r = Recompute().run(stateFor(dir), "Presenze", list, "2015");
    EXPECT_EQ(written(dir, "Presenze", "Generale"),
              year("2015", {2 + 7, 1 + 28, 4 + 7, 0, 2, 0, 0, 0, 0, 0, 0, 2}));
    EXPECT_EQ(rowCount(dir), "12");
    EXPECT_EQ(r.listIndex, 0);
    ASSERT_EQ(r.details.size(), 1u);
    EXPECT_EQ(r.details[0].code, "Generale");
    // The card without a date is returned by the queries of February and March and
    // reported once.
    ASSERT_EQ(r.leftOut.size(), 2u);
    EXPECT_EQ(r.leftOutCount(LeftOutCard::Reason::DepartureBeforeArrival), 1);
    EXPECT_EQ(r.leftOutCount(LeftOutCard::Reason::InvalidDate), 1);
    EXPECT_EQ(r.leftOut[0].arrival, "20150231");
    EXPECT_EQ(r.leftOut[0].file, "Scheda_Cliente.mdb");
    EXPECT_EQ(r.leftOut[0].firstMonth, 2);
    EXPECT_NE(recomputeMessage(r).find("Schede escluse dal conteggio: 2 (1 con partenza precedente all'arrivo, "
                                       "1 con date non valide)"),
              std::string::npos)
        << recomputeMessage(r);

    r = Recompute().run(stateFor(dir), "Presenze", list, "2016");
    EXPECT_EQ(written(dir, "Presenze", "Generale"),
              year("2015", {2 + 7, 1 + 28, 4 + 7, 0, 2, 0, 0, 0, 0, 0, 0, 2}) + "|" +
                  year("2016", {1 + 12, 28 + 29, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(r.leftOut.empty());
}

TEST(Recompute, WritesNothingWithoutDetailsOrForOtherStatisticsOrAYearNotOfFourDigits) {
    TestDir dir;
    makeSummary(dir);
    voices(dir);
    accounts(dir);
    invoices(dir, "");

    // Only "<tutti>": nothing to recompute.
    auto r = Recompute().run(stateFor(dir), "Produzione", {"<tutti>"}, "2014");
    EXPECT_EQ(r.status, RecomputeResult::Status::Finished);
    EXPECT_TRUE(r.details.empty());
    EXPECT_FALSE(r.listIndex.has_value());
    EXPECT_EQ(rowCount(dir), "0");

    // Another statistic: nothing read (its files need not exist) and nothing written.
    TestDir empty;
    for (const char* name : {"Arrivi", "ProduzioneInd", "Presenze x Nazione"}) {
        r = Recompute().run(stateFor(empty), name, {"Generale"}, "2014");
        EXPECT_EQ(r.status, RecomputeResult::Status::NotRecomputable) << name;
        EXPECT_EQ(recomputeMessage(r), "");
    }
    EXPECT_FALSE(std::filesystem::exists(empty / "Zentoria.mdb"));

    // A year that is not four digits is refused before anything is read or written.
    for (const char* y : {"14", "20145", "2014 or 1=1", "", " 2014", "２０１４"}) {
        try {
            Recompute().run(stateFor(dir), "Produzione", kProductionList, y);
            ADD_FAILURE() << "year accepted: " << y;
        } catch (const RecomputeError& e) {
            EXPECT_NE(std::string(e.what()).find("quattro cifre"), std::string::npos) << e.what();
            EXPECT_TRUE(e.partial().details.empty());
        }
        EXPECT_EQ(rowCount(dir), "0") << y;
    }
    EXPECT_THROW(Recompute().run(stateFor(empty), "Presenze", store::fixedDetails(), "15"), RecomputeError);
}

TEST(Recompute, CancelAndFailuresKeepTheDetailsWrittenComplete) {
    TestDir dir;
    makeSummary(dir);
    voices(dir);
    accounts(dir);
    invoices(dir, "");

    // Cancel asked while the files are read: nothing written.
    RecomputeCallbacks cb;
    cb.shouldCancel = [] { return true; };
    auto r = Recompute().run(stateFor(dir), "Produzione", kProductionList, "2014", cb);
    EXPECT_EQ(r.status, RecomputeResult::Status::Cancelled);
    EXPECT_EQ(rowCount(dir), "0");
    EXPECT_EQ(recomputeMessage(r), "Aggiornamento di \"Produzione\" per il 2014 interrotto prima di registrare alcun mese.");

    // Cancel asked once a month has been shown: the detail is finished, the next not
    // started (no notes in this folder: March is 10.5 + 2.25 + 100 + 7).
    int months = 0;
    cb.onMonthWritten = [&](const std::string&, int, Currency) { ++months; };
    cb.shouldCancel = [&] { return months > 0; };
    r = Recompute().run(stateFor(dir), "Produzione", kProductionList, "2014", cb);
    EXPECT_EQ(r.status, RecomputeResult::Status::Cancelled);
    EXPECT_EQ(rowCount(dir), "12");
    EXPECT_EQ(written(dir, "Produzione", "12"), year("2014", {0, 1000, 119.75, 4, 0, 0, 0, 0, 0, 0, 0, 0.25}));
    ASSERT_EQ(r.details.size(), 1u);
    EXPECT_EQ(recomputeMessage(r),
              "Aggiornamento di \"Produzione\" per il 2014 interrotto dopo Dicembre di \"12 Pernottamento\" "
              "(dettaglio 1 di 2). I dettagli già aggiornati restano registrati, completi.");

    // The summary file refuses March of the second detail: its February is not kept
    // either, the first detail is.
    dir.sql("Zentoria.mdb",
            "DELETE FROM Zentoria WHERE NumeroHotel = 3;"
            "CREATE TRIGGER full BEFORE INSERT ON Zentoria WHEN NEW.Dettaglio = '3' AND NEW.AnnoMese = '201403' "
            "BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
    try {
        Recompute().run(stateFor(dir), "Produzione", kProductionList, "2014");
        ADD_FAILURE() << "no error for a refused write";
    } catch (const RecomputeError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("interrotto a Marzo di \"3 Bar\""), std::string::npos) << what;
        EXPECT_NE(what.find("disk full"), std::string::npos) << what;
        EXPECT_NE(what.find("ultimo: Dicembre di \"12 Pernottamento\""), std::string::npos) << what;
        EXPECT_EQ(e.partial().details.size(), 1u);
    }
    EXPECT_EQ(rowCount(dir), "12");
    EXPECT_EQ(written(dir, "Produzione", "3"), "");

    // A missing account file: named, nothing written.
    dir.sql("Zentoria.mdb", "DROP TRIGGER full; DELETE FROM Zentoria WHERE NumeroHotel = 3;");
    std::filesystem::remove(dir / "ContoEsterni.mdb");
    try {
        Recompute().run(stateFor(dir), "Produzione", kProductionList, "2014");
        ADD_FAILURE() << "no error for a missing file";
    } catch (const RecomputeError& e) {
        EXPECT_NE(std::string(e.what()).find("ContoEsterni.mdb"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("Nessun mese registrato."), std::string::npos) << e.what();
    }
    EXPECT_EQ(rowCount(dir), "0");

    // The history cards missing from the start: named, nothing written.
    dir.sql("Scheda_Cliente.mdb",
            "CREATE TABLE Scheda_Cliente(DataArrivo TEXT, DataPartenza TEXT, DataPartenzaReale TEXT, Lingua TEXT);");
    try {
        Recompute().run(stateFor(dir), "Presenze", store::fixedDetails(), "2014");
        ADD_FAILURE() << "no error for a missing file";
    } catch (const RecomputeError& e) {
        EXPECT_NE(std::string(e.what()).find("SchedaStoricoClienti.mdb"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("Nessun mese registrato."), std::string::npos) << e.what();
    }
    EXPECT_EQ(written(dir, "Presenze", "Generale"), "");
}
