// The Jet 4 writer's files are genuine: Debian's mdbtools (mdb-ver, mdb-tables,
// mdb-schema, mdb-export) and the program's own reader read them back row for row and
// value for value.
#include "jetwriter/jet4_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>

#include "store/sqlite/database.h"
#include "store/access/jet_file.h"
#include "support/run_program.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using namespace zt::jetwrite;
using enum Jet4Type;
using zt::store::JetCell;
using zt::store::JetFile;
using zt::test::runCommand;
using zt::test::TestDir;

namespace {

const std::vector<Jet4Column> kAllTypes = {{"Piccolo", Byte},     {"Intero", Integer}, {"Lungo", Long},
                                           {"Importo", Currency}, {"Doppio", Double},  {"Quando", DateTime},
                                           {"Pagato", YesNo},     {"Nome", Text, 255}, {"Nota", Memo}};

std::string repeated(const std::string& piece, std::size_t times) {
    std::string s;
    while (times--) s += piece;
    return s;
}

// Rows that reach every way a value is stored: the ends of each number type, texts in
// compressed and in plain Unicode, empty and null texts, memos in the row, on one
// long-value page and on chains of them; with what mdb-export prints for each (-d '|' -Q
// -H, dates as %Y-%m-%d %H:%M:%S) and what the program's reader gives (docs/JET_FILES.md).
struct TypeRow {
    Jet4Row row;
    std::string exported;
    std::vector<JetCell> read;
};

std::vector<TypeRow> allTypeRows() {
    using I = std::int64_t;
    using S = std::string;
    const S memo500 = repeated("Camera doppia, ", 34);                   // 510 bytes compressed: one page
    const S memo3000 = repeated("Saldo è più ", 250);                     // 3000 characters: a chain of pages
    const S memo20000 = repeated("Prenotazione ☃ n. 12345; ", 800);      // plain Unicode, many pages
    const S unicode = "Perché è così ☃ 中文", x255(255, 'x'), quoted = "Hotel \"Bellavista\", Rimini";
    return {
        {{I{0}, I{-32768}, I{INT32_MIN}, -1234.5678, -1.5e300, S("1900-03-01 00:00:00"), I{-1}, unicode, S("breve")},
         "0|-32768|-2147483648|-1234.5678|-1.5e+300|1900-03-01 00:00:00|1|" + unicode + "|breve",
         {I{0}, I{-32768}, I{INT32_MIN}, -1234.5678, -1.5e300, S("1900-03-01 00:00:00"), I{-1}, unicode, S("breve")}},
        {{I{255}, I{32767}, I{INT32_MAX}, 0.29, 0.1, S("2026-12-08 23:59:59"), I{0}, S(""), memo500},
         "255|32767|2147483647|0.2900|0.1|2026-12-08 23:59:59|0||" + memo500,
         {I{255}, I{32767}, I{INT32_MAX}, 0.29, 0.1, S("2026-12-08 23:59:59"), I{0}, S(""), memo500}},
        {Jet4Row(kAllTypes.size()), "||||||0||", {{}, {}, {}, {}, {}, {}, I{0}, {}, {}}},
        {{I{7}, I{-1}, I{123456789}, 123456789.1234, 1e-300, 45000.5, I{1}, x255, memo3000},
         "7|-1|123456789|123456789.1234|1e-300|2023-03-15 12:00:00|1|" + x255 + "|" + memo3000,
         {I{7}, I{-1}, I{123456789}, 123456789.1234, 1e-300, S("2023-03-15 12:00:00"), I{-1}, x255, memo3000}},
        {{I{1}, I{2}, I{3}, 1000000.0, -0.0, S("2014-01-31"), I{0}, quoted, memo20000},
         "1|2|3|1000000.0000|-0|2014-01-31 00:00:00|0|" + quoted + "|" + memo20000,
         {I{1}, I{2}, I{3}, 1000000.0, -0.0, S("2014-01-31 00:00:00"), I{0}, quoted, memo20000}},
    };
}

std::vector<std::string> mdbExport(const fs::path& file, const std::string& table) {
    const char* when = "%Y-%m-%d %H:%M:%S";
    const auto r = runCommand("mdb-export", {"-d", "|", "-Q", "-H", "-D", when, "-T", when, file.string(), table});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::vector<std::string> out;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::vector<std::vector<JetCell>> readBack(const fs::path& file, const std::string& table) {
    std::vector<std::vector<JetCell>> rows;
    JetFile::open(file).readRows(table, [&](const std::vector<JetCell>& row) { rows.push_back(row); });
    return rows;
}

// The first byte of a table's map of owned pages: 0 a map in the row, 1 map pages.
int usageMapType(const fs::path& file, const std::string& table) {
    const std::string bytes = zt::test::readBytes(file);
    auto u8 = [&](std::size_t at) { return static_cast<unsigned char>(bytes.at(at)); };
    auto u16 = [&](std::size_t at) { return u8(at) | u8(at + 1) << 8; };
    for (const auto& line : mdbExport(file, "MSysObjects")) {
        const auto id = line.find('|'), parent = line.find('|', id + 1), name = line.find('|', parent + 1);
        if (line.substr(parent + 1, name - parent - 1) != table) continue;
        const std::size_t tdef = std::stoul(line.substr(0, id)) * 4096;
        const auto pageRow = static_cast<std::uint32_t>(u16(tdef + 55) | u16(tdef + 57) << 16);
        const std::size_t map = (pageRow >> 8) * 4096;
        return u8(map + u16(map + 14 + 2 * (pageRow & 0xff)));
    }
    return -1;
}

}  // namespace

TEST(Jet4Writer, MdbtoolsAndTheProgramReadEveryTypeValueForValue) {
    TestDir dir;
    const fs::path file = dir / "Tipi.mdb";
    const auto cases = allTypeRows();
    std::vector<Jet4Row> rows;
    for (const auto& c : cases) rows.push_back(c.row);
    writeJet4File(file, {{"Tipi", kAllTypes, rows}, {"Vuota", {{"Numero", Long}}, {}}});

    EXPECT_EQ(runCommand("mdb-ver", {file.string()}).out, "JET4\n");
    EXPECT_EQ(runCommand("mdb-tables", {"-1", file.string()}).out, "Tipi\nVuota\n");
    const auto schema = runCommand("mdb-schema", {file.string()});
    EXPECT_EQ(schema.status, 0) << schema.err;
    for (const char* field : {"[Piccolo]\t\t\tByte", "[Intero]\t\t\tInteger", "[Lungo]\t\t\tLong Integer",
                              "[Importo]\t\t\tCurrency", "[Doppio]\t\t\tDouble", "[Quando]\t\t\tDateTime",
                              "[Pagato]\t\t\tBoolean NOT NULL", "[Nome]\t\t\tText (255)", "[Nota]\t\t\tMemo/Hyperlink (255)",
                              "CREATE TABLE [Vuota]"})
        EXPECT_NE(schema.out.find(field), std::string::npos) << field << "\n" << schema.out;

    EXPECT_TRUE(mdbExport(file, "Vuota").empty());
    const auto out = mdbExport(file, "Tipi");
    const auto back = readBack(file, "Tipi");
    ASSERT_EQ(out.size(), cases.size());
    ASSERT_EQ(back.size(), cases.size());
    for (std::size_t r = 0; r < cases.size(); ++r) {
        EXPECT_EQ(out[r], cases[r].exported) << "row " << r;
        ASSERT_EQ(back[r].size(), cases[r].read.size());
        for (std::size_t c = 0; c < kAllTypes.size(); ++c)
            EXPECT_EQ(back[r][c], cases[r].read[c]) << "row " << r << " field " << kAllTypes[c].name;
    }
}

TEST(Jet4Writer, DatesBefore1900AndTheCatalogAsTheProgramSeesThem) {
    TestDir dir;
    const fs::path file = dir / "Date.mdb";
    writeJet4File(file, {{"Date", {{"Quando", DateTime}},
                          {{std::string("1899-12-29 06:00:00")}, {-1.25}, {std::string("0100-01-01")}, {0.0}}}});
    const std::vector<std::vector<JetCell>> dates = {{std::string("1899-12-29 06:00:00")}, {std::string("1899-12-29 06:00:00")},
                                                     {std::string("0100-01-01 00:00:00")}, {std::string("1899-12-30 00:00:00")}};
    EXPECT_EQ(readBack(file, "Date"), dates);
    // The system catalog lists its containers and itself as system objects.
    const auto entries = mdbExport(file, "MSysObjects");
    ASSERT_EQ(entries.size(), 5u) << ::testing::PrintToString(entries);
    EXPECT_NE(entries[3].find("|MSysObjects|1|"), std::string::npos);
    EXPECT_NE(entries[4].find("|Date|1|"), std::string::npos);
    EXPECT_EQ(runCommand("mdb-tables", {"-S", "-1", file.string()}).out, "MSysObjects\nDate\n");
}

// Tables of every size: empty, one row, pages full at 255 rows, and one whose pages
// spread beyond what a map in the row covers (map type 1).
class Jet4WriterSizes : public ::testing::TestWithParam<std::tuple<long, int>> {};

TEST_P(Jet4WriterSizes, EveryRowIsReadBack) {
    const auto [count, mapType] = GetParam();
    TestDir dir;
    const fs::path file = dir / "Conti.mdb";
    {
        Jet4Writer w(file);
        w.beginTable("Segni", {{"S", Byte}});
        for (long i = 0; i < count; ++i) w.addRow({std::int64_t{i % 251}});
        w.beginTable("Conti", {{"Numero", Long}, {"Importo", Currency}, {"Data", Text, 8}, {"Nota", Memo}});
        for (long i = 0; i < count; ++i)
            w.addRow({std::int64_t{i}, static_cast<double>(i % 1000) / 100.0, std::to_string(20140101 + i % 28),
                      i % 1000 == 999 ? Jet4Value{repeated("lungo ", 900)} : Jet4Value{}});
        w.finish();
    }
    long long sum = 0;
    const auto out = mdbExport(file, "Conti");
    for (const auto& line : out) sum += std::stoll(line.substr(0, line.find('|')));
    EXPECT_EQ(static_cast<long>(out.size()), count);
    EXPECT_EQ(sum, static_cast<long long>(count) * (count - 1) / 2);
    EXPECT_EQ(static_cast<long>(mdbExport(file, "Segni").size()), count);

    const auto back = readBack(file, "Conti");
    EXPECT_EQ(static_cast<long>(back.size()), count);
    bool inOrder = true;
    double money = 0, expected = 0;
    for (std::size_t i = 0; i < back.size(); ++i) {
        inOrder = inOrder && back[i][0] == JetCell{static_cast<std::int64_t>(i)};
        money += std::get<double>(back[i][1]);
        expected += static_cast<double>(i % 1000) / 100.0;
    }
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(money, expected);
    EXPECT_EQ(usageMapType(file, "Conti"), mapType);
    auto db = zt::store::Database::open(dir.path(), "Conti.mdb");
    EXPECT_EQ(db.openTable("Conti").recordCount(), count);
    EXPECT_EQ(db.openTable("Segni").recordCount(), count);
}

INSTANTIATE_TEST_SUITE_P(Rows, Jet4WriterSizes,
                         ::testing::Values(std::tuple{0L, 0}, std::tuple{1L, 0}, std::tuple{256L, 0}, std::tuple{60000L, 1}));

TEST(Jet4Writer, RefusesWhatItCannotWriteNamingTheTableAndField) {
    const std::tuple<Jet4Column, Jet4Value, const char*> cases[] = {
        {{"Nome", Text, 5}, std::string("troppo lungo"), "longer than the field's 5 characters"},
        {{"Numero", Integer}, std::int64_t{40000}, "40000 does not fit the field"},
        {{"Numero", Byte}, std::int64_t{-1}, "-1 does not fit the field"},
        {{"Numero", Long}, std::string("12"), "a whole number is needed"},
        {{"Importo", Currency}, std::string("12"), "a number is needed"},
        {{"Quando", DateTime}, std::string("2014-02-30"), "\"2014-02-30\" is not a date"},
        {{"Nome", Text}, std::string("\xff"), "not UTF-8"},
    };
    for (const auto& [column, value, message] : cases) {
        TestDir dir;
        Jet4Writer w(dir / "X.mdb");
        w.beginTable("Tabella", {column});
        try {
            w.addRow({value});
            ADD_FAILURE() << message;
        } catch (const std::runtime_error& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find("X.mdb: table \"Tabella\", field \"" + column.name + "\": "), std::string::npos) << what;
            EXPECT_NE(what.find(message), std::string::npos) << what;
        }
    }
    TestDir dir;
    dir.write("Esiste.mdb", "dati");
    EXPECT_THROW(Jet4Writer(dir / "Esiste.mdb"), std::runtime_error);
    EXPECT_EQ(dir.read("Esiste.mdb"), "dati");
    fs::create_symlink(dir / "altrove.mdb", dir / "Link.mdb");
    EXPECT_THROW(Jet4Writer(dir / "Link.mdb"), std::runtime_error);
    EXPECT_FALSE(fs::exists(dir / "altrove.mdb"));
}
