#pragma once

#include <memory>
#include <string>

#include "platform/appkit/Label.hpp"
#include "platform/appkit/View.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowController.hpp"

namespace zelvana::droppane {

// A small floating window with one line of text, shown beside a view (the
// title of a drop unit whose titles are not shown). Main thread only.
class LabelPopover {
public:
    explicit LabelPopover(const std::string& text);

    // Right of the view, or left of it when the right side leaves its screen;
    // nothing when the view is in no window.
    void show(const platform::View& view);
    void close();

    const std::shared_ptr<platform::ViewController> viewController;
    const std::shared_ptr<platform::WindowController> windowController;
    platform::Window& window() const { return *windowController->window(); }
    const std::shared_ptr<platform::Label> labelField;
};

}  // namespace zelvana::droppane
