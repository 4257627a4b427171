#include "report/report_file.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "common/cp1252.h"
#include "common/env.h"
#include "common/text.h"

namespace zt::report {

namespace {

constexpr char kVertical = '\xB3';
constexpr char kTopLeft = '\xDA';

// The box bytes and the characters code page 437 shows for them.
struct BoxGlyph {
    char byte;
    const char* utf8;
};
constexpr BoxGlyph kBoxGlyphs[] = {
    {'\xDA', "\u250C"}, {'\xBF', "\u2510"}, {'\xC0', "\u2514"}, {'\xD9', "\u2518"},
    {'\xC4', "\u2500"}, {'\xB3', "\u2502"}, {'\xC3', "\u251C"}, {'\xB4', "\u2524"},
    {'\xC2', "\u252C"}, {'\xC1', "\u2534"}, {'\xC5', "\u253C"},
};

std::string trimBlanks(std::string_view s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

// The parts of a line between its vertical bars, when it begins and ends with one.
std::optional<std::vector<std::string_view>> barParts(std::string_view line) {
    if (line.size() < 2 || line.front() != kVertical || line.back() != kVertical) return std::nullopt;
    std::vector<std::string_view> parts;
    std::size_t start = 1;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == kVertical) {
            parts.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

}  // namespace

std::string workstationPrefix() { return envValueNoCase("PCLocal").value_or(""); }

std::filesystem::path findNoCase(const std::filesystem::path& dir, std::string_view name) {
    const std::filesystem::path exact = dir / std::string(name);
    std::error_code ec;
    if (std::filesystem::exists(exact, ec)) return exact;
    std::optional<std::string> best;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (equalsNoCase(entry, name) && (!best || entry < *best)) best = entry;
    }
    return best ? dir / *best : exact;
}

std::filesystem::path reportFilePath(const std::filesystem::path& workDir) {
    return findNoCase(workDir, workstationPrefix() + "fd");
}

std::filesystem::path csvFilePath(const std::filesystem::path& workDir) {
    return findNoCase(workDir, workstationPrefix() + "fd.csv");
}

std::string decodeReportLine(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    std::size_t plainStart = 0;
    auto flush = [&](std::size_t end) {
        out += fromCp1252(bytes.substr(plainStart, end - plainStart));
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto glyph = std::find_if(std::begin(kBoxGlyphs), std::end(kBoxGlyphs),
                                        [&](const BoxGlyph& g) { return g.byte == bytes[i]; });
        if (glyph == std::end(kBoxGlyphs)) continue;
        flush(i);
        out += glyph->utf8;
        plainStart = i + 1;
    }
    flush(bytes.size());
    return out;
}

std::optional<std::array<std::string, 6>> splitDataLine(std::string_view bytes) {
    const auto parts = barParts(bytes);
    if (!parts || parts->size() != 6) return std::nullopt;
    std::array<std::string, 6> cells;
    for (std::size_t i = 0; i < 6; ++i) cells[i] = fromCp1252(trimBlanks((*parts)[i]));
    return cells;
}

ReportFile ReportFile::read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read the report file " + file.string());
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) throw std::runtime_error("cannot read the report file " + file.string());
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
        if (!line.empty() && line.front() == kTopLeft) {
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
                    b.date = fromCp1252(trimBlanks(inner.substr(0, 11)));
                    b.time = fromCp1252(trimBlanks(inner.substr(inner.size() - 5)));
                    b.title = fromCp1252(trimBlanks(inner.substr(11, inner.size() - 16)));
                } else {
                    b.title = fromCp1252(trimBlanks(inner));
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
