// The file-name resolver: names found whatever their case, as Windows finds them. The
// input is lines: every line but the last is a name made in a fresh folder on a memory
// file system; the last is the name looked up. What must hold:
//  - two or more names made that fold to the looked-up one: NameClash naming them all;
//  - one: the path of that name, spelled as on disk;
//  - none: the name as written, under the folder;
//  - nothing else is thrown, and the listing kept for the folder never hides a change.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "store/file_names.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void broken(const char* what, std::string_view detail) {
    std::fprintf(stderr, "file_names_fuzz: %s: %.*s\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// The folding the resolver promises: A-Z and the UTF-8 letters À-Þ (not ×) to lower case.
std::string folded(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            const auto next = static_cast<unsigned char>(out[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 32);
            ++i;
        }
    }
    return out;
}

bool usable(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.size() < 200 &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

const fs::path& folder() {
    static const fs::path dir = [] {
        char name[] = "/dev/shm/zt_names_fuzz_XXXXXX";
        char fallback[] = "/tmp/zt_names_fuzz_XXXXXX";
        const char* made = mkdtemp(name);
        if (!made) made = mkdtemp(fallback);
        if (!made) broken("mkdtemp", "");
        return fs::path(made);
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at <= input.size() && lines.size() < 16) {
        const std::size_t end = std::min(input.find('\n', at), input.size());
        lines.emplace_back(input.substr(at, end - at));
        at = end + 1;
    }
    std::string lookup = lines.back();
    lines.pop_back();
    if (!usable(lookup)) return 0;

    const fs::path& dir = folder();
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) fs::remove(e.path(), ec);
    std::set<std::string> made;
    for (const auto& name : lines) {
        if (!usable(name) || made.count(name)) continue;
        const int fd = ::open((dir / name).c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (fd < 0) continue;  // a name the file system refuses
        ::close(fd);
        made.insert(name);
    }
    std::vector<std::string> matching;
    for (const auto& name : made)
        if (folded(name) == folded(lookup)) matching.push_back(name);

    // Twice: the second look may come from the listing kept for the folder.
    for (int pass = 0; pass < 2; ++pass) {
        try {
            const fs::path found = zt::store::findFile(dir, lookup);
            if (matching.size() > 1) broken("two names differing in case were not a clash", input);
            const fs::path expected = dir / (matching.empty() ? lookup : matching.front());
            if (found != expected) broken("found another name", input);
        } catch (const zt::store::NameClash& clash) {
            if (matching.size() < 2) broken("a clash without two names", input);
            if (clash.names() != matching) broken("the clash names other files", input);
        } catch (const std::exception& e) {
            broken("unexpected exception", e.what());
        }
    }
    return 0;
}
