#pragma once
// Files the program writes whole: made under a name nobody can guess, created
// exclusively (mkstemp: O_CREAT|O_EXCL, never through a link someone planted), then
// renamed over the file they replace, so a reader sees the old file or the new one,
// never half of one, and a link in the folder is never followed to write elsewhere.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace zt {

// A new empty file in `folder` named "<prefix>XXXXXX" (six random characters), created
// exclusively with the mode `mode` whatever the umask; removed when the object goes
// unless commit() put it in place. Throws std::runtime_error naming the folder.
class PrivateFile {
public:
    PrivateFile(const std::filesystem::path& folder, std::string_view prefix, mode_t mode = 0600);
    ~PrivateFile();
    PrivateFile(const PrivateFile&) = delete;
    PrivateFile& operator=(const PrivateFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    int fd() const { return fd_; }
    // Writes all of `bytes`; throws std::runtime_error (naming `target`) when it cannot.
    void write(std::string_view bytes);
    // Flushes the file to disk, closes it and renames it over `target` (a link at
    // `target` is replaced, not followed). Throws std::runtime_error naming `target`.
    void commit(const std::filesystem::path& target);
    // Closes the descriptor without putting the file in place (for a file another
    // library writes by its path); the file is still removed when the object goes.
    void closeDescriptor();

private:
    [[noreturn]] void fail(const std::string& what, int error) const;
    std::filesystem::path path_;
    int fd_ = -1;
    bool placed_ = false;
};

// Writes `bytes` to `target` through a PrivateFile beside it (mode `mode`).
void writeFileWhole(const std::filesystem::path& target, std::string_view bytes, mode_t mode = 0600);

}  // namespace zt
