#include "common/env.h"

#include <cstdlib>

#include "common/text.h"

extern char** environ;

namespace zt {

std::optional<std::string> envValue(std::string_view name) {
    const std::string key(name);
    if (const char* value = std::getenv(key.c_str())) return std::string(value);
    return std::nullopt;
}

std::optional<std::string> envValueNoCase(std::string_view name) {
    if (name.empty() || name.find('=') != std::string_view::npos) return std::nullopt;
    if (auto exact = envValue(name)) return exact;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view item(*entry);
        const auto eq = item.find('=');
        if (eq != std::string_view::npos && equalsNoCase(item.substr(0, eq), name))
            return std::string(item.substr(eq + 1));
    }
    return std::nullopt;
}

std::optional<std::string> figuresServerSetting() {
    auto v = envValue(kFiguresDbVariable);
    if (!v || trim(*v).empty()) return std::nullopt;
    return v;
}

}  // namespace zt
