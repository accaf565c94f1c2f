#pragma once

#include <memory>
#include <string>

#include "platform/appkit/Label.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowController.hpp"

namespace zelvana::gridpanel {

// A borderless floating window showing a cell's title beside the cell, on
// the right, or on the left where the screen has no room. Main thread only.
class LabelPopover {
public:
    explicit LabelPopover(std::string label);

    // Nothing when the view has no window.
    void show(platform::View& view);
    void close() { window_->close(); }

    platform::Window& window() const { return *window_; }
    platform::Label& labelField() const { return *labelField_; }

private:
    std::shared_ptr<platform::Label> labelField_;
    std::shared_ptr<platform::ViewController> viewController_;
    platform::Window* window_;
    std::unique_ptr<platform::WindowController> windowController_;
};

}  // namespace zelvana::gridpanel
