#pragma once

#include <any>
#include <functional>
#include <string>
#include <vector>

#include "platform/appkit/Image.hpp"

namespace zelvana::droppane {

// One drop target of the pane: an image and a title, and what happens when
// files are dropped on it (their file URLs, such as "file:///tmp/a.txt") or
// the mouse goes up over it (whatever the caller hands to mouseUp(with:)).
struct DropUnit {
    using Receive = std::function<void(const std::vector<std::string>& fileURLs)>;
    using MouseUp = std::function<void(const std::any& value)>;

    // A unit that takes dropped files.
    static DropUnit receiving(platform::Image image, std::string title, Receive receive) {
        return DropUnit{std::move(image), std::move(title), std::move(receive), nullptr};
    }
    // A unit that acts when the mouse goes up over it.
    static DropUnit onMouseUp(platform::Image image, std::string title, MouseUp mouseUp) {
        return DropUnit{std::move(image), std::move(title), nullptr, std::move(mouseUp)};
    }

    platform::Image image;
    std::string title;
    Receive receive;
    MouseUp mouseUp;
};

}  // namespace zelvana::droppane
