// The figure operations over either back end of the figure tables: each test runs over the
// figure files in test_store (Figures.*/Files) and over a figure server of its own in
// test_figserver (Figures.*/Server, built with ZT_FIGURES_ON_SERVER), and expects the
// same rows and sums from both.
#include "store/figures/operations.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>

#include "store/sqlite/database.h"
#include "support/testdir.h"
#ifdef ZT_FIGURES_ON_SERVER
#include "store/figures/server_store.h"
#include "store/postgres/server_admin.h"
#include "support/pg_server.h"
#endif

namespace zt::store {
namespace {

enum class Backend { Files, Server };

class Figures : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        state.workDir = dir.path();
        state.summaryDbPath = "Zentoria.mdb";
        state.detailDbPath = "Dettaglio.mdb";
        state.hotelNumber = 1;
#ifdef ZT_FIGURES_ON_SERVER
        static int databases = 0;
        db_ = "figures_" + std::to_string(++databases);
        ::setenv("ZENTORIA_FIGURES_DB", test::PgServer::shared().createDatabase(db_).c_str(), 1);
#endif
    }
    void TearDown() override { ::unsetenv("ZENTORIA_FIGURES_DB"); }

    ProgramState hotel(std::int16_t number) const {
        ProgramState st = state;
        st.hotelNumber = number;
        return st;
    }

    // Adds rows ("(1, 'Cassa', 'CONT', '201401', 5), ...") to `Zentoria` or `Dettaglio`,
    // made first when missing: a plain file table, indexed as the program's own summary
    // file when `indexed`, or the server's tables as `figures init` makes them.
    void add(const std::string& table, const std::string& rows, bool indexed = false) {
        const std::string period = table == "Zentoria" ? "AnnoMese" : "DataInserimento";
#ifdef ZT_FIGURES_ON_SERVER
        initFiguresSchema(*figureServerConnection(std::getenv("ZENTORIA_FIGURES_DB")));  // when missing
        if (!rows.empty()) test::PgServer::shared().exec(db_, "INSERT INTO \"" + table + "\" VALUES " + rows);
        return;
#endif
        dir.sql(table + ".mdb", "CREATE TABLE IF NOT EXISTS " + table + "(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, " +
                                    period + " TEXT, Valore REAL);" +
                                    (indexed ? "CREATE INDEX IF NOT EXISTS ix_" + table + " ON " + table +
                                                   "(NumeroHotel, Tipo, Dettaglio, " + period + ");"
                                             : "") +
                                    (rows.empty() ? "" : "INSERT INTO " + table + " VALUES " + rows));
    }

    // Every row of `Zentoria` in the order of its key, its fields joined by "," and whole
    // numbers without decimals.
    std::string summary() const {
#ifdef ZT_FIGURES_ON_SERVER
        return test::PgServer::shared().query(
            db_, "SELECT \"NumeroHotel\", \"Tipo\", \"Dettaglio\", \"AnnoMese\", trim_scale(\"Valore\") FROM \"Zentoria\" "
                 "ORDER BY 1, \"Tipo\" COLLATE \"C\", \"Dettaglio\" COLLATE \"C\", \"AnnoMese\" COLLATE \"C\"");
#endif
        return test::queryColumn(dir / "Zentoria.mdb",
                                 "SELECT NumeroHotel || ',' || Tipo || ',' || Dettaglio || ',' || AnnoMese || ',' || "
                                 "iif(Valore = CAST(Valore AS INTEGER), CAST(Valore AS INTEGER), Valore) FROM Zentoria "
                                 "ORDER BY NumeroHotel, Tipo, Dettaglio, AnnoMese");
    }

    // The figure tables there are: figure files, or tables on the server.
    std::string tablesThere() const {
#ifdef ZT_FIGURES_ON_SERVER
        return test::PgServer::shared().query(db_, "SELECT tablename FROM pg_tables WHERE schemaname = 'public'");
#endif
        return std::string(std::filesystem::exists(dir / "Zentoria.mdb") ? "Zentoria" : "") +
               (std::filesystem::exists(dir / "Dettaglio.mdb") ? "Dettaglio" : "");
    }

    test::TestDir dir;
    ProgramState state;
    std::string db_;  // on the server: the test's own database
};

