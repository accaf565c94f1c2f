#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <optional>
#include <unordered_map>
#include <vector>

namespace zelvana::tools {

// Milliseconds of the process clock's monotonic uptime, rounded down.
std::uint64_t uptimeMilliseconds();

// A map whose entries expire `timeout` milliseconds after they are stored,
// however often they are read. Entries are kept oldest first; as they share
// one lifetime that is also expiry order, so a sweep stops at the first live
// one. Sweeps run on writes, at most once every 10 seconds; between them an
// expired entry stays until its key is read or written. Not synchronised.
template <typename Key, typename Value, typename Hash = std::hash<Key>>
class TimeoutCache {
public:
    explicit TimeoutCache(std::uint64_t timeout) : timeout_(timeout) {}
    TimeoutCache(const TimeoutCache&) = delete;
    TimeoutCache& operator=(const TimeoutCache&) = delete;

    std::uint64_t timeout() const { return timeout_; }

    // The stored value while it lives (an entry expiring now still counts);
    // an expired entry is forgotten.
    std::optional<Value> value(const Key& key) {
        const auto found = index_.find(key);
        if (found == index_.end()) return std::nullopt;
        if (found->second->expirationTimestamp >= uptimeMilliseconds()) {
            return found->second->value;
        }
        removeValue(key);
        return std::nullopt;
    }

    // Replaces what the key holds, as the newest entry; nothing only removes.
    void setValue(std::optional<Value> value, const Key& key) {
        removeValue(key);
        purgeExpired();
        if (!value) return;
        entries_.push_back(Entry{key, std::move(*value), uptimeMilliseconds() + timeout_});
        index_.emplace(key, std::prev(entries_.end()));
    }

    void removeValue(const Key& key) {
        const auto found = index_.find(key);
        if (found == index_.end()) return;
        entries_.erase(found->second);
        index_.erase(found);
    }

    // Entries held, expired or not.
    std::size_t count() const { return entries_.size(); }
    // Their keys, oldest first.
    std::vector<Key> keys() const {
        std::vector<Key> keys;
        for (const auto& entry : entries_) keys.push_back(entry.key);
        return keys;
    }

private:
    static constexpr std::uint64_t purgeInterval = 10000;

    struct Entry {
        Key key;
        Value value;
        std::uint64_t expirationTimestamp;
    };

    void purgeExpired() {
        if (purgeRestrictionExpirationTimestamp_ >= uptimeMilliseconds()) return;
        while (!entries_.empty() && entries_.front().expirationTimestamp < uptimeMilliseconds()) {
            index_.erase(entries_.front().key);
            entries_.pop_front();
        }
        purgeRestrictionExpirationTimestamp_ = uptimeMilliseconds() + purgeInterval;
    }

    std::uint64_t timeout_;
    std::list<Entry> entries_;
    std::unordered_map<Key, typename std::list<Entry>::iterator, Hash> index_;
    std::uint64_t purgeRestrictionExpirationTimestamp_ = 0;
};

}  // namespace zelvana::tools
