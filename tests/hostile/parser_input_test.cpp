// Attack: texts given to the parsers and readers, as the fuzz targets (fuzz/) give them;
// each case here is an input a fuzz run or a hostile test found to break one of them.
// The query dialect names the token it refuses; the CSV export keeps every cell whole.
#include <gtest/gtest.h>

#include "hostile/hostile.h"
#include "report/csv_export.h"
#include "store/database.h"
#include "store/jet_sql.h"

using namespace zt;
using namespace zt::hostile;
using zt::test::TestDir;

namespace {

std::string dbError(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const store::DbError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(HostileParsers, TopTakesAWholeNumberOfRowsAndNamesAnyOther) {
    TestDir dir;
    workingFolder(dir);
    auto db = store::Database::open(dir.path(), "Zentoria.mdb");
    auto rs = db.openQuery("Select TOP 2 Valore From Zentoria Order By Valore Desc");
    std::string got;
    for (; !rs.eof(); rs.moveNext()) got += rs.field("Valore").toText() + ";";
    EXPECT_EQ(got, "333;222;");

    // Too large for a count of rows (it stopped the program with "stol"), a fraction or
    // an exponent (both were cut to 1 without a word).
    for (const std::string n : {"99999999999999999999", "1.5", "1e3"}) {
        const std::string message =
            dbError([&] { db.openQuery("Select TOP " + n + " Valore From Zentoria"); });
        EXPECT_NE(message.find("Zentoria.mdb"), std::string::npos) << message;
        EXPECT_NE(message.find("near \"" + n + "\""), std::string::npos) << message;
        EXPECT_NE(message.find("position 12"), std::string::npos) << message;
    }
}

TEST(HostileParsers, LongChainsOfOperatorsAreRefusedNotOverflowed) {
    TestDir dir;
    workingFolder(dir);
    auto db = store::Database::open(dir.path(), "Zentoria.mdb");
    auto rs = db.openTable("Zentoria");
    // A chain of operators nests as deeply as brackets do: 50,000 of them ran the
    // parser's tree and its SQL writer off the stack.
    std::string sum = "Valore = 1";
    for (int i = 0; i < 50000; ++i) sum += "+1";
    std::string ands = "Valore > 0";
    for (int i = 0; i < 20000; ++i) ands += " and Valore > 0";
    std::string words = "Tipo = 'a'";
    for (int i = 0; i < 20000; ++i) words += " & 'b'";
    for (const auto* criterion : {&sum, &ands, &words}) {
        const std::string message = dbError([&] { rs.findFirst(*criterion); });
        EXPECT_NE(message.find("too deeply nested"), std::string::npos) << message.substr(0, 200);
        EXPECT_NE(message.find("Zentoria.mdb"), std::string::npos);
    }
    EXPECT_THROW(store::jet::parseQuery("Select Valore From Zentoria Where " + ands), store::jet::SyntaxError);

    // Chains as long as a program writes them still read.
    std::string many = "NumeroHotel = 1";
    for (int i = 0; i < 60; ++i) many += " and Tipo <> 'x" + std::to_string(i) + "'";
    rs.findFirst(many);
    ASSERT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.field("Valore").toText(), "111");
}

TEST(HostileParsers, ACsvSeparatorOfSeveralCharactersNeverSplitsACell) {
    TestDir dir;
    unsetenv("PCLocal");
    // A report line whose cells end or begin with part of the separator "::".
    const std::string bar = "\xB3";
    dir.write("fd", "\xDA\xC4\xBF\r\n" + bar + " 01/02/2025 Zentoria su Cassa-C:     12:00" + bar + "\r\n" + bar +
                        " Mese: " + bar + " :2025 " + bar + " a:b " + bar + " x " + bar + " y " + bar + " z " + bar + "\r\n" +
                        bar + " Gen: " + bar + " :1 " + bar + " 2 " + bar + " 3 " + bar + " 4 " + bar + " 5 " + bar + "\r\n");
    dir.write("SeparatoreXLS.txt", "::\r\n");
    report::exportCsv(dir.path());
    EXPECT_EQ(dir.read("fd.csv"),
              "\"Zentoria su Cassa-C:\"::01/02/2025::\"12:00\"\r\n"
              "\"Mese:\"::\":2025\"::\"a:b\"::x::y::z\r\n"
              "\"Gen:\"::\":1\"::2::3::4::5\r\n");
}
