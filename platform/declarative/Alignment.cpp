#include "platform/declarative/Alignment.hpp"

namespace zelvana::platform {

HorizontalAlignment HorizontalAlignment::leading() {
    return {"leading", [](const ViewDimensions&) { return 0.0; }};
}

HorizontalAlignment HorizontalAlignment::center() {
    return {"center", [](const ViewDimensions& view) { return view.width / 2; }};
}

HorizontalAlignment HorizontalAlignment::trailing() {
    return {"trailing", [](const ViewDimensions& view) { return view.width; }};
}

double ViewDimensions::operator[](const HorizontalAlignment& alignment) const {
    return explicitValue(alignment).value_or(alignment.defaultValue(*this));
}

std::optional<double> ViewDimensions::explicitValue(const HorizontalAlignment& alignment) const {
    const auto found = explicit_.find(alignment.identifier());
    if (found == explicit_.end()) return std::nullopt;
    return found->second;
}

}  // namespace zelvana::platform
