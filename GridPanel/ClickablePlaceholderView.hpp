#pragma once

#include <functional>

#include "platform/appkit/View.hpp"

namespace zelvana::gridpanel {

// A view that tells a closure of every press on it, then lets the press go
// on as any view does. Main thread only.
class ClickablePlaceholderView : public platform::View {
public:
    explicit ClickablePlaceholderView(std::function<void()> onMouseDown)
        : onMouseDown_(std::move(onMouseDown)) {}

    void mouseDown(const platform::Event& event) override;

private:
    std::function<void()> onMouseDown_;
};

}  // namespace zelvana::gridpanel
