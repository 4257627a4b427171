// Attack: the same texts given as command-line arguments (zentoria's command line run in
// this process). A choice no list offers is refused with status 2 and the valid
// choices, a value that is not a number with status 1 and a message; nothing stored
// before changes.
#include <gtest/gtest.h>

#include "common/numfmt.h"
#include "hostile/hostile.h"

using namespace zt;
using namespace zt::hostile;
using zt::test::queryColumn;
using zt::test::TestDir;

TEST(HostileCommandLine, ChoicesAndValuesWithQuotesSemicolonsAndLongTexts) {
    TestDir dir;
    workingFolder(dir);
    dir.sql("CodiciVari.mdb", "INSERT INTO CodiciVari VALUES(1,4,'''or''1','Apici'),(1,4,'\xE6\x9D\xB1\xE4\xBA\xAC','Tokyo');");
    dir.sql("Dettaglio.mdb", "INSERT INTO Dettaglio VALUES(1,'Cassa','''or''1','20140301',7);");
    const std::string before = summaryRows(dir);
    const std::string d = dir.path().string();
    const auto grid = [&](const std::string& year, const std::string& stat, const std::string& detail) {
        return runCli({"--dir", d, "grid", "--hotel", "1", "--year", year, "--stat", stat, "--detail", detail});
    };

    // Choices that no list offers: status 2, the valid ones listed.
    for (const std::string& detail : {std::string("x' or '1'='1"), std::string("CONT'; --"), std::string("\xF0\x9F\x98\x80"),
                                      longText(100000)}) {
        SCOPED_TRACE(detail.substr(0, 20));
        const auto r = grid("2014", "Cassa", detail);
        EXPECT_TRUE(failedSaying(r, 2, "CONT   Contanti"));
        EXPECT_TRUE(r.out.empty());
    }
    auto r = grid("2014", longText(100000, 'S'), "CONT");
    EXPECT_TRUE(failedSaying(r, 2, "Produzione"));
    r = runCli({"--dir", d, "grid", "--hotel", "1'; --", "--year", "2014", "--stat", "Cassa", "--detail", "CONT"});
    EXPECT_EQ(r.status, 2);

    // Codes with a quote or letters outside Latin-1 are chosen by their code and read literally.
    r = grid("2014", "Cassa", "'or'1");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0\n0\n" + formatMoney(7, localeSeparators()) + "\n0\n0\n0\n0\n0\n0\n0\n0\n0\n");
    r = grid("2014", "Cassa", "\xE6\x9D\xB1\xE4\xBA\xAC");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n");
    // A year with a criterion in it, or 100,000 characters long, matches nothing.
    for (const std::string& year : {std::string("2014' or '1'='1"), std::string("2014;--"), longText(100000, '2')}) {
        r = grid(year, "Cassa", "CONT");
        EXPECT_EQ(r.status, 0) << r.err.substr(0, 300);
        EXPECT_EQ(r.out, "0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n");
    }

    // register: values that are not numbers stop it before any month is written.
    const auto reg = [&](const std::string& detail, const std::string& values) {
        return runCli({"--dir", d, "register", "--hotel", "1", "--year", "2014", "--stat", "Cassa", "--detail", detail,
                    "--values", values, "--yes"});
    };
    for (const std::string& values :
         {std::string("1;2;3;4;5;6;7;8;9;10;11;'12'"), std::string("1;2;3;4;5;6;7;8;9;10;11;-- 12"),
          std::string("1;2;3;4;5;6;7;8;9;10;11;\xE4\xBA\x94\xE5\x8D\x81"), std::string("1;2;3;4;5;6;7;8;9;10;11;") + longText(100000, '7')}) {
        SCOPED_TRACE(values.substr(0, 40));
        r = reg("CONT", values);
        EXPECT_TRUE(failedSaying(r, 1, "Dicembre"));
        EXPECT_NE(r.err.find("non è un numero"), std::string::npos);
        EXPECT_EQ(summaryRows(dir), before);
    }
    // A semicolon separates the values, so one more is a usage error, not a thirteenth month.
    r = reg("CONT", "1;2;3;4;5;6;7;8;9;10;11;12;13");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(summaryRows(dir), before);

    // A code with a quote is written as it is, beside the rows that were there.
    r = reg("'or'1", "1;2;3;4;5;6;7;8;9;10;11;12");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(summaryRows(dir).substr(0, before.size() + 1), before + "|");
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb",
                          "SELECT count(*) || ' ' || sum(Valore) FROM Zentoria WHERE Dettaglio = '''or''1'"),
              "12 78.0");
}
