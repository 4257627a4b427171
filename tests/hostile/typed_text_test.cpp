// Attack: texts typed in the month and year fields or held by the lookup files the lists
// are filled from (quotes, semicolons, "--", very long texts, letters outside Latin-1),
// through the window's logic. Each gets a clear message or is taken literally; rows of
// Zentoria.mdb that were there before stay as they were.
#include <gtest/gtest.h>

#include "hostile/hostile.h"
#include "report/report_file.h"
#include "store/figures/operations.h"

using namespace zt;
using namespace zt::hostile;
using zt::test::queryColumn;
using zt::test::TestDir;

TEST(HostileText, MonthFieldsThatAreNotNumbersRegisterNothing) {
    TestDir dir;
    workingFolder(dir);
    Window w(dir);
    w.choose(0, "Produzione");
    w.choose(1, "   12 Camere");
    ASSERT_EQ(w.grid(), "0|0|1.000,50|0|0|0|0|0|0|0|0|0");
    const std::string before = summaryRows(dir);

    const std::vector<std::string> hostile = {
        "1'; DELETE FROM Zentoria; --", "5;6", "-- 7", "\"8\"", "'9'", "1e3", "NaN", "inf", "0x10",
        "\xEF\xBC\x91\xEF\xBC\x92",   // fullwidth digits "１２"
        "\xD9\xA3",                   // Arabic-Indic digit three
        "\xF0\x9F\x98\x80",           // an emoji
        "\xE4\xBA\x94\xE5\x8D\x81",   // CJK "fifty"
        "1.000,50\xF0\x9F\x98\x80", longText(100000, '9'), longText(100000)};
    for (const auto& text : hostile) {
        SCOPED_TRACE(text.substr(0, 40));
        w.ui.messages.clear();
        w.logic.text1[5] = text;
        w.logic.tastoClick(2);
        EXPECT_FALSE(w.logic.unloaded);
        const std::string shown = w.ui.shown();
        EXPECT_NE(shown.find("Maggio"), std::string::npos) << shown.substr(0, 200);
        EXPECT_NE(shown.find("non è un numero"), std::string::npos) << shown.substr(0, 200);
        EXPECT_EQ(summaryRows(dir), before);
    }

    // Blanks around a number in the grid's own format are no attack: the twelve months go in.
    w.ui.messages.clear();
    w.logic.text1[5] = "  1.234,50 ";
    w.logic.tastoClick(2);
    EXPECT_EQ(w.ui.shown(), "");
    EXPECT_EQ(summaryRows(dir).substr(0, before.size()), before);
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb",
                          "SELECT AnnoMese || '=' || Valore FROM Zentoria WHERE Tipo = 'Produzione' AND AnnoMese >= '2014'"
                          " AND AnnoMese IN ('201403', '201405')"),
              "201403=1000.5|201405=1234.5");
}

TEST(HostileText, ListItemsWithQuotesAndOddLettersReadAndWriteOnlyTheirOwnRows) {
    TestDir dir;
    workingFolder(dir);
    const std::string longDescription = longText(100000, 'D');
    dir.sql("CodiciVari.mdb",
            "INSERT INTO CodiciVari VALUES(1,4,'a''--','Trattini'),(1,4,'''or''1','Apici'),(1,4,'x;y','Punto e virgola'),"
            "(1,4,'\xF0\x9F\x98\x80\xE2\x82\xAC','Emoji'),(1,4,'\xE6\x9D\xB1\xE4\xBA\xAC','" + longDescription + "');");
    dir.sql("Dettaglio.mdb",
            "INSERT INTO Dettaglio VALUES(1,'Cassa','a''--','20140301',5),(1,'Cassa','''or''1','20140301',7),"
            "(1,'Cassa','x;y','20140301',8),(1,'Cassa','\xF0\x9F\x98\x80\xE2\x82\xAC','20140301',9),"
            "(1,'Cassa','CONT','20140301',1000);");
    const std::string before = summaryRows(dir);
    Window w(dir);
    w.choose(0, "Cassa");
    ASSERT_EQ(w.logic.combo1[1].items.size(), 6u);  // CONT and the five above
    const auto march = [&](const std::string& item) {
        w.choose(1, item);
        return w.logic.text1[3];
    };
    EXPECT_EQ(march("a'--   Trattini"), "5,00");
    EXPECT_EQ(march("'or'1  Apici"), "7,00");
    EXPECT_EQ(march("x;y    Punto e virgola"), "8,00");
    EXPECT_EQ(march("\xF0\x9F\x98\x80\xE2\x82\xAC     Emoji"), "9,00");
    EXPECT_EQ(march("\xE6\x9D\xB1\xE4\xBA\xAC     " + longDescription), "0");
    EXPECT_EQ(w.ui.shown(), "");

    // Registered under the code as it is, next to the rows that were there.
    w.choose(1, "'or'1  Apici");
    w.logic.text1[3] = "17";
    w.logic.tastoClick(2);
    w.choose(1, "\xF0\x9F\x98\x80\xE2\x82\xAC     Emoji");
    w.logic.text1[3] = "19";
    w.logic.tastoClick(2);
    EXPECT_EQ(w.ui.shown(), "");
    EXPECT_EQ(summaryRows(dir).substr(0, before.size() + 1), before + "|");
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb",
                          "SELECT Dettaglio || '=' || Valore FROM Zentoria WHERE AnnoMese = '201403' AND Tipo = 'Cassa' ORDER BY rowid"),
              "'or'1=17.0|\xF0\x9F\x98\x80\xE2\x82\xAC=19.0");
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb", "SELECT count(*) FROM Zentoria"), "27");

    // The report of the long item: its title is cut to the box, the file keeps its shape.
    w.choose(1, "\xE6\x9D\xB1\xE4\xBA\xAC     " + longDescription);
    w.logic.tastoClick(0);
    EXPECT_EQ(w.ui.shown(), "");
    EXPECT_EQ(w.ui.printMenus, 1);
    const auto report = report::ReportFile::read(report::reportFilePath(dir.path()));
    ASSERT_EQ(report.lines().size(), 20u);
    EXPECT_EQ(report.lines()[1].size(), 86u);
    EXPECT_NE(report.lines()[1].find("Zentoria su Cassa-??     DDD"), std::string::npos) << report.lines()[1];
}

