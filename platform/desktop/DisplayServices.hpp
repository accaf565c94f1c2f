#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/Flags.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/desktop/Display.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

// What a display reconfiguration callback is told; the raw values are the
// system's.
enum class DisplayChange : std::uint32_t {
    beginConfiguration = 1,
    added = 16,
    removed = 32,
};
ZELVANA_FLAGS(DisplayChange)
using DisplayChangeFlags = Flags<DisplayChange>;

// The display services the application calls, as the system offers them.
// Main thread only.
//
// Each display added or removed calls the callback twice, with the
// begin-configuration flag and then with the added or removed flag, after
// the change. The registration ends with its token.
using DisplayReconfigurationCallback = std::function<void(DisplayID, DisplayChangeFlags)>;
[[nodiscard]] Subscription registerDisplayReconfigurationCallback(
    DisplayReconfigurationCallback callback);

// The numbers CoreGraphics gives an attached display; 0 when unknown.
std::uint32_t displayVendorNumber(DisplayID display);
std::uint32_t displayModelNumber(DisplayID display);
std::uint32_t displaySerialNumber(DisplayID display);
// The display registry: one information dictionary per attached display,
// with "DisplayVendorID", "DisplayProductID", "DisplaySerialNumber"
// (integers) and "DisplayProductName" (a map from locale, "en_US", to the
// name).
std::vector<PropertyDictionary> displayInfoDictionaries();

}  // namespace zelvana::platform
