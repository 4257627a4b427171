#include "app/work_folder.h"
#include "common/translate.h"

#include "store/postgres/pg_connection.h"

#include <QSettings>
#include <cstdlib>

#include "common/env.h"
#include <QString>
#include <stdexcept>
#include <system_error>

#include "store/file_names.h"

namespace fs = std::filesystem;

namespace zt::app {

namespace {

constexpr const char* kSettingsKey = "workFolder";

QSettings userSettings() { return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Zentoria", "zentoria"); }

fs::path shown(const fs::path& folder) {
    std::error_code ec;
    const fs::path full = fs::absolute(folder, ec);
    return (ec ? folder : full).lexically_normal();
}

}  // namespace

// The registry under any case of its name, as every other file is found; a folder
// holding it twice (names differing only in case) counts as holding it, so that the
// start-up names the clash.
bool holdsRegistry(const fs::path& folder) {
    std::error_code ec;
    try {
        return fs::is_regular_file(store::findFile(folder, kRegistryFile), ec);
    } catch (const store::NameClash&) {
        return true;
    }
}

fs::path commandFolder(const std::optional<fs::path>& dirOption, const fs::path& current) {
    if (dirOption) return *dirOption;
    if (holdsRegistry(current)) return current;
    throw std::runtime_error(withArgs(translate("Cli", "the current folder %1 holds no hotel registry (%2); name the "
                                                       "working folder with --dir: zentoria --dir FOLDER COMMAND ..."),
                                      {shown(current).string(), kRegistryFile}));
}

std::optional<fs::path> rememberedFolder() {
    const QString value = userSettings().value(kSettingsKey).toString();
    if (value.isEmpty()) return std::nullopt;
    return fs::path(value.toStdString());
}

void applyFiguresDbSetting() {
    // The statement limits of the figure server, in seconds (a connection string's
    // options win over them).
    const QSettings settings = userSettings();
    store::setStatementLimits(settings.value("figuresReadTimeout").toDouble(),
                              settings.value("figuresWriteTimeout").toDouble());
    if (figuresServerSetting()) return;
    const std::string value = userSettings().value("figuresDb").toString().trimmed().toStdString();
    if (!value.empty()) ::setenv(kFiguresDbVariable, value.c_str(), 1);
}

void rememberFolder(const fs::path& folder) {
    QSettings settings = userSettings();
    settings.setValue(kSettingsKey, QString::fromStdString(shown(folder).string()));
    settings.sync();
}

std::string noRegistryMessage(const fs::path& folder) {
    return "La cartella " + shown(folder).string() + " non contiene l'archivio degli alberghi " + kRegistryFile +
           ".\nScegliere la cartella di lavoro che lo contiene.";
}

std::optional<fs::path> windowFolder(const std::optional<fs::path>& dirOption, const fs::path& current,
                                     const FolderPrompts& prompts) {
    if (dirOption) return dirOption;
    if (holdsRegistry(current)) return current;
    const auto remembered = rememberedFolder();
    if (remembered && holdsRegistry(*remembered)) return remembered;

    std::error_code ec;
    fs::path start = remembered && fs::is_directory(*remembered, ec) ? *remembered : shown(current);
    while (true) {
        const auto chosen = prompts.ask(start);
        if (!chosen) return std::nullopt;
        if (holdsRegistry(*chosen)) {
            rememberFolder(*chosen);
            return chosen;
        }
        prompts.tell(noRegistryMessage(*chosen));
        start = *chosen;
    }
}

}  // namespace zt::app
