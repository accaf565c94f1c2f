#pragma once

#include <memory>
#include <string>

#include "platform/appkit/Label.hpp"
#include "platform/appkit/View.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowController.hpp"

namespace zelvana::tools {

// A small borderless floating window with one line of text, shown beside a
// view (a cell's or a drop unit's title). Main thread only.
class LabelPopover {
public:
    explicit LabelPopover(std::string text);
    LabelPopover(const LabelPopover&) = delete;
    LabelPopover& operator=(const LabelPopover&) = delete;

    // 20 points right of the view, or left of it when the right side has no
    // room, always within the visible frame of the view's screen; nothing
    // when the view is in no window.
    void show(const platform::View& view);
    void close() { window().close(); }

    platform::ViewController& viewController() const { return *viewController_; }
    platform::WindowController& windowController() const { return *windowController_; }
    platform::Window& window() const { return *windowController_->window(); }
    platform::Label& labelField() const { return *labelField_; }

private:
    std::shared_ptr<platform::Label> labelField_;
    std::shared_ptr<platform::ViewController> viewController_;
    std::unique_ptr<platform::WindowController> windowController_;
};

}  // namespace zelvana::tools