TEST_P(Figures, WriteMonthAddsOnceThenReplaces) {
    add("Zentoria", "(2, 'Presenze', 'Generale', '201403', 99)");
    writeMonth(state, "Presenze", "Generale", "2014", 3, 10.0);
    writeMonth(state, "Presenze", "Generale", "2014", 3, 25.5);
    writeMonth(state, "Presenze", "Generale", "2014", 11, 4.0);
    EXPECT_EQ(summary(), "1,Presenze,Generale,201403,25.5|1,Presenze,Generale,201411,4|2,Presenze,Generale,201403,99");
    EXPECT_EQ(readMonth(state, "Presenze", "Generale", "2014", 3), 25.5);
    EXPECT_EQ(readMonth(hotel(2), "Presenze", "Generale", "2014", 3), 99.0);
    EXPECT_EQ(readMonth(state, "Presenze", "Generale", "2014", 4), std::nullopt);
    EXPECT_EQ(readMonth(state, "Presenze", "Singoli", "2014", 3), std::nullopt);

    // "&Aggiorna" writes a currency amount, kept to its four decimals. A year text of
    // another length is written as it is and found only by the same text.
    writeMonth(state, "Cassa", "AB", "2014", 1, Currency::fromTenThousandths(12345678));
    writeMonth(state, "Arrivi", "Ditta", "14", 2, 6.0);
    EXPECT_EQ(summary(), "1,Arrivi,Ditta,1402,6|1,Cassa,AB,201401,1234.5678|1,Presenze,Generale,201403,25.5|"
                         "1,Presenze,Generale,201411,4|2,Presenze,Generale,201403,99");
    EXPECT_EQ(readMonth(state, "Arrivi", "Ditta", "14", 2), 6.0);
    EXPECT_EQ(readMonth(state, "Arrivi", "Ditta", "2014", 2), std::nullopt);

    EXPECT_EQ(monthKey("2014", 3), "201403");
    EXPECT_EQ(monthKey("2014", 12), "201412");
    EXPECT_THROW(writeMonth(state, "Presenze", "Generale", "2014", 13, 1.0), std::out_of_range);
}

TEST_P(Figures, WriteYearWritesTheTwelveMonthsWholeOrNone) {
    add("Zentoria", "(1, 'Cassa', 'CONT', '204001', 7), (1, 'Cassa', 'CONT', '204101', 8)");
    std::array<Value, 12> values;
    std::string written = "1,Cassa,CONT,204101,8";
    for (int m = 1; m <= 12; ++m) {
        values[static_cast<std::size_t>(m - 1)] = Value(m);
        written += "|1,cassa,cont," + monthKey("2040", m) + "," + std::to_string(m);
    }
    // "&Registra" of "cont" replaces the months of "CONT", writing the codes as given.
    writeYear(state, "cassa", "cont", "2040", values);
    EXPECT_EQ(summary(), written);

    // A failure before the seventh month keeps none of the twelve.
    values.fill(Value(9.5));
    const auto lostAtJuly = [](int month) { if (month == 7) throw DbError("Zentoria.mdb", "lost"); };
    EXPECT_THROW(writeYear(state, "Cassa", "CONT", "2040", values, lostAtJuly), DbError);
    EXPECT_EQ(summary(), written);
}

TEST_P(Figures, CodesAreFoundWhateverTheirCase) {
    add("Zentoria", "(1, 'Presenze', 'Generale', '201403', 99), (1, 'PresenzeEtà', 'ÀB', '201403', 5)", true);

    // "&Registra" of "generale" replaces the row of "Generale" and writes its own spelling.
    writeMonth(state, "presenze", "generale", "2014", 3, 7.0);
    writeMonth(state, "PRESENZEETÀ", "àb", "2014", 3, 6.0);
    EXPECT_EQ(summary(), "1,PRESENZEETÀ,àb,201403,6|1,presenze,generale,201403,7");
    EXPECT_EQ(readMonth(state, "Presenze", "GENERALE", "2014", 3), 7.0);
    EXPECT_EQ(readMonth(state, "PresenzeEta", "AB", "2014", 3), std::nullopt) << "accents tell letters apart";

    add("Dettaglio", "(1, 'Presenze', 'Generale', '20140310', 1), (1, 'presenze', 'generale', '20140320', 2),"
                     "(2, 'PresenzeTip', 'a1', '20140320', 4), (3, 'PRESENZETIP', 'A1', '20140320', 8)");
    EXPECT_EQ(sumMonth(state, {"Presenze", "Generale", true}, "2014", 3), 3.0);
    EXPECT_EQ(sumClientTypeYearAllHotels(state, "2014", "A1"), 12.0);
}

TEST_P(Figures, WritersAndReadersAgreeOnTheCassaCode) {
    add("Zentoria", "");
    const std::string item = "AB     Contanti";
    const auto reg = registraKey("Cassa", item);
    ASSERT_TRUE(reg);
    writeMonth(state, reg->tipo, reg->detail, "2014", 1, 100.0);
    EXPECT_EQ(summary(), "1,Cassa,AB,201401,100");

    // The recompute writes the same row; the month comparison finds it.
    const auto agg = aggiornaKey("Cassa", item);
    writeMonth(state, agg->tipo, agg->detail, "2014", 1, Currency::fromTenThousandths(1500000));
    EXPECT_EQ(summary(), "1,Cassa,AB,201401,150");
    const auto cmp = repaDiffKey("Cassa", item);
    EXPECT_EQ(readMonth(state, cmp->tipo, cmp->detail, "2014", 1), 150.0);
}

