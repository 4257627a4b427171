#pragma once
// The working folder: named by --dir, else the current folder when it holds the hotel
// registry; the window then tries the folder remembered from the last start and asks
// the user for one. Commands never ask. docs/INSTALL.md describes the order.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace zt::app {

// The file that makes a folder a working folder.
inline constexpr const char* kRegistryFile = "AnagraficaHotels.mdb";

// Whether `folder` holds the hotel registry.
bool holdsRegistry(const std::filesystem::path& folder);

// The folder a command works on: `dirOption` when given, else `current` when it holds
// the registry. Otherwise a std::runtime_error saying which folder was tried and how to
// name one.
std::filesystem::path commandFolder(const std::optional<std::filesystem::path>& dirOption,
                                    const std::filesystem::path& current);

// The folder remembered from the last start (the user's configuration folder,
// Zentoria/zentoria.conf, key workFolder); nullopt when none is.
std::optional<std::filesystem::path> rememberedFolder();
void rememberFolder(const std::filesystem::path& folder);

// The figure server kept in the same settings file (key figuresDb, a libpq connection
// string or URI): when ZENTORIA_FIGURES_DB is unset or blank and the file names one, it
// is put into ZENTORIA_FIGURES_DB for this run, so every figure operation finds it there.
// The environment wins over the file.
void applyFiguresDbSetting();

// What choosing the window's folder asks of the user.
struct FolderPrompts {
    // The folder dialog, opened at `start`; nullopt when the user pressed "Annulla".
    std::function<std::optional<std::filesystem::path>(const std::filesystem::path& start)> ask;
    // A message (the chosen folder holds no registry).
    std::function<void(const std::string& text)> tell;
};

// The folder the window opens on: `dirOption`; `current` when it holds the registry;
// the remembered folder when it still holds it; else the folder dialog, until the user
// chooses a folder with the registry (remembered then) or gives up (nullopt).
std::optional<std::filesystem::path> windowFolder(const std::optional<std::filesystem::path>& dirOption,
                                                  const std::filesystem::path& current, const FolderPrompts& prompts);

// The message for a chosen folder without the registry.
std::string noRegistryMessage(const std::filesystem::path& folder);

}  // namespace zt::app
