// The main window's logic without a display: start-up, failures at the handler
// boundary, the grid, titles and the Enter walk.
#include <gtest/gtest.h>

#include <cstdlib>

#include "desktop/desk_logic.h"
#include "desktop/passwd.h"
#include "support/testdir.h"

using namespace zt;
using namespace zt::desktop;
using zt::test::TestDir;

namespace {

// Records the message boxes and answers the gate as told.
class FakeUi : public UiPort {
public:
    std::vector<std::string> messages;
    std::string gateAnswer = "S";
    int gateShown = 0;
    int msgBox(const std::string& prompt, int, const std::string&) override {
        messages.push_back(prompt);
        return msgbox::kAnswerOk;
    }
    std::string accessGate(const GateRequest&) override {
        ++gateShown;
        return gateAnswer;
    }
};

void registry(const TestDir& dir, const std::string& rows) {
    dir.sql("AnagraficaHotels.mdb",
            "CREATE TABLE AnagraficaHotels(Numero INTEGER, RagioneSociale TEXT, CodiceAssistenza TEXT);" + rows);
}

void lookups(const TestDir& dir) {
    dir.sql("VociFattura.mdb",
            "CREATE TABLE VociFattura(NumeroHotel INTEGER, Codice INTEGER, Descrizione TEXT, GruppoStatistico INTEGER,"
            " GruppoFatturazione INTEGER);"
            "INSERT INTO VociFattura VALUES(1,12,'Camere',12,12),(1,3,'Bar',3,3);");
    dir.sql("CodiciVari.mdb", "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
                              "INSERT INTO CodiciVari VALUES(1,4,'CONT','Contanti');");
    dir.sql("Comuni.mdb", "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
                          "INSERT INTO CodiciVari VALUES(1,2,'AQ','L''Aquila');");
    dir.sql("TipiCamere.mdb", "CREATE TABLE TipiCamere(NumeroHotel INTEGER, Sigla TEXT, Descrizione TEXT);"
                              "INSERT INTO TipiCamere VALUES(1,'DOPP','Doppia');");
}

void details(const TestDir& dir, const std::string& rows) {
    dir.sql("Dettaglio.mdb",
            "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, DataInserimento TEXT, Valore REAL);" +
                rows);
}

struct Window {
    ProgramState state;
    FakeUi ui;
    DeskLogic logic;
    explicit Window(const TestDir& dir, Separators sep = {}) : logic(state, ui, std::move(sep)) {
        state.workDir = dir.path();
    }
    void start() {
        logic.load(2014);
        logic.activate();
    }
    std::string grid() const {
        std::string out;
        for (int k = 1; k <= 12; ++k) out += (k > 1 ? "|" : "") + logic.text1[static_cast<std::size_t>(k)];
        return out;
    }
    void choose(int index, const std::string& item) {
        const int i = logic.combo1[static_cast<std::size_t>(index)].find(item);
        ASSERT_GE(i, 0) << item;
        logic.chooseItem(index, i);
    }
};

}  // namespace

TEST(DeskLogic, StartUpFillsTheListsAndSelectsAsTheWindowDoes) {
    TestDir dir;
    registry(dir, "INSERT INTO AnagraficaHotels VALUES(0,'Nascosto',''),(7,'Hotel Sette','K'),(123,'Grande','');");
    lookups(dir);
    details(dir, "");
    Window w(dir);
    w.start();
    EXPECT_FALSE(w.logic.unloaded);
    EXPECT_EQ(w.ui.gateShown, 1);
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_EQ(w.logic.combo1[2].items, (std::vector<std::string>{"  7 Hotel Sette", "123 Grande"}));
    EXPECT_EQ(w.logic.combo1[2].text, "  7 Hotel Sette");
    EXPECT_EQ(w.state.hotelNumber, 7);
    EXPECT_EQ(w.state.hotelOptions, "K");
    EXPECT_EQ(w.logic.combo1[3].text, " 4 - Barre 3D");
    EXPECT_EQ(w.logic.graph1.chartType(), 4);
    EXPECT_EQ(w.logic.text1[0], "2014");
    EXPECT_EQ(w.logic.combo1[0].items.size(), 29u);
    EXPECT_EQ(w.logic.combo1[0].text, "Produzione");
    EXPECT_EQ(w.logic.combo1[4].items.size(), 27u);
    EXPECT_EQ(w.logic.combo1[1].listIndex, -1);  // no detail chosen yet
    EXPECT_EQ(w.grid(), "|||||||||||");
    EXPECT_EQ(w.logic.graph1.label(1), "Gennaio");
    EXPECT_EQ(w.logic.graph1.label(12), "Dicembre");
    EXPECT_EQ(w.state.summaryDbPath, "Zentoria.mdb");
    EXPECT_EQ(w.state.detailDbPath, "Dettaglio.mdb");
}

