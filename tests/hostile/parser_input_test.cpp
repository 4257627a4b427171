// Attack: texts given to the parsers and readers, as the fuzz targets (fuzz/) give them;
// each case here is an input a fuzz run or a hostile test found to break one of them.
// The query dialect names the token it refuses; the CSV export keeps every cell whole.
#include <gtest/gtest.h>

#include "hostile/hostile.h"
#include "report/csv_export.h"
#include "store/sqlite/database.h"
#include "store/dialect/jet_sql.h"
#include "support/db_error.h"

using namespace zt;
using namespace zt::hostile;
using zt::test::dbErrorOf;
using zt::test::TestDir;

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
            dbErrorOf([&] { db.openQuery("Select TOP " + n + " Valore From Zentoria"); });
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
        const std::string message = dbErrorOf([&] { rs.findFirst(*criterion); });
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

// A number run into a letter is named whole, even a letter of several bytes.
TEST(HostileParsers, AMalformedNumberIsQuotedWithItsWholeLetter) {
    for (const auto& [criterion, named] : std::initializer_list<std::pair<std::string, std::string>>{
             {"Valore = 12x", "\"12x\""}, {"Valore = 12\xC3\xA8 + 1", "\"12\xC3\xA8\""},
             {"Valore = 1.5\xE2\x82\xAC", "\"1.5\xE2\x82\xAC\""}, {"Valore = 7\xF0\x9F\x98\x80", "\"7\xF0\x9F\x98\x80\""}}) {
        try {
            store::jet::parseCondition(criterion);
            ADD_FAILURE() << criterion;
        } catch (const store::jet::SyntaxError& e) {
            EXPECT_NE(std::string(e.what()).find("malformed number " + named), std::string::npos) << e.what();
        }
    }
}

// Chains up to the dialect's limit are written flat, so the database engine reads them:
// nested, every operator's bracket took room on its parser stack, which ends at about
// 90 brackets. Brackets the query itself nests that deep get a message.
TEST(HostileParsers, LongChainsUpToTheLimitReadAndDeepBracketsGetAMessage) {
    TestDir dir;
    workingFolder(dir);
    auto db = store::Database::open(dir.path(), "Zentoria.mdb");
    auto rs = db.openTable("Zentoria");

    std::string ors = "Valore = -1";
    for (int i = 0; i < 190; ++i) ors += " Or Valore = " + std::to_string(i == 150 ? 222 : 1000 + i);
    rs.findFirst(ors);
    ASSERT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.field("Valore").toText(), "222");

    std::string sum = "Valore = 22";
    for (int i = 0; i < 90; ++i) sum += " + 2 - 1";  // 22 + 90
    rs.findFirst(sum);
    EXPECT_TRUE(rs.noMatch());
    sum = "Valore = 21";
    for (int i = 0; i < 90; ++i) sum += " + 2 - 1";  // 111
    rs.findFirst(sum);
    ASSERT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.field("Valore").toText(), "111");

    // Texts joined with "&" and "+", numbers added after them: "1" & "1" + 1 is 12.
    auto q = db.openQuery("Select Top 1 '1' & '1' & Null & '1' + '0' + 1 As T, 'a' + 'b' + 'c' As U From Zentoria");
    EXPECT_EQ(q.field("T").toText(), "1111");
    EXPECT_EQ(q.field("U").toText(), "abc");
    std::string words = "Select Top 1 'a'";
    for (int i = 0; i < 150; ++i) words += " & 'b'";
    auto w = db.openQuery(words + " As T From Zentoria");
    EXPECT_EQ(w.field("T").toText(), "a" + std::string(150, 'b'));

    // Brackets nested 40 deep pass the dialect but not SQLite's parser; 70 deep, the
    // dialect refuses them itself.
    for (const auto& [levels, says] : {std::pair{40, "too deeply for the database engine"}, {70, "too deeply nested"}}) {
        std::string deep = "Valore = 1";
        for (int i = 0; i < levels; ++i) deep = "Valore = 1 Or (" + deep + ")";
        const std::string message = dbErrorOf([&] { rs.findFirst(deep); });
        EXPECT_NE(message.find("Zentoria.mdb"), std::string::npos) << message;
        EXPECT_NE(message.find(says), std::string::npos) << message;
    }
    rs.findFirst("Valore = 1 Or (Valore = 2 Or (Valore = 111))");
    EXPECT_FALSE(rs.noMatch());
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
