#include "store/access/jet_guard.h"
#include "common/translate.h"

#include <fcntl.h>
#include <iconv.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>

#include "store/db_error.h"

namespace fs = std::filesystem;

namespace zt::store {

namespace {

std::mutex limitsMutex;
JetReadLimits currentLimits;

// What the child sends back: one tag byte, then for 'O' the result, for 'E' the
// DbError's file and message (each behind its length), for 'X' a message.
constexpr char kOk = 'O';
constexpr char kDbError = 'E';
constexpr char kOther = 'X';
constexpr char kNoMemory = 'M';

// libmdb's messages that say a page lies outside the file.
constexpr const char* kCutShortSigns[] = {"beyond EOF", "reading page"};
// Standard error kept for the message; the rest is read and dropped.
constexpr std::size_t kKeptErrorBytes = 64 * 1024;

bool sanitizedBuild() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

std::uint64_t addressSpaceInUse() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    unsigned long long pages = 0;
    const int n = std::fscanf(f, "%llu", &pages);
    std::fclose(f);
    if (n != 1) return 0;
    return pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

void writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

[[noreturn]] void childMain(int resultFd, int errorFd, std::uint64_t memoryLimit, long seconds,
                            const std::function<std::string()>& work) {
    ::dup2(errorFd, STDERR_FILENO);
    // libmdb prints dumps of the pages it cannot read on standard output: never the user's.
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ::dup2(devNull >= 0 ? devNull : errorFd, STDOUT_FILENO);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    if (memoryLimit > 0) {
        const rlimit mem{memoryLimit, memoryLimit};
        ::setrlimit(RLIMIT_AS, &mem);
    }
    ::alarm(static_cast<unsigned>(seconds + 5));  // should the parent stop waiting without killing

    std::string reply;
    try {
        std::string result = work();
        reply.reserve(result.size() + 1);
        reply += kOk;
        reply += result;
    } catch (const DbError& e) {
        reply = kDbError;
        appendSized(reply, e.file());
        appendSized(reply, e.message());
    } catch (const std::bad_alloc&) {
        reply = kNoMemory;
    } catch (const std::exception& e) {
        reply = kOther;
        reply += e.what();
    } catch (...) {
        reply = kOther;
    }
    writeAll(resultFd, reply.data(), reply.size());
    std::fflush(stderr);
    ::_exit(0);
}

struct Pipe {
    int fd[2] = {-1, -1};
    ~Pipe() {
        for (int f : fd)
            if (f >= 0) ::close(f);
    }
    void closeEnd(int i) {
        if (fd[i] >= 0) ::close(fd[i]);
        fd[i] = -1;
    }
};

bool readSome(int fd, std::string& into, std::size_t keep, bool& open) {
    char buf[65536];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) return errno == EINTR || errno == EAGAIN;
    if (n == 0) {
        open = false;
        return true;
    }
    const std::size_t room = keep > into.size() ? keep - into.size() : 0;
    into.append(buf, std::min(room, static_cast<std::size_t>(n)));
    return true;
}

bool cutShort(const std::string& errors) {
    for (const char* sign : kCutShortSigns)
        if (errors.find(sign) != std::string::npos) return true;
    return false;
}

std::string firstLine(const std::string& text) {
    const auto end = text.find('\n');
    return text.substr(0, end);
}

// The stop of the JetReadInterrupt living on this thread, if any.
thread_local const std::function<bool()>* currentStop = nullptr;
constexpr std::chrono::milliseconds kStopAskedEvery{200};

int waitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return 0;
    return status;
}

}  // namespace

JetReadInterrupt::JetReadInterrupt(std::function<bool()> stop) : stop_(std::move(stop)), previous_(currentStop) {
    currentStop = &stop_;
}

JetReadInterrupt::~JetReadInterrupt() { currentStop = previous_; }

void appendSized(std::string& out, const std::string& text) {
    const std::uint64_t n = text.size();
    out.append(reinterpret_cast<const char*>(&n), sizeof n);
    out += text;
}

bool takeSized(const std::string& in, std::size_t& pos, std::string& text) {
    std::uint64_t n = 0;
    if (in.size() - pos < sizeof n) return false;
    std::memcpy(&n, in.data() + pos, sizeof n);
    pos += sizeof n;
    if (in.size() - pos < n) return false;
    text.assign(in, pos, n);
    pos += n;
    return true;
}

JetReadLimits jetReadLimits() {
    std::lock_guard lock(limitsMutex);
    return currentLimits;
}

void setJetReadLimits(const JetReadLimits& limits) {
    std::lock_guard lock(limitsMutex);
    currentLimits = limits;
}

static std::uint64_t bytesHeld(const fs::path& file) {
    std::error_code ec;
    const std::uint64_t size = fs::file_size(file, ec);
    if (ec) return 0;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return size;
    // The extents that hold data; a file system that cannot tell counts the whole size.
    std::uint64_t held = 0;
    off_t at = 0;
    const auto end = static_cast<off_t>(size);
    while (at < end) {
        const off_t data = ::lseek(fd, at, SEEK_DATA);
        if (data < 0) {
            if (errno != ENXIO) held = size;  // ENXIO: only a hole remains
            break;
        }
        off_t hole = ::lseek(fd, data, SEEK_HOLE);
        if (hole < 0) {
            held = size;
            break;
        }
        hole = std::min(hole, end);
        held += static_cast<std::uint64_t>(hole - data);
        at = hole;
    }
    ::close(fd);
    return std::min(held, size);
}

