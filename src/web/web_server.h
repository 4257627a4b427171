#pragma once
// `zentoria serve`: a read-only web server over the working folder, built on cpp-httplib
// (docs/WEB.md). Pages /grid, /chain, /report, their JSON twins /api/grid and /api/chain,
// the chart as SVG from the window's chart description, behind the management password
// of the access gate (desktop/passwd.h) when one is set.
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace zt::web {

struct ServeOptions {
    std::filesystem::path workDir;
    std::string host = "127.0.0.1";
    int port = 8080;  // 0: any free port (the address is printed)
    std::optional<std::filesystem::path> tlsCert, tlsKey;
    int timeoutSeconds = 10;  // a client silent this long while sending is cut off
};

// Parses "ADDR:PORT" ("127.0.0.1:8080", "[::1]:8080"); std::invalid_argument otherwise.
void parseListen(const std::string& text, ServeOptions& options);
// Whether the address is a loopback one (127.0.0.0/8, ::1, "localhost").
bool isLoopback(const std::string& host);

// Runs the server until SIGINT or SIGTERM. Prints the address served on `out`, warnings
// and refusals on `err`; returns the exit status (1 when it refuses or cannot listen).
int serve(const ServeOptions& options, std::ostream& out, std::ostream& err);

}  // namespace zt::web
