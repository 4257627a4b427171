#pragma once
// The SQLite image of an Access (Jet) file: every table of the file copied into an
// SQLite database, read in a child process (access/jet_guard.h). The database layer
// opens an Access file as its image, kept per process while the file's size and
// modification time stay the same; `zentoria convert` and the summary's move copy a
// Jet file into a new SQLite file the same way. See docs/JET_FILES.md.
#include <cstdint>
#include <utility>
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

// The image of a whole Jet file: an SQLite file in the user's cache folder
// ($XDG_CACHE_HOME/zentoria), opened read-only. It is never changed once made: a new
// image of a changed file is a new file, and a connection that has the old one open
// goes on reading it.
class JetImage {
public:
    explicit JetImage(std::filesystem::path file) : file_(std::move(file)) {}
    const std::filesystem::path& file() const { return file_; }
    // SQLite's URI of it: read-only, never changing.
    std::string uri() const;

private:
    std::filesystem::path file_;
};

// The image of a Jet file, keyed by its path, size and modification time: the one kept
// in the cache folder (by this process or an earlier one), or one made now by a reading
// process (access/jet_guard.h) into a file of its own and put in place by a rename, so
// two programs never write into each other's image. A file that changes while it is
// read is read again (three tries, then "in use by another program"). Making an image
// removes the older images of the same file, then the least recently used ones while
// the folder holds more than the limit (4 GB).
std::shared_ptr<const JetImage> jetImage(const std::filesystem::path& file);

// A new connection whose main schema is the image, read-only; a DbError naming `file`.
sqlite3* openJetImage(const JetImage& image, const std::string& file);
// Attaches the image, read-only, as `schema` of `db` (opened with SQLITE_OPEN_URI).
void attachJetImage(sqlite3* db, const std::string& schema, const JetImage& image, const std::string& file);

// For tests: forget the images this process holds (as a new process would start), the
// cache folder's limit, and how many images were made by reading an Access file.
void forgetJetImages();
void setJetImageCacheLimit(std::uint64_t bytes);
long jetImageReadings();

}  // namespace zt::store
