#pragma once
// Environment look-ups.
#include <optional>
#include <string>
#include <string_view>

namespace zt {

// The value of an environment variable; nullopt when it is not set.
std::optional<std::string> envValue(std::string_view name);
// The same, matching the name without regard to case ("PCLocal", "PcLocal", "PClocal"
// are one variable). When several spellings are set, the exact spelling wins, then the
// first in the environment.
std::optional<std::string> envValueNoCase(std::string_view name);

// The environment variable that names the figure server (docs/FIGURES_SERVER.md).
inline constexpr const char* kFiguresDbVariable = "ZENTORIA_FIGURES_DB";
// Its value, a libpq connection string or URI; nullopt when it is unset or blank. While
// it is set, the figure tables `Zentoria` and `Dettaglio` are read and written there.
std::optional<std::string> figuresServerSetting();

}  // namespace zt
