#include "app/convert_cmd.h"

#include <exception>
#include <filesystem>
#include <ostream>

#include "app/cli.h"
#include "common/translate.h"
#include "store/sqlite/database.h"
#include "store/access/jet_file.h"
#include "store/sqlite/jet_image.h"

namespace fs = std::filesystem;

namespace zt::app {

int cmdConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2 || args[0].rfind("--", 0) == 0 || args[1].rfind("--", 0) == 0) {
        err << "zentoria: "
            << translate("Cli", "convert needs a source and a target: zentoria convert SOURCE.mdb TARGET.mdb") << "\n"
            << translate("Cli", "Try 'zentoria --help'.") << "\n";
        return kExitUsage;
    }
    const fs::path source = args[0];
    const fs::path target = args[1];
    try {
        const store::FileKind kind = store::fileKind(source);
        if (kind == store::FileKind::Sqlite)
            throw store::DbError(source.string(),
                                 translate("Cli", "this is an SQLite file already; there is nothing to convert"));
        if (kind == store::FileKind::Empty)
            throw store::DbError(source.string(), translate("Cli", "the file is empty (0 bytes): it holds no tables, so "
                                                                   "there is nothing to convert"));
        if (kind == store::FileKind::Special)
            throw store::DbError(source.string(), translate("Cli", "this is not a plain file (a pipe, a device or a "
                                                                   "folder): it is not read"));
        const auto copied = store::copyJetFileToNewSqlite(source, target);
        for (const auto& t : copied)
            out << withArgs(t.rows == 1 ? translate("Cli", "%1: %2 row") : translate("Cli", "%1: %2 rows"),
                            {t.table, std::to_string(t.rows)})
                << "\n";
        out << withArgs(copied.size() == 1 ? translate("Cli", "%1 table copied into %2")
                                            : translate("Cli", "%1 tables copied into %2"),
                        {std::to_string(copied.size()), target.string()})
            << "\n";
        return kExitOk;
    } catch (const std::exception& e) {
        err << "zentoria: " << e.what() << "\n";
        return kExitFailed;
    }
}

}  // namespace zt::app
