#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace zelvana::platform {

// Values found by the address of what they describe, in a flat table with
// open addressing: the window server is asked about each of thousands of
// windows several times a refresh, and a map of nodes costs a cache miss for
// every node on the way. Not thread-safe.
template <typename Key, typename Value>
class PointerIndex {
public:
    const Value* find(const Key* key) const {
        if (slots_.empty()) return nullptr;
        for (std::size_t i = home(key);; i = next(i)) {
            if (slots_[i].key == key) return &slots_[i].value;
            if (!slots_[i].key) return nullptr;
        }
    }
    // Replaces the value of a key already there.
    void insert(const Key* key, Value value) {
        if (2 * (size_ + 1) > slots_.size()) grow();
        std::size_t i = home(key);
        while (slots_[i].key && slots_[i].key != key) i = next(i);
        if (!slots_[i].key) ++size_;
        slots_[i] = Slot{key, std::move(value)};
    }
    void erase(const Key* key) {
        if (slots_.empty()) return;
        std::size_t hole = home(key);
        while (slots_[hole].key != key) {
            if (!slots_[hole].key) return;
            hole = next(hole);
        }
        // Later entries of the run move back into the hole unless that would
        // put them before their home slot, so every search still finds them.
        for (std::size_t i = next(hole); slots_[i].key; i = next(i)) {
            const std::size_t wanted = home(slots_[i].key);
            const bool staysBehindHole =
                hole <= i ? (hole < wanted && wanted <= i) : (hole < wanted || wanted <= i);
            if (staysBehindHole) continue;
            slots_[hole] = std::move(slots_[i]);
            hole = i;
        }
        slots_[hole] = Slot{};
        --size_;
    }

private:
    struct Slot {
        const Key* key = nullptr;
        Value value{};
    };

    static_assert(sizeof(std::uintptr_t) == 8, "hashes 64-bit addresses");

    std::size_t home(const Key* key) const {
        // Every bit of the address stirred into the high ones: addresses of
        // objects allocated in a pattern share runs of bits, and a plain
        // multiplication left some of them in long clusters.
        auto bits = reinterpret_cast<std::uintptr_t>(key);
        bits = (bits ^ (bits >> 33)) * 0xFF51AFD7ED558CCDull;
        bits = (bits ^ (bits >> 33)) * 0xC4CEB9FE1A85EC53ull;
        return static_cast<std::size_t>(bits >> (64 - std::countr_zero(slots_.size())));
    }
    std::size_t next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }
    void grow() {
        auto old =
            std::exchange(slots_, std::vector<Slot>(std::max<std::size_t>(16, 2 * slots_.size())));
        size_ = 0;
        for (auto& slot : old) {
            if (slot.key) insert(slot.key, std::move(slot.value));
        }
    }

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

}  // namespace zelvana::platform
