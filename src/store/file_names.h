#pragma once
// File names found the way Windows finds them, whatever their case on disk. A hotel's
// working folder comes from Windows, where "ANAGRAFICAHOTELS.MDB", "anagraficahotels.mdb"
// and "AnagraficaHotels.mdb" are one file; every file the program opens or writes by
// name (the databases, the files named inside queries, the small text files, the report
// and CSV files, the archive folder "doc") is found through findFile. The rules are
// described in docs/ARCHITECTURE.md ("The database layer").
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/db_error.h"

namespace zt::store {

// Two or more entries of one folder whose names differ only in case, met while looking
// for `file` (the path as asked for): a DbError naming them all, in name order.
class NameClash : public DbError {
public:
    NameClash(std::string file, std::vector<std::string> names);
    const std::vector<std::string>& names() const { return names_; }

private:
    std::vector<std::string> names_;
};

// The path of `name` under the folder `base`, every component spelled as it is on disk.
// `name` may hold folders; "\" and "/" both separate them; an absolute name ignores
// `base`. Each component is looked up in its folder without regard to case (the letters
// A-Z, and the accented letters À-Þ of UTF-8 against à-þ); a component
// that is not there, and everything after it, is kept as written, so a file that does
// not exist yet is created under the program's own spelling.
// Two entries of a folder that differ only in case are a NameClash naming both: neither
// is read or written. An absolute name's folders are taken as written when they are
// there (one check), otherwise looked up from the root the same way. `base` itself is
// taken as given.
// Cost: one stat of each folder looked in; its listing is read again only when the
// folder has changed (see the .cpp).
std::filesystem::path findFile(const std::filesystem::path& base, std::string_view name);

}  // namespace zt::store
