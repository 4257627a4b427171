#include "common/private_file.h"

#include "common/translate.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace zt {

namespace {

std::string why(int error) { return systemErrorText(error); }

}  // namespace

PrivateFile::PrivateFile(const fs::path& folder, std::string_view prefix, mode_t mode) {
    std::string pattern = (folder / std::string(prefix)).string() + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        throw std::runtime_error("cannot create a new file in " + folder.string() + ": " + why(error));
    }
    path_ = fs::path(std::string(name.data()));
    if (::fchmod(fd_, mode) != 0) fail("cannot set the file's mode", errno);
}

PrivateFile::~PrivateFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!placed_ && !path_.empty()) ::unlink(path_.c_str());
}

void PrivateFile::fail(const std::string& what, int error) const {
    throw std::runtime_error(what + " (" + path_.string() + "): " + why(error));
}

void PrivateFile::write(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail("cannot write", errno);
        }
        done += static_cast<std::size_t>(n);
    }
}

void PrivateFile::closeDescriptor() {
    if (fd_ >= 0 && ::close(fd_) != 0) {
        fd_ = -1;
        fail("cannot close", errno);
    }
    fd_ = -1;
}

void PrivateFile::commit(const fs::path& target) {
    if (fd_ >= 0) {
        if (::fsync(fd_) != 0) fail("cannot write " + target.string() + " to disk", errno);
        closeDescriptor();
    }
    if (::rename(path_.c_str(), target.c_str()) != 0) fail("cannot put " + target.string() + " in place", errno);
    placed_ = true;
    // The rename itself reaches the disk with the folder.
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void writeFileWhole(const fs::path& target, std::string_view bytes, mode_t mode) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    PrivateFile file(folder, "." + target.filename().string() + ".", mode);
    file.write(bytes);
    file.commit(target);
}

}  // namespace zt
