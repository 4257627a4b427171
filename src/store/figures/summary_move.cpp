#include "store/figures/summary_move.h"

#include "common/private_file.h"
#include "common/translate.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <vector>

#include "common/env.h"
#include "store/sqlite/database.h"
#include "store/file_names.h"
#include "store/dialect/jet_emit.h"
#include "store/access/jet_file.h"
#include "store/sqlite/jet_image.h"
#include "store/access/jet_guard.h"
#include "store/sqlite/sqlite_internal.h"

namespace fs = std::filesystem;

namespace zt::store {

namespace {

std::string number(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

struct TableTally {
    long rows = 0;
    std::vector<double> sums;  // one per number column, in field order
};

bool isNumberColumn(const JetColumn& c) { return c.sqlType == "INTEGER" || c.sqlType == "REAL"; }

class ReadOnlySqlite {
public:
    explicit ReadOnlySqlite(const fs::path& file)
        : file_(file.string()), db_(openSqlite(file_, SQLITE_OPEN_READONLY, file_, translate("Store", "cannot open"))) {}
    ~ReadOnlySqlite() { sqlite3_close(db_); }
    ReadOnlySqlite(const ReadOnlySqlite&) = delete;
    ReadOnlySqlite& operator=(const ReadOnlySqlite&) = delete;

    // Runs a query and calls fn for each row.
    template <class Fn>
    void each(const std::string& sql, Fn&& fn) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
            sqlite3_finalize(raw);
            throw DbError(file_, sqlite3_errmsg(db_));
        }
        const Stmt st(raw);
        int rc;
        while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) fn(st.get());
        if (rc != SQLITE_DONE) throw DbError(file_, sqlite3_errmsg(db_));
    }

private:
    std::string file_;
    sqlite3* db_ = nullptr;
};

}  // namespace

std::string summaryMoveQuestion(const std::string& fileName) {
    return "Il file dei valori mensili \"" + fileName +
           "\" è in formato Access (Jet), che questo programma sa soltanto leggere. Per registrare i valori va "
           "trasferito in formato SQLite: tutte le righe vengono copiate in un nuovo file e l'originale resta nella "
           "stessa cartella con il nome \"" +
           fileName +
           ".jet\".\n\n"
           "Attenzione: le postazioni che usano ancora il vecchio programma per Windows su una cartella condivisa "
           "non potranno più leggere il file trasferito.\n\n"
           "Trasferire il file in formato SQLite adesso?";
}

std::optional<std::string> compareCopy(const fs::path& jetFile, const fs::path& sqliteFile) {
    JetFile jet = JetFile::open(jetFile);
    ReadOnlySqlite copy(sqliteFile);

    const std::vector<std::string> names = jet.tableNames();
    std::vector<std::string> copied;
    copy.each(kUserTablesSql,
              [&](sqlite3_stmt* st) { copied.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))); });
    if (copied != names) return "the copy does not hold the same tables";

    for (const auto& table : names) {
        const auto columns = jet.columns(table);
        std::vector<std::size_t> numbers;
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (isNumberColumn(columns[i])) numbers.push_back(i);

        // Both sides are summed in table order, so an exact copy gives the same sums.
        TableTally original{0, std::vector<double>(numbers.size(), 0.0)};
        original.rows = jet.readRows(table, [&](const std::vector<JetCell>& row) {
            for (std::size_t k = 0; k < numbers.size(); ++k) {
                const JetCell& c = row[numbers[k]];
                if (auto* n = std::get_if<std::int64_t>(&c)) original.sums[k] += static_cast<double>(*n);
                else if (auto* d = std::get_if<double>(&c)) original.sums[k] += *d;
            }
        });

        TableTally other{0, std::vector<double>(numbers.size(), 0.0)};
        std::string select = "SELECT 0";
        for (auto i : numbers) select += ", " + jet::quoteIdent(columns[i].name);
        copy.each(select + " FROM " + jet::quoteIdent(table) + " ORDER BY rowid", [&](sqlite3_stmt* st) {
            ++other.rows;
            for (std::size_t k = 0; k < numbers.size(); ++k) {
                const int col = static_cast<int>(k + 1);
                if (sqlite3_column_type(st, col) == SQLITE_INTEGER)
                    other.sums[k] += static_cast<double>(sqlite3_column_int64(st, col));
                else if (sqlite3_column_type(st, col) != SQLITE_NULL) other.sums[k] += sqlite3_column_double(st, col);
            }
        });

        if (original.rows != other.rows)
            return "table \"" + table + "\": " + std::to_string(original.rows) + " rows in the Access file, " +
                   std::to_string(other.rows) + " in the copy";
        for (std::size_t k = 0; k < numbers.size(); ++k)
            if (original.sums[k] != other.sums[k])
                return "table \"" + table + "\", field \"" + columns[numbers[k]].name + "\": sum " +
                       number(original.sums[k]) + " in the Access file, " + number(other.sums[k]) + " in the copy";
    }
    return std::nullopt;
}

