#pragma once
// What a file is and which state of it the program looked at: its kind from its first
// bytes (SQLite, Jet, ACE), its identity, size and modification time, and for SQLite the
// header fields every change of the tables or rows moves. The caches of the store (the
// SQL written per file state, the spellings of indexed texts, folder listings) are keyed
// by these.
//
// The first bytes are read through SQLite's own file layer while a connection of this
// process has the file open (registered by OpenFileMark): closing a descriptor opened by
// hand would drop the locks that connection holds.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

namespace zt::store {

// What the first bytes of a file say it is: SQLite ("SQLite format 3"), Jet 3 or Jet 4
// ("Standard Jet DB"), ACE ("Standard ACE DB").
// Special: not a plain file (a FIFO, a device, a socket, a folder); it is looked at
// without blocking and never opened as a database.
enum class FileKind { Missing, Empty, Sqlite, Jet, Ace, Other, Special };
FileKind fileKind(const std::filesystem::path& file);
// An Access file of either format (Jet or ACE), which is read through libmdb.
inline bool isJetKind(FileKind k) { return k == FileKind::Jet || k == FileKind::Ace; }

// Whether `size` first bytes of a file begin as an SQLite 3 database does.
inline bool isSqliteHeader(const unsigned char* head, std::size_t size) {
    return size >= 16 && std::memcmp(head, "SQLite format 3\0", 16) == 0;
}

// A time, and a file's modification time, in nanoseconds.
inline std::int64_t nanoseconds(const timespec& t) { return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec; }
inline std::int64_t mtimeNs(const struct stat& st) { return nanoseconds(st.st_mtim); }

// What a file is, and what identifies this state of it: the file (device and inode),
// its size and modification time, and for SQLite the schema cookie of its header
// (bytes 40–43), which changes with every change of its tables.
struct FileStamp {
    FileKind kind = FileKind::Missing;
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t mtimeNs = 0;
    std::uint32_t schemaCookie = 0;
    bool known = false;  // false: the file could not be looked at this way; never cached
    std::string dataState;  // as dataStateOf gives it: what the rows are; empty when unknown
};
FileStamp stampFile(const std::filesystem::path& file);

// What the rows of an SQLite file are, from its identity (a file made anew may get the
// inode of one removed, not its modification time) and its header: the change counter
// and the page count, which every commit changes (not kept in WAL mode).
std::string dataStateOf(std::uint64_t device, std::uint64_t inode, std::int64_t mtimeNs, const unsigned char* head);
// The schema cookie of an SQLite file's header (its first 44 bytes at least), which every
// change of its tables changes.
inline std::uint32_t schemaCookieOf(const unsigned char* head) {
    return (std::uint32_t{head[40]} << 24) | (std::uint32_t{head[41]} << 16) | (std::uint32_t{head[42]} << 8) | head[43];
}

// Marks a file as open by a connection of this process for as long as it lives.
class OpenFileMark {
public:
    explicit OpenFileMark(std::filesystem::path file);
    ~OpenFileMark();
    OpenFileMark(const OpenFileMark&) = delete;
    OpenFileMark& operator=(const OpenFileMark&) = delete;

private:
    std::string file_;
};

}  // namespace zt::store
