#pragma once
// What a query's text becomes (the SQL written for a back end, with what it was written
// from), kept for the next connections that run the same text on the same state of the
// same file or server. Shared by threads; at most `capacity` entries, emptied whole when
// full, as every entry is cheap to write again. Each back end keys it by the state the
// written SQL depends on (the file's stamp, the server).
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace zt::store {

template <class V>
class QueryCache {
public:
    static constexpr std::size_t kCapacity = 256;

    std::optional<V> find(const std::string& key) const {
        std::lock_guard lock(mutex_);
        const auto it = entries_.find(key);
        if (it == entries_.end()) return std::nullopt;
        return it->second;
    }

    void put(std::string key, V value) {
        std::lock_guard lock(mutex_);
        if (entries_.size() >= kCapacity) entries_.clear();
        entries_.insert_or_assign(std::move(key), std::move(value));
    }

    // Forgets the entries whose key begins with `prefix` (a server whose tables changed).
    void forget(std::string_view prefix) {
        std::lock_guard lock(mutex_);
        std::erase_if(entries_, [&](const auto& e) { return std::string_view(e.first).starts_with(prefix); });
    }

    std::size_t size() const {
        std::lock_guard lock(mutex_);
        return entries_.size();
    }

private:
    mutable std::mutex mutex_;
    std::unordered_map<std::string, V> entries_;
};

}  // namespace zt::store
