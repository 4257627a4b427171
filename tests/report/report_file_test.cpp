#include "report/report_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "report/csv_export.h"
#include "report/expected_lines.h"
#include "report/report_text.h"
#include "support/testdir.h"

namespace zt::report {
namespace {

using namespace expect;

class ReportFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        clearWorkstation();
        state.workDir = dir.path();
        state.detailDbPath = "Dettaglio.mdb";
        state.hotelNumber = 1;
        state.setMonths();
        dir.sql("Dettaglio.mdb",
                "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT,"
                " DataInserimento TEXT, Valore REAL);"
                "INSERT INTO Dettaglio VALUES(1, 'Cassa', 'CARTA1', '20140110', 1234.5);"
                "INSERT INTO Dettaglio VALUES(1, 'Cassa', 'CARTA1', '20130110', 1000);");
    }
    void TearDown() override { clearWorkstation(); }

    ReportSettings settings{{",", "."}, [] { return Stamp{2024, 3, 5, 9, 7}; }, {}};
    test::TestDir dir;
    ProgramState state;
};

TEST_F(ReportFileTest, WriterAndReadersNameTheSameFileForEveryWorkstationSpelling) {
    struct Case {
        const char* variable;
        const char* value;
        const char* file;
    };
    for (const Case c : {Case{nullptr, nullptr, "fd"}, Case{"PCLocal", "03", "03fd"}, Case{"PcLocal", "7", "7fd"},
                         Case{"PClocal", "", "fd"}}) {
        SCOPED_TRACE(c.file);
        clearWorkstation();
        if (c.variable) setenv(c.variable, c.value, 1);

        EXPECT_EQ(reportFilePath(dir.path()), dir / c.file);
        const auto written = ScriviReport(state, "2014", "Cassa", "CARTA1 Carta di credito", settings);
        EXPECT_EQ(written, dir / c.file);
        EXPECT_EQ(ReportFile::read(reportFilePath(dir.path())).lines().size(), 20u);
        EXPECT_EQ(exportCsv(dir.path()), dir / (std::string(c.file) + ".csv"));
        std::filesystem::remove(dir / c.file);
    }

    // A file another program named "9FD" is the same file.
    clearWorkstation();
    setenv("PCLocal", "9", 1);
    dir.write("9FD", "x\r\n");
    EXPECT_EQ(reportFilePath(dir.path()), dir / "9FD");
    ScriviReport(state, "2014", "Cassa", "CARTA1", settings);
    EXPECT_EQ(ReportFile::read(reportFilePath(dir.path())).lines().size(), 20u);
    EXPECT_FALSE(std::filesystem::exists(dir / "9fd"));
}

TEST_F(ReportFileTest, ReaderShowsTheBoxAndSplitsTheCells) {
    const auto file = ScriviReport(state, "2014", "Cassa", "CARTA1 Carta", settings);
    const ReportFile report = ReportFile::read(file);
    ASSERT_EQ(report.lines().size(), 20u);

    const auto screen = report.screenLines();
    EXPECT_EQ(screen[0], "\u250C" + times("\u2500", 84) + "\u2510");
    EXPECT_EQ(screen[1], "\u2502 05/03/2024" + rpad(" Zentoria su Cassa-CARTA1 Carta", 68) + "09:07\u2502");
    EXPECT_EQ(screen[5], "\u2502 Gennaio               \u2502    1.234,50\u2502    1.000,00\u2502      234,50"
                         "\u2502       23%\u2502      100%\u2502");
    EXPECT_EQ(screen[19].substr(0, 3), "\u2514");
    // Other bytes are Windows-1252.
    EXPECT_EQ(decodeReportLine("\xE0\x80\xB3"), "\u00E0\u20AC\u2502");

    const auto blocks = report.blocks();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].date, "05/03/2024");
    EXPECT_EQ(blocks[0].title, "Zentoria su Cassa-CARTA1 Carta");
    EXPECT_EQ(blocks[0].time, "09:07");
    EXPECT_EQ(*blocks[0].header, (std::array<std::string, 6>{"Mese", "2014", "2013", "Differenza", "% Increm.",
                                                             "% su Anno"}));
    ASSERT_EQ(blocks[0].rows.size(), 13u);
    EXPECT_EQ(blocks[0].rows[12], (std::array<std::string, 6>{"Totali", "1.234,50", "1.000,00", "234,50", "23%",
                                                              "100%"}));
    EXPECT_FALSE(splitDataLine(report.lines()[1]));
    EXPECT_FALSE(splitDataLine(report.lines()[0]));

    // LF-only line ends are read too; a missing file is an error naming it.
    EXPECT_EQ(ReportFile::fromBytes("a\nb\r\n\r\n").lines(), (std::vector<std::string>{"a", "b", ""}));
    try {
        ReportFile::read(dir / "missing");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("missing"), std::string::npos);
    }
}

