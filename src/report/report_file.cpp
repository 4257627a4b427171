#include "report/report_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "common/cp1252.h"
#include "common/env.h"
#include "common/text.h"
#include "common/translate.h"
#include "store/file_names.h"

namespace zt::report {

namespace {

// The box bytes and the characters code page 437 shows for them.
struct BoxGlyph {
    char byte;
    const char* utf8;
};
constexpr BoxGlyph kBoxGlyphs[] = {
    {box::kTopLeft, "\u250C"},    {box::kTopRight, "\u2510"},   {box::kBottomLeft, "\u2514"},
    {box::kBottomRight, "\u2518"}, {box::kHorizontal, "\u2500"}, {box::kVertical, "\u2502"},
    {box::kLeftTee, "\u251C"},    {box::kRightTee, "\u2524"},   {box::kTopTee, "\u252C"},
    {box::kBottomTee, "\u2534"},  {box::kCross, "\u253C"},
};

// The parts of a line between its vertical bars, when it begins and ends with one.
std::optional<std::vector<std::string_view>> barParts(std::string_view line) {
    if (line.size() < 2 || line.front() != box::kVertical || line.back() != box::kVertical) return std::nullopt;
    std::vector<std::string_view> parts;
    std::size_t start = 1;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == box::kVertical) {
            parts.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

}  // namespace

std::string workstationPrefix() { return envValueNoCase("PCLocal").value_or(""); }

std::filesystem::path reportFilePath(const std::filesystem::path& workDir) {
    return store::findFile(workDir, workstationPrefix() + "fd");
}

std::filesystem::path csvFilePath(const std::filesystem::path& workDir) {
    return store::findFile(workDir, workstationPrefix() + "fd.csv");
}

std::string twoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

std::string firstLineOf(const std::filesystem::path& workDir, std::string_view name) {
    const std::filesystem::path file = store::findFile(workDir, name);
    {
        // A FIFO or a device in its place is never waited on: it reads as no file.
        const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) return {};
        struct stat st {};
        const bool plain = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        ::close(fd);
        if (!plain) return {};
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::string line;
    std::getline(in, line);
    if (const auto end = line.find_first_of("\r\n"); end != std::string::npos) line.resize(end);
    return line;
}

void writeBytes(const std::filesystem::path& file, std::string_view bytes, bool append,
                const std::string& cannotOpen, const std::string& cannotWrite) {
    std::ofstream out(file, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    if (!out) throw std::runtime_error(cannotOpen);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error(cannotWrite);
}

void writeFolderFile(const std::filesystem::path& file, std::string_view bytes, bool append,
                     const std::string& cannotOpen, const std::string& cannotWrite) {
    const int fd = ::open(file.c_str(),
                          O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (append ? O_APPEND : 0),
                          0644);
    if (fd < 0) {
        const int error = errno;
        throw std::runtime_error(
            cannotOpen + " " +
            (error == ELOOP ? translate("Store", "(it is a link, which is not followed)")
                            : "(" + systemErrorText(error) + ")"));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw std::runtime_error(cannotOpen + " " + translate("Store", "(it is not a plain file)"));
    }
    if (!append && ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        throw std::runtime_error(cannotWrite);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            throw std::runtime_error(cannotWrite);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) throw std::runtime_error(cannotWrite);
}

std::string decodeReportLine(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    std::size_t plainStart = 0;
    auto flush = [&](std::size_t end) {
        out += fromCp1252(bytes.substr(plainStart, end - plainStart));
    };
    // The glyph of each byte value, looked up at once (a report has a few thousand bytes a
    // page, most of them plain).
    static const std::array<const char*, 256> glyphOf = [] {
        std::array<const char*, 256> table{};
        for (const BoxGlyph& g : kBoxGlyphs) table[static_cast<unsigned char>(g.byte)] = g.utf8;
        return table;
    }();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char* glyph = glyphOf[static_cast<unsigned char>(bytes[i])];
        if (!glyph) continue;
        flush(i);
        out += glyph;
        plainStart = i + 1;
    }
    flush(bytes.size());
    return out;
}

std::optional<std::array<std::string, 6>> splitDataLine(std::string_view bytes) {
    const auto parts = barParts(bytes);
    if (!parts || parts->size() != 6) return std::nullopt;
    std::array<std::string, 6> cells;
    for (std::size_t i = 0; i < 6; ++i) cells[i] = fromCp1252(trim((*parts)[i]));
    return cells;
}

ReportFile ReportFile::read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const auto cannotRead = [&] {
        return std::runtime_error(withArgs(translate("Store", "cannot read the report file %1"), {file.string()}));
    };
    if (!in) throw cannotRead();
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) throw cannotRead();
    return fromBytes(bytes.str());
}

ReportFile ReportFile::fromBytes(std::string bytes) {
    ReportFile f;
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto end = bytes.find('\n', start);
        const bool last = end == std::string::npos;
        if (last) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!last && !line.empty() && line.back() == '\r') line.pop_back();
        f.lines_.push_back(std::move(line));
        start = end + 1;
    }
    return f;
}

std::vector<std::string> ReportFile::screenLines() const {
    std::vector<std::string> out;
    out.reserve(lines_.size());
    for (const auto& l : lines_) out.push_back(decodeReportLine(l));
    return out;
}

std::vector<ReportBlock> ReportFile::blocks() const {
    std::vector<ReportBlock> blocks;
    bool inBlock = false;
    bool titleRead = false;
    for (const auto& line : lines_) {
        if (!line.empty() && line.front() == box::kTopLeft) {
            blocks.emplace_back();
            inBlock = true;
            titleRead = false;
            continue;
        }
        if (!inBlock) continue;
        if (!titleRead) {
            titleRead = true;
            // V, a blank, "dd/mm/yyyy", the title field, "hh:mm", V.
            const auto parts = barParts(line);
            if (parts && parts->size() == 1) {
                const std::string_view inner = (*parts)[0];
                auto& b = blocks.back();
                if (inner.size() >= 16) {
                    b.date = fromCp1252(trim(inner.substr(0, 11)));
                    b.time = fromCp1252(trim(inner.substr(inner.size() - 5)));
                    b.title = fromCp1252(trim(inner.substr(11, inner.size() - 16)));
                } else {
                    b.title = fromCp1252(trim(inner));
                }
                continue;
            }
        }
        if (auto cells = splitDataLine(line)) {
            auto& b = blocks.back();
            if (!b.header)
                b.header = std::move(*cells);
            else
                b.rows.push_back(std::move(*cells));
        }
    }
    return blocks;
}

}  // namespace zt::report
