#include "store/figures/operations.h"

#include <gtest/gtest.h>

#include "store/sqlite/database.h"
#include "support/testdir.h"

namespace zt::store {
namespace {

using test::queryColumn;

ProgramState stateFor(const test::TestDir& dir, std::int16_t hotel = 1) {
    ProgramState st;
    st.workDir = dir.path();
    st.summaryDbPath = "Zentoria.mdb";
    st.detailDbPath = "Dettaglio.mdb";
    st.hotelNumber = hotel;
    return st;
}

void makeSummary(const test::TestDir& dir, const std::string& rows = "") {
    dir.sql("Zentoria.mdb",
            "CREATE TABLE Zentoria(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, AnnoMese TEXT,"
            " Valore REAL);" + rows);
}

TEST(Figures, WriteMonthAddsOnceThenReplaces) {
    test::TestDir dir;
    makeSummary(dir, "INSERT INTO Zentoria VALUES(2, 'Presenze', 'Generale', '201403', 99);");
    const auto st = stateFor(dir);
    const auto file = dir / "Zentoria.mdb";

    writeMonth(st, "Presenze", "Generale", "2014", 3, 10.0);
    writeMonth(st, "Presenze", "Generale", "2014", 3, 25.5);
    writeMonth(st, "Presenze", "Generale", "2014", 11, 4.0);
    EXPECT_EQ(queryColumn(file, "SELECT NumeroHotel || ' ' || AnnoMese || ' ' || Valore FROM Zentoria"),
              "2 201403 99.0|1 201403 25.5|1 201411 4.0");

    // "&Aggiorna" writes a currency amount, kept to its four decimals.
    writeMonth(st, "Cassa", "AB", "2014", 1, Currency::fromTenThousandths(12345678));
    EXPECT_EQ(queryColumn(file, "SELECT Valore FROM Zentoria WHERE Tipo = 'Cassa'"), "1234.5678");

    EXPECT_EQ(readMonth(st, "Presenze", "Generale", "2014", 3), 25.5);
    EXPECT_EQ(readMonth(stateFor(dir, 2), "Presenze", "Generale", "2014", 3), 99.0);
    EXPECT_EQ(readMonth(st, "Presenze", "Generale", "2014", 4), std::nullopt);
    EXPECT_EQ(readMonth(st, "Presenze", "Singoli", "2014", 3), std::nullopt);

    // A year text of another length is written as it is and found only by the same text.
    writeMonth(st, "Arrivi", "Ditta", "14", 2, 6.0);
    EXPECT_EQ(queryColumn(file, "SELECT AnnoMese FROM Zentoria WHERE Tipo = 'Arrivi'"), "1402");
    EXPECT_EQ(readMonth(st, "Arrivi", "Ditta", "14", 2), 6.0);
    EXPECT_EQ(readMonth(st, "Arrivi", "Ditta", "2014", 2), std::nullopt);

    EXPECT_EQ(monthKey("2014", 3), "201403");
    EXPECT_EQ(monthKey("2014", 12), "201412");
    EXPECT_THROW(writeMonth(st, "Presenze", "Generale", "2014", 13, 1.0), std::out_of_range);
}

TEST(Figures, CodesAreFoundWhateverTheirCase) {
    test::TestDir dir;
    // Indexed as the program's own summary file is.
    makeSummary(dir, "CREATE INDEX ix_Zentoria ON Zentoria(NumeroHotel, Tipo, Dettaglio, AnnoMese);"
                     "INSERT INTO Zentoria VALUES(1, 'Presenze', 'Generale', '201403', 99);"
                     "INSERT INTO Zentoria VALUES(1, 'PresenzeEtà', 'ÀB', '201403', 5);");
    const auto st = stateFor(dir);
    const auto file = dir / "Zentoria.mdb";

    // "&Registra" of "generale" replaces the row of "Generale" and writes its own spelling.
    writeMonth(st, "presenze", "generale", "2014", 3, 7.0);
    writeMonth(st, "PRESENZEETÀ", "àb", "2014", 3, 6.0);
    EXPECT_EQ(queryColumn(file, "SELECT Tipo || ' ' || Dettaglio || ' ' || Valore FROM Zentoria"),
              "presenze generale 7.0|PRESENZEETÀ àb 6.0");
    EXPECT_EQ(readMonth(st, "Presenze", "GENERALE", "2014", 3), 7.0);
    EXPECT_EQ(readMonth(st, "PresenzeEta", "AB", "2014", 3), std::nullopt) << "accents tell letters apart";

    dir.sql("Dettaglio.mdb",
            "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, DataInserimento TEXT, Valore REAL);"
            "INSERT INTO Dettaglio VALUES(1, 'Presenze', 'Generale', '20140310', 1);"
            "INSERT INTO Dettaglio VALUES(1, 'presenze', 'generale', '20140320', 2);"
            "INSERT INTO Dettaglio VALUES(2, 'PresenzeTip', 'a1', '20140320', 4);"
            "INSERT INTO Dettaglio VALUES(3, 'PRESENZETIP', 'A1', '20140320', 8);");
    EXPECT_EQ(sumMonth(st, {"Presenze", "Generale", true}, "2014", 3), 3.0);
    EXPECT_EQ(sumClientTypeYearAllHotels(st, "2014", "A1"), 12.0);
}

TEST(Figures, WritersAndReadersAgreeOnTheCassaCode) {
    test::TestDir dir;
    makeSummary(dir);
    const auto st = stateFor(dir);
    const std::string item = "AB     Contanti";

    const auto reg = registraKey("Cassa", item);
    ASSERT_TRUE(reg);
    writeMonth(st, reg->tipo, reg->detail, "2014", 1, 100.0);
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb", "SELECT '[' || Dettaglio || ']' FROM Zentoria"), "[AB]");

    // The recompute writes the same row; the month comparison finds it.
    const auto agg = aggiornaKey("Cassa", item);
    writeMonth(st, agg->tipo, agg->detail, "2014", 1, Currency::fromTenThousandths(1500000));
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb", "SELECT Valore FROM Zentoria"), "150.0");
    const auto cmp = repaDiffKey("Cassa", item);
    EXPECT_EQ(readMonth(st, cmp->tipo, cmp->detail, "2014", 1), 150.0);
}

TEST(Figures, QuotesInCodesAreData) {
    test::TestDir dir;
    makeSummary(dir,
                "INSERT INTO Zentoria VALUES(1, 'PresenzePro', 'L''A', '201405', 7);"
                "INSERT INTO Zentoria VALUES(1, 'PresenzePro', 'X', '201405', 9);");
    const auto st = stateFor(dir);
    const auto file = dir / "Zentoria.mdb";

    writeMonth(st, "PresenzePro", "L'A", "2014", 5, 8.0);
    EXPECT_EQ(queryColumn(file, "SELECT Dettaglio || '=' || Valore FROM Zentoria"), "L'A=8.0|X=9.0");
    EXPECT_EQ(readMonth(st, "PresenzePro", "L'A", "2014", 5), 8.0);

    // A code that would widen the criterion if it were pasted in unquoted.
    const std::string sly = "X' or Dettaglio = 'L'A";
    EXPECT_EQ(readMonth(st, "PresenzePro", sly, "2014", 5), std::nullopt);
    writeMonth(st, "PresenzePro", sly, "2014", 5, 1.0);
    EXPECT_EQ(queryColumn(file, "SELECT Dettaglio || '=' || Valore FROM Zentoria"),
              "L'A=8.0|X=9.0|" + sly + "=1.0");

    const auto rows = readSummaryYear(st, DetailKey{"PresenzePro", "L'A"}, "2014");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].valore.toDouble(), 8.0);

