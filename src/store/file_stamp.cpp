#include "store/file_stamp.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <mutex>
#include <vector>

namespace fs = std::filesystem;

namespace zt::store {

std::string dataStateOf(std::uint64_t device, std::uint64_t inode, std::int64_t mtimeNs, const unsigned char* head) {
    std::string key = std::to_string(device) + ' ' + std::to_string(inode) + ' ' + std::to_string(mtimeNs) + ' ';
    key.append(reinterpret_cast<const char*>(head + 24), 8);
    return key;
}

namespace {

// The first bytes of a file (up to 100) and its state, read through SQLite's own file
// layer. POSIX locks belong to the process: closing any descriptor of a file drops every
// lock the process holds on it, so a descriptor opened and closed by hand here would
// take the locks from under a connection of this process that has the file open (and
// another workstation could then write it at the same time). SQLite's layer keeps such
// a descriptor open until those locks are gone. Fails on a file that cannot be opened
// or read (`got` stays -1); `known` is false when the file changed during the look.
ssize_t readHead(const fs::path& file, unsigned char (&head)[100], struct stat& st, bool& known) {
    known = false;
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    if (!vfs) return -1;
    std::string full(static_cast<std::size_t>(vfs->mxPathname) + 1, '\0');
    if (vfs->xFullPathname(vfs, file.c_str(), vfs->mxPathname + 1, full.data()) != SQLITE_OK) return -1;
    struct stat before {};
    if (::stat(full.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) return -1;
    sqlite3_filename name = sqlite3_create_filename(full.c_str(), "", "", 0, nullptr);
    if (!name) return -1;
    std::vector<std::max_align_t> mem(static_cast<std::size_t>(vfs->szOsFile) / sizeof(std::max_align_t) + 1);
    auto* f = reinterpret_cast<sqlite3_file*>(mem.data());
    ssize_t got = -1;
    if (vfs->xOpen(vfs, name, f, SQLITE_OPEN_READONLY | SQLITE_OPEN_MAIN_DB, nullptr) == SQLITE_OK) {
        sqlite3_int64 size = 0;
        if (f->pMethods->xFileSize(f, &size) == SQLITE_OK) {
            const int n = static_cast<int>(std::min<sqlite3_int64>(size, sizeof head));
            if (n == 0 || f->pMethods->xRead(f, head, n, 0) == SQLITE_OK) got = n;
        }
    }
    if (f->pMethods) f->pMethods->xClose(f);
    sqlite3_free_filename(name);
    if (got >= 0 && ::stat(full.c_str(), &st) == 0)
        known = st.st_dev == before.st_dev && st.st_ino == before.st_ino && st.st_size == before.st_size &&
                st.st_mtim.tv_sec == before.st_mtim.tv_sec && st.st_mtim.tv_nsec == before.st_mtim.tv_nsec;
    return got;
}

// The files the database layer has open, by path: only while one is open can a
// descriptor of it opened and closed by hand take locks from a connection.
std::mutex& openFilesMutex() {
    static std::mutex m;
    return m;
}
std::map<std::string, int>& openFiles() {
    static std::map<std::string, int> files;
    return files;
}
bool isOpenHere(const fs::path& file) {
    std::lock_guard lock(openFilesMutex());
    const auto it = openFiles().find(file.string());
    return it != openFiles().end() && it->second > 0;
}

}  // namespace

FileStamp stampFile(const fs::path& file) {
    unsigned char head[100] = {};
    FileStamp stamp;
    // Every query opens its file, so the usual case is one open, one read and one stat of
    // a file no connection of this process has open; one that has a connection is read
    // through SQLite's own layer (readHead); a file that cannot be read either way is
    // looked at the general way.
    ssize_t got = -1;
    struct stat st {};
    if (isOpenHere(file)) {
        got = readHead(file, head, st, stamp.known);
    } else if (const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); fd >= 0) {
        // O_NONBLOCK and fstat before reading: a FIFO or a device is never waited on.
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            stamp.kind = FileKind::Special;
            return stamp;
        }
        got = ::read(fd, head, sizeof head);
        stamp.known = got >= 0;
        ::close(fd);
    }
    if (stamp.known) {
        stamp.device = st.st_dev;
        stamp.inode = st.st_ino;
        stamp.size = static_cast<std::uint64_t>(st.st_size);
        stamp.mtimeNs = mtimeNs(st);
    }
    if (got < 0) {
        std::error_code ec;
        const fs::file_status status = fs::status(file, ec);
        if (status.type() == fs::file_type::not_found) return stamp;
        if (!ec && status.type() != fs::file_type::regular) {
            stamp.kind = FileKind::Special;
            return stamp;
        }
        std::ifstream in(file, std::ios::binary);
        in.read(reinterpret_cast<char*>(head), sizeof head);
        got = in.gcount();
    }
    if (got == 0) stamp.kind = FileKind::Empty;
    else if (isSqliteHeader(head, static_cast<std::size_t>(got))) stamp.kind = FileKind::Sqlite;
    else if (got >= 19 && std::memcmp(head + 4, "Standard Jet DB", 15) == 0) stamp.kind = FileKind::Jet;
    else if (got >= 19 && std::memcmp(head + 4, "Standard ACE DB", 15) == 0) stamp.kind = FileKind::Ace;
    else stamp.kind = FileKind::Other;
    // A file in WAL mode keeps its newest pages, the schema's too, beside it: its own
    // header and time do not say when its tables change.
    if (stamp.kind == FileKind::Sqlite && (got < 44 || head[18] == 2 || head[19] == 2)) stamp.known = false;
    if (stamp.kind == FileKind::Sqlite && got >= 44)
        stamp.schemaCookie = schemaCookieOf(head);
    if (stamp.kind == FileKind::Sqlite && stamp.known) stamp.dataState = dataStateOf(stamp.device, stamp.inode, stamp.mtimeNs, head);
    return stamp;
}

FileKind fileKind(const fs::path& file) { return stampFile(file).kind; }

OpenFileMark::OpenFileMark(fs::path file) : file_(file.string()) {
    std::lock_guard lock(openFilesMutex());
    ++openFiles()[file_];
}

OpenFileMark::~OpenFileMark() {
    std::lock_guard lock(openFilesMutex());
    if (--openFiles()[file_] <= 0) openFiles().erase(file_);
}

}  // namespace zt::store
