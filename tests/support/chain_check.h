#pragma once
// The chain table checked against what each hotel shows on its own: each hotel's row of
// `zentoria chain` against `zentoria grid`, the total row against the sum of the rows,
// each hotel's % against the totals line of the report `zentoria report` writes. Shared by
// the tests over the figure files and over the figure server.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "report/report_file.h"
#include "support/run_program.h"

namespace zt::test {

// Runs the program's command line (after "--dir FOLDER") and gives its standard output;
// the caller's runner expects status 0.
using CommandRunner = std::function<std::string(const std::vector<std::string>& args)>;

// The command line over `dir`, with the figure server `db` ("": over the figure files).
inline CommandRunner runnerOver(const std::filesystem::path& dir, const std::string& db = "") {
    return [dir, db](const std::vector<std::string>& args) {
        const Run r = runCliWithServer(db, inDir(dir, args));
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    };
}

inline std::vector<std::string> splitOn(const std::string& text, char c) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, c)) parts.push_back(part);
    return parts;
}

// A number as the grid writes it, in any locale: a separator before the last two digits is
// the decimal one ("1.234,50", "1,234.50"), every other one groups ("1.234").
inline double gridNumber(const std::string& s) {
    std::string plain;
    for (std::size_t i = 0; i < s.size(); ++i)
        if ((s[i] >= '0' && s[i] <= '9') || s[i] == '-') plain += s[i];
        else if (i + 3 == s.size()) plain += '.';
    return std::stod(plain);
}

inline void expectChainMatchesGrids(const CommandRunner& run, const std::filesystem::path& dir,
                                    const std::string& stat, const std::string& detail, const std::string& year,
                                    std::size_t hotels) {
    const auto lines = splitOn(run({"chain", stat, detail, year}), '\n');
    ASSERT_EQ(lines.size(), hotels + 2) << "headings, one line a hotel, the total";
    EXPECT_EQ(lines[0].rfind("Albergo\tGennaio\t", 0), 0u) << lines[0];
    std::vector<double> sums(13, 0.0);
    for (std::size_t h = 1; h <= hotels; ++h) {
        const auto cells = splitOn(lines[h], '\t');
        ASSERT_EQ(cells.size(), 15u) << lines[h];
        const std::string hotel = std::to_string(std::stoi(cells[0]));
        const auto grid = splitOn(run({"grid", "--hotel", hotel, "--year", year, "--stat", stat, "--detail", detail}), '\n');
        ASSERT_EQ(grid.size(), 12u);
        double total = 0;
        for (std::size_t m = 0; m < 12; ++m) {
            EXPECT_EQ(cells[m + 1], grid[m]) << "hotel " << hotel << ", month " << m + 1;
            sums[m] += gridNumber(cells[m + 1]);
            total += gridNumber(grid[m]);
        }
        EXPECT_NEAR(gridNumber(cells[13]), total, 0.006 * 12) << "hotel " << hotel << "'s year total";
        sums[12] += gridNumber(cells[13]);

        // The % of the report's totals line for the same choice.
        run({"report", "--hotel", hotel, "--year", year, "--stat", stat, "--detail", detail});
        std::ifstream report(zt::report::reportFilePath(dir), std::ios::binary);
        std::string line, percent;
        for (std::smatch m; std::getline(report, line);)
            if (line.find("Totali") != std::string::npos) {
                ASSERT_TRUE(std::regex_search(line, m, std::regex("(-?[0-9]+)%")));
                percent = m[1];
            }
        EXPECT_EQ(cells[14], percent) << "hotel " << hotel << "'s change against the year before";
    }
    const auto total = splitOn(lines[hotels + 1], '\t');
    ASSERT_EQ(total.size(), 15u);
    EXPECT_EQ(total[0], "Totale catena");
    for (std::size_t m = 0; m < 13; ++m)
        EXPECT_NEAR(gridNumber(total[m + 1]), sums[m], 0.006 * static_cast<double>(hotels)) << "column " << m + 1;
}

}  // namespace zt::test
