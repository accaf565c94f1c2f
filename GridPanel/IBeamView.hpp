#pragma once

#include "platform/appkit/View.hpp"
#include "platform/core/Subscription.hpp"

namespace zelvana::gridpanel {

// A view over which the pointer shows the I-beam, as over text. Nothing in
// the panel uses it. Main thread only.
class IBeamView : public platform::View {
public:
    // The options of the tracking area it adds when loaded from a storyboard.
    static constexpr platform::TrackingOptions trackingOptions =
        platform::TrackingOption::mouseMoved | platform::TrackingOption::activeInKeyWindow |
        platform::TrackingOption::inVisibleRect;

    using View::View;

    // Tracks the pointer over its bounds.
    void awakeFromNib() override;
    void mouseEntered(const platform::Event& event) override;
    void mouseExited(const platform::Event& event) override;
    void resetCursorRects() override;

private:
    platform::Subscription trackingArea_;
};

}  // namespace zelvana::gridpanel
