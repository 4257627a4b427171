#include "store/file_names.h"
#include "common/translate.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/statfs.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "store/db_error.h"
#include "store/file_stamp.h"

namespace fs = std::filesystem;

namespace zt::store {

namespace {

// The name as Windows compares it: the letters A-Z and À-Þ (UTF-8) in lower case.
std::string folded(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto& c = reinterpret_cast<unsigned char&>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<unsigned char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            auto& next = reinterpret_cast<unsigned char&>(out[i + 1]);
            // À-Þ, but not × (U+00D7)
            if (next >= 0x80 && next <= 0x9E && next != 0x97) next = static_cast<unsigned char>(next + 32);
            ++i;
        }
    }
    return out;
}

// A folder's entries by folded name, and the state of the folder they were read from.
struct Listing {
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t mtimeNs = 0;
    std::int64_t ctimeNs = 0;  // no one can set it back: a folder whose time was set
                               // back to the kept one still differs here
    std::unordered_map<std::string, std::vector<std::string>> byName;
};


// A folder's listing is kept while the folder's device, inode and modification time stay
// the same: adding, removing or renaming an entry changes that time. A change within the
// file system's time resolution of the last one would keep it, so a listing is kept only
// when it was read well after the folder's last change: 3 s on file systems of coarse or
// unknown times (the 2 s of FAT, network shares, which may also run on another clock),
// 100 ms on the local file systems of nanosecond times, whose clock moves every few
// milliseconds. So a grid loaded right after a figure was written (its journal came and
// went in the folder) does not read the folder again for every month.
constexpr std::int64_t kSettledNs = 3'000'000'000;
constexpr std::int64_t kSettledLocalNs = 100'000'000;

std::int64_t settledAfterNs(const fs::path& dir) {
    struct statfs fs {};
    if (::statfs(dir.c_str(), &fs) != 0) return kSettledNs;
    switch (static_cast<unsigned long>(fs.f_type)) {
        case 0xEF53UL:      // ext2, ext3, ext4
        case 0x58465342UL:  // xfs
        case 0x9123683EUL:  // btrfs
        case 0x01021994UL:  // tmpfs
        case 0x794C7630UL:  // overlayfs
        case 0x2FC12FC1UL:  // zfs
        case 0xF2F52010UL:  // f2fs
            return kSettledLocalNs;
        default:
            return kSettledNs;
    }
}
constexpr std::size_t kMaxListings = 256;

std::mutex& listingMutex() {
    static std::mutex m;
    return m;
}
std::unordered_map<std::string, std::shared_ptr<const Listing>>& listings() {
    static std::unordered_map<std::string, std::shared_ptr<const Listing>> cache;
    return cache;
}

// The listing of the folder `dir`; null when it is not a folder that can be read.
std::shared_ptr<const Listing> listingOf(const fs::path& dir) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return nullptr;
    const std::int64_t mtime = mtimeNs(st);
    const std::string key = dir.string();
    {
        std::lock_guard lock(listingMutex());
        if (auto it = listings().find(key); it != listings().end()) {
            const Listing& l = *it->second;
            if (l.device == st.st_dev && l.inode == st.st_ino && l.mtimeNs == mtime &&
                l.ctimeNs == nanoseconds(st.st_ctim))
                return it->second;
        }
    }
    DIR* d = ::opendir(dir.c_str());
    if (!d) return nullptr;
    auto listing = std::make_shared<Listing>();
    listing->device = st.st_dev;
    listing->inode = st.st_ino;
    listing->mtimeNs = mtime;
    listing->ctimeNs = nanoseconds(st.st_ctim);
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        listing->byName[folded(name)].emplace_back(name);
    }
    ::closedir(d);
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    if (nanoseconds(now) - mtime > settledAfterNs(dir)) {
        std::lock_guard lock(listingMutex());
        if (listings().size() >= kMaxListings) listings().clear();
        listings()[key] = listing;
    }
    return listing;
}

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

std::string clashMessage(const std::vector<std::string>& names) {
    std::string all;
    const std::string and_ = translate("Store", " and ");
    for (std::size_t i = 0; i < names.size(); ++i)
        all += (i == 0 ? "\"" : i + 1 == names.size() ? and_ + "\"" : ", \"") + names[i] + "\"";
    return withArgs(translate("Store",
                              "the folder holds %1, names that differ only in case, which Windows takes for one "
                              "file; neither is read. Keep one of them (rename or move the other)"),
                    {all});
}

}  // namespace

NameClash::NameClash(std::string file, std::vector<std::string> names)
    : DbError(std::move(file), clashMessage(sorted(names))), names_(sorted(std::move(names))) {}

fs::path findFile(const fs::path& base, std::string_view name) {
    std::string n(name);
    std::replace(n.begin(), n.end(), '\\', '/');
    const fs::path given(n);

    fs::path at = base;
    fs::path rest = given;
    if (given.is_absolute()) {
        struct stat st {};
        const fs::path folder = given.parent_path();
        if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            at = folder;
            rest = given.filename();
        } else {
            at = given.root_path();
            rest = given.relative_path();
        }
    }

    bool lookUp = true;  // false once a component is not there: the rest is kept as written
    for (const fs::path& part : rest) {
        const std::string component = part.string();
        if (component.empty() || component == "." || component == "..") {
            at /= part;
            continue;
        }
        const auto listing = lookUp ? listingOf(at.empty() ? fs::path(".") : at) : nullptr;
        const std::vector<std::string>* found = nullptr;
        if (listing) {
            auto it = listing->byName.find(folded(component));
            if (it != listing->byName.end()) found = &it->second;
        }
        if (!found) {
            lookUp = lookUp && !listing && fs::is_directory(at / part);  // an unreadable folder: go on below it
            at /= part;
            continue;
        }
        if (found->size() > 1) throw NameClash((at / part).string(), *found);
        at /= found->front();
    }
    return at;
}

}  // namespace zt::store
