#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "Tools/TimeoutCache.hpp"
#include "Tools/WindowNumbersHash.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::tools {

// Descriptions of the given windows; none: every on-screen window, desktop
// elements excluded.
std::optional<platform::PropertyArray> describeWindows(const WindowNumbers& windows);

// The records a conversion makes of the descriptions it accepts, in order.
template <typename Record>
std::vector<Record> convertDescriptions(
    const std::optional<platform::PropertyArray>& descriptions,
    std::optional<Record> (*conversion)(const platform::PropertyValue&)) {
    std::vector<Record> records;
    if (!descriptions) return records;
    for (const auto& description : *descriptions) {
        if (auto record = conversion(description)) records.push_back(std::move(*record));
    }
    return records;
}

// A window list kept for 100 ms under its argument, so calls close together
// ask the window server once. Main thread only.
template <typename Record>
class WindowListCache {
public:
    using Conversion = std::optional<Record> (*)(const platform::PropertyValue&);

    static constexpr std::uint64_t timeout = 100;

    explicit WindowListCache(Conversion conversion) : conversion_(conversion) {}

    std::vector<Record> list(const WindowNumbers& windows) {
        if (auto hit = cache_.value(windows)) return std::move(*hit);
        auto list = convertDescriptions(describeWindows(windows), conversion_);
        cache_.setValue(list, windows);
        return list;
    }

private:
    Conversion conversion_;
    TimeoutCache<WindowNumbers, std::vector<Record>, WindowNumbersHash> cache_{timeout};
};

}  // namespace zelvana::tools