SummaryMove moveSummaryToSqlite(const fs::path& workDir, std::string_view name,
                                const std::function<bool(const std::string& question)>& confirm,
                                std::string_view table) {
    // On the figure server there is no summary file to write.
    if (figuresServerSetting()) return SummaryMove::AlreadySqlite;
    const fs::path file = resolveDatabasePath(workDir, name);
    const FileKind kind = fileKind(file);
    if (!isJetKind(kind)) return SummaryMove::AlreadySqlite;

    // The names beside it follow the file's own spelling ("ZENTORIA.MDB.jet"), and one
    // there already under another case counts as there.
    const std::string fileName = file.filename().string();
    const fs::path original = findFile(file.parent_path(), fileName + ".jet");
    std::error_code ec;
    if (fs::exists(original, ec))
        throw DbError(file.string(), withArgs(translate("Store", "cannot move the file to SQLite: \"%1\" exists "
                                                                 "already; move it elsewhere first. Nothing was "
                                                                 "written"),
                                              {original.filename().string()}));

    // Only the summary is moved: a file without its table is told before anything is
    // asked or copied. The tables are listed apart, as every reading of an Access file is.
    if (!table.empty()) {
        const std::string wanted(table);
        const std::string found = runJetReading(file, [&]() -> std::string {
            for (const auto& t : JetFile::open(file).tableNames())
                if (t.size() == wanted.size() &&
                    std::equal(t.begin(), t.end(), wanted.begin(), [](char a, char b) {
                        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                    }))
                    return "1";
            return "0";
        });
        if (found != "1")
            throw DbError(file.string(),
                          "il file Access non contiene la tabella \"" + wanted +
                              "\", quindi non è il file dei valori mensili: non è stato trasferito in SQLite e non è "
                              "stato registrato nulla. Rimettere nella cartella il file dei valori mensili con la "
                              "tabella \"" + wanted + "\", poi riprovare.");
    }

    if (!confirm(summaryMoveQuestion(fileName)))
        throw DbError(file.string(), translate("Store", "the file was not moved to SQLite, so nothing was written: "
                                                        "it is an Access (Jet) file, which this program reads only"));

    // The copy is made under a name nobody can guess, created exclusively beside the file.
    PrivateFile reserved(file.parent_path(), "." + fileName + ".sqlite-new.", 0644);
    reserved.closeDescriptor();
    const fs::path fresh = reserved.path();
    copyJetFileToNewSqlite(file, fresh, true);
    std::optional<std::string> mismatch;
    try {
        // The original is read again, apart, as every reading of an Access file is.
        const std::string answer = runJetReading(file, [&] {
            const auto m = compareCopy(file, fresh);
            return m ? "!" + *m : std::string();
        });
        if (!answer.empty()) mismatch = answer.substr(1);
    } catch (...) {
        fs::remove(fresh, ec);
        throw;
    }
    if (mismatch) {
        fs::remove(fresh, ec);
        throw DbError(file.string(), withArgs(translate("Store", "the SQLite copy does not match the original (%1); "
                                                                 "the file was not moved and nothing was written"),
                                              {*mismatch}));
    }

    fs::rename(file, original, ec);
    if (ec) {
        fs::remove(fresh, ec);
        throw DbError(file.string(), withArgs(translate("Store", "cannot rename the original to \"%1\": %2; "
                                                                 "nothing was written"),
                                              {original.filename().string(), systemErrorText(ec)}));
    }
    fs::rename(fresh, file, ec);
    if (ec) {
        const std::string why = systemErrorText(ec);
        fs::rename(original, file, ec);
        fs::remove(fresh, ec);
        throw DbError(file.string(),
                      withArgs(translate("Store", "cannot put the SQLite copy in place: %1; nothing was written"), {why}));
    }
    return SummaryMove::Moved;
}

}  // namespace zt::store