    dir.sql("Dettaglio.mdb",
            "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, DataInserimento TEXT,"
            " Valore REAL);"
            "INSERT INTO Dettaglio VALUES(1, 'PresenzePro', 'L''A', '20140501', 3);"
            "INSERT INTO Dettaglio VALUES(1, 'PresenzePro', 'X', '20140501', 4);");
    EXPECT_EQ(sumMonth(st, DetailKey{"PresenzePro", "L'A"}, "2014", 5), 3.0);
    EXPECT_EQ(sumMonth(st, DetailKey{"PresenzePro", sly}, "2014", 5), std::nullopt);
}

TEST(Figures, YearRowsFromTheSummary) {
    test::TestDir dir;
    makeSummary(dir,
                "INSERT INTO Zentoria VALUES(1, 'ArriviNaz', 'IT', '201402', 5);"
                "INSERT INTO Zentoria VALUES(1, 'ArriviNaz', 'DE', '201402', 6);"
                "INSERT INTO Zentoria VALUES(1, 'ArriviNaz', 'IT', '201302', 7);"
                "INSERT INTO Zentoria VALUES(2, 'ArriviNaz', 'IT', '201403', 8);"
                "INSERT INTO Zentoria VALUES(1, 'ArriviNaz', 'IT', '201412', 9);");
    const auto st = stateFor(dir);
    auto periods = [](const std::vector<FigureRow>& rows) {
        std::string s;
        for (const auto& r : rows) s += r.period + "=" + r.valore.toText() + " ";
        return s;
    };
    EXPECT_EQ(periods(readSummaryYear(st, DetailKey{"ArriviNaz", "IT"}, "2014")), "201402=5 201412=9 ");
    EXPECT_EQ(periods(readSummaryYear(st, DetailKey{"ArriviNaz", "", false}, "2014")),
              "201402=5 201402=6 201412=9 ");
    EXPECT_EQ(periods(readSummaryYear(st, DetailKey{"ArriviNaz", "IT"}, "2015")), "");
}

