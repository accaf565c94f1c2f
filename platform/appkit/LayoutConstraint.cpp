#include "platform/appkit/LayoutConstraint.hpp"

namespace zelvana::platform {

LayoutConstraint LayoutConstraint::equal(View& first, Attribute attribute, View& second,
                                         double constant) {
    return LayoutConstraint{&first, attribute, &second, attribute, constant, false};
}

void LayoutConstraint::activate(std::vector<LayoutConstraint>& constraints) {
    for (auto& constraint : constraints) constraint.isActive = true;
}

void LayoutConstraint::deactivate(std::vector<LayoutConstraint>& constraints) {
    for (auto& constraint : constraints) constraint.isActive = false;
}

}  // namespace zelvana::platform