TEST_F(ReportFileTest, CsvHasARowPerMonthAndTotalsWithTheConfiguredSeparator) {
    ScriviReport(state, "2014", "Cassa", "CARTA1", settings);

    std::string months;
    months += "Gennaio;1.234,50;1.000,00;234,50;23%;100%\r\n";
    for (int m = 1; m < 12; ++m) months += std::string(kMonths[m]) + ";0,00;0,00;0,00;0%;0%\r\n";
    const std::string head = "Zentoria su Cassa-CARTA1;05/03/2024;09:07\r\nMese;2014;2013;Differenza;% Increm.;% su Anno\r\n";
    const std::string totals = "Totali;1.234,50;1.000,00;234,50;23%;100%\r\n";
    EXPECT_EQ(csvSeparator(dir.path()), ";");
    exportCsv(dir.path());
    EXPECT_EQ(dir.read("fd.csv"), head + months + totals);

    // A comma separator quotes the money cells that hold it.
    dir.write("SeparatoreXLS.txt", ",\r\n");
    EXPECT_EQ(csvSeparator(dir.path()), ",");
    exportCsv(dir.path());
    const std::string csv = dir.read("fd.csv");
    EXPECT_EQ(csv.substr(0, csv.find("Febbraio")),
              "Zentoria su Cassa-CARTA1,05/03/2024,09:07\r\nMese,2014,2013,Differenza,% Increm.,% su Anno\r\n"
              "Gennaio,\"1.234,50\",\"1.000,00\",\"234,50\",23%,100%\r\n");

    // A tab, and an empty file falls back to ";".
    dir.write("SeparatoreXLS.txt", "\t\n");
    EXPECT_EQ(csvSeparator(dir.path()), "\t");
    dir.write("SeparatoreXLS.txt", "");
    EXPECT_EQ(csvSeparator(dir.path()), ";");
}

TEST_F(ReportFileTest, CsvOfTheBatchHasOneSectionPerBlockInWindows1252) {
    // Two blocks appended by hand after the batch's empty line, one title in cp1252.
    dir.write("fd", "\r\n");
    ScriviReportTipoCliente(state, "2014", "Presenze x Tipo Cliente", "\xC3\xA0GE", settings);  // "àGE"
    ScriviReportTipoCliente(state, "2014", "Presenze x Tipo Cliente", "B", settings);
    exportCsv(dir.path());

    std::string zeros;
    for (int m = 0; m < 12; ++m) zeros += std::string(kMonths[m]) + ";0;0;0;0%;0%\r\n";
    const std::string header = "Mese;Valore;Anno Prec;Differenza;% Increm.;% su Anno\r\n";
    const std::string totals = "Totali;0;0;0;0%;100%\r\n";
    EXPECT_EQ(dir.read("fd.csv"),
              "Zentoria su Presenze x Tipo Cliente-\xE0GE;05/03/2024;09:07\r\n" + header + zeros + totals +
                  "Zentoria su Presenze x Tipo Cliente-B;05/03/2024;09:07\r\n" + header + zeros + totals);
}

}  // namespace
}  // namespace zt::report
