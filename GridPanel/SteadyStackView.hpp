#pragma once

#include <optional>

#include "platform/appkit/StackView.hpp"

namespace zelvana::gridpanel {

// A stack that measures and lays out its views again only when told they
// changed (needsLayout) or when its own size did: a grid of thousands of cells
// touches only the rows that changed. Main thread only.
class SteadyStackView : public platform::StackView {
public:
    platform::Size fittingSize() const override;
    void layout() override;

private:
    std::optional<platform::Size> laidOutSize_;
    mutable std::optional<platform::Size> fitting_;
};

}  // namespace zelvana::gridpanel
