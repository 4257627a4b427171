// The report-file reader of the preview and the CSV export. The first byte of the input
// picks the CSV separator, the rest is the report file. What must hold for any file:
//  - lines hold no line feed; the screen lines and every cell are valid UTF-8;
//  - the CSV export writes every block's title row, header row and rows, and reading
//    the CSV back with its separator gives the cells of the report file byte for byte
//    (a cell holding the separator, a quote or a line end cannot break its row).
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "common/cp1252.h"
#include "report/csv_export.h"
#include "report/report_file.h"

using namespace zt::report;
namespace fs = std::filesystem;

namespace {

[[noreturn]] void broken(const char* what, std::string_view detail) {
    std::fprintf(stderr, "report_reader_fuzz: %s: %.*s\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size()) return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

// Rows of a CSV text: cells split at `sep` outside double quotes, rows at CR LF.
std::vector<std::vector<std::string>> readCsv(const std::string& text, const std::string& sep) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string cell;
    bool quoted = false;
    std::size_t i = 0;
    while (i < text.size()) {
        if (quoted) {
            if (text[i] == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    cell += '"';
                    i += 2;
                    continue;
                }
                quoted = false;
                ++i;
                continue;
            }
            cell += text[i++];
            continue;
        }
        if (text[i] == '"' && cell.empty()) {
            quoted = true;
            ++i;
        } else if (text.compare(i, sep.size(), sep) == 0) {
            row.push_back(std::move(cell));
            cell.clear();
            i += sep.size();
        } else if (text.compare(i, 2, "\r\n") == 0) {
            row.push_back(std::move(cell));
            cell.clear();
            rows.push_back(std::move(row));
            row.clear();
            i += 2;
        } else {
            cell += text[i++];
        }
    }
    if (quoted || !cell.empty() || !row.empty()) broken("the CSV does not end with a whole row", text);
    return rows;
}

// The folder the export writes into, made once and removed when the run ends.
const fs::path* gWorkDir = nullptr;

const fs::path& workDir() {
    if (!gWorkDir) {
        unsetenv("PCLocal");
        // On a memory file system: each run writes and truncates its files, which on a
        // disk costs a journal commit each time.
        char name[] = "/dev/shm/zt_report_fuzz_XXXXXX";
        char fallback[] = "/tmp/zt_report_fuzz_XXXXXX";
        const char* made = mkdtemp(name);
        if (!made) made = mkdtemp(fallback);
        if (!made) broken("mkdtemp", name);
        gWorkDir = new fs::path(made);  // never freed: the exit handler still needs it
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(*gWorkDir, ec);
        });
    }
    return *gWorkDir;
}

void write(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) broken("cannot write", file.string());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static constexpr std::array<std::string_view, 5> kSeparators = {";", ",", "\t", "|", "::"};
    const std::string sep(kSeparators[data[0] % kSeparators.size()]);
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    const ReportFile file = ReportFile::fromBytes(bytes);
    for (const auto& line : file.lines())
        if (line.find('\n') != std::string::npos) broken("a line holds a line feed", line);
    for (const auto& line : file.screenLines())
        if (!validUtf8(line)) broken("a screen line is not UTF-8", line);
    const auto blocks = file.blocks();
    std::vector<std::vector<std::string>> expected;
    for (const auto& b : blocks) {
        for (const auto* text : {&b.date, &b.title, &b.time})
            if (!validUtf8(*text)) broken("a title is not UTF-8", *text);
        expected.push_back({zt::toCp1252(b.title), zt::toCp1252(b.date), zt::toCp1252(b.time)});
        std::vector<std::array<std::string, 6>> cells;
        if (b.header) cells.push_back(*b.header);
        cells.insert(cells.end(), b.rows.begin(), b.rows.end());
        for (const auto& row : cells) {
            expected.emplace_back();
            for (const auto& c : row) {
                if (!validUtf8(c)) broken("a cell is not UTF-8", c);
                expected.back().push_back(zt::toCp1252(c));
            }
        }
    }

    write(workDir() / "fd", bytes);
    write(workDir() / "SeparatoreXLS.txt", sep + "\r\n");
    const fs::path csv = exportCsv(workDir());
    std::ifstream in(csv, std::ios::binary);
    std::ostringstream got;
    got << in.rdbuf();
    const auto rows = readCsv(got.str(), sep);
    for (std::size_t r = 0; r < std::max(rows.size(), expected.size()); ++r) {
        const auto join = [](const std::vector<std::vector<std::string>>& t, std::size_t i) {
            std::string s = i < t.size() ? "" : "(none)";
            for (const auto& c : i < t.size() ? t[i] : std::vector<std::string>{}) s += "[" + c + "]";
            return s;
        };
        if (r >= rows.size() || r >= expected.size() || rows[r] != expected[r])
            broken("the CSV does not hold the report's cells",
                   "row " + std::to_string(r + 1) + ": wrote " + join(rows, r) + ", report has " + join(expected, r));
    }
    return 0;
}
