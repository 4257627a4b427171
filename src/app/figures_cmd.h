#pragma once
// `zentoria figures init|push|pull`: the figure tables on the PostgreSQL server named by
// ZENTORIA_FIGURES_DB (docs/FIGURES_SERVER.md).
//   init                 creates `Zentoria` and `Dettaglio` on the server (idempotent)
//   push [--hotel N]     copies the installation's figure files into the server
//   pull [--hotel N]     writes the server's rows back into the figure files
// push and pull start as the window does (the registry, the management password, the
// figure files' folder, DIRSH included).
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace zt::app {

// args: the command's own arguments. Never throws: 0 done, 1 failed (message on `err`),
// 2 wrong arguments.
int cmdFigures(const std::filesystem::path& workDir, const std::vector<std::string>& args, std::istream& in,
               std::ostream& out, std::ostream& err);

}  // namespace zt::app
