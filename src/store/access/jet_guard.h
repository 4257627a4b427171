#pragma once
// Reading an Access file through libmdb in a child process.
//
// libmdb trusts the pages it reads: a damaged or cut file can make it loop for ever,
// ask for gigabytes, or read out of bounds. So every reading of a Jet file runs in a
// forked child with a time and memory limit; the parent only receives the result (the
// bytes `work` returns) or a message. A child that runs out of time, memory or dies is
// killed and reported as a DbError naming the file; the program goes on. libmdb's own
// complaints (on the child's standard error) that a page lies beyond the end of the
// file stop the reading at once: the file is cut short, and reading on would silently
// lose the tables that lay in its missing part. See docs/JET_FILES.md.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

namespace zt::store {

struct JetReadLimits {
    // Time for one reading: `time` plus `timePerMegabyte` for each megabyte the file holds.
    std::chrono::milliseconds time{30'000};
    std::chrono::milliseconds timePerMegabyte{1'000};
    // Memory the child may take on top of what the process holds already: `memory`
    // plus `memoryPerByte` times the bytes the file holds.
    std::uint64_t memory = std::uint64_t{1} << 30;
    std::uint64_t memoryPerByte = 16;
};

JetReadLimits jetReadLimits();
void setJetReadLimits(const JetReadLimits& limits);

// What one reading of `file` is allowed: the limits grown by the bytes the file holds,
// not by its length (the holes of a sparse file hold nothing; a file system that cannot
// tell counts the whole length). `memory` is on top of what the process holds already.
struct JetReadAllowance {
    std::chrono::milliseconds time{0};
    std::uint64_t memory = 0;  // 0: no limit
};
JetReadAllowance jetReadAllowance(const std::filesystem::path& file);

// Runs `work` (which reads `file` through libmdb) in a child process within the limits
// and returns what it returned. A DbError thrown by `work` comes back as the same
// DbError; any other failure as a DbError naming `file` and what went wrong.
std::string runJetReading(const std::filesystem::path& file, const std::function<std::string()>& work);

// A reading stopped because the user asked to stop (JetReadInterrupt).
class JetReadStopped : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// While one lives, the readings this thread starts ask `stop` about five times a second;
// when it answers true the child is killed and runJetReading throws JetReadStopped. A
// large Access file's first reading can take seconds: this lets a long operation stop
// within a fraction of one.
class JetReadInterrupt {
public:
    explicit JetReadInterrupt(std::function<bool()> stop);
    ~JetReadInterrupt();
    JetReadInterrupt(const JetReadInterrupt&) = delete;
    JetReadInterrupt& operator=(const JetReadInterrupt&) = delete;

private:
    std::function<bool()> stop_;
    const std::function<bool()>* previous_;
};

// A text behind its length, for results made of several texts: appended to `out`, and
// taken from `in` at `pos` (false when `in` ends before it).
void appendSized(std::string& out, const std::string& text);
bool takeSized(const std::string& in, std::size_t& pos, std::string& text);

}  // namespace zt::store
