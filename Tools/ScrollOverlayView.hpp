#pragma once

#include <functional>

#include "platform/appkit/Event.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::tools {

// The content of a scroll overlay window: hands every scroll-wheel event to its
// callback and lets none go further. Main thread only.
class ScrollOverlayView : public platform::View {
public:
    using ScrollCallback = std::function<void(const platform::Event&)>;

    ScrollOverlayView() = default;
    explicit ScrollOverlayView(ScrollCallback scrollCallback);

    const ScrollCallback& scrollCallback() const { return scrollCallback_; }

    void scrollWheel(const platform::Event& event) override;
    // Shows the crosshair pointer.
    void mouseEntered(const platform::Event& event) override;

private:
    ScrollCallback scrollCallback_;
};

}  // namespace zelvana::tools
