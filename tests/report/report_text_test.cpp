#include "report/report_text.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "report/expected_lines.h"
#include "support/testdir.h"

namespace zt::report {
namespace {

using namespace expect;

const Separators kItalian{",", "."};
const Separators kPlainC{".", ","};

class ReportText : public ::testing::Test {
protected:
    void SetUp() override {
        clearWorkstation();
        state.workDir = dir.path();
        state.detailDbPath = "Dettaglio.mdb";
        state.hotelNumber = 1;
        state.setMonths();
    }
    void detail(const std::string& rows) {
        dir.sql("Dettaglio.mdb",
                "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT,"
                " DataInserimento TEXT, Valore REAL);" + rows);
    }
    static ReportSettings at(const Separators& sep, int minute = 7) {
        return {sep, [minute] { return Stamp{2024, 3, 5, 9, minute}; }, {}};
    }
    std::string reportBytes() const { return dir.read("fd"); }

    test::TestDir dir;
    ProgramState state;
};

TEST_F(ReportText, YearWithoutRecordsGivesZerosAndTheSecondRunReplacesTheFirst) {
    // Rows of another hotel and of other years do not count.
    detail("INSERT INTO Dettaglio VALUES(2, 'PresenzeEtà', '18-25', '20140110', 5);"
           "INSERT INTO Dettaglio VALUES(1, 'PresenzeEtà', '18-25', '20120110', 5);");
    dir.write("fd", "old content that must go\r\n");

    ScriviReport(state, "2014", "Presenze x Età", "18-25", at(kPlainC, 1));
    const auto file = ScriviReport(state, "2014", "Presenze x Età", "18-25", at(kPlainC));
    EXPECT_EQ(file, dir / "fd");

    const Box b{true};
    const std::string expected =
        block(b, b.titleLine("05/03/2024", " Zentoria su Presenze x Et\xE0-18-25", "09:07"), b.header("2014", "2013"),
              allMonths({"0", "0", "0", "0", "0"}), {"0", "0", "0", "0", "100"});
    EXPECT_EQ(reportBytes(), expected);

    // The same lines written out by hand, as a check of the expectation itself.
    EXPECT_NE(expected.find("\xB3 Mese                  \xB3    2014    \xB3    2013    \xB3" "Differenza  "
                            "\xB3% Increm. \xB3% su Anno \xB3\r\n"),
              std::string::npos);
    EXPECT_NE(expected.find("\xB3 Gennaio               \xB3           0\xB3           0\xB3           0"
                            "\xB3        0%\xB3        0%\xB3\r\n"),
              std::string::npos);
    EXPECT_NE(expected.find("\xB3 Totali                \xB3           0\xB3           0\xB3           0"
                            "\xB3        0%\xB3      100%\xB3\r\n"),
              std::string::npos);
    EXPECT_EQ(expected.size(), 20u * 88u);
}

TEST_F(ReportText, AllDetailsMonthsWithoutThePreviousYearAndTheYearIncrease) {
    detail(
        // January: two details this year, one last year; another hotel and another
        // statistic are left out.
        "INSERT INTO Dettaglio VALUES(1, 'PresenzeNaz', 'IT', '20140105', 60);"
        "INSERT INTO Dettaglio VALUES(1, 'PresenzeNaz', 'DE', '20140120', 40);"
        "INSERT INTO Dettaglio VALUES(2, 'PresenzeNaz', 'IT', '20140105', 1000);"
        "INSERT INTO Dettaglio VALUES(1, 'PresenzeReg', 'LAZ', '20140105', 1000);"
        "INSERT INTO Dettaglio VALUES(1, 'PresenzeNaz', 'IT', '20130105', 50);"
        // February: nothing the year before.
        "INSERT INTO Dettaglio VALUES(1, 'PresenzeNaz', 'FR', '20140203', 100);"
        // March: only the year before.
        "INSERT INTO Dettaglio VALUES(1, 'PresenzeNaz', 'IT', '20130301', 50);"
        // June and July cancel out; July has no previous year and a negative value.
        "INSERT INTO Dettaglio VALUES(1, 'PresenzeNaz', 'IT', '20140601', 5);"
        "INSERT INTO Dettaglio VALUES(1, 'PresenzeNaz', 'IT', '20140701', -5);");

    ScriviReport(state, "2014", "Presenze x Nazione", "<tutti>", at(kPlainC));

    const Box b{true};
    std::vector<Month> months = allMonths({"0", "0", "0", "0", "0"});
    months[0] = {"100", "50", "50", "100", "50"};
    months[1] = {"100", "0", "100", "100", "50"};
    months[2] = {"0", "50", "-50", "-100", "0"};
    months[5] = {"5", "0", "5", "100", "3"};     // 2.5% rounds away from zero
    months[6] = {"-5", "0", "-5", "0", "-3"};
    // 200 against 100: the year grew by 100%.
    const Month totals{"200", "100", "100", "100", "100"};
    EXPECT_EQ(reportBytes(),
              block(b, b.titleLine("05/03/2024", " Zentoria su Presenze x Nazione-<tutti>", "09:07"),
                    b.header("2014", "2013"), months, totals));
}

TEST_F(ReportText, BoardPlanQueriesItsFirstLetterAndCountsUseTheDecimalSeparator) {
    detail("INSERT INTO Dettaglio VALUES(1, 'Presenze', 'M', '20140115', 10.5);"
           "INSERT INTO Dettaglio VALUES(1, 'Presenze', 'Mezza Pensione', '20140115', 99);"
           "INSERT INTO Dettaglio VALUES(1, 'Presenze', 'P', '20140115', 7);"
           "INSERT INTO Dettaglio VALUES(1, 'Presenze', 'M', '20131231', 21);");

    ScriviReport(state, "2014", "Presenze", "Mezza Pensione", at(kItalian));

    const Box b{true};
    std::vector<Month> months = allMonths({"0", "0", "0", "0", "0"});
    months[0] = {"10,5", "0", "10,5", "100", "100"};
    months[11] = {"0", "21", "-21", "-100", "0"};
    EXPECT_EQ(reportBytes(), block(b, b.titleLine("05/03/2024", " Zentoria su Presenze-Mezza Pensione", "09:07"),
                                   b.header("2014", "2013"), months, {"10,5", "21", "-10,5", "-50", "100"}));
}

TEST_F(ReportText, FamilyUnitAndStayLengthReportTheirCatalogueCodes) {
    detail("INSERT INTO Dettaglio VALUES(1, 'PresenzeNucleo', 'F4', '20140410', 6);"
           "INSERT INTO Dettaglio VALUES(1, 'PresenzeSoggiorno', 'SETT', '20140410', 9);"
           "INSERT INTO Dettaglio VALUES(1, 'PresenzeSoggiorno', 'SETT', '20130410', 3);");
    const Box b{true};

    ScriviReport(state, "2014", "Presenze x Nucleo", "F4", at(kPlainC));
    std::vector<Month> months = allMonths({"0", "0", "0", "0", "0"});
    months[3] = {"6", "0", "6", "100", "100"};
    EXPECT_EQ(reportBytes(), block(b, b.titleLine("05/03/2024", " Zentoria su Presenze x Nucleo-F4", "09:07"),
                                   b.header("2014", "2013"), months, {"6", "0", "6", "100", "100"}));

    ScriviReport(state, "2014", "Presenze x Soggiorno", "SETT  ", at(kPlainC));
    months[3] = {"9", "3", "6", "200", "100"};
    EXPECT_EQ(reportBytes(), block(b, b.titleLine("05/03/2024", " Zentoria su Presenze x Soggiorno-SETT  ", "09:07"),
                                   b.header("2014", "2013"), months, {"9", "3", "6", "200", "100"}));
}

TEST_F(ReportText, MoneyInTheItalianFormWidensItsLineInsteadOfCuttingAndCutsALongTitle) {
    detail("INSERT INTO Dettaglio VALUES(1, 'Produzione', '00001', '20140110', 1234.5);"
           "INSERT INTO Dettaglio VALUES(1, 'Produzione', '00001', '20130110', 1000);"
           "INSERT INTO Dettaglio VALUES(1, 'Produzione', '00001', '20140210', 1234567890.12);"
           "INSERT INTO Dettaglio VALUES(1, 'Produzione', '00001', '20130210', 1000000000);"
           "INSERT INTO Dettaglio VALUES(1, 'Produzione', '00002', '20140310', 77);");
    const std::string item = "00001 Camere matrimoniali con vista sul lago e balcone privato";

    ScriviReport(state, "2014", "Produzione", item, at(kItalian));

    const Box b{true};
    std::vector<Month> months = allMonths({"0,00", "0,00", "0,00", "0", "0"});
    months[0] = {"1.234,50", "1.000,00", "234,50", "23", "0"};
    months[1] = {"1.234.567.890,12", "1.000.000.000,00", "234.567.890,12", "23", "100"};
    const Month totals{"1.234.569.124,62", "1.000.001.000,00", "234.568.124,62", "23", "100"};
    const std::string expected =
        block(b, b.titleLine("05/03/2024", (" Zentoria su Produzione-" + item).substr(0, 68), "09:07"),
              b.header("2014", "2013"), months, totals);
    const std::string got = reportBytes();
    EXPECT_EQ(got, expected);
    // The widened lines keep every digit: February is 4 + 4 + 2 columns wider.
    EXPECT_NE(got.find("\xB3" "1.234.567.890,12\xB3" "1.000.000.000,00\xB3" "234.567.890,12\xB3"),
              std::string::npos);
}

TEST_F(ReportText, ClientTypeBatchWalksTheCurrentHotelsTypesOnly) {
    dir.sql("CodiciVari.mdb",
            "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO CodiciVari VALUES(1, 6, 'B', 'Business');"
            "INSERT INTO CodiciVari VALUES(1, 6, 'A', 'Agenzie');"
            "INSERT INTO CodiciVari VALUES(1, 6, 'C', 'Convenzionati');"
            "INSERT INTO CodiciVari VALUES(2, 6, 'A', 'Agenzie');"
            "INSERT INTO CodiciVari VALUES(2, 6, 'Z', 'Altro albergo');"
            "INSERT INTO CodiciVari VALUES(1, 4, 'X', 'Contanti');");
    detail("INSERT INTO Dettaglio VALUES(1, 'PresenzeTip', 'A', '20140110', 10);"
           "INSERT INTO Dettaglio VALUES(2, 'PresenzeTip', 'A', '20140110', 5);"
           "INSERT INTO Dettaglio VALUES(1, 'PresenzeTip', 'B', '20140210', 3);"
           "INSERT INTO Dettaglio VALUES(1, 'PresenzeTip', 'B', '20130210', 3);"
           "INSERT INTO Dettaglio VALUES(2, 'PresenzeTip', 'Z', '20140210', 8);"
           "INSERT INTO Dettaglio VALUES(1, 'PresenzeTip', 'C', '20130210', 4);"
           "INSERT INTO Dettaglio VALUES(1, 'PresenzeTip', 'X', '20140210', 4);");
    dir.write("fd", "an earlier report\r\n");

    int minute = 10;
    ReportSettings settings{kPlainC, [&minute] { return Stamp{2024, 12, 31, 23, minute++}; }, {}};
    std::vector<std::string> captions;
    const BatchResult r = ScriviReportTipiCliente(state, "2014", "Presenze x Tipo Cliente", settings,
                                                  [&](const std::string& c) { captions.push_back(c); });

    // The year sum counts every hotel; the blocks count the current hotel only.
    EXPECT_EQ(captions, (std::vector<std::string>{"A", "A 15", "B", "B 3", "C"}));
    EXPECT_EQ(r.caption, "C");
    EXPECT_EQ(r.clientTypes, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(r.file, dir / "fd");

    const Box b{false};
    std::vector<Month> a = allMonths({"0", "0", "0", "0", "0"});
    a[0] = {"10", "0", "10", "100", "100"};
    std::vector<Month> bm = allMonths({"0", "0", "0", "0", "0"});
    bm[1] = {"3", "3", "0", "0", "100"};
    const std::string expected =
        "\r\n"
        "\r\n\r\n" +
        block(b, b.titleLine("31/12/2024", " Zentoria su Presenze x Tipo Cliente-A", "23:10"), b.header(), a,
              {"10", "0", "10", "100", "100"}) +
        "\r\n\r\n" +
        block(b, b.titleLine("31/12/2024", " Zentoria su Presenze x Tipo Cliente-B", "23:11"), b.header(), bm,
              {"3", "3", "0", "0", "100"});
    EXPECT_EQ(reportBytes(), expected);
    EXPECT_NE(expected.find("\xB3 Mese                  \xB3 Valore   \xB3 Anno Prec\xB3" "Differenza"
                            "\xB3% Increm. \xB3% su Anno \xB3\r\n"),
              std::string::npos);

    // A hotel without client types leaves the one empty line.
    state.hotelNumber = 3;
    const BatchResult none = ScriviReportTipiCliente(state, "2014", "Presenze x Tipo Cliente", settings);
    EXPECT_FALSE(none.caption);
    EXPECT_EQ(reportBytes(), "\r\n");
}

TEST_F(ReportText, ClientTypeBatchOrdersAndSumsCodesWithoutRegardToCase) {
    dir.sql("CodiciVari.mdb",
            "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO CodiciVari VALUES(1, 6, 'B2', 'Business'), (1, 6, 'a1', 'Agenzie'), (1, 6, 'À3', 'Altro');");
    detail("INSERT INTO Dettaglio VALUES(1, 'PresenzeTip', 'A1', '20140110', 10);"
           "INSERT INTO Dettaglio VALUES(1, 'presenzetip', 'b2', '20140210', 3);"
           "INSERT INTO Dettaglio VALUES(1, 'PresenzeTip', 'à3', '20140310', 2);");
    std::vector<std::string> captions;
    const BatchResult r = ScriviReportTipiCliente(state, "2014", "Presenze x Tipo Cliente", at(kPlainC),
                                                  [&](const std::string& c) { captions.push_back(c); });
    EXPECT_EQ(captions, (std::vector<std::string>{"a1", "a1 10", "À3", "À3 2", "B2", "B2 3"}));
    EXPECT_EQ(r.clientTypes, (std::vector<std::string>{"a1", "À3", "B2"}));
}

TEST_F(ReportText, ClientTypeBlockCutsALongTitleToItsField) {
    detail("");
    dir.write("fd", "\r\n");
    const std::string code = "CONVENZIONE AZIENDALE ANNUALE";
    ScriviReportTipoCliente(state, "2014", "Presenze x Tipo Cliente", code, at(kPlainC));

    const Box b{false};
    const std::string title = (" Zentoria su Presenze x Tipo Cliente-" + code).substr(0, 62);
    EXPECT_EQ(reportBytes(), "\r\n\r\n\r\n" + block(b, b.titleLine("05/03/2024", title, "09:07"), b.header(),
                                                  allMonths({"0", "0", "0", "0", "0"}),
                                                  {"0", "0", "0", "0", "100"}));
}

TEST_F(ReportText, FailuresNameTheFileAndADatabaseErrorKeepsThePreviousReport) {
    dir.write("fd", "previous\r\n");
    // No Dettaglio.mdb: the figures are read before the file is touched.
    EXPECT_THROW(ScriviReport(state, "2014", "Presenze", "Generale", at(kPlainC)), std::runtime_error);
    EXPECT_EQ(reportBytes(), "previous\r\n");

    detail("");
    std::filesystem::remove(dir / "fd");
    std::filesystem::create_directory(dir / "fd");  // a report file that cannot be written
    try {
        ScriviReport(state, "2014", "Presenze", "Generale", at(kPlainC));
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find((dir / "fd").string()), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace zt::report