JetReadAllowance jetReadAllowance(const fs::path& file) {
    const JetReadLimits limits = jetReadLimits();
    const std::uint64_t held = bytesHeld(file);
    JetReadAllowance a;
    a.time = limits.time + limits.timePerMegabyte * static_cast<long>(held / (1024 * 1024));
    a.memory = limits.memory > 0 ? limits.memory + limits.memoryPerByte * held : 0;
    return a;
}

// The character-set converters a reading opens (UTF-16 for Jet 4, code pages for Jet 3),
// loaded once here and kept, so that each reading process finds them loaded instead of
// loading them again.
static void loadConverters() {
    static const bool loaded = [] {
        for (const char* from : {"UTF-16LE", "CP1252"}) iconv_open("UTF-8", from);  // kept open on purpose
        return true;
    }();
    (void)loaded;
}

std::string runJetReading(const fs::path& file, const std::function<std::string()>& work) {
    loadConverters();
    const JetReadAllowance allowance = jetReadAllowance(file);
    const auto allowed = allowance.time;
    const long seconds = static_cast<long>(std::chrono::ceil<std::chrono::seconds>(allowed).count());
    std::uint64_t memoryLimit = 0;
    if (!sanitizedBuild() && allowance.memory > 0) memoryLimit = addressSpaceInUse() + allowance.memory;

    Pipe result, errors;
    if (::pipe2(result.fd, O_CLOEXEC) != 0 || ::pipe2(errors.fd, O_CLOEXEC) != 0)
        throw DbError(file.string(),
                      withArgs(translate("Store", "cannot start reading the file: %1"), {systemErrorText(errno)}));
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        throw DbError(file.string(),
                      withArgs(translate("Store", "cannot start reading the file: %1"), {systemErrorText(errno)}));
    if (pid == 0) childMain(result.fd[1], errors.fd[1], memoryLimit, seconds, work);
    result.closeEnd(1);
    errors.closeEnd(1);

    std::string reply, complaints;
    bool replyOpen = true, errorsOpen = true;
    bool timedOut = false, stoppedCutShort = false, stoppedByUser = false;
    const auto deadline = std::chrono::steady_clock::now() + allowed;
    auto nextAsk = std::chrono::steady_clock::now() + kStopAskedEvery;
    while (replyOpen || errorsOpen) {
        const auto now = std::chrono::steady_clock::now();
        if (currentStop && now >= nextAsk) {
            nextAsk = now + kStopAskedEvery;
            if ((*currentStop)()) {
                stoppedByUser = true;
                break;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd fds[2] = {{replyOpen ? result.fd[0] : -1, POLLIN, 0}, {errorsOpen ? errors.fd[0] : -1, POLLIN, 0}};
        const long long wait = std::min<long long>(left.count(), currentStop ? kStopAskedEvery.count() : 1000);
        const int ready = ::poll(fds, 2, static_cast<int>(wait));
        if (ready < 0 && errno != EINTR) break;
        if (ready <= 0) continue;
        if (fds[0].revents != 0 && !readSome(result.fd[0], reply, SIZE_MAX, replyOpen)) replyOpen = false;
        if (fds[1].revents != 0 && !readSome(errors.fd[0], complaints, kKeptErrorBytes, errorsOpen)) errorsOpen = false;
        if (cutShort(complaints)) {
            stoppedCutShort = true;
            break;
        }
    }
    if (replyOpen || errorsOpen) ::kill(pid, SIGKILL);
    const int status = waitFor(pid);

    const std::string name = file.string();
    if (stoppedByUser) throw JetReadStopped(name + ": the reading was stopped");
    if (stoppedCutShort)
        throw DbError(name, withArgs(translate("Store", "this Access (Jet) file is cut short or damaged: it refers to "
                                                        "data beyond its end (%1); copy it again from a backup"),
                                     {firstLine(complaints)}));
    if (timedOut)
        throw DbError(name, withArgs(translate("Store", "reading the file did not end within %1 seconds and was "
                                                        "stopped: this Access (Jet) file is probably damaged; copy "
                                                        "it again from a backup"),
                                     {std::to_string(seconds)}));
    if (reply.empty() || WIFSIGNALED(status)) {
        std::string what = WIFSIGNALED(status) ? std::string(" (") + strsignal(WTERMSIG(status)) + ")" : std::string();
        if (!complaints.empty()) what += ": " + firstLine(complaints);
        throw DbError(name, translate("Store", "this Access (Jet) file is damaged: reading it stopped on a part that "
                                               "cannot be read") +
                                what);
    }
    switch (reply[0]) {
        case kOk: return reply.substr(1);
        case kDbError: {
            std::size_t pos = 1;
            std::string errFile, message;
            if (takeSized(reply, pos, errFile) && takeSized(reply, pos, message)) throw DbError(errFile, message);
            break;
        }
        case kNoMemory:
            throw DbError(name, withArgs(translate("Store", "reading the file needed more memory than allowed (%1 MB): "
                                                            "this Access (Jet) file is probably damaged"),
                                         {std::to_string(memoryLimit >> 20)}));
        case kOther: throw DbError(name, withArgs(translate("Store", "cannot read the file: %1"), {reply.substr(1)}));
        default: break;
    }
    throw DbError(name, translate("Store", "cannot read the file: the reader's answer was garbled"));
}

}  // namespace zt::store