TEST(HostileText, ACriterionInsideAValueOrACodeChangesNothing) {
    TestDir dir;
    workingFolder(dir);
    const std::string criterion = "x' or '1'='1";
    dir.sql("Dettaglio.mdb",
            "INSERT INTO Dettaglio VALUES(1,'Cassa','x'' or ''1''=''1','20140310',3),"
            "(1,'Cassa',''' or ''1''=''1','20140311',4),(1,'Cassa','CONT','20140312',1000);");
    const std::string before = summaryRows(dir);

    ProgramState state;
    state.workDir = dir.path();
    state.hotelNumber = 1;
    state.detailDbPath = "Dettaglio.mdb";
    state.summaryDbPath = "Zentoria.mdb";
    // Read: only the row whose code is that very text.
    EXPECT_EQ(store::sumMonth(state, {"Cassa", criterion, true}, "2014", 3), 3.0);
    EXPECT_EQ(store::sumMonth(state, {"Cassa", "' or '1'='1", true}, "2014", 3), 4.0);
    EXPECT_EQ(store::sumMonth(state, {"Cassa", "CONT", true}, "2014", 3), 1000.0);
    EXPECT_EQ(store::sumMonth(state, {"Cassa", "' or ''='", true}, "2014", 3), std::nullopt);
    EXPECT_EQ(store::sumMonth(state, {criterion, "CONT", true}, "2014", 3), std::nullopt);
    EXPECT_EQ(store::sumMonth(state, {"Cassa", "CONT", true}, "2014' or '1'='1", 3), std::nullopt);
    EXPECT_EQ(store::sumYear(state, {"Cassa", criterion, true}, "2014"), 3.0);

    // Write: one new row under that code; the rows before are untouched.
    store::writeMonth(state, "Cassa", criterion, "2014", 3, store::Value(42.0));
    store::writeMonth(state, "Cassa", criterion, "2014", 3, store::Value(43.0));
    EXPECT_EQ(store::readMonth(state, "Cassa", criterion, "2014", 3), 43.0);
    EXPECT_EQ(store::readMonth(state, "Cassa", "CONT", "2013", 2), 222.0);
    EXPECT_EQ(summaryRows(dir), before + "|1,Cassa," + criterion + ",201403,43.0");

    // A year typed with a criterion in it: nothing matches, and nothing fails.
    Window w(dir);
    w.choose(0, "Cassa");
    w.choose(1, "CONT   Contanti");
    EXPECT_EQ(w.logic.text1[3], "1.000,00");
    w.logic.text1[0] = "2014' or '1'='1";
    w.choose(1, "CONT   Contanti");
    EXPECT_EQ(w.grid(), "0|0|0|0|0|0|0|0|0|0|0|0");
    w.logic.text1[0] = longText(100000, '2');
    w.choose(1, "CONT   Contanti");
    EXPECT_EQ(w.grid(), "0|0|0|0|0|0|0|0|0|0|0|0");
    EXPECT_EQ(w.ui.shown(), "");
    EXPECT_FALSE(w.logic.unloaded);
}