TEST_P(Figures, QuotesInCodesAreData) {
    add("Zentoria", "(1, 'PresenzePro', 'L''A', '201405', 7), (1, 'PresenzePro', 'X', '201405', 9)");
    writeMonth(state, "PresenzePro", "L'A", "2014", 5, 8.0);
    EXPECT_EQ(readMonth(state, "PresenzePro", "L'A", "2014", 5), 8.0);

    // A code that would widen the criterion if it were pasted in unquoted.
    const std::string sly = "X' or Dettaglio = 'L'A";
    EXPECT_EQ(readMonth(state, "PresenzePro", sly, "2014", 5), std::nullopt);
    writeMonth(state, "PresenzePro", sly, "2014", 5, 1.0);
    EXPECT_EQ(summary(), "1,PresenzePro,L'A,201405,8|1,PresenzePro,X,201405,9|1,PresenzePro," + sly + ",201405,1");

    const auto rows = readSummaryYear(state, DetailKey{"PresenzePro", "L'A"}, "2014");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].valore.toDouble(), 8.0);

    add("Dettaglio", "(1, 'PresenzePro', 'L''A', '20140501', 3), (1, 'PresenzePro', 'X', '20140501', 4)");
    EXPECT_EQ(sumMonth(state, DetailKey{"PresenzePro", "L'A"}, "2014", 5), 3.0);
    EXPECT_EQ(sumMonth(state, DetailKey{"PresenzePro", sly}, "2014", 5), std::nullopt);
}

TEST_P(Figures, YearRowsFromTheSummary) {
    add("Zentoria", "(1, 'ArriviNaz', 'IT', '201402', 5), (1, 'ArriviNaz', 'DE', '201402', 6),"
                    "(1, 'ArriviNaz', 'IT', '201302', 7), (2, 'ArriviNaz', 'IT', '201403', 8),"
                    "(1, 'ArriviNaz', 'IT', '201412', 9)");
    auto periods = [](const std::vector<FigureRow>& rows) {
        std::string s;
        for (const auto& r : rows) s += r.period + "=" + r.valore.toText() + " ";
        return s;
    };
    EXPECT_EQ(periods(readSummaryYear(state, DetailKey{"ArriviNaz", "IT"}, "2014")), "201402=5 201412=9 ");
    EXPECT_EQ(periods(readSummaryYear(state, DetailKey{"ArriviNaz", "", false}, "2014")),
              "201402=5 201402=6 201412=9 ");
    EXPECT_EQ(periods(readSummaryYear(state, DetailKey{"ArriviNaz", "IT"}, "2015")), "");
}

TEST_P(Figures, SumsFromTheDetailTable) {
    add("Dettaglio", "(1, 'PresenzeTip', 'C', '20140305', 5), (1, 'PresenzeTip', 'D', '20140310', 4),"
                     "(2, 'PresenzeTip', 'C', '20140311', 100), (1, 'PresenzeTip', 'C', '20140320', 2.5),"
                     "(1, 'PresenzeTip', 'C', '20130310', 7), (1, 'PresenzeTip', 'C', '20141201', 1),"
                     "(1, 'PresenzeNaz', 'C', '20140301', 50)");
    const DetailKey c{"PresenzeTip", "C"};
    const DetailKey all{"PresenzeTip", "", false};

    EXPECT_EQ(sumMonth(state, c, "2014", 3), 7.5);
    EXPECT_EQ(sumMonth(state, all, "2014", 3), 11.5);
    EXPECT_EQ(sumMonth(state, c, "2014", 12), 1.0);
    EXPECT_EQ(sumMonth(state, c, "2014", 2), std::nullopt);  // no rows: no value, not 0
    EXPECT_EQ(sumMonth(hotel(2), c, "2014", 3), 100.0);
    EXPECT_EQ(sumYear(state, c, "2014"), 8.5);
    EXPECT_EQ(sumYear(state, c, "2012"), std::nullopt);

    std::string seen;
    for (const auto& r : readDetailYear(state, c, "2014")) seen += r.period + " ";
    EXPECT_EQ(seen, "20140305 20140320 20141201 ");

    // The print batch's yearly sum counts the rows of every hotel.
    EXPECT_EQ(sumClientTypeYearAllHotels(state, "2014", "C"), 108.5);
    EXPECT_EQ(sumClientTypeYearAllHotels(state, "2014", "Z"), std::nullopt);
}

TEST_P(Figures, MissingDatabaseIsAnErrorAndNotCreated) {
    EXPECT_THROW(writeMonth(state, "Presenze", "Generale", "2014", 1, 1.0), DbError);
    EXPECT_THROW(sumMonth(state, DetailKey{"Presenze", "Generale"}, "2014", 1), DbError);
    EXPECT_EQ(tablesThere(), "");
}

#ifdef ZT_FIGURES_ON_SERVER
INSTANTIATE_TEST_SUITE_P(, Figures, ::testing::Values(Backend::Server), [](const auto&) { return "Server"; });
#else
INSTANTIATE_TEST_SUITE_P(, Figures, ::testing::Values(Backend::Files), [](const auto&) { return "Files"; });
#endif

}  // namespace
}  // namespace zt::store
