#include "platform/desktop/DisplayServices.hpp"

#include "platform/core/MainThread.hpp"
#include "platform/simulator/Desktop.hpp"

namespace zelvana::platform {

namespace {

template <class Number>
std::uint32_t numberOf(DisplayID display, Number Display::*member) {
    platform::assertMainThread();
    const auto found = Desktop::shared().display(display);
    return found ? (*found).*member : 0;
}

}  // namespace

Subscription registerDisplayReconfigurationCallback(DisplayReconfigurationCallback callback) {
    platform::assertMainThread();
    return Desktop::shared().reconfiguration_->add(std::move(callback));
}

std::uint32_t displayVendorNumber(DisplayID display) {
    return numberOf(display, &Display::vendor);
}

std::uint32_t displayModelNumber(DisplayID display) {
    return numberOf(display, &Display::model);
}

std::uint32_t displaySerialNumber(DisplayID display) {
    return numberOf(display, &Display::serial);
}

std::vector<PropertyDictionary> displayInfoDictionaries() {
    platform::assertMainThread();
    std::vector<PropertyDictionary> infos;
    for (const auto& display : Desktop::shared().displays()) {
        infos.push_back(PropertyDictionary{
            {"DisplayVendorID", std::int64_t{display.vendor}},
            {"DisplayProductID", std::int64_t{display.model}},
            {"DisplaySerialNumber", std::int64_t{display.serial}},
            {"DisplayProductName", PropertyDictionary{{"en_US", display.name}}},
        });
    }
    return infos;
}

}  // namespace zelvana::platform
