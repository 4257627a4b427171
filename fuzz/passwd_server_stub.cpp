// The fuzz targets build the password rules without the figure server's client: these
// stand in for desktop/passwd_server.cpp. No target sets ZENTORIA_FIGURES_DB, so they are
// never reached; if one were, it fails closed.
#include <stdexcept>

#include "desktop/passwd_server.h"

namespace zt::desktop {

SecurityPwd readServerPwd(const std::string& conninfo) {
    SecurityPwd file;
    file.state = PwdFileState::Damaged;
    file.server = conninfo;
    file.problem = "no figure server in the fuzz build";
    return file;
}
void setServerPassword(const std::string&, const std::optional<std::string>&) {
    throw std::runtime_error("no figure server in the fuzz build");
}
std::string serverPasswordPlace(const std::string&) { return "the figure server"; }
bool checkOnServer(const std::string&, const std::function<std::pair<bool, std::int64_t>(int, std::int64_t)>&) {
    throw std::runtime_error("no figure server in the fuzz build");
}

}  // namespace zt::desktop
