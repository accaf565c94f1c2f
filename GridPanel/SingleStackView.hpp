#pragma once

#include <memory>

#include "GridPanel/SteadyStackView.hpp"

namespace zelvana::gridpanel {

// The wrapper of one cell in a row of the stack grid: a stack holding that
// view as its only arranged view. Main thread only.
class SingleStackView : public SteadyStackView {
public:
    explicit SingleStackView(std::shared_ptr<platform::View> view) {
        if (!arrangedSubviews().empty()) removeArrangedSubview(arrangedSubviews().front().get());
        addArrangedSubview(std::move(view));
    }
};

}  // namespace zelvana::gridpanel