TEST(Figures, SumsFromTheDetailTable) {
    test::TestDir dir;
    dir.sql("Dettaglio.mdb",
            "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, DataInserimento TEXT,"
            " Valore REAL);"
            "INSERT INTO Dettaglio VALUES(1, 'PresenzeTip', 'C', '20140305', 5);"
            "INSERT INTO Dettaglio VALUES(1, 'PresenzeTip', 'D', '20140310', 4);"
            "INSERT INTO Dettaglio VALUES(2, 'PresenzeTip', 'C', '20140311', 100);"
            "INSERT INTO Dettaglio VALUES(1, 'PresenzeTip', 'C', '20140320', 2.5);"
            "INSERT INTO Dettaglio VALUES(1, 'PresenzeTip', 'C', '20130310', 7);"
            "INSERT INTO Dettaglio VALUES(1, 'PresenzeTip', 'C', '20141201', 1);"
            "INSERT INTO Dettaglio VALUES(1, 'PresenzeNaz', 'C', '20140301', 50);");
    const auto st = stateFor(dir);
    const DetailKey c{"PresenzeTip", "C"};
    const DetailKey all{"PresenzeTip", "", false};

    EXPECT_EQ(sumMonth(st, c, "2014", 3), 7.5);
    EXPECT_EQ(sumMonth(st, all, "2014", 3), 11.5);
    EXPECT_EQ(sumMonth(st, c, "2014", 12), 1.0);
    EXPECT_EQ(sumMonth(st, c, "2014", 2), std::nullopt);  // no rows: no value, not 0
    EXPECT_EQ(sumMonth(stateFor(dir, 2), c, "2014", 3), 100.0);
    EXPECT_EQ(sumYear(st, c, "2014"), 8.5);
    EXPECT_EQ(sumYear(st, c, "2012"), std::nullopt);

    std::string seen;
    for (const auto& r : readDetailYear(st, c, "2014")) seen += r.period + " ";
    EXPECT_EQ(seen, "20140305 20140320 20141201 ");

    // The print batch's yearly sum counts the rows of every hotel.
    EXPECT_EQ(sumClientTypeYearAllHotels(st, "2014", "C"), 108.5);
    EXPECT_EQ(sumClientTypeYearAllHotels(st, "2014", "Z"), std::nullopt);
}

TEST(Figures, MissingDatabaseIsAnErrorAndNotCreated) {
    test::TestDir dir;
    const auto st = stateFor(dir);
    EXPECT_THROW(writeMonth(st, "Presenze", "Generale", "2014", 1, 1.0), DbError);
    EXPECT_THROW(sumMonth(st, DetailKey{"Presenze", "Generale"}, "2014", 1), DbError);
    EXPECT_FALSE(std::filesystem::exists(dir / "Zentoria.mdb"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Dettaglio.mdb"));
}

}  // namespace
}  // namespace zt::store
