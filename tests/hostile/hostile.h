#pragma once
// What the hostile-input tests share: a complete small working folder made as any SQLite
// tool would make it, the window's logic over it with a fake user, and ways to see what
// the files hold before and after an attack.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/desk_logic.h"
#include "desktop/passwd.h"
#include "support/run_program.h"
#include "support/testdir.h"

namespace zt::hostile {

using test::runCli;  // the command line in this process

// Records every message box; answers Yes to the questions (or `answer`).
class FakeUi : public desktop::UiPort {
public:
    std::vector<std::string> messages;
    int answer = desktop::msgbox::kAnswerYes;
    int printMenus = 0;
    int msgBox(const std::string& prompt, int style, const std::string&) override {
        messages.push_back(prompt);
        return (style & 7) == desktop::msgbox::kYesNo ? answer : desktop::msgbox::kAnswerOk;
    }
    std::string accessGate(const desktop::GateRequest&) override { return "S"; }
    void printMenu() override { ++printMenus; }
    // The messages that are not the "Sei sicuro?" question, joined by newlines.
    std::string shown() const {
        std::string out;
        for (const auto& m : messages)
            if (m.rfind("Sei sicuro?", 0) != 0) out += m + "\n";
        return out;
    }
};

// The files every operation of these tests reads: registry, lookups, both figure tables.
// Hotel 1; "Produzione" voice 12 ("Camere"); payment "CONT"; nation "IT"; room "DOPP".
inline void workingFolder(const test::TestDir& dir) {
    dir.sql("AnagraficaHotels.mdb",
            "CREATE TABLE AnagraficaHotels(Numero INTEGER, RagioneSociale TEXT, CodiceAssistenza TEXT);"
            "INSERT INTO AnagraficaHotels VALUES(1,'Hotel Uno','');");
    dir.sql("VociFattura.mdb",
            "CREATE TABLE VociFattura(NumeroHotel INTEGER, Codice INTEGER, Descrizione TEXT,"
            " GruppoStatistico INTEGER, GruppoFatturazione INTEGER);"
            "INSERT INTO VociFattura VALUES(1,12,'Camere',12,12);");
    dir.sql("CodiciVari.mdb",
            "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO CodiciVari VALUES(1,4,'CONT','Contanti'),(1,6,'AGE','Agenzia');");
    dir.sql("Comuni.mdb",
            "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO CodiciVari VALUES(1,0,'IT','Italia');");
    dir.sql("TipiCamere.mdb",
            "CREATE TABLE TipiCamere(NumeroHotel INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO TipiCamere VALUES(1,'DOPP','Doppia');");
    dir.sql("Dettaglio.mdb",
            "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, DataInserimento TEXT, Valore REAL);"
            "INSERT INTO Dettaglio VALUES(1,'Produzione','12','20140310',1000.5),(1,'Cassa','CONT','20140405',250),"
            "(1,'PresenzeNaz','IT','20140601',31),(1,'Presenze','Generale','20141101',40);");
    dir.sql("Zentoria.mdb",
            "CREATE TABLE Zentoria(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, AnnoMese TEXT, Valore REAL);"
            "INSERT INTO Zentoria VALUES(1,'Produzione','12','201301',111),(1,'Cassa','CONT','201302',222),"
            "(2,'Presenze','Generale','201403',333);");
}

// Every row of Zentoria.mdb, in table order, one text a row.
inline std::string summaryRows(const test::TestDir& dir) {
    return test::queryColumn(dir / "Zentoria.mdb",
                             "SELECT NumeroHotel || ',' || Tipo || ',' || Dettaglio || ',' || AnnoMese || ',' || "
                             "Valore FROM Zentoria ORDER BY rowid");
}

inline std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The window's logic started on a folder, as the window starts it.
struct Window {
    ProgramState state;
    FakeUi ui;
    desktop::DeskLogic logic;
    explicit Window(const test::TestDir& dir, Separators sep = {",", "."}) : logic(state, ui, std::move(sep)) {
        state.workDir = dir.path();
        logic.load(2014);
        logic.activate();
    }
    // Selects the item with this text of Combo1(index) as the user does.
    void choose(int index, const std::string& item) {
        const int i = logic.combo1[static_cast<std::size_t>(index)].find(item);
        ASSERT_GE(i, 0) << "no item \"" << item << "\" in Combo1(" << index << ")";
        logic.chooseItem(index, i);
    }
    std::string grid() const {
        std::string out;
        for (std::size_t k = 1; k <= 12; ++k) out += (k > 1 ? "|" : "") + logic.text1[k];
        return out;
    }
};

// The texts a user can type or a lookup file can hold that a careless program would
// let change a query, end it, or overflow something.
inline std::string longText(std::size_t n, char c = 'x') { return std::string(n, c); }

}  // namespace zt::hostile
