#pragma once
// A private temporary working folder per test, and a way to make SQLite files in it
// the way any SQLite tool would (plain tables, field names as column names).
#include <filesystem>
#include <string>

namespace zt::test {

class TestDir {
public:
    TestDir();
    ~TestDir();
    TestDir(const TestDir&) = delete;
    TestDir& operator=(const TestDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Runs SQL (several statements allowed) on the SQLite file `name` in this folder,
    // creating the file when it does not exist. Throws std::runtime_error on failure.
    void sql(const std::string& name, const std::string& statements) const;

    // Writes a text file with the given bytes.
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

    // Copies the real Access test file `fixture` (see accessFixture) into this folder
    // as `as` (its own name when empty), writable; the original is never opened in place.
    void copyAccessFixture(const std::string& fixture, const std::string& as = "") const;

private:
    std::filesystem::path path_;
};

// The real Access test file `name` ("nwind.mdb", "DateTest.mdb"): in the folder named by
// ZENTORIA_JET_FIXTURES, else in shared/fixtures/jet beside the project.
std::filesystem::path accessFixture(const std::string& name);

// The bytes of any file; std::runtime_error when it cannot be read.
std::string readBytes(const std::filesystem::path& file);

// Runs one SQL query on an SQLite file and returns the first column of every row,
// as text ("NULL" for a null), joined by "|"; for checking what a file holds.
std::string queryColumn(const std::filesystem::path& file, const std::string& query);

}  // namespace zt::test
