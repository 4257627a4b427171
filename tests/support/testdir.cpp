#include "support/testdir.h"

#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zt::test {

TestDir::TestDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zentoria-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = tmpl;
}

TestDir::~TestDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void TestDir::sql(const std::string& name, const std::string& statements) const {
    sqlite3* db = nullptr;
    const auto file = (path_ / name).string();
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) {
        std::string msg = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + file + ": " + msg);
    }
    char* err = nullptr;
    if (sqlite3_exec(db, statements.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "unknown error";
        sqlite3_free(err);
        sqlite3_close(db);
        throw std::runtime_error("SQL failed on " + file + ": " + msg);
    }
    sqlite3_close(db);
}

void TestDir::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + name);
}

std::string TestDir::read(const std::string& name) const { return readBytes(path_ / name); }

std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::filesystem::path accessFixture(const std::string& name) {
    const char* env = std::getenv("ZENTORIA_JET_FIXTURES");
    const std::filesystem::path folder =
        env ? std::filesystem::path(env)
            : std::filesystem::path(__FILE__).parent_path() / "../../../shared/fixtures/jet";
    return folder / name;
}

void TestDir::copyAccessFixture(const std::string& fixture, const std::string& as) const {
    namespace fs = std::filesystem;
    const fs::path from = accessFixture(fixture);
    if (!fs::exists(from))
        throw std::runtime_error("Access test file missing: " + from.string() + " (set ZENTORIA_JET_FIXTURES)");
    const fs::path to = path_ / (as.empty() ? fixture : as);
    fs::remove(to);
    fs::copy_file(from, to);
    fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
}

std::string queryColumn(const std::filesystem::path& file, const std::string& query) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + file.string());
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, query.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        std::string msg = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error("bad query: " + msg);
    }
    std::string out;
    bool first = true;
    while (sqlite3_step(st) == SQLITE_ROW) {
        if (!first) out += "|";
        first = false;
        const unsigned char* t = sqlite3_column_text(st, 0);
        out += t ? reinterpret_cast<const char*>(t) : "NULL";
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

}  // namespace zt::test