TEST(DeskLogic, GridShowsMonthlySumsInTheirFormats) {
    TestDir dir;
    registry(dir, "INSERT INTO AnagraficaHotels VALUES(1,'Uno','');");
    lookups(dir);
    details(dir,
            "INSERT INTO Dettaglio VALUES(1,'Produzione','12','20140301',1000),(1,'Produzione','12','20140315',234.5),"
            "(2,'Produzione','12','20140301',99),(1,'Produzione','3','20141201',7),"
            "(1,'Presenze','M','20140101',3),(1,'Presenze','Generale','20140101',40),"
            "(1,'PresenzeNC','DOPP','20140201',5),(1,'PresenzeNC','SING','20140201',6);");
    Window w(dir, Separators{",", "."});
    w.start();
    w.choose(1, "   12 Camere");
    EXPECT_EQ(w.grid(), "0|0|1.234,50|0|0|0|0|0|0|0|0|0");
    EXPECT_DOUBLE_EQ(w.logic.graph1.value(1, 3), 1234.5);
    EXPECT_EQ(w.logic.graph1.title(), "Zentorio 2014 (Produzione-   12 Camere)");
    // "<tutti>" sums every voice.
    w.choose(1, "<tutti>");
    EXPECT_EQ(w.logic.text1[3], "1.234,50");
    EXPECT_EQ(w.logic.text1[12], "7,00");
    // A board plan is shown as money, a client group as a plain number.
    w.choose(0, "Presenze");
    w.choose(1, "Mezza Pensione");
    EXPECT_EQ(w.logic.text1[1], "3,00");
    w.choose(1, "Generale");
    EXPECT_EQ(w.logic.text1[1], "40");
    // "Camere Vendute" with "<tutti>": every room type.
    w.choose(0, "Camere Vendute");
    w.choose(1, "<tutti>");
    EXPECT_EQ(w.logic.text1[2], "11");
    // The year is read as typed when the grid is next loaded.
    w.logic.text1[0] = "2015";
    w.choose(1, "<tutti>");
    EXPECT_EQ(w.grid(), "0|0|0|0|0|0|0|0|0|0|0|0");
}

TEST(DeskLogic, TitlesAndTheEnterWalk) {
    TestDir dir;
    registry(dir, "INSERT INTO AnagraficaHotels VALUES(1,'Uno','');");
    lookups(dir);
    details(dir, "");
    Window w(dir);
    w.start();
    // Enter in the year field with no detail chosen.
    w.logic.text1KeyPress(0, DeskLogic::kKeyEnter);
    EXPECT_EQ(w.logic.graph1.title(), "Zentorio 2014   ( Produzione -  )");
    EXPECT_EQ(w.logic.focus, (Focus{Focus::Kind::Combo1, 0}));
    w.logic.text1[5] = "12,5";
    w.logic.text1GotFocus(4);
    for (int i = 4; i <= 11; ++i) {
        w.logic.text1KeyPress(i, DeskLogic::kKeyEnter);
        EXPECT_EQ(w.logic.focus, (Focus{Focus::Kind::Text1, i + 1}));
        if (i == 4) {
            EXPECT_EQ(w.logic.selLength, 4);  // the whole text is selected
        }
    }
    w.logic.text1KeyPress(12, DeskLogic::kKeyEnter);
    EXPECT_EQ(w.logic.focus, (Focus{Focus::Kind::Tasto, 2}));
    w.logic.text1KeyPress(13, DeskLogic::kKeyEnter);
    EXPECT_EQ(w.logic.focus, (Focus{Focus::Kind::Tasto, 5}));
    w.logic.text1KeyPress(13, 'a');  // any other key changes nothing
    EXPECT_EQ(w.logic.focus, (Focus{Focus::Kind::Tasto, 5}));
    w.logic.tastoClick(1);
    EXPECT_TRUE(w.logic.unloaded);
}

