#include "platform/simulator/PointerIndex.hpp"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

namespace zelvana::platform {
namespace {

// Up to `live` keys at a time out of many, inserted and erased at random,
// checked against a map after each step.
void checkAgainstAMap(std::size_t live) {
    std::vector<int> things(4000);
    PointerIndex<int, int> index;
    std::unordered_map<const int*, int> expected;
    std::vector<const int*> present;
    std::mt19937 random(7);
    const auto any = [&](std::size_t size) {
        return std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
    };
    for (int step = 0; step < 40000; ++step) {
        if (!present.empty() && (present.size() >= live || random() % 3 == 0)) {
            const std::size_t gone = any(present.size());
            index.erase(present[gone]);
            expected.erase(present[gone]);
            present[gone] = present.back();
            present.pop_back();
        } else {
            const int* key = &things[any(things.size())];
            if (!expected.contains(key)) present.push_back(key);
            index.insert(key, step);
            expected[key] = step;
        }
        for (const int* key : present) {
            const int* found = index.find(key);
            ASSERT_NE(found, nullptr) << step;
            ASSERT_EQ(*found, expected[key]) << step;
        }
        const int* probe = &things[any(things.size())];
        ASSERT_EQ(index.find(probe) != nullptr, expected.contains(probe)) << step;
    }
}

// Erasing from the middle of a run of neighbouring entries is where open
// addressing goes wrong: every entry after the hole must stay findable, also
// where the run wraps around the table's end, as it often does in small ones.
TEST(PointerIndexTest, FindsWhatIsThereAfterAnyMixOfInsertsAndErases) {
    for (const std::size_t live : {6, 40}) {
        SCOPED_TRACE(live);
        checkAgainstAMap(live);
    }
}

}  // namespace
}  // namespace zelvana::platform
