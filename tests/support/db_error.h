#pragma once
// The message of the DbError a call throws, for tests of the layers that read files.
#include <functional>
#include <string>

#include "store/sqlite/database.h"

namespace zt::test {

// What the DbError thrown by `fn` says (its file, then its message); "(no error)" when
// `fn` throws none.
inline std::string dbErrorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const store::DbError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace zt::test