TEST(DeskLogic, FailuresAreShownAndTheWindowKeepsRunning) {
    {
        // No registry: a message naming the file and the folder, then the window closes.
        TestDir dir;
        Window w(dir);
        w.start();
        EXPECT_TRUE(w.logic.unloaded);
        ASSERT_EQ(w.ui.messages.size(), 1u);
        EXPECT_NE(w.ui.messages[0].find("AnagraficaHotels.mdb"), std::string::npos);
        EXPECT_NE(w.ui.messages[0].find(dir.path().string()), std::string::npos);
        EXPECT_EQ(w.ui.gateShown, 0);
    }
    {
        // Access refused: nothing is filled, the window closes on activation.
        TestDir dir;
        registry(dir, "INSERT INTO AnagraficaHotels VALUES(1,'Uno','');");
        Window w(dir);
        w.ui.gateAnswer = "N";
        w.start();
        EXPECT_TRUE(w.logic.unloaded);
        EXPECT_TRUE(w.logic.combo1[0].items.empty());
        EXPECT_TRUE(w.logic.combo1[2].items.empty());
    }
    {
        // No hotel above 0: a message; the window stays open with nothing to query.
        TestDir dir;
        registry(dir, "INSERT INTO AnagraficaHotels VALUES(0,'Zero','');");
        lookups(dir);
        Window w(dir);
        w.start();
        EXPECT_FALSE(w.logic.unloaded);
        ASSERT_FALSE(w.ui.messages.empty());
        EXPECT_NE(w.ui.messages[0].find("maggiore di 0"), std::string::npos);
        EXPECT_TRUE(w.logic.combo1[2].items.empty());
        EXPECT_EQ(w.logic.combo1[0].items.size(), 29u);
    }
    {
        // A missing detail database: the message names it, the window keeps running.
        TestDir dir;
        registry(dir, "INSERT INTO AnagraficaHotels VALUES(1,'Uno','');");
        lookups(dir);
        Window w(dir);
        w.start();
        w.choose(1, "   12 Camere");
        ASSERT_EQ(w.ui.messages.size(), 1u);
        EXPECT_NE(w.ui.messages[0].find("Dettaglio.mdb"), std::string::npos);
        EXPECT_FALSE(w.logic.unloaded);
        details(dir, "INSERT INTO Dettaglio VALUES(1,'Produzione','12','20140101',5);");
        w.choose(1, "   12 Camere");
        EXPECT_EQ(w.logic.text1[1], "5.00");
    }
    {
        // "&" in the option string with DIRSH unset: a message naming DIRSH.
        TestDir dir;
        registry(dir, "INSERT INTO AnagraficaHotels VALUES(1,'Uno','&');");
        lookups(dir);
        unsetenv("DIRSH");
        Window w(dir);
        w.start();
        ASSERT_FALSE(w.ui.messages.empty());
        EXPECT_NE(w.ui.messages[0].find("DIRSH"), std::string::npos);
        w.choose(1, "   12 Camere");
        EXPECT_NE(w.ui.messages.back().find("DIRSH"), std::string::npos);
        EXPECT_FALSE(w.logic.unloaded);
    }
}

// "&" with DIRSH unset: start-up says so once; then every button that works on the
// figure files stops with that message before it asks, reads or writes anything.
TEST(DeskLogic, WithoutTheDirshFolderEveryFigureOperationStopsWithOneMessage) {
    TestDir dir;
    registry(dir, "INSERT INTO AnagraficaHotels VALUES(1,'Uno','&');");
    lookups(dir);
    dir.sql("CodiciVari.mdb", "INSERT INTO CodiciVari VALUES(1,6,'AG','Agenzia');");
    unsetenv("DIRSH");
    Window w(dir);
    w.start();
    ASSERT_EQ(w.ui.messages.size(), 1u);
    const std::string told = w.ui.messages[0];
    EXPECT_NE(told.find("DIRSH non è impostata"), std::string::npos) << told;
    const auto pressed = [&](const std::string& stat, const std::string& detail, int button) {
        w.choose(0, stat);
        if (!detail.empty()) w.choose(1, detail);
        w.logic.text1[13] = "2013";
        w.ui.messages.clear();
        w.logic.tastoClick(button);
        return w.ui.messages;
    };
    const std::vector<std::string> stopped = {"Operazione non riuscita:\n" + told};
    EXPECT_EQ(pressed("Produzione", "   12 Camere", 5), stopped);    // "&Ok", DiffAnno
    EXPECT_EQ(pressed("Camere Arrivate", "<tutti>", 5), stopped);   // "&Ok", DiffAnno1
    for (int button : {4, 2, 3, 0})  // "&Conferma", "&Registra" (not even asked), "&Aggiorna", "&Stampa"
        EXPECT_EQ(pressed("Cassa", "CONT   Contanti", button), stopped) << button;
    EXPECT_EQ(pressed("Presenze x Tipo Cliente", "", 0), stopped);  // the client-type batch
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))  // nothing written
        EXPECT_TRUE(entry.path().filename() != "Zentoria.mdb" && entry.path().filename() != "fd") << entry.path();
}

TEST(DeskLogic, FigureFilesInTheDirshFolder) {
    TestDir dir;
    registry(dir, "INSERT INTO AnagraficaHotels VALUES(1,'Uno','K&');");
    lookups(dir);
    std::filesystem::create_directory(dir / "condivisa");
    dir.sql("condivisa/Dettaglio.mdb",
            "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, DataInserimento TEXT, Valore REAL);"
            "INSERT INTO Dettaglio VALUES(1,'Produzione','12','20140201',8);");
    setenv("DIRSH", (dir / "condivisa").c_str(), 1);
    Window w(dir);
    w.start();
    unsetenv("DIRSH");
    EXPECT_EQ(w.state.detailDbPath, (dir / "condivisa").string() + "\\Dettaglio.mdb");
    w.choose(1, "   12 Camere");
    EXPECT_EQ(w.logic.text1[2], "8.00");
}
