#pragma once
// The SQLite image of an Access (Jet) file: every table of the file copied into an
// SQLite database, read in a child process (access/jet_guard.h). The database layer
// opens an Access file as its image, kept per process while the file's size and
// modification time stay the same; `zentoria convert` and the summary's move copy a
// Jet file into a new SQLite file the same way. See docs/JET_FILES.md.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "store/access/jet_file.h"

struct sqlite3;

namespace zt::store {

struct TableCopy {
    std::string table;
    long rows = 0;
};

// Creates every table of the Jet file in the "main" schema of `db` (same table and
// column names, the declared types of JetColumn::sqlType), copies its rows and, with
// `withIndexes`, creates on it the indexes the Jet file declares (not unique: the copy
// only serves look-ups), all in one transaction. Returns the rows copied per table, in
// catalogue order. Refuses a table that exists already.
std::vector<TableCopy> copyJetToSqlite(JetFile& jet, sqlite3* db, bool withIndexes = true);

// Copies every table of the Jet file `source` into a new SQLite file `target`, which
// must not exist yet in any form, a link included (a DbError naming it otherwise); on
// failure nothing is left at `target`. `reserved`: `target` is an empty plain file the
// caller made exclusively for the copy (common/private_file.h). Returns the rows copied
// per table.
std::vector<TableCopy> copyJetFileToNewSqlite(const std::filesystem::path& source,
                                              const std::filesystem::path& target, bool reserved = false);

// An SQLite database image (sqlite3_serialize) of a whole Jet file.
class JetImage {
public:
    JetImage(unsigned char* data, std::int64_t size) : data_(data), size_(size) {}
    ~JetImage();
    JetImage(const JetImage&) = delete;
    JetImage& operator=(const JetImage&) = delete;
    unsigned char* data() const { return data_; }
    std::int64_t size() const { return size_; }

private:
    unsigned char* data_;
    std::int64_t size_;
};

// The image of a Jet file, made once and kept while the file's size and modification
// time stay the same; every connection reading the file shares it. A file that changes
// while it is read is read again (three tries, then "in use by another program").
std::shared_ptr<const JetImage> jetImage(const std::filesystem::path& file);

// Makes the schema `schema` of `db` (already there: "main", or attached ':memory:')
// a read-only view of the image; the image must outlive the connection.
void useJetImage(sqlite3* db, const std::string& schema, const JetImage& image, const std::string& file);

}  // namespace zt::store
