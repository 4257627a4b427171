#include "app/convert_cmd.h"

#include <exception>
#include <filesystem>
#include <ostream>

#include "app/cli.h"
#include "store/sqlite/database.h"
#include "store/access/jet_file.h"
#include "store/sqlite/jet_image.h"

namespace fs = std::filesystem;

namespace zt::app {

int cmdConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2 || args[0].rfind("--", 0) == 0 || args[1].rfind("--", 0) == 0) {
        err << "zentoria: convert needs a source and a target: zentoria convert SOURCE.mdb TARGET.mdb\n"
            << "Try 'zentoria --help'.\n";
        return kExitUsage;
    }
    const fs::path source = args[0];
    const fs::path target = args[1];
    try {
        const store::FileKind kind = store::fileKind(source);
        if (kind == store::FileKind::Sqlite)
            throw store::DbError(source.string(), "this is an SQLite file already; there is nothing to convert");
        if (kind == store::FileKind::Empty)
            throw store::DbError(source.string(), "the file is empty (0 bytes): it holds no tables, so there is "
                                                  "nothing to convert");
        if (kind == store::FileKind::Special)
            throw store::DbError(source.string(), "this is not a plain file (a pipe, a device or a folder): it is "
                                                  "not read");
        const auto copied = store::copyJetFileToNewSqlite(source, target);
        for (const auto& t : copied) out << t.table << ": " << t.rows << (t.rows == 1 ? " row" : " rows") << "\n";
        out << copied.size() << (copied.size() == 1 ? " table" : " tables") << " copied into " << target.string()
            << "\n";
        return kExitOk;
    } catch (const std::exception& e) {
        err << "zentoria: " << e.what() << "\n";
        return kExitFailed;
    }
}

}  // namespace zt::app
