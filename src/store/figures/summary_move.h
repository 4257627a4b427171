#pragma once
// The monthly summary file `Zentoria.mdb` is this program's own: when it is still an
// Access (Jet) file, which the database layer only reads, the first write moves it to
// SQLite after asking the user. The writers ("&Registra", "&Aggiorna") call
// moveSummaryToSqlite before their first writeMonth.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zt::store {

enum class SummaryMove {
    AlreadySqlite,  // nothing to do: the file is not an Access file
    Moved,          // the file is now SQLite; the original lies beside it as "<name>.jet"
};

// The question put to the user before the move, naming the file (e.g. "Zentoria.mdb").
std::string summaryMoveQuestion(const std::string& fileName);

// When the file `name` of the working folder (resolved as Database::open resolves it)
// is an Access file: first, when `table` is given, checks that the file holds that table
// (its name compared without regard to case); a file without it is not the summary and
// is a DbError naming both, before anything is asked or moved. Then asks `confirm`
// summaryMoveQuestion; on yes copies every row into a
// new SQLite file beside it, checks the copy (compareCopy), renames the original to
// "<name>.jet" and puts the copy in its place. A refusal, a failed check or a
// "<name>.jet" that exists already is a DbError naming the file, and the original is
// left as it was. Not an Access file, or the figure tables on the server
// (ZENTORIA_FIGURES_DB): AlreadySqlite, without asking.
SummaryMove moveSummaryToSqlite(const std::filesystem::path& workDir, std::string_view name,
                                const std::function<bool(const std::string& question)>& confirm,
                                std::string_view table = {});

// Compares a copy made by copyJetFileToNewSqlite with its Jet original: the tables, the
// rows of each and the sum of each number column (`Valore` among them). The first
// difference found, described; nullopt when they match.
std::optional<std::string> compareCopy(const std::filesystem::path& jetFile,
                                       const std::filesystem::path& sqliteFile);

}  // namespace zt::store
