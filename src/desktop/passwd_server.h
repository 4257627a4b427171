#pragma once
// The management password on the figure server (docs/FIGURES_SERVER.md, "The management
// password on the server"): what desktop/passwd.cpp asks of the server, apart, so that
// the password file's rules build without the server's client (the fuzz targets do).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "desktop/passwd.h"

namespace zt::desktop {

// The server's password as the file's would be read; damaged (with the reason) when the
// server cannot be asked. Never throws.
SecurityPwd readServerPwd(const std::string& conninfo);
// Writes (nullopt: removes) the password line on the server. Throws on failure.
void setServerPassword(const std::string& conninfo, const std::optional<std::string>& line);
// "PostgreSQL server NAME", for messages.
std::string serverPasswordPlace(const std::string& conninfo);
// In one transaction with the count's row locked: `check` gets the count of wrong
// passwords in a row and the time of the last one, checks the password and returns
// whether it was right and the time now; the count is then reset or raised. Returns
// whether it was right. Throws when the server cannot be asked.
bool checkOnServer(const std::string& conninfo,
                   const std::function<std::pair<bool, std::int64_t>(int count, std::int64_t last)>& check);

}  // namespace zt::desktop
