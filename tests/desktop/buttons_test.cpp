// The command buttons: year differences, month comparison and "&Registra", seen in the
// chart, in the message boxes and in the rows of Zentoria.mdb.
#include <gtest/gtest.h>

#include <algorithm>

#include <sqlite3.h>

#include "desktop/desk_logic.h"
#include "desktop/passwd.h"
#include "report/report_file.h"
#include "support/testdir.h"

using namespace zt;
using namespace zt::desktop;
using zt::test::queryColumn;
using zt::test::TestDir;

namespace {

class FakeUi : public UiPort {
public:
    std::vector<std::string> messages;
    std::vector<int> styles;
    int answer = msgbox::kAnswerYes;
    std::vector<int> answers;  // answers to the next questions, in order; then `answer`
    int msgBox(const std::string& prompt, int style, const std::string&) override {
        messages.push_back(prompt);
        styles.push_back(style);
        if ((style & 7) != msgbox::kYesNo) return msgbox::kAnswerOk;
        if (answers.empty()) return answer;
        const int a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    std::string accessGate(const GateRequest&) override { return "S"; }
    int printMenus = 0;
    void printMenu() override { ++printMenus; }
    void busy(bool on) override { busyCalls.push_back(on); }
    std::vector<std::string> steps;
    std::size_t stopAfter = 1000;  // progress answers "stop" from this step on
    bool progress(const std::string& text) override {
        steps.push_back(text);
        return steps.size() < stopAfter;
    }
    std::vector<std::pair<int, int>> counts;  // progressCount(done, total)
    void progressCount(int done, int total) override { counts.emplace_back(done, total); }
    std::vector<bool> busyCalls;
};

constexpr const char* kFigureTable = "(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, %s TEXT, Valore REAL)";

std::string figureTable(const std::string& name, const std::string& period) {
    std::string t = kFigureTable;
    return "CREATE TABLE " + name + t.replace(t.find("%s"), 2, period) + ";";
}

struct Window {
    TestDir dir;
    ProgramState state;
    FakeUi ui;
    DeskLogic logic;
    Window() : logic(state, ui, Separators{",", "."}) {
        state.workDir = dir.path();
        dir.sql("AnagraficaHotels.mdb",
                "CREATE TABLE AnagraficaHotels(Numero INTEGER, RagioneSociale TEXT, CodiceAssistenza TEXT);"
                "INSERT INTO AnagraficaHotels VALUES(1,'Uno','');");
        dir.sql("VociFattura.mdb",
                "CREATE TABLE VociFattura(NumeroHotel INTEGER, Codice INTEGER, Descrizione TEXT, "
                "GruppoStatistico INTEGER, GruppoFatturazione INTEGER);"
                "INSERT INTO VociFattura VALUES(1,12,'- Camere',12,12);");
        dir.sql("CodiciVari.mdb", "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
                                  "INSERT INTO CodiciVari VALUES(1,4,'AB','Assegno'),(1,9,'FAM','Famiglia');");
        dir.sql("Comuni.mdb", "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);");
        dir.sql("TipiCamere.mdb", "CREATE TABLE TipiCamere(NumeroHotel INTEGER, Sigla TEXT, Descrizione TEXT);"
                                  "INSERT INTO TipiCamere VALUES(1,'DOPP','Doppia');");
        dir.sql("Dettaglio.mdb", figureTable("Dettaglio", "DataInserimento"));
        dir.sql("Zentoria.mdb", figureTable("Zentoria", "AnnoMese"));
        logic.load(2014);
        logic.activate();
    }
    void choose(int index, const std::string& item) {
        const int i = logic.combo1[static_cast<std::size_t>(index)].find(item);
        ASSERT_GE(i, 0) << item;
        logic.chooseItem(index, i);
    }
    std::string set(int s) const {
        std::string out;
        for (int k = 1; k <= 12; ++k) out += (k > 1 ? " " : "") + formatPlain(logic.graph1.value(s, k), Separators{});
        return out;
    }
    std::string zentoria(const std::string& what) const {
        return queryColumn(dir / "Zentoria.mdb", "SELECT " + what + " FROM Zentoria ORDER BY rowid");
    }
};

}  // namespace

TEST(YearDifferences, DiffAnnoSumsEachYearFromDettaglio) {
    Window w;
    w.dir.sql("Dettaglio.mdb",
              "INSERT INTO Dettaglio VALUES(1,'Presenze','M','20140305',10000000.01),(1,'Presenze','M','20140320',0.02),"
              "(1,'Presenze','Mezza Pensione','20140301',99),(1,'Presenze','M','20131201',5),(2,'Presenze','M','20140301',7),"
              "(1,'Produzione','12','20140101',3),(1,'Produzione','12','20130101',4);");
    w.choose(0, "Presenze");
    w.choose(1, "Mezza Pensione");
    w.logic.text1[13] = "2013";
    w.logic.tastoClick(5);
    EXPECT_EQ(w.logic.graph1.title(), "Diff. 2014-2013 (Presenze-Mezza Pensione)");
    EXPECT_EQ(w.logic.graph1.numSets(), 2);
    // Two March records summed in double precision; "Mezza Pensione" is looked up as "M".
    EXPECT_EQ(w.set(1), "0 0 10000000.03 0 0 0 0 0 0 0 0 0");
    EXPECT_EQ(w.set(2), "0 0 0 0 0 0 0 0 0 0 0 5");
    EXPECT_EQ(w.logic.graph1.legendText(1), "2014");
    // A "Produzione" item " 12 -": blank, 1, 2, blank, dash gives the code 12.
    w.choose(0, "Produzione");
    w.choose(1, "   12 - Camere");
    w.logic.tastoClick(5);
    EXPECT_EQ(w.set(1), "3 0 0 0 0 0 0 0 0 0 0 0");
    EXPECT_EQ(w.set(2), "4 0 0 0 0 0 0 0 0 0 0 0");
    // "<tutti>" leaves the detail clause out, as the grid does.
    w.choose(1, "<tutti>");
    w.logic.tastoClick(5);
    EXPECT_EQ(w.set(1), "3 0 0 0 0 0 0 0 0 0 0 0");
    // "ProduzioneInd" has no section: only the title changes.
    w.choose(0, "ProduzioneInd");
    w.choose(1, "TOTALE");
    const int redraws = w.logic.graph1.redrawCount();
    const std::string before = w.set(1);
    w.logic.tastoClick(5);
    EXPECT_EQ(w.logic.graph1.title(), "Diff. 2014-2013 (ProduzioneInd-TOTALE)");
    EXPECT_EQ(w.set(1), before);
    EXPECT_EQ(w.logic.graph1.redrawCount(), redraws);
    // A second year that is not above 0: nothing changes.
    w.logic.text1[13] = "0";
    w.logic.tastoClick(5);
    EXPECT_EQ(w.logic.graph1.title(), "Diff. 2014-2013 (ProduzioneInd-TOTALE)");
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST(YearDifferences, ArrivalsOverwriteFromZentoriaAndBadMonthsStop) {
    Window w;
    w.dir.sql("Zentoria.mdb",
              "INSERT INTO Zentoria VALUES(1,'ArriviNC','DOPP','201402',5),(1,'ArriviNC','DOPP','201402',6),"
              "(1,'ArriviNC','DOPP','201307',9);");
    w.choose(0, "Camere Arrivate");
    w.choose(1, "DOPP   Doppia");
    w.logic.text1[13] = "2013";
    w.logic.tastoClick(5);
    EXPECT_EQ(w.set(1), "0 6 0 0 0 0 0 0 0 0 0 0");  // the later record of the month wins
    EXPECT_EQ(w.set(2), "0 0 0 0 0 0 9 0 0 0 0 0");
    // A record whose month is not 01..12: a message naming it, the program goes on.
    w.dir.sql("Zentoria.mdb", "INSERT INTO Zentoria VALUES(1,'ArriviNC','DOPP','201413',1);");
    w.logic.tastoClick(5);
    ASSERT_EQ(w.ui.messages.size(), 1u);
    EXPECT_NE(w.ui.messages[0].find("201413"), std::string::npos);
    EXPECT_FALSE(w.logic.unloaded);
    // Nothing keeps the file open afterwards: another program can take it at once.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open((w.dir / "Zentoria.mdb").c_str(), &other), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; COMMIT;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
}

TEST(MonthComparison, RatioOfTwoStatisticsFromZentoria) {
    Window w;
    w.dir.sql("Zentoria.mdb",
              "INSERT INTO Zentoria VALUES(1,'Cassa','AB','201401',100),(1,'Presenze','Generale','201401',4),"
              "(1,'Cassa','AB','201402',50),(1,'Presenze','Generale','201402',0),(1,'Cassa','AB','201403',30),"
              "(1,'Presenze','Generale','201404',2.5);");
    w.choose(0, "Cassa");
    w.choose(1, "AB     Assegno");
    w.choose(4, "Presenze");
    w.choose(5, "Generale");
    w.logic.tastoClick(4);
    EXPECT_EQ(w.logic.graph1.title(), "Conf. (Cassa-AB     Assegno)-(Presenze-Generale)");
    // B = 0 or missing shows A; a month without A shows 0; B is rounded (2.5 to 2).
    EXPECT_EQ(w.set(1), "25 50 30 0 0 0 0 0 0 0 0 0");
    // An arrival statistic as B is never looked up: every point shows A.
    w.choose(4, "Arrivi");
    w.logic.tastoClick(4);
    EXPECT_EQ(w.set(1), "100 50 30 0 0 0 0 0 0 0 0 0");
}

TEST(Registra, WritesTheTwelveFieldsAsTheGridShowsThem) {
    Window w;
    w.choose(0, "Cassa");
    w.choose(1, "AB     Assegno");
    const std::array<const char*, 12> typed = {"1.234,50", "1234.56", "", "7", "0", "0", "0", "0", "0", "0", "0", "-2,5"};
    for (int k = 1; k <= 12; ++k) w.logic.text1[static_cast<std::size_t>(k)] = typed[static_cast<std::size_t>(k - 1)];
    w.ui.answer = msgbox::kAnswerNo;
    w.logic.tastoClick(2);
    EXPECT_EQ(w.ui.messages.back().rfind("Sei sicuro?", 0), 0u) << w.ui.messages.back();
    EXPECT_EQ(w.ui.styles.back(), 292);
    EXPECT_EQ(w.zentoria("count(*)"), "0");
    w.ui.answer = msgbox::kAnswerYes;
    w.logic.tastoClick(2);
    EXPECT_EQ(w.zentoria("Valore"), "1234.5|1234.56|0.0|7.0|0.0|0.0|0.0|0.0|0.0|0.0|0.0|-2.5");
    EXPECT_EQ(w.zentoria("DISTINCT NumeroHotel||Tipo||'/'||Dettaglio||'/'||substr(AnnoMese,1,4)"), "1Cassa/AB/2014");
    // Registering again replaces: still one row a month.
    w.logic.text1[1] = "10";
    w.logic.tastoClick(2);
    EXPECT_EQ(w.zentoria("count(*)"), "12");
    EXPECT_EQ(w.zentoria("Valore").substr(0, 4), "10.0");
    // A field that is not a number: a message naming the month, before the question,
    // and nothing written.
    w.logic.text1[1] = "99";
    w.logic.text1[6] = "12abc";
    const std::size_t asked = w.ui.messages.size();
    w.logic.tastoClick(2);
    ASSERT_EQ(w.ui.messages.size(), asked + 1);
    EXPECT_NE(w.ui.messages.back().find("Giugno"), std::string::npos);
    EXPECT_EQ(w.zentoria("Valore").substr(0, 4), "10.0");
    // A statistic the summary does not keep writes nothing.
    w.choose(0, "Presenze x Nucleo");
    w.choose(1, "FAM    Famiglia");
    w.logic.text1[6] = "1";
    w.logic.tastoClick(2);
    EXPECT_EQ(w.zentoria("count(*)"), "12");
}

// Fields loaded for 2014 under the year 2015: the question warns, "No" preselected, writes
// nothing. Loaded for 2015: it names the empty months; after "Si" the caption says it is done.
TEST(Registra, TheQuestionNamesWhatIsWrittenAndWarnsWhenTheFieldsWereLoadedForAnother) {
    Window w;
    w.dir.sql("Dettaglio.mdb", "INSERT INTO Dettaglio VALUES(1,'Cassa','AB','20140105',288),(1,'Cassa','AB','20140205',386);");
    w.dir.sql("Zentoria.mdb", "INSERT INTO Zentoria VALUES(1,'Cassa','AB','201501',5);");
    w.choose(0, "Cassa");
    w.choose(1, "AB     Assegno");
    ASSERT_EQ(w.logic.text1[1], "288,00");
    w.logic.text1[0] = "2015";
    w.logic.text1KeyPress(0, DeskLogic::kKeyEnter);  // the title follows, the fields do not
    w.ui.answer = msgbox::kAnswerNo;
    w.logic.tastoClick(2);
    ASSERT_EQ(w.ui.messages.size(), 1u);
    const std::string& q = w.ui.messages[0];
    const std::string asked = "Sei sicuro? Saranno registrati i 12 mesi di:\n\nAlbergo: 1 Uno\nStatistica: Cassa\n"
                              "Dettaglio: AB     Assegno\nAnno: 2015";
    EXPECT_EQ(q.rfind(asked + "   \u2190 ATTENZIONE: i mesi mostrati sono di 2014\n", 0), 0u) << q;
    EXPECT_NE(q.find("caricati per albergo 1 Uno, Cassa \u2013 AB     Assegno, anno 2014, non per albergo 1 Uno, "
                     "Cassa \u2013 AB     Assegno, anno 2015"),
              std::string::npos) << q;
    EXPECT_EQ(msgbox::iconOf(w.ui.styles[0]), msgbox::kExclamation);
    EXPECT_EQ(w.ui.styles[0] & 0x300, msgbox::kDefaultButton2);  // "No" preselected
    EXPECT_EQ(w.zentoria("Valore"), "5.0");
    EXPECT_EQ(w.logic.caption, DeskLogic::kCaption);

    // Loaded for 2015 (nothing there: every month "0"), three fields emptied by hand.
    w.choose(1, "AB     Assegno");
    w.logic.text1[1] = "12";
    for (int k : {3, 4, 12}) w.logic.text1[static_cast<std::size_t>(k)] = " ";
    w.ui.answer = msgbox::kAnswerYes;
    w.logic.tastoClick(2);
    ASSERT_EQ(w.ui.messages.size(), 2u);
    EXPECT_EQ(w.ui.messages[1], asked + "\n\nMarzo\u2013Aprile, Dicembre vuoti: saranno registrati come 0.");
    EXPECT_EQ(w.ui.styles[1], 292);
    EXPECT_EQ(w.zentoria("AnnoMese||'='||Valore").substr(0, 30), "201501=12.0|201502=0.0|201503=");
    EXPECT_EQ(w.logic.caption, "Registrati 12 mesi: albergo 1 Uno, Cassa \u2013 AB     Assegno, anno 2015");
    // One empty month reads in the singular; the next choice gives the caption back.
    w.logic.text1[12] = "1";
    w.logic.text1[3] = w.logic.text1[4] = "1";
    w.logic.text1[7] = "";
    w.logic.tastoClick(2);
    EXPECT_NE(w.ui.messages.back().find("\n\nLuglio vuoto: sarà registrato come 0."), std::string::npos);
    w.choose(0, "Cassa");
    EXPECT_EQ(w.logic.caption, DeskLogic::kCaption);
}

// What "&Registra" and "&Aggiorna" cannot write is said at once, as a warning: no
// question, no row.
struct Refusal {
    int button;
    const char* statistic;
    const char* detail;  // nullptr: none chosen
    const char* year;
    const char* says;
};

class Refused : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refused, BeforeAskingAndNothingWritten) {
    const Refusal& r = GetParam();
    Window w;
    w.choose(0, r.statistic);
    if (r.detail) w.choose(1, r.detail);
    w.logic.text1[0] = r.year;
    for (int k = 1; k <= 12; ++k) w.logic.text1[static_cast<std::size_t>(k)] = "3";
    w.ui.messages.clear();
    w.ui.styles.clear();
    w.logic.tastoClick(r.button);
    ASSERT_EQ(w.ui.messages.size(), 1u);
    EXPECT_NE(w.ui.messages[0].find(r.says), std::string::npos) << w.ui.messages[0];
    EXPECT_EQ(w.ui.styles[0], msgbox::kOkOnly | msgbox::kExclamation);
    EXPECT_EQ(w.zentoria("count(*)"), "0");
}

INSTANTIATE_TEST_SUITE_P(
    Registra, Refused,
    ::testing::Values(
        Refusal{2, "Produzione", nullptr, "2014", "Nessun dettaglio scelto per \"Produzione\""},
        Refusal{2, "Produzione", "<tutti>", "2014", "Scegliere un dettaglio"},
        Refusal{2, "Cassa", "AB     Assegno", "20a6", "Anno non valido: \"20a6\". Scrivere l'anno con quattro cifre."},
        Refusal{2, "Cassa", "AB     Assegno", "201", "Anno non valido"},
        Refusal{2, "Presenze x Nucleo", "FAM    Famiglia", "2014", "\"Presenze x Nucleo\" non può essere registrata"},
        Refusal{2, "Presenze", "Ospiti", "2014", "Scegliere un gruppo di clienti"},
        Refusal{3, "Presenze x Nucleo", "FAM    Famiglia", "2014", "\"Presenze x Nucleo\" non può essere ricalcolata"},
        Refusal{3, "Cassa", nullptr, "20a6", "Anno non valido: \"20a6\""}));

TEST(Stampa, WritesTheReportOrTheClientTypeBatchThenOpensThePrintMenu) {
    Window w;
    w.dir.sql("CodiciVari.mdb", "INSERT INTO CodiciVari VALUES(1,6,'TUR','Turisti'),(1,6,'AFF','Affari');");
    w.dir.sql("Dettaglio.mdb", "INSERT INTO Dettaglio VALUES(1,'PresenzeTip','TUR','20140310',12);");
    w.choose(0, "Presenze x Tipo Cliente");
    w.logic.tastoClick(0);  // no detail: the batch, one block for the type with data
    EXPECT_EQ(w.ui.printMenus, 1);
    EXPECT_EQ(w.ui.busyCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(w.logic.caption, "TUR 12");
    const auto file = zt::report::reportFilePath(w.dir.path()).filename().string();
    const std::string batch = w.dir.read(file);
    EXPECT_EQ(batch.substr(0, 6), "\r\n\r\n\r\n");  // one empty line, then two before the block
    EXPECT_NE(batch.find("Zentoria su Presenze x Tipo Cliente-TUR"), std::string::npos);
    EXPECT_EQ(batch.find("-AFF"), std::string::npos);
    w.choose(1, "TUR    Turisti");
    w.logic.tastoClick(0);  // a detail: the ordinary report of 20 lines
    EXPECT_EQ(w.ui.printMenus, 2);
    const std::string report = w.dir.read(file);
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = report.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(lines, 20u);
    EXPECT_TRUE(w.ui.messages.empty());
    // The next selection gives the window its caption back.
    w.choose(0, "Presenze x Tipo Cliente");
    w.logic.tastoClick(0);
    EXPECT_EQ(w.logic.caption, "TUR 12");
    w.choose(0, "Presenze");
    EXPECT_EQ(w.logic.caption, "Zentorio Mensile / Annuale");
}

TEST(Registra, AnAccessSummaryFileWithoutItsTableIsRefusedBeforeTheMove) {
    Window w;
    // An Access file in the place of the summary file, without the table `Zentoria`:
    // refused after "Sei sicuro?" and before the question of the move; nothing moved.
    w.dir.copyAccessFixture("nwind.mdb", "Zentoria.mdb");
    const std::string original = w.dir.read("Zentoria.mdb");
    w.choose(0, "Cassa");
    w.choose(1, "AB     Assegno");
    w.logic.text1[1] = "5";
    w.ui.messages.clear();
    w.ui.answer = msgbox::kAnswerYes;
    w.logic.tastoClick(2);
    ASSERT_EQ(w.ui.messages.size(), 2u);
    EXPECT_EQ(w.ui.messages[0].rfind("Sei sicuro?", 0), 0u);
    EXPECT_NE(w.ui.messages[1].find("Zentoria.mdb"), std::string::npos) << w.ui.messages[1];
    EXPECT_NE(w.ui.messages[1].find("non contiene la tabella \"Zentoria\""), std::string::npos) << w.ui.messages[1];
    EXPECT_EQ(w.ui.messages[1].find("Trasferire"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(w.dir / "Zentoria.mdb.jet"));
    EXPECT_EQ(w.dir.read("Zentoria.mdb"), original);
    EXPECT_FALSE(w.logic.unloaded);
}

TEST(Aggiorna, RecomputesShowsEachMonthAndStopsWhenAsked) {
    Window w;
    w.dir.sql("Fatture.mdb",
              "CREATE TABLE DatiFattura(NDocumento INTEGER, Annullato TEXT, CorrPagato REAL, ZentAcc TEXT, DataEmissione TEXT);"
              "CREATE TABLE Incassi(Importo REAL, DataEmissione TEXT, Nota TEXT, NDocumento INTEGER, Sigla TEXT);"
              "INSERT INTO DatiFattura VALUES(1,'N',10,'F','20140102'),(2,'N',10,'F','20140205');"
              "INSERT INTO Incassi VALUES(1234.5,'20140102','',1,'AB'),(20,'20140205','',2,'AB');");
    w.choose(0, "Cassa");
    w.ui.answers = {msgbox::kAnswerNo};
    w.logic.tastoClick(3);
    EXPECT_EQ(w.zentoria("count(*)"), "0");
    w.logic.tastoClick(3);
    EXPECT_EQ(w.zentoria("Dettaglio||':'||AnnoMese||':'||Valore").substr(0, 31), "AB:201401:1234.5|AB:201402:20.0");
    EXPECT_EQ(w.zentoria("count(*)"), "12");
    EXPECT_EQ(w.logic.text1[1], "1.234,50");
    EXPECT_EQ(w.logic.text1[2], "20,00");
    EXPECT_EQ(w.logic.combo1[1].text, "AB     Assegno");
    // Progress before the invoices are read, once they are read, then before each month.
    ASSERT_EQ(w.ui.steps.size(), 2u + 12u);
    EXPECT_EQ(w.ui.steps[0], "Dettaglio 1 di 1: AB     Assegno\nMese: Gennaio");
    EXPECT_EQ(w.ui.steps[3], "Dettaglio 1 di 1: AB     Assegno\nMese: Febbraio");
    EXPECT_NE(w.ui.messages.back().find("completato"), std::string::npos);
    // Stopping once the invoices are read: the months stay as they were.
    w.dir.sql("Fatture.mdb", "UPDATE Incassi SET Importo = Importo * 2;");
    w.ui.steps.clear();
    w.ui.stopAfter = 2;
    w.logic.tastoClick(3);
    EXPECT_EQ(w.zentoria("Valore").substr(0, 15), "1234.5|20.0|0.0");
    EXPECT_EQ(w.ui.steps.size(), 2u);
    EXPECT_NE(w.ui.messages.back().find("prima di registrare alcun mese"), std::string::npos);
    // A year that is not four digits: refused before anything is read or written.
    w.logic.text1[0] = "14";
    w.logic.tastoClick(3);
    EXPECT_NE(w.ui.messages.back().find("quattro cifre"), std::string::npos);
    EXPECT_EQ(w.zentoria("count(*)"), "12");
}

// Two details: "Annulla" in the first lets it finish and starts no other; a failure in
// the second leaves the list on it with its months empty, never beside the first's.
TEST(Aggiorna, EachDetailStartsFromAnEmptyGridAndTheProgressCountsMonths) {
    Window w;
    w.dir.sql("VociFattura.mdb", "INSERT INTO VociFattura VALUES(1,3,'Bar',3,3);");
    w.dir.sql("Fatture.mdb",
              "CREATE TABLE DatiFattura(NDocumento INTEGER, Annullato TEXT, ZentAcc TEXT, DataEmissione TEXT);"
              "CREATE TABLE DettaglioFattura(NDocumento INTEGER, Importo REAL, DataEmissione TEXT, CodiceVoce INTEGER);"
              "INSERT INTO DatiFattura VALUES(1,'N','F','20140110');"
              "INSERT INTO DettaglioFattura VALUES(1,100,'20140110',12),(1,7,'20140110',3);");
    w.choose(0, "Fatturato");
    ASSERT_EQ(w.logic.combo1[1].items.size(), 2u);
    w.choose(1, w.logic.combo1[1].items[1]);
    std::vector<std::string> grid;  // January of the grid at each step
    w.ui.stopAfter = w.ui.steps.size() + 4;  // "Annulla" while the first detail is written
    w.logic.onChange = [&] { grid.push_back(w.logic.text1[1]); };
    w.ui.answer = msgbox::kAnswerYes;
    w.logic.tastoClick(3);
    EXPECT_EQ(w.logic.combo1[1].listIndex, 0);
    EXPECT_EQ(w.logic.text1[1], "100,00");
    for (int k = 2; k <= 12; ++k) EXPECT_EQ(w.logic.text1[static_cast<std::size_t>(k)], "0,00") << k;
    EXPECT_EQ(w.zentoria("count(*)"), "12");
    // The second detail's January was emptied when the first began.
    EXPECT_EQ(grid.front(), "");
    EXPECT_EQ(w.ui.counts.back(), std::make_pair(11, 24));
    EXPECT_NE(w.ui.messages.back().find("dopo Dicembre di \"12 - Camere\""), std::string::npos)
        << w.ui.messages.back();

    // The summary file refuses the second detail: the list names it, its months empty.
    w.dir.sql("Zentoria.mdb", "CREATE TRIGGER full BEFORE INSERT ON Zentoria WHEN NEW.Dettaglio = '3' "
                              "BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
    w.ui.stopAfter = 1000;
    w.logic.tastoClick(3);
    w.logic.onChange = nullptr;
    EXPECT_EQ(w.logic.combo1[1].listIndex, 1);
    for (int k = 1; k <= 12; ++k) EXPECT_EQ(w.logic.text1[static_cast<std::size_t>(k)], "") << k;
    EXPECT_NE(w.ui.messages.back().find("disk full"), std::string::npos) << w.ui.messages.back();
    EXPECT_EQ(w.ui.counts.back().second, 24);
}
